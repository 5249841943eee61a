#include "data/connectionerror.h"
#include "data/statusvector.h"

#include <ibase.h>

#include <cerrno>

ConnectionError::ConnectionError(Kind kind, const QString &server, int waitSeconds, const QString &engineText,
                                 int sqlCode, long gdsCode)
    : DbError(describe(kind, server, waitSeconds), sqlCode, gdsCode), m_kind(kind), m_server(server),
      m_engineText(engineText)
{ }

QString ConnectionError::seconds(int n)
{
    // Romanian puts "de" between a number and its noun from 20 on, but not after 1 to 19 in
    // the last two digits (101 secunde, 120 de secunde).
    if (n == 1)
        return QStringLiteral("o secundă");
    const int lastTwo = n % 100;
    return (lastTwo >= 1 && lastTwo <= 19 ? QStringLiteral("%1 secunde") : QStringLiteral("%1 de secunde")).arg(n);
}

QString ConnectionError::describe(Kind kind, const QString &server, int waitSeconds)
{
    switch (kind) {
    case Kind::NoAnswer:
        return QStringLiteral("Serverul bazei de date %1 nu a răspuns timp de %2. Verificați că acel calculator este "
                              "pornit și legat la rețea, că serverul Firebird rulează pe el și că numele și portul "
                              "din evidenta.ini (cheia Cale) sînt cele bune; cît se așteaptă răspunsul se scrie "
                              "în evidenta.ini, cheia AsteptareConectare (în secunde).")
            .arg(server, seconds(waitSeconds));
    case Kind::Refused:
        return QStringLiteral("Calculatorul %1 a refuzat legătura: pe el nu rulează serverul bazei de date, sau "
                              "ascultă pe alt port. Verificați serverul Firebird și portul din evidenta.ini (cheia "
                              "Cale).")
            .arg(server);
    case Kind::UnknownHost:
        return QStringLiteral("Serverul bazei de date %1 nu a fost găsit în rețea: numele lui nu este cunoscut. "
                              "Verificați numele din evidenta.ini (cheia Cale).")
            .arg(server);
    case Kind::Lost:
        return QStringLiteral("Legătura cu serverul bazei de date %1 s-a pierdut. Ce nu era salvat a rămas pe "
                              "ecran, iar nimic nu a fost scris pe jumătate. Alegeți „Conectare” din meniul "
                              "principal ca să vă conectați din nou, apoi salvați.")
            .arg(server);
    }
    return server;
}

std::optional<ConnectionError> ConnectionError::recognise(const intptr_t *status, const QString &engineText,
                                                          int sqlCode, bool attaching, const QString &server,
                                                          int waitSeconds)
{
    const StatusVector vector(status);
    if (vector.empty())
        return std::nullopt;
    const long first = long(vector.first());
    const auto error = [&](Kind kind) {
        return ConnectionError(kind, server, waitSeconds, engineText, sqlCode, first);
    };
    switch (first) {
    case isc_network_error: // "Unable to complete network request to host", then why
        if (!attaching)
            return error(Kind::Lost);
        if (vector.has(isc_net_lookup_err))
            return error(Kind::UnknownHost);
        if (vector.osError() == ECONNREFUSED)
            return error(Kind::Refused);
        return error(Kind::NoAnswer);
    case isc_connect_reject: // the server's answer did not come within the wait
        return attaching ? std::optional(error(Kind::NoAnswer)) : std::nullopt;
    case isc_net_read_err: // the server closed the connection
    case isc_net_write_err:
    case isc_lost_db_connection:
    case isc_conn_lost:
    case isc_net_server_shutdown:
        return error(attaching ? Kind::NoAnswer : Kind::Lost);
    case isc_att_shutdown: // the server ended the connection, or the database was shut down
    case isc_shutdown:
        return attaching ? std::nullopt : std::optional(error(Kind::Lost));
    default:
        return std::nullopt;
    }
}
