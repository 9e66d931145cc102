#include "app/optionspanel.h"

#include "book/optiontable.h"

#include <QAction>
#include <QComboBox>
#include <QCoreApplication>
#include <QHash>
#include <QLabel>
#include <QLayout>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSpinBox>
#include <QWheelEvent>

namespace {
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

OptionsPanel::OptionsPanel(const Widgets &widgets, QObject *parent)
    : QObject(parent)
    , m_widgets(widgets)
{
    bindControls();
    // The cut point's slider has no option of its own: it mirrors the number.
    setRange(m_widgets.cutPointSlide, PageOptions::CutPoint);
    connect(m_widgets.screenSizes, qOverload<int>(&QComboBox::activated), this,
            &OptionsPanel::choosePreset);
    fillScreenSizes();
    fitColumn();
    // A wheel turned over the column scrolls it: a control only takes the
    // wheel once it has been clicked or tabbed to. Every control that a
    // wheel would change, bound to an option or not (the screen sizes).
    for (QWidget *widget : m_widgets.column->findChildren<QWidget *>()) {
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

QObject *OptionsPanel::control(const QString &name) const
{
    if (m_widgets.listEveryType && m_widgets.listEveryType->objectName() == name)
        return m_widgets.listEveryType;
    return m_widgets.column->findChild<QObject *>(name);
}

// The table's controls found once; ranges from the table; any change of a
// bound control is a change of the options. A control the table names but
// the form lacks is left out here (a test holds the two together).
void OptionsPanel::bindControls()
{
    for (const BookOption &option : bookOptions()) {
        for (const BookOption::Control &named : option.controlList()) {
            QObject *found = control(named.name);
            if (!found)
                continue;
            m_bound.append({&option, found, named.value});
            setRange(found, option.range);
        }
    }
    for (const Bound &bound : qAsConst(m_bound)) {
        const auto changedNow = [this, bound] {
            keepChoicesApart(bound);
            updateEnabled();
            emit changed();
        };
        QObject *control = bound.control;
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
        QCoreApplication::sendEvent(m_widgets.column->verticalScrollBar(), event);
        return true;
    }
    return QObject::eventFilter(watched, event);
}

// Check boxes that each stand for one value of a choice: checking one
// unchecks the others (radio buttons do so themselves).
void OptionsPanel::keepChoicesApart(const Bound &chosen)
{
    if (chosen.value < 0 || !valueOf(chosen.control) ||
        qobject_cast<QRadioButton *>(chosen.control))
        return;
    for (const Bound &other : qAsConst(m_bound)) {
        if (other.option == chosen.option && other.control != chosen.control)
            show(other.control, 0);
    }
}

void OptionsPanel::apply(const BookOptions &options)
{
    m_unbound = options;
    for (const Bound &bound : qAsConst(m_bound)) {
        const int value = bound.option->get(options);
        if (bound.value < 0)
            show(bound.control, value);
        else if (value == bound.value)
            show(bound.control, 1);
        else if (!qobject_cast<QRadioButton *>(bound.control))
            show(bound.control, 0); // a radio button is unchecked by its partner
    }
    updateEnabled();
    emit changed();
}

BookOptions OptionsPanel::read() const
{
    // The options without a control keep what they were set to; every
    // other option is read from its own. A choice shown by buttons is its
    // first value unless one of them is checked.
    BookOptions options = m_unbound;
    for (const Bound &bound : qAsConst(m_bound))
        bound.option->set(options,
                          bound.value < 0 ? valueOf(bound.control) : bound.option->range.initial);
    for (const Bound &bound : qAsConst(m_bound)) {
        if (bound.value >= 0 && valueOf(bound.control))
            bound.option->set(options, bound.value);
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
    const BookOptions options = read();
    QHash<const QObject *, bool> inUse;
    for (const Bound &bound : qAsConst(m_bound)) {
        inUse.insert(bound.control, bound.option->inUse(options));
        if (auto *widget = qobject_cast<QWidget *>(bound.control))
            widget->setEnabled(inUse.value(bound.control));
    }
    // Labels follow their buddies, other widgets the control they name.
    for (QWidget *widget : m_widgets.column->findChildren<QWidget *>()) {
        const QObject *followed = nullptr;
        if (auto *label = qobject_cast<QLabel *>(widget))
            followed = label->buddy();
        const QByteArray name = widget->property("followsControl").toByteArray();
        if (!name.isEmpty())
            followed = control(QString::fromLatin1(name));
        if (followed && inUse.contains(followed))
            widget->setEnabled(inUse.value(followed));
    }
    m_widgets.qualityNumber->setText(QString::number(options.pages.ImageQuality));
    // Pages for an e-ink reader: most of those show no WebP.
    m_widgets.formatWarning->setVisible(options.pages.PageFormat != PageOptions::JpegPages &&
                                        options.pages.PageGrey == PageOptions::GreyEveryPage);
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
    m_widgets.screenSizes->clear();
    m_widgets.screenSizes->addItem(QCoreApplication::translate("Quirevale", "Screen size…"));
    for (const Screen &screen : screens)
        m_widgets.screenSizes->addItem(QStringLiteral("%1: %2 × %3")
                                           .arg(QLatin1String(screen.name))
                                           .arg(screen.width)
                                           .arg(screen.height),
                                       QSize(screen.width, screen.height));
}

// A reader's screen sets the width and height; the first entry only names
// the list.
void OptionsPanel::choosePreset(int index)
{
    const QSize size = m_widgets.screenSizes->itemData(index).toSize();
    if (!size.isValid())
        return;
    show(control(QStringLiteral("ResizeImageWidth")), size.width());
    show(control(QStringLiteral("ResizeImageHeight")), size.height());
    m_widgets.screenSizes->setCurrentIndex(0);
}

void OptionsPanel::fitColumn()
{
    QWidget *frame = m_widgets.frame;
    frame->ensurePolished();
    const int needed = frame->layout()->minimumSize().height();
    if (needed > frame->minimumHeight())
        frame->setMinimumHeight(needed);
    m_widgets.column->setFixedWidth(frame->maximumWidth() +
                                    m_widgets.column->verticalScrollBar()->sizeHint().width());
    m_widgets.column->setMinimumHeight(0);
}
