// Takes a picture of the whole screen with the main window at its first-run
// size, the sample pages listed, the double-page spread selected and both
// overlays on:
//
//   build/tools/quirevale-screenshot <sample folder> <out.png> <31|58> [archive.cbz]
//
// 31 is English, 58 Italian. With an archive name, the picture is taken
// while that archive is being made, the Cancel button showing. With --book
// instead, only wide pages are cut, the scan is turned and trimmed, and the
// spread has a border of its own: the marks in the list and the preview.
// With --presets, the window is maximized, a built-in preset chosen and the
// Presets menu open. With --actual, the spread at actual size (View > Actual
// Size). With --report, the box that reports the archive made, its details
// open. With --epub, the e-ink preset for a 7 inch reader and a Kobo EPUB
// chosen, the choice of kinds open. With --kindle, the preset for Kindle by
// mail chosen. With --queue, the window on the whole
// screen and a shelf of five books in the queue, caught while the fourth
// is made, the second failed on a damaged page. With --check, File > Check
// Books… over the sample folder's books once they are checked. With
// --guide, ? > User Guide open, a word found in it.
//
//   build/tools/quirevale-screenshot --straighten <out.png>
//
// draws a page scanned askew, and beside it the page as a build with
// "Straighten pages" and "Even out the paper" makes it.
// tools/screenshots.sh runs it under xvfb-run.

#include "app/pagerow.h"
#include "app/queuemodel.h"
#include "app/quirevale.h"
#include "dialogs/checkbooksdialog.h"
#include "making/pagerecipe.h"
#include "making/pagetransform.h"
#include "making/scancleanup.h"
#include "preview/imagemanager.h"
#include "samplepages.h"
#include "testsupport.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QSettings>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QToolTip>

#include <cstdio>
#include <memory>

namespace {
// A faded page laid 2.4° askew on the scanner, and the same page as the
// build straightens it and evens out its paper, side by side.
int straightenedPicture(const QString &out)
{
    QImage scan = turnedOnPaper(drawComicPage(3, QSize(1240, 1754)), 2.4);
    {
        // Greyish paper and greyish ink, as an old page scans.
        QPainter fade(&scan);
        fade.fillRect(scan.rect(), QColor(120, 110, 90, 70));
    }
    scan = addScannerNoise(scan, 3);
    PageOptions options;
    options.ScanStraighten = true;
    options.ScanLevels = true;
    ScanCleanup cleanup;
    const QImage made =
        PageRecipe::ofPicture(scan, options).carryOut(scan, &cleanup).value(0).picture;
    if (made.isNull() || !cleanup.straightened)
        return 1;
    const int gap = 40, label = 60;
    QImage picture(scan.width() * 2 + gap * 3, scan.height() + label + gap, QImage::Format_RGB32);
    picture.fill(QColor(64, 64, 64));
    QPainter painter(&picture);
    painter.drawImage(gap, label, scan);
    painter.drawImage(scan.width() + 2 * gap, label, made);
    QFont font = painter.font();
    font.setPixelSize(34);
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(QRect(gap, 0, scan.width(), label), Qt::AlignCenter,
                     QStringLiteral("Scanned"));
    painter.drawText(QRect(scan.width() + 2 * gap, 0, scan.width(), label), Qt::AlignCenter,
                     QStringLiteral("Straightened by %1, paper evened out")
                         .arg(ScanCleanup::degreesText(cleanup.degrees)));
    painter.end();
    return picture.scaledToWidth(1280, Qt::SmoothTransformation).save(out) ? 0 : 1;
}
} // namespace

