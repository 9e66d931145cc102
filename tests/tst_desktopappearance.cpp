// Runs on a private session bus (dbus-run-session) with a stand-in for the
// desktop's settings portal: the window's colours follow the preference it
// gives at the start and every change of it.

#include "app/desktopappearance.h"

#include <QApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QtTest>

namespace {
const QString PortalName = QStringLiteral("org.freedesktop.portal.Desktop");
const QString PortalPath = QStringLiteral("/org/freedesktop/portal/desktop");
const QString SettingsInterface = QStringLiteral("org.freedesktop.portal.Settings");

// The portal's settings: Read answers a variant holding a variant, as the
// real portal does.
class FakePortal : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.portal.Settings")

public:
    uint scheme = 0;
    int reads = 0;

public slots:
    QDBusVariant Read(const QString &group, const QString &key)
    {
        ++reads;
        if (group != QLatin1String("org.freedesktop.appearance") ||
            key != QLatin1String("color-scheme"))
            return QDBusVariant(QVariant(QString()));
        return QDBusVariant(QVariant::fromValue(QDBusVariant(QVariant(scheme))));
    }
};
} // namespace

class tst_DesktopAppearance : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();
    void noPortalLeavesThePalette();
    void followsThePortal_data();
    void followsThePortal();

public slots:
    void seen() { ++m_seen; }

private:
    void change(const QVariant &value, const QString &key = QStringLiteral("color-scheme"));
    static bool dark() { return DesktopAppearance::isDark(QApplication::palette()); }

    FakePortal m_portal;
    QPalette m_light;
    int m_seen = 0; // the portal's signals delivered on the window's connection
};

void tst_DesktopAppearance::initTestCase()
{
    QVERIFY2(QDBusConnection::sessionBus().isConnected(),
             "no session bus: run this test under dbus-run-session");
    m_light = QApplication::palette();
    QVERIFY(!DesktopAppearance::isDark(m_light));
    QVERIFY(QDBusConnection::sessionBus().connect(PortalName, PortalPath, SettingsInterface,
                                                  QStringLiteral("SettingChanged"), this,
                                                  SLOT(seen())));
}

void tst_DesktopAppearance::cleanup()
{
    QDBusConnection portal = QDBusConnection(QStringLiteral("portal"));
    if (portal.isConnected()) {
        portal.unregisterService(PortalName);
        portal.unregisterObject(PortalPath);
        QDBusConnection::disconnectFromBus(QStringLiteral("portal"));
    }
    QApplication::setPalette(m_light);
}

// What the portal says, as its signal says it, from the portal's own
// connection.
void tst_DesktopAppearance::change(const QVariant &value, const QString &key)
{
    QDBusMessage signal =
        QDBusMessage::createSignal(PortalPath, SettingsInterface, QStringLiteral("SettingChanged"));
    signal << QStringLiteral("org.freedesktop.appearance") << key
           << QVariant::fromValue(QDBusVariant(value));
    QVERIFY(QDBusConnection(QStringLiteral("portal")).send(signal));
}

// A desktop without the portal: the window keeps the theme's palette and
// does not wait for an answer.
void tst_DesktopAppearance::noPortalLeavesThePalette()
{
    QElapsedTimer started;
    started.start();
    DesktopAppearance appearance(nullptr);
    QVERIFY(started.elapsed() < 1000);
    QTest::qWait(200);
    QCOMPARE(QApplication::palette(), m_light);
}

void tst_DesktopAppearance::followsThePortal_data()
{
    QTest::addColumn<uint>("atStart");
    QTest::addColumn<QList<uint>>("changes");
    QTest::addColumn<QList<bool>>("darkAfter");
    QTest::newRow("dark at the start, then light")
        << 1u << QList<uint>{2u, 1u, 0u} << QList<bool>{false, true, false};
    QTest::newRow("no preference, then dark") << 0u << QList<uint>{1u} << QList<bool>{true};
    QTest::newRow("a value out of range is no preference")
        << 1u << QList<uint>{7u} << QList<bool>{false};
}

void tst_DesktopAppearance::followsThePortal()
{
    QFETCH(uint, atStart);
    QFETCH(QList<uint>, changes);
    QFETCH(QList<bool>, darkAfter);
    QDBusConnection portal =
        QDBusConnection::connectToBus(QDBusConnection::SessionBus, QStringLiteral("portal"));
    QVERIFY(portal.isConnected());
    m_portal.scheme = atStart;
    m_portal.reads = 0;
    QVERIFY(portal.registerObject(PortalPath, &m_portal, QDBusConnection::ExportAllSlots));
    QVERIFY(portal.registerService(PortalName));

    DesktopAppearance appearance(nullptr);
    QTRY_COMPARE(m_portal.reads, 1);
    QTRY_COMPARE(dark(), atStart == 1);
    // Another setting changed is not the colour scheme.
    const int seen = m_seen;
    change(QVariant(atStart == 1 ? 0u : 1u), QStringLiteral("accent-color"));
    QTRY_COMPARE(m_seen, seen + 1);
    QCOMPARE(dark(), atStart == 1);
    for (int i = 0; i < changes.size(); ++i) {
        change(QVariant(changes.at(i)));
        QTRY_COMPARE(dark(), darkAfter.at(i));
        if (!darkAfter.at(i))
            QCOMPARE(QApplication::palette(), m_light);
    }
}

QTEST_MAIN(tst_DesktopAppearance)
#include "tst_desktopappearance.moc"
