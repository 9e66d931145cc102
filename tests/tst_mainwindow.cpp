#include "app/desktopappearance.h"
#include "app/quirevale.h"
#include "book/optiontable.h"
#include "preview/imagemanager.h"
#include "testsupport.h"

#include <QAbstractButton>
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QProgressBar>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSet>
#include <QSettings>
#include <QSignalSpy>
#include <QSlider>
#include <QSpinBox>
#include <QSplitter>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QToolButton>
#include <QWheelEvent>

#include <cstdio>

#include <memory>

class tst_MainWindow : public QObject
{
    Q_OBJECT

private slots:
    void init();

    void freshControls_data();
    void freshControls();
    void freshWindow();
    void fonts_data();
    void fonts();
    void menus();
    void guideInTheWindowsLanguage();
    void paletteFollowsTheDesktop_data();
    void paletteFollowsTheDesktop();

    void enablingRule_data();
    void enablingRule();
    void cutPointMirroring();
    void ranges_data();
    void ranges();
    void switchSendsCurrentValue();
    void firstPageButtons();

    void firstStartDefaults();
    void optionsAreRemembered();
    void everyOptionShownIsReadBack();
    void everyControlHasItsEntry();
    void controlsEnabledAsTheTableSays_data();
    void controlsEnabledAsTheTableSays();
    void presetsSetTheOptions();
    void wheelScrollsTheOptionsPast();
    void storedLanguage_data();
    void storedLanguage();
    void damagedRecords();
    void restoresWhatItSaved();
    void exitAndCloseSaveTheSameKeys_data();
    void exitAndCloseSaveTheSameKeys();
    void makeGoesToTheSaveDialog_data();
    void makeGoesToTheSaveDialog();
    void thousandsOfPresetsListedInPart();

private:
    template<typename T> static T *child(QWidget *window, const char *name)
    {
        T *widget = window->findChild<T *>(QLatin1String(name));
        if (!widget)
            qWarning("no child %s", name);
        return widget;
    }
};

void tst_MainWindow::init()
{
    TestSupport::clearSettings();
}

void tst_MainWindow::freshControls_data()
{
    QTest::addColumn<QString>("object");
    QTest::addColumn<QString>("property");
    QTest::addColumn<QVariant>("expected");

    auto row = [](const char *object, const char *property, const QVariant &value) {
        QTest::addRow("%s.%s", object, property)
            << QString::fromLatin1(object) << QString::fromLatin1(property) << value;
    };
    row("OptionsFrame", "enabled", false);
    row("MakeCBZFrame", "enabled", false);
    row("ImagesPathFrame", "enabled", true);
    row("ImageSplitterFrame", "enabled", true);
    row("ImageQuality", "minimum", 0);
    row("ImageQuality", "maximum", 100);
    row("ImageQuality", "value", 100);
    row("ImageKeepOriginalSize", "checked", true);
    row("ImageResize", "checked", false);
    row("ResizeImageWidth", "value", 600);
    row("ResizeImageWidth", "minimum", 100);
    row("ResizeImageWidth", "maximum", 10000);
    row("ResizeImageWidth", "enabled", false);
    row("ResizeImageWidthLabel", "enabled", false);
    row("ResizeImageHeight", "value", 800);
    row("ResizeImageHeight", "minimum", 100);
    row("ResizeImageHeight", "maximum", 10000);
    row("ResizeImageHeight", "enabled", false);
    row("ResizeImageHeightLabel", "enabled", false);
    row("ImageCutDoublePages", "checked", false);
    row("ImageCutPointLabel", "enabled", false);
    row("ImageCutPointSlide", "value", 50);
    row("ImageCutPointSlide", "minimum", 20);
    row("ImageCutPointSlide", "maximum", 80);
    row("ImageCutPointSlide", "enabled", false);
    row("ImageCutPointNumber", "value", 50);
    row("ImageCutPointNumber", "minimum", 20);
    row("ImageCutPointNumber", "maximum", 80);
    row("ImageCutPointNumber", "enabled", false);
    row("ImageCutPageLabel", "enabled", false);
    row("ImageCutFirstPageLeft", "checked", false);
    row("ImageCutFirstPageLeft", "enabled", false);
    row("ImageCutFirstPageRight", "checked", true);
    row("ImageCutFirstPageRight", "enabled", false);
    row("ImageCutBorder", "checked", false);
    row("ImageBorderCutLabel", "enabled", false);
    row("ImageCutBorderNumber", "value", 5);
    row("ImageCutBorderNumber", "minimum", 0);
    row("ImageCutBorderNumber", "maximum", 1000);
    row("ImageCutBorderNumber", "enabled", false);
    row("MoveImageUp", "enabled", true);
    row("MoveImageDown", "enabled", true);
    row("ImagesPath", "readOnly", true);
    row("ImagesPath", "text", QString());
    row("MakeCBZProgressBar", "value", 0);
    row("ImagesList", "minimumWidth", 130);
    row("ImagesList", "showDropIndicator", false);
    row("ImagesList", "count", 0);
    row("ImageArea", "minimumWidth", 300);
    row("ImageArea", "autoFillBackground", true);
    row("OptionsFrame", "minimumWidth", 225);
    row("OptionsFrame", "maximumWidth", 225);
    row("MakeCBZ", "minimumWidth", 140);
    row("MakeCBZ", "minimumHeight", 40);
    row("BrowsePath", "text", QString());
    row("label", "openExternalLinks", true);

    // The texts the form shows before any language is chosen.
    row("label_2", "text", "Width:");
    row("label_3", "text", "Height:");
    row("label_4", "text", "Low");
    row("label_5", "text", "High");
    row("OriginalImageWidth", "text", QString());
    row("OriginalImageHeight", "text", QString());
    row("groupBox", "title", "Image Info");
    row("groupBox_6", "title", "Image Quality");
    row("groupBox_2", "title", "Size");
    row("groupBox_3", "title", "Double Page");
    row("groupBox_4", "title", "Border");
    row("groupBox_5", "title", "Order");
    row("ImagesPathFrame", "title", "Images Path");
    row("ImageKeepOriginalSize", "text", "Keep Original Size");
    row("ImageResize", "text", "Resize");
    row("ResizeImageWidthLabel", "text", "Width");
    row("ResizeImageHeightLabel", "text", "Height");
    row("ImageCutDoublePages", "text", "Cut pages");
    row("ImageCutPointLabel", "text", "Cut point in percentage");
    row("ImageCutPageLabel", "text", "First page begins from");
    row("ImageCutFirstPageLeft", "text", "Left");
    row("ImageCutFirstPageRight", "text", "Right");
    row("ImageCutBorder", "text", "Cut out border");
    row("ImageBorderCutLabel", "text", "Pixel number to cut");
    row("MoveImageUp", "text", "Move Up");
    row("MoveImageDown", "text", "Move Down");
    row("MakeCBZ", "text", "Make CBZ");
}

