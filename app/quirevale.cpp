#include "quirevale.h"

#include "about.h"
#include "cbzbuild.h"
#include "donations.h"
#include "shelltaskbarprogress.h"

#include <QApplication>
#include <QEvent>
#include <QIcon>
#include <QLocale>
#include <QSettings>

namespace {
const char *const Version = "1.5";
const int EnglishLanguage = QLocale::English; // 31
const int ItalianLanguage = QLocale::Italian; // 58
} // namespace

Quirevale::Quirevale(QWidget *parent)
    : QMainWindow(parent)
    , Translator(this)
    , TaskbarButton(this)
{
    ui.setupUi(this);
    fitOptionColumn();
    // Shown only while a build runs; Escape stops the build as well.
    ui.CancelBuild->hide();
    ui.CancelBuild->setShortcut(QKeySequence(Qt::Key_Escape));

    QApplication::setWindowIcon(QIcon(QStringLiteral(":/Quirevale/Quirevale.ico")));
    QCoreApplication::setOrganizationName(QStringLiteral("Ostrelind"));
    QCoreApplication::setApplicationName(QStringLiteral("Quirevale"));

    setWindowTitle(QStringLiteral("%1  v%2").arg(windowTitle()).arg(QLatin1String(Version)));

    // Relative weights: the preview side takes nearly all of the width.
    ui.ImageSplitterFrame->setSizes({ui.ImagesList->minimumWidth(), 2000});

    connect(ui.actionEnglish, &QAction::triggered, &LanguageMapper,
            qOverload<>(&QSignalMapper::map));
    LanguageMapper.setMapping(ui.actionEnglish, EnglishLanguage);
    connect(ui.actionItaliano, &QAction::triggered, &LanguageMapper,
            qOverload<>(&QSignalMapper::map));
    LanguageMapper.setMapping(ui.actionItaliano, ItalianLanguage);
    connect(&LanguageMapper, &QSignalMapper::mappedInt, this, &Quirevale::SetTranslationLanguage);

    QSettings settings;
    restoreGeometry(settings.value(QStringLiteral("MainWindowGeometry")).toByteArray());
    restoreState(settings.value(QStringLiteral("MainWindowState")).toByteArray(), 0);
    ui.ImageSplitterFrame->restoreState(
        settings.value(QStringLiteral("PanelsSplitter")).toByteArray());
    CbzSaveDir = settings.value(QStringLiteral("LastCbzSaveDir")).toString();
    ImagesDir = settings.value(QStringLiteral("LastImagesDir")).toString();
    SetTranslationLanguage(
        settings.value(QStringLiteral("Language"), int(QLocale::system().language())).toInt());

    TaskbarProgress = TaskbarButton.progress();
    connect(&MakeCbzWatcher, &QFutureWatcher<bool>::finished, this, &Quirevale::MakeCbzFinished);
}

Quirevale::~Quirevale()
{
    finishBuildBeforeDestruction();

    QSettings settings;
    settings.setValue(QStringLiteral("PanelsSplitter"), ui.ImageSplitterFrame->saveState());
    settings.setValue(QStringLiteral("MainWindowGeometry"), saveGeometry());
    settings.setValue(QStringLiteral("MainWindowState"), saveState(0));
    settings.setValue(QStringLiteral("LastCbzSaveDir"), CbzSaveDir);
    settings.setValue(QStringLiteral("LastImagesDir"), ImagesDir);
}

void Quirevale::showEvent(QShowEvent *event)
{
    // The native window may be new after every show, so bind again each time.
    TaskbarButton.setWindow(windowHandle());
    QMainWindow::showEvent(event);
}

void Quirevale::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange) {
        ui.retranslateUi(this);
        fitOptionColumn();
    }
    QMainWindow::changeEvent(event);
}

