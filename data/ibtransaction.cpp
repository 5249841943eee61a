#include "data/ibtransaction.h"
#include "data/connectionerror.h"
#include "data/dberror.h"
#include "data/ibdatabase.h"
#include "data/ibquery.h"
#include "data/ibstatus.h"

IbTransaction::IbTransaction(IbDatabase *db, QObject *parent) : QObject(parent), m_db(db)
{
    m_db->registerTransaction(this);
}

IbTransaction::~IbTransaction()
{
    try {
        if (active() && m_db && m_db->connected())
            commit();
    } catch (...) {
    }
    if (m_db)
        m_db->unregisterTransaction(this);
}

void IbTransaction::startTransaction()
{
    if (active())
        throw DbError(QStringLiteral("Transaction is active"));
    if (m_db && m_db->lost())
        throw ConnectionError(ConnectionError::Kind::Lost, m_db->server(), m_db->connectTimeout());
    if (!m_db || !m_db->connected())
        throw DbError(QStringLiteral("Database not assigned or not connected"));
    QByteArray tpb;
    tpb.append(char(isc_tpb_version3));
    tpb.append(char(m_readOnly ? isc_tpb_read : isc_tpb_write));
    tpb.append(char(isc_tpb_read_committed));
    tpb.append(char(isc_tpb_rec_version));
    tpb.append(char(isc_tpb_wait));
    if (const int wait = m_db->server().isEmpty() ? 0 : m_db->lockTimeout(); wait > 0) {
        // Another copy's open transaction is waited for this long, not for ever.
        tpb.append(char(isc_tpb_lock_timeout));
        tpb.append(char(4));
        for (int i = 0; i < 4; ++i)
            tpb.append(char((wait >> (8 * i)) & 0xff));
    }
    ISC_STATUS_ARRAY status;
    isc_start_transaction(status, &m_handle, 1, m_db->handle(), short(tpb.size()), tpb.constData());
    m_db->check(status);
}

void IbTransaction::closeCursors()
{
    for (IbQuery *q : m_queries)
        q->transactionEnding();
}

void IbTransaction::commit()
{
    if (!active())
        return;
    closeCursors();
    ISC_STATUS_ARRAY status;
    isc_commit_transaction(status, &m_handle);
    if (IbStatus::failed(status)) {
        // A transaction that cannot commit (the connection dropped) is given up.
        ISC_STATUS_ARRAY st2;
        isc_rollback_transaction(st2, &m_handle);
        m_handle = 0;
        m_db->fail(status);
    }
    m_handle = 0;
}

void IbTransaction::rollback()
{
    if (!active())
        return;
    closeCursors();
    ISC_STATUS_ARRAY status;
    isc_rollback_transaction(status, &m_handle);
    m_handle = 0;
    m_db->check(status);
}

void IbTransaction::forget()
{
    if (!active())
        return;
    closeCursors();
    ISC_STATUS_ARRAY status;
    isc_rollback_transaction(status, &m_handle);
    m_handle = 0;
}

void IbTransaction::attachQuery(IbQuery *q)
{
    if (!m_queries.contains(q))
        m_queries.append(q);
}

void IbTransaction::detachQuery(IbQuery *q)
{
    m_queries.removeAll(q);
}
