#include "platform/SignalBridge.h"

#include <QSocketNotifier>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>
#endif

namespace navcal::platform {

#ifdef Q_OS_UNIX
namespace {
int g_signalPipe[2] = {-1, -1}; // the handler may touch nothing else
volatile std::sig_atomic_t g_signalArrived = 0;

void onSignal(int signalNumber) {
    // The interrupted code may be about to read errno.
    const int savedErrno = errno;
    if (g_signalArrived == 0)
        g_signalArrived = signalNumber;
    const unsigned char byte = static_cast<unsigned char>(signalNumber);
    [[maybe_unused]] const ssize_t written = ::write(g_signalPipe[0], &byte, 1);
    errno = savedErrno;
}
} // namespace
#endif

void SignalBridge::installHandlers() {
#ifdef Q_OS_UNIX
    if (g_signalPipe[0] < 0) {
        if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, g_signalPipe) != 0)
            return;
        ::fcntl(g_signalPipe[0], F_SETFL, O_NONBLOCK);
    }
    struct sigaction action = {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int s : {SIGTERM, SIGINT, SIGHUP})
        ::sigaction(s, &action, nullptr);
#endif
}

SignalBridge::SignalBridge(QObject* parent) : QObject(parent) {
    installHandlers();
#ifdef Q_OS_UNIX
    if (g_signalPipe[1] < 0)
        return;
    // A signal that came before this point waits in the pipe and is
    // delivered as soon as the event loop runs.
    m_notifier = new QSocketNotifier(g_signalPipe[1], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &SignalBridge::readSignal);
#endif
}

SignalBridge::~SignalBridge() {
#ifdef Q_OS_UNIX
    for (int s : {SIGTERM, SIGINT, SIGHUP})
        ::signal(s, SIG_DFL);
#endif
}

bool SignalBridge::terminationArrived() {
    return arrivedSignal() != 0;
}

int SignalBridge::arrivedSignal() {
#ifdef Q_OS_UNIX
    return int(g_signalArrived);
#else
    return 0;
#endif
}

int SignalBridge::wakeDescriptor() {
#ifdef Q_OS_UNIX
    return g_signalPipe[1];
#else
    return -1;
#endif
}

void SignalBridge::readSignal() {
#ifdef Q_OS_UNIX
    unsigned char byte = 0;
    if (::read(g_signalPipe[1], &byte, 1) == 1)
        emit terminationRequested(int(byte));
#endif
}

} // namespace navcal::platform
