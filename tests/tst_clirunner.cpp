#include "app/booksources.h"
#include "app/pagerow.h"
#include "app/queuedock.h"
#include "app/queuemodel.h"
#include "app/quirevale.h"
#include "book/bookcheck.h"
#include "book/queuerunner.h"
#include "making/comicinfo.h"
#include "making/zipwriter.h"
#include "pages/jpegcheck.h"
#include "samplepages.h"
#include "testsupport.h"

#include <QAbstractItemView>
#include <QBuffer>
#include <QCheckBox>
#include <QDateTime>
#include <QDir>
#include <QDirIterator>
#include <QDockWidget>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QImageReader>
#include <QLabel>
#include <QListView>
#include <QListWidget>
#include <QPainter>
#include <QProcess>
#include <QPushButton>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QSemaphore>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTimer>
#include <QTranslator>

#include <csignal>
#include <cstdio>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

using namespace TestSupport;

namespace {

// A PDF of blank pages, its objects and cross references by hand.
QByteArray blankPdf(int pages)
{
    QByteArray pdf("%PDF-1.4\n");
    QVector<int> offsets;
    const auto object = [&](const QByteArray &body) {
        offsets.append(pdf.size());
        pdf += QByteArray::number(offsets.size()) + " 0 obj\n" + body + "\nendobj\n";
    };
    object("<< /Type /Catalog /Pages 2 0 R >>");
    QByteArray kids;
    for (int i = 0; i < pages; ++i)
        kids += QByteArray::number(3 + i) + " 0 R ";
    object("<< /Type /Pages /Count " + QByteArray::number(pages) + " /Kids [" + kids + "] >>");
    for (int i = 0; i < pages; ++i)
        object("<< /Type /Page /Parent 2 0 R /MediaBox [0 0 200 300] >>");
    const int xref = pdf.size();
    pdf += "xref\n0 " + QByteArray::number(offsets.size() + 1) + "\n0000000000 65535 f \n";
    for (const int offset : offsets)
        pdf += QByteArray::number(offset).rightJustified(10, '0') + " 00000 n \n";
    pdf += "trailer\n<< /Size " + QByteArray::number(offsets.size() + 1) +
           " /Root 1 0 R >>\nstartxref\n" + QByteArray::number(xref) + "\n%%EOF\n";
    return pdf;
}
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
    void cleanup();
    void exitStatuses_data();
    void exitStatuses();
    void listsInArchiveOrder();
    void sameEntriesAsTheWindow();
    void listSaysWhatAStripBecomes();
    void facingBlanksOfAFileOfManyPictures();
    void listSaysDirectionAndGrey();
    void listSaysWhatTheEpubHolds();
    void epubMadeBackIntoACbz();
    void queueMakesWhatTheCommandLineMakes();
    void queueTellsWhatTheCommandLineTells_data();
    void queueTellsWhatTheCommandLineTells();
    void stopEndsTheListing_data();
    void stopEndsTheListing();
    void severalBooksAddedAtOnce();
    void addThisBookTakesTheListAsShown();
    void checkNamesWhatReadersTripOn_data();
    void checkNamesWhatReadersTripOn();
    void checkIsBoundedOnHostileFiles();
    void cleanCopyKeepsTheBooksQuality_data();
    void cleanCopyKeepsTheBooksQuality();
    void checkNamesWhatKindOfBookItIs_data();
    void checkNamesWhatKindOfBookItIs();
    void cleanCopyKeepsFoldersAsChapters();
    void listSaysWhatTheArchiveHolds_data();
    void listSaysWhatTheArchiveHolds();
    void sourcesOfEveryKind();
    void shelfIsTallied();
    void windowPrintsWithoutADisplay_data();
    void windowPrintsWithoutADisplay();
    void readingDirectionOrdersTheHalves_data();
    void readingDirectionOrdersTheHalves();
    void interruptLeavesNothing_data();
    void interruptLeavesNothing();
    void speaksItalianUnderAnItalianLocale();
    void troubledFilesAreNamed_data();
    void troubledFilesAreNamed();
    void aSignalAfterTheRenameStopsNothing();
    void folderNamedInLatin1();
    void outputThatCannotBeWrittenFails_data();
    void outputThatCannotBeWrittenFails();

private:
    // Folder name with count pages, the last with transparent areas.
    void makeFolder(const QString &name, int count);

    std::unique_ptr<QTemporaryDir> m_root;
};

void tst_CliRunner::init()
{
    m_root = std::make_unique<QTemporaryDir>();
}

