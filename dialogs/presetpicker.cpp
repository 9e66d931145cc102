#include "dialogs/presetpicker.h"

#include <QPushButton>

PresetPicker::PresetPicker(const QStringList &names, QWidget *parent)
    : QDialog(parent)
    , m_names(names)
{
    ui.setupUi(this);
    connect(ui.PresetSearch, &QLineEdit::textChanged, this, &PresetPicker::showMatches);
    connect(ui.PresetList, &QListWidget::itemDoubleClicked, this, &QDialog::accept);
    connect(ui.PresetList, &QListWidget::currentRowChanged, this,
            [this](int row) { ui.Buttons->button(QDialogButtonBox::Ok)->setEnabled(row >= 0); });
    showMatches(QString());
}

void PresetPicker::showMatches(const QString &search)
{
    ui.PresetList->clear();
    int matches = 0;
    QStringList shown;
    for (const QString &name : qAsConst(m_names)) {
        if (!search.isEmpty() && !name.contains(search, Qt::CaseInsensitive))
            continue;
        if (++matches <= Shown)
            shown << name;
    }
    ui.PresetList->addItems(shown);
    if (!shown.isEmpty())
        ui.PresetList->setCurrentRow(0);
    ui.Buttons->button(QDialogButtonBox::Ok)->setEnabled(!shown.isEmpty());
    ui.PresetCount->setText(
        matches > Shown ? tr("The first %1 of %2; type to find the others.").arg(Shown).arg(matches)
        : matches == 1  ? tr("1 preset")
                        : tr("%1 presets").arg(matches));
}

QString PresetPicker::chosen() const
{
    const QListWidgetItem *item = ui.PresetList->currentItem();
    return item ? item->text() : QString();
}
