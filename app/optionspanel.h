#ifndef OPTIONSPANEL_H
#define OPTIONSPANEL_H

#include "book/bookoptions.h"

#include <QObject>

namespace Ui {
class QuirevaleClass;
}
class QWidget;

// The option column of the main window, bound to the book's options by a
// table: each control shows one option (a button may stand for one of its
// values), so showing options and reading them back is one loop each. The
// controls that only make sense with another (the cut point with the cut)
// are enabled here, in one place.
class OptionsPanel : public QObject
{
    Q_OBJECT

public:
    OptionsPanel(Ui::QuirevaleClass &ui, QWidget *window);

    // The controls show options as if the user had set them.
    void apply(const BookOptions &options);
    // What the controls show, with the options that have no control (the
    // PDF resolution, whether ComicInfo.xml is written) as last set.
    BookOptions read() const;
    void setPdfResolution(int dotsPerInch);
    void setWriteComicInfo(bool write);

    // The controls that depend on another follow it.
    void updateEnabled();
    // The reader screens' list, in the current language.
    void fillScreenSizes();
    // The option column takes the height its controls need (larger fonts,
    // longer words) and scrolls where the window is lower.
    void fitColumn();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

signals:
    // Something the preview draws may have changed.
    void changed();

private:
    void bindControls();
    void choosePreset(int index);
    void keepGreyChoicesApart(QObject *chosen);

    Ui::QuirevaleClass &ui;
    QWidget *m_window;
    BookOptions m_unbound;
};

#endif // OPTIONSPANEL_H