void tst_MainWindow::freshControls()
{
    QFETCH(QString, object);
    QFETCH(QString, property);
    QFETCH(QVariant, expected);

    Quirevale window;
    auto *widget = window.findChild<QWidget *>(object);
    QVERIFY2(widget, qPrintable(object));
    // "enabled" is the widget's own flag; a disabled container does not change it.
    const QVariant actual = property == QLatin1String("enabled")
                                ? QVariant(widget->isEnabledTo(widget->parentWidget()))
                                : widget->property(property.toLatin1());
    QVERIFY2(actual.isValid(), qPrintable(property));
    QCOMPARE(actual.toString(), expected.toString());
}

void tst_MainWindow::freshWindow()
{
    Quirevale window;
    QCOMPARE(window.objectName(), QStringLiteral("QuirevaleClass"));
    QCOMPARE(window.windowTitle(), QStringLiteral("Quirevale  v1.5"));
    QCOMPARE(window.size(), QSize(881, 684));
    QCOMPARE(window.locale().language(), QLocale::English);
    QCOMPARE(window.locale().country(), QLocale::UnitedStates);
    QCOMPARE(QCoreApplication::organizationName(), QStringLiteral("Ostrelind"));
    QCOMPARE(QCoreApplication::applicationName(), QStringLiteral("Quirevale"));
    QVERIFY(!QApplication::windowIcon().isNull());
    QCOMPARE(QImage(QStringLiteral(":/Quirevale/Quirevale.ico")).size(), QSize(32, 32));

    auto *splitter = child<QSplitter>(&window, "ImageSplitterFrame");
    QCOMPARE(splitter->orientation(), Qt::Horizontal);
    QVERIFY(!splitter->childrenCollapsible());
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    // The option column is never squeezed below what its controls need,
    // whatever the system's fonts; it scrolls, and the window keeps the
    // form's size, so that it fits a small screen.
    auto *options = child<QFrame>(&window, "OptionsFrame");
    QVERIFY(options->minimumHeight() >= 550);
    for (auto *group : options->findChildren<QGroupBox *>())
        QVERIFY2(group->height() >= group->minimumSizeHint().height(),
                 qPrintable(group->objectName()));
    QCOMPARE(window.size(), QSize(881, 684));
    QVERIFY(window.minimumHeight() < 684);
    // Shown, the list gets no more than its minimum; the preview the rest.
    QCOMPARE(splitter->sizes().value(0), 130);
    QVERIFY(splitter->sizes().value(1) > 300);

    auto *donation = child<QLabel>(&window, "label");
    QVERIFY(donation->text().contains(QLatin1String("Support this tool with a ")));
    QVERIFY(donation->text().contains(QLatin1String("Donation</span></a>")));
    QVERIFY(donation->text().contains(QLatin1String("color:#0000ff")));

    // The preview's backdrop is the mid-grey window colour, whatever the group.
    auto *preview = child<ImageManager>(&window, "ImageArea");
    QCOMPARE(preview->palette().color(QPalette::Active, QPalette::Window), QColor(161, 161, 161));
    QCOMPARE(preview->palette().color(QPalette::Disabled, QPalette::Text), QColor(80, 80, 80));
    QCOMPARE(preview->palette().color(QPalette::Inactive, QPalette::AlternateBase),
             QColor(208, 208, 208));
    QCOMPARE(preview->parentWidget()->objectName(), QStringLiteral("ImageFrame"));
    QVERIFY(!window.findChild<QStatusBar *>());
}

void tst_MainWindow::fonts_data()
{
    QTest::addColumn<QString>("object");
    QTest::addColumn<int>("pointSize");
    for (const char *name : {"label_2", "OriginalImageWidth", "label_3", "OriginalImageHeight",
                             "ImageKeepOriginalSize", "ImageResize", "ResizeImageWidthLabel",
                             "ResizeImageWidth", "ImageCutDoublePages", "ImageCutPointNumber",
                             "ImageCutFirstPageRight", "ImageCutBorderNumber", "MoveImageDown"})
        QTest::newRow(name) << QString::fromLatin1(name) << 8;
    QTest::newRow("MakeCBZ") << QStringLiteral("MakeCBZ") << 13;
}

void tst_MainWindow::fonts()
{
    QFETCH(QString, object);
    QFETCH(int, pointSize);
    Quirevale window;
    auto *widget = window.findChild<QWidget *>(object);
    QVERIFY(widget);
    QCOMPARE(widget->font().pointSize(), pointSize);
    if (object == QLatin1String("MakeCBZ"))
        QVERIFY(widget->font().bold());
}

