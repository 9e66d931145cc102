#include "book/bookqueue.h"
#include "book/optiontable.h"
#include "book/queuefile.h"
#include "book/queuerunner.h"
#include "testsupport.h"

#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <cstring>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <unistd.h>

using namespace TestSupport;

namespace {
// The queue as versions before Queue.json kept it, in Qt's settings.
void writeEarlierQueue(const QString &path, const BookQueue &queue)
{
    QSettings settings(path, QSettings::IniFormat);
    settings.beginGroup("Queue");
    settings.setValue("OutputFolder", queue.outputFolder());
    settings.beginWriteArray("Books", queue.size());
    for (int row = 0; row < queue.size(); ++row) {
        const QueuedBook &book = queue.at(row);
        settings.setArrayIndex(row);
        settings.setValue("Sources", book.sources);
        settings.setValue("Preset", book.preset);
        settings.setValue("ComicInfo", comicInfoXml(book.comicInfo, {}));
        settings.setValue("WriteComicInfo", book.comicInfo.write);
        settings.setValue("Pages", book.pageNames);
        settings.setValue("State", int(book.state));
        settings.setValue("Report", book.report);
        saveBookOptions(settings, book.options);
        settings.beginWriteArray("Treatments", book.treatments.size());
        int i = 0;
        for (auto page = book.treatments.cbegin(); page != book.treatments.cend(); ++page, ++i) {
            const PageTreatment &t = page.value();
            settings.setArrayIndex(i);
            settings.setValue("Page", page.key());
            settings.setValue("Cut", int(t.cut));
            settings.setValue("Border", int(t.border));
            settings.setValue("Sides",
                              QList<QVariant>{t.borderSides.left(), t.borderSides.top(),
                                              t.borderSides.right(), t.borderSides.bottom()});
            settings.setValue("Rotation", t.rotation);
            settings.setValue("Straighten", int(t.straighten));
            settings.setValue("Degrees", t.straightenDegrees);
        }
        settings.endArray();
    }
    settings.endArray();
}
} // namespace

class tst_BookQueue : public QObject
{
    Q_OBJECT

private slots:
    void targetsAreLaidOut_data();
    void targetsAreLaidOut();
    void runsEveryBookAndTellsEach();
    void cancelStopsOneBook();
    void comesBackAfterARestart_data();
    void comesBackAfterARestart();
    void rowsMove_data();
    void rowsMove();
    void chosenPagesAreMadeAsShown();
    void hostileQueueFiles_data();
    void hostileQueueFiles();
    void savedOnlyOverARegularFile_data();
    void savedOnlyOverARegularFile();
};

namespace {
QueuedBook bookOf(const QStringList &sources, PageOptions::Kind kind = PageOptions::CbzBook)
{
    QueuedBook book;
    book.sources = sources;
    book.options.pages.BookKind = kind;
    return book;
}

// A folder of count pages (noise, so that a build takes a moment).
QString folderOf(const QDir &root, const QString &name, int count, int side = 60)
{
    root.mkpath(name);
    for (int i = 0; i < count; ++i)
        noiseImage(side, side * 3 / 2)
            .save(root.filePath(QStringLiteral("%1/%2.png").arg(name).arg(i)));
    return root.filePath(name);
}

// Runs the queue to its end (or its pause).
bool runQueue(QueueRunner &runner)
{
    QSignalSpy ran(&runner, &QueueRunner::runningChanged);
    QSignalSpy paused(&runner, &QueueRunner::paused);
    runner.start();
    return QTest::qWaitFor([&] { return !runner.isRunning() || !paused.isEmpty(); }, 60000);
}
} // namespace

