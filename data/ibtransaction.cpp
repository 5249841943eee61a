#include "data/ibtransaction.h"
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
    if (!m_db || !m_db->connected())
        throw DbError(QStringLiteral("Database not assigned or not connected"));
    const char tpb[] = {isc_tpb_version3, char(m_readOnly ? isc_tpb_read : isc_tpb_write), isc_tpb_read_committed,
                        isc_tpb_rec_version, isc_tpb_wait};
    ISC_STATUS_ARRAY status;
    isc_start_transaction(status, &m_handle, 1, m_db->handle(), short(sizeof tpb), tpb);
    IbStatus::check(status);
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
        IbStatus::check(status);
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
    IbStatus::check(status);
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