void tst_MainWindow::menus()
{
    Quirevale window;
    QStringList titles;
    for (QAction *action : window.menuBar()->actions())
        titles << action->text();
    QCOMPARE(titles, QStringList({"File", "Edit", "View", "Presets", "Language", "?"}));

    auto entries = [&](const char *menu) {
        QStringList names;
        for (QAction *action : child<QMenu>(&window, menu)->actions())
            names << action->objectName();
        return names;
    };
    QCOMPARE(entries("menu_File"),
             QStringList({"actionOpenFolder", "actionOpenArchive", "actionMakeCbz",
                          "actionAddToQueue", "actionCheckBooks", "", "actionListEveryType",
                          "actionPdfResolution", "actionComicInfo", "", "actionExit"}));
    QCOMPARE(entries("menuView"),
             QStringList({"actionKeepProportions", "actionActualSize", "", "actionShowQueue"}));
    QCOMPARE(entries("menuLanguage"), QStringList({"actionEnglish", "actionItaliano"}));
    QCOMPARE(entries("menuEdit"), QStringList({"actionUndo", "actionRedo"}));
    QCOMPARE(entries("menuDonations"),
             QStringList({"actionUserGuide", "", "actionDonations", "actionAbout"}));

    auto *english = window.findChild<QAction *>(QStringLiteral("actionEnglish"));
    auto *italiano = window.findChild<QAction *>(QStringLiteral("actionItaliano"));
    QVERIFY(english->isCheckable() && italiano->isCheckable());
    QCOMPARE(english->text(), QStringLiteral("English"));
    QCOMPARE(italiano->text(), QStringLiteral("Italiano"));
    for (const char *name : {"actionExit", "actionDonations", "actionAbout"})
        QVERIFY2(!window.findChild<QAction *>(QLatin1String(name))->icon().isNull(), name);
}

// F1 opens the guide in the window's language, following a change of it;
// Enter in its search goes from one place to the next, round to the first.
void tst_MainWindow::guideInTheWindowsLanguage()
{
    Quirevale window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    child<QAction>(&window, "actionUserGuide")->trigger();
    QPointer<QTextBrowser> text = window.findChild<QTextBrowser *>("GuideText");
    QVERIFY(text);
    QVERIFY(text->toPlainText().startsWith(QStringLiteral("Quirevale: user guide")));
    QVERIFY(!text->toPlainText().contains(QStringLiteral("![")));
    auto *find = window.findChild<QLineEdit *>("GuideFind");
    find->setText(QStringLiteral("Ctrl+Z"));
    // The clear button fades in; Qt's fade still running as the window ends
    // is memory never given back (the leak checker's finding).
    auto *clear = find->findChild<QToolButton *>();
    QVERIFY(clear);
    QTRY_COMPARE(clear->property("opacity").toReal(), 1.0);
    QList<int> places;
    for (int i = 0; i < 4; ++i) {
        QTest::keyClick(find, Qt::Key_Return);
        QCOMPARE(text->textCursor().selectedText(), QStringLiteral("Ctrl+Z"));
        places << text->textCursor().position();
    }
    const int count = text->toPlainText().count(QStringLiteral("Ctrl+Z"));
    QVERIFY(count >= 2); // the whole guide, not cut off at its first "<word>"
    QVERIFY(places.at(1) > places.at(0));
    if (count < 4)
        QCOMPARE(places.at(count), places.at(0));

    // Enter searched; it did not close the guide as well.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(text && text->isVisible());

    child<QAction>(&window, "actionItaliano")->trigger();
    QTRY_VERIFY(text->toPlainText().startsWith(QStringLiteral("Quirevale: guida per l'utente")));
    child<QAction>(&window, "actionEnglish")->trigger();
    QTRY_VERIFY(text->toPlainText().startsWith(QStringLiteral("Quirevale: user guide")));
}

void tst_MainWindow::paletteFollowsTheDesktop_data()
{
    QPalette light;
    light.setColor(QPalette::Window, QColor(239, 239, 239));
    light.setColor(QPalette::WindowText, Qt::black);
    QPalette dark = light;
    dark.setColor(QPalette::Window, QColor(35, 38, 41));
    dark.setColor(QPalette::WindowText, QColor(239, 239, 239));
    QTest::addColumn<int>("scheme");
    QTest::addColumn<QPalette>("platform");
    QTest::addColumn<bool>("dark");
    QTest::addColumn<bool>("platformKept");
    QTest::newRow("dark asked, light theme")
        << int(DesktopAppearance::PreferDark) << light << true << false;
    QTest::newRow("dark asked, dark theme")
        << int(DesktopAppearance::PreferDark) << dark << true << true;
    QTest::newRow("light asked") << int(DesktopAppearance::PreferLight) << light << false << true;
    QTest::newRow("light asked, dark theme")
        << int(DesktopAppearance::PreferLight) << dark << true << true;
    QTest::newRow("nothing said") << int(DesktopAppearance::NoPreference) << light << false << true;
}

// A desktop that prefers dark gets a dark window, readable in every state;
// a theme's own palette is never replaced otherwise.
void tst_MainWindow::paletteFollowsTheDesktop()
{
    QFETCH(int, scheme);
    QFETCH(QPalette, platform);
    QFETCH(bool, dark);
    QFETCH(bool, platformKept);
    const QPalette palette =
        DesktopAppearance::paletteFor(DesktopAppearance::Scheme(scheme), platform);
    QCOMPARE(DesktopAppearance::isDark(palette), dark);
    QCOMPARE(palette == platform, platformKept);
    if (platformKept)
        return;
    const auto apart = [](const QColor &a, const QColor &b) {
        return std::abs(a.lightness() - b.lightness());
    };
    const QPair<QPalette::ColorRole, QPalette::ColorRole> pairs[] = {
        {QPalette::Window, QPalette::WindowText},
        {QPalette::Base, QPalette::Text},
        {QPalette::Button, QPalette::ButtonText},
        {QPalette::Highlight, QPalette::HighlightedText},
        {QPalette::ToolTipBase, QPalette::ToolTipText},
        {QPalette::Base, QPalette::Link}};
    for (const auto &pair : pairs) {
        const int active = apart(palette.color(QPalette::Active, pair.first),
                                 palette.color(QPalette::Active, pair.second));
        const int disabled = apart(palette.color(QPalette::Disabled, pair.first),
                                   palette.color(QPalette::Disabled, pair.second));
        QVERIFY2(active >= 100, qPrintable(QString::number(pair.second)));
        // Disabled text is dimmer, yet still there to read.
        QVERIFY2(disabled >= 40 && disabled <= active, qPrintable(QString::number(pair.second)));
    }
}