void tst_BookQueue::targetsAreLaidOut_data()
{
    QTest::addColumn<QStringList>("sources"); // relative to a shelf; "a|b": one book's chapters
    QTest::addColumn<QString>("output");      // empty: beside each source
    QTest::addColumn<int>("kind");
    QTest::addColumn<QStringList>("targets"); // relative to the shelf
    QTest::newRow("beside each source")
        << QStringList{"Saga/Vol 1", "Other/Book.cbz"} << "" << int(PageOptions::CbzBook)
        << QStringList{"Saga/Vol 1.cbz", "Other/Book (1).cbz"};
    QTest::newRow("under an output folder, the shelf's folders kept")
        << QStringList{"Saga/Vol 1", "Saga/Vol 2", "Other/Deep/Book.pdf"} << "out"
        << int(PageOptions::KepubBook)
        << QStringList{"out/Saga/Vol 1.kepub.epub", "out/Saga/Vol 2.kepub.epub",
                       "out/Other/Deep/Book.kepub.epub"};
    QTest::newRow("one folder: the output folder itself")
        << QStringList{"Saga/Vol 1", "Saga/Vol 2"} << "out" << int(PageOptions::EpubBook)
        << QStringList{"out/Vol 1.epub", "out/Vol 2.epub"};
    QTest::newRow("chapters named after the folder that holds them")
        << QStringList{"Saga/Vol 1/Ch 1|Saga/Vol 1/Ch 2"} << "" << int(PageOptions::CbzBook)
        << QStringList{"Saga/Vol 1.cbz"};
}

// Where each archive goes: beside its source as the command line names it,
// or under the output folder where its source lies below the shelf.
void tst_BookQueue::targetsAreLaidOut()
{
    QFETCH(QStringList, sources);
    QFETCH(QString, output);
    QFETCH(int, kind);
    QFETCH(QStringList, targets);
    QTemporaryDir dir;
    const QDir shelf(dir.path());
    BookQueue queue;
    for (const QString &book : sources) {
        QStringList paths;
        for (const QString &source : book.split('|')) {
            if (QFileInfo(source).suffix().isEmpty())
                QVERIFY(shelf.mkpath(source));
            else
                QVERIFY(shelf.mkpath(QFileInfo(source).path()) &&
                        writeFile(shelf.filePath(source), "x"));
            paths << shelf.filePath(source);
        }
        queue.add(bookOf(paths, PageOptions::Kind(kind)));
    }
    if (!output.isEmpty())
        queue.setOutputFolder(shelf.filePath(output));
    QStringList made;
    for (int row = 0; row < queue.size(); ++row)
        made << shelf.relativeFilePath(queue.at(row).target);
    QCOMPARE(made, targets);
}

// Books made one after another as the command line makes them; one that
// fails says why on its row and the others are made; a book whose archive
// another row makes already is told so before anything is made; a failed
// row made again once its pages are mended.
void tst_BookQueue::runsEveryBookAndTellsEach()
{
    QTemporaryDir dir;
    const QDir shelf(dir.path());
    const QString first = folderOf(shelf, "One", 3);
    const QString broken = folderOf(shelf, "Broken", 2);
    QVERIFY(writeFile(shelf.filePath("Broken/9.png"), "not a picture"));
    const QString third = folderOf(shelf, "Three", 2);
    QVERIFY(writeFile(shelf.filePath("Three.cbz"), "kept"));
    BookQueue queue;
    queue.add({bookOf({first}), bookOf({broken}), bookOf({first}), bookOf({third})});
    QueueRunner runner(&queue);
    QSignalSpy changed(&runner, &QueueRunner::rowChanged);
    QVERIFY(runQueue(runner));
    QCOMPARE(queue.at(0).state, QueuedBook::Made);
    QVERIFY2(queue.at(0).detail.contains("3 entries from 3 pages"), qPrintable(queue.at(0).detail));
    QCOMPARE(queue.at(1).state, QueuedBook::Failed);
    QVERIFY2(queue.at(1).report.contains("9.png"), qPrintable(queue.at(1).report));
    QCOMPARE(queue.at(2).state, QueuedBook::Failed);
    QVERIFY2(queue.at(2).report.contains("book 1"), qPrintable(queue.at(2).report));
    // Its archive is there already and replacing was not asked.
    QCOMPARE(queue.at(3).state, QueuedBook::Skipped);
    QCOMPARE(contentOf(shelf.filePath("Three.cbz")), QByteArray("kept"));
    QVERIFY(!QFileInfo::exists(shelf.filePath("Broken.cbz")));
    QVERIFY(unzipTest(shelf.filePath("One.cbz")));
    QVERIFY(changed.size() >= 4 + 3); // each state, and the pages of the first

    QVERIFY(QFile::remove(shelf.filePath("Broken/9.png")));
    queue.remove(2);
    QCOMPARE(queue.makeFailedAgain(), 1);
    QCOMPARE(queue.nextWaiting(), 1);
    runner.setReplaceExisting(true);
    queue.makeAgain(2);
    QVERIFY(runQueue(runner));
    QCOMPARE(queue.at(1).state, QueuedBook::Made);
    QCOMPARE(queue.at(2).state, QueuedBook::Made);
    QVERIFY(unzipTest(shelf.filePath("Three.cbz")));
}

