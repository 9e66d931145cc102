#include "app/quirevale.h"
#include "app/shelltaskbarprogress.h"
#include "app/signalquit.h"
#include "making/zipwriter.h"
#include "preview/imagemanager.h"
#include "testsupport.h"

#include <QThreadPool>
#include <csignal>

#include <QAction>
#include <QCheckBox>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QUrl>

#include <cstdio>
#include <memory>

using namespace TestSupport;

namespace {
// Page i is (120 + 10 i) x (90 + i): its size names it inside the archive.
QSize pageSize(int i)
{
    return QSize(120 + 10 * i, 90 + i);
}

QStringList filesIn(const QString &folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Name);
}
} // namespace

class tst_MakeCbz : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void writesCheckedRowsInTheirOrder();
    void splitPagesGiveTwoEntriesEach_data();
    void splitPagesGiveTwoEntriesEach();
    void progressFollowsTheBuild();
    void suggestionAndRememberedFolder();
    void percentSignsInNamesStayText();
    void cancelChangesNothing();
    void nothingCheckedMakesNothing();
    void existingArchiveIsReplaced();
    void targetThatCannotBeCreated();
    void vanishedPageFailsAndKeepsTheOldArchive();
    void borderLeavingNoPixelsFails();
    void writeErrorFails();
    void unreadablePageLeftOutWhenAsked();
    void successOffersTheArchivesFolder();
    void urlOpened(const QUrl &url) { m_opened = url; }
    void pagesAreReadWhenTheBuildRuns();
    void rowsFollowTheBuildAndCancelStopsIt_data();
    void rowsFollowTheBuildAndCancelStopsIt();
    void closeDuringBuildAsks_data();
    void closeDuringBuildAsks();
    void buildEndsWhileCloseIsAsked();
    void terminatedDuringBuildLeavesNothing();

private:
    // Lists count pages in a new folder named name and picks it.
    QString openFolder(const QString &name, int count);
    // Presses "Make CBZ", answers the save dialog with target and every box
    // that follows, and waits until the build has been reported.
    void build(const QString &target, DialogSeen *dialog = nullptr);
    QListWidget *list() { return m_window->findChild<QListWidget *>("ImagesList"); }
    QProgressBar *bar() { return m_window->findChild<QProgressBar *>("MakeCBZProgressBar"); }
    ShellTaskbarProgress *shellProgress() { return m_window->findChild<ShellTaskbarProgress *>(); }
    template<typename T = QWidget> T *widget(const char *name)
    {
        return m_window->findChild<T *>(QLatin1String(name));
    }
    void verifyIdleAgain();
    // A folder of pages large enough that a build takes a while.
    void openSlowFolder(int pages);

    Quirevale *m_window = nullptr;
    std::unique_ptr<QTemporaryDir> m_root;
    QList<BoxSeen> m_boxes;
    int m_progressAtReport = -1;
    QUrl m_opened;
};

void tst_MakeCbz::init()
{
    clearSettings();
    m_root = std::make_unique<QTemporaryDir>();
    m_boxes.clear();
    m_progressAtReport = -1;
    m_window = new Quirevale;
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window));
}

void tst_MakeCbz::cleanup()
{
    delete m_window;
    m_window = nullptr;
}

QString tst_MakeCbz::openFolder(const QString &name, int count)
{
    const QString folder = m_root->filePath(name);
    QDir().mkpath(folder);
    for (int i = 0; i < count; ++i)
        writeImage(QDir(folder).filePath(QStringLiteral("p%1.png").arg(i + 1)), pageSize(i).width(),
                   pageSize(i).height(), QColor::fromHsv(i * 40 % 360, 180, 220));
    if (!pickFolder(m_window, folder))
        return QString();
    // The first page is read away from the window: let it arrive before a
    // test changes the files.
    if (count > 0 && !QTest::qWaitFor([this] {
            return !widget<ImageManager>("ImageArea")->GetImage().isNull();
        }))
        return QString();
    return folder;
}

void tst_MakeCbz::build(const QString &target, DialogSeen *seen)
{
    m_boxes = makeCbz(m_window, target, seen, [this] { m_progressAtReport = bar()->value(); });
    QVERIFY(!m_window->isBuilding());
}