// Some rows make names that are not UTF-8, which QDir cannot remove: the
// folder goes by its bytes.
void tst_CliRunner::cleanup()
{
    std::error_code ignored;
    std::filesystem::remove_all(QFile::encodeName(m_root->path()).toStdString(), ignored);
    m_root.reset();
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
        << QStringList{"A"} << 0 << QStringList{"A.cbz"} << "A.cbz: 3 entries from 3 pages";
    QTest::newRow("one folder, named")
        << QStringList{"-o", "named.cbz", "A/"} << 0 << QStringList{"named.cbz"} << "named.cbz";
    QTest::newRow("several into a folder")
        << QStringList{"-o", "out", "A", "B"} << 0 << QStringList{"out/A.cbz", "out/B.cbz"}
        << "B.cbz: 2 entries from 2 pages";
    QTest::newRow("quiet") << QStringList{"-q", "A"} << 0 << QStringList{"A.cbz"} << "";
    QTest::newRow("existing archive left alone")
        << QStringList{"Old"} << 1 << QStringList{"Old.cbz"} << "exists already";
    QTest::newRow("existing archive forced")
        << QStringList{"--force", "Old"} << 0 << QStringList{"Old.cbz"}
        << "Old.cbz: 1 entries from 1 pages";
    QTest::newRow("one fails, the others are made")
        << QStringList{"A", "Empty", "Missing", "B"} << 1 << QStringList{"A.cbz", "B.cbz"}
        << "Empty: no image file found";
    QTest::newRow("usage error makes nothing")
        << QStringList{"--border", "2000", "A"} << 2 << QStringList{} << "--border";
    QTest::newRow("two folders of one name, one archive")
        << QStringList{"--force", "-o", "out", "A", "X/A"} << 1 << QStringList{"out/A.cbz"}
        << "was made from A in this run already";
    QTest::newRow("an output ending in a slash is a folder, made")
        << QStringList{"-o", "shelf/", "A"} << 0 << QStringList{"shelf/A.cbz"} << "A.cbz";
    QTest::newRow("an existing folder is a folder")
        << QStringList{"-o", "out", "B"} << 0 << QStringList{"out/B.cbz"} << "B.cbz";
    QTest::newRow("forced onto one of its own pages")
        << QStringList{"--force", "-o", "A/p1.png", "A"} << 1 << QStringList{}
        << "is a page of this book";
    QTest::newRow("forced onto a device") << QStringList{"--force", "-o", "/dev/null", "A"} << 1
                                          << QStringList{} << "not a regular file";
    QTest::newRow("an empty output")
        << QStringList{"-o", "", "A"} << 2 << QStringList{} << "--output";
    QTest::newRow("escape sequences in a name shown as text")
        << QStringList{"E\x1b[31m"} << 0 << QStringList{"E\x1b[31m.cbz"} << "E\\x1b[31m.cbz";
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
    makeFolder("X/A", 2);
    makeFolder("E\x1b[31m", 1);
    QVERIFY(QDir(m_root->path()).mkdir("Empty"));
    QVERIFY(QDir(m_root->path()).mkdir("out"));
    QVERIFY(writeFile(m_root->filePath("Old.cbz"), "earlier archive"));

    const Run run = cli(arguments, m_root->path());
    QCOMPARE(run.status, status);
    QVERIFY2(run.err.contains(said), qPrintable(run.err));
    QVERIFY2(!run.err.contains(QChar(0x1b)), "a name's escape reached the terminal");
    if (said.isEmpty())
        QCOMPARE(run.err, QString());
    QStringList found;
    QDirIterator archives(m_root->path(), {"*.cbz"}, QDir::Files, QDirIterator::Subdirectories);
    while (archives.hasNext())
        found << QDir(m_root->path()).relativeFilePath(archives.next());
    if (!made.contains("Old.cbz"))
        made << "Old.cbz";
    made.sort();
    found.sort();
    QCOMPARE(found, made);
    const bool oldForced = arguments.contains("--force") && arguments.contains("Old");
    for (const QString &archive : made) {
        if (archive != "Old.cbz" || oldForced)
            QVERIFY2(unzipTest(m_root->filePath(archive)), qPrintable(archive));
    }
    if (!oldForced)
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

// An archive and a PDF repacked, a folder of chapters made one book with
// its chapters marked: what --list shows is what is made.
void tst_CliRunner::sourcesOfEveryKind()
{
    const QDir root(m_root->path());
    for (const char *chapter : {"Vol/Ch 10", "Vol/Ch 2"}) {
        QVERIFY(root.mkpath(QStringLiteral("Book/") + chapter));
        for (const char *page : {"/b.png", "/a.png"})
            QVERIFY(writeImage(root.filePath(QStringLiteral("Book/") + chapter + page), 20, 30,
                               Qt::red));
    }
    QVERIFY(
        writeFile(root.filePath("Old.cbr"),
                  storedRar5({{"2.png", contentOf(root.filePath("Book/Vol/Ch 2/b.png"))},
                              {"1.png", contentOf(root.filePath("Book/Vol/Ch 2/a.png"))},
                              {"ComicInfo.xml", "<ComicInfo><Genre>Noir</Genre></ComicInfo>"}})));

    Run run = cli({"--chapters", "--list", "Book"}, root.path());
    QCOMPARE(run.out, QStringLiteral("Vol/Ch 2/a.png\nVol/Ch 2/b.png\nVol/Ch 10/a.png\n"
                                     "Vol/Ch 10/b.png\n"));
    run = cli({"--chapters", "--comic-info", "Book"}, root.path());
    QCOMPARE(run.status, 0);
    QVERIFY(unzipTest(root.filePath("Book.cbz")));
    const QList<QByteArray> book = archiveData(root.filePath("Book.cbz"));
    QCOMPARE(book.size(), 5);
    QVERIFY2(book.last().contains("Image=\"0\" Type=\"FrontCover\" ImageSize=\"") &&
                 book.last().contains("Bookmark=\"Vol/Ch 2\"") &&
                 book.last().contains("Bookmark=\"Vol/Ch 10\""),
             book.last().constData());

    // Repacked beside itself, never over itself, its ComicInfo.xml kept.
    run = cli({"Old.cbr"}, root.path());
    QCOMPARE(run.status, 0);
    QVERIFY(!QFileInfo::exists(root.filePath("Old (1).cbz")));
    const QList<QByteArray> repacked = archiveData(root.filePath("Old.cbz"));
    QCOMPARE(repacked.size(), 3);
    QVERIFY(repacked.last().contains("<Genre>Noir</Genre>"));
    QCOMPARE(jpegSize(repacked.first()), QSize(20, 30));
    run = cli({"Old.cbz"}, root.path());
    QCOMPARE(run.status, 0);
    QCOMPARE(archiveData(root.filePath("Old (1).cbz")).size(), 3);
}

void tst_CliRunner::windowPrintsWithoutADisplay_data()
{
    QTest::addColumn<QString>("option");
    QTest::addColumn<QString>("printed");
    QTest::newRow("--help") << "--help"
                            << "[FOLDER]";
    QTest::newRow("--version") << "--version"
                               << "1.5";
}

void tst_CliRunner::windowPrintsWithoutADisplay()
{
    QFETCH(QString, option);
    QFETCH(QString, printed);
    QProcess process;
    process.setProcessEnvironment(withoutDisplay());
    process.start(QStringLiteral(QUIREVALE_APP), {option});
    QVERIFY(process.waitForFinished(20000));
    QCOMPARE(process.exitStatus(), QProcess::NormalExit);
    QCOMPARE(process.exitCode(), 0);
    QVERIFY(QString::fromUtf8(process.readAllStandardOutput()).contains(printed));
}

// A shelf ends with what was made of it: books, pages, failures and books
// made without some of their files.
void tst_CliRunner::shelfIsTallied()
{
    makeFolder("A", 3);
    makeFolder("B", 2);
    QVERIFY(QFile::link("p1.png", m_root->filePath("B/p9.png"))); // named, left out
    QVERIFY(QDir(m_root->path()).mkpath("C"));
    const Run run = cli({"-o", "out/", "A", "B", "C"}, m_root->path());
    QCOMPARE(run.status, 1);
    const QStringList lines = run.err.trimmed().split('\n');
    QVERIFY2(lines.last().startsWith(
                 "2 of 3 books made (5 pages), 1 failed, 1 made with files left out; 0:0"),
             qPrintable(run.err));
    // One book says nothing of a shelf.
    QVERIFY(!cli({"-o", "one.cbz", "A"}, m_root->path()).err.contains("books made"));

    // Run again once C has pages: only C is made, A and B are said to be
    // skipped, and nothing failed.
    makeFolder("C", 1);
    const QDateTime madeBefore = QFileInfo(m_root->filePath("out/A.cbz")).lastModified();
    const Run again = cli({"--skip-existing", "-o", "out/", "A", "B", "C"}, m_root->path());
    QCOMPARE(again.status, 0);
    QVERIFY2(again.err.contains("A: skipped: ") && again.err.contains("B: skipped: "),
             qPrintable(again.err));
    QVERIFY2(again.err.trimmed().split('\n').last().startsWith(
                 "1 of 3 books made (1 pages), 2 skipped as their archives exist, 0 failed"),
             qPrintable(again.err));
    QVERIFY(QFileInfo::exists(m_root->filePath("out/C.cbz")));
    QCOMPARE(QFileInfo(m_root->filePath("out/A.cbz")).lastModified(), madeBefore);
    QCOMPARE(cli({"--skip-existing", "--force", "A"}, m_root->path()).status, 2);
}

void tst_CliRunner::readingDirectionOrdersTheHalves_data()
{
    QTest::addColumn<QString>("manga"); // the source's Manga field; empty: no ComicInfo.xml
    QTest::addColumn<QStringList>("flags");
    QTest::addColumn<bool>("rightFirst");
    QTest::addColumn<QString>("written"); // Manga in the archive made; empty: none written
    QTest::addColumn<QString>("kind");
    struct Row
    {
        const char *name;
        QString manga;
        QStringList flags;
        bool rightFirst;
        QString written;
    };
    // One direction the book is made with: the half read first, its Manga
    // and an EPUB's progression all say it.
    const QList<Row> rows = {
        {"nothing said", {}, {}, true, {}},
        {"nothing said, ComicInfo.xml asked for", {}, {"--comic-info"}, true, "YesAndRightToLeft"},
        {"nothing said, the left half chosen",
         {},
         {"--comic-info", "--first-page", "left"},
         false,
         "No"},
        {"source: No", "No", {}, false, "No"},
        {"source: right to left", "YesAndRightToLeft", {}, true, "YesAndRightToLeft"},
        {"source: manga, direction unsaid", "Yes", {}, true, "YesAndRightToLeft"},
        {"--left-to-right", {}, {"--left-to-right"}, false, "No"},
        {"--right-to-left over No", "No", {"--right-to-left"}, true, "YesAndRightToLeft"},
        {"--left-to-right over right to left",
         "YesAndRightToLeft",
         {"--left-to-right"},
         false,
         "No"},
        {"--first-page left over right to left",
         "YesAndRightToLeft",
         {"--first-page", "left"},
         false,
         "No"},
        {"--first-page right over --left-to-right",
         {},
         {"--left-to-right", "--first-page", "right"},
         true,
         "YesAndRightToLeft"},
    };
    for (const Row &row : rows) {
        for (const char *kind : {"cbz", "epub"})
            QTest::addRow("%s, %s", row.name, kind)
                << row.manga << row.flags << row.rightFirst << row.written << QString(kind);
    }
}

// A spread whose left half is red and right half blue, cut in two: the
// first entry is the half read first, and what the book says of its
// direction is the same.
void tst_CliRunner::readingDirectionOrdersTheHalves()
{
    QFETCH(QString, manga);
    QFETCH(QStringList, flags);
    QFETCH(bool, rightFirst);
    QFETCH(QString, written);
    QFETCH(QString, kind);
    QImage spread(200, 100, QImage::Format_RGB32);
    spread.fill(Qt::red);
    QPainter(&spread).fillRect(100, 0, 100, 100, Qt::blue);
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    spread.save(&buffer, "PNG");
    QList<ZipEntry> entries{{"spread.png", png}};
    if (!manga.isEmpty())
        entries.append(
            {"ComicInfo.xml", "<ComicInfo><Manga>" + manga.toUtf8() + "</Manga></ComicInfo>"});
    const QDir root(m_root->path());
    QVERIFY(writeFile(root.filePath("Spread.cbz"), storedZip(entries)));

    const QString made = root.filePath("Made." + kind);
    const Run run =
        cli(QStringList{"--split", "50", "--kind", kind, "-o", made, "Spread.cbz"} + flags,
            root.path());
    QCOMPARE(run.status, 0);
    // Every run that cuts pages says which half came first.
    QVERIFY2(run.err.contains(rightFirst ? "the right half of each cut page came first"
                                         : "the left half of each cut page came first"),
             qPrintable(run.err));
    bool ok = false;
    const QList<ArchiveEntry> read = readArchive(made, &ok);
    QVERIFY(ok);
    QByteArray first, described;
    for (const ArchiveEntry &entry : read) {
        if (first.isEmpty() && entry.name.endsWith(".jpg"))
            first = entry.data;
        if (entry.name == "ComicInfo.xml" || entry.name.endsWith(".opf"))
            described = entry.data;
    }
    QVERIFY(
        colorNear(QImage::fromData(first).pixelColor(50, 50), rightFirst ? Qt::blue : Qt::red, 12));
    if (kind == "epub") {
        const QByteArray progression = rightFirst ? "rtl" : "ltr";
        QVERIFY2(described.contains("page-progression-direction=\"" + progression + "\""),
                 described.constData());
    } else if (written.isEmpty()) {
        QVERIFY(described.isEmpty()); // nothing asked for ComicInfo.xml
    } else {
        QVERIFY2(described.contains("<Manga>" + written.toUtf8() + "</Manga>"),
                 described.constData());
    }
}

void tst_CliRunner::listSaysWhatTheArchiveHolds_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QString>("pages"); // the pages' own treatments; none when empty
    QTest::newRow("nothing asked") << QStringList() << QString();
    QTest::newRow("spreads cut, left first")
        << QStringList{"--split-only-wide", "--first-page", "left"} << QString();
    QTest::newRow("bordered and fitted")
        << QStringList{"--border", "6", "--fit", "100x100"} << QString();
    QTest::newRow("exactly resized") << QStringList{"--resize", "100x150"} << QString();
    QTest::newRow("margins trimmed and cut")
        << QStringList{"--trim-margins", "--split", "40"} << QString();
    QTest::newRow("kept as they are") << QStringList{"--keep-jpeg"} << QString();
    QTest::newRow("kept unless cut")
        << QStringList{"--keep-jpeg", "--split-only-wide"} << QString();
    QTest::newRow("cut on their blocks")
        << QStringList{"--lossless-cuts", "--border", "5"} << QString();
    QTest::newRow("cut on their blocks unless trimmed")
        << QStringList{"--lossless-cuts", "--trim-margins"} << QString();
    QTest::newRow("halves in WebP")
        << QStringList{"--format", "webp", "--split", "50"} << QString();
    QTest::newRow("grey where there is no colour, halves each their own")
        << QStringList{"--grey", "auto", "--split-only-wide"} << QString();
    QTest::newRow("every page grey, cut on the blocks")
        << QStringList{"--grey", "all", "--lossless-cuts", "--split-only-wide"} << QString();
    QTest::newRow("own borders, turns and cuts")
        << QStringList{"--trim-margins"}
        << QStringLiteral("a.jpg\tborder 2 4 30 8 nocut\nb.png\trotate 90 cut\n"
                          "d.png\tborder 20 1 1 1\n");
    QTest::newRow("own treatments, cut on the blocks, grey by pixels")
        << QStringList{"--lossless-cuts", "--grey", "auto", "--split-only-wide"}
        << QStringLiteral("c.jpg\trotate 180 cut\nd.png\tnocut\n");
}

