#include "app/pagerow.h"
#include "app/quirevale.h"
#include "app/shelltaskbarprogress.h"
#include "making/longstrip.h"
#include "pages/pagereader.h"
#include "preview/imagemanager.h"
#include "samplepages.h"
#include "testsupport.h"

#include <QAbstractItemView>
#include <QAction>
#include <QBuffer>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMimeData>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QUrl>

#include <cstdio>
#include <memory>

Q_DECLARE_METATYPE(QListWidgetItem *)
Q_DECLARE_METATYPE(QList<bool>)

using namespace TestSupport;

namespace {
// Page i of a test folder is (100 + i) x (50 + i): its size tells which page is shown.
// A page is shown reduced first, then whole once the list rests: on a busy
// machine under the sanitizers that may take far longer than QTRY's five
// seconds.
constexpr int ShownWithin = 60000;

QSize pageSize(int i)
{
    return QSize(100 + i, 50 + i);
}

bool writePages(const QString &folder, int count)
{
    for (int i = 0; i < count; ++i) {
        const QSize size = pageSize(i);
        if (!writeImage(QDir(folder).filePath(QStringLiteral("page%1.png").arg(i + 1)),
                        size.width(), size.height(), QColor::fromHsv(i * 30 % 360, 200, 200)))
            return false;
    }
    return true;
}
} // namespace

class tst_PageList : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { qRegisterMetaType<QListWidgetItem *>(); }
    void init();
    void cleanup();

    void browseListsPages();
    void emptyFolderAfterFullOne();
    void picturesOfOtherTypesAreTold();
    void subFoldersOfferedAsChapters();
    void archiveRepackedWithItsComicInfo();
    void firstHalfFollowsTheReadingDirection();
    void cancelledDialogChangesNothing();
    void moveButtonsFollowTheRow_data();
    void moveButtonsFollowTheRow();
    void moveRowUp();
    void downThenUpRestores();
    void unloadablePage_data();
    void unloadablePage();
    void damageFoundAfterShowingIsTold();
    void staleButtonAtTheEnd();
    void keyboard_data();
    void keyboard();
    void draggedRowKeepsButtonsRight();
    void tooltipTellsNameAndSize();
    void foldersFromOutside_data();
    void foldersFromOutside();
    void selectImageItem();
    void tenThousandUnreadablePages();
    void troubledFilesInTheNoticeStrip();
    void droppedFileThatIsNoPage();
    void newestPageIsShownLast_data();
    void newestPageIsShownLast();
    void pageTreatmentsMoveWithTheirRows();
    void scansCleanedUpInTheList();
    void actualSizeReadsThePageWhole();
    void aBuildSaysItsSlantsOnEveryRow();
    void stripCutsDrawnOverTheirTiles();
    void undoAndRedo_data();
    void undoAndRedo();

private:
    // Picks folder through the dialog; answers the warning box if one comes.
    void browse(const QString &folder, DialogSeen *seen = nullptr, BoxSeen *box = nullptr);
    QListWidget *list() { return m_window->findChild<QListWidget *>("ImagesList"); }
    ImageManager *preview() { return m_window->findChild<ImageManager *>("ImageArea"); }
    QString label(const char *name) { return m_window->findChild<QLabel *>(name)->text(); }
    QPushButton *button(const char *name) { return m_window->findChild<QPushButton *>(name); }
    bool frameEnabled(const char *name)
    {
        return m_window->findChild<QWidget *>(name)->isEnabled();
    }
    QSize shownSize() { return preview()->GetImage().size(); }

    Quirevale *m_window = nullptr;
    QTemporaryDir m_root;
};

void tst_PageList::init()
{
    clearSettings();
    m_window = new Quirevale;
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window));
}

void tst_PageList::cleanup()
{
    delete m_window;
    m_window = nullptr;
}

void tst_PageList::browse(const QString &folder, DialogSeen *seen, BoxSeen *box)
{
    std::unique_ptr<ModalAnswer> dialog(chooseInFileDialog(folder, seen));
    MessageBoxAnswerer boxes;
    button("BrowsePath")->click();
    QVERIFY(dialog->answered());
    QCOMPARE(boxes.seen().size(), box ? 1 : 0);
    if (box)
        *box = boxes.seen().first();
}

void tst_PageList::browseListsPages()
{
    const QString folder = m_root.filePath("Volume 1");
    QVERIFY(QDir().mkpath(folder));
    QVERIFY(writePages(folder, 3));
    QVERIFY(writeImage(folder + "/page10.png", 10, 10, Qt::red));
    QFile(folder + "/notes.txt").open(QIODevice::WriteOnly);

    DialogSeen seen;
    browse(folder, &seen);
    QCOMPARE(seen.caption, QStringLiteral("Select images folder"));
    QVERIFY(seen.dirsOnly);
    QVERIFY(!seen.resolvesLinks);

    QCOMPARE(list()->count(), 4);
    const QStringList expected = {"page1.png", "page2.png", "page3.png", "page10.png"};
    for (int row = 0; row < 4; ++row) {
        QListWidgetItem *item = list()->item(row);
        QCOMPARE(item->text(), expected.at(row));
        QCOMPARE(PageRow::locationOf(item).file(), QDir(folder).absoluteFilePath(expected.at(row)));
        // The file's absolute path, as text, under Qt::UserRole.
        QCOMPARE(item->data(Qt::UserRole),
                 QVariant(QDir(folder).absoluteFilePath(expected.at(row))));
        QCOMPARE(item->checkState(), Qt::Checked);
        QVERIFY(item->flags() & Qt::ItemIsUserCheckable);
        QVERIFY(!(item->flags() & Qt::ItemIsEditable));
        QCOMPARE(item->type(), 0);
    }
    QCOMPARE(list()->currentRow(), 0);
    QTRY_COMPARE_WITH_TIMEOUT(shownSize(), pageSize(0), ShownWithin);
    QCOMPARE(label("OriginalImageWidth"), QStringLiteral("100"));
    QCOMPARE(label("OriginalImageHeight"), QStringLiteral("50"));
    QVERIFY(frameEnabled("OptionsFrame"));
    QVERIFY(frameEnabled("MakeCBZFrame"));
    QCOMPARE(m_window->findChild<QLineEdit *>("ImagesPath")->text(), folder);

    // The next pick starts where the last one was made.
    browse(folder, &seen);
    QCOMPARE(seen.directory, folder);
}

