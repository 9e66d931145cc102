#include "cbzwriter.h"
#include "quirevale.h"
#include "testsupport.h"

#include <QCheckBox>
#include <QDir>
#include <QProcess>
#include <QSpinBox>
#include <QTemporaryDir>

#include <csignal>

using namespace TestSupport;

namespace {
struct Run
{
    int status = -1;
    QString out;
    QString err;
};

QProcessEnvironment withoutDisplay()
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        env.remove(QLatin1String(name));
    return env;
}

Run cli(const QStringList &arguments, const QString &folder,
        QProcessEnvironment env = withoutDisplay())
{
    QProcess process;
    process.setWorkingDirectory(folder);
    process.setProcessEnvironment(env);
    process.start(QStringLiteral(QUIREVALE_CLI), arguments);
    process.waitForFinished(120000);
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}
} // namespace

class tst_CliRunner : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void exitStatuses_data();
    void exitStatuses();
    void listsInArchiveOrder();
    void sameEntriesAsTheWindow();
    void interruptLeavesNothing_data();
    void interruptLeavesNothing();
    void speaksItalianUnderAnItalianLocale();

private:
    // Folder name with count pages, the last with transparent areas.
    void makeFolder(const QString &name, int count);

    std::unique_ptr<QTemporaryDir> m_root;
};

void tst_CliRunner::init()
{
    m_root = std::make_unique<QTemporaryDir>();
}

void tst_CliRunner::makeFolder(const QString &name, int count)
{
    QVERIFY(QDir(m_root->path()).mkpath(name));
    for (int i = 1; i <= count; ++i) {
        QImage page = noiseImage(90 + i, 120);
        if (i == count) {
            page = page.convertToFormat(QImage::Format_ARGB32);
            page.fill(Qt::transparent);
        }
        QVERIFY(page.save(m_root->filePath(QStringLiteral("%1/p%2.png").arg(name).arg(i))));
    }
}

void tst_CliRunner::exitStatuses_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("status");
    QTest::addColumn<QStringList>("made"); // archives under the root afterwards
    QTest::addColumn<QString>("said");     // on standard error

    QTest::newRow("one folder, beside it")
        << QStringList{"A"} << 0 << QStringList{"A.cbz"} << "A.cbz: 3 pages";
    QTest::newRow("one folder, named")
        << QStringList{"-o", "named.cbz", "A/"} << 0 << QStringList{"named.cbz"} << "named.cbz";
    QTest::newRow("several into a folder")
        << QStringList{"-o", "out", "A", "B"} << 0 << QStringList{"out/A.cbz", "out/B.cbz"}
        << "B.cbz: 2 pages";
    QTest::newRow("quiet") << QStringList{"-q", "A"} << 0 << QStringList{"A.cbz"} << "";
    QTest::newRow("existing archive left alone")
        << QStringList{"Old"} << 1 << QStringList{"Old.cbz"} << "exists already";
    QTest::newRow("existing archive forced")
        << QStringList{"--force", "Old"} << 0 << QStringList{"Old.cbz"} << "Old.cbz: 1 pages";
    QTest::newRow("one fails, the others are made")
        << QStringList{"A", "Empty", "Missing", "B"} << 1 << QStringList{"A.cbz", "B.cbz"}
        << "Empty: no image file found";
    QTest::newRow("usage error makes nothing")
        << QStringList{"--border", "2000", "A"} << 2 << QStringList{} << "--border";
}

void tst_CliRunner::exitStatuses()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, status);
    QFETCH(QStringList, made);
    QFETCH(QString, said);
    makeFolder("A", 3);
    makeFolder("B", 2);
    makeFolder("Old", 1);
    QVERIFY(QDir(m_root->path()).mkdir("Empty"));
    QVERIFY(QDir(m_root->path()).mkdir("out"));
    QVERIFY(writeFile(m_root->filePath("Old.cbz"), "earlier archive"));

    const Run run = cli(arguments, m_root->path());
    QCOMPARE(run.status, status);
    QVERIFY2(run.err.contains(said), qPrintable(run.err));
    if (said.isEmpty())
        QCOMPARE(run.err, QString());
    QStringList found;
    for (const QString &name : QDir(m_root->path()).entryList({"*.cbz"}))
        found << name;
    for (const QString &name : QDir(m_root->filePath("out")).entryList({"*.cbz"}))
        found << "out/" + name;
    if (!made.contains("Old.cbz"))
        made << "Old.cbz";
    made.sort();
    found.sort();
    QCOMPARE(found, made);
    for (const QString &archive : made) {
        if (archive != "Old.cbz" || arguments.contains("--force"))
            QVERIFY2(unzipTest(m_root->filePath(archive)), qPrintable(archive));
    }
    if (!arguments.contains("--force"))
        QCOMPARE(contentOf(m_root->filePath("Old.cbz")), QByteArray("earlier archive"));
}

