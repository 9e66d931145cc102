#ifndef PRESETMENU_H
#define PRESETMENU_H

#include <QObject>

class OptionsPanel;
class QAction;
class QMenu;
class QWidget;

// The Presets menu: the built-in presets and the user's own, each telling
// what it sets; saving the options as a preset, deleting one, and going
// back to the options of a first start. A preset sets the options panel,
// never a page's own treatment.
class PresetMenu : public QObject
{
    Q_OBJECT

public:
    // The menu and the actions it drives.
    struct Widgets
    {
        QMenu *menu = nullptr;
        QAction *save = nullptr;
        QAction *remove = nullptr;
        QAction *reset = nullptr;
    };

    PresetMenu(const Widgets &widgets, OptionsPanel *options, QWidget *window);

    // The presets' entries, in the current language; the one last chosen
    // is marked while the options are still what it sets.
    void fill();
    // Sets the options as the preset of that name does (empty: no preset,
    // the options stay as they are).
    void choose(const QString &name);
    // The name of the preset chosen last while the options are still what
    // it sets; empty for none.
    QString inUse() const;

    // The user's presets the menu lists itself; the others are found
    // behind "More Presets…".
    static constexpr int Listed = 20;

signals:
    // Another preset was chosen, or none.
    void chosenChanged();

private:
    void saveOptions();
    void deletePreset();
    void chooseAmongAll();

    Widgets ui;
    OptionsPanel *m_options;
    QWidget *m_window;
    QString m_chosen; // the name of the preset chosen last
};

#endif // PRESETMENU_H