// A preset sets the controls it names and leaves the others; Reset Options
// gives back a first start's.
void tst_MainWindow::presetsSetTheOptions()
{
    Quirevale window;
    child<QCheckBox>(&window, "ImageCutDoublePages")->setChecked(true);
    auto *menu = child<QMenu>(&window, "menuPresets");
    QAction *tablet = nullptr;
    for (QAction *action : menu->actions()) {
        if (action->text() == QStringLiteral("Colour tablet"))
            tablet = action;
    }
    QVERIFY(tablet);
    QVERIFY(tablet->toolTip().contains(QStringLiteral("1600 × 2560")));
    tablet->trigger();
    QVERIFY(child<QRadioButton>(&window, "ImageResize")->isChecked());
    QCOMPARE(child<QSpinBox>(&window, "ResizeImageWidth")->value(), 1600);
    QCOMPARE(child<QSlider>(&window, "ImageQuality")->value(), 88);
    QVERIFY(child<QCheckBox>(&window, "ImageKeepJpeg")->isChecked());
    QVERIFY(child<QCheckBox>(&window, "ImageCutDoublePages")->isChecked()); // not the preset's

    // Marked in the menu while in use, until an option it sets changes.
    const auto marked = [&] {
        emit menu->aboutToShow(); // the menu is filled anew each time it opens
        for (QAction *action : menu->actions()) {
            if (action->text() == QStringLiteral("Colour tablet"))
                return action->isChecked();
        }
        return false;
    };
    QVERIFY(marked());
    child<QSpinBox>(&window, "ImageCutBorderNumber")->setValue(7); // not one it sets
    QVERIFY(marked());
    child<QSlider>(&window, "ImageQuality")->setValue(70);
    QVERIFY(!marked());

    child<QAction>(&window, "actionResetOptions")->trigger();
    QVERIFY(child<QRadioButton>(&window, "ImageKeepOriginalSize")->isChecked());
    QCOMPARE(child<QSlider>(&window, "ImageQuality")->value(), 100);
    QVERIFY(!child<QCheckBox>(&window, "ImageCutDoublePages")->isChecked());
}

