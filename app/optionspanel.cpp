#include "app/optionspanel.h"

#include "book/optiontable.h"
#include "ui_quirevale.h"

#include <QAction>
#include <QScrollBar>
#include <QWheelEvent>

namespace {
// Which control shows which option: the control holds the value itself, or
// (a radio button, one of two check boxes) stands for one value of it.
struct Binding
{
    const char *option;
    const char *control;
    int value; // -1: the control holds the value
};

const Binding Bindings[] = {
    {"ImageQuality", "ImageQuality", -1},
    {"PageFormat", "ImageFormat", -1},
    {"KeepUnchangedJpeg", "ImageKeepJpeg", -1},
    {"StorePages", "ImageStorePages", -1},
    {"LosslessCuts", "ImageLosslessCuts", -1},
    {"PageGrey", "ImageGreyAuto", PageOptions::GreyWithoutColour},
    {"PageGrey", "ImageGreyAll", PageOptions::GreyEveryPage},
    {"ImageResize", "ImageResize", 1},
    {"ImageResize", "ImageKeepOriginalSize", 0},
    {"ResizeImageWidth", "ResizeImageWidth", -1},
    {"ResizeImageHeight", "ResizeImageHeight", -1},
    {"ImageResizeMode", "ImageResizeMode", -1},
    {"ImageResizeSmooth", "ImageResizeSmooth", -1},
    {"ImageResizeNoEnlarge", "ImageResizeNoEnlarge", -1},
    {"ImageCutDoublePages", "ImageCutDoublePages", -1},
    {"ImageCutOnlyWide", "ImageCutOnlyWide", -1},
    {"ImageCutPointNumber", "ImageCutPointNumber", -1},
    {"ImageCutFirstPageRight", "ImageCutFirstPageRight", 1},
    {"ImageCutFirstPageRight", "ImageCutFirstPageLeft", 0},
    {"ImageCutBorder", "ImageCutBorder", -1},
    {"ImageCutBorderNumber", "ImageCutBorderNumber", -1},
    {"ImageTrimMargins", "ImageTrimMargins", -1},
    {"ImageTrimTolerance", "ImageTrimTolerance", -1},
    {"ScanStraighten", "ScanStraighten", -1},
    {"ScanLevels", "ScanLevels", -1},
    {"ScanLevelsGamma", "ScanLevelsGamma", -1},
    {"ScanLeaveOutBlank", "ScanLeaveOutBlank", -1},
    {"FacingSpreads", "FacingSpreads", -1},
    {"ListEveryPictureType", "actionListEveryType", -1},
};

int valueOf(const QObject *control)
{
    if (auto *slider = qobject_cast<const QAbstractSlider *>(control))
        return slider->value();
    if (auto *spin = qobject_cast<const QSpinBox *>(control))
        return spin->value();
    if (auto *combo = qobject_cast<const QComboBox *>(control))
        return combo->currentIndex();
    if (auto *button = qobject_cast<const QAbstractButton *>(control))
        return button->isChecked();
    if (auto *action = qobject_cast<const QAction *>(control))
        return action->isChecked();
    return 0;
}

void show(QObject *control, int value)
{
    if (auto *slider = qobject_cast<QAbstractSlider *>(control))
        slider->setValue(value);
    else if (auto *spin = qobject_cast<QSpinBox *>(control))
        spin->setValue(value);
    else if (auto *combo = qobject_cast<QComboBox *>(control))
        combo->setCurrentIndex(value);
    else if (auto *button = qobject_cast<QAbstractButton *>(control))
        button->setChecked(value != 0);
    else if (auto *action = qobject_cast<QAction *>(control))
        action->setChecked(value != 0);
}

void setRange(QObject *control, const OptionRange &range)
{
    if (auto *slider = qobject_cast<QAbstractSlider *>(control))
        slider->setRange(range.minimum, range.maximum);
    else if (auto *spin = qobject_cast<QSpinBox *>(control))
        spin->setRange(range.minimum, range.maximum);
}
} // namespace

