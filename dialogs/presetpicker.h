#ifndef PRESETPICKER_H
#define PRESETPICKER_H

#include "ui_presetpicker.h"

#include <QDialog>
#include <QStringList>

// The user's presets beyond those the Presets menu lists: found by a part
// of their names, a few hundred shown at a time however many there are.
class PresetPicker : public QDialog
{
    Q_OBJECT

public:
    // Names shown at once; a search narrows them down.
    static constexpr int Shown = 500;

    PresetPicker(const QStringList &names, QWidget *parent);
    // The name chosen; empty when none was.
    QString chosen() const;

private:
    void showMatches(const QString &search);

    Ui::PresetPicker ui;
    QStringList m_names;
};

#endif // PRESETPICKER_H