// Pictures the list leaves out by their type are counted in the notice
// strip, not hidden; its button lists them, and so does the remembered
// option, from then on.
void tst_PageList::picturesOfOtherTypesAreTold()
{
    const QString folder = m_root.filePath("mixed");
    QVERIFY(QDir().mkpath(folder));
    QVERIFY(writePages(folder, 2));
    QVERIFY(writeImage(folder + "/page1b.jpeg", 30, 40, Qt::red, "jpg"));
    QVERIFY(writeImage(folder + "/page3.webp", 30, 40, Qt::blue, "webp"));
    browse(folder);
    QCOMPARE(list()->count(), 2);
    auto *notice = m_window->findChild<QLabel *>("NoticeText");
    auto *action = m_window->findChild<QPushButton *>("NoticeAction");
    QVERIFY(notice->isVisible());
    QCOMPARE(notice->text(), QStringLiteral("Files of other picture types, not listed: 2 (jpeg, "
                                            "webp): page1b.jpeg, page3.webp"));
    QVERIFY(action->isVisible());
    // The strip was the user's word: Make CBZ goes to the save dialog, the
    // build and the report, which names them again.
    DialogSeen dialog;
    const QList<BoxSeen> report = makeCbz(m_window, m_root.filePath("mixed.cbz"), &dialog);
    QCOMPARE(dialog.caption, QStringLiteral("Create CBZ"));
    QCOMPARE(report.size(), 1);
    QCOMPARE(report.first().text, QStringLiteral("File successfull created!"));
    QVERIFY2(report.first().informative.contains(QStringLiteral("not listed: 2 (jpeg, webp)")),
             qPrintable(report.first().informative));
    QCOMPARE(archiveData(m_root.filePath("mixed.cbz")).size(), 2);
    action->click();
    QCOMPARE(list()->count(), 4);
    QCOMPARE(list()->item(1)->text(), QStringLiteral("page1b.jpeg"));
    QCOMPARE(list()->item(3)->text(), QStringLiteral("page3.webp"));
    QVERIFY(!m_window->findChild<QWidget *>("NoticeFrame")->isVisible());

    // Without the option, the next pick lists the four types again.
    browse(folder);
    QCOMPARE(list()->count(), 2);
    m_window->findChild<QAction *>("actionListEveryType")->trigger();
    QCOMPARE(list()->count(), 4);
    browse(folder);
    QCOMPARE(list()->count(), 4);
}

// A folder whose pages sit in sub-folders is offered as one book, without a
// box to answer; so are folders dropped together.
void tst_PageList::subFoldersOfferedAsChapters()
{
    const QString folder = m_root.filePath("volume");
    for (const char *chapter : {"Chapter 10", "Chapter 9"}) {
        QVERIFY(QDir().mkpath(folder + "/" + chapter));
        QVERIFY(writePages(folder + "/" + chapter, 2));
    }
    browse(folder);
    QCOMPARE(list()->count(), 0);
    // The strip speaks of this folder, and so does the path.
    QCOMPARE(m_window->findChild<QLineEdit *>("ImagesPath")->text(), folder);
    auto *offer = m_window->findChild<QPushButton *>("NoticeChapters");
    QVERIFY(offer->isVisible());
    QCOMPARE(offer->text(), QStringLiteral("List the pages of its 2 sub-folders as chapters"));
    offer->click();
    // Chapters are listed in the background.
    QTRY_COMPARE(list()->count(), 4);
    QCOMPARE(list()->item(0)->text(), QStringLiteral("Chapter 9/page1.png"));
    QCOMPARE(list()->item(2)->text(), QStringLiteral("Chapter 10/page1.png"));
    QCOMPARE(list()->item(2)->data(PageRow::ChapterRole).toString(), QStringLiteral("Chapter 10"));
    QVERIFY(!offer->isVisible());

    // Folders dropped together: one book of chapters, or books of the queue.
    QMimeData data;
    data.setUrls(
        {QUrl::fromLocalFile(folder + "/Chapter 10"), QUrl::fromLocalFile(folder + "/Chapter 9")});
    const auto dropBoth = [&] {
        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(m_window, &enter);
        QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(m_window, &drop);
    };
    {
        MessageBoxAnswerer boxes([] {});
        boxes.pressButton(QStringLiteral("One Book of Chapters"));
        dropBoth();
        QTRY_COMPARE(boxes.seen().size(), 1);
    }
    QTRY_COMPARE(list()->count(), 4);
    QCOMPARE(list()->item(0)->text(), QStringLiteral("Chapter 9/page1.png"));
    auto *queue = m_window->findChild<QAbstractItemView *>("QueueView");
    const int queued = queue->model()->rowCount();
    MessageBoxAnswerer boxes([] {});
    boxes.pressButton(QStringLiteral("One Book Each, Queued"));
    dropBoth();
    QTRY_COMPARE(queue->model()->rowCount(), queued + 2);
    QCOMPARE(boxes.seen().size(), 1);
    QCOMPARE(list()->count(), 4);
}

// An archive opened as a folder is: its pages listed, its ComicInfo.xml in
// The radio of the half that comes first and the book's reading direction
// follow each other: the source's Manga field, the dialog, the radio.
void tst_PageList::firstHalfFollowsTheReadingDirection()
{
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    noiseImage(40, 60).save(&buffer, "png");
    const auto radio = [this](const char *name) {
        return m_window->findChild<QRadioButton *>(name);
    };
    const QString western = m_root.filePath("Western.cbz");
    QVERIFY(writeFile(western, storedZip({{"p1.png", png},
                                          {"ComicInfo.xml", "<ComicInfo><Manga>No</Manga>"
                                                            "</ComicInfo>"}})));
    m_window->openFromOutside(western);
    QTRY_COMPARE(list()->count(), 1); // an archive is listed in the background
    QVERIFY(radio("ImageCutFirstPageLeft")->isChecked());

    // Right to left in the dialog: the right half first.
    ModalAnswer dialog(
        [](QWidget *modal) { return modal->findChild<QComboBox *>("ReadingDirection"); },
        [](QWidget *modal) {
            modal->findChild<QComboBox *>("ReadingDirection")->setCurrentIndex(2);
            static_cast<QDialog *>(modal)->accept();
        });
    m_window->findChild<QAction *>("actionComicInfo")->trigger();
    QVERIFY(dialog.answered());
    QVERIFY(radio("ImageCutFirstPageRight")->isChecked());

    // The left half chosen: the book is written as read left to right.
    m_window->findChild<QCheckBox *>("ImageCutDoublePages")->click();
    radio("ImageCutFirstPageLeft")->click();
    const QString target = m_root.filePath("Made.cbz");
    makeCbz(m_window, target);
    const QList<QByteArray> entries = archiveData(target);
    QVERIFY(!entries.isEmpty());
    QVERIFY2(entries.last().contains("<Manga>No</Manga>"), entries.last().constData());

    // A manga says right to left for itself; the folder after it says
    // nothing, and has the half the user chose last: the left.
    const QString manga = m_root.filePath("Manga.cbz");
    QVERIFY(writeFile(manga, storedZip({{"p1.png", png},
                                        {"ComicInfo.xml", "<ComicInfo><Manga>YesAndRightToLeft"
                                                          "</Manga></ComicInfo>"}})));
    m_window->openFromOutside(manga);
    QTRY_VERIFY(radio("ImageCutFirstPageRight")->isChecked());
    const QString plain = m_root.filePath("Plain");
    QVERIFY(QDir().mkpath(plain));
    QVERIFY(writePages(plain, 1));
    browse(plain);
    QVERIFY(radio("ImageCutFirstPageLeft")->isChecked());
    // Its Comic information still says nothing of it.
    int said = -1;
    ModalAnswer look(
        [](QWidget *modal) { return modal->findChild<QComboBox *>("ReadingDirection"); },
        [&said](QWidget *modal) {
            said = modal->findChild<QComboBox *>("ReadingDirection")->currentIndex();
            static_cast<QDialog *>(modal)->reject();
        });
    m_window->findChild<QAction *>("actionComicInfo")->trigger();
    QVERIFY(look.answered());
    QCOMPARE(said, 0);
}