void tst_MakeCbz::verifyIdleAgain()
{
    QCOMPARE(bar()->value(), 0);
    QCOMPARE(shellProgress()->value(), 0);
    QVERIFY(!shellProgress()->isVisible());
    QCOMPARE(list()->currentRow(), 0);
    for (const char *name :
         {"OptionsFrame", "ImagesPathFrame", "ImageSplitterFrame", "MakeCBZFrame"})
        QVERIFY2(widget(name)->isEnabled(), name);
}

void tst_MakeCbz::writesCheckedRowsInTheirOrder()
{
    QVERIFY(!openFolder("five", 5).isEmpty());
    list()->item(1)->setCheckState(Qt::Unchecked);
    list()->item(3)->setCheckState(Qt::Unchecked);
    list()->setCurrentRow(4);
    widget<QPushButton>("MoveImageUp")->click(); // p5 now stands before p4

    const QString target = m_root->filePath("out/book.cbz");
    QVERIFY(QDir().mkpath(m_root->filePath("out")));
    build(target);
    QCOMPARE(m_boxes.size(), 1);
    QCOMPARE(m_boxes.first().title, QStringLiteral("Advise"));
    QCOMPARE(m_boxes.first().text, QStringLiteral("File successfull created!"));
    QCOMPARE(m_progressAtReport, 5);
    verifyIdleAgain();
    QCOMPARE(saveDialogStart(m_window), m_root->filePath("out"));

    QString report;
    QVERIFY2(unzipTest(target, &report), qPrintable(report));
    bool ok = false;
    const QList<ArchiveEntry> entries = readArchive(target, &ok);
    QVERIFY(ok);
    const QList<int> pages = {0, 2, 4};
    QCOMPARE(entries.size(), pages.size());
    for (int i = 0; i < entries.size(); ++i) {
        QCOMPARE(entries.at(i).name, ZipWriter::entryName(i));
        QCOMPARE(entries.at(i).method, 8);
        QCOMPARE(jpegSize(entries.at(i).data), pageSize(pages.at(i)));
    }
    QCOMPARE(filesIn(m_root->filePath("out")), QStringList({"book.cbz"}));
}

void tst_MakeCbz::splitPagesGiveTwoEntriesEach_data()
{
    QTest::addColumn<bool>("firstRight");
    QTest::newRow("first page right") << true;
    QTest::newRow("first page left") << false;
}

void tst_MakeCbz::splitPagesGiveTwoEntriesEach()
{
    QFETCH(bool, firstRight);
    QVERIFY(!openFolder("spreads", 2).isEmpty());
    widget<QCheckBox>("ImageCutDoublePages")->click();
    widget<QSpinBox>("ImageCutPointNumber")->setValue(30);
    if (!firstRight)
        widget<QRadioButton>("ImageCutFirstPageLeft")->click();

    const QString target = m_root->filePath("spreads.cbz");
    build(target);
    QCOMPARE(m_boxes.value(0).title, QStringLiteral("Advise"));
    bool ok = false;
    const QList<ArchiveEntry> entries = readArchive(target, &ok);
    QVERIFY(ok);
    QCOMPARE(entries.size(), 4);
    for (int page = 0; page < 2; ++page) {
        const QSize size = pageSize(page);
        const int k = size.width() * 30 / 100;
        const QSize left(k + 1, size.height()), right(size.width() - k, size.height());
        QCOMPARE(entries.at(2 * page).name, ZipWriter::entryName(2 * page));
        QCOMPARE(entries.at(2 * page + 1).name, ZipWriter::entryName(2 * page + 1));
        QCOMPARE(jpegSize(entries.at(2 * page).data), firstRight ? right : left);
        QCOMPARE(jpegSize(entries.at(2 * page + 1).data), firstRight ? left : right);
    }
}

void tst_MakeCbz::progressFollowsTheBuild()
{
    QVERIFY(!openFolder("progress", 6).isEmpty());
    list()->item(1)->setCheckState(Qt::Unchecked);
    list()->item(2)->setCheckState(Qt::Unchecked);
    QSignalSpy values(bar(), &QProgressBar::valueChanged);
    QList<int> taskbar;
    bool taskbarShown = false;
    connect(shellProgress(), &ShellTaskbarProgress::changed, this, [&] {
        taskbar << shellProgress()->value();
        taskbarShown = taskbarShown || shellProgress()->isVisible();
    });

    build(m_root->filePath("progress.cbz"));
    QList<int> seen;
    for (const QList<QVariant> &signal : values)
        seen << signal.at(0).toInt();
    // Row + 1 for each checked row, skipping the unchecked ones, then back to 0.
    QCOMPARE(seen, QList<int>({1, 4, 5, 6, 0}));
    QCOMPARE(bar()->maximum(), 6);
    QVERIFY(taskbarShown);
    QVERIFY(taskbar.contains(4) && taskbar.contains(6));
    QCOMPARE(shellProgress()->maximum(), 6);
}

