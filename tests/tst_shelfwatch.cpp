#include "book/shelfwatch.h"
#include "testsupport.h"

#include <QDir>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <csignal>

using namespace TestSupport;

namespace {
bool writePage(const QString &path)
{
    return noiseImage(120, 180).save(path, "jpg", 80);
}

// The JSON lines a watch wrote so far, by source's name.
QList<QJsonObject> linesOf(const QByteArray &out)
{
    QList<QJsonObject> lines;
    for (const QByteArray &line : out.split('\n')) {
        if (line.isEmpty())
            continue;
        QJsonParseError error;
        const QJsonDocument document = QJsonDocument::fromJson(line, &error);
        lines << (document.isObject() ? document.object()
                                      : QJsonObject{{"unparsed", QString::fromUtf8(line)}});
    }
    return lines;
}

QStringList partials(const QString &folder)
{
    return QDir(folder).entryList({".*.part"}, QDir::Files | QDir::Hidden);
}
} // namespace

class tst_ShelfWatch : public QObject
{
    Q_OBJECT

private slots:
    void booksAreDueOnceSettled();
    void theWatchMakesWhatLands();
    void aStopLeavesNothingAndARestartMakesWhatIsMissing();
};

// The rules on the caller's clock: due once unchanged for the settle time,
// not again until changed; what this watch made, hidden files and what is
// no book never.
void tst_ShelfWatch::booksAreDueOnceSettled()
{
    QTemporaryDir dir;
    const QString book = dir.filePath("Book");
    QVERIFY(QDir().mkpath(book));
    QVERIFY(writePage(book + "/1.jpg"));
    QVERIFY(writeFile(dir.filePath(".hidden.cbz"), "x"));
    QVERIFY(writeFile(dir.filePath("notes.txt"), "x"));
    ShelfWatch shelf(dir.path(), 1000);
    QVERIFY(shelf.due(0).isEmpty());
    QCOMPARE(shelf.nextLook(), 1000);
    QVERIFY(writePage(book + "/2.jpg")); // still being written
    QVERIFY(shelf.due(900).isEmpty());
    QVERIFY(shelf.due(1800).isEmpty());
    QCOMPARE(shelf.due(1900), QStringList{book});
    QVERIFY(!shelf.madeBefore(book));
    shelf.started(book);
    QVERIFY(writeFile(dir.filePath("Book.cbz"), "made"));
    shelf.finished(book, dir.filePath("Book.cbz"));
    QVERIFY(shelf.due(5000).isEmpty()); // made; its book is no source
    QVERIFY(writePage(book + "/3.jpg"));
    QVERIFY(shelf.due(6000).isEmpty());
    QCOMPARE(shelf.due(7000), QStringList{book});
    QVERIFY(shelf.madeBefore(book)); // made again over its book
    // Changed while it was made: due again once that settles.
    shelf.started(book);
    QVERIFY(writePage(book + "/4.jpg"));
    shelf.finished(book, dir.filePath("Book.cbz"));
    QVERIFY(shelf.due(8000).isEmpty());
    QCOMPARE(shelf.due(9000), QStringList{book});
}

