#pragma once
// Whether anything answers on a server's TCP port within a wait. The database client's own
// connect waits as long as the system retries (more than two minutes for a server that drops
// the attempts), so a server database is probed first, with the wait the user set.

#include <QString>

class TcpProbe
{
public:
    enum class Result {
        Answered,    // a connection was made (and closed again)
        NoAnswer,    // no answer within the wait, or no route to the computer
        Refused,     // the computer answered that nothing listens on the port
        UnknownHost, // the name is not known
    };

    // `host` a name or an address (an IPv6 address with or without its brackets).
    static Result reach(const QString &host, int port, int waitMs);
};