void tst_MakeCbz::suggestionAndRememberedFolder()
{
    const QString folder = openFolder("Volume 1", 1);
    QVERIFY(!folder.isEmpty());
    const QString out = m_root->filePath("saved here");
    QVERIFY(QDir().mkpath(out));

    DialogSeen seen;
    build(out + "/first.cbz", &seen);
    QCOMPARE(seen.caption, QStringLiteral("Create CBZ"));
    QCOMPARE(seen.filters, QStringList({"*.cbz"}));
    // Nothing remembered yet: beside the images folder.
    QCOMPARE(seen.directory, m_root->path());
    QCOMPARE(seen.suggested, QStringLiteral("Volume 1.cbz"));
    QCOMPARE(saveDialogStart(m_window), out);

    build(out + "/second.cbz", &seen);
    QCOMPARE(seen.directory, out);
    QCOMPARE(seen.suggested, QStringLiteral("Volume 1.cbz"));
    QVERIFY(QFile::exists(out + "/second.cbz"));

    // Typed without its extension: it gets one.
    build(out + "/Vol. 3", &seen);
    QCOMPARE(filesIn(out), QStringList({"Vol. 3.cbz", "first.cbz", "second.cbz"}));

    delete m_window;
    m_window = nullptr;
    QCOMPARE(QSettings().value("LastCbzSaveDir").toString(), out);
}

void tst_MakeCbz::percentSignsInNamesStayText()
{
    QVERIFY(!openFolder("100% Vol %1", 1).isEmpty());
    const QString out = m_root->filePath("50%2 off");
    QVERIFY(QDir().mkpath(out));
    build(out + "/first.cbz");
    DialogSeen seen;
    build(out + "/second.cbz", &seen);
    QCOMPARE(seen.directory, out);
    QCOMPARE(seen.suggested, QStringLiteral("100% Vol %1.cbz"));
}

void tst_MakeCbz::cancelChangesNothing()
{
    QVERIFY(!openFolder("cancel", 2).isEmpty());
    std::unique_ptr<ModalAnswer> cancel(cancelFileDialog());
    widget<QPushButton>("MakeCBZ")->click();
    QVERIFY(cancel->answered());
    QVERIFY(!m_window->isBuilding());
    // Nothing remembered: the next starts beside the book again.
    QCOMPARE(saveDialogStart(m_window), m_root->path());
    QVERIFY(widget("OptionsFrame")->isEnabled());
    QCOMPARE(bar()->value(), 0);
    QCOMPARE(filesIn(m_root->path()), QStringList());
}

void tst_MakeCbz::nothingCheckedMakesNothing()
{
    QVERIFY(!openFolder("none", 3).isEmpty());
    for (int row = 0; row < 3; ++row)
        list()->item(row)->setCheckState(Qt::Unchecked);
    MessageBoxAnswerer boxes;
    widget<QPushButton>("MakeCBZ")->click(); // no name is asked for
    QCOMPARE(boxes.seen().size(), 1);
    QCOMPARE(boxes.seen().first().title, QStringLiteral("Warning"));
    QVERIFY(!m_window->isBuilding());
    QCOMPARE(filesIn(m_root->path()), QStringList());
    // Nothing remembered: once a page is checked, the save starts beside the book.
    list()->item(0)->setCheckState(Qt::Checked);
    QCOMPARE(saveDialogStart(m_window), m_root->path());
}

void tst_MakeCbz::existingArchiveIsReplaced()
{
    QVERIFY(!openFolder("replace", 2).isEmpty());
    const QString target = m_root->filePath("book.cbz");
    QFile old(target);
    QVERIFY(old.open(QIODevice::WriteOnly));
    old.write(QByteArray(100000, 'x'));
    old.close();

    build(target);
    QCOMPARE(m_boxes.value(0).title, QStringLiteral("Advise"));
    bool ok = false;
    QCOMPARE(readArchive(target, &ok).size(), 2);
    QVERIFY(ok);
    QVERIFY(unzipTest(target));
}