int main(int argc, char *argv[])
{
    TestSupport::isolateSettings();
    QApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
    QApplication app(argc, argv);
    if (argc == 3 && QByteArray(argv[1]) == "--straighten")
        return straightenedPicture(QString::fromLocal8Bit(argv[2]));
    if (argc != 4 && argc != 5) {
        std::fprintf(stderr, "usage: %s <sample folder> <out.png> <31|58> [archive.cbz]\n",
                     argv[0]);
        return 2;
    }
    TestSupport::clearSettings();
    QSettings().setValue(QStringLiteral("Language"), QByteArray(argv[3]).toInt());

    Quirevale window;
    window.show();
    if (!QTest::qWaitForWindowExposed(&window) ||
        !TestSupport::pickFolder(&window, QString::fromLocal8Bit(argv[1])))
        return 1;
    auto *list = window.findChild<QListWidget *>(QStringLiteral("ImagesList"));
    const QList<QListWidgetItem *> spread =
        list->findItems(QStringLiteral("spread"), Qt::MatchContains);
    if (!spread.isEmpty())
        list->setCurrentItem(spread.first());
    window.findChild<QCheckBox *>(QStringLiteral("ImageCutDoublePages"))->click();
    window.findChild<QCheckBox *>(QStringLiteral("ImageCutBorder"))->click();
    window.findChild<QSpinBox *>(QStringLiteral("ImageCutBorderNumber"))->setValue(40);
    QTest::qWait(300);

    const bool book = argc == 5 && QByteArray(argv[4]) == "--book";
    const bool presets = argc == 5 && QByteArray(argv[4]) == "--presets";
    const bool actual = argc == 5 && QByteArray(argv[4]) == "--actual";
    const bool report = argc == 5 && QByteArray(argv[4]) == "--report";
    const bool epub = argc == 5 && QByteArray(argv[4]) == "--epub";
    const bool kindle = argc == 5 && QByteArray(argv[4]) == "--kindle";
    const bool queue = argc == 5 && QByteArray(argv[4]) == "--queue";
    const bool checkBooks = argc == 5 && QByteArray(argv[4]) == "--check";
    const bool strip = argc == 5 && QByteArray(argv[4]) == "--strip";
    const bool guide = argc == 5 && QByteArray(argv[4]) == "--guide";
    if (guide) {
        // ? > User Guide over the window, a word found in it.
        window.findChild<QCheckBox *>(QStringLiteral("ImageCutBorder"))->click();
        window.findChild<QAction *>(QStringLiteral("actionUserGuide"))->trigger();
        auto *find = window.findChild<QLineEdit *>(QStringLiteral("GuideFind"));
        find->setText(QStringLiteral("Make Again"));
        QTest::keyClick(find, Qt::Key_Return);
        QTest::qWait(500);
    }
    if (strip) {
        // A webtoon chapter (quirevale-samples --webtoon) for a colour
        // e-reader, its long strip cut: the cuts drawn over a tile.
        window.findChild<QCheckBox *>(QStringLiteral("ImageCutBorder"))->click();
        window.setGeometry(window.screen()->availableGeometry());
        window.findChild<QAction *>(QStringLiteral("actionKeepProportions"))->setChecked(true);
        auto *menu = window.findChild<QMenu *>(QStringLiteral("menuPresets"));
        for (QAction *action : menu->actions()) {
            if (action->property("quirevalePreset").toString() ==
                QLatin1String("kobo-libra-colour"))
                action->trigger();
        }
        auto *cutStrips = window.findChild<QCheckBox *>(QStringLiteral("CutLongStrips"));
        cutStrips->click();
        for (auto *scroll : window.findChildren<QScrollArea *>()) {
            if (scroll->isAncestorOf(cutStrips))
                scroll->ensureWidgetVisible(cutStrips, 0, 120);
        }
        list->setCurrentRow(3);
        auto *area = window.findChild<ImageManager *>();
        while (area->stripCuts().isEmpty())
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 100);
        QTest::qWait(300);
    }
    if (checkBooks) {
        CheckBooksDialog dialog({QString::fromLocal8Bit(argv[1])}, &window);
        dialog.show();
        auto *summary = dialog.findChild<QLabel *>(QStringLiteral("CheckSummary"));
        while (!summary->text().endsWith(QLatin1String("findings.")) ||
               summary->text().startsWith(QLatin1String("Checking")))
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 100);
        QTest::qWait(300);
        return window.screen()->grabWindow(0).save(QString::fromLocal8Bit(argv[2])) ? 0 : 1;
    }
    QTemporaryDir shelf;
    if (queue) {
        window.findChild<QCheckBox *>(QStringLiteral("ImageCutBorder"))->click();
        window.setGeometry(window.screen()->availableGeometry());
        // Volumes of the sample book, the second with a page that is no picture.
        QStringList books;
        const QDir samples(QString::fromLocal8Bit(argv[1]));
        for (int volume = 1; volume <= 5; ++volume) {
            const QString book = shelf.filePath(QStringLiteral("Harbor Tales/Vol %1").arg(volume));
            QDir().mkpath(book);
            for (int copy = 0; copy < 3; ++copy) {
                for (const QString &page : samples.entryList(QDir::Files))
                    QFile::copy(samples.filePath(page),
                                QStringLiteral("%1/%2 %3").arg(book).arg(copy).arg(page));
            }
            if (volume == 2)
                QFile(book + QStringLiteral("/1 page 5.jpg")).open(QIODevice::WriteOnly);
            books << book;
        }
        // The first three with the window's own options, the last two with a
        // preset for a colour e-reader: the columns tell them apart.
        window.addToQueue(books.mid(0, 3));
        auto *menu = window.findChild<QMenu *>(QStringLiteral("menuPresets"));
        for (QAction *action : menu->actions()) {
            if (action->property("quirevalePreset").toString() ==
                QLatin1String("kobo-libra-colour"))
                action->trigger();
        }
        window.addToQueue(books.mid(3));
        window.setBuildThreads(1);
        window.findChild<QAction *>(QStringLiteral("actionStartQueue"))->trigger();
        auto *view = window.findChild<QAbstractItemView *>(QStringLiteral("QueueView"));
        const auto making = [view](int row) {
            return view->model()
                       ->index(row, QueueModel::ProgressColumn)
                       .data(QueueModel::PercentRole)
                       .toInt() >= 40;
        };
        while (!making(3))
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        view->setCurrentIndex(view->model()->index(1, 0));
        QTest::qWait(200);
    }
    if (actual) {
        window.findChild<QCheckBox *>(QStringLiteral("ImageCutBorder"))->click();
        window.findChild<QAction *>(QStringLiteral("actionActualSize"))->trigger();
        QTest::qWait(1500);
    }
    if (report) {
        // The screen taken while the report is up; the archive goes away.
        QTemporaryDir work;
        std::unique_ptr<TestSupport::ModalAnswer> save(
            TestSupport::chooseInFileDialog(work.filePath(QStringLiteral("Sample Comic.cbz"))));
        bool taken = false;
        TestSupport::MessageBoxAnswerer boxes([&] {
            QTest::qWait(300);
            taken = window.screen()->grabWindow(0).save(QString::fromLocal8Bit(argv[2]));
        });
        window.findChild<QPushButton *>(QStringLiteral("MakeCBZ"))->click();
        while (window.isBuilding() || boxes.seen().isEmpty())
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        return taken ? 0 : 1;
    }
    if (presets) {
        window.findChild<QCheckBox *>(QStringLiteral("ImageCutBorder"))->click();
        // No window manager runs under Xvfb to maximize it: the whole screen, by hand.
        window.setGeometry(window.screen()->availableGeometry());
        window.findChild<QAction *>(QStringLiteral("actionKeepProportions"))->setChecked(true);
        auto *menu = window.findChild<QMenu *>(QStringLiteral("menuPresets"));
        for (QAction *action : menu->actions()) {
            if (action->property("quirevalePreset").toString() == QLatin1String("eink7"))
                action->trigger();
        }
        QTest::qWait(500);
        window.menuBar()->setActiveAction(menu->menuAction());
        QTest::qWait(300);
        // The tooltip of a preset says what it sets.
        if (QAction *first = menu->actions().value(2)) {
            menu->setActiveAction(first);
            QTest::qWait(300);
            QToolTip::showText(menu->mapToGlobal(menu->actionGeometry(first).topRight()),
                               first->toolTip(), menu);
        }
        QTest::qWait(500);
    }
    if (epub) {
        window.findChild<QCheckBox *>(QStringLiteral("ImageCutBorder"))->click();
        auto *menu = window.findChild<QMenu *>(QStringLiteral("menuPresets"));
        for (QAction *action : menu->actions()) {
            if (action->property("quirevalePreset").toString() == QLatin1String("eink7"))
                action->trigger();
        }
        auto *kind = window.findChild<QComboBox *>(QStringLiteral("BookKind"));
        kind->setCurrentIndex(kind->findText(QStringLiteral("Kobo EPUB")));
        QTest::qWait(500);
        kind->showPopup();
        QTest::qWait(500);
    }
    if (kindle) {
        // A Kindle's preset: a Kindle book of its screen's size.
        auto *menu = window.findChild<QMenu *>(QStringLiteral("menuPresets"));
        for (QAction *action : menu->actions()) {
            if (action->property("quirevalePreset").toString() == QLatin1String("kindle-mail"))
                action->trigger();
        }
        QTest::qWait(800);
    }
    if (book) {
        window.findChild<QCheckBox *>(QStringLiteral("ImageCutBorder"))->click();
        window.findChild<QCheckBox *>(QStringLiteral("ImageCutOnlyWide"))->click();
        window.findChild<QCheckBox *>(QStringLiteral("ImageTrimMargins"))->click();
        PageTreatment turned;
        turned.rotation = 90;
        for (QListWidgetItem *scan : list->findItems(QStringLiteral("scan"), Qt::MatchContains))
            PageRow::setTreatment(scan, turned);
        PageTreatment bordered;
        bordered.setOwnBorder(30);
        for (QListWidgetItem *row : spread)
            PageRow::setTreatment(row, bordered);
        // Leave the spread and come back, so that the preview shows its own border.
        list->setCurrentRow(0);
        QTest::qWait(300);
        if (!spread.isEmpty())
            list->setCurrentItem(spread.first());
        QTest::qWait(500);
    }
    std::unique_ptr<TestSupport::ModalAnswer> save;
    if (argc == 5 && !book && !presets && !actual && !epub && !kindle && !queue && !strip &&
        !guide) {
        window.findChild<QCheckBox *>(QStringLiteral("ImageCutBorder"))->click();
        save.reset(TestSupport::chooseInFileDialog(QString::fromLocal8Bit(argv[4])));
        window.findChild<QPushButton *>(QStringLiteral("MakeCBZ"))->click();
        auto *bar = window.findChild<QProgressBar *>(QStringLiteral("MakeCBZProgressBar"));
        while (window.isBuilding() && bar->value() * 3 < bar->maximum())
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }

    // The whole screen, to show that the window fits it.
    if (!window.screen()->grabWindow(0).save(QString::fromLocal8Bit(argv[2]))) {
        std::fprintf(stderr, "could not write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