// Cancel stops the book being made, its earlier archive untouched, and the
// queue waits: resumed, the next book is made; stopped, no other is.
void tst_BookQueue::cancelStopsOneBook()
{
    QTemporaryDir dir;
    const QDir shelf(dir.path());
    const QString big = folderOf(shelf, "Big", 40, 400);
    const QString small = folderOf(shelf, "Small", 1);
    const QString last = folderOf(shelf, "Last", 1);
    QVERIFY(writeFile(shelf.filePath("Big.cbz"), "earlier"));
    BookQueue queue;
    queue.add({bookOf({big}), bookOf({small}), bookOf({last})});
    QueueRunner runner(&queue);
    runner.setReplaceExisting(true);
    runner.setThreadCount(1);
    QSignalSpy paused(&runner, &QueueRunner::paused);
    connect(&runner, &QueueRunner::rowChanged, &runner, [&](int row) {
        if (row == 0 && queue.at(0).pagesDone == 1)
            runner.cancelCurrent();
    });
    runner.start();
    QTRY_COMPARE_WITH_TIMEOUT(paused.size(), 1, 60000);
    QCOMPARE(queue.at(0).state, QueuedBook::Stopped);
    QCOMPARE(contentOf(shelf.filePath("Big.cbz")), QByteArray("earlier"));
    QCOMPARE(queue.at(1).state, QueuedBook::Waiting);
    QVERIFY(runner.isRunning());
    runner.resume();
    QTRY_COMPARE_WITH_TIMEOUT(queue.at(1).state, QueuedBook::Made, 60000);
    QTRY_VERIFY(!runner.isRunning());
    QCOMPARE(queue.at(2).state, QueuedBook::Made);

    // Stopping the queue while it runs: the book being made stops, no other
    // starts.
    queue.makeAgain(1);
    queue.makeAgain(2);
    QSignalSpy ran(&runner, &QueueRunner::runningChanged);
    connect(&runner, &QueueRunner::rowChanged, &runner, [&](int row) {
        if (row == 1 && queue.at(1).state == QueuedBook::Making)
            runner.stop();
    });
    runner.start();
    QTRY_VERIFY_WITH_TIMEOUT(!runner.isRunning(), 60000);
    QCOMPARE(queue.at(2).state, QueuedBook::Waiting);
}

void tst_BookQueue::comesBackAfterARestart_data()
{
    QTest::addColumn<bool>("earlier");
    QTest::newRow("its own file") << false;
    QTest::newRow("an earlier version's Queue.ini") << true;
}