void tst_MakeCbz::targetThatCannotBeCreated()
{
    QVERIFY(!openFolder("unwritable", 2).isEmpty());
    QFile plain(m_root->filePath("plain file"));
    QVERIFY(plain.open(QIODevice::WriteOnly));
    plain.close();

    build(m_root->filePath("plain file/book.cbz"));
    QCOMPARE(m_boxes.size(), 1);
    QCOMPARE(m_boxes.first().title, QStringLiteral("Error"));
    QCOMPARE(m_boxes.first().text, QStringLiteral("Unable to create CBZ file!"));
    verifyIdleAgain();
    QCOMPARE(filesIn(m_root->path()), QStringList({"plain file"}));
    // The folder is remembered even though the build failed.
    delete m_window;
    m_window = nullptr;
    QCOMPARE(QSettings().value("LastCbzSaveDir").toString(), m_root->filePath("plain file"));
}

void tst_MakeCbz::vanishedPageFailsAndKeepsTheOldArchive()
{
    const QString folder = openFolder("vanishing", 3);
    QVERIFY(!folder.isEmpty());
    QVERIFY(QFile::remove(folder + "/p2.png"));
    const QString target = m_root->filePath("keep.cbz");
    QVERIFY(writeFile(target, "earlier archive"));

    build(target);
    // Asked whether to go on without it; refused, the failure as it was.
    QCOMPARE(m_boxes.size(), 2);
    QVERIFY2(m_boxes.at(0).text.contains("cannot be read"), qPrintable(m_boxes.at(0).text));
    QCOMPARE(m_boxes.at(1).title, QStringLiteral("Error"));
    QCOMPARE(m_boxes.at(1).text, QStringLiteral("Unable to create CBZ file!"));
    QVERIFY2(m_boxes.at(1).informative.contains("p2.png"), qPrintable(m_boxes.at(1).informative));
    QCOMPARE(contentOf(target), QByteArray("earlier archive"));
    QCOMPARE(filesIn(m_root->path()), QStringList({"keep.cbz"}));
    verifyIdleAgain();
}

// A page that is no picture: the user may make the book without it, and
// the report names it.
void tst_MakeCbz::unreadablePageLeftOutWhenAsked()
{
    const QString folder = openFolder("unreadable", 3);
    QVERIFY(!folder.isEmpty());
    QVERIFY(writeFile(folder + "/p2.png", "not a picture"));
    const QString target = m_root->filePath("without.cbz");
    std::unique_ptr<ModalAnswer> save(chooseInFileDialog(target));
    MessageBoxAnswerer boxes;
    boxes.pressButton("Leave Them Out");
    widget<QPushButton>("MakeCBZ")->click();
    QTRY_COMPARE(boxes.seen().size(), 2);
    QTRY_VERIFY(!m_window->isBuilding());
    QCOMPARE(boxes.seen().at(1).text, QStringLiteral("File successfull created!"));
    QVERIFY2(boxes.seen().at(1).informative.contains("p2.png"),
             qPrintable(boxes.seen().at(1).informative));
    QCOMPARE(archiveData(target).size(), 2);
    verifyIdleAgain();
}

void tst_MakeCbz::successOffersTheArchivesFolder()
{
    QVERIFY(!openFolder("opened", 1).isEmpty());
    QVERIFY(QDir().mkpath(m_root->filePath("out")));
    QDesktopServices::setUrlHandler("file", this, "urlOpened");
    std::unique_ptr<ModalAnswer> save(chooseInFileDialog(m_root->filePath("out/book.cbz")));
    MessageBoxAnswerer boxes;
    boxes.pressButton("Open Folder");
    widget<QPushButton>("MakeCBZ")->click();
    QTRY_VERIFY(!m_window->isBuilding());
    QDesktopServices::unsetUrlHandler("file");
    QCOMPARE(boxes.seen().value(0).text, QStringLiteral("File successfull created!"));
    QCOMPARE(m_opened, QUrl::fromLocalFile(m_root->filePath("out")));
}