// For each page, the entries --list announces (their type, size and
// whether they are grey) are the entries the archive holds.
void tst_CliRunner::listSaysWhatTheArchiveHolds()
{
    QFETCH(QStringList, options);
    QFETCH(QString, pages);
    const QDir root(m_root->path());
    QVERIFY(root.mkdir("R"));
    // A spread, a page with paper margins, a photo turned by its camera, and
    // a spread whose left half alone has colour.
    QVERIFY(noiseImage(240, 160).save(root.filePath("R/a.jpg"), "JPEG", 90));
    QImage margins(120, 180, QImage::Format_RGB32);
    margins.fill(Qt::white);
    QPainter(&margins).drawImage(15, 20, noiseImage(90, 140));
    QVERIFY(margins.save(root.filePath("R/b.png")));
    QVERIFY(writeFile(root.filePath("R/c.jpg"), jpegWithOrientation(noiseImage(120, 90), 6)));
    QImage halfColour = noiseImage(200, 120)
                            .convertToFormat(QImage::Format_Grayscale8)
                            .convertToFormat(QImage::Format_RGB32);
    QPainter(&halfColour).fillRect(10, 10, 60, 60, Qt::red);
    QVERIFY(halfColour.save(root.filePath("R/d.png")));
    const QHash<QString, QSize> shown = {
        {"a.jpg", {240, 160}}, {"b.png", {120, 180}}, {"c.jpg", {90, 120}}, {"d.png", {200, 120}}};
    const QString format = options.contains("webp") ? "webp" : "jpg";
    if (!pages.isEmpty()) {
        QVERIFY(writeFile(root.filePath("pages.txt"), pages.toUtf8()));
        options << "--pages" << root.filePath("pages.txt");
    }

    const Run list = cli(QStringList{"--list"} + options + QStringList{"R"}, root.path());
    QCOMPARE(list.status, 0);
    QStringList said;
    for (const QString &line : list.out.split('\n', Qt::SkipEmptyParts)) {
        const QString name = line.section(':', 0, 0);
        QVERIFY2(shown.contains(name), qPrintable(line));
        const QString ownSize =
            QStringLiteral("%1x%2").arg(shown[name].width()).arg(shown[name].height());
        if (!line.contains(':')) {
            said << format + ' ' + ownSize;
        } else if (line.endsWith(": grey")) {
            said << format + ' ' + ownSize + " grey";
        } else if (line.endsWith(": kept as it is")) {
            said << QFileInfo(name).suffix() + ' ' + ownSize;
        } else {
            QVERIFY2(line.contains(" → "), qPrintable(line));
            const QString type = line.contains("cut on its blocks") ? "jpg" : format;
            for (QString size : line.section(" → ", 1).split(" + "))
                said << type + ' ' +
                            size.remove(' ')
                                .replace(QStringLiteral("×"), "x")
                                .replace("grey", " grey");
        }
    }

    const Run made = cli(options + QStringList{"-o", "R.cbz", "R"}, root.path());
    QCOMPARE(made.status, 0);
    bool ok = false;
    QStringList held;
    for (const ArchiveEntry &entry : readArchive(root.filePath("R.cbz"), &ok)) {
        // As a reader shows it: turned as its camera said.
        QBuffer data(const_cast<QByteArray *>(&entry.data));
        QImageReader reader(&data);
        reader.setAutoTransform(true);
        const QImage picture = reader.read();
        const QString suffix = QFileInfo(entry.name).suffix();
        // A JPEG written in grey holds one channel.
        const bool grey = suffix == "jpg" && picture.format() == QImage::Format_Grayscale8;
        held << QStringLiteral("%1 %2x%3%4")
                    .arg(suffix)
                    .arg(picture.width())
                    .arg(picture.height())
                    .arg(grey ? " grey" : "");
    }
    QVERIFY(ok);
    QCOMPARE(said, held);
}

// A scanner's TIFF of a page and a spread: --list announces the blank the
// build puts before the spread.
void tst_CliRunner::facingBlanksOfAFileOfManyPictures()
{
    const QDir root(m_root->path());
    QVERIFY(root.mkdir("F"));
    QVERIFY(noiseImage(100, 150).save(root.filePath("F/1.png")));
    QVERIFY(writeFile(root.filePath("F/2.tif"),
                      multiPageTiff({noiseImage(100, 150), noiseImage(200, 150)})));
    const Run list = cli({"--list", "--facing-spreads", "F"}, root.path());
    QCOMPARE(list.status, 0);
    QVERIFY2(list.out.contains("2.tif: a blank page goes before it"), qPrintable(list.out));
    const Run made = cli({"--facing-spreads", "-o", "F.cbz", "F"}, root.path());
    QCOMPARE(made.status, 0);
    QCOMPARE(archiveData(root.filePath("F.cbz")).size(), 4); // cover, page, blank, spread
}

// --list says which half of a cut page comes first, and which pages are
// written in grey, as the build decides them.
void tst_CliRunner::listSaysDirectionAndGrey()
{
    const QDir root(m_root->path());
    QVERIFY(root.mkdir("G"));
    QVERIFY(noiseImage(300, 200).save(root.filePath("G/1.png")));
    QVERIFY(noiseImage(100, 150)
                .convertToFormat(QImage::Format_Grayscale8)
                .save(root.filePath("G/2.png")));
    const Run list =
        cli({"--list", "--split-only-wide", "--right-to-left", "--grey", "auto", "G"}, root.path());
    QCOMPARE(list.status, 0);
    QVERIFY2(list.err.contains("the right half of a cut page comes first"), qPrintable(list.err));
    QVERIFY2(!list.out.contains("1.png: ") ||
                 !list.out.section("1.png", 1).section('\n', 0, 0).contains("grey"),
             qPrintable(list.out));
    QVERIFY2(list.out.contains("2.png: grey"), qPrintable(list.out));
    const Run left = cli({"--list", "--split-only-wide", "--left-to-right", "G"}, root.path());
    QVERIFY2(left.err.contains("the left half of a cut page comes first"), qPrintable(left.err));
}

// For an EPUB, --list names each entry's picture and its side of a pair as
// the book's spine has them.
// A CBZ made into an EPUB, and that EPUB made back into a CBZ: the same
// pages, byte for byte, when pages are kept as they are, and the same
// information and chapters.
void tst_CliRunner::epubMadeBackIntoACbz()
{
    const QDir root(m_root->path());
    for (const char *chapter : {"R/Ch 1", "R/Ch 2"}) {
        QVERIFY(root.mkpath(chapter));
        for (int i = 1; i <= 2; ++i)
            QVERIFY(noiseImage(90 + i, 130)
                        .save(root.filePath(QStringLiteral("%1/%2.jpg").arg(chapter).arg(i)), "jpg",
                              80));
    }
    const QStringList keep{"--keep-jpeg", "--comic-info"};
    QCOMPARE(cli(keep + QStringList{"--chapters", "--title",         "Tom & Jerry", "--series",
                                    "Saga",       "--number",        "4",           "--writer",
                                    "Ann",        "--artist",        "Bo",          "--publisher",
                                    "Ostrelind",  "--language",      "it",          "--year",
                                    "2019",       "--right-to-left", "R",           "-o",
                                    "first.cbz"},
                 root.path())
                 .status,
             0);
    QCOMPARE(
        cli(keep + QStringList{"--kind", "epub", "first.cbz", "-o", "middle.epub"}, root.path())
            .status,
        0);
    const Run back = cli(keep + QStringList{"middle.epub", "-o", "last.cbz"}, root.path());
    QVERIFY2(back.status == 0, qPrintable(back.err));
    bool ok = false;
    const QList<ArchiveEntry> first = readArchive(root.filePath("first.cbz"), &ok);
    QVERIFY(ok);
    const QList<ArchiveEntry> last = readArchive(root.filePath("last.cbz"), &ok);
    QVERIFY(ok);
    QCOMPARE(last.size(), first.size());
    for (int i = 0; i + 1 < first.size(); ++i)
        QVERIFY2(first.at(i).data == last.at(i).data, qPrintable(first.at(i).name));
    QCOMPARE(last.last().name, QStringLiteral("ComicInfo.xml"));
    // Each document with its page sizes, which differ only where the
    // documents say the same: compared field by field.
    const ComicInfo was = ComicInfo::fromXml(first.last().data);
    const ComicInfo is = ComicInfo::fromXml(last.last().data);
    for (const auto &field :
         {qMakePair(was.title, is.title), qMakePair(was.series, is.series),
          qMakePair(was.number, is.number), qMakePair(was.writer, is.writer),
          qMakePair(was.penciller, is.penciller), qMakePair(was.publisher, is.publisher),
          qMakePair(was.languageIso, is.languageIso)})
        QCOMPARE(field.second, field.first);
    QCOMPARE(is.year, 2019);
    QCOMPARE(is.direction, ComicInfo::RightToLeft);
    QCOMPARE(QString(last.last().data).count("Bookmark="), 2);
    QCOMPARE(QString(last.last().data).section("<Pages>", 1),
             QString(first.last().data).section("<Pages>", 1));
}

