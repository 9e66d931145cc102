#include "app/signalquit.h"

#include <QCoreApplication>
#include <QSocketNotifier>

#include <csignal>
#include <fcntl.h>
#include <unistd.h>

int SignalQuit::s_pipe[2] = {-1, -1};

SignalQuit::SignalQuit(QObject *parent)
    : QObject(parent)
{
    if (::pipe2(s_pipe, O_CLOEXEC | O_NONBLOCK) != 0)
        return;
    m_notifier = new QSocketNotifier(s_pipe[0], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &SignalQuit::quit);
    struct sigaction action = {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int signal : {SIGTERM, SIGHUP, SIGINT})
        sigaction(signal, &action, nullptr);
}

SignalQuit::~SignalQuit()
{
    for (int signal : {SIGTERM, SIGHUP, SIGINT})
        std::signal(signal, SIG_DFL);
    for (int &fd : s_pipe) {
        if (fd >= 0)
            ::close(fd);
        fd = -1;
    }
}

void SignalQuit::onSignal(int signal)
{
    const char byte = char(signal);
    if (::write(s_pipe[1], &byte, 1) < 0) {
        // Nothing can be done inside a signal handler; the pipe is full of
        // the same request already.
    }
}

void SignalQuit::quit()
{
    char byte;
    while (::read(s_pipe[0], &byte, 1) > 0) {
    }
    QCoreApplication::quit();
}
