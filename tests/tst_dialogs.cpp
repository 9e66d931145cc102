#include "app/quirevale.h"
#include "dialogs/about.h"
#include "dialogs/checkbooksdialog.h"
#include "dialogs/donations.h"
#include "testsupport.h"

#include <QAction>
#include <QBuffer>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTranslator>

#include <memory>

using namespace TestSupport;

namespace {
const Qt::WindowFlags TitleOnly = Qt::Dialog | Qt::WindowTitleHint | Qt::CustomizeWindowHint;

// Installs the Italian catalogue for as long as it lives.
class Italian
{
public:
    explicit Italian(bool on)
    {
        if (on && m_translator.load(QStringLiteral(":/Translations/quirevale_it")))
            QCoreApplication::installTranslator(&m_translator);
    }
    ~Italian() { QCoreApplication::removeTranslator(&m_translator); }

private:
    QTranslator m_translator;
};

QString label(QWidget *dialog, const char *name)
{
    return dialog->findChild<QLabel *>(QLatin1String(name))->text();
}

void verifyFixedAndTitleOnly(QDialog &dialog, const QSize &size)
{
    QCOMPARE(dialog.size(), size);
    QCOMPARE(dialog.minimumSize(), size);
    QCOMPARE(dialog.maximumSize(), size);
    QCOMPARE(dialog.windowFlags(), TitleOnly);
    QVERIFY(!(dialog.windowFlags() & Qt::WindowCloseButtonHint));
    QCOMPARE(dialog.windowIcon().pixmap(32).toImage(),
             QApplication::windowIcon().pixmap(32).toImage());
}
} // namespace

class tst_Dialogs : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void about_data();
    void about();
    void donations_data();
    void donations();
    void menuOpensThemModally_data();
    void menuOpensThemModally();
    void checkBooksReportsAndMakesCleanCopies();

private:
    std::unique_ptr<Quirevale> m_window;
};

void tst_Dialogs::initTestCase()
{
    clearSettings();
    m_window = std::make_unique<Quirevale>(); // sets the application's icon and names
}

void tst_Dialogs::about_data()
{
    QTest::addColumn<bool>("italian");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("version");
    QTest::addColumn<QString>("info");
    QTest::newRow("English")
        << false << "About"
        << "Version 1.5"
        << "For additional info, suggestions or donations visit the link below:";
    QTest::newRow("Italian")
        << true << "Informazioni"
        << "Versione 1.5"
        << "Per informazioni, suggerimenti o donazioni visitare il sito sottostante:";
}

void tst_Dialogs::about()
{
    QFETCH(bool, italian);
    QFETCH(QString, title);
    QFETCH(QString, version);
    QFETCH(QString, info);
    Italian language(italian);

    About dialog(m_window.get(), "1.5");
    QCOMPARE(dialog.objectName(), QStringLiteral("About"));
    QCOMPARE(dialog.windowTitle(), title);
    QCOMPARE(label(&dialog, "label_2"), QStringLiteral("Quirevale"));
    QVERIFY(dialog.findChild<QLabel *>("label_2")->font().bold());
    QCOMPARE(dialog.findChild<QLabel *>("label_2")->font().pointSize(), 19);
    QCOMPARE(label(&dialog, "SoftwareVersion"), version);
    QCOMPARE(label(&dialog, "label_6"), info);
    auto *link = dialog.findChild<QLabel *>("label");
    QVERIFY(link->text().contains(QLatin1String(">Ostrelind Home Page</a>")));
    QVERIFY(link->openExternalLinks());
    QCOMPARE(dialog.findChild<QPushButton *>("ButtonOK")->text(), QStringLiteral("OK"));
    verifyFixedAndTitleOnly(dialog, QSize(347, 212));

    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    dialog.findChild<QPushButton *>("ButtonOK")->click();
    QVERIFY(!dialog.isVisible());
}

void tst_Dialogs::donations_data()
{
    QTest::addColumn<bool>("italian");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("textStart");
    QTest::addColumn<QString>("linkText");
    QTest::newRow("English") << false << "Donations"
                             << "Thank you for your interest in Ostrelind"
                             << "Read here why is important to make a donation";
    QTest::newRow("Italian") << true << "Donazioni"
                             << "Grazie per il tuo interesse nei prodotti"
                             << "Leggi qui perche è importante effettuare donazioni";
}