// A shelf through the window's queue panel: each book the same archive,
// entry by entry, as the command line makes of the same source with the
// same options; a book that fails says why on its row, the others are
// made.
void tst_CliRunner::queueMakesWhatTheCommandLineMakes()
{
    const QDir root(m_root->path());
    makeFolder("Shelf/A", 3);
    makeFolder("Shelf/Deeper/B", 2);
    makeFolder("Shelf/Bad", 2);
    QVERIFY(writeFile(root.filePath("Shelf/Bad/p9.png"), "not a picture"));
    makeFolder("C", 2);
    QCOMPARE(cli({"C", "-o", "Shelf/C.cbz"}, root.path()).status, 0);
    const QStringList books{"Shelf/A", "Shelf/Deeper/B", "Shelf/Bad", "Shelf/C.cbz"};
    // The options the command line starts from: what earlier windows left is forgotten.
    clearSettings();
    Quirevale window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QStringList sources;
    for (const QString &book : books)
        sources << root.filePath(book);
    window.addToQueue(sources);
    auto *dock = window.findChild<QDockWidget *>("QueueDock");
    QVERIFY(dock && dock->isVisible());
    auto *view = window.findChild<QAbstractItemView *>("QueueView");
    QAbstractItemModel *model = view->model();
    QCOMPARE(model->rowCount(), 4);
    const auto state = [&](int row) {
        return model->index(row, QueueModel::StateColumn).data().toString();
    };
    window.findChild<QAction *>("actionStartQueue")->trigger();
    QTRY_VERIFY_WITH_TIMEOUT(!state(3).startsWith("Waiting") && !state(3).startsWith("Making"),
                             60000);
    QVERIFY2(state(2).startsWith("Failed") && state(2).contains("p9.png"), qPrintable(state(2)));
    const QStringList made{"Shelf/A.cbz", "Shelf/Deeper/B.cbz", "", "Shelf/C (1).cbz"};
    for (int row : {0, 1, 3}) {
        QVERIFY2(state(row).startsWith("Made"), qPrintable(state(row)));
        QCOMPARE(model->index(row, QueueModel::ArchiveColumn).data().toString(),
                 QFileInfo(made.at(row)).fileName());
        QVERIFY(model->index(row, QueueModel::ArchiveColumn)
                    .data(Qt::ToolTipRole)
                    .toString()
                    .contains(QDir::toNativeSeparators(root.filePath(made.at(row)))));
        const QString mine = "cli/" + made.at(row);
        QVERIFY(root.mkpath(QFileInfo(mine).path()));
        QCOMPARE(cli({books.at(row), "-o", mine}, root.path()).status, 0);
        bool ok = false;
        const QList<ArchiveEntry> queued = readArchive(root.filePath(made.at(row)), &ok);
        QVERIFY(ok);
        const QList<ArchiveEntry> command = readArchive(root.filePath(mine), &ok);
        QVERIFY(ok);
        QCOMPARE(queued.size(), command.size());
        for (int i = 0; i < queued.size(); ++i) {
            QCOMPARE(queued.at(i).name, command.at(i).name);
            QCOMPARE(queued.at(i).method, command.at(i).method);
            QVERIFY2(queued.at(i).data == command.at(i).data, qPrintable(queued.at(i).name));
        }
    }
    QVERIFY(!QFileInfo::exists(root.filePath("Shelf/Bad.cbz")));
}

void tst_CliRunner::queueTellsWhatTheCommandLineTells_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QStringList>("flags");
    QTest::addColumn<QString>("note");
    QTest::newRow("a long strip") << "strip" << QStringList{"--strip", "400"}
                                  << "its long strip of 3 pages is cut into";
    QTest::newRow("an animation's first frame")
        << "animation" << QStringList{"--every-type", "--skip-unreadable"}
        << "only the first of its 3 frames is used";
    QTest::newRow("a blank page left out")
        << "blank" << QStringList{"--drop-blank"} << "left out: it is blank";
}

// What became of a book's pages, said by the command line, is said by the
// queue's row and its whole story too: both run the same book job.
void tst_CliRunner::queueTellsWhatTheCommandLineTells()
{
    QFETCH(QString, kind);
    QFETCH(QStringList, flags);
    QFETCH(QString, note);
    const QDir root(m_root->path());
    QVERIFY(root.mkpath("Book"));
    BookOptions options;
    if (kind == "strip") {
        for (int tile = 0; tile < 3; ++tile)
            QVERIFY(drawWebtoonTile(7, 200, 900, tile)
                        .save(root.filePath(QStringLiteral("Book/%1.png").arg(tile))));
        options.pages.CutLongStrips = true;
        options.pages.StripHeight = 400;
    } else if (kind == "animation") {
        QVERIFY(noiseImage(60, 80).save(root.filePath("Book/1.png")));
        QVERIFY(writeFile(root.filePath("Book/2.gif"), gif(3, 60, 80)));
        options.everyPictureType = true;
    } else {
        QVERIFY(noiseImage(60, 80).save(root.filePath("Book/1.png")));
        QImage white(60, 80, QImage::Format_RGB32);
        white.fill(Qt::white);
        QVERIFY(white.save(root.filePath("Book/2.png")));
        options.pages.ScanLeaveOutBlank = true;
    }
    const Run command = cli(flags + QStringList{"-o", "cli.cbz", "Book"}, root.path());
    QCOMPARE(command.status, 0);
    QVERIFY2(command.err.contains(note), qPrintable(command.err));

    clearSettings();
    Quirevale window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QueuedBook book;
    book.sources = QStringList{root.filePath("Book")};
    book.options = options;
    window.findChild<QueueDock *>()->addBook(book);
    auto *view = window.findChild<QAbstractItemView *>("QueueView");
    const auto state = [view] {
        return view->model()->index(0, QueueModel::StateColumn).data().toString();
    };
    window.findChild<QAction *>("actionStartQueue")->trigger();
    QTRY_VERIFY_WITH_TIMEOUT(!state().startsWith("Waiting") && !state().startsWith("Making"),
                             60000);
    QVERIFY2(state().startsWith("Made") && state().contains(note), qPrintable(state()));
    // The story under the list names the page, as the command line does.
    view->setCurrentIndex(view->model()->index(0, QueueModel::StateColumn));
    const QString story = window.findChild<QLabel *>("QueueDetails")->text();
    for (const QString &line : command.err.split('\n')) {
        if (!line.contains(note))
            continue;
        const QString said = line.section(": ", 1); // after the program's name
        QVERIFY2(story.contains(said), qPrintable(story + "\n" + said));
    }
}

void tst_CliRunner::stopEndsTheListing_data()
{
    QTest::addColumn<QString>("source");
    QTest::addColumn<bool>("queued");
    for (const char *source : {"Long.cbz", "Long.pdf"}) {
        QTest::addRow("the window lists %s", source) << source << false;
        QTest::addRow("the queue lists %s", source) << source << true;
    }
}

