#include "app/queuemodel.h"
#include "app/quirevale.h"
#include "testsupport.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QMessageBox>
#include <QPainter>
#include <QPdfWriter>
#include <QPushButton>
#include <QSlider>
#include <QTemporaryDir>

#include <memory>

using namespace TestSupport;

// The queue's panel: what each book is made as and with is shown on its
// row, and chosen there for the selected books or for the books added next.
class tst_QueueDock : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void presetAndKindOfSelectedBooks();
    void makeAgainAsksBeforeReplacing_data();
    void makeAgainAsksBeforeReplacing();
    void booksAddedNextTakeWhatIsChosen();
    void closingWithBooksWaitingAsks();
    void aFolderOfBooksIsItsBooks_data();
    void aFolderOfBooksIsItsBooks();

private:
    // A book of two pages, 1200 × 2000 each.
    QString makeBook(const QString &name);
    void open();
    QString cell(int row, int column) const;
    void choose(const char *combo, const QString &text);
    void selectRow(int row);
    // Starts the queue and waits until no book waits or is being made.
    bool runQueue();

    std::unique_ptr<QTemporaryDir> m_root;
    std::unique_ptr<Quirevale> m_window;
    QAbstractItemView *m_view = nullptr;
};

void tst_QueueDock::init()
{
    clearSettings();
    m_root = std::make_unique<QTemporaryDir>();
    QVERIFY(m_root->isValid());
}

void tst_QueueDock::cleanup()
{
    m_window.reset();
    m_root.reset();
}

QString tst_QueueDock::makeBook(const QString &name)
{
    const QString folder = m_root->filePath(name);
    QDir().mkpath(folder);
    for (int i = 1; i <= 2; ++i)
        noiseImage(1200, 2000).save(QStringLiteral("%1/p%2.png").arg(folder).arg(i));
    return folder;
}

void tst_QueueDock::open()
{
    m_window.reset(); // its queue saved
    m_window = std::make_unique<Quirevale>();
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    m_view = m_window->findChild<QAbstractItemView *>("QueueView");
    QVERIFY(m_view);
}

QString tst_QueueDock::cell(int row, int column) const
{
    return m_view->model()->index(row, column).data().toString();
}

void tst_QueueDock::choose(const char *combo, const QString &text)
{
    auto *box = m_window->findChild<QComboBox *>(combo);
    QVERIFY(box);
    const int index = box->findText(text);
    QVERIFY2(index >= 0, qPrintable(text));
    box->setCurrentIndex(index);
    emit box->activated(index);
}

void tst_QueueDock::selectRow(int row)
{
    m_view->selectionModel()->select(m_view->model()->index(row, 0),
                                     QItemSelectionModel::ClearAndSelect |
                                         QItemSelectionModel::Rows);
}

bool tst_QueueDock::runQueue()
{
    m_window->findChild<QAction *>("actionStartQueue")->trigger();
    const auto busy = [this] {
        for (int row = 0; row < m_view->model()->rowCount(); ++row) {
            if (cell(row, QueueModel::StateColumn).startsWith("Waiting") ||
                cell(row, QueueModel::StateColumn).startsWith("Making"))
                return true;
        }
        return false;
    };
    return QTest::qWaitFor([&] { return !busy(); }, 60000);
}