// A wheel turned over the options while scrolling them changes none of
// them; a control that has the focus takes it.
void tst_MainWindow::wheelScrollsTheOptionsPast()
{
    Quirevale window;
    window.resize(900, 400); // the column scrolls
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    child<QWidget>(&window, "OptionsFrame")->setEnabled(true);
    auto *quality = child<QSlider>(&window, "ImageQuality");
    auto *scroll = child<QScrollArea>(&window, "OptionsScroll");
    const auto wheel = [&] {
        const QPoint at = quality->rect().center();
        QWheelEvent event(at, quality->mapToGlobal(at), QPoint(), QPoint(0, -120), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(quality, &event);
    };
    child<QWidget>(&window, "ImagesPath")->setFocus();
    wheel();
    QCOMPARE(quality->value(), 100);
    QVERIFY(scroll->verticalScrollBar()->value() > 0);
    quality->setFocus();
    QTRY_VERIFY(quality->hasFocus());
    wheel();
    QVERIFY(quality->value() < 100);

    // Every control of the column that a wheel would change, bound to an
    // option or not (the screen sizes), is passed over alike.
    child<QWidget>(&window, "ImagesPath")->setFocus();
    QTRY_VERIFY(!quality->hasFocus());
    QObject *column = child<QWidget>(&window, "OptionsScroll");
    const QList<QWidget *> controls = column->findChildren<QWidget *>();
    int passed = 0;
    for (QWidget *control : controls) {
        auto *spin = qobject_cast<QSpinBox *>(control);
        auto *combo = qobject_cast<QComboBox *>(control);
        auto *slider = qobject_cast<QAbstractSlider *>(control);
        if ((!spin && !combo && !slider) || qobject_cast<QScrollBar *>(control))
            continue;
        control->setEnabled(true);
        const int before = spin ? spin->value() : combo ? combo->currentIndex() : slider->value();
        const QPoint at = control->rect().center();
        QWheelEvent event(at, control->mapToGlobal(at), QPoint(), QPoint(0, -120), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(control, &event);
        const int after = spin ? spin->value() : combo ? combo->currentIndex() : slider->value();
        QVERIFY2(after == before, qPrintable(control->objectName()));
        ++passed;
    }
    QVERIFY(passed >= 6);
    QVERIFY(column->findChild<QComboBox *>("ImageResizePreset"));
}

void tst_MainWindow::enablingRule_data()
{
    QTest::addColumn<QString>("onSwitch");
    QTest::addColumn<QString>("offSwitch");
    QTest::addColumn<QStringList>("dependents");
    QTest::addColumn<QString>("valueControl");

    QTest::newRow("resize") << "ImageResize"
                            << "ImageKeepOriginalSize"
                            << QStringList{"ResizeImageWidth", "ResizeImageWidthLabel",
                                           "ResizeImageHeight", "ResizeImageHeightLabel"}
                            << "ResizeImageWidth";
    QTest::newRow("double page") << "ImageCutDoublePages"
                                 << "ImageCutDoublePages"
                                 << QStringList{"ImageCutPointLabel",    "ImageCutPointSlide",
                                                "ImageCutPointNumber",   "ImageCutPageLabel",
                                                "ImageCutFirstPageLeft", "ImageCutFirstPageRight"}
                                 << "ImageCutPointNumber";
    QTest::newRow("border") << "ImageCutBorder"
                            << "ImageCutBorder"
                            << QStringList{"ImageBorderCutLabel", "ImageCutBorderNumber"}
                            << "ImageCutBorderNumber";
}

void tst_MainWindow::enablingRule()
{
    QFETCH(QString, onSwitch);
    QFETCH(QString, offSwitch);
    QFETCH(QStringList, dependents);
    QFETCH(QString, valueControl);

    Quirevale window;
    child<QFrame>(&window, "OptionsFrame")->setEnabled(true);
    auto *on = window.findChild<QAbstractButton *>(onSwitch);
    auto *off = window.findChild<QAbstractButton *>(offSwitch);
    auto *spin = window.findChild<QSpinBox *>(valueControl);

    auto allEnabled = [&](bool expected) {
        for (const QString &name : dependents) {
            if (window.findChild<QWidget *>(name)->isEnabled() != expected)
                return false;
        }
        return true;
    };

    QVERIFY(allEnabled(false));
    on->click();
    QVERIFY(allEnabled(true));
    spin->setValue(spin->minimum() + 13);
    off->click();
    QVERIFY(allEnabled(false));
    QCOMPARE(spin->value(), spin->minimum() + 13);
    on->click();
    QVERIFY(allEnabled(true));
    QCOMPARE(spin->value(), spin->minimum() + 13);
}

void tst_MainWindow::cutPointMirroring()
{
    Quirevale window;
    auto *slider = child<QSlider>(&window, "ImageCutPointSlide");
    auto *spin = child<QSpinBox>(&window, "ImageCutPointNumber");
    auto *preview = child<ImageManager>(&window, "ImageArea");
    QSignalSpy sliderSpy(slider, &QSlider::valueChanged);
    QSignalSpy spinSpy(spin, qOverload<int>(&QSpinBox::valueChanged));

    slider->setValue(35);
    QCOMPARE(spin->value(), 35);
    QCOMPARE(preview->cutPoint(), 35);
    // One report each: the echo stops after one return trip.
    QCOMPARE(sliderSpy.count(), 1);
    QCOMPARE(spinSpy.count(), 1);

    spin->setValue(70);
    QCOMPARE(slider->value(), 70);
    QCOMPARE(preview->cutPoint(), 70);

    // While dragged, the slider reports every step, so the preview follows.
    slider->setTracking(true);
    slider->setSliderDown(true);
    slider->setSliderPosition(41);
    QCOMPARE(preview->cutPoint(), 41);
    QCOMPARE(spin->value(), 41);
    slider->setSliderDown(false);
}

void tst_MainWindow::ranges_data()
{
    QTest::addColumn<QString>("object");
    QTest::addColumn<int>("tooLow");
    QTest::addColumn<int>("lowest");
    QTest::addColumn<int>("tooHigh");
    QTest::addColumn<int>("highest");

    QTest::newRow("cut point spin") << "ImageCutPointNumber" << 19 << 20 << 81 << 80;
    QTest::newRow("cut point slider") << "ImageCutPointSlide" << 0 << 20 << 100 << 80;
    QTest::newRow("resize width") << "ResizeImageWidth" << 99 << 100 << 10001 << 10000;
    QTest::newRow("resize height") << "ResizeImageHeight" << -5 << 100 << 99999 << 10000;
    QTest::newRow("border") << "ImageCutBorderNumber" << -1 << 0 << 1001 << 1000;
    QTest::newRow("quality") << "ImageQuality" << -1 << 0 << 101 << 100;
}

void tst_MainWindow::ranges()
{
    QFETCH(QString, object);
    QFETCH(int, tooLow);
    QFETCH(int, lowest);
    QFETCH(int, tooHigh);
    QFETCH(int, highest);

    Quirevale window;
    QWidget *widget = window.findChild<QWidget *>(object);
    QVERIFY(widget);
    widget->setProperty("value", tooLow);
    QCOMPARE(widget->property("value").toInt(), lowest);
    widget->setProperty("value", tooHigh);
    QCOMPARE(widget->property("value").toInt(), highest);
}

void tst_MainWindow::switchSendsCurrentValue()
{
    Quirevale window;
    child<QFrame>(&window, "OptionsFrame")->setEnabled(true);
    auto *preview = child<ImageManager>(&window, "ImageArea");

    child<QSpinBox>(&window, "ImageCutPointNumber")->setValue(33);
    preview->SetCutPoint(77); // out of step on purpose
    child<QCheckBox>(&window, "ImageCutDoublePages")->click();
    QVERIFY(preview->cutDoublePages());
    QCOMPARE(preview->cutPoint(), 33);
    child<QCheckBox>(&window, "ImageCutDoublePages")->click();
    QVERIFY(!preview->cutDoublePages());

    child<QSpinBox>(&window, "ImageCutBorderNumber")->setValue(12);
    QCOMPARE(preview->cutBorderSize(), 12);
    preview->SetCutBorderSize(999);
    child<QCheckBox>(&window, "ImageCutBorder")->click();
    QVERIFY(preview->cutBorder());
    QCOMPARE(preview->cutBorderSize(), 12);
    child<QCheckBox>(&window, "ImageCutBorder")->click();
    QVERIFY(!preview->cutBorder());
}

void tst_MainWindow::firstPageButtons()
{
    Quirevale window;
    child<QFrame>(&window, "OptionsFrame")->setEnabled(true);
    child<QCheckBox>(&window, "ImageCutDoublePages")->click();
    auto *preview = child<ImageManager>(&window, "ImageArea");
    auto *left = child<QRadioButton>(&window, "ImageCutFirstPageLeft");
    auto *right = child<QRadioButton>(&window, "ImageCutFirstPageRight");

    QVERIFY(preview->firstPageRight());
    left->click();
    QVERIFY(!preview->firstPageRight());
    QVERIFY(left->isChecked() && !right->isChecked());
    left->click(); // already selected: nothing changes
    QVERIFY(!preview->firstPageRight());
    QVERIFY(left->isChecked());
    right->click();
    QVERIFY(preview->firstPageRight());
}

void tst_MainWindow::firstStartDefaults()
{
    {
        Quirevale window;
        // This process runs in the C locale: neither language entry is ours.
        const int system = QLocale::system().language();
        QCOMPARE(QSettings().value("Language").toInt(), system);
        QCOMPARE(child<QAction>(&window, "actionEnglish")->isChecked(), system == QLocale::English);
        QCOMPARE(child<QAction>(&window, "actionItaliano")->isChecked(),
                 system == QLocale::Italian);
        QCOMPARE(window.size(), QSize(881, 684));
    }
    QSettings settings;
    QStringList keys = settings.childKeys(); // the options have a group of their own
    keys.sort();
    QCOMPARE(keys, QStringList({"Language", "LastCbzSaveDir", "LastImagesDir",
                                "ListEveryPictureType", "MainWindowGeometry", "MainWindowState",
                                "PanelsSplitter", "PdfResolution"}));
    QCOMPARE(settings.childGroups(), QStringList({"Options"}));
    QCOMPARE(settings.value("LastCbzSaveDir").toString(), QString());
    QCOMPARE(settings.value("LastImagesDir").toString(), QString());
}

void tst_MainWindow::optionsAreRemembered()
{
    {
        Quirevale window;
        child<QFrame>(&window, "OptionsFrame")->setEnabled(true);
        child<QSlider>(&window, "ImageQuality")->setValue(85);
        child<QRadioButton>(&window, "ImageResize")->click();
        child<QSpinBox>(&window, "ResizeImageWidth")->setValue(1200);
        child<QCheckBox>(&window, "ImageCutDoublePages")->click();
        child<QSpinBox>(&window, "ImageCutPointNumber")->setValue(35);
        child<QRadioButton>(&window, "ImageCutFirstPageLeft")->click();
        child<QSpinBox>(&window, "ImageCutBorderNumber")->setValue(40);
    }
    Quirevale window;
    child<QFrame>(&window, "OptionsFrame")->setEnabled(true);
    QCOMPARE(child<QSlider>(&window, "ImageQuality")->value(), 85);
    QVERIFY(child<QRadioButton>(&window, "ImageResize")->isChecked());
    QVERIFY(child<QSpinBox>(&window, "ResizeImageWidth")->isEnabled());
    QCOMPARE(child<QSpinBox>(&window, "ResizeImageWidth")->value(), 1200);
    QVERIFY(child<QCheckBox>(&window, "ImageCutDoublePages")->isChecked());
    QCOMPARE(child<QSlider>(&window, "ImageCutPointSlide")->value(), 35);
    QVERIFY(child<QRadioButton>(&window, "ImageCutFirstPageLeft")->isChecked());
    QVERIFY(child<QRadioButton>(&window, "ImageCutFirstPageLeft")->isEnabled());
    // Off, but its number kept; the preview draws what the controls say.
    QVERIFY(!child<QCheckBox>(&window, "ImageCutBorder")->isChecked());
    QVERIFY(!child<QSpinBox>(&window, "ImageCutBorderNumber")->isEnabled());
    QCOMPARE(child<QSpinBox>(&window, "ImageCutBorderNumber")->value(), 40);
    auto *preview = child<ImageManager>(&window, "ImageArea");
    QVERIFY(preview->cutDoublePages());
    QCOMPARE(preview->cutPoint(), 35);
    QVERIFY(!preview->firstPageRight());
    QVERIFY(!preview->cutBorder());
}

// Every option the controls show comes back from them as it was shown: a
// control bound to the wrong option, or an option without its control,
// comes back changed. The two grey check boxes are one choice.
void tst_MainWindow::everyOptionShownIsReadBack()
{
    BookOptions given;
    for (const BookOption &option : bookOptions()) {
        if (option.settingsKey)
            option.set(given, option.range.maximum == 1 ? 1 - option.range.initial
                                                        : option.range.maximum - 1);
    }
    {
        QSettings settings;
        saveBookOptions(settings, given);
    }
    {
        Quirevale window;
        auto *auto_ = child<QCheckBox>(&window, "ImageGreyAuto");
        auto *all = child<QCheckBox>(&window, "ImageGreyAll");
        QVERIFY(auto_->isChecked() != all->isChecked());
        all->setChecked(true);
        QVERIFY(!auto_->isChecked());
        auto_->setChecked(true);
        QVERIFY(!all->isChecked());
        // Back as it was given.
        (given.pages.PageGrey == PageOptions::GreyEveryPage ? all : auto_)->setChecked(true);
    }
    QVERIFY(loadBookOptions(QSettings()) == given);
}

void tst_MainWindow::storedLanguage_data()
{
    QTest::addColumn<QVariant>("stored");
    QTest::addColumn<bool>("englishChecked");
    QTest::addColumn<bool>("italianoChecked");
    QTest::addColumn<QVariant>("storedAfter");

    QTest::newRow("english") << QVariant(31) << true << false << QVariant(31);
    QTest::newRow("italian") << QVariant(58) << false << true << QVariant(58);
    QTest::newRow("no catalogue") << QVariant(42) << false << false << QVariant(42);
    QTest::newRow("not a number") << QVariant("Klingon") << false << false << QVariant(0);
}

void tst_MainWindow::storedLanguage()
{
    QFETCH(QVariant, stored);
    QFETCH(bool, englishChecked);
    QFETCH(bool, italianoChecked);
    QFETCH(QVariant, storedAfter);

    QSettings().setValue("Language", stored);
    {
        Quirevale window;
        QCOMPARE(child<QAction>(&window, "actionEnglish")->isChecked(), englishChecked);
        QCOMPARE(child<QAction>(&window, "actionItaliano")->isChecked(), italianoChecked);
        QCOMPARE(window.windowTitle(), QStringLiteral("Quirevale  v1.5"));
    }
    // The destructor does not write it; the start-up does, unchanged.
    QCOMPARE(QSettings().value("Language").toInt(), storedAfter.toInt());
}

void tst_MainWindow::damagedRecords()
{
    QSettings settings;
    settings.setValue("MainWindowGeometry", QByteArray("not a geometry"));
    settings.setValue("MainWindowState", QByteArray(7, '\xff'));
    settings.setValue("PanelsSplitter", 12345);
    settings.setValue("LastImagesDir", QStringList({"a", "b"}));
    settings.sync();

    {
        Quirevale window;
        QCOMPARE(window.size(), QSize(881, 684));
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QCOMPARE(child<QSplitter>(&window, "ImageSplitterFrame")->sizes().value(0), 130);
    }
    // A damaged folder is no folder, or its text as it was.
    const QString folder = QSettings().value("LastImagesDir").toString();
    QVERIFY2(folder.isEmpty() || folder == QLatin1String("a, b"), qPrintable(folder));
}

void tst_MainWindow::restoresWhatItSaved()
{
    QSettings().setValue("LastImagesDir", "/srv/scans/Volume 1");
    QSettings().setValue("LastCbzSaveDir", "/srv/out/àccénts");
    QList<int> savedSizes;
    QSize savedSize;
    {
        Quirevale window;
        window.resize(760, 560);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        savedSize = window.size(); // the layout's minimum height may have won
        QCOMPARE(savedSize.width(), 760);
        auto *splitter = child<QSplitter>(&window, "ImageSplitterFrame");
        const QList<int> before = splitter->sizes();
        const int total = before.value(0) + before.value(1);
        splitter->setSizes({total / 2, total - total / 2});
        savedSizes = splitter->sizes();
        QVERIFY(savedSizes != before);
        child<QAction>(&window, "actionExit")->trigger();
        QVERIFY(!window.isVisible());
    }
    {
        // Read back, and saved again as they were.
        Quirevale window;
    }
    QCOMPARE(QSettings().value("LastImagesDir").toString(), QStringLiteral("/srv/scans/Volume 1"));
    QCOMPARE(QSettings().value("LastCbzSaveDir").toString(), QStringLiteral("/srv/out/àccénts"));
    Quirevale window;
    QCOMPARE(window.size(), savedSize);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    auto *splitter = child<QSplitter>(&window, "ImageSplitterFrame");
    QCOMPARE(splitter->sizes(), savedSizes);
    // Placed by a caller just after the window grew: the place is kept, not
    // overwritten by the share of the width the list would have taken.
    QTRY_VERIFY(window.isVisible());
    QTest::qWait(0);
    const int width = splitter->width();
    window.resize(window.width() + 200, window.height());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    QCOMPARE(splitter->width(), width + 200); // its share queued, not yet given
    const QList<int> grown = splitter->sizes();
    splitter->setSizes({222, grown.value(0) + grown.value(1) - 222});
    QTest::qWait(50);
    QCOMPARE(splitter->sizes().value(0), 222);
    // The list's share of a window grown with nobody placing the splitter.
    window.resize(window.width() + 200, window.height());
    QTRY_VERIFY(splitter->sizes().value(0) > 222);
}

void tst_MainWindow::exitAndCloseSaveTheSameKeys_data()
{
    QTest::addColumn<bool>("throughMenu");
    QTest::newRow("File > Exit") << true;
    QTest::newRow("close button") << false;
}

void tst_MainWindow::exitAndCloseSaveTheSameKeys()
{
    QFETCH(bool, throughMenu);
    QSettings().setValue("LastImagesDir", "/a");
    QSettings().setValue("LastCbzSaveDir", "/b");
    {
        auto window = std::make_unique<Quirevale>();
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        QSettings().remove("MainWindowGeometry");
        QSettings().remove("LastImagesDir");
        if (throughMenu)
            child<QAction>(window.get(), "actionExit")->trigger();
        else
            QVERIFY(window->close());
        QVERIFY(!window->isVisible());
        // Nothing is written until the window goes.
        QVERIFY(!QSettings().contains("MainWindowGeometry"));
    }
    QSettings settings;
    QVERIFY(!settings.value("MainWindowGeometry").toByteArray().isEmpty());
    QVERIFY(!settings.value("MainWindowState").toByteArray().isEmpty());
    QVERIFY(!settings.value("PanelsSplitter").toByteArray().isEmpty());
    QCOMPARE(settings.value("LastImagesDir").toString(), QStringLiteral("/a"));
    QCOMPARE(settings.value("LastCbzSaveDir").toString(), QStringLiteral("/b"));
}

void tst_MainWindow::makeGoesToTheSaveDialog_data()
{
    QTest::addColumn<QByteArray>("file"); // its name's bytes
    QTest::addColumn<QString>("named");   // in the report
    QTest::newRow("a picture of another type")
        << QByteArray("page3.webp") << QStringLiteral("not listed: 1 (webp)");
    QTest::newRow("a page whose name is not text")
        << QByteArray("p\xff.png") << QStringLiteral("name is not valid text");
}

// Make CBZ goes to the save dialog, the build and the result box, whatever
// the strip above the list named; the report names what the book lacks.
void tst_MainWindow::makeGoesToTheSaveDialog()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, named);
    QTemporaryDir dir;
    for (int i = 1; i <= 2; ++i)
        QVERIFY(
            TestSupport::noiseImage(40, 60).save(dir.filePath(QStringLiteral("p%1.png").arg(i))));
    // A name of raw bytes, as an old system's disk holds it.
    const QByteArray raw = QFile::encodeName(dir.path()) + '/' + file;
    FILE *written = std::fopen(raw.constData(), "wb");
    QVERIFY(written);
    const QByteArray bytes = TestSupport::encoded(TestSupport::noiseImage(40, 60), "webp");
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), written);
    std::fclose(written);
    Quirevale window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QVERIFY(TestSupport::pickFolder(&window, dir.path()));
    TestSupport::DialogSeen dialog;
    const QList<TestSupport::BoxSeen> boxes =
        TestSupport::makeCbz(&window, dir.filePath("book.cbz"), &dialog);
    QCOMPARE(dialog.caption, QStringLiteral("Create CBZ"));
    QCOMPARE(boxes.size(), 1);
    QCOMPARE(boxes.first().title, QStringLiteral("Advise"));
    QVERIFY2(boxes.first().informative.contains(named), qPrintable(boxes.first().informative));
    QVERIFY(QFileInfo::exists(dir.filePath("book.cbz")));
}

