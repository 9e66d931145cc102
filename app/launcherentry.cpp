#include "app/launcherentry.h"

#include <QVariantMap>

#ifdef QUIREVALE_HAVE_DBUS
#include <QDBusConnection>
#include <QDBusMessage>
#endif

LauncherEntry::LauncherEntry(const QString &desktopId)
    : m_uri(QStringLiteral("application://%1.desktop").arg(desktopId))
{}

bool LauncherEntry::update(double progress, bool visible)
{
#ifdef QUIREVALE_HAVE_DBUS
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return false;
    // A signal needs no name of our own on the bus: listeners match on the
    // interface and the application URI.
    QDBusMessage message = QDBusMessage::createSignal(
        QStringLiteral("/org/example/quirevale/LauncherEntry"),
        QStringLiteral("com.canonical.Unity.LauncherEntry"), QStringLiteral("Update"));
    QVariantMap properties;
    properties.insert(QStringLiteral("progress"), progress);
    properties.insert(QStringLiteral("progress-visible"), visible);
    message << m_uri << properties;
    return bus.send(message);
#else
    Q_UNUSED(progress);
    Q_UNUSED(visible);
    return false;
#endif
}
