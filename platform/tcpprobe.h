#pragma once
// Whether anything answers on a server's TCP port within a wait. The database client's own
// connect waits as long as the system retries (more than two minutes for a server that drops
// the attempts), and its first read as long again for one that takes the connection and says
// nothing, so a server database is probed first, with the wait the user set.

#include <QByteArray>
#include <QString>

class TcpProbe
{
public:
    enum class Result {
        Answered,    // a connection was made and, when a greeting was sent, answered (and closed again)
        NoAnswer,    // no connection or no answer within the wait, or no route to the computer
        Refused,     // the computer answered that nothing listens on the port
        UnknownHost, // the name is not known
    };

    // `host` a name or an address (an IPv6 address with or without its brackets). `greeting`,
    // when given, is sent once connected, and the server's answer to it (or its closing the
    // connection) is waited for within the same wait.
    static Result reach(const QString &host, int port, int waitMs, const QByteArray &greeting = {});
};
