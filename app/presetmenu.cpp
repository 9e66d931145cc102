#include "app/presetmenu.h"

#include "app/optionspanel.h"
#include "book/bookpreset.h"
#include "dialogs/presetpicker.h"

#include <QAction>
#include <QInputDialog>
#include <QMenu>
#include <QMessageBox>
#include <QSettings>

namespace {
const char PresetProperty[] = "quirevalePreset";
}

PresetMenu::PresetMenu(const Widgets &widgets, OptionsPanel *options, QWidget *window)
    : QObject(window)
    , ui(widgets)
    , m_options(options)
    , m_window(window)
{
    connect(ui.menu, &QMenu::aboutToShow, this, &PresetMenu::fill);
    connect(ui.save, &QAction::triggered, this, &PresetMenu::saveOptions);
    connect(ui.remove, &QAction::triggered, this, &PresetMenu::deletePreset);
    connect(ui.reset, &QAction::triggered, this, [this] { m_options->apply(BookOptions()); });
    fill();
}

void PresetMenu::fill()
{
    for (QAction *action : ui.menu->actions()) {
        if (action->property(PresetProperty).isValid()) {
            ui.menu->removeAction(action);
            action->deleteLater();
        }
    }
    QSettings settings;
    // The program's, and the first of the user's: a store of thousands
    // lists them behind "More Presets…".
    QVector<BookPreset> presets = BookPreset::builtIns();
    const QStringList ownNames = BookPreset::ownNames(settings);
    for (const QString &name : ownNames.mid(0, Listed)) {
        const BookPreset own = BookPreset::read(settings, name);
        if (own.isValid())
            presets << own;
    }
    QAction *first = ui.menu->actions().value(0);
    const QString chosen = inUse();
    bool own = false;
    for (const BookPreset &preset : qAsConst(presets)) {
        if (!preset.isBuiltIn() && !own) {
            own = true;
            QAction *separator = new QAction(ui.menu);
            separator->setSeparator(true);
            separator->setProperty(PresetProperty, QString());
            ui.menu->insertAction(first, separator);
        }
        auto *action = new QAction(preset.title(), ui.menu);
        action->setProperty(PresetProperty, preset.name());
        action->setToolTip(preset.description());
        action->setStatusTip(preset.description());
        action->setCheckable(true);
        action->setChecked(preset.name() == chosen);
        const QString name = preset.name();
        connect(action, &QAction::triggered, this, [this, name] { choose(name); });
        ui.menu->insertAction(first, action);
    }
    if (ownNames.size() > Listed) {
        auto *more = new QAction(tr("More Presets… (%1)").arg(ownNames.size()), ui.menu);
        more->setProperty(PresetProperty, QString());
        connect(more, &QAction::triggered, this, &PresetMenu::chooseAmongAll);
        ui.menu->insertAction(first, more);
    }
    ui.remove->setEnabled(!ownNames.isEmpty());
}

// In use until an option it sets is changed.
QString PresetMenu::inUse() const
{
    if (m_chosen.isEmpty())
        return QString();
    const BookOptions now = m_options->read();
    const BookPreset chosen = BookPreset::find(QSettings(), m_chosen);
    return chosen.isValid() && chosen.appliedTo(now) == now ? chosen.name() : QString();
}

void PresetMenu::choose(const QString &name)
{
    if (name.isEmpty()) {
        m_chosen.clear();
        emit chosenChanged();
        return;
    }
    QSettings settings;
    const BookPreset chosen = BookPreset::find(settings, name);
    if (chosen.isValid()) {
        m_chosen = chosen.name();
        m_options->apply(chosen.appliedTo(m_options->read()));
        emit chosenChanged();
    }
}

void PresetMenu::chooseAmongAll()
{
    PresetPicker picker(BookPreset::ownNames(QSettings()), m_window);
    if (picker.exec() == QDialog::Accepted && !picker.chosen().isEmpty())
        choose(picker.chosen());
}

void PresetMenu::saveOptions()
{
    bool ok = false;
    const QString name =
        QInputDialog::getText(m_window, tr("Save Options as Preset"), tr("Name of the preset:"),
                              QLineEdit::Normal, QString(), &ok)
            .trimmed();
    if (!ok || name.isEmpty())
        return;
    QSettings settings;
    const BookPreset existing = BookPreset::find(settings, name);
    if (existing.isValid() && !existing.isBuiltIn() &&
        QMessageBox::question(m_window, tr("Save Options as Preset"),
                              tr("Replace your preset \"%1\"?").arg(name)) != QMessageBox::Yes)
        return;
    if (!BookPreset::save(settings, name, m_options->read()))
        QMessageBox::warning(m_window, tr("Save Options as Preset"),
                             tr("\"%1\" cannot be the name of a preset of yours: it is a "
                                "preset's of this program, or it holds a slash.")
                                 .arg(name));
    fill();
}

void PresetMenu::deletePreset()
{
    QSettings settings;
    const QStringList own = BookPreset::ownNames(settings);
    if (own.isEmpty())
        return;
    QString name;
    if (own.size() <= Listed) {
        bool ok = false;
        name = QInputDialog::getItem(m_window, tr("Delete Preset"), tr("Preset to delete:"), own, 0,
                                     false, &ok);
        if (!ok)
            return;
    } else {
        PresetPicker picker(own, m_window);
        picker.setWindowTitle(tr("Delete Preset"));
        if (picker.exec() != QDialog::Accepted)
            return;
        name = picker.chosen();
    }
    BookPreset::remove(settings, name);
    fill();
}