// the dialog and in the new archive, which is never offered its place.
void tst_PageList::archiveRepackedWithItsComicInfo()
{
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    noiseImage(40, 60).save(&buffer, "png");
    const QString archive = m_root.filePath("Saga 7.cbz");
    QVERIFY(writeFile(archive, storedZip({{"b/p2.png", png},
                                          {"ComicInfo.xml", "<ComicInfo><Title>The Long Way</Title>"
                                                            "<Genre>Noir</Genre></ComicInfo>"},
                                          {"a/p1.png", png}})));
    m_window->openFromOutside(archive);
    QTRY_COMPARE(list()->count(), 2);
    QCOMPARE(list()->item(0)->text(), QStringLiteral("a/p1.png"));
    // An entry's path names its archive, then the entry.
    QCOMPARE(list()->item(0)->data(Qt::UserRole).toString(), archive + "/a/p1.png");
    QCOMPARE(m_window->findChild<QLineEdit *>("ImagesPath")->text(), archive);

    QString title;
    bool written = false;
    ModalAnswer dialog([](QWidget *modal) { return modal->findChild<QLineEdit *>("Title"); },
                       [&](QWidget *modal) {
                           title = modal->findChild<QLineEdit *>("Title")->text();
                           written = modal->findChild<QCheckBox *>("WriteComicInfo")->isChecked();
                           static_cast<QDialog *>(modal)->reject();
                       });
    m_window->findChild<QAction *>("actionComicInfo")->trigger();
    QVERIFY(dialog.answered());
    QCOMPARE(title, QStringLiteral("The Long Way"));
    QVERIFY(written);

    DialogSeen seen;
    const QString target = m_root.filePath("Saga 7 (1).cbz");
    makeCbz(m_window, target, &seen);
    QCOMPARE(QFileInfo(seen.suggested).fileName(), QStringLiteral("Saga 7 (1).cbz"));
    const QList<QByteArray> entries = archiveData(target);
    QCOMPARE(entries.size(), 3);
    QVERIFY(entries.last().contains("<Genre>Noir</Genre>"));
}

void tst_PageList::emptyFolderAfterFullOne()
{
    const QString full = m_root.filePath("full");
    const QString empty = m_root.filePath("empty");
    QVERIFY(QDir().mkpath(full) && QDir().mkpath(empty));
    QVERIFY(writePages(full, 2));
    QFile(empty + "/notes.txt").open(QIODevice::WriteOnly);

    browse(full);
    list()->item(1)->setCheckState(Qt::Unchecked);
    BoxSeen box;
    browse(empty, nullptr, &box);
    QCOMPARE(box.title, QStringLiteral("Warning"));
    QCOMPARE(box.text, QStringLiteral("No image file found! (jpg,png,bmp,tif)"));
    QCOMPARE(list()->count(), 0);
    QVERIFY(preview()->GetImage().isNull());
    QCOMPARE(label("OriginalImageWidth"), QString());
    QCOMPARE(label("OriginalImageHeight"), QString());
    QVERIFY(!frameEnabled("OptionsFrame"));
    QVERIFY(!frameEnabled("MakeCBZFrame"));
    QCOMPARE(m_window->findChild<QLineEdit *>("ImagesPath")->text(), full);
    QCOMPARE(folderDialogStart(m_window), empty);
}

void tst_PageList::cancelledDialogChangesNothing()
{
    const QString folder = m_root.filePath("kept");
    QVERIFY(QDir().mkpath(folder));
    QVERIFY(writePages(folder, 2));
    browse(folder);
    list()->setCurrentRow(1);

    std::unique_ptr<ModalAnswer> cancel(cancelFileDialog());
    button("BrowsePath")->click();
    QVERIFY(cancel->answered());
    QCOMPARE(list()->count(), 2);
    QCOMPARE(list()->currentRow(), 1);
    QCOMPARE(folderDialogStart(m_window), folder);
    QCOMPARE(m_window->findChild<QLineEdit *>("ImagesPath")->text(), folder);
    QVERIFY(frameEnabled("OptionsFrame"));
}

void tst_PageList::moveButtonsFollowTheRow_data()
{
    QTest::addColumn<int>("rows");
    QTest::addColumn<int>("current");
    QTest::addColumn<bool>("up");
    QTest::addColumn<bool>("down");
    QTest::newRow("only row") << 1 << 0 << false << false;
    QTest::newRow("first row") << 5 << 0 << false << true;
    QTest::newRow("middle row") << 5 << 2 << true << true;
    QTest::newRow("last row") << 5 << 4 << true << false;
}

void tst_PageList::moveButtonsFollowTheRow()
{
    QFETCH(int, rows);
    QFETCH(int, current);
    QFETCH(bool, up);
    QFETCH(bool, down);

    const QString folder = m_root.filePath(QStringLiteral("rows%1-%2").arg(rows).arg(current));
    QVERIFY(QDir().mkpath(folder));
    QVERIFY(writePages(folder, rows));
    browse(folder);
    list()->setCurrentRow(current);
    QTRY_COMPARE_WITH_TIMEOUT(shownSize(), pageSize(current), ShownWithin);
    QTRY_COMPARE_WITH_TIMEOUT(label("OriginalImageWidth"),
                              QString::number(pageSize(current).width()), ShownWithin);
    QCOMPARE(button("MoveImageUp")->isEnabled(), up);
    QCOMPARE(button("MoveImageDown")->isEnabled(), down);
}

