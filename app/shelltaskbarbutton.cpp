#include "app/shelltaskbarbutton.h"

#include "app/shelltaskbarprogress.h"

#ifdef QUIREVALE_HAVE_WINEXTRAS
#include <QWinTaskbarButton>
#endif

ShellTaskbarButton::ShellTaskbarButton(QObject *parent)
    : QObject(parent)
{
#ifdef QUIREVALE_HAVE_WINEXTRAS
    m_native = new QWinTaskbarButton(this);
#endif
}

void ShellTaskbarButton::setWindow(QWindow *window)
{
    m_window = window;
#ifdef QUIREVALE_HAVE_WINEXTRAS
    m_native->setWindow(window);
#endif
}

ShellTaskbarProgress *ShellTaskbarButton::progress()
{
    if (!m_progress) {
        m_progress = new ShellTaskbarProgress(this);
#ifdef QUIREVALE_HAVE_WINEXTRAS
        m_progress->attach(m_native->progress());
#endif
    }
    return m_progress;
}
