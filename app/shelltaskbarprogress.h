#ifndef SHELLTASKBARPROGRESS_H
#define SHELLTASKBARPROGRESS_H

#include "app/launcherentry.h"

#include <QObject>

#ifdef QUIREVALE_HAVE_WINEXTRAS
class QWinTaskbarProgress;
#endif

// The progress indicator of the window's entry in the desktop's task bar.
// It keeps its own range, value and visibility so that the rest of the
// program can drive it the same way on every platform, and passes them on
// to the desktop: the task bar button on Windows, the launcher entry on
// Linux desktops.
class ShellTaskbarProgress : public QObject
{
    Q_OBJECT

public:
    explicit ShellTaskbarProgress(QObject *parent = nullptr);

    int minimum() const { return m_minimum; }
    int maximum() const { return m_maximum; }
    int value() const { return m_value; }
    bool isVisible() const { return m_visible; }

    void setRange(int minimum, int maximum);
    void setValue(int value);
    void setVisible(bool visible);
    void show() { setVisible(true); }
    void hide() { setVisible(false); }

#ifdef QUIREVALE_HAVE_WINEXTRAS
    void attach(QWinTaskbarProgress *native);
#endif

signals:
    // Emitted after any change of range, value or visibility.
    void changed();

private:
    void publish();

    double fraction() const;

    LauncherEntry m_launcher{QStringLiteral(QUIREVALE_DESKTOP_ID)};
    double m_sentFraction = -1;
    bool m_sentVisible = false;
    int m_minimum = 0;
    int m_maximum = 100;
    int m_value = 0;
    bool m_visible = false;
#ifdef QUIREVALE_HAVE_WINEXTRAS
    QWinTaskbarProgress *m_native = nullptr;
#endif
};

#endif // SHELLTASKBARPROGRESS_H