void tst_PageList::moveRowUp()
{
    const QString folder = m_root.filePath("move");
    QVERIFY(QDir().mkpath(folder));
    QVERIFY(writePages(folder, 5));
    browse(folder);
    list()->setCurrentRow(3);
    list()->item(3)->setCheckState(Qt::Unchecked);

    QSignalSpy changes(list(), &QListWidget::currentItemChanged);
    button("MoveImageUp")->click();
    // The neighbour is current for a moment, then the moved row.
    QCOMPARE(changes.count(), 2);
    QCOMPARE(list()->currentRow(), 2);
    QCOMPARE(list()->item(2)->text(), QStringLiteral("page4.png"));
    QCOMPARE(list()->item(2)->checkState(), Qt::Unchecked);
    QCOMPARE(list()->item(3)->text(), QStringLiteral("page3.png"));
    QTRY_COMPARE_WITH_TIMEOUT(shownSize(), pageSize(3), ShownWithin);
    QVERIFY(button("MoveImageUp")->isEnabled());
    QVERIFY(button("MoveImageDown")->isEnabled());
}

void tst_PageList::downThenUpRestores()
{
    const QString folder = m_root.filePath("roundtrip");
    QVERIFY(QDir().mkpath(folder));
    QVERIFY(writePages(folder, 4));
    browse(folder);
    list()->setCurrentRow(1);
    auto order = [this] {
        QStringList texts;
        for (int i = 0; i < list()->count(); ++i)
            texts << list()->item(i)->text();
        return texts;
    };
    const QStringList before = order();
    button("MoveImageDown")->click();
    QCOMPARE(list()->currentRow(), 2);
    QVERIFY(order() != before);
    button("MoveImageUp")->click();
    QCOMPARE(order(), before);
    QCOMPARE(list()->currentRow(), 1);
    QTRY_COMPARE_WITH_TIMEOUT(shownSize(), pageSize(1), ShownWithin);
}

void tst_PageList::unloadablePage_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::newRow("zero bytes") << QByteArray();
    QTest::newRow("text") << QByteArray("this is not a picture\n");
    QImage page(64, 64, QImage::Format_RGB32);
    page.fill(Qt::darkCyan);
    QByteArray jpeg;
    QBuffer buffer(&jpeg);
    buffer.open(QIODevice::WriteOnly);
    page.save(&buffer, "JPG");
    QTest::newRow("truncated jpeg") << jpeg.left(20);
}

void tst_PageList::unloadablePage()
{
    QFETCH(QByteArray, content);
    const QString folder = m_root.filePath(QTest::currentDataTag());
    QVERIFY(QDir().mkpath(folder));
    QVERIFY(writePages(folder, 1));
    QFile bad(folder + "/page2 bad é.jpg");
    QVERIFY(bad.open(QIODevice::WriteOnly));
    bad.write(content);
    bad.close();
    QVERIFY(writeImage(folder + "/page3.png", 30, 30, Qt::blue));

    browse(folder);
    QCOMPARE(list()->item(1)->text(), QFileInfo(bad).fileName());
    QTRY_VERIFY(!preview()->GetImage().isNull());
    const qint64 shownKey = preview()->GetImage().cacheKey();

    MessageBoxAnswerer boxes;
    list()->setCurrentRow(1);
    QTRY_COMPARE(boxes.seen().size(), 1);
    const BoxSeen box = boxes.seen().first();
    QCOMPARE(box.title, QStringLiteral("Warning"));
    QCOMPARE(box.text,
             QStringLiteral("Unable to load image '%1'").arg(QFileInfo(bad).absoluteFilePath()));
    QVERIFY(!box.informative.isEmpty()); // the reason
    QCOMPARE(preview()->GetImage().cacheKey(), shownKey);
    QTRY_COMPARE_WITH_TIMEOUT(label("OriginalImageWidth"), QString::number(pageSize(0).width()),
                              ShownWithin);
    // The buttons belong to the row that is current, a middle one.
    QVERIFY(button("MoveImageUp")->isEnabled());
    QVERIFY(button("MoveImageDown")->isEnabled());
    QCOMPARE(list()->currentRow(), 1);
    QCOMPARE(list()->item(1)->checkState(), Qt::Checked);
}

// The preview shows a JPEG from a quick decode, which passes over some bad
// codes without a word; the page is checked once shown, and the damage told.
void tst_PageList::damageFoundAfterShowingIsTold()
{
    // Flat colours and lines, whose Huffman tables leave codes unused.
    QImage drawn(480, 720, QImage::Format_RGB32);
    drawn.fill(QColor(250, 246, 236));
    QPainter painter(&drawn);
    painter.setPen(QPen(Qt::black, 3));
    for (int panel = 0; panel < 6; ++panel) {
        const QRect box(20 + (panel % 2) * 225, 20 + (panel / 2) * 230, 215, 220);
        painter.setBrush(QColor::fromHsv(panel * 60, 60, 230));
        painter.drawRect(box);
        painter.drawEllipse(box.adjusted(30, 40, -30, -30));
        painter.drawText(box.adjusted(10, 10, -10, -10), QStringLiteral("BAM!"));
    }
    painter.end();
    QByteArray jpeg;
    QBuffer buffer(&jpeg);
    buffer.open(QIODevice::WriteOnly);
    drawn.save(&buffer, "JPG");
    const QString folder = m_root.filePath("damaged");
    QVERIFY(QDir().mkpath(folder));
    QVERIFY(writePages(folder, 1));
    const QString bad = folder + "/page2.jpg";
    const int scan = jpeg.indexOf("\xFF\xDA") + 20;
    // A change the quick decode does not hear: it shows a picture.
    bool found = false;
    for (quint32 seed = 1; seed < 200 && !found; ++seed) {
        QRandomGenerator random(seed);
        QByteArray changed = jpeg;
        const int bit = scan * 8 + int(random.bounded((jpeg.size() - scan - 4) * 8));
        changed[bit / 8] = char(changed[bit / 8] ^ (1 << (bit % 8)));
        QVERIFY(writeFile(bad, changed));
        found = PageReader::readPreviewPicture(PageLocation(bad), QSize(200, 200), 200).isValid() &&
                !PageReader::check(PageLocation(bad), 200).isEmpty();
    }
    QVERIFY(found);

    browse(folder);
    QTRY_VERIFY(!preview()->GetImage().isNull());
    MessageBoxAnswerer boxes;
    list()->setCurrentRow(1);
    QTRY_COMPARE(boxes.seen().size(), 1);
    QCOMPARE(boxes.seen().first().text, QStringLiteral("Unable to load image '%1'").arg(bad));
    QVERIFY2(boxes.seen().first().informative.contains(QStringLiteral("damaged")),
             qPrintable(boxes.seen().first().informative));
}

