#pragma once
// The one connection to the Firebird database. A plain file path opens the file through the
// embedded engine; "host:/path" reaches a server. Statements always use SQL dialect 1.

#include "data/ibhandle.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>

class IbTransaction;

class IbDatabase : public QObject
{
    Q_OBJECT
public:
    explicit IbDatabase(QObject *parent = nullptr);
    ~IbDatabase() override;

    // Connection parameters, one "NAME=value" per line (USER_NAME=, PASSWORD=).
    QStringList &params() { return m_params; }
    void setDatabaseName(const QString &name) { m_databaseName = name; }
    QString databaseName() const { return m_databaseName; }
    void setDefaultTransaction(IbTransaction *t) { m_defaultTransaction = t; }
    IbTransaction *defaultTransaction() const { return m_defaultTransaction; }

    void open();  // raises DbError with the server's text
    void close(); // commits the transactions still active
    bool connected() const { return m_handle != 0; }

    IbHandle *handle() { return &m_handle; }

    void registerTransaction(IbTransaction *t);
    void unregisterTransaction(IbTransaction *t);
    // Drops the kept prepared statements of every query except those in use (before DDL).
    void releaseUnusedStatements();

    // Creates a new database file in dialect 1 with the given default character set.
    static void createDatabase(const QString &path, const QString &user, const QString &password,
                               const QString &charset = QStringLiteral("WIN1250"));

    static constexpr unsigned short kDialect = 1;

private:
    QString param(const QString &name) const;

    IbHandle m_handle = 0;
    QString m_databaseName;
    QStringList m_params;
    IbTransaction *m_defaultTransaction = nullptr;
    QList<QPointer<IbTransaction>> m_transactions;
};
