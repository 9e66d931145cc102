// Runs on a private session bus (dbus-run-session): the progress of a whole
// build must reach a listener on another connection as launcher entry updates.

#include "app/launcherentry.h"
#include "app/quirevale.h"
#include "testsupport.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDir>
#include <QListWidget>
#include <QTemporaryDir>

namespace {
struct Update
{
    QString uri;
    double progress = -1;
    bool visible = false;
};
} // namespace

class tst_LauncherEntry : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void oneUpdateArrives();
    void wholeBuildIsFollowed();

public slots:
    void received(const QDBusMessage &message);

private:
    QList<Update> m_updates;
};

void tst_LauncherEntry::initTestCase()
{
    QVERIFY2(QDBusConnection::sessionBus().isConnected(),
             "no session bus: run this test under dbus-run-session");
    // A connection of its own, so every update really crosses the bus.
    QDBusConnection listener =
        QDBusConnection::connectToBus(QDBusConnection::SessionBus, QStringLiteral("listener"));
    QVERIFY(listener.isConnected());
    QVERIFY(listener.connect(QString(), QString(),
                             QStringLiteral("com.canonical.Unity.LauncherEntry"),
                             QStringLiteral("Update"), this, SLOT(received(QDBusMessage))));
}

void tst_LauncherEntry::cleanupTestCase()
{
    QDBusConnection::disconnectFromBus(QStringLiteral("listener"));
}

void tst_LauncherEntry::received(const QDBusMessage &message)
{
    const QList<QVariant> arguments = message.arguments();
    const QVariantMap properties = qdbus_cast<QVariantMap>(arguments.value(1));
    m_updates.append({arguments.value(0).toString(),
                      properties.value(QStringLiteral("progress"), -1).toDouble(),
                      properties.value(QStringLiteral("progress-visible")).toBool()});
}

void tst_LauncherEntry::oneUpdateArrives()
{
    m_updates.clear();
    LauncherEntry entry(QStringLiteral("org.example.Test"));
    QCOMPARE(entry.applicationUri(), QStringLiteral("application://org.example.Test.desktop"));
    QVERIFY(entry.update(0.25, true));
    QTRY_COMPARE(m_updates.size(), 1);
    QCOMPARE(m_updates.first().uri, entry.applicationUri());
    QCOMPARE(m_updates.first().progress, 0.25);
    QVERIFY(m_updates.first().visible);
}

void tst_LauncherEntry::wholeBuildIsFollowed()
{
    TestSupport::clearSettings();
    QTemporaryDir folder;
    for (int i = 0; i < 5; ++i)
        QVERIFY(TestSupport::writeImage(folder.filePath(QStringLiteral("p%1.png").arg(i)), 64, 48,
                                        Qt::darkRed));
    Quirevale window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QVERIFY(TestSupport::pickFolder(&window, folder.path()));
    window.findChild<QListWidget *>("ImagesList")->item(2)->setCheckState(Qt::Unchecked);

    m_updates.clear();
    const QList<TestSupport::BoxSeen> boxes =
        TestSupport::makeCbz(&window, folder.filePath("out.cbz"));
    QCOMPARE(boxes.value(0).title, QStringLiteral("Advise"));
    QTRY_VERIFY(!m_updates.isEmpty() && !m_updates.last().visible);

    const QString uri = QStringLiteral("application://" QUIREVALE_DESKTOP_ID ".desktop");
    QVERIFY(m_updates.size() >= 3);
    QVERIFY(m_updates.first().visible);
    double last = -1;
    QList<double> shown;
    for (int i = 0; i + 1 < m_updates.size(); ++i) {
        const Update &update = m_updates.at(i);
        QCOMPARE(update.uri, uri);
        QVERIFY(update.visible);
        QVERIFY2(update.progress >= last, "progress went back while the build ran");
        last = update.progress;
        shown << update.progress;
    }
    // Rows 1, 2, 4 and 5 of 5 were taken; row 3 was left out.
    QVERIFY(shown.contains(0.2));
    QVERIFY(shown.contains(0.4));
    QVERIFY(!shown.contains(0.6));
    QVERIFY(shown.contains(1.0));
    QCOMPARE(m_updates.last().uri, uri);
}

QUIREVALE_TEST_MAIN(tst_LauncherEntry)
#include "tst_launcherentry.moc"