void tst_PageList::staleButtonAtTheEnd()
{
    const QString folder = m_root.filePath("stale");
    QVERIFY(QDir().mkpath(folder));
    QVERIFY(writePages(folder, 1));
    QFile(folder + "/page2.jpg").open(QIODevice::WriteOnly); // empty: cannot load

    browse(folder);
    QTRY_VERIFY(!preview()->GetImage().isNull());
    MessageBoxAnswerer boxes;
    list()->setCurrentRow(1);
    QTRY_COMPARE(boxes.seen().size(), 1);
    // The buttons belong to the last row although its page did not load:
    // nothing moves past the end, and the preview keeps the last good page.
    QVERIFY(!button("MoveImageDown")->isEnabled());
    QVERIFY(button("MoveImageUp")->isEnabled());
    QCOMPARE(list()->currentRow(), 1);
    QCOMPARE(list()->item(1)->text(), QStringLiteral("page2.jpg"));
    QVERIFY(!preview()->GetImage().isNull());
}

void tst_PageList::keyboard_data()
{
    QTest::addColumn<int>("startRow");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<QStringList>("order");
    QTest::addColumn<int>("currentRow");
    QTest::addColumn<QList<bool>>("checked");

    const QList<bool> all{true, true, true};
    QTest::newRow("Alt+Up") << 2 << int(Qt::Key_Up) << int(Qt::AltModifier)
                            << QStringList{"page1.png", "page3.png", "page2.png"} << 1 << all;
    QTest::newRow("Alt+Down") << 0 << int(Qt::Key_Down) << int(Qt::AltModifier)
                              << QStringList{"page2.png", "page1.png", "page3.png"} << 1 << all;
    QTest::newRow("Alt+Up on the first row")
        << 0 << int(Qt::Key_Up) << int(Qt::AltModifier)
        << QStringList{"page1.png", "page2.png", "page3.png"} << 0 << all;
    QTest::newRow("Space") << 1 << int(Qt::Key_Space) << int(Qt::NoModifier)
                           << QStringList{"page1.png", "page2.png", "page3.png"} << 1
                           << QList<bool>{true, false, true};
}

void tst_PageList::keyboard()
{
    QFETCH(int, startRow);
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(QStringList, order);
    QFETCH(int, currentRow);
    QFETCH(QList<bool>, checked);
    const QString folder = m_root.filePath(QStringLiteral("keys %1").arg(QTest::currentDataTag()));
    QVERIFY(QDir().mkpath(folder));
    QVERIFY(writePages(folder, 3));
    browse(folder);
    list()->setCurrentRow(startRow);
    QApplication::setActiveWindow(m_window);
    list()->setFocus();
    QVERIFY(QTest::qWaitForWindowActive(m_window));
    QTest::keyClick(list(), Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    const auto texts = [this] {
        QStringList seen;
        for (int row = 0; row < list()->count(); ++row)
            seen << list()->item(row)->text();
        return seen;
    };
    // A button's shortcut clicks it the way it is shown pressed: a moment later.
    QTRY_COMPARE(texts(), order);
    QTRY_COMPARE(list()->currentRow(), currentRow);
    QList<bool> seenChecked;
    for (int row = 0; row < list()->count(); ++row)
        seenChecked << (list()->item(row)->checkState() == Qt::Checked);
    QCOMPARE(seenChecked, checked);
    QTRY_COMPARE_WITH_TIMEOUT(shownSize(), pageSize(order.at(currentRow).mid(4, 1).toInt() - 1),
                              ShownWithin);
}

void tst_PageList::draggedRowKeepsButtonsRight()
{
    const QString folder = m_root.filePath("dragged");
    QVERIFY(QDir().mkpath(folder));
    QVERIFY(writePages(folder, 4));
    browse(folder);
    QCOMPARE(list()->dragDropMode(), QAbstractItemView::InternalMove);
    // What a drop of the first row after the last does to the list.
    QVERIFY(list()->model()->moveRow(QModelIndex(), 0, QModelIndex(), 4));
    QCOMPARE(list()->item(3)->text(), QStringLiteral("page1.png"));
    QCOMPARE(list()->currentRow(), 3);
    QVERIFY(button("MoveImageUp")->isEnabled());
    QVERIFY(!button("MoveImageDown")->isEnabled());
    QTRY_COMPARE_WITH_TIMEOUT(shownSize(), pageSize(0), ShownWithin);
}

void tst_PageList::tooltipTellsNameAndSize()
{
    const QString folder = m_root.filePath("tooltips");
    QVERIFY(QDir().mkpath(folder));
    QVERIFY(writePages(folder, 2));
    QVERIFY(writeFile(folder + "/page3 broken.png", "not a picture"));
    browse(folder);
    QCOMPARE(list()->textElideMode(), Qt::ElideMiddle);
    QCOMPARE(list()->item(1)->toolTip(), QStringLiteral("page2.png\n101 × 51 pixels"));
    QCOMPARE(list()->item(2)->toolTip(), QStringLiteral("page3 broken.png"));
}

void tst_PageList::foldersFromOutside_data()
{
    QTest::addColumn<QString>("given"); // relative to the test folder
    QTest::addColumn<bool>("dropped");
    QTest::addColumn<int>("currentRow");
    QTest::newRow("folder dropped") << "outside" << true << 0;
    QTest::newRow("page dropped") << "outside/page3.png" << true << 2;
    QTest::newRow("folder on the command line") << "outside" << false << 0;
    QTest::newRow("page on the command line") << "outside/page2.png" << false << 1;
}

void tst_PageList::foldersFromOutside()
{
    QFETCH(QString, given);
    QFETCH(bool, dropped);
    QFETCH(int, currentRow);
    const QString folder = m_root.filePath("outside");
    QVERIFY(QDir().mkpath(folder));
    QVERIFY(writePages(folder, 3));
    const QString path = m_root.filePath(given);
    if (dropped) {
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(path)});
        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(m_window, &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(m_window, &drop);
    } else {
        m_window->openFromOutside(path);
    }
    QCOMPARE(list()->count(), 3);
    QCOMPARE(list()->currentRow(), currentRow);
    QCOMPARE(m_window->findChild<QLineEdit *>("ImagesPath")->text(), folder);
    QCOMPARE(folderDialogStart(m_window), folder);
    QVERIFY(frameEnabled("OptionsFrame"));
}