// The rows, their options and states come back after a restart; a row left
// being made waits again, one whose source vanished says so.
void tst_BookQueue::comesBackAfterARestart()
{
    QTemporaryDir dir;
    const QDir shelf(dir.path());
    const QString kept = folderOf(shelf, "Kept", 1);
    const QString gone = folderOf(shelf, "Gone", 1);
    BookQueue queue;
    QueuedBook chosen = bookOf({kept}, PageOptions::EpubBook);
    chosen.preset = "E-ink reader, 6 inches";
    chosen.options.pages.ImageQuality = 61;
    chosen.comicInfo.title = "A <Title>";
    chosen.comicInfo.direction = ComicInfo::RightToLeft;
    chosen.comicInfo.write = true;
    chosen.pageNames = QStringList{"0.png"};
    PageTreatment turned;
    turned.rotation = 270;
    turned.setOwnBorder(QMargins(1, 2, 3, 4));
    turned.straighten = PageTreatment::StraightenBy;
    turned.straightenDegrees = -1.5;
    chosen.treatments.insert("0.png", turned);
    chosen.state = QueuedBook::Making;
    QueuedBook vanished = bookOf({gone});
    QueuedBook failed = bookOf({kept});
    failed.state = QueuedBook::Failed;
    failed.report = "why";
    queue.add({chosen, vanished, failed});
    queue.setOutputFolder(shelf.filePath("out"));
    QFETCH(bool, earlier);
    QueueFile file(dir.path());
    QString error;
    if (earlier)
        writeEarlierQueue(dir.filePath("Queue.ini"), queue);
    else
        QVERIFY2(file.save(QueueFile::toJson(queue), &error), qPrintable(error));
    QVERIFY(QDir(gone).removeRecursively());
    const BookQueue back = file.load();
    QVERIFY2(file.notice().isEmpty(), qPrintable(file.notice()));
    QCOMPARE(back.size(), 3);
    QCOMPARE(back.outputFolder(), shelf.filePath("out"));
    const QueuedBook &again = back.at(0);
    QCOMPARE(again.state, QueuedBook::Waiting);
    QCOMPARE(again.options, chosen.options);
    QCOMPARE(again.preset, chosen.preset);
    QCOMPARE(again.comicInfo.title, chosen.comicInfo.title);
    QCOMPARE(again.comicInfo.direction, ComicInfo::RightToLeft);
    QVERIFY(again.comicInfo.write);
    QCOMPARE(again.pageNames, chosen.pageNames);
    QCOMPARE(again.treatments.value("0.png"), turned);
    QCOMPARE(again.target, queue.at(0).target);
    QCOMPARE(back.at(1).state, QueuedBook::Failed);
    QVERIFY2(back.at(1).report.contains(gone), qPrintable(back.at(1).report));
    QCOMPARE(back.at(2).state, QueuedBook::Failed);
    QCOMPARE(back.at(2).report, QStringLiteral("why"));
}

void tst_BookQueue::rowsMove_data()
{
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("to");
    QTest::addColumn<QString>("order");
    QTest::newRow("down one") << 0 << 1 << "BACD";
    QTest::newRow("up one") << 2 << 1 << "ACBD";
    QTest::newRow("first to last") << 0 << 3 << "BCDA";
    QTest::newRow("last to first") << 3 << 0 << "DABC";
    QTest::newRow("out of range") << 1 << 4 << "ABCD";
}

// A row moved takes its place and the others close up; each keeps its id.
void tst_BookQueue::rowsMove()
{
    QFETCH(int, from);
    QFETCH(int, to);
    QFETCH(QString, order);
    BookQueue queue;
    for (const char *name : {"/shelf/A", "/shelf/B", "/shelf/C", "/shelf/D"})
        queue.add(bookOf({name}));
    QHash<QString, int> ids;
    for (int row = 0; row < queue.size(); ++row)
        ids.insert(queue.at(row).name(), queue.at(row).id);
    queue.move(from, to);
    QString now;
    for (int row = 0; row < queue.size(); ++row) {
        now += queue.at(row).name();
        QCOMPARE(queue.rowOf(ids.value(queue.at(row).name())), row);
    }
    QCOMPARE(now, order);
}