// A store of ten thousand presets (a damaged or hand-edited file): the menu
// lists a few and finds the others behind "More Presets…", at once.
void tst_MainWindow::thousandsOfPresetsListedInPart()
{
    {
        QSettings settings;
        for (int i = 0; i < 10000; ++i)
            settings.setValue(QStringLiteral("Presets/Mine %1/ImageQuality").arg(i), 50 + i % 50);
    }
    Quirevale window;
    auto *menu = child<QMenu>(&window, "menuPresets");
    QMetaObject::invokeMethod(menu, "aboutToShow");
    QStringList own;
    QAction *more = nullptr;
    for (QAction *action : menu->actions()) {
        if (action->text().startsWith(QStringLiteral("Mine ")))
            own << action->text();
        if (action->text().startsWith(QStringLiteral("More Presets")))
            more = action;
    }
    QCOMPARE(own.size(), 20);
    QCOMPARE(own.first(), QStringLiteral("Mine 0"));
    QCOMPARE(own.at(2), QStringLiteral("Mine 2")); // in natural order
    QVERIFY(more);
    QCOMPARE(more->text(), QStringLiteral("More Presets… (10000)"));
    // Found by a part of its name, and chosen.
    TestSupport::ModalAnswer picker(
        [](QWidget *modal) { return modal->objectName() == QLatin1String("PresetPicker"); },
        [](QWidget *modal) {
            auto *search = modal->findChild<QLineEdit *>("PresetSearch");
            search->setText(QStringLiteral("Mine 9998"));
            // Its clear button's fade ended first (see guideInTheWindowsLanguage).
            const auto *clear = search->findChild<QToolButton *>();
            QTRY_COMPARE(clear->property("opacity").toReal(), 1.0);
            static_cast<QDialog *>(modal)->accept();
        });
    more->trigger();
    QVERIFY(picker.answered());
    QCOMPARE(child<QSlider>(&window, "ImageQuality")->value(), 50 + 9998 % 50);
}