void tst_PageList::selectImageItem()
{
    const QString folder = m_root.filePath("ten");
    QVERIFY(QDir().mkpath(folder));
    QVERIFY(writePages(folder, 10));
    browse(folder);
    for (int row : {0, 1, 3})
        list()->item(row)->setCheckState(Qt::Unchecked);
    auto *bar = m_window->findChild<QProgressBar *>("MakeCBZProgressBar");
    bar->setRange(0, 10);
    m_window->findChild<ShellTaskbarProgress *>()->setRange(0, 10);

    QVERIFY(QMetaObject::invokeMethod(m_window, "SelectImageItem", Q_ARG(unsigned int, 4)));
    QCOMPARE(list()->currentRow(), 4);
    QTRY_COMPARE_WITH_TIMEOUT(shownSize(), pageSize(4), ShownWithin);
    QCOMPARE(bar->value(), 5);
    QCOMPARE(m_window->findChild<ShellTaskbarProgress *>()->value(), 5);

    // Already current: the displays move, nothing is loaded again.
    QSignalSpy changes(list(), &QListWidget::currentItemChanged);
    QVERIFY(QMetaObject::invokeMethod(m_window, "SelectImageItem", Q_ARG(unsigned int, 4)));
    QCOMPARE(changes.count(), 0);
    QCOMPARE(bar->value(), 5);
}

// Files that only look like pages, many of them, with names from everywhere:
// listed all the same, and the first one's failure reported once.
void tst_PageList::tenThousandUnreadablePages()
{
    const QString folder = m_root.filePath("ten thousand");
    QVERIFY(QDir().mkpath(folder));
    for (int i = 1; i <= 10000; ++i) {
        QFile file(QStringLiteral("%1/ページ %2 🎨.jpg").arg(folder).arg(i));
        QVERIFY(file.open(QIODevice::WriteOnly));
    }
    MessageBoxAnswerer boxes;
    QVERIFY(pickFolder(m_window, folder));
    QCOMPARE(list()->count(), 10000);
    QCOMPARE(list()->item(9999)->text(), QStringLiteral("ページ 10000 🎨.jpg"));
    QCOMPARE(list()->currentRow(), 0);
    QTRY_COMPARE(boxes.seen().size(), 1);
    QCOMPARE(boxes.seen().first().text,
             QStringLiteral("Unable to load image '%1/ページ 1 🎨.jpg'").arg(folder));
    QVERIFY(preview()->GetImage().isNull());
}

// Named in the strip above the list, which stays until closed, without a
// box that must be answered first.
void tst_PageList::troubledFilesInTheNoticeStrip()
{
    const QString folder = m_root.filePath("troubled");
    QVERIFY(QDir().mkpath(folder));
    QVERIFY(writePages(folder, 2));
    // QDir cannot name it to remove it with the temporary folder.
    const struct Odd
    {
        QByteArray path;
        ~Odd() { std::remove(path.constData()); }
    } odd{QFile::encodeName(folder) + "/b \xff.png"};
    FILE *file = std::fopen(odd.path.constData(), "w");
    QVERIFY(file);
    std::fclose(file);
    QVERIFY(QFile::link("page1.png", folder + "/link.png"));
    MessageBoxAnswerer boxes;
    browse(folder);
    QCOMPARE(list()->count(), 2);
    auto *strip = m_window->findChild<QFrame *>("NoticeFrame");
    QVERIFY(strip->isVisible());
    const QString notice = label("NoticeText");
    QVERIFY2(notice.contains(QStringLiteral("b \uFFFD.png")) && notice.contains("not valid text"),
             qPrintable(notice));
    QVERIFY2(notice.contains("Symbolic links are not listed: link.png"), qPrintable(notice));
    QVERIFY(boxes.seen().isEmpty());
    m_window->findChild<QAbstractButton *>("NoticeClose")->click();
    QVERIFY(!strip->isVisible());

    const QString clean = m_root.filePath("clean");
    QVERIFY(QDir().mkpath(clean));
    QVERIFY(writePages(clean, 1));
    QFile::remove(folder + "/link.png");
    browse(folder);
    QVERIFY(strip->isVisible());
    browse(clean);
    QVERIFY(!strip->isVisible());
}

// An archive dropped on the window leaves the list as it was and says why,
// once the drop is over.
void tst_PageList::droppedFileThatIsNoPage()
{
    const QString folder = m_root.filePath("kept");
    QVERIFY(QDir().mkpath(folder));
    QVERIFY(writePages(folder, 3));
    browse(folder);
    const QString notes = m_root.filePath("notes.txt");
    const QString archive = m_root.filePath("Book.cbz");
    QVERIFY(writeFile(notes, "text"));
    QVERIFY(writeFile(archive, "PK, and no more"));
    for (const QString &path : {notes, archive}) {
        MessageBoxAnswerer boxes;
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(path)});
        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(m_window, &enter);
        QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(m_window, &drop);
        QVERIFY(boxes.seen().isEmpty()); // not inside the drop
        QTRY_COMPARE(boxes.seen().size(), 1);
        const QString said = boxes.seen().first().text;
        QVERIFY2(said.contains(path == notes ? "neither a folder, a comic archive nor a page"
                                             : "Book.cbz cannot be read: "),
                 qPrintable(said));
        QCOMPARE(list()->count(), 3);
        QCOMPARE(folderDialogStart(m_window), folder);
    }
}

void tst_PageList::newestPageIsShownLast_data()
{
    QTest::addColumn<int>("pages");
    QTest::addColumn<int>("stop"); // the quick page's row, where the key stops
    QTest::newRow("the last page") << 7 << 6;
    // While rows pass, the pages ahead are read before the current one: the
    // one the key stops on must still come.
    QTest::newRow("pages beyond it") << 12 << 6;
}

// Rows changed faster than pages are read: slow pages asked for earlier
// finish after the quick one asked for last, and must not be shown.
void tst_PageList::newestPageIsShownLast()
{
    QFETCH(int, pages);
    QFETCH(int, stop);
    const QString folder = m_root.filePath(QStringLiteral("held key %1").arg(pages));
    QVERIFY(QDir().mkpath(folder));
    const QImage slow = noiseImage(3000, 4000);
    for (int i = 0; i < pages; ++i) {
        const QString name = QStringLiteral("%1/p%2.png").arg(folder).arg(i + 1, 2, 10, QChar('0'));
        QVERIFY(i == stop ? writeImage(name, 77, 33, Qt::red) : slow.save(name));
    }
    browse(folder);
    for (int row = 1; row <= stop; ++row) {
        list()->setCurrentRow(row);
        QTest::qWait(5); // a held arrow key
    }
    QTRY_COMPARE_WITH_TIMEOUT(shownSize(), QSize(77, 33), 30000);
    // The slow pages still being read finish well within this; none may
    // take the newest one's place.
    QTest::qWait(3000);
    QCOMPARE(shownSize(), QSize(77, 33));
    QCOMPARE(label("OriginalImageWidth"), QStringLiteral("77"));
}

