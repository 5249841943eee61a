#pragma once
// The one connection to the Firebird database. A plain file path opens the file through the
// embedded engine; "host:/path" reaches a server. Statements always use SQL dialect 1. A server
// is given a bounded wait for its answer and for rows that other users' transactions hold, and
// a connection to it that breaks is let go, so that the program can connect again.

#include "data/ibhandle.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <exception>

class IbTransaction;

class IbDatabase : public QObject
{
    Q_OBJECT
public:
    explicit IbDatabase(QObject *parent = nullptr);
    ~IbDatabase() override;

    // Connection parameters, one "NAME=value" per line (USER_NAME=, PASSWORD=).
    QStringList &params() { return m_params; }
    void setDatabaseName(const QString &name);
    QString databaseName() const { return m_databaseName; }
    // "host" or "host/port" of a database on a server; empty for a database file.
    QString server() const { return m_server; }

    // Seconds to wait for a server's answer when connecting; 0: as long as the client library
    // waits. Seconds a statement waits for a row another transaction holds before it fails; 0:
    // without limit. Both apply to a server database only.
    void setConnectTimeout(int seconds) { m_connectTimeout = seconds; }
    int connectTimeout() const { return m_connectTimeout; }
    void setLockTimeout(int seconds) { m_lockTimeout = seconds; }
    int lockTimeout() const { return m_lockTimeout; }
    void setDefaultTransaction(IbTransaction *t) { m_defaultTransaction = t; }
    IbTransaction *defaultTransaction() const { return m_defaultTransaction; }

    void open();  // raises DbError with the server's text
    void close(); // commits the transactions still active
    bool connected() const { return m_handle != 0; }
    // The connection to the server broke; the handles are let go until open() succeeds again.
    bool lost() const { return m_lost; }

    // Raises the failure in `status` (IbStatus), after letting go of a connection that broke.
    [[noreturn]] void fail(const intptr_t *status, const QString &statement = {});
    // Raises a failure already made into its exception, the same way.
    [[noreturn]] void raise(const std::exception_ptr &error);
    void check(const intptr_t *status, const QString &statement = {})
    {
        if (status[0] == 1 && status[1] != 0)
            fail(status, statement);
    }

    IbHandle *handle() { return &m_handle; }

    void registerTransaction(IbTransaction *t);
    void unregisterTransaction(IbTransaction *t);
    // Drops the kept prepared statements of every query except those in use (before DDL).
    void releaseUnusedStatements();

    // Creates a new database file in dialect 1 with the given default character set.
    static void createDatabase(const QString &path, const QString &user, const QString &password,
                               const QString &charset = QStringLiteral("WIN1250"));

    static constexpr unsigned short kDialect = 1;
    // The port a server listens on when the name gives none.
    static constexpr int kDefaultPort = 3050;

signals:
    // The connection to the server broke: nothing works until the program connects again.
    void connectionLost();

private:
    QString param(const QString &name) const;
    // Waits for the server's port at most the connect timeout; raises ConnectionError.
    void probeServer() const;
    // The server is gone: the transactions, statements and the attachment are given up on the
    // client's side.
    void forgetConnection();

    IbHandle m_handle = 0;
    QString m_databaseName;
    QString m_server;
    QString m_host;
    int m_port = 0;
    int m_connectTimeout = 0;
    int m_lockTimeout = 0;
    bool m_lost = false;
    QStringList m_params;
    IbTransaction *m_defaultTransaction = nullptr;
    QList<QPointer<IbTransaction>> m_transactions;
};