// A stop while a large archive or PDF is listed ends the listing there,
// not once it has run its course: the listing is held at its first report
// until the stop has been given.
void tst_CliRunner::stopEndsTheListing()
{
    QFETCH(QString, source);
    QFETCH(bool, queued);
    constexpr int Entries = 3000;
    const QString path = m_root->filePath(source);
    if (source.endsWith(".pdf")) {
        // Written by hand: a painter's 3,000 pages took a minute under the
        // sanitizers on a loaded machine, the test's whole time.
        QVERIFY(writeFile(path, blankPdf(Entries)));
    } else {
        QList<ZipEntry> entries;
        for (int i = 0; i < Entries; ++i)
            entries.append({QByteArray::number(i) + ".png", "x"});
        QVERIFY(writeFile(path, storedZip(entries)));
    }
    clearSettings();
    // Declared before the window: its listing may still see them as it ends.
    QSemaphore reached, go;
    std::atomic_int furthest{0};
    Quirevale window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    const auto hold = [&](int seen) {
        furthest = qMax(furthest.load(), seen);
        if (seen == 0) {
            reached.release();
            go.acquire();
        }
    };
    auto *view = window.findChild<QAbstractItemView *>("QueueView");
    if (queued) {
        window.findChild<QueueRunner *>()->setListingObserver(hold);
        window.addToQueue({path});
        window.findChild<QAction *>("actionStartQueue")->trigger();
    } else {
        window.findChild<BookSources *>()->setListingObserver(hold);
        window.openFromOutside(path);
    }
    // Whatever happens below, the listing is let go before the window ends,
    // or its end would wait for ever on a held listing.
    const auto letGo = qScopeGuard([&] { go.release(100); });
    // Opening a PDF of 3,000 pages under the sanitizers on a loaded machine
    // takes its time.
    QTRY_COMPARE_WITH_TIMEOUT(reached.available(), 1, 120000);
    {
        // The queue asks whether it stops too.
        MessageBoxAnswerer boxes;
        boxes.pressButton(QStringLiteral("&Yes"));
        if (queued)
            window.findChild<QAction *>("actionStopQueue")->trigger();
        else
            window.findChild<QPushButton *>("CancelBuild")->click();
        go.release();
        if (queued)
            QTRY_VERIFY(view->model()
                            ->index(0, QueueModel::StateColumn)
                            .data()
                            .toString()
                            .startsWith("Stopped"));
        else
            QTRY_VERIFY(!window.findChild<QPushButton *>("CancelBuild")->isVisible());
    }
    QVERIFY2(furthest < Entries - 256, qPrintable(QString::number(furthest)));
    // The list is as it was; nothing was made.
    QCOMPARE(window.findChild<QListWidget *>("ImagesList")->count(), 0);
    QVERIFY(QDir(m_root->path()).entryList({"*.cbz"}).size() == (source.endsWith(".cbz") ? 1 : 0));
}

// Add Books to Queue takes folders and book files together, whichever is
// selected first.
void tst_CliRunner::severalBooksAddedAtOnce()
{
    const QDir root(m_root->path());
    makeFolder("Shelf/A", 1);
    makeFolder("Shelf/B", 1);
    QCOMPARE(cli({"Shelf/A", "-o", "Shelf/C.cbz"}, root.path()).status, 0);
    clearSettings();
    Quirevale window;
    auto *view = window.findChild<QAbstractItemView *>("QueueView");
    const int before = view->model()->rowCount();
    bool picked = false;
    QTimer::singleShot(0, &window, [&] {
        auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        dialog->setDirectory(root.filePath("Shelf"));
        auto *files = dialog->findChild<QFileSystemModel *>();
        auto *list = dialog->findChild<QListView *>("listView");
        for (const char *name : {"C.cbz", "A", "B"})
            list->selectionModel()->select(files->index(root.filePath("Shelf/") + name),
                                           QItemSelectionModel::Select | QItemSelectionModel::Rows);
        picked = true;
        QMetaObject::invokeMethod(dialog, "accept");
        if (dialog->isVisible()) // not taken: the test fails rather than waits
            dialog->reject();
    });
    window.findChild<QAction *>("actionAddToQueue")->trigger();
    QVERIFY(picked);
    QStringList names;
    for (int row = before; row < view->model()->rowCount(); ++row)
        names << view->model()->index(row, 0).data().toString();
    names.sort();
    QCOMPARE(names, QStringList({"A", "B", "C"}));
}

// Add This Book queues the book on show as its list has it: the checked
// pages in their order, each with its own treatment.
void tst_CliRunner::addThisBookTakesTheListAsShown()
{
    makeFolder("Shown", 3);
    clearSettings();
    Quirevale window;
    window.openFromOutside(m_root->filePath("Shown"));
    auto *list = window.findChild<QListWidget *>("ImagesList");
    QTRY_COMPARE(list->count(), 3);
    list->item(1)->setCheckState(Qt::Unchecked);
    PageTreatment turned;
    turned.rotation = 90;
    PageRow::setTreatment(list->item(0), turned);
    auto *view = window.findChild<QAbstractItemView *>("QueueView");
    const int row = view->model()->rowCount();
    window.findChild<QPushButton *>("AddThisBook")->click();
    QCOMPARE(view->model()->rowCount(), row + 1);
    QVERIFY(view->model()
                ->index(row, 0)
                .data(Qt::ToolTipRole)
                .toString()
                .contains("2 pages, as the list showed them"));
    window.findChild<QAction *>("actionStartQueue")->trigger();
    QTRY_VERIFY_WITH_TIMEOUT(
        view->model()->index(row, QueueModel::StateColumn).data().toString().startsWith("Made"),
        30000);
    bool ok = false;
    const QList<ArchiveEntry> entries = readArchive(m_root->filePath("Shown.cbz"), &ok);
    QVERIFY(ok);
    QCOMPARE(entries.size(), 2);
    QImage first;
    QVERIFY(first.loadFromData(entries.first().data));
    QCOMPARE(first.size(), QSize(120, 91)); // p1.png, 91 × 120, turned
}

namespace {
QByteArray jpegBytes(int width, int height)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    noiseImage(width, height).save(&buffer, "jpg", 80);
    return bytes;
}

QByteArray comicInfoFor(int pages, const QByteArray &more = QByteArray())
{
    return "<?xml version=\"1.0\"?>\n<ComicInfo><Title>T</Title>" + more + "<PageCount>" +
           QByteArray::number(pages) + "</PageCount></ComicInfo>";
}
} // namespace

void tst_CliRunner::checkNamesWhatReadersTripOn_data()
{
    QTest::addColumn<QByteArray>("book");
    QTest::addColumn<QString>("said"); // in the finding; empty: clean
    QTest::addColumn<int>("kind");     // the finding's kind; -1: clean
    const QByteArray page = jpegBytes(40, 60);
    QByteArray webp;
    QBuffer buffer(&webp);
    buffer.open(QIODevice::WriteOnly);
    noiseImage(40, 60).save(&buffer, "webp");
    const auto book = [&](QList<ZipEntry> pages, const QByteArray &info) {
        if (!info.isNull())
            pages.append({"ComicInfo.xml", info});
        return storedZip(pages);
    };
    QTest::newRow("clean") << book({{"1.jpg", page}, {"2.jpg", page}}, comicInfoFor(2)) << ""
                           << int(-1);
    QTest::newRow("10 before 2") << book({{"1.jpg", page}, {"2.jpg", page}, {"10.jpg", page}},
                                         comicInfoFor(3))
                                 << "10.jpg before 2.jpg" << int(BookCheck::Finding::PageOrder);
    QTest::newRow("sub-folders") << book({{"Ch/1.jpg", page}, {"Ch/2.jpg", page}}, comicInfoFor(2))
                                 << "in sub-folders" << int(BookCheck::Finding::SubFolders);
    QTest::newRow("WebP") << book({{"1.jpg", page}, {"2.webp", webp}}, comicInfoFor(2))
                          << "are WebP" << int(BookCheck::Finding::PictureKind);
    QTest::newRow("a damaged page")
        << book({{"1.jpg", page}, {"2.jpg", page.left(page.size() / 2)}}, comicInfoFor(2))
        << "2.jpg" << int(BookCheck::Finding::DamagedPage);
    QTest::newRow("no ComicInfo") << book({{"1.jpg", page}}, QByteArray()) << "no ComicInfo.xml"
                                  << int(BookCheck::Finding::ComicInfo);
    QTest::newRow("ComicInfo off the schema")
        << book({{"1.jpg", page}}, comicInfoFor(1, "<Colour>red</Colour>")) << "Colour"
        << int(BookCheck::Finding::ComicInfo);
    QTest::newRow("Manga Yes") << book({{"1.jpg", page}}, comicInfoFor(1, "<Manga>Yes</Manga>"))
                               << "YesAndRightToLeft" << int(BookCheck::Finding::Manga);
    QTest::newRow("a page count that disagrees")
        << book({{"1.jpg", page}}, comicInfoFor(4)) << "counts 4 pages"
        << int(BookCheck::Finding::PageCount);
    QTest::newRow("Deflate64") << book({{"1.jpg", page},
                                        {"2.jpg", page, 0, false, -1, false, {}, 9}},
                                       comicInfoFor(2))
                               << "Deflate64" << int(BookCheck::Finding::Method);
    QTest::newRow("encrypted") << book({{"1.jpg", page}, {"2.jpg", page, 0, true}}, comicInfoFor(2))
                               << "encrypted" << int(BookCheck::Finding::Encrypted);
    QTest::newRow("a name that is not text")
        << book({{"1.jpg", page}, {"\xff\xfe.jpg", page}}, comicInfoFor(2)) << "not valid text"
        << int(BookCheck::Finding::NameEncoding);
    QTest::newRow("two pages of one name")
        << book({{"1.jpg", page}, {"1.jpg", jpegBytes(60, 40)}}, comicInfoFor(2))
        << "more than one entry" << int(BookCheck::Finding::SameName);
    QTest::newRow("empty") << QByteArray() << "empty" << int(BookCheck::Finding::Unreadable);
}

