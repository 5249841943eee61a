#include "platform/signalbridge.h"

#include <QSocketNotifier>

#include <csignal>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <pthread.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

const int Caught[] = {SIGTERM, SIGINT, SIGHUP};

// The write end of the bridge in use, read by the handler: a plain int is all it may touch.
volatile sig_atomic_t writeEnd = -1;

void onSignal(int signal)
{
    const int saved = errno;
    const int fd = writeEnd;
    if (fd >= 0) {
        const unsigned char byte = static_cast<unsigned char>(signal);
        // A full buffer already holds enough wake-ups: the byte may be dropped.
        [[maybe_unused]] const ssize_t n = ::write(fd, &byte, 1);
    }
    errno = saved;
}

void install(void (*handler)(int))
{
    struct sigaction action = {};
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    action.sa_flags = handler == SIG_DFL ? 0 : SA_RESTART;
    for (int s : Caught)
        sigaction(s, &action, nullptr);
}

} // namespace

SignalBridge::SignalBridge(QObject *parent) : QObject(parent)
{
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0, m_fds) != 0)
        return;
    m_notifier = std::make_unique<QSocketNotifier>(m_fds[1], QSocketNotifier::Read);
    connect(m_notifier.get(), &QSocketNotifier::activated, this, &SignalBridge::readPending);
    writeEnd = m_fds[0];
    install(onSignal);
}

SignalBridge::~SignalBridge()
{
    install(SIG_DFL);
    writeEnd = -1;
    m_notifier.reset();
    for (int fd : m_fds)
        if (fd >= 0)
            ::close(fd);
}

void SignalBridge::engineCall(const std::function<void()> &call)
{
    sigset_t blocked, previous;
    sigemptyset(&blocked);
    for (int s : Caught)
        sigaddset(&blocked, s);
    pthread_sigmask(SIG_BLOCK, &blocked, &previous);
    struct Restore {
        const sigset_t &mask;
        ~Restore()
        {
            install(writeEnd >= 0 ? onSignal : SIG_DFL);
            pthread_sigmask(SIG_SETMASK, &mask, nullptr);
        }
    } restore{previous};
    call();
}

void SignalBridge::readPending()
{
    unsigned char bytes[16];
    ssize_t n;
    // Each signal is passed on from the event loop's next turn, not from inside the notifier:
    // closing the database while the notifier is being served leaves the engine's detach
    // spinning.
    while ((n = ::read(m_fds[1], bytes, sizeof bytes)) > 0)
        for (ssize_t i = 0; i < n; ++i)
            QMetaObject::invokeMethod(
                this, [this, signal = int(bytes[i])] { emit received(signal); }, Qt::QueuedConnection);
}

#else
// Elsewhere the session ends a program its own way: the bridge stays silent.
SignalBridge::SignalBridge(QObject *parent) : QObject(parent) {}
SignalBridge::~SignalBridge() = default;
void SignalBridge::engineCall(const std::function<void()> &call)
{
    call();
}
void SignalBridge::readPending() {}
#endif

QString SignalBridge::name(int signal)
{
    switch (signal) {
    case SIGTERM:
        return QStringLiteral("SIGTERM");
    case SIGINT:
        return QStringLiteral("SIGINT");
#ifdef SIGHUP
    case SIGHUP:
        return QStringLiteral("SIGHUP");
#endif
    default:
        return QStringLiteral("semnalul %1").arg(signal);
    }
}