OptionsPanel::OptionsPanel(Ui::QuirevaleClass &form, QWidget *window)
    : QObject(window)
    , ui(form)
    , m_window(window)
{
    bindControls();
    // The cut point's slider has no option of its own: it mirrors the number.
    setRange(ui.ImageCutPointSlide, PageOptions::CutPoint);
    connect(ui.ImageResizePreset, qOverload<int>(&QComboBox::activated), this,
            &OptionsPanel::choosePreset);
    fillScreenSizes();
    fitColumn();
    // A wheel turned over the column scrolls it: a control only takes the
    // wheel once it has been clicked or tabbed to. Every control that a
    // wheel would change, bound to an option or not (the screen sizes).
    for (QWidget *widget : ui.OptionsScroll->findChildren<QWidget *>()) {
        // The column's own scroll bars are what the wheel turns.
        if (qobject_cast<QScrollBar *>(widget))
            continue;
        if (qobject_cast<QAbstractSpinBox *>(widget) || qobject_cast<QComboBox *>(widget) ||
            qobject_cast<QAbstractSlider *>(widget)) {
            widget->setFocusPolicy(Qt::StrongFocus);
            widget->installEventFilter(this);
        }
    }
}

// Ranges from the table; any change of a bound control is a change of the
// options.
void OptionsPanel::bindControls()
{
    for (const Binding &binding : Bindings) {
        QObject *control = m_window->findChild<QObject *>(QLatin1String(binding.control));
        Q_ASSERT(control && bookOption(QLatin1String(binding.option)));
        setRange(control, bookOption(QLatin1String(binding.option))->range);
        const auto changedNow = [this, control] {
            keepGreyChoicesApart(control);
            updateEnabled();
            emit changed();
        };
        if (auto *slider = qobject_cast<QAbstractSlider *>(control))
            connect(slider, &QAbstractSlider::valueChanged, this, changedNow);
        else if (auto *spin = qobject_cast<QSpinBox *>(control))
            connect(spin, qOverload<int>(&QSpinBox::valueChanged), this, changedNow);
        else if (auto *combo = qobject_cast<QComboBox *>(control))
            connect(combo, qOverload<int>(&QComboBox::currentIndexChanged), this, changedNow);
        else if (auto *button = qobject_cast<QAbstractButton *>(control))
            connect(button, &QAbstractButton::toggled, this, changedNow);
    }
}

bool OptionsPanel::eventFilter(QObject *watched, QEvent *event)
{
    auto *widget = qobject_cast<QWidget *>(watched);
    if (event->type() == QEvent::Wheel && widget && !widget->hasFocus()) {
        QCoreApplication::sendEvent(ui.OptionsScroll->verticalScrollBar(), event);
        return true;
    }
    return QObject::eventFilter(watched, event);
}

// Two check boxes stand for one choice: checking one unchecks the other.
void OptionsPanel::keepGreyChoicesApart(QObject *chosen)
{
    QAbstractButton *other = chosen == ui.ImageGreyAuto  ? ui.ImageGreyAll
                             : chosen == ui.ImageGreyAll ? ui.ImageGreyAuto
                                                         : nullptr;
    if (other && valueOf(chosen))
        other->setChecked(false);
}

void OptionsPanel::apply(const BookOptions &options)
{
    m_unbound = options;
    for (const Binding &binding : Bindings) {
        QObject *control = m_window->findChild<QObject *>(QLatin1String(binding.control));
        const int value = bookOption(QLatin1String(binding.option))->get(options);
        if (binding.value < 0)
            show(control, value);
        else if (value == binding.value)
            show(control, 1);
        else if (!qobject_cast<QRadioButton *>(control))
            show(control, 0); // a radio button is unchecked by its partner
    }
    updateEnabled();
    emit changed();
}

BookOptions OptionsPanel::read() const
{
    // Only these two have no control; every other option is read from its
    // own (a choice shown by buttons is its first value unless one is
    // checked).
    BookOptions options;
    options.pages.PdfResolution = m_unbound.pages.PdfResolution;
    options.writeComicInfo = m_unbound.writeComicInfo;
    for (const Binding &binding : Bindings) {
        const QObject *control = m_window->findChild<QObject *>(QLatin1String(binding.control));
        const BookOption *option = bookOption(QLatin1String(binding.option));
        if (binding.value < 0)
            option->set(options, valueOf(control));
        else if (valueOf(control))
            option->set(options, binding.value);
    }
    return options;
}