// A book added as the window showed it is made of those pages in that
// order, each with its own treatment; once one of them is gone from its
// source, it fails saying which.
void tst_BookQueue::chosenPagesAreMadeAsShown()
{
    QTemporaryDir dir;
    const QDir shelf(dir.path());
    const QString book = folderOf(shelf, "Chosen", 3);
    QueuedBook chosen = bookOf({book});
    chosen.pageNames = QStringList{"2.png", "0.png"};
    PageTreatment turned;
    turned.rotation = 90;
    chosen.treatments.insert("0.png", turned);
    BookQueue queue;
    queue.add(chosen);
    QueueRunner runner(&queue);
    QVERIFY(runQueue(runner));
    QCOMPARE(queue.at(0).state, QueuedBook::Made);
    bool ok = false;
    const QList<ArchiveEntry> entries = readArchive(shelf.filePath("Chosen.cbz"), &ok);
    QVERIFY(ok);
    QCOMPARE(entries.size(), 2);
    QImage first, second;
    QVERIFY(first.loadFromData(entries.at(0).data) && second.loadFromData(entries.at(1).data));
    QCOMPARE(first.size(), QSize(60, 90));  // 2.png as it is
    QCOMPARE(second.size(), QSize(90, 60)); // 0.png turned
    QVERIFY(QFile::remove(shelf.filePath("Chosen/0.png")));
    queue.makeAgain(0);
    runner.setReplaceExisting(true);
    QVERIFY(runQueue(runner));
    QCOMPARE(queue.at(0).state, QueuedBook::Failed);
    QVERIFY2(queue.at(0).report.contains("0.png is gone"), qPrintable(queue.at(0).report));
}

void tst_BookQueue::hostileQueueFiles_data()
{
    QTest::addColumn<QString>("file");     // "Queue.json", or an earlier "Queue.ini"
    QTest::addColumn<QByteArray>("bytes"); // "fifo": a pipe; "large": past the limit
    QTest::addColumn<int>("rows");
    QTest::addColumn<bool>("keptAside");
    const QByteArray row = "Books\\%1\\Sources=/shelf/%1\n";
    const auto rows = [&](const QByteArray &head, int count) {
        QByteArray ini = "[Queue]\n" + head;
        for (int i = 1; i <= count; ++i)
            ini += QByteArray(row).replace("%1", QByteArray::number(i));
        return ini;
    };
    QTest::newRow("treatments counted in thousands of millions")
        << "Queue.ini" << rows("Books\\1\\Treatments\\size=1000000000\nBooks\\size=1\n", 1) << 1
        << false;
    QTest::newRow("rows counted as -7, three there")
        << "Queue.ini" << rows("Books\\size=-7\n", 3) << 3 << false;
    QTest::newRow("rows counted as 5, two there")
        << "Queue.ini" << rows("Books\\size=5\n", 2) << 2 << false;
    QTest::newRow("a pipe") << "Queue.json" << QByteArray("fifo") << 0 << true;
    QTest::newRow("larger than any queue") << "Queue.json" << QByteArray("large") << 0 << true;
    QTest::newRow("damaged") << "Queue.json" << QByteArray("{\"Books\": [{\"Sources\"") << 0
                             << true;
    QTest::newRow("pages counted past any book")
        << "Queue.json"
        << QByteArray("{\"Books\": [{\"Sources\": [\"/shelf/a\"], \"Pages\": [") +
               QByteArray("\"p\",").repeated(QueueFile::PageLimit + 10) + "\"p\"]}]}"
        << 1 << false;
}