void tst_CliRunner::listsInArchiveOrder()
{
    QVERIFY(QDir(m_root->path()).mkdir("L"));
    for (const char *name : {"p10.jpg", "p9.png", "cover.bmp", "P1.tif", "notes.txt"})
        QVERIFY(writeFile(m_root->filePath(QStringLiteral("L/") + name), "x"));
    const Run run = cli({"--list", "L"}, m_root->path());
    QCOMPARE(run.status, 0);
    QCOMPARE(run.out, QStringLiteral("P1.tif\ncover.bmp\np9.png\np10.jpg\n"));
    QVERIFY(QDir(m_root->path()).entryList({"*.cbz"}).isEmpty());
}

void tst_CliRunner::sameEntriesAsTheWindow()
{
    makeFolder("W", 3);
    QVERIFY(writeFile(m_root->filePath("W/p0.tif"), multiPageTiff({noiseImage(300, 100)})));
    const Run run = cli({"--split", "35", "--first-page", "left", "--border", "4", "--quality",
                         "80", "-o", "cli.cbz", "W"},
                        m_root->path());
    QCOMPARE(run.status, 0);

    clearSettings();
    Quirevale window;
    window.show();
    QVERIFY(pickFolder(&window, m_root->filePath("W")));
    window.findChild<QCheckBox *>("ImageCutDoublePages")->click();
    window.findChild<QSpinBox *>("ImageCutPointNumber")->setValue(35);
    window.findChild<QAbstractButton *>("ImageCutFirstPageLeft")->click();
    window.findChild<QCheckBox *>("ImageCutBorder")->click();
    window.findChild<QSpinBox *>("ImageCutBorderNumber")->setValue(4);
    window.findChild<QSlider *>("ImageQuality")->setValue(80);
    QCOMPARE(makeCbz(&window, m_root->filePath("window.cbz")).value(0).title,
             QStringLiteral("Advise"));

    const QList<QByteArray> fromCli = archiveData(m_root->filePath("cli.cbz"));
    const QList<QByteArray> fromWindow = archiveData(m_root->filePath("window.cbz"));
    QCOMPARE(fromCli.size(), 8);
    QCOMPARE(fromWindow.size(), 8);
    for (int i = 0; i < 8; ++i)
        QVERIFY2(fromCli.at(i) == fromWindow.at(i), qPrintable(QString::number(i)));
}

void tst_CliRunner::interruptLeavesNothing_data()
{
    QTest::addColumn<int>("signal");
    QTest::newRow("Ctrl+C") << int(SIGINT);
    QTest::newRow("SIGTERM") << int(SIGTERM);
}

void tst_CliRunner::interruptLeavesNothing()
{
    QFETCH(int, signal);
    QVERIFY(QDir(m_root->path()).mkdir("Big"));
    const QImage noise = noiseImage(1500, 1500);
    for (int i = 0; i < 40; ++i)
        QVERIFY(noise.save(m_root->filePath(QStringLiteral("Big/n%1.bmp").arg(i))));
    QVERIFY(writeFile(m_root->filePath("Big.cbz"), "earlier archive"));

    QProcess process;
    process.setWorkingDirectory(m_root->path());
    process.setProcessEnvironment(withoutDisplay());
    process.start(QStringLiteral(QUIREVALE_CLI), {"--force", "--threads", "1", "Big"});
    QVERIFY(process.waitForStarted());
    QTRY_VERIFY(!QDir(m_root->path()).entryList({"*.part"}, QDir::Hidden | QDir::Files).isEmpty());
    ::kill(pid_t(process.processId()), signal);
    QVERIFY(process.waitForFinished(60000));
    QCOMPARE(process.exitCode(), 128 + signal);
    QVERIFY(QString::fromUtf8(process.readAllStandardError()).contains("stopped"));
    QCOMPARE(contentOf(m_root->filePath("Big.cbz")), QByteArray("earlier archive"));
    QVERIFY(QDir(m_root->path()).entryList({"*.part"}, QDir::Hidden | QDir::Files).isEmpty());
}

void tst_CliRunner::speaksItalianUnderAnItalianLocale()
{
    QProcessEnvironment env = withoutDisplay();
    env.insert("LC_ALL", "it_IT.UTF-8");
    env.insert("LANG", "it_IT.UTF-8");
    const Run usage = cli({"--quality", "x", "A"}, m_root->path(), env);
    QCOMPARE(usage.status, 2);
    QVERIFY2(usage.err.contains("non è un numero intero da 0 a 100"), qPrintable(usage.err));
}

QUIREVALE_TEST_MAIN(tst_CliRunner)
#include "tst_clirunner.moc"