// A page turned from the keys is shown turned and marked; the turn moves
// with its row; another folder asks before forgetting it.
void tst_PageList::pageTreatmentsMoveWithTheirRows()
{
    const QString folder = m_root.filePath("treated");
    QVERIFY(QDir().mkpath(folder));
    QVERIFY(writePages(folder, 3));
    browse(folder);
    list()->setCurrentRow(1);
    QTRY_COMPARE_WITH_TIMEOUT(shownSize(), pageSize(1), ShownWithin);
    QApplication::setActiveWindow(m_window);
    QVERIFY(QTest::qWaitForWindowActive(m_window));
    QTest::keySequence(m_window, QKeySequence(Qt::CTRL | Qt::Key_R));
    QTRY_COMPARE_WITH_TIMEOUT(shownSize(), pageSize(1).transposed(), ShownWithin);
    QVERIFY2(list()->item(1)->toolTip().contains(QString::fromUtf8("turned 90°")),
             qPrintable(list()->item(1)->toolTip()));
    QVERIFY(list()->item(1)->data(PageRow::TreatmentRole).isValid()); // the row's mark

    button("MoveImageUp")->click();
    QCOMPARE(list()->item(0)->text(), QStringLiteral("page2.png"));
    QCOMPARE(PageRow::treatmentOf(list()->item(0)).rotation, 90);
    QTRY_COMPARE_WITH_TIMEOUT(shownSize(), pageSize(1).transposed(), ShownWithin);
    list()->setCurrentRow(1);
    QTRY_COMPARE_WITH_TIMEOUT(shownSize(), pageSize(0),
                              ShownWithin); // the other page is not turned

    const QString other = m_root.filePath("other");
    QVERIFY(QDir().mkpath(other));
    QVERIFY(writePages(other, 1));
    for (const char *answer : {"&No", "&Yes"}) {
        std::unique_ptr<ModalAnswer> dialog(chooseInFileDialog(other));
        MessageBoxAnswerer boxes;
        boxes.pressButton(answer);
        button("BrowsePath")->click();
        QVERIFY(dialog->answered());
        QCOMPARE(boxes.seen().size(), 1);
        QCOMPARE(list()->count(), answer == QByteArray("&No") ? 3 : 1);
    }
}

// Blank pages are marked and unchecked as they are found, a page checked
// again is kept, and the rest are checked again when blank pages are no
// longer left out; a straightened page's row says its slant.
void tst_PageList::scansCleanedUpInTheList()
{
    const QString folder = m_root.filePath("scans");
    QVERIFY(QDir().mkpath(folder));
    QVERIFY(writeImage(folder + "/1.png", 600, 900, Qt::white));
    QVERIFY(turnedOnPaper(drawComicPage(2, QSize(1200, 1800)), 2.0).save(folder + "/2.png"));
    QVERIFY(writeImage(folder + "/3.png", 600, 900, QColor(250, 250, 245)));
    browse(folder);
    const auto blankMark = [this](int row) {
        return list()->item(row)->data(PageRow::ScanMarkRole).toString();
    };
    m_window->findChild<QCheckBox *>("ScanLeaveOutBlank")->click();
    QTRY_COMPARE(blankMark(2), QStringLiteral("blank"));
    QTRY_COMPARE(blankMark(0), QStringLiteral("blank"));
    QCOMPARE(list()->item(0)->checkState(), Qt::Unchecked);
    QCOMPARE(list()->item(2)->checkState(), Qt::Unchecked);
    QCOMPARE(list()->item(1)->checkState(), Qt::Checked);
    QVERIFY(blankMark(1).isEmpty());

    list()->item(0)->setCheckState(Qt::Checked); // the user keeps it
    QVERIFY(PageRow::treatmentOf(list()->item(0)).keptThoughBlank);
    m_window->findChild<QCheckBox *>("ScanLeaveOutBlank")->click();
    QCOMPARE(list()->item(2)->checkState(), Qt::Checked);
    QVERIFY(blankMark(2).isEmpty());
    QCOMPARE(list()->item(0)->checkState(), Qt::Checked);
    QVERIFY(PageRow::treatmentOf(list()->item(0)).keptThoughBlank);

    m_window->findChild<QCheckBox *>("ScanStraighten")->click();
    list()->setCurrentRow(1);
    QTRY_COMPARE(blankMark(1), QString::fromUtf8("2.0°"));
    QVERIFY2(list()->item(1)->toolTip().contains(QString::fromUtf8("straightened by 2.0°")),
             qPrintable(list()->item(1)->toolTip()));
    m_window->findChild<QCheckBox *>("ScanStraighten")->click();
    QVERIFY(blankMark(1).isEmpty()); // no slant said of a page no longer straightened
}

// View > Actual Size reads the page whole, to be judged pixel by pixel,
// and is remembered; back to the fitted view, it is read at the
// preview's size again.
void tst_PageList::actualSizeReadsThePageWhole()
{
    const QString folder = m_root.filePath("Large");
    QVERIFY(QDir().mkpath(folder));
    QVERIFY(noiseImage(2400, 1600).save(folder + "/p1.png"));
    browse(folder);
    QTRY_VERIFY(!shownSize().isEmpty());
    QVERIFY(shownSize().width() < 2400);
    auto *actual = m_window->findChild<QAction *>("actionActualSize");
    actual->trigger();
    QVERIFY(preview()->actualSize());
    QTRY_COMPARE_WITH_TIMEOUT(shownSize(), QSize(2400, 1600), ShownWithin);
    {
        Quirevale again;
        QVERIFY(again.findChild<QAction *>("actionActualSize")->isChecked());
    }
    actual->trigger();
    QTRY_VERIFY(shownSize().width() < 2400);
}

