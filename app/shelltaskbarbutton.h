#ifndef SHELLTASKBARBUTTON_H
#define SHELLTASKBARBUTTON_H

#include <QObject>
#include <QPointer>
#include <QWindow>

class ShellTaskbarProgress;
#ifdef QUIREVALE_HAVE_WINEXTRAS
class QWinTaskbarButton;
#endif

// The window's entry in the desktop's task bar. It is bound to the native
// window each time the window is shown and hands out one progress indicator.
class ShellTaskbarButton : public QObject
{
    Q_OBJECT

public:
    explicit ShellTaskbarButton(QObject *parent = nullptr);

    void setWindow(QWindow *window);
    QWindow *window() const { return m_window; }

    ShellTaskbarProgress *progress();

private:
    QPointer<QWindow> m_window;
    ShellTaskbarProgress *m_progress = nullptr;
#ifdef QUIREVALE_HAVE_WINEXTRAS
    QWinTaskbarButton *m_native = nullptr;
#endif
};

#endif // SHELLTASKBARBUTTON_H