void tst_MakeCbz::pagesAreReadWhenTheBuildRuns()
{
    const QString folder = openFolder("changing", 2);
    QVERIFY(!folder.isEmpty());
    // Replaced after it was shown, in one step as a save does (the preview
    // may be reading it again): the archive takes the file as it is now.
    const QString written = m_root->filePath("p1 new.png");
    QVERIFY(writeImage(written, 64, 48, Qt::yellow));
    QCOMPARE(std::rename(QFile::encodeName(written).constData(),
                         QFile::encodeName(folder + "/p1.png").constData()),
             0);
    const QString target = m_root->filePath("changing.cbz");
    build(target);
    QCOMPARE(m_boxes.value(0).title, QStringLiteral("Advise"));
    bool ok = false;
    const QList<ArchiveEntry> entries = readArchive(target, &ok);
    QVERIFY(ok);
    QImage first;
    QVERIFY(first.loadFromData(entries.value(0).data, "jpg"));
    QCOMPARE(first.size(), QSize(64, 48));
    QVERIFY(colorNear(first.pixelColor(30, 20), Qt::yellow, 12));
}

void tst_MakeCbz::borderLeavingNoPixelsFails()
{
    QVERIFY(!openFolder("border", 2).isEmpty());
    widget<QCheckBox>("ImageCutBorder")->click();
    widget<QSpinBox>("ImageCutBorderNumber")->setValue(45); // pages are at most 91 high

    build(m_root->filePath("border.cbz"));
    QCOMPARE(m_boxes.size(), 1);
    QCOMPARE(m_boxes.first().title, QStringLiteral("Error"));
    QCOMPARE(filesIn(m_root->path()), QStringList());
}

void tst_MakeCbz::writeErrorFails()
{
    const QString folder = m_root->filePath("noise");
    QVERIFY(QDir().mkpath(folder));
    const QImage noise = noiseImage(500, 500);
    for (int i = 0; i < 4; ++i)
        QVERIFY(noise.save(QStringLiteral("%1/n%2.png").arg(folder).arg(i)));
    QVERIFY(pickFolder(m_window, folder));
    QCOMPARE(list()->count(), 4);

    {
        FileSizeLimit limit(100 * 1024);
        build(m_root->filePath("full disk.cbz"));
    }
    QCOMPARE(m_boxes.size(), 1);
    QCOMPARE(m_boxes.first().title, QStringLiteral("Error"));
    QCOMPARE(filesIn(m_root->path()), QStringList());
}

void tst_MakeCbz::openSlowFolder(int pages)
{
    const QString folder = m_root->filePath("slow");
    QVERIFY(QDir().mkpath(folder));
    const QImage noise = noiseImage(1200, 1200);
    for (int i = 0; i < pages; ++i)
        QVERIFY(noise.save(QStringLiteral("%1/n%2.bmp").arg(folder).arg(i)));
    QVERIFY(pickFolder(m_window, folder));
}

void tst_MakeCbz::rowsFollowTheBuildAndCancelStopsIt_data()
{
    QTest::addColumn<bool>("withEscape");
    QTest::newRow("Cancel button") << false;
    QTest::newRow("Escape") << true;
}

void tst_MakeCbz::rowsFollowTheBuildAndCancelStopsIt()
{
    QFETCH(bool, withEscape);
    openSlowFolder(30);
    const QString target = m_root->filePath("slow.cbz");
    QVERIFY(writeFile(target, "earlier archive"));
    QList<int> rows;
    connect(list(), &QListWidget::currentRowChanged, this, [&rows](int row) { rows << row; });

    std::unique_ptr<ModalAnswer> dialog(chooseInFileDialog(target));
    MessageBoxAnswerer boxes;
    widget<QPushButton>("MakeCBZ")->click();
    QVERIFY(dialog->answered());
    auto *cancel = widget<QPushButton>("CancelBuild");
    QVERIFY(cancel->isVisible());
    QTRY_VERIFY(rows.size() >= 3);
    QCOMPARE(rows.mid(0, 3), QList<int>({1, 2, 3})); // row 0 was current already
    QCOMPARE(widget<QLabel>("OriginalImageWidth")->text(), QStringLiteral("1200"));
    QVERIFY(!widget<ImageManager>("ImageArea")->GetImage().isNull());
    if (withEscape) {
        QApplication::setActiveWindow(m_window);
        QTest::keyClick(m_window, Qt::Key_Escape);
    } else
        cancel->click();
    QTRY_VERIFY_WITH_TIMEOUT(!m_window->isBuilding(), 30000);
    QVERIFY(rows.size() < 30);
    QVERIFY(boxes.seen().isEmpty()); // a cancel needs no words
    QVERIFY(!cancel->isVisible());
    QCOMPARE(contentOf(target), QByteArray("earlier archive"));
    QCOMPARE(filesIn(m_root->path()), QStringList({"slow.cbz"}));
    verifyIdleAgain();
}

