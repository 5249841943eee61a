#pragma once
// A transaction on the connection. Queries attached to it lose their open cursor when it ends,
// as the server closes cursors at commit. Read committed, always seeing the rows others have
// committed; a write waits for a row another transaction holds, on a server database for the
// connection's lock timeout at most.

#include "data/ibhandle.h"

#include <QObject>
#include <QPointer>

class IbDatabase;
class IbQuery;

class IbTransaction : public QObject
{
    Q_OBJECT
public:
    explicit IbTransaction(IbDatabase *db, QObject *parent = nullptr);
    ~IbTransaction() override;

    IbDatabase *database() const { return m_db; }
    bool active() const { return m_handle != 0; }
    // A read-only transaction cannot change rows, and its commit costs no disk write.
    void setReadOnly(bool on) { m_readOnly = on; }
    bool readOnly() const { return m_readOnly; }
    void startTransaction();
    void commit();
    void rollback();
    // The connection broke: the transaction is given up without a word to the server.
    void forget();
    // Commits when active; the statement pattern opens and closes every use with it.
    void commitIfActive()
    {
        if (active())
            commit();
    }

    IbHandle *handle() { return &m_handle; }
    void attachQuery(IbQuery *q);
    void detachQuery(IbQuery *q);
    const QList<IbQuery *> &queries() const { return m_queries; }

private:
    void closeCursors();

    QPointer<IbDatabase> m_db;
    IbHandle m_handle = 0;
    bool m_readOnly = false;
    QList<IbQuery *> m_queries;
};