QUIREVALE_TEST_MAIN(tst_MainWindow)
// The option table and the form agree: every control an entry names is
// there and can show the option's values, and every control of the option
// column is named by an entry, or follows a control that is.
void tst_MainWindow::everyControlHasItsEntry()
{
    Quirevale window;
    QSet<QString> named;
    for (const BookOption &option : bookOptions()) {
        for (const BookOption::Control &control : option.controlList()) {
            named << control.name;
            QObject *found = window.findChild<QObject *>(control.name);
            QVERIFY2(found, qPrintable(control.name));
            if (auto *spin = qobject_cast<QSpinBox *>(found)) {
                QCOMPARE(spin->minimum(), option.range.minimum);
                QCOMPARE(spin->maximum(), option.range.maximum);
            } else if (auto *combo = qobject_cast<QComboBox *>(found)) {
                QCOMPARE(combo->count(), option.range.maximum + 1);
            } else if (auto *button = qobject_cast<QAbstractButton *>(found)) {
                QVERIFY2(button->isCheckable(), qPrintable(control.name));
            } else if (auto *action = qobject_cast<QAction *>(found)) {
                QVERIFY2(action->isCheckable(), qPrintable(control.name));
            } else {
                QVERIFY2(qobject_cast<QAbstractSlider *>(found), qPrintable(control.name));
            }
            QVERIFY2(control.value < 0 || qobject_cast<QAbstractButton *>(found),
                     qPrintable(control.name));
        }
        if (option.usedUnder)
            QVERIFY2(option.usedUnderOption(), option.name);
    }
    const auto *column = child<QScrollArea>(&window, "OptionsScroll");
    for (QWidget *widget : column->widget()->findChildren<QWidget *>()) {
        const bool input = qobject_cast<QSpinBox *>(widget) || qobject_cast<QComboBox *>(widget) ||
                           qobject_cast<QAbstractSlider *>(widget) ||
                           (qobject_cast<QAbstractButton *>(widget) &&
                            qobject_cast<QAbstractButton *>(widget)->isCheckable());
        // Parts of a spin box or a combo box are not controls of their own.
        if (!input || qobject_cast<QScrollBar *>(widget) || widget->objectName().startsWith("qt_"))
            continue;
        const QString follows = widget->property("followsControl").toString();
        QVERIFY2(named.contains(widget->objectName()) || named.contains(follows),
                 qPrintable(QStringLiteral("%1 %2").arg(widget->metaObject()->className(),
                                                        widget->objectName())));
    }
}

