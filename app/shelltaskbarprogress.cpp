#include "app/shelltaskbarprogress.h"

#include <QtGlobal>

#ifdef QUIREVALE_HAVE_WINEXTRAS
#include <QWinTaskbarProgress>
#endif

ShellTaskbarProgress::ShellTaskbarProgress(QObject *parent)
    : QObject(parent)
{}

void ShellTaskbarProgress::setRange(int minimum, int maximum)
{
    m_minimum = minimum;
    m_maximum = qMax(minimum, maximum);
    m_value = qBound(m_minimum, m_value, m_maximum);
    publish();
}

void ShellTaskbarProgress::setValue(int value)
{
    // Like a progress bar: a value outside the range is ignored.
    if (value < m_minimum || value > m_maximum)
        return;
    m_value = value;
    publish();
}

void ShellTaskbarProgress::setVisible(bool visible)
{
    m_visible = visible;
    publish();
}

#ifdef QUIREVALE_HAVE_WINEXTRAS
void ShellTaskbarProgress::attach(QWinTaskbarProgress *native)
{
    m_native = native;
    publish();
}
#endif

double ShellTaskbarProgress::fraction() const
{
    if (m_maximum <= m_minimum)
        return 0;
    return double(m_value - m_minimum) / double(m_maximum - m_minimum);
}

void ShellTaskbarProgress::publish()
{
    // Only what changes is sent, and nothing while it stays hidden.
    const double now = fraction();
    if ((m_visible || m_sentVisible) && (now != m_sentFraction || m_visible != m_sentVisible)) {
        m_launcher.update(now, m_visible);
        m_sentFraction = now;
        m_sentVisible = m_visible;
    }
#ifdef QUIREVALE_HAVE_WINEXTRAS
    if (m_native) {
        m_native->setRange(m_minimum, m_maximum);
        m_native->setValue(m_value);
        m_native->setVisible(m_visible);
    }
#endif
    emit changed();
}
