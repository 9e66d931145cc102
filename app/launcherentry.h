#ifndef LAUNCHERENTRY_H
#define LAUNCHERENTRY_H

#include <QString>

// The progress that Linux task managers and docks (KDE Plasma, Dash to
// Dock, Plank) draw over a program's launcher: the LauncherEntry "Update"
// signal on the session bus, addressed by the program's .desktop entry.
// Without a session bus nothing is sent and nothing fails.
class LauncherEntry
{
public:
    explicit LauncherEntry(const QString &desktopId);

    // "application://<desktop id>.desktop"
    QString applicationUri() const { return m_uri; }

    // Sends progress (0 to 1) and whether it shows; false when it could not
    // be sent (no session bus, or no bus support in this build).
    bool update(double progress, bool visible);

private:
    QString m_uri;
};

#endif // LAUNCHERENTRY_H
