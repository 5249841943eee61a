#include "platform/tcpprobe.h"

#include <QDeadlineTimer>

#include <cerrno>
#include <fcntl.h>
#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

// Waits for `events` on `s` within what is left of the wait; false when the wait ran out.
bool ready(int s, short events, const QDeadlineTimer &deadline)
{
    pollfd p{s, events, 0};
    int n = -1;
    do
        n = ::poll(&p, 1, int(qMax<qint64>(0, deadline.remainingTime())));
    while (n < 0 && errno == EINTR);
    return n > 0;
}

// After the connection was made: the greeting sent, whether anything comes back (an answer
// or the server closing the connection) within the wait.
bool answers(int s, const QByteArray &greeting, const QDeadlineTimer &deadline)
{
    if (greeting.isEmpty())
        return true;
    qsizetype sent = 0;
    while (sent < greeting.size()) {
        if (!ready(s, POLLOUT, deadline))
            return false;
        const ssize_t n = ::send(s, greeting.constData() + sent, size_t(greeting.size() - sent), MSG_NOSIGNAL);
        if (n < 0 && errno != EINTR && errno != EAGAIN)
            return true; // closed on us: the computer answered, the attach will say how
        if (n > 0)
            sent += n;
    }
    return ready(s, POLLIN, deadline);
}

// One address: Answered, Refused or NoAnswer within what is left of the wait.
TcpProbe::Result tryAddress(const addrinfo &a, const QDeadlineTimer &deadline, const QByteArray &greeting)
{
    const int s = ::socket(a.ai_family, a.ai_socktype | SOCK_CLOEXEC | SOCK_NONBLOCK, a.ai_protocol);
    if (s < 0)
        return TcpProbe::Result::NoAnswer;
    TcpProbe::Result result = TcpProbe::Result::NoAnswer;
    int error = ::connect(s, a.ai_addr, a.ai_addrlen) == 0 ? 0 : errno;
    if (error == EINPROGRESS) {
        error = ETIMEDOUT;
        if (ready(s, POLLOUT, deadline)) {
            socklen_t len = sizeof error;
            if (::getsockopt(s, SOL_SOCKET, SO_ERROR, &error, &len) != 0)
                error = errno;
        }
    }
    if (error == 0)
        result = answers(s, greeting, deadline) ? TcpProbe::Result::Answered : TcpProbe::Result::NoAnswer;
    else if (error == ECONNREFUSED)
        result = TcpProbe::Result::Refused;
    ::close(s);
    return result;
}

} // namespace

TcpProbe::Result TcpProbe::reach(const QString &host, int port, int waitMs, const QByteArray &greeting)
{
    QString name = host;
    if (name.startsWith(u'[') && name.endsWith(u']'))
        name = name.mid(1, name.size() - 2);
    const QDeadlineTimer deadline(waitMs);
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo *found = nullptr;
    const int rc = ::getaddrinfo(name.toUtf8().constData(), QByteArray::number(port).constData(), &hints, &found);
    if (rc != 0)
        return rc == EAI_NONAME || rc == EAI_FAIL || rc == EAI_NODATA ? Result::UnknownHost : Result::NoAnswer;
    Result result = Result::NoAnswer;
    for (addrinfo *a = found; a && !deadline.hasExpired(); a = a->ai_next) {
        const Result r = tryAddress(*a, deadline, greeting);
        if (r == Result::Answered) {
            result = r;
            break;
        }
        if (r == Result::Refused)
            result = r;
    }
    ::freeaddrinfo(found);
    return result;
}