void tst_MainWindow::controlsEnabledAsTheTableSays_data()
{
    QTest::addColumn<QString>("option");
    for (const BookOption &option : bookOptions()) {
        if (option.usedUnder && option.controls)
            QTest::newRow(option.name) << QString::fromLatin1(option.name);
    }
}

// An option's controls, and the labels and widgets that follow them, are
// enabled exactly while the option it is used under has the value it
// needs.
void tst_MainWindow::controlsEnabledAsTheTableSays()
{
    QFETCH(QString, option);
    const BookOption *entry = bookOption(option);
    const BookOption *under = entry->usedUnderOption();
    for (const bool inUse : {false, true}) {
        BookOptions options;
        // Everything it is used under in use, then the nearest one set as
        // the row asks.
        for (const BookOption *above = under; above; above = above->usedUnderOption())
            above->set(options, 1);
        const QString needed = QString::fromLatin1(entry->usedUnder).section('=', 1);
        const int value = needed.isEmpty() ? 1 : needed.toInt();
        under->set(options, inUse ? value : (value == 0 ? 1 : 0));
        QCOMPARE(entry->inUse(options), inUse);
        {
            QSettings settings;
            saveBookOptions(settings, options);
        }
        Quirevale window;
        child<QFrame>(&window, "OptionsFrame")->setEnabled(true);
        for (const BookOption::Control &control : entry->controlList()) {
            auto *widget = window.findChild<QWidget *>(control.name);
            QCOMPARE(widget->isEnabled(), inUse);
            for (QLabel *label : window.findChildren<QLabel *>()) {
                if (label->buddy() == widget)
                    QCOMPARE(label->isEnabled(), inUse);
            }
            for (QWidget *follower : window.findChildren<QWidget *>()) {
                if (follower->property("followsControl").toString() == control.name)
                    QCOMPARE(follower->isEnabled(), inUse);
            }
        }
    }
}

#include "tst_mainwindow.moc"