void tst_Dialogs::donations()
{
    QFETCH(bool, italian);
    QFETCH(QString, title);
    QFETCH(QString, textStart);
    QFETCH(QString, linkText);
    Italian language(italian);

    Donations dialog(m_window.get());
    QCOMPARE(dialog.objectName(), QStringLiteral("Donations"));
    QCOMPARE(dialog.windowTitle(), title);
    QVERIFY(label(&dialog, "label_2").startsWith(textStart));
    QVERIFY(label(&dialog, "label_3").contains(QStringLiteral(">%1</span></a>").arg(linkText)));
    QVERIFY(dialog.findChild<QLabel *>("label_3")->openExternalLinks());
    QCOMPARE(dialog.findChild<QPushButton *>("ButtonOK")->text(), QStringLiteral("OK"));
    auto *picture = dialog.findChild<QLabel *>("label");
    QCOMPARE(picture->pixmap(Qt::ReturnByValue).size(), QSize(180, 148));
    QCOMPARE(picture->text(), QString());
    QCOMPARE(picture->geometry(), QRect(10, 10, 180, 148));
    QCOMPARE(dialog.findChild<QPushButton *>("ButtonOK")->geometry(), QRect(10, 180, 181, 23));
    QCOMPARE(dialog.findChild<QLabel *>("label_2")->geometry(), QRect(210, 10, 361, 141));
    QCOMPARE(dialog.findChild<QLabel *>("label_3")->geometry(), QRect(210, 170, 361, 20));
    QVERIFY(!dialog.isModal());
    verifyFixedAndTitleOnly(dialog, QSize(592, 222));
}

void tst_Dialogs::menuOpensThemModally_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<QString>("dialog");
    QTest::newRow("About...") << "actionAbout"
                              << "About";
    QTest::newRow("Donations...") << "actionDonations"
                                  << "Donations";
}

void tst_Dialogs::menuOpensThemModally()
{
    QFETCH(QString, action);
    QFETCH(QString, dialog);
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));

    QString seenName;
    QWidget *seenParent = nullptr;
    ModalAnswer answer([](QWidget *modal) { return qobject_cast<QDialog *>(modal) != nullptr; },
                       [&](QWidget *modal) {
                           seenName = modal->objectName();
                           seenParent = modal->parentWidget();
                           modal->findChild<QPushButton *>("ButtonOK")->click();
                       });
    m_window->findChild<QAction *>(action)->trigger();
    QVERIFY(answer.answered());
    QCOMPARE(seenName, dialog);
    QCOMPARE(seenParent, m_window.get());
    // Made on the stack and gone when it returns.
    QVERIFY(!m_window->findChild<QDialog *>(dialog));
}

// The books of a folder checked on their own thread, each one's findings
// shown; clean copies made beside those with findings, the books untouched.
void tst_Dialogs::checkBooksReportsAndMakesCleanCopies()
{
    QTemporaryDir dir;
    const QDir shelf(dir.path());
    QVERIFY(shelf.mkpath("Shelf/Deeper"));
    QByteArray page;
    QBuffer buffer(&page);
    buffer.open(QIODevice::WriteOnly);
    noiseImage(30, 40).save(&buffer, "jpg");
    const QByteArray info = "<ComicInfo><PageCount>2</PageCount></ComicInfo>";
    const QByteArray clean = storedZip({{"1.jpg", page}, {"2.jpg", page}, {"ComicInfo.xml", info}});
    const QByteArray nested =
        storedZip({{"a/1.jpg", page}, {"a/2.jpg", page}, {"ComicInfo.xml", info}});
    QVERIFY(writeFile(shelf.filePath("Shelf/Clean.cbz"), clean));
    QVERIFY(writeFile(shelf.filePath("Shelf/Deeper/Nested.cbz"), nested));
    QVERIFY(writeFile(shelf.filePath("Shelf/notes.txt"), "not a book"));
    CheckBooksDialog dialog({shelf.filePath("Shelf")}, m_window.get());
    dialog.show();
    auto *summary = dialog.findChild<QLabel *>("CheckSummary");
    auto *report = dialog.findChild<QPlainTextEdit *>("CheckReport");
    QTRY_COMPARE(summary->text(),
                 QStringLiteral("2 of 2 books checked: 1 clean, 1 with findings."));
    QVERIFY(report->toPlainText().contains("Nested.cbz"));
    QVERIFY(report->toPlainText().contains("in sub-folders"));
    QVERIFY(!report->toPlainText().contains("Clean.cbz"));
    auto *make = dialog.findChild<QPushButton *>("MakeCleanCopies");
    QVERIFY(make->isEnabled());
    make->click();
    QTRY_VERIFY(report->toPlainText().contains("Clean copy made"));
    QVERIFY(QFileInfo::exists(shelf.filePath("Shelf/Deeper/Nested (fixed).cbz")));
    QCOMPARE(contentOf(shelf.filePath("Shelf/Deeper/Nested.cbz")), nested);
    QVERIFY(BookCheck::of(shelf.filePath("Shelf/Deeper/Nested (fixed).cbz")).isClean());
}

QUIREVALE_TEST_MAIN(tst_Dialogs)
#include "tst_dialogs.moc"