// One seeded fault a book, each named with what to do; the clean one
// passes. --fix makes a copy that passes, beside the book, never over it.
void tst_CliRunner::checkNamesWhatReadersTripOn()
{
    QFETCH(QByteArray, book);
    QFETCH(QString, said);
    QFETCH(int, kind);
    const QDir root(m_root->path());
    QVERIFY(writeFile(root.filePath("Book.cbz"), book));
    {
        // Told by value, whatever language its sentences are in.
        QTranslator italian;
        QVERIFY(italian.load(QStringLiteral(":/Translations/quirevale_it")));
        QCoreApplication::installTranslator(&italian);
        QVector<int> kinds;
        const BookCheck check = BookCheck::of(root.filePath("Book.cbz"));
        for (const BookCheck::Finding &finding : check.findings())
            kinds << finding.kind;
        QCoreApplication::removeTranslator(&italian);
        QVERIFY2(kind < 0 ? kinds.isEmpty() : kinds.contains(kind),
                 qPrintable(QStringLiteral("%1 in %2").arg(kind).arg(kinds.size())));
    }
    const Run checked = cli({"--check", "Book.cbz"}, root.path());
    QCOMPARE(checked.status, said.isEmpty() ? 0 : 1);
    QVERIFY2(said.isEmpty() ? checked.out.contains("Book.cbz: clean") : checked.out.contains(said),
             qPrintable(checked.out + checked.err));
    if (said.isEmpty() || book.isEmpty())
        return;
    const Run fixed = cli({"--check", "--fix", "Book.cbz"}, root.path());
    QVERIFY2(fixed.out.contains("clean copy made"), qPrintable(fixed.out + fixed.err));
    QCOMPARE(contentOf(root.filePath("Book.cbz")), book);
    const Run again = cli({"--check", "Book (fixed).cbz"}, root.path());
    QVERIFY2(again.status == 0, qPrintable(again.out + again.err));
}

void tst_CliRunner::checkNamesWhatKindOfBookItIs_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("format"); // as bsdtar writes it; empty: a ZIP of our own
    QTest::addColumn<QString>("said");
    QTest::newRow("a CB7") << "Book.cb7"
                           << "7zip"
                           << "It is a 7z archive";
    QTest::newRow("a CBT") << "Book.cbt"
                           << "ustar"
                           << "It is a tar archive";
    QTest::newRow("a ZIP named .cbr") << "Book.cbr"
                                      << ""
                                      << "It is a ZIP archive, whatever";
    QTest::newRow("a 7z named .cbz") << "Book.cbz"
                                     << "7zip"
                                     << "It is a 7z archive, whatever";
}

// What readers trip on before any page: a kind few of them open, a name
// that says another kind. --fix makes a CBZ of each, which is clean.
void tst_CliRunner::checkNamesWhatKindOfBookItIs()
{
    QFETCH(QString, name);
    QFETCH(QString, format);
    QFETCH(QString, said);
    const QDir root(m_root->path());
    QVERIFY(root.mkdir("pages"));
    for (int i = 1; i <= 2; ++i)
        QVERIFY(writeFile(root.filePath(QStringLiteral("pages/%1.jpg").arg(i)), jpegBytes(40, 60)));
    QVERIFY(writeFile(root.filePath("pages/ComicInfo.xml"), comicInfoFor(2)));
    if (format.isEmpty()) {
        QVERIFY(writeFile(root.filePath(name),
                          storedZip({{"1.jpg", contentOf(root.filePath("pages/1.jpg"))},
                                     {"2.jpg", contentOf(root.filePath("pages/2.jpg"))},
                                     {"ComicInfo.xml", comicInfoFor(2)}})));
    } else {
        QProcess tar;
        tar.start("bsdtar", {"--format", format, "-cf", root.filePath(name), "-C",
                             root.filePath("pages"), "1.jpg", "2.jpg", "ComicInfo.xml"});
        if (!tar.waitForFinished() || tar.exitCode() != 0)
            QSKIP("bsdtar (libarchive-tools) writes 7z and tar archives");
    }
    const Run checked = cli({"--check", "--fix", name}, root.path());
    QCOMPARE(checked.status, 1);
    QVERIFY2(checked.out.contains(said), qPrintable(checked.out));
    QVERIFY2(checked.out.contains("clean copy made"), qPrintable(checked.out + checked.err));
    const Run again = cli({"--check", "Book (fixed).cbz"}, root.path());
    QVERIFY2(again.status == 0, qPrintable(again.out + again.err));
}

// A book whose pages lie in chapter folders: its clean copy has every page
// at the top, each folder's first page marking its chapter.
void tst_CliRunner::cleanCopyKeepsFoldersAsChapters()
{
    const QByteArray page = jpegBytes(40, 60);
    const QDir root(m_root->path());
    QVERIFY(writeFile(root.filePath("Book.cbz"), storedZip({{"Ch 1/1.jpg", page},
                                                            {"Ch 1/2.jpg", page},
                                                            {"Ch 2/1.jpg", page},
                                                            {"ComicInfo.xml", comicInfoFor(3)}})));
    const Run fixed = cli({"--check", "--fix", "Book.cbz"}, root.path());
    QVERIFY2(fixed.out.contains("clean copy made"), qPrintable(fixed.out + fixed.err));
    const QByteArray info = archiveData(root.filePath("Book (fixed).cbz")).last();
    const QRegularExpression marked("<Page Image=\"(\\d+)\"[^>]*Bookmark=\"([^\"]*)\"");
    QStringList marks;
    for (auto match = marked.globalMatch(QString::fromUtf8(info)); match.hasNext();) {
        const auto found = match.next();
        marks << found.captured(1) + ": " + found.captured(2);
    }
    QCOMPARE(marks, QStringList({"0: Ch 1", "2: Ch 2"}));
}

void tst_CliRunner::cleanCopyKeepsTheBooksQuality_data()
{
    QTest::addColumn<int>("quality"); // of the book's own JPEG page; 0: none
    QTest::addColumn<int>("written"); // of the WebP pages written again
    QTest::addColumn<int>("larger");  // than its book, at most
    QTest::newRow("its JPEG pages' quality") << 80 << 80 << 2;
    QTest::newRow("a plain quality without a JPEG page") << 0 << 90 << 3;
}

// WebP pages written again as JPEG take the quality the book's own JPEG
// pages show (at 100 a copy was three times its book), and the copy says
// its size.
void tst_CliRunner::cleanCopyKeepsTheBooksQuality()
{
    QFETCH(int, quality);
    QFETCH(int, written);
    QFETCH(int, larger);
    const QDir root(m_root->path());
    QList<ZipEntry> pages;
    if (quality > 0)
        pages.append({"1.jpg", encoded(drawComicPage(1, QSize(600, 900)), "jpg", quality)});
    for (int i = 2; i <= 4; ++i)
        pages.append({QByteArray::number(i) + ".webp",
                      encoded(drawComicPage(quint32(i), QSize(600, 900)), "webp", 80)});
    QVERIFY(writeFile(root.filePath("Book.cbz"), storedZip(pages)));
    const Run fixed = cli({"--check", "--fix", "Book.cbz"}, root.path());
    QVERIFY2(fixed.out.contains(
                 QRegularExpression("clean copy made: .*Book \\(fixed\\)\\.cbz \\(.*[kM]B")),
             qPrintable(fixed.out + fixed.err));
    const QList<QByteArray> copied = archiveData(root.filePath("Book (fixed).cbz"));
    QCOMPARE(copied.size(), pages.size() + 1); // and its ComicInfo.xml
    for (const QByteArray &page : copied.mid(0, pages.size()))
        QCOMPARE(JpegCheck::frameOf(page).quality, written);
    QVERIFY(QFileInfo(root.filePath("Book (fixed).cbz")).size() <
            larger * QFileInfo(root.filePath("Book.cbz")).size());
}

// A FIFO, an archive of more entries than any book and one whose entry
// claims gigabytes: each named with its reason, none read without end.
void tst_CliRunner::checkIsBoundedOnHostileFiles()
{
    const QDir root(m_root->path());
    QVERIFY(::mkfifo(QFile::encodeName(root.filePath("fifo.cbz")).constData(), 0600) == 0);
    QList<ZipEntry> many;
    for (int i = 0; i < 70000; ++i)
        many.append({QByteArray::number(i) + ".jpg", "x"});
    QVERIFY(writeFile(root.filePath("many.cbz"), storedZip(many)));
    QVERIFY(writeFile(
        root.filePath("bomb.cbz"),
        storedZip({{"1.jpg", jpegBytes(20, 30)}, {"2.jpg", QByteArray(1000, 'x'), 0xfffffff0u}})));
    const Run checked = cli({"--check", "fifo.cbz", "many.cbz", "bomb.cbz"}, root.path());
    QCOMPARE(checked.status, 1);
    QVERIFY2(checked.out.contains("fifo.cbz: It is not a regular file."), qPrintable(checked.out));
    QVERIFY2(checked.out.contains("many.cbz: It cannot be read: It holds more than 65536 entries"),
             qPrintable(checked.out));
    QVERIFY2(checked.out.contains("bomb.cbz: 2.jpg"), qPrintable(checked.out));
}

