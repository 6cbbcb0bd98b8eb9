#include "SessionEnd.h"

#include <QGuiApplication>
#include <QSessionManager>
#include <QSocketNotifier>
#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace {

int signalPipe[2] = {-1, -1};

void onSignal(int number)
{
    const char byte = static_cast<char>(number);
    [[maybe_unused]] const ssize_t written = ::write(signalPipe[1], &byte, 1);
}

} // namespace

SessionEnd::SessionEnd(QObject* parent) : QObject(parent)
{
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, signalPipe) == 0) {
        connect(new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, this), &QSocketNotifier::activated,
                this, &SessionEnd::readSignal);
        struct sigaction action = {};
        action.sa_handler = onSignal;
        sigemptyset(&action.sa_mask);
        action.sa_flags = SA_RESTART;
        sigaction(SIGTERM, &action, nullptr);
        sigaction(SIGHUP, &action, nullptr);
    }
    if (auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        // Agreeing means doing nothing: the agent never holds up a log-off.
        app->setQuitOnLastWindowClosed(false);
        connect(app, &QGuiApplication::commitDataRequest, this, [](QSessionManager&) {});
        app->installEventFilter(this);
    }
}

bool SessionEnd::eventFilter(QObject* watched, QEvent* event)
{
    // The agent never asks itself to quit: a quit request is the session manager's.
    if (watched == QCoreApplication::instance() && event->type() == QEvent::Quit) {
        Q_EMIT ended();
        return true;
    }
    return QObject::eventFilter(watched, event);
}

SessionEnd::~SessionEnd()
{
    if (signalPipe[0] < 0)
        return;
    std::signal(SIGTERM, SIG_DFL);
    std::signal(SIGHUP, SIG_DFL);
    ::close(signalPipe[0]);
    ::close(signalPipe[1]);
    signalPipe[0] = signalPipe[1] = -1;
}

void SessionEnd::readSignal()
{
    char byte = 0;
    if (::read(signalPipe[0], &byte, 1) == 1)
        Q_EMIT ended();
}
