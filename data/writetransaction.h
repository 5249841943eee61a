#pragma once
// Several writes that must stand or fall together: they run on IBQ2 in one IBT2 transaction,
// committed once. Leaving the scope without commit() rolls every one of them back.

#include <QString>
#include <QVariant>

class IbQuery;

class WriteTransaction
{
public:
    // Ends whatever IBT2 held (commit if active) and starts the transaction.
    WriteTransaction();
    // Rolls back unless commit() ran; while an exception unwinds, errors of the rollback are
    // dropped so that the first error stays the one reported.
    ~WriteTransaction() noexcept(false);

    WriteTransaction(const WriteTransaction &) = delete;
    WriteTransaction &operator=(const WriteTransaction &) = delete;

    // Closes IBQ2, sets the statement and executes it in the transaction.
    void exec(const QString &sql);
    // Runs a select in the transaction, so that it sees the statements executed before it,
    // and gives the first column of its first row (null when there is none).
    QVariant value(const QString &sql);
    // Opens a select in the transaction and gives IBQ2 standing on its first row; the caller
    // reads the rows and closes it.
    IbQuery *open(const QString &sql);
    // Runs a "select ... with lock" to its end, so that every row it names is locked until the
    // transaction ends; another copy's lock is waited for the lock timeout at most.
    void lockRows(const QString &sql);
    // Commits every statement executed and closes IBQ2.
    void commit();

private:
    int m_uncaught;
    bool m_done = false;
};
