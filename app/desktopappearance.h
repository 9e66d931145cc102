#ifndef DESKTOPAPPEARANCE_H
#define DESKTOPAPPEARANCE_H

#include <QObject>
#include <QPalette>

class QDBusVariant;

// The window's colours follow the desktop's light or dark preference where
// the desktop says it over the freedesktop portal (GNOME, KDE Plasma and
// others). A platform theme that gives a dark palette already is left as
// it is; a desktop that only says "prefer dark" gets a dark palette of the
// same roles. A change of preference is followed while the program runs.
class DesktopAppearance : public QObject
{
    Q_OBJECT

public:
    // The portal's values for the preference.
    enum Scheme
    {
        NoPreference = 0,
        PreferDark = 1,
        PreferLight = 2
    };

    explicit DesktopAppearance(QObject *parent);

    // What the application's palette is under scheme, the platform's own
    // palette being platform.
    static QPalette paletteFor(Scheme scheme, const QPalette &platform);
    static bool isDark(const QPalette &palette);
    static QPalette darkPalette();

private Q_SLOTS:
    void settingChanged(const QString &group, const QString &key, const QDBusVariant &value);

private:
    void ask();
    void apply(int scheme);

    QPalette m_platform;
    int m_scheme = NoPreference;
};

#endif // DESKTOPAPPEARANCE_H