// Books made with their own options, then one given a device's preset and
// the other another kind: each row says so, waits to be made again, and
// is made as it now says; the other row is untouched.
void tst_QueueDock::presetAndKindOfSelectedBooks()
{
    open();
    m_window->addToQueue({makeBook("A"), makeBook("B")});
    QCOMPARE(cell(0, QueueModel::PresetColumn), QStringLiteral("own options"));
    QCOMPARE(cell(0, QueueModel::KindColumn), QStringLiteral("CBZ"));
    QVERIFY(runQueue());
    QVERIFY2(cell(0, QueueModel::StateColumn).startsWith("Made"),
             qPrintable(cell(0, QueueModel::StateColumn)));
    QCOMPARE(cell(0, QueueModel::ProgressColumn), QStringLiteral("100%"));
    bool ok = false;
    QCOMPARE(QImage::fromData(readArchive(m_root->filePath("A.cbz"), &ok).value(0).data).size(),
             QSize(1200, 2000));

    selectRow(0);
    QVERIFY(m_window->findChild<QGroupBox *>("QueueMakeWith")->title().contains("selected"));
    {
        // While the question is up, the book is not yet waiting: a running
        // queue would make it before the answer.
        bool madeWhileAsked = false;
        MessageBoxAnswerer replace(
            [&] { madeWhileAsked = cell(0, QueueModel::StateColumn).startsWith("Made"); });
        replace.pressButton("Replace");
        choose("QueuePreset", "Kobo Libra Colour");
        QCOMPARE(replace.seen().size(), 1);
        QVERIFY(replace.seen().first().text.contains("A.cbz"));
        QVERIFY(madeWhileAsked);
    }
    QCOMPARE(cell(0, QueueModel::PresetColumn), QStringLiteral("Kobo Libra Colour"));
    QCOMPARE(cell(0, QueueModel::StateColumn), QStringLiteral("Waiting"));
    QVERIFY(cell(1, QueueModel::StateColumn).startsWith("Made"));
    QCOMPARE(cell(1, QueueModel::PresetColumn), QStringLiteral("own options"));

    selectRow(1);
    {
        MessageBoxAnswerer none;
        choose("QueueKind", "EPUB");
        QVERIFY(none.seen().isEmpty()); // nothing there to replace
    }
    QCOMPARE(cell(1, QueueModel::ArchiveColumn), QStringLiteral("B.epub"));
    QCOMPARE(cell(1, QueueModel::StateColumn), QStringLiteral("Waiting"));

    QVERIFY(runQueue());
    QVERIFY2(cell(0, QueueModel::StateColumn).startsWith("Made:"),
             qPrintable(cell(0, QueueModel::StateColumn)));
    QVERIFY2(cell(1, QueueModel::StateColumn).startsWith("Made:"),
             qPrintable(cell(1, QueueModel::StateColumn)));
    const QList<ArchiveEntry> made = readArchive(m_root->filePath("A.cbz"), &ok);
    QVERIFY(ok);
    QCOMPARE(jpegSize(made.value(0).data), QSize(1008, 1680));
    QVERIFY(QFileInfo::exists(m_root->filePath("B.epub")));
}

void tst_QueueDock::makeAgainAsksBeforeReplacing_data()
{
    QTest::addColumn<QString>("answer");
    QTest::addColumn<bool>("replaced");
    QTest::newRow("cancelled") << "Cancel" << false;
    QTest::newRow("replaced") << "Replace" << true;
}

void tst_QueueDock::makeAgainAsksBeforeReplacing()
{
    QFETCH(QString, answer);
    QFETCH(bool, replaced);
    open();
    m_window->addToQueue({makeBook("A")});
    QVERIFY(runQueue());
    const QString archive = m_root->filePath("A.cbz");
    QVERIFY(QFile(archive).resize(10)); // not what the queue makes
    selectRow(0);
    {
        MessageBoxAnswerer box;
        box.pressButton(answer);
        m_window->findChild<QAbstractButton *>("MakeAgain")->click();
        QCOMPARE(box.seen().size(), 1);
    }
    QCOMPARE(cell(0, QueueModel::StateColumn) == "Waiting", replaced);
    if (replaced)
        QVERIFY(runQueue());
    QVERIFY2(cell(0, QueueModel::StateColumn).startsWith("Made:"),
             qPrintable(cell(0, QueueModel::StateColumn)));
    QCOMPARE(QFileInfo(archive).size() > 10, replaced);
}

