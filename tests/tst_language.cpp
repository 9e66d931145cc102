#include "app/quirevale.h"
#include "catalogue.h"
#include "testsupport.h"

#include <QAction>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>

#include <memory>

using namespace TestSupport;

namespace {
// The text a form object shows: a group box's title, a menu's title, or text.
QString shownText(QObject *object)
{
    if (auto *group = qobject_cast<QGroupBox *>(object))
        return group->title();
    if (auto *menu = qobject_cast<QMenu *>(object))
        return menu->title();
    return object->property("text").toString();
}

QString italian(const char *context, const QString &source)
{
    for (const CatalogueEntry &entry : italianCatalogue()) {
        if (qstrcmp(entry.context, context) == 0 && entry.source == source)
            return entry.translation;
    }
    return source;
}

// Every translated text of the form: object name and English text.
const QList<QPair<const char *, QString>> &formTexts()
{
    static const QList<QPair<const char *, QString>> texts = {
        {"actionExit", "Exit"},
        {"actionDonations", "Donations..."},
        {"actionAbout", "About..."},
        {"groupBox", "Image Info"},
        {"label_2", "Width:"},
        {"label_3", "Height:"},
        {"groupBox_6", "Image Quality"},
        {"label_4", "Low"},
        {"label_5", "High"},
        {"groupBox_2", "Size"},
        {"ImageKeepOriginalSize", "Keep Original Size"},
        {"ImageResize", "Resize"},
        {"ResizeImageWidthLabel", "Width"},
        {"ResizeImageHeightLabel", "Height"},
        {"groupBox_3", "Double Page"},
        {"ImageCutDoublePages", "Cut pages"},
        {"ImageCutPointLabel", "Cut point in percentage"},
        {"ImageCutPageLabel", "First page begins from"},
        {"ImageCutFirstPageLeft", "Left"},
        {"ImageCutFirstPageRight", "Right"},
        {"groupBox_4", "Border"},
        {"ImageCutBorder", "Cut out border"},
        {"ImageBorderCutLabel", "Pixel number to cut"},
        {"groupBox_5", "Order"},
        {"MoveImageUp", "Move Up"},
        {"MoveImageDown", "Move Down"},
        {"ImagesPathFrame", "Images Path"},
        {"MakeCBZ", "Make CBZ"},
        {"label", donationLine("Support this tool with a ", "Donation")},
        {"menuLanguage", "Language"},
        // Texts that are the same in both languages.
        {"menu_File", "File"},
        {"menuDonations", "?"},
        {"actionEnglish", "English"},
        {"actionItaliano", "Italiano"},
    };
    return texts;
}
} // namespace

// The catalogue resource, to take away and bring back.
static void dropCatalogue()
{
    Q_CLEANUP_RESOURCE(translations);
}
static void restoreCatalogue()
{
    Q_INIT_RESOURCE(translations);
}

class tst_Language : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void italianRelabelsTheForm_data();
    void italianRelabelsTheForm();
    void italianTwiceStaysItalian();
    void checkedEntryStaysChecked();
    void backToEnglish();
    void startsInStoredItalian();
    void unknownLanguage();
    void sizeLabelsEmptyOnASwitch();
    void laterBoxesSpeakItalian();
    void missingCatalogueLeavesEnglish();

private:
    QAction *action(const char *name) { return m_window->findChild<QAction *>(name); }
    QString text(const char *name) { return shownText(m_window->findChild<QObject *>(name)); }
    void makeWindow();

    std::unique_ptr<Quirevale> m_window;
};

void tst_Language::init()
{
    clearSettings();
    QSettings().setValue("Language", 31);
    makeWindow();
}

void tst_Language::makeWindow()
{
    m_window = std::make_unique<Quirevale>();
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
}

void tst_Language::cleanup()
{
    m_window.reset();
}

void tst_Language::italianRelabelsTheForm_data()
{
    QTest::addColumn<QString>("object");
    QTest::addColumn<QString>("english");
    for (const auto &text : formTexts())
        QTest::newRow(text.first) << QString::fromLatin1(text.first) << text.second;
}

void tst_Language::italianRelabelsTheForm()
{
    QFETCH(QString, object);
    QFETCH(QString, english);
    const QByteArray name = object.toLatin1();
    QCOMPARE(text(name), english);

    action("actionItaliano")->trigger();
    QTRY_COMPARE(text(name), italian("QuirevaleClass", english));
    QVERIFY(action("actionItaliano")->isChecked());
    QVERIFY(!action("actionEnglish")->isChecked());
    QCOMPARE(m_window->windowTitle(), QStringLiteral("Quirevale  v1.5"));
    QCOMPARE(QSettings().value("Language").toInt(), 58);
}

void tst_Language::italianTwiceStaysItalian()
{
    action("actionItaliano")->trigger();
    QTRY_COMPARE(text("MakeCBZ"), QStringLiteral("Crea CBZ"));
    action("actionItaliano")->trigger();
    QCoreApplication::processEvents();
    QTRY_COMPARE(text("MakeCBZ"), QStringLiteral("Crea CBZ"));
    QCOMPARE(text("menuLanguage"), QStringLiteral("Lingua"));
    QVERIFY(action("actionItaliano")->isChecked());
    QCOMPARE(QCoreApplication::translate("Quirevale", "Warning"), QStringLiteral("Attenzione"));
}

