#ifndef OPTIONSPANEL_H
#define OPTIONSPANEL_H

#include "book/bookoptions.h"

#include <QObject>
#include <QVector>

class QAbstractSlider;
class QAction;
class QComboBox;
class QLabel;
class QScrollArea;
class QWidget;
struct BookOption;

// The option column of the main window, bound to the book's options by the
// option table: each entry names the controls that show it (a button may
// stand for one of its values) and the option it is used under, so
// showing options, reading them back and enabling the controls are one
// loop each. A label follows the control it is the buddy of; another
// widget follows the control its "followsControl" property names.
class OptionsPanel : public QObject
{
    Q_OBJECT

public:
    // The widgets it drives: the column the bound controls are found in by
    // the names the table gives, and those it drives by hand.
    struct Widgets
    {
        QScrollArea *column = nullptr;
        QWidget *frame = nullptr; // the column's contents
        QAction *listEveryType = nullptr;
        QAbstractSlider *cutPointSlide = nullptr;
        QLabel *qualityNumber = nullptr;
        QLabel *formatWarning = nullptr;
        QComboBox *screenSizes = nullptr;
    };

    OptionsPanel(const Widgets &widgets, QObject *parent);

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

    // The object a table's control name stands for among these widgets;
    // null when there is none.
    QObject *control(const QString &name) const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

signals:
    // Something the preview draws may have changed.
    void changed();

private:
    // One control of the table, found.
    struct Bound
    {
        const BookOption *option;
        QObject *control;
        int value; // -1: the control holds the value
    };

    void bindControls();
    void choosePreset(int index);
    void keepChoicesApart(const Bound &chosen);

    Widgets m_widgets;
    QVector<Bound> m_bound;
    BookOptions m_unbound;
};

#endif // OPTIONSPANEL_H