void tst_CliRunner::listSaysWhatTheEpubHolds()
{
    const QDir root(m_root->path());
    QVERIFY(root.mkdir("E"));
    QVERIFY(noiseImage(100, 150).save(root.filePath("E/1.png")));
    QVERIFY(noiseImage(300, 150).save(root.filePath("E/2.png")));
    QVERIFY(noiseImage(100, 150).save(root.filePath("E/3.png")));
    const QStringList options{"--kind", "epub", "--split-only-wide", "--right-to-left"};
    const Run list = cli(QStringList{"--list"} + options + QStringList{"E"}, root.path());
    QCOMPARE(list.status, 0);
    QStringList said;
    for (const QString &line : list.out.split('\n', Qt::SkipEmptyParts))
        said += line.section("in the EPUB: ", 1).split(" + ");
    const Run made = cli(options + QStringList{"E"}, root.path());
    QCOMPARE(made.status, 0);
    // The tally says which kind was made.
    QVERIFY2(made.err.contains("E.epub: EPUB: 4 entries from 3 pages"), qPrintable(made.err));
    bool ok = false;
    QByteArray opf;
    for (const ArchiveEntry &entry : readArchive(root.filePath("E.epub"), &ok)) {
        if (entry.name == "OEBPS/package.opf")
            opf = entry.data;
    }
    QVERIFY(ok && !opf.isEmpty());
    // Each page's picture, by the page's number, and the spine's sides.
    QStringList held;
    const QRegularExpression itemref("<itemref idref=\"page-(\\d+)\"(?: properties=\"([^\"]+)\")?");
    for (auto match = itemref.globalMatch(QString::fromUtf8(opf)); match.hasNext();) {
        const auto found = match.next();
        const QString file = ZipWriter::entryName(found.captured(1).toInt() - 1);
        held << (found.captured(2).isEmpty() ? file : file + ' ' + found.captured(2));
    }
    QCOMPARE(said, held);
    QCOMPARE(held.at(1), QStringLiteral("0000000001.jpg page-spread-right"));
}

// --list says what a long strip becomes, in the entries the build then
// writes: their range on its first tile, and on each tile where it is cut
// through art, the build's report saying the same; the page before it as
// usual.
void tst_CliRunner::listSaysWhatAStripBecomes()
{
    const QDir root(m_root->path());
    QVERIFY(root.mkdir("S"));
    QVERIFY(noiseImage(300, 450).save(root.filePath("S/0.png")));
    for (int tile = 0; tile < 3; ++tile)
        QVERIFY(drawWebtoonTile(5, 400, 2500, tile).save(root.filePath("S/%1.png").arg(tile + 1)));
    QVERIFY(drawWebtoonTile(5, 400, 600, 13).save(root.filePath("S/4.png")));
    const Run list = cli({"--list", "--strip", "400", "S"}, root.path());
    QCOMPARE(list.status, 0);
    const QStringList lines = list.out.split('\n', Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 5);
    QCOMPARE(lines.at(0), QStringLiteral("0.png"));
    const QRegularExpression first("^1\\.png: a long strip of 4 pages, cut into (\\d+) pages 400 "
                                   "wide and \\d+ to (\\d+) high \\(0000000001\\.jpg to "
                                   "(\\d+)\\.jpg\\)");
    const QRegularExpressionMatch said = first.match(lines.at(1));
    QVERIFY2(said.hasMatch(), qPrintable(lines.at(1)));
    QVERIFY(said.captured(2).toInt() <= 400);
    const int pages = said.captured(1).toInt();
    QCOMPARE(said.captured(3).toInt(), pages);
    for (int tile = 2; tile <= 4; ++tile)
        QVERIFY(
            lines.at(tile).startsWith(QStringLiteral("%1.png: in the long strip above").arg(tile)));

    const Run made = cli({"--strip", "400", "S"}, root.path());
    QCOMPARE(made.status, 0);
    QVERIFY2(made.err.contains(QStringLiteral("S.cbz: %1 entries from 5 pages").arg(pages + 1)),
             qPrintable(made.err));
    // The cuts through art the listing names are those the build names.
    const QRegularExpression rows("(\\d)\\.png: [^\\n]*cut through its art[^\\n]* at ([^\\n]*)");
    const auto throughArt = [&rows](const QString &text) {
        QStringList found;
        for (auto match = rows.globalMatch(text); match.hasNext();) {
            const auto cut = match.next();
            found << cut.captured(1) + ": " + cut.captured(2);
        }
        return found;
    };
    QVERIFY(!throughArt(list.out).isEmpty()); // the drawn strip has panels run together
    QCOMPARE(throughArt(made.err), throughArt(list.out));
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
    QTest::addColumn<bool>("slowPdf");
    QTest::newRow("Ctrl+C") << int(SIGINT) << false;
    QTest::newRow("SIGTERM") << int(SIGTERM) << false;
    QTest::newRow("SIGHUP, an SSH session dropped") << int(SIGHUP) << false;
    // Poppler draws these pages for minutes: the stop reaches the page
    // being read or drawn, and the program ends after its page threads.
    QTest::newRow("Ctrl+C, a PDF slow to draw") << int(SIGINT) << true;
    QTest::newRow("SIGTERM, a PDF slow to draw") << int(SIGTERM) << true;
}

namespace {
// A PDF of pages of many thousand stroked shapes, written by hand.
QByteArray slowPdf(int pages, int shapes)
{
    QRandomGenerator random(5);
    QByteArray content = "0.1 w\n";
    for (int i = 0; i < shapes; ++i) {
        for (const char *op : {" m ", " l ", " l ", " l h S\n"}) {
            content += QByteArray::number(random.bounded(600)) + ' ' +
                       QByteArray::number(random.bounded(800)) + op;
        }
    }
    QList<QByteArray> objects{"<< /Type /Catalog /Pages 2 0 R >>"};
    QByteArray kids;
    for (int page = 0; page < pages; ++page)
        kids += QByteArray::number(3 + 2 * page) + " 0 R ";
    objects << "<< /Type /Pages /Kids [" + kids + "] /Count " + QByteArray::number(pages) + " >>";
    for (int page = 0; page < pages; ++page) {
        objects << "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 600 800] /Contents " +
                       QByteArray::number(4 + 2 * page) + " 0 R >>";
        objects << "<< /Length " + QByteArray::number(content.size()) + " >>\nstream\n" + content +
                       "\nendstream";
    }
    QByteArray pdf = "%PDF-1.4\n";
    QList<int> offsets;
    for (int i = 0; i < objects.size(); ++i) {
        offsets << pdf.size();
        pdf += QByteArray::number(i + 1) + " 0 obj\n" + objects.at(i) + "\nendobj\n";
    }
    const int table = pdf.size();
    pdf += "xref\n0 " + QByteArray::number(objects.size() + 1) + "\n0000000000 65535 f \n";
    for (const int offset : offsets)
        pdf += QByteArray::number(offset).rightJustified(10, '0') + " 00000 n \n";
    pdf += "trailer\n<< /Size " + QByteArray::number(objects.size() + 1) +
           " /Root 1 0 R >>\nstartxref\n" + QByteArray::number(table) + "\n%%EOF\n";
    return pdf;
}
} // namespace

void tst_CliRunner::interruptLeavesNothing()
{
    QFETCH(int, signal);
    QFETCH(bool, slowPdf);
    if (slowPdf) {
        QVERIFY(writeFile(m_root->filePath("Big.pdf"), ::slowPdf(2, 250000)));
    } else {
        QVERIFY(QDir(m_root->path()).mkdir("Big"));
        const QImage noise = noiseImage(1500, 1500);
        for (int i = 0; i < 40; ++i)
            QVERIFY(noise.save(m_root->filePath(QStringLiteral("Big/n%1.bmp").arg(i))));
    }
    QVERIFY(writeFile(m_root->filePath("Big.cbz"), "earlier archive"));

    QProcess process;
    process.setWorkingDirectory(m_root->path());
    process.setProcessEnvironment(withoutDisplay());
    process.start(QStringLiteral(QUIREVALE_CLI),
                  {"--force", "--threads", slowPdf ? "2" : "1", slowPdf ? "Big.pdf" : "Big"});
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
    // The help of the options described once for every front end too.
    const Run help = cli({"--help"}, m_root->path(), env);
    QVERIFY2(help.out.contains("Qualità delle pagine create"), qPrintable(help.out));
}