// A checkable entry turns its own mark off when chosen; the language sets it again.
void tst_Language::checkedEntryStaysChecked()
{
    QVERIFY(action("actionEnglish")->isChecked());
    action("actionEnglish")->trigger();
    QVERIFY(action("actionEnglish")->isChecked());
    QVERIFY(!action("actionItaliano")->isChecked());
    QCOMPARE(QSettings().value("Language").toInt(), 31);
}

void tst_Language::backToEnglish()
{
    // Qt's own words (file dialogs, standard buttons) follow the language too.
    const auto qtWords = [] {
        return QCoreApplication::translate("QFileDialog", "Look in:");
    };
    action("actionItaliano")->trigger();
    QTRY_COMPARE(text("MakeCBZ"), QStringLiteral("Crea CBZ"));
    QCOMPARE(qtWords(), QStringLiteral("Cerca in:"));
    action("actionEnglish")->trigger();
    QTRY_COMPARE(text("MakeCBZ"), QStringLiteral("Make CBZ"));
    QCOMPARE(qtWords(), QStringLiteral("Look in:"));
    for (const auto &entry : formTexts())
        QCOMPARE(text(entry.first), entry.second);
    QVERIFY(action("actionEnglish")->isChecked());
    QVERIFY(!action("actionItaliano")->isChecked());
    QCOMPARE(QSettings().value("Language").toInt(), 31);
    QCOMPARE(m_window->windowTitle(), QStringLiteral("Quirevale  v1.5"));
}

void tst_Language::startsInStoredItalian()
{
    m_window.reset();
    QSettings().setValue("Language", 58);
    makeWindow();
    QTRY_COMPARE(text("groupBox_6"), QStringLiteral("Qualità Immagine"));
    QCOMPARE(text("label_2"), QStringLiteral("Lanrghezza:"));
    QVERIFY(action("actionItaliano")->isChecked());
    QCOMPARE(QSettings().value("Language").toInt(), 58);
    QCOMPARE(m_window->windowTitle(), QStringLiteral("Quirevale  v1.5"));

    // The choice survives a restart.
    m_window.reset();
    makeWindow();
    QTRY_COMPARE(text("MakeCBZ"), QStringLiteral("Crea CBZ"));
}

void tst_Language::unknownLanguage()
{
    action("actionItaliano")->trigger();
    QTRY_COMPARE(text("MakeCBZ"), QStringLiteral("Crea CBZ"));
    m_window.reset();
    QSettings().setValue("Language", 42);
    makeWindow();
    QTRY_COMPARE(text("MakeCBZ"), QStringLiteral("Make CBZ"));
    QVERIFY(!action("actionEnglish")->isChecked());
    QVERIFY(!action("actionItaliano")->isChecked());
    QCOMPARE(QSettings().value("Language").toInt(), 42);
}

void tst_Language::sizeLabelsEmptyOnASwitch()
{
    auto *width = m_window->findChild<QLabel *>("OriginalImageWidth");
    auto *height = m_window->findChild<QLabel *>("OriginalImageHeight");
    width->setText("1200");
    height->setText("1800");
    action("actionItaliano")->trigger();
    QTRY_COMPARE(width->text(), QString());
    QCOMPARE(height->text(), QString());
}

void tst_Language::laterBoxesSpeakItalian()
{
    action("actionItaliano")->trigger();
    QTRY_COMPARE(text("MakeCBZ"), QStringLiteral("Crea CBZ"));
    QTemporaryDir empty;
    DialogSeen dialog;
    std::unique_ptr<ModalAnswer> folder(chooseInFileDialog(empty.path(), &dialog));
    MessageBoxAnswerer boxes;
    m_window->findChild<QPushButton *>("BrowsePath")->click();
    QCOMPARE(dialog.caption, QStringLiteral("Selezionare cartella immagini"));
    QTRY_COMPARE(boxes.seen().size(), 1);
    QCOMPARE(boxes.seen().first().title, QStringLiteral("Attenzione"));
    QCOMPARE(boxes.seen().first().text,
             QStringLiteral("Nessuna immagine trovata! (jpg,png,bmp,tif)"));
}

void tst_Language::missingCatalogueLeavesEnglish()
{
    dropCatalogue();
    action("actionItaliano")->trigger();
    QCoreApplication::processEvents();
    restoreCatalogue();
    QCOMPARE(text("MakeCBZ"), QStringLiteral("Make CBZ"));
    QVERIFY(action("actionItaliano")->isChecked());
    QVERIFY(!action("actionEnglish")->isChecked());
    QCOMPARE(QSettings().value("Language").toInt(), 58);
    QCOMPARE(QCoreApplication::translate("Quirevale", "Warning"), QStringLiteral("Warning"));
}

QUIREVALE_TEST_MAIN(tst_Language)
#include "tst_language.moc"
