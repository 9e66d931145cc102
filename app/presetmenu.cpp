#include "app/presetmenu.h"

#include "app/optionspanel.h"
#include "book/bookpreset.h"

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
        if (action->property(PresetProperty).isValid())
            action->deleteLater();
    }
    QSettings settings;
    const QVector<BookPreset> presets = BookPreset::all(settings);
    QAction *first = ui.menu->actions().value(0);
    // In use until an option it sets is changed.
    const BookOptions now = m_options->read();
    const BookPreset chosen = BookPreset::find(settings, m_chosen);
    const QString inUse =
        chosen.isValid() && chosen.appliedTo(now) == now ? chosen.name() : QString();
    bool own = false;
    for (const BookPreset &preset : presets) {
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
        action->setChecked(preset.name() == inUse);
        const QString name = preset.name();
        connect(action, &QAction::triggered, this, [this, name] {
            QSettings settings;
            const BookPreset chosen = BookPreset::find(settings, name);
            if (chosen.isValid()) {
                m_options->apply(chosen.appliedTo(m_options->read()));
                m_chosen = chosen.name();
            }
        });
        ui.menu->insertAction(first, action);
    }
    ui.remove->setEnabled(own);
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
    QStringList own;
    for (const BookPreset &preset : BookPreset::all(settings)) {
        if (!preset.isBuiltIn())
            own << preset.name();
    }
    if (own.isEmpty())
        return;
    bool ok = false;
    const QString name = QInputDialog::getItem(m_window, tr("Delete Preset"),
                                               tr("Preset to delete:"), own, 0, false, &ok);
    if (!ok)
        return;
    BookPreset::remove(settings, name);
    fill();
}