// With none selected, the panel's choice is the window's: the options
// shown, and what the books added next are made with.
void tst_QueueDock::booksAddedNextTakeWhatIsChosen()
{
    open();
    choose("QueuePreset", "Phone");
    choose("QueueKind", "Kobo EPUB");
    QCOMPARE(m_window->findChild<QComboBox *>("BookKind")->currentIndex(), 2);
    m_window->addToQueue({makeBook("A")});
    QCOMPARE(cell(0, QueueModel::PresetColumn), QStringLiteral("Phone"));
    QCOMPARE(cell(0, QueueModel::ArchiveColumn), QStringLiteral("A.kepub.epub"));
    // Another option changed: the books added next have their own.
    auto *quality = m_window->findChild<QSlider *>("ImageQuality");
    QVERIFY(quality);
    quality->setValue(quality->value() - 5);
    m_window->addToQueue({makeBook("B")});
    QCOMPARE(cell(1, QueueModel::PresetColumn), QStringLiteral("own options"));
    QCOMPARE(m_window->findChild<QComboBox *>("QueuePreset")->currentText(),
             QStringLiteral("Own options"));
}

// Books waiting when the window closes: asked, unless the user said not to.
void tst_QueueDock::closingWithBooksWaitingAsks()
{
    open();
    m_window->addToQueue({makeBook("A")});
    {
        MessageBoxAnswerer box;
        box.pressButton("Cancel");
        m_window->close();
        QCOMPARE(box.seen().size(), 1);
        QVERIFY(box.seen().first().text.contains("queue"));
    }
    QVERIFY(m_window->isVisible());
    {
        MessageBoxAnswerer box([] {
            auto *shown = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            if (shown && shown->checkBox())
                shown->checkBox()->setChecked(true);
        });
        box.pressButton("Close");
        m_window->close();
        QCOMPARE(box.seen().size(), 1);
    }
    QVERIFY(!m_window->isVisible());
    open(); // the book is still waiting
    QCOMPARE(cell(0, QueueModel::StateColumn), QStringLiteral("Waiting"));
    MessageBoxAnswerer none;
    m_window->close();
    QVERIFY(none.seen().isEmpty());
    QVERIFY(!m_window->isVisible());
}

void tst_QueueDock::aFolderOfBooksIsItsBooks_data()
{
    QTest::addColumn<bool>("opened");
    QTest::addColumn<bool>("pagesOfItsOwn");
    QTest::addColumn<QStringList>("rows");
    const QStringList books{"A 2", "A 10", "B"};
    QTest::newRow("added to the queue") << false << false << books;
    QTest::newRow("opened in the window") << true << false << books;
    QTest::newRow("added, with pages of its own") << false << true << QStringList{"Shelf"};
}

// A folder without pages of its own that holds archives, PDFs or EPUBs is
// those books, one row each in their names' order; a folder with pages is
// one book, whatever else it holds.
void tst_QueueDock::aFolderOfBooksIsItsBooks()
{
    QFETCH(bool, opened);
    QFETCH(bool, pagesOfItsOwn);
    QFETCH(QStringList, rows);
    const QDir shelf(m_root->filePath("Shelf"));
    QVERIFY(QDir().mkpath(shelf.filePath("Extras")));
    const QByteArray page = encoded(noiseImage(60, 80), "PNG");
    for (const char *name : {"A 10.cbz", "A 2.cbz"})
        QVERIFY(writeFile(shelf.filePath(name), storedZip({{"p1.png", page}})));
    // A PDF whatever its name says.
    QPdfWriter pdf(shelf.filePath("B.cbr"));
    QPainter(&pdf).drawImage(0, 0, noiseImage(60, 80));
    QVERIFY(writeFile(shelf.filePath("notes.txt"), "not a book"));
    if (pagesOfItsOwn)
        QVERIFY(writeFile(shelf.filePath("cover.png"), page));
    open();
    if (opened) {
        m_window->openFromOutside(shelf.path());
        auto *queueThem = m_window->findChild<QPushButton *>("NoticeBooks");
        QTRY_VERIFY(queueThem->isVisible());
        QVERIFY(queueThem->text().contains("3"));
        queueThem->click();
    } else {
        m_window->addToQueue({shelf.path()});
    }
    QStringList names;
    for (int row = 0; row < m_view->model()->rowCount(); ++row)
        names << cell(row, QueueModel::BookColumn);
    QCOMPARE(names, rows);
}

QUIREVALE_TEST_MAIN(tst_QueueDock)
#include "tst_queuedock.moc"