// The option column's minimum height was chosen for small system fonts.
// Where the fonts (or a translation's longer words) need more, the column
// takes what its contents need, so that no control is squeezed and clipped;
// the window then grows to match.
void Quirevale::fitOptionColumn()
{
    ui.OptionsFrame->ensurePolished();
    const int needed = ui.OptionsFrame->layout()->minimumSize().height();
    if (needed > ui.OptionsFrame->minimumHeight())
        ui.OptionsFrame->setMinimumHeight(needed);
}

void Quirevale::setResizeControlsEnabled(bool enabled)
{
    ui.ResizeImageWidth->setEnabled(enabled);
    ui.ResizeImageWidthLabel->setEnabled(enabled);
    ui.ResizeImageHeight->setEnabled(enabled);
    ui.ResizeImageHeightLabel->setEnabled(enabled);
}

void Quirevale::on_ImageResize_clicked()
{
    setResizeControlsEnabled(true);
}

void Quirevale::on_ImageKeepOriginalSize_clicked()
{
    setResizeControlsEnabled(false);
}

void Quirevale::on_ImageCutDoublePages_clicked()
{
    const bool on = ui.ImageCutDoublePages->isChecked();
    ui.ImageCutPointLabel->setEnabled(on);
    ui.ImageCutPointSlide->setEnabled(on);
    ui.ImageCutPointNumber->setEnabled(on);
    ui.ImageCutPageLabel->setEnabled(on);
    ui.ImageCutFirstPageLeft->setEnabled(on);
    ui.ImageCutFirstPageRight->setEnabled(on);
    // The preview draws exactly what the number control shows right now.
    ui.ImageArea->SetCutDoublePages(on);
    ui.ImageArea->SetCutPoint(ui.ImageCutPointNumber->value());
}

void Quirevale::on_ImageCutBorder_clicked()
{
    const bool on = ui.ImageCutBorder->isChecked();
    ui.ImageBorderCutLabel->setEnabled(on);
    ui.ImageCutBorderNumber->setEnabled(on);
    ui.ImageArea->SetCutBorder(on);
    ui.ImageArea->SetCutBorderSize(ui.ImageCutBorderNumber->value());
}

// The slider and the spin box mirror each other; the echo stops after one
// round trip because neither reports a value it already holds.
void Quirevale::on_ImageCutPointSlide_valueChanged(int value)
{
    ui.ImageCutPointNumber->setValue(value);
    ui.ImageArea->SetCutPoint(value);
}

void Quirevale::on_ImageCutPointNumber_valueChanged(int value)
{
    ui.ImageCutPointSlide->setValue(value);
    ui.ImageArea->SetCutPoint(value);
}

void Quirevale::on_ImageCutBorderNumber_valueChanged(int value)
{
    ui.ImageArea->SetCutBorderSize(value);
}

void Quirevale::on_ImageCutFirstPageLeft_clicked()
{
    ui.ImageArea->SetFirstPageRight(false);
}

void Quirevale::on_ImageCutFirstPageRight_clicked()
{
    ui.ImageArea->SetFirstPageRight(true);
}

void Quirevale::on_actionExit_triggered()
{
    close();
}

void Quirevale::on_actionDonations_triggered()
{
    Donations dialog(this);
    dialog.exec();
}

void Quirevale::on_actionAbout_triggered()
{
    About dialog(this, QLatin1String(Version));
    dialog.exec();
}

void Quirevale::SetTranslationLanguage(int LangID)
{
    QSettings settings;
    QString suffix;

    // Always start from the source texts; a catalogue is installed again
    // only once it has loaded.
    QCoreApplication::removeTranslator(&Translator);
    if (LangID == ItalianLanguage)
        suffix = QStringLiteral("it");
    if (!suffix.isEmpty()) {
        if (Translator.load(QStringLiteral(":/Translations/quirevale_%1").arg(suffix)))
            QCoreApplication::installTranslator(&Translator);
    }

    ui.actionEnglish->setChecked(LangID == EnglishLanguage);
    ui.actionItaliano->setChecked(LangID == ItalianLanguage);
    settings.setValue(QStringLiteral("Language"), LangID);
}