// A queue file that lies about its counts, blocks or cannot be read whole
// never stops the start: every count is bounded, only a regular file of a
// queue's size is read, and a file that cannot be read whole is put aside,
// never saved over.
void tst_BookQueue::hostileQueueFiles()
{
    QFETCH(QString, file);
    QFETCH(QByteArray, bytes);
    QFETCH(int, rows);
    QFETCH(bool, keptAside);
    QTemporaryDir dir;
    const QString path = dir.filePath(file);
    if (bytes == "fifo") {
        QVERIFY(::mkfifo(QFile::encodeName(path).constData(), 0600) == 0);
    } else if (bytes == "large") {
        QFile large(path);
        QVERIFY(large.open(QIODevice::WriteOnly) && large.resize(QueueFile::SizeLimit + 1));
    } else {
        QVERIFY(writeFile(path, bytes));
    }
    QueueFile queueFile(dir.path());
    const BookQueue queue = queueFile.load();
    QCOMPARE(queue.size(), rows);
    if (rows > 0)
        QVERIFY(queue.at(0).pageNames.size() <= QueueFile::PageLimit);
    QCOMPARE(!queueFile.notice().isEmpty(), keptAside);
    if (keptAside) {
        const QStringList aside =
            QDir(dir.path()).entryList({file + ".unread-*"}, QDir::Files | QDir::System);
        QCOMPARE(aside.size(), 1);
        QVERIFY2(queueFile.notice().contains(aside.first()), qPrintable(queueFile.notice()));
        if (bytes != "fifo" && bytes != "large")
            QCOMPARE(contentOf(dir.filePath(aside.first())), bytes);
        // The next save makes a new file, and leaves the one put aside.
        QString error;
        QVERIFY2(queueFile.save(QueueFile::toJson(queue), &error), qPrintable(error));
        QVERIFY(QFileInfo(dir.filePath(aside.first())).exists());
    }
}

void tst_BookQueue::savedOnlyOverARegularFile_data()
{
    QTest::addColumn<QString>("linkedTo");
    QTest::addColumn<bool>("saved");
    QTest::newRow("a regular file, through a link") << "file" << true;
    QTest::newRow("a pipe") << "fifo" << false;
    QTest::newRow("a folder") << "folder" << false;
    QTest::newRow("a socket") << "socket" << false;
    QTest::newRow("a device node of the test's own") << "device" << false;
}

// The queue file is a link: what it links to is written only when it is a
// regular file (the link stays a link); a device, a pipe, a socket or a
// folder stays as it is, and the save says why.
void tst_BookQueue::savedOnlyOverARegularFile()
{
    QFETCH(QString, linkedTo);
    QFETCH(bool, saved);
    QTemporaryDir dir;
    const QString target = dir.filePath("target");
    const QByteArray name = QFile::encodeName(target);
    if (linkedTo == "file") {
        QVERIFY(writeFile(target, "earlier"));
    } else if (linkedTo == "fifo") {
        QVERIFY(::mkfifo(name.constData(), 0600) == 0);
    } else if (linkedTo == "folder") {
        QVERIFY(QDir().mkdir(target));
    } else if (linkedTo == "socket") {
        const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un address = {};
        address.sun_family = AF_UNIX;
        QVERIFY(size_t(name.size()) < sizeof address.sun_path);
        std::memcpy(address.sun_path, name.constData(), size_t(name.size()));
        QVERIFY(::bind(fd, reinterpret_cast<sockaddr *>(&address), sizeof address) == 0);
        ::close(fd);
    } else if (::mknod(name.constData(), S_IFCHR | 0600, makedev(1, 3)) != 0) {
        QSKIP("A device node needs the right to make one (root, or CAP_MKNOD)");
    }
    QVERIFY(QFile::link(target, dir.filePath("Queue.json")));
    BookQueue queue;
    QueuedBook book;
    book.sources = QStringList{dir.filePath("shelf")};
    queue.add(book);
    QString error;
    QCOMPARE(QueueFile(dir.path()).save(QueueFile::toJson(queue), &error), saved);
    QCOMPARE(error.isEmpty(), saved);
    QVERIFY(QFileInfo(dir.filePath("Queue.json")).isSymLink());
    struct stat info;
    QCOMPARE(::lstat(name.constData(), &info), 0);
    if (saved) {
        QVERIFY(S_ISREG(info.st_mode));
        QVERIFY(contentOf(target).contains("shelf"));
    } else {
        QVERIFY(!S_ISREG(info.st_mode));
    }
}

QUIREVALE_TEST_MAIN(tst_BookQueue)
#include "tst_bookqueue.moc"