void tst_CliRunner::troubledFilesAreNamed_data()
{
    QTest::addColumn<QString>("trouble");
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<int>("status");
    QTest::addColumn<int>("entries"); // in the archive made; -1: none made
    QTest::addColumn<QString>("said");
    QTest::newRow("a symbolic link, named and left out")
        << "link" << QStringList() << 0 << 3 << "Symbolic links are not listed: link.png";
    QTest::newRow("a name that is not text stops the folder")
        << "name" << QStringList() << 1 << -1 << "cannot be used: its name is not valid text";
    QTest::newRow("... unless told to go on without it")
        << "name" << QStringList{"--skip-unreadable"} << 0 << 3
        << "\xEF\xBF\xBD.png cannot be used";
    QTest::newRow("a page nobody may read")
        << "mode 000" << QStringList() << 1 << -1 << "p2.png cannot be read";
    QTest::newRow("no page can be used")
        << "all names" << QStringList() << 1 << -1 << "none of its page files can be used";
    QTest::newRow("pictures of other types stop the folder")
        << "other types" << QStringList() << 1 << -1
        << "Files of other picture types, not listed: 2 (jpeg, webp): p1b.jpeg, p9.webp; "
           "--every-type lists them";
    QTest::newRow("... named under --quiet too") << "other types" << QStringList{"-q"} << 1 << -1
                                                 << "not listed: 2 (jpeg, webp): p1b.jpeg, p9.webp";
    QTest::newRow("... unless told to leave them out")
        << "other types" << QStringList{"-q", "--leave-out-other-types"} << 0 << 3
        << "not listed: 2 (jpeg, webp)";
    QTest::newRow("... also when only listed")
        << "other types" << QStringList{"--list"} << 1 << -1 << "not listed: 2 (jpeg, webp)";
    QTest::newRow("chapters listed without --chapters")
        << "only chapters" << QStringList{"--list"} << 1 << -1
        << "2 of its sub-folders hold pages; --chapters";
    QTest::newRow("pictures of other types, listed")
        << "other types" << QStringList{"--every-type"} << 0 << 5 << "";
    QTest::newRow("a chapter that is a symbolic link stops the book")
        << "chapter link" << QStringList{"--chapters"} << 1 << -1
        << "Linked/ cannot be read: a symbolic link to a folder";
    QTest::newRow("... unless told to go on without it")
        << "chapter link" << QStringList{"--chapters", "--skip-unreadable"} << 0 << 3
        << "Linked/ cannot be read";
    QTest::newRow("a GIF cut short") << "cut gif" << QStringList{"--every-type"} << 1 << -1
                                     << "Page p4.gif cannot be read: The file is damaged: it is "
                                        "cut short.";
    QTest::newRow("... also when kept as it is")
        << "cut gif" << QStringList{"--every-type", "--keep-jpeg"} << 1 << -1 << "it is cut short";
    QTest::newRow("an animation stops the book")
        << "animation" << QStringList{"--every-type"} << 1 << -1
        << "Page p4.gif is an animation of 3 frames; only its first can be a page.";
    QTest::newRow("... unless told to take its first frame")
        << "animation" << QStringList{"--every-type", "--skip-unreadable"} << 0 << 4
        << "only the first of its 3 frames is used";
    QTest::newRow("an animation kept as it is, named")
        << "animation" << QStringList{"--every-type", "--keep-jpeg"} << 0 << 4
        << "kept as an animation of 3 frames";
    QTest::newRow("a pages file that is a pipe")
        << "pages pipe" << QStringList{"--pages", "pages.txt"} << 2 << -1 << "not a regular file";
    QTest::newRow("a pages file that never ends")
        << "" << QStringList{"--pages", "/dev/zero"} << 2 << -1 << "not a regular file";
    QTest::newRow("a damaged page whose name holds a line break, on one line")
        << "line break" << QStringList() << 1 << -1
        << "quirevale-cli: T: Page p\\x0a4.png cannot be read:";
    QTest::newRow("libtiff's own words kept quiet")
        << "odd tiff" << QStringList{"-q"} << 0 << 4 << "";
    // Pages whose bytes are no picture, or a JPEG cut short.
    QTest::newRow("pages that cannot be read stop the book")
        << "unreadable" << QStringList() << 1 << -1 << "Page p4.png cannot be read";
    QTest::newRow("... unless told to go on without them, named under --quiet")
        << "unreadable" << QStringList{"-q", "--skip-unreadable"} << 0 << 3
        << "left out: it cannot be read";
    QTest::newRow("... and the tally counts the book made without them")
        << "unreadable" << QStringList{"--skip-unreadable"} << 0 << 3
        << "T.cbz: 3 entries from 3 pages";
    QTest::newRow("no book of nothing") << "all unreadable" << QStringList{"--skip-unreadable"} << 1
                                        << -1 << "there is no page to make a book of";
    QTest::newRow("no book of blank pages") << "all blank" << QStringList{"--drop-blank"} << 1 << -1
                                            << "there is no page to make a book of";
}

void tst_CliRunner::troubledFilesAreNamed()
{
    QFETCH(QString, trouble);
    QFETCH(QStringList, options);
    QFETCH(int, status);
    QFETCH(int, entries);
    QFETCH(QString, said);
    const QString folder = m_root->filePath("T");
    QVERIFY(QDir().mkpath(folder));
    if (trouble == "only chapters") {
        makeFolder("T/Ch 1", 2);
        makeFolder("T/Ch 2", 2);
    } else if (trouble == "all unreadable") {
        QVERIFY(writeFile(folder + "/p1.png", "not a picture"));
    } else if (trouble == "all blank") {
        for (const char *name : {"/p1.png", "/p2.png"})
            QVERIFY(writeImage(folder + name, 300, 400, Qt::white, "png"));
    } else if (trouble != "all names") {
        makeFolder("T", 3);
    }
    if (trouble == "unreadable") {
        QVERIFY(writeFile(folder + "/p4.png", "not a picture"));
        QVERIFY(writeFile(folder + "/p5.jpg",
                          encoded(noiseImage(60, 80), "jpg").left(400) + "\xFF\xD9"));
    }
    if (trouble == "link")
        QVERIFY(QFile::link("p1.png", folder + "/link.png"));
    if (trouble == "name" || trouble == "all names") {
        FILE *file =
            std::fopen(QFile::encodeName(folder + "/").append("\xff.png").constData(), "w");
        QVERIFY(file);
        std::fclose(file);
    }
    if (trouble == "other types") {
        QVERIFY(writeImage(folder + "/p1b.jpeg", 30, 40, Qt::red, "jpg"));
        QVERIFY(writeImage(folder + "/p9.webp", 30, 40, Qt::red, "webp"));
    }
    if (trouble == "mode 000") {
        if (::geteuid() == 0)
            QSKIP("root reads every file");
        QVERIFY(QFile::setPermissions(folder + "/p2.png", {}));
    }
    if (trouble == "chapter link") {
        makeFolder("Elsewhere", 2);
        QVERIFY(QFile::link(m_root->filePath("Elsewhere"), folder + "/Linked"));
    }
    if (trouble == "cut gif")
        QVERIFY(writeFile(folder + "/p4.gif", gif(1, 64, 64).left(40)));
    if (trouble == "animation")
        QVERIFY(writeFile(folder + "/p4.gif", gif(3, 16, 16)));
    if (trouble == "pages pipe")
        QCOMPARE(::mkfifo(QFile::encodeName(m_root->filePath("pages.txt")).constData(), 0600), 0);
    if (trouble == "line break")
        QVERIFY(writeFile(folder + "/p\n4.png", "not a picture"));
    if (trouble == "odd tiff")
        QVERIFY(writeFile(folder + "/p4.tif", multiPageTiff({noiseImage(20, 30)}, true)));
    const Run run = cli(options << "T", m_root->path());
    if (trouble == "odd tiff")
        QVERIFY2(run.err.isEmpty(), qPrintable(run.err));
    QCOMPARE(run.status, status);
    QVERIFY2(run.err.contains(said), qPrintable(run.err));
    if (said.isEmpty())
        QVERIFY2(!run.err.contains("picture types"), qPrintable(run.err));
    if (entries < 0)
        QVERIFY(!QFileInfo::exists(m_root->filePath("T.cbz")));
    else
        QCOMPARE(archiveData(m_root->filePath("T.cbz")).size(), entries);
}

// A folder named on an old system, in Latin-1: not "not a folder".
void tst_CliRunner::folderNamedInLatin1()
{
    QVERIFY(::mkdir((QFile::encodeName(m_root->path()) + "/Caf\xe9").constData(), 0700) == 0);
    QProcess process;
    process.setWorkingDirectory(m_root->path());
    process.setProcessEnvironment(withoutDisplay());
    process.start("/bin/sh", {"-c", "exec \"$0\" \"$(printf 'Caf\\351')\"", QUIREVALE_CLI});
    QVERIFY(process.waitForFinished(60000));
    QCOMPARE(process.exitCode(), 1);
    const QString said = QString::fromUtf8(process.readAllStandardError());
    QVERIFY2(said.contains("not valid text") && !said.contains("not a folder"), qPrintable(said));
}

// The archive has its name once the rename is done: a Ctrl+C at that
// moment stops nothing, and the status must not say it did.
void tst_CliRunner::aSignalAfterTheRenameStopsNothing()
{
    makeFolder("A", 3);
    QProcessEnvironment env = withoutDisplay();
    env.insert("LD_PRELOAD", QStringLiteral(QUIREVALE_SIGNAL_AT_RENAME));
    // Under the sanitizers, whose runtime would otherwise have to come first.
    env.insert("ASAN_OPTIONS", env.value("ASAN_OPTIONS") + ":verify_asan_link_order=0");
    // A new archive, and one that replaces another.
    for (const QStringList &arguments : {QStringList{"A"}, QStringList{"--force", "A"}}) {
        const Run run = cli(arguments, m_root->path(), env);
        QCOMPARE(run.status, 0);
        QVERIFY(unzipTest(m_root->filePath("A.cbz")));
    }
}

void tst_CliRunner::outputThatCannotBeWrittenFails_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::newRow("--help") << QStringList{"--help"};
    QTest::newRow("--list") << QStringList{"--list", "A"};
}

void tst_CliRunner::outputThatCannotBeWrittenFails()
{
    QFETCH(QStringList, arguments);
    makeFolder("A", 3);
    QProcess process;
    process.setWorkingDirectory(m_root->path());
    process.setProcessEnvironment(withoutDisplay());
    process.setStandardOutputFile(QStringLiteral("/dev/full"));
    process.start(QStringLiteral(QUIREVALE_CLI), arguments);
    QVERIFY(process.waitForFinished(60000));
    QCOMPARE(process.exitCode(), 1);
    QVERIFY(process.readAllStandardError().contains("standard output cannot be written"));
}

QUIREVALE_TEST_MAIN(tst_CliRunner)
#include "tst_clirunner.moc"