void OptionsPanel::setPdfResolution(int dotsPerInch)
{
    m_unbound.pages.PdfResolution = dotsPerInch;
}

void OptionsPanel::setWriteComicInfo(bool write)
{
    m_unbound.writeComicInfo = write;
}

void OptionsPanel::updateEnabled()
{
    const auto enable = [](bool on, std::initializer_list<QWidget *> widgets) {
        for (QWidget *widget : widgets)
            widget->setEnabled(on);
    };
    enable(ui.ImageResize->isChecked(),
           {ui.ResizeImageWidth, ui.ResizeImageWidthLabel, ui.ResizeImageHeight,
            ui.ResizeImageHeightLabel, ui.ImageResizeMode, ui.ImageResizePreset,
            ui.ImageResizeSmooth});
    enable(ui.ImageResize->isChecked() &&
               ui.ImageResizeMode->currentIndex() == PageOptions::ResizeToFit,
           {ui.ImageResizeNoEnlarge});
    enable(ui.ImageCutDoublePages->isChecked(),
           {ui.ImageCutPointLabel, ui.ImageCutPointSlide, ui.ImageCutPointNumber,
            ui.ImageCutPageLabel, ui.ImageCutFirstPageLeft, ui.ImageCutFirstPageRight,
            ui.ImageCutOnlyWide});
    enable(ui.ImageCutBorder->isChecked(), {ui.ImageBorderCutLabel, ui.ImageCutBorderNumber});
    enable(ui.ImageTrimMargins->isChecked(), {ui.ImageTrimToleranceLabel, ui.ImageTrimTolerance});
    enable(ui.ScanLevels->isChecked(), {ui.ScanLevelsGammaLabel, ui.ScanLevelsGamma});
    ui.ImageQualityNumber->setText(QString::number(ui.ImageQuality->value()));
    // Pages for an e-ink reader: most of those show no WebP.
    ui.FormatWarning->setVisible(ui.ImageFormat->currentIndex() != PageOptions::JpegPages &&
                                 ui.ImageGreyAll->isChecked());
}

// Screens of common readers, portrait; the first entry names the list.
void OptionsPanel::fillScreenSizes()
{
    struct Screen
    {
        const char *name;
        int width, height;
    };
    static const Screen screens[] = {
        {"Kindle (2022), Kobo Clara", 1072, 1448},
        {"Kindle Paperwhite (2021)", 1236, 1648},
        {"Kindle Oasis, Kobo Libra", 1264, 1680},
        {"Kindle Scribe", 1860, 2480},
        {"Kobo Sage", 1440, 1920},
        {"iPad (10th gen.)", 1640, 2360},
        {"iPad Pro 12.9\"", 2048, 2732},
        {"Full HD tablet", 1200, 1920},
    };
    ui.ImageResizePreset->clear();
    ui.ImageResizePreset->addItem(QCoreApplication::translate("Quirevale", "Screen size…"));
    for (const Screen &screen : screens)
        ui.ImageResizePreset->addItem(QStringLiteral("%1: %2 × %3")
                                          .arg(QLatin1String(screen.name))
                                          .arg(screen.width)
                                          .arg(screen.height),
                                      QSize(screen.width, screen.height));
}

// A reader's screen sets the width and height; the first entry only names
// the list.
void OptionsPanel::choosePreset(int index)
{
    const QSize size = ui.ImageResizePreset->itemData(index).toSize();
    if (!size.isValid())
        return;
    ui.ResizeImageWidth->setValue(size.width());
    ui.ResizeImageHeight->setValue(size.height());
    ui.ImageResizePreset->setCurrentIndex(0);
}

void OptionsPanel::fitColumn()
{
    ui.OptionsFrame->ensurePolished();
    const int needed = ui.OptionsFrame->layout()->minimumSize().height();
    if (needed > ui.OptionsFrame->minimumHeight())
        ui.OptionsFrame->setMinimumHeight(needed);
    ui.OptionsScroll->setFixedWidth(ui.OptionsFrame->maximumWidth() +
                                    ui.OptionsScroll->verticalScrollBar()->sizeHint().width());
    ui.OptionsScroll->setMinimumHeight(0);
}
