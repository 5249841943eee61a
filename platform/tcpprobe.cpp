#include "platform/tcpprobe.h"

#include <QDeadlineTimer>

#include <cerrno>
#include <fcntl.h>
#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

// One address: Answered, Refused or NoAnswer within what is left of the wait.
TcpProbe::Result tryAddress(const addrinfo &a, const QDeadlineTimer &deadline)
{
    const int s = ::socket(a.ai_family, a.ai_socktype | SOCK_CLOEXEC | SOCK_NONBLOCK, a.ai_protocol);
    if (s < 0)
        return TcpProbe::Result::NoAnswer;
    TcpProbe::Result result = TcpProbe::Result::NoAnswer;
    int error = ::connect(s, a.ai_addr, a.ai_addrlen) == 0 ? 0 : errno;
    if (error == EINPROGRESS) {
        pollfd p{s, POLLOUT, 0};
        int ready = -1;
        do
            ready = ::poll(&p, 1, int(qMax<qint64>(0, deadline.remainingTime())));
        while (ready < 0 && errno == EINTR);
        error = ETIMEDOUT;
        if (ready > 0) {
            socklen_t len = sizeof error;
            if (::getsockopt(s, SOL_SOCKET, SO_ERROR, &error, &len) != 0)
                error = errno;
        }
    }
    if (error == 0)
        result = TcpProbe::Result::Answered;
    else if (error == ECONNREFUSED)
        result = TcpProbe::Result::Refused;
    ::close(s);
    return result;
}

} // namespace

TcpProbe::Result TcpProbe::reach(const QString &host, int port, int waitMs)
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
        const Result r = tryAddress(*a, deadline);
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