// A folder written page by page is made once, whole, after it settled; an
// archive dropped in is made; a damaged one gives a failed line and the
// watch goes on. Each line is JSON with the text report's figures.
void tst_ShelfWatch::theWatchMakesWhatLands()
{
    QTemporaryDir dir;
    const QString inbox = dir.filePath("inbox");
    const QString out = dir.filePath("out");
    QVERIFY(QDir().mkpath(inbox) && QDir().mkpath(out));
    QProcess watch;
    watch.start(QStringLiteral(QUIREVALE_CLI),
                {"--watch", inbox, "--settle", "3", "--poll", "1", "--report", "json",
                 "--keep-jpeg", "-o", out + "/"});
    QVERIFY(watch.waitForStarted());
    QVERIFY(QDir().mkpath(inbox + "/Tales"));
    for (int i = 1; i <= 6; ++i)
        QVERIFY(writePage(QStringLiteral("%1/Tales/%2.jpg").arg(inbox).arg(i)));
    QByteArray said;
    const auto lines = [&] {
        said += watch.readAllStandardOutput();
        return linesOf(said).size();
    };
    QTRY_VERIFY_WITH_TIMEOUT(lines() >= 1, 120000);
    // A book made elsewhere, dropped in whole; one that is damaged.
    QVERIFY(QFile::copy(out + "/Tales.cbz", dir.filePath("Dropped.cbz")));
    QVERIFY(QFile::rename(dir.filePath("Dropped.cbz"), inbox + "/Dropped.cbz"));
    QVERIFY(writeFile(inbox + "/Broken.cbz", QByteArray("PK\x03\x04 damaged", 12)));
    QTRY_VERIFY_WITH_TIMEOUT(lines() >= 3, 120000);
    watch.terminate();
    QVERIFY(watch.waitForFinished(60000));
    said += watch.readAllStandardOutput();
    QCOMPARE(watch.exitCode(), 0);
    const QString errors = QString::fromUtf8(watch.readAllStandardError());

    QHash<QString, QJsonObject> bySource;
    for (const QJsonObject &line : linesOf(said)) {
        QVERIFY2(!line.contains("unparsed"), qPrintable(line.value("unparsed").toString()));
        const QString source = QFileInfo(line.value("source").toString()).fileName();
        QVERIFY2(!bySource.contains(source), qPrintable(source + " made twice"));
        bySource.insert(source, line);
    }
    QCOMPARE(bySource.keys().size(), 3);
    const QJsonObject tales = bySource.value("Tales");
    QCOMPARE(tales.value("state").toString(), QStringLiteral("made"));
    QCOMPARE(tales.value("pages").toInt(), 6);
    QCOMPARE(tales.value("kind").toString(), QStringLiteral("cbz"));
    QCOMPARE(archiveData(out + "/Tales.cbz").size(), 6);
    QCOMPARE(qint64(tales.value("bytes").toDouble()), QFileInfo(out + "/Tales.cbz").size());
    // The text report on standard error says the same figures.
    const QRegularExpressionMatch text =
        QRegularExpression("Tales\\.cbz: (\\d+) entries from (\\d+) pages").match(errors);
    QVERIFY2(text.hasMatch(), qPrintable(errors));
    QCOMPARE(text.captured(1).toInt(), tales.value("entries").toInt());
    QCOMPARE(text.captured(2).toInt(), tales.value("pages").toInt());
    QCOMPARE(bySource.value("Dropped.cbz").value("state").toString(), QStringLiteral("made"));
    const QJsonObject broken = bySource.value("Broken.cbz");
    QCOMPARE(broken.value("state").toString(), QStringLiteral("failed"));
    QVERIFY(!broken.value("reason").toString().isEmpty());
    QVERIFY(partials(out).isEmpty());
}

// SIGTERM while a book is made: no partial file, no book, the watch ends; a
// watch started again makes only what is missing.
void tst_ShelfWatch::aStopLeavesNothingAndARestartMakesWhatIsMissing()
{
    QTemporaryDir dir;
    const QString inbox = dir.filePath("inbox");
    const QString out = dir.filePath("out");
    QVERIFY(QDir().mkpath(inbox + "/Long") && QDir().mkpath(out));
    const QImage page = noiseImage(1200, 1600);
    for (int i = 1; i <= 24; ++i)
        QVERIFY(page.save(QStringLiteral("%1/Long/%2.png").arg(inbox).arg(i)));
    QVERIFY(QDir().mkpath(inbox + "/Short"));
    QVERIFY(writePage(inbox + "/Short/1.jpg"));
    QVERIFY(writeFile(out + "/Short.cbz", "made before"));
    const QStringList arguments{"--watch", inbox,       "--settle", "1",  "--report",
                                "json",    "--threads", "1",        "-o", out + "/"};
    QProcess watch;
    watch.start(QStringLiteral(QUIREVALE_CLI), arguments);
    QVERIFY(watch.waitForStarted());
    QTRY_VERIFY_WITH_TIMEOUT(!partials(out).isEmpty(), 120000);
    ::kill(pid_t(watch.processId()), SIGTERM);
    QVERIFY(watch.waitForFinished(60000));
    QCOMPARE(watch.exitCode(), 0);
    QVERIFY(partials(out).isEmpty());
    QVERIFY(!QFileInfo::exists(out + "/Long.cbz"));

    QProcess again;
    again.start(QStringLiteral(QUIREVALE_CLI), arguments);
    QVERIFY(again.waitForStarted());
    QByteArray said;
    const auto lines = [&] {
        said += again.readAllStandardOutput();
        return linesOf(said).size();
    };
    QTRY_VERIFY_WITH_TIMEOUT(lines() >= 2, 300000);
    again.terminate();
    QVERIFY(again.waitForFinished(60000));
    QStringList states;
    for (const QJsonObject &line : linesOf(said))
        states << QFileInfo(line.value("source").toString()).fileName() + " " +
                      line.value("state").toString();
    states.sort();
    QCOMPARE(states, QStringList({"Long made", "Short skipped"}));
    QCOMPARE(contentOf(out + "/Short.cbz"), QByteArray("made before"));
    QCOMPARE(archiveData(out + "/Long.cbz").size(), 24);
}

QUIREVALE_TEST_MAIN(tst_ShelfWatch)
#include "tst_shelfwatch.moc"
