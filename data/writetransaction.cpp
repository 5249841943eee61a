#include "data/writetransaction.h"
#include "data/tdm.h"
#include "data/concurrencyerror.h"

#include <exception>

WriteTransaction::WriteTransaction() : m_uncaught(std::uncaught_exceptions())
{
    DM->IBT2->commitIfActive();
    DM->IBT2->startTransaction();
}

WriteTransaction::~WriteTransaction() noexcept(false)
{
    if (m_done)
        return;
    const bool unwinding = std::uncaught_exceptions() > m_uncaught;
    try {
        DM->IBQ2->close();
        if (DM->IBT2->active())
            DM->IBT2->rollback();
    } catch (...) {
        if (!unwinding)
            throw;
    }
}

void WriteTransaction::exec(const QString &sql)
{
    IbQuery *q = DM->IBQ2;
    q->close();
    q->clearSql();
    q->addSql(sql);
    q->execQuery();
}

QVariant WriteTransaction::value(const QString &sql)
{
    IbQuery *q = DM->IBQ2;
    q->close();
    q->setSql(sql);
    q->open();
    const QVariant v = q->eof() ? QVariant() : q->value(0);
    q->close();
    return v;
}

IbQuery *WriteTransaction::open(const QString &sql)
{
    IbQuery *q = DM->IBQ2;
    q->close();
    q->setSql(sql);
    q->open();
    return q;
}

void WriteTransaction::lockRows(const QString &sql)
{
    ConcurrencyError::retryWhileBusy(
        DM->IDB->lockTimeout(),
        [&] {
            IbQuery *q = open(sql);
            while (!q->eof())
                q->next();
            q->close();
        },
        [] { DM->IBQ2->close(); });
}

void WriteTransaction::commit()
{
    DM->IBT2->commit();
    DM->IBQ2->close();
    m_done = true;
}
