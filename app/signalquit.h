#ifndef SIGNALQUIT_H
#define SIGNALQUIT_H

#include <QObject>

class QSocketNotifier;

// Ends the application's event loop cleanly on SIGTERM, SIGHUP or SIGINT
// (a logout, a closed terminal, a kill), so that the window is destroyed
// as on a close: a build under way is stopped and its partial file removed.
// The handler only writes a byte to a pipe; the event loop does the rest.
class SignalQuit : public QObject
{
    Q_OBJECT

public:
    explicit SignalQuit(QObject *parent = nullptr);
    ~SignalQuit() override;

private:
    static void onSignal(int signal);
    void quit();

    QSocketNotifier *m_notifier = nullptr;
    static int s_pipe[2];
};

#endif // SIGNALQUIT_H
