#include "data/ibdatabase.h"
#include "data/connectionerror.h"
#include "data/databaselocation.h"
#include "data/dberror.h"
#include "data/ibstatus.h"
#include "data/ibquery.h"
#include "data/ibtransaction.h"
#include "data/win1250.h"
#include "platform/signalbridge.h"
#include "platform/tcpprobe.h"

IbDatabase::IbDatabase(QObject *parent) : QObject(parent) {}

IbDatabase::~IbDatabase()
{
    try {
        close();
    } catch (...) {
    }
}

QString IbDatabase::param(const QString &name) const
{
    const QString prefix = name + u'=';
    for (const QString &line : m_params)
        if (line.startsWith(prefix, Qt::CaseInsensitive))
            return line.mid(prefix.size());
    return {};
}

void IbDatabase::setDatabaseName(const QString &name)
{
    m_databaseName = name;
    const DatabaseLocation location = DatabaseLocation::ofConnectionName(name);
    m_server = location.onServer() ? location.server() : QString();
    m_host = location.host();
    m_port = location.port();
}

namespace {

void addDpbString(QByteArray &dpb, char tag, const QByteArray &value)
{
    dpb.append(tag);
    dpb.append(char(qMin<qsizetype>(value.size(), 255)));
    dpb.append(value.left(255));
}

void addDpbNumber(QByteArray &dpb, char tag, int value)
{
    dpb.append(tag);
    dpb.append(char(4));
    for (int i = 0; i < 4; ++i)
        dpb.append(char((value >> (8 * i)) & 0xff));
}

// The server's first request of a connection, offering no protocol version (32-bit
// big-endian words: op_connect, op_attach, connect version 3, generic architecture, an empty
// file name, no versions, no user data): a server refuses it at once and closes.
QByteArray serverGreeting()
{
    QByteArray packet;
    for (const quint32 word : {1u, 19u, 3u, 1u, 0u, 0u, 0u})
        for (int shift = 24; shift >= 0; shift -= 8)
            packet.append(char((word >> shift) & 0xff));
    return packet;
}

} // namespace

void IbDatabase::probeServer() const
{
    const int wait = m_connectTimeout;
    switch (TcpProbe::reach(m_host, m_port ? m_port : kDefaultPort, wait * 1000, serverGreeting())) {
    case TcpProbe::Result::Answered:
        return;
    case TcpProbe::Result::NoAnswer:
        throw ConnectionError(ConnectionError::Kind::NoAnswer, m_server, wait);
    case TcpProbe::Result::Refused:
        throw ConnectionError(ConnectionError::Kind::Refused, m_server, wait);
    case TcpProbe::Result::UnknownHost:
        throw ConnectionError(ConnectionError::Kind::UnknownHost, m_server, wait);
    }
}

void IbDatabase::open()
{
    if (connected())
        close();
    QByteArray dpb;
    dpb.append(char(isc_dpb_version1));
    const QString user = param(QStringLiteral("USER_NAME"));
    const QString password = param(QStringLiteral("PASSWORD"));
    if (!user.isEmpty())
        addDpbString(dpb, isc_dpb_user_name, user.toUtf8());
    if (!password.isEmpty())
        addDpbString(dpb, isc_dpb_password, password.toUtf8());
    addDpbString(dpb, isc_dpb_lc_ctype, QByteArrayLiteral("WIN1250"));
    dpb.append(char(isc_dpb_sql_dialect));
    dpb.append(char(1));
    dpb.append(char(kDialect));
    const bool bounded = !m_server.isEmpty() && m_connectTimeout > 0;
    if (bounded) {
        // The client waits for the server's answer this long; its connect itself is not bounded.
        probeServer();
        addDpbNumber(dpb, isc_dpb_connect_timeout, m_connectTimeout);
    }

    const QByteArray name = m_databaseName.toLocal8Bit();
    ISC_STATUS_ARRAY status;
    isc_db_handle h = 0;
    SignalBridge::engineCall([&] {
        isc_attach_database(status, short(name.size()), name.constData(), &h, short(dpb.size()), dpb.constData());
    });
    IbStatus::check(status, {m_server.isEmpty() ? nullptr : this, QString(), true});
    m_handle = h;
    m_lost = false;
}

void IbDatabase::fail(const intptr_t *status, const QString &statement)
{
    raise(IbStatus::error(status, {m_server.isEmpty() ? nullptr : this, statement}));
}

void IbDatabase::raise(const std::exception_ptr &error)
{
    try {
        std::rethrow_exception(error);
    } catch (const ConnectionError &e) {
        if (e.kind() == ConnectionError::Kind::Lost)
            forgetConnection();
    } catch (...) {
    }
    std::rethrow_exception(error);
}

void IbDatabase::forgetConnection()
{
    if (m_lost)
        return;
    m_lost = true;
    // The client frees its side of each handle even when the server cannot be told.
    for (IbTransaction *t : m_transactions)
        if (t)
            t->forget();
    for (IbTransaction *t : m_transactions)
        if (t)
            for (IbQuery *q : t->queries())
                q->forgetStatements();
    ISC_STATUS_ARRAY status;
    isc_detach_database(status, &m_handle);
    m_handle = 0;
    emit connectionLost();
}

void IbDatabase::close()
{
    if (!connected())
        return;
    for (IbTransaction *t : m_transactions)
        if (t && t->active())
            t->commit();
    for (IbTransaction *t : m_transactions)
        if (t)
            for (IbQuery *q : t->queries())
                q->releasePrepared();
    ISC_STATUS_ARRAY status;
    isc_detach_database(status, &m_handle);
    m_handle = 0;
    IbStatus::check(status);
}

void IbDatabase::releaseUnusedStatements()
{
    for (IbTransaction *t : m_transactions)
        if (t)
            for (IbQuery *q : t->queries())
                q->releaseUnusedPrepared();
}

void IbDatabase::registerTransaction(IbTransaction *t)
{
    if (!m_transactions.contains(t))
        m_transactions.append(t);
}

void IbDatabase::unregisterTransaction(IbTransaction *t)
{
    m_transactions.removeAll(t);
}

void IbDatabase::createDatabase(const QString &path, const QString &user, const QString &password,
                                const QString &charset)
{
    QString sql = QStringLiteral("CREATE DATABASE '%1' USER '%2' PASSWORD '%3' PAGE_SIZE 8192 DEFAULT CHARACTER SET %4")
                      .arg(QString(path).replace(u'\'', QStringLiteral("''")), user, password, charset);
    const QByteArray bytes = sql.toLocal8Bit();
    ISC_STATUS_ARRAY status;
    isc_db_handle h = 0;
    isc_tr_handle tr = 0;
    SignalBridge::engineCall(
        [&] { isc_dsql_execute_immediate(status, &h, &tr, 0, bytes.constData(), kDialect, nullptr); });
    IbStatus::check(status);
    isc_detach_database(status, &h);
    IbStatus::check(status);
}
