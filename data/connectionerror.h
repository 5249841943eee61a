#pragma once
// A database server that cannot be reached, or whose connection was lost while the program
// was using it, told in Romanian with the server's name; the engine's network failures are
// recognised here, in one place, so that none of their English texts reaches the user.

#include "data/dberror.h"

#include <cstdint>
#include <optional>

class ConnectionError : public DbError
{
public:
    enum class Kind {
        NoAnswer,    // nothing answered within the connection's wait
        Refused,     // the computer answered, but no server listens on the port
        UnknownHost, // the server's name is not known on the network
        Lost,        // the connection broke while the program was using it
    };

    ConnectionError(Kind kind, const QString &server, int waitSeconds, const QString &engineText = {}, int sqlCode = 0,
                    long gdsCode = 0);

    // A count of seconds as a message says it: "o secundă", "5 secunde", "20 de secunde".
    static QString seconds(int n);

    // The failure in `status` when it concerns the network; nothing otherwise. `attaching`:
    // the failure of opening the connection, not of a connection in use. `server` as the user
    // wrote it ("host" or "host/port").
    static std::optional<ConnectionError> recognise(const intptr_t *status, const QString &engineText, int sqlCode,
                                                    bool attaching, const QString &server, int waitSeconds);

    Kind kind() const { return m_kind; }
    const QString &server() const { return m_server; }
    const QString &engineText() const { return m_engineText; }

    static QString describe(Kind kind, const QString &server, int waitSeconds);

private:
    Kind m_kind;
    QString m_server;
    QString m_engineText;
};