// With long strips cut, the preview draws over a tile the cuts that the
// build and the listing make on it; a tile left uncut parts the strip and
// shows none, nor does an ordinary page.
void tst_PageList::stripCutsDrawnOverTheirTiles()
{
    const QString folder = m_root.filePath("Webtoon");
    QVERIFY(QDir().mkpath(folder));
    QVector<BuildPage> tiles;
    for (int tile = 0; tile < 3; ++tile) {
        const QString file = folder + QStringLiteral("/%1.png").arg(tile + 1);
        QVERIFY(drawWebtoonTile(5, 400, 2500, tile).save(file));
        tiles.append({tile, PageLocation(file)});
    }
    QVERIFY(drawComicPage(4, QSize(600, 900)).save(folder + "/4.png"));
    browse(folder);
    // Turned off while the cuts are looked for, and on again: found all the same.
    auto *cutStrips = m_window->findChild<QCheckBox *>("CutLongStrips");
    cutStrips->click();
    cutStrips->click();
    cutStrips->click();
    m_window->findChild<QSpinBox *>("StripHeight")->setValue(1000);
    PageOptions options;
    options.CutLongStrips = true;
    options.StripHeight = 1000;
    const LongStrip::Forecast forecast = LongStrip::forecast(
        tiles, LongStrip::runsIn(tiles, options.PdfResolution, 2).value(0), options, 2);
    QVector<QPair<int, bool>> onSecond;
    for (const LongStrip::Cut &cut : forecast.cuts) {
        if (cut.tile == 1)
            onSecond.append({cut.row, cut.throughArt});
    }
    QVERIFY(onSecond.size() >= 2);
    list()->setCurrentRow(1);
    QTRY_COMPARE(preview()->stripCuts(), onSecond);

    QApplication::setActiveWindow(m_window);
    for (QAction *action : m_window->actions()) {
        if (action->text() == QLatin1String("Never Cut"))
            action->trigger();
    }
    QCOMPARE(PageRow::treatmentOf(list()->item(1)).cut, PageTreatment::NeverCut);
    QTRY_VERIFY(preview()->stripCuts().isEmpty());
    list()->setCurrentRow(3);
    QTRY_COMPARE(label("OriginalImageHeight"), QStringLiteral("900"));
    QVERIFY(preview()->stripCuts().isEmpty());
}

// A build that straightens its pages leaves each row saying the slant it
// found, shown in the preview or not, and the one shown as it was.
void tst_PageList::aBuildSaysItsSlantsOnEveryRow()
{
    const QString folder = m_root.filePath("askew");
    QVERIFY(QDir().mkpath(folder));
    const double slants[] = {1.5, -2.0, 2.5};
    for (int i = 0; i < 3; ++i)
        QVERIFY(turnedOnPaper(drawComicPage(i + 1, QSize(1000, 1500)), slants[i])
                    .save(QStringLiteral("%1/%2.png").arg(folder).arg(i + 1)));
    browse(folder);
    m_window->findChild<QCheckBox *>("ScanStraighten")->click();
    const auto mark = [this](int row) {
        return list()->item(row)->data(PageRow::ScanMarkRole).toString();
    };
    QTRY_COMPARE(mark(0), QString::fromUtf8("1.5°"));
    QVERIFY(mark(2).isEmpty()); // not shown yet
    makeCbz(m_window, m_root.filePath("askew.cbz"));
    QCOMPARE(mark(0), QString::fromUtf8("1.5°"));
    QCOMPARE(mark(1), QString::fromUtf8("-2.0°"));
    QCOMPARE(mark(2), QString::fromUtf8("2.5°"));
    QVERIFY2(list()->item(2)->toolTip().contains(QString::fromUtf8("straightened by 2.5°")),
             qPrintable(list()->item(2)->toolTip()));
}

void tst_PageList::undoAndRedo_data()
{
    QTest::addColumn<QString>("change");
    QTest::newRow("moved by its button") << "button";
    QTest::newRow("moved by a drag") << "drag";
    QTest::newRow("unchecked") << "uncheck";
    QTest::newRow("turned") << "turn";
    QTest::newRow("two changes") << "uncheck, turn";
}

// What the user does to the rows goes back with Ctrl+Z and comes again with
// Ctrl+Shift+Z or Ctrl+Y, the preview following; listing another book
// leaves nothing to undo.
void tst_PageList::undoAndRedo()
{
    QFETCH(QString, change);
    const QString folder = m_root.filePath("undo");
    QVERIFY(QDir().mkpath(folder));
    QVERIFY(writePages(folder, 4));
    browse(folder);
    list()->setCurrentRow(1);
    QApplication::setActiveWindow(m_window);
    QVERIFY(QTest::qWaitForWindowActive(m_window));
    const auto rows = [this] {
        QStringList said;
        for (int i = 0; i < list()->count(); ++i)
            said << QStringLiteral("%1 %2 %3")
                        .arg(list()->item(i)->text())
                        .arg(list()->item(i)->checkState())
                        .arg(PageRow::treatmentOf(list()->item(i)).rotation);
        return said;
    };
    const QStringList before = rows();
    const auto press = [this](const QKeySequence &keys) {
        QTest::keySequence(m_window, keys);
    };
    int steps = 0;
    for (const QString &one : change.split(", ")) {
        if (one == "button")
            button("MoveImageDown")->click();
        else if (one == "drag")
            QVERIFY(list()->model()->moveRow(QModelIndex(), 0, QModelIndex(), 4));
        else if (one == "uncheck")
            list()->item(2)->setCheckState(Qt::Unchecked);
        else if (one == "turn")
            press(QKeySequence(Qt::CTRL | Qt::Key_R));
        ++steps;
    }
    const QStringList after = rows();
    QVERIFY(after != before);
    auto *undo = m_window->findChild<QAction *>("actionUndo");
    QVERIFY(undo->isEnabled());
    for (int i = 0; i < steps; ++i)
        press(QKeySequence(Qt::CTRL | Qt::Key_Z));
    QCOMPARE(rows(), before);
    QVERIFY(!undo->isEnabled());
    // The preview shows the row the undo went back to: its page's own size
    // (what is drawn is fitted to the preview, whatever size it has).
    const int shown = list()->currentItem()->text().mid(4).section('.', 0, 0).toInt() - 1;
    QTRY_COMPARE_WITH_TIMEOUT(label("OriginalImageWidth"), QString::number(pageSize(shown).width()),
                              ShownWithin);
    QCOMPARE(label("OriginalImageHeight"), QString::number(pageSize(shown).height()));
    press(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z));
    for (int i = 1; i < steps; ++i)
        press(QKeySequence(Qt::CTRL | Qt::Key_Y));
    QCOMPARE(rows(), after);

    const QString other = m_root.filePath("undo other");
    QVERIFY(QDir().mkpath(other));
    QVERIFY(writePages(other, 2));
    {
        MessageBoxAnswerer forget; // a turned page's treatment is forgotten
        forget.pressButton("&Yes");
        browse(other);
    }
    QVERIFY(!undo->isEnabled());
    press(QKeySequence(Qt::CTRL | Qt::Key_Z));
    QCOMPARE(list()->count(), 2);
}

QUIREVALE_TEST_MAIN(tst_PageList)
#include "tst_pagelist.moc"
