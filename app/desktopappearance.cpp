#include "app/desktopappearance.h"

#include <QApplication>

#ifdef QUIREVALE_HAVE_DBUS
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusVariant>
#endif

namespace {
const QString Portal = QStringLiteral("org.freedesktop.portal.Desktop");
const QString PortalPath = QStringLiteral("/org/freedesktop/portal/desktop");
const QString Settings = QStringLiteral("org.freedesktop.portal.Settings");
const QString Appearance = QStringLiteral("org.freedesktop.appearance");
const QString ColorScheme = QStringLiteral("color-scheme");

#ifdef QUIREVALE_HAVE_DBUS
// The portal's Read wraps the value in one variant more than its
// SettingChanged does.
int schemeOf(QVariant value)
{
    while (value.canConvert<QDBusVariant>())
        value = value.value<QDBusVariant>().variant();
    bool ok = false;
    const uint scheme = value.toUInt(&ok);
    return ok && scheme <= DesktopAppearance::PreferLight ? int(scheme)
                                                          : DesktopAppearance::NoPreference;
}
#endif
} // namespace

DesktopAppearance::DesktopAppearance(QObject *parent)
    : QObject(parent)
    , m_platform(QGuiApplication::palette())
{
#ifdef QUIREVALE_HAVE_DBUS
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return;
    bus.connect(Portal, PortalPath, Settings, QStringLiteral("SettingChanged"), this,
                SLOT(settingChanged(QString, QString, QDBusVariant)));
    ask();
#endif
}

// Asked without waiting: a desktop without the portal answers late or
// never, and the window is not held up for it.
void DesktopAppearance::ask()
{
#ifdef QUIREVALE_HAVE_DBUS
    QDBusMessage read =
        QDBusMessage::createMethodCall(Portal, PortalPath, Settings, QStringLiteral("Read"));
    read << Appearance << ColorScheme;
    auto *watcher =
        new QDBusPendingCallWatcher(QDBusConnection::sessionBus().asyncCall(read, 2000), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this](QDBusPendingCallWatcher *call) {
                const QDBusPendingReply<QVariant> reply = *call;
                if (!reply.isError())
                    apply(schemeOf(reply.value()));
                call->deleteLater();
            });
#endif
}

void DesktopAppearance::settingChanged(const QString &group, const QString &key,
                                       const QDBusVariant &value)
{
#ifdef QUIREVALE_HAVE_DBUS
    if (group == Appearance && key == ColorScheme)
        apply(schemeOf(value.variant()));
#else
    Q_UNUSED(group);
    Q_UNUSED(key);
    Q_UNUSED(value);
#endif
}

void DesktopAppearance::apply(int scheme)
{
    if (scheme == m_scheme)
        return;
    m_scheme = scheme;
    QApplication::setPalette(paletteFor(Scheme(scheme), m_platform));
}

QPalette DesktopAppearance::paletteFor(Scheme scheme, const QPalette &platform)
{
    if (scheme == PreferDark && !isDark(platform))
        return darkPalette();
    return platform;
}

bool DesktopAppearance::isDark(const QPalette &palette)
{
    return palette.color(QPalette::Window).lightness() < 128;
}

QPalette DesktopAppearance::darkPalette()
{
    const QColor text(230, 230, 230);
    const QColor faint(127, 127, 127);
    QPalette dark;
    dark.setColor(QPalette::Window, QColor(45, 45, 48));
    dark.setColor(QPalette::WindowText, text);
    dark.setColor(QPalette::Base, QColor(30, 30, 32));
    dark.setColor(QPalette::AlternateBase, QColor(40, 40, 43));
    dark.setColor(QPalette::Text, text);
    dark.setColor(QPalette::Button, QColor(55, 55, 58));
    dark.setColor(QPalette::ButtonText, text);
    dark.setColor(QPalette::BrightText, QColor(255, 90, 90));
    dark.setColor(QPalette::Light, QColor(75, 75, 78));
    dark.setColor(QPalette::Midlight, QColor(62, 62, 65));
    dark.setColor(QPalette::Mid, QColor(40, 40, 42));
    dark.setColor(QPalette::Dark, QColor(25, 25, 27));
    dark.setColor(QPalette::Shadow, QColor(10, 10, 10));
    dark.setColor(QPalette::Highlight, QColor(61, 127, 214));
    dark.setColor(QPalette::HighlightedText, Qt::white);
    dark.setColor(QPalette::Link, QColor(110, 175, 255));
    dark.setColor(QPalette::LinkVisited, QColor(170, 140, 255));
    dark.setColor(QPalette::ToolTipBase, QColor(55, 55, 58));
    dark.setColor(QPalette::ToolTipText, text);
    dark.setColor(QPalette::PlaceholderText, faint);
    for (const QPalette::ColorRole role :
         {QPalette::WindowText, QPalette::Text, QPalette::ButtonText, QPalette::HighlightedText})
        dark.setColor(QPalette::Disabled, role, faint);
    dark.setColor(QPalette::Disabled, QPalette::Highlight, QColor(70, 70, 74));
    return dark;
}