void tst_MakeCbz::closeDuringBuildAsks_data()
{
    QTest::addColumn<bool>("throughMenu");
    QTest::addColumn<bool>("stop");
    QTest::newRow("close button, stop") << false << true;
    QTest::newRow("File > Exit, stop") << true << true;
    QTest::newRow("close button, keep building") << false << false;
}

void tst_MakeCbz::closeDuringBuildAsks()
{
    QFETCH(bool, throughMenu);
    QFETCH(bool, stop);
    openSlowFolder(30);
    const QString target = m_root->filePath("closing.cbz");

    std::unique_ptr<ModalAnswer> dialog(chooseInFileDialog(target));
    MessageBoxAnswerer boxes;
    boxes.pressButton(stop ? "Stop and Close" : "Keep Building");
    widget<QPushButton>("MakeCBZ")->click();
    QVERIFY(dialog->answered());
    QVERIFY(m_window->isBuilding());
    if (throughMenu)
        widget<QAction>("actionExit")->trigger();
    else
        m_window->close();
    QCOMPARE(boxes.seen().value(0).title, QStringLiteral("Close"));

    QTRY_VERIFY_WITH_TIMEOUT(!m_window->isBuilding(), 60000);
    if (stop) {
        QTRY_VERIFY(!m_window->isVisible());
        QCOMPARE(boxes.seen().size(), 1);
        QCOMPARE(filesIn(m_root->path()), QStringList());
    } else {
        QVERIFY(m_window->isVisible());
        QCOMPARE(boxes.seen().size(), 2);
        QCOMPARE(boxes.seen().at(1).text, QStringLiteral("File successfull created!"));
        bool ok = false;
        QCOMPARE(readArchive(target, &ok).size(), 30);
        QVERIFY(ok);
    }
    delete m_window;
    m_window = nullptr;
    QCOMPARE(QSettings().value("LastCbzSaveDir").toString(), m_root->path());
}

// The build ends while "Stop it and close the window?" waits for an answer:
// the answer given is what happens, with no report over the question.
void tst_MakeCbz::buildEndsWhileCloseIsAsked()
{
    openSlowFolder(2);
    const QString target = m_root->filePath("quick.cbz");
    std::unique_ptr<ModalAnswer> dialog(chooseInFileDialog(target));
    MessageBoxAnswerer boxes([] {
        // Let the build end and its end arrive while the question is up.
        QThreadPool::globalInstance()->waitForDone();
        QTest::qWait(50);
    });
    boxes.pressButton("Stop and Close");
    widget<QPushButton>("MakeCBZ")->click();
    QVERIFY(dialog->answered());
    m_window->close();
    QTRY_VERIFY(!m_window->isVisible());
    QVERIFY(!m_window->isBuilding());
    QCOMPARE(boxes.seen().size(), 1);
    QCOMPARE(boxes.seen().first().title, QStringLiteral("Close"));
}

// SIGTERM (a logout, a kill) ends the program as a close would: the build
// stops and its partial file goes.
void tst_MakeCbz::terminatedDuringBuildLeavesNothing()
{
    openSlowFolder(30);
    const QString target = m_root->filePath("killed.cbz");
    std::unique_ptr<ModalAnswer> dialog(chooseInFileDialog(target));
    widget<QPushButton>("MakeCBZ")->click();
    QVERIFY(dialog->answered());
    QTRY_VERIFY(!filesIn(m_root->path()).filter(".part").isEmpty());
    SignalQuit signalQuit;
    QTimer::singleShot(0, [] { ::raise(SIGTERM); });
    QCOMPARE(QCoreApplication::exec(), 0);
    delete m_window;
    m_window = nullptr;
    QCOMPARE(filesIn(m_root->path()), QStringList());
}

QUIREVALE_TEST_MAIN(tst_MakeCbz)
#include "tst_makecbz.moc"
