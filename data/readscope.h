#pragma once
// Every read opens its query, uses the rows and commits; written out by hand at each use, an
// exception skipped the end, and a read nested on the same query silently closed the outer one.

#include <QPointer>
#include <QString>
#include <QVariant>

class IbQuery;

class ReadScope
{
public:
    // The read sequence: commits the query's transaction if it is active, starts it, closes the
    // query, sets the statement and opens it. Refused with std::logic_error, before anything is
    // touched, while another scope reads on the same query. A statement that fails to open
    // leaves its transaction active, as every failing statement does; the next read commits it.
    ReadScope(IbQuery *query, const QString &sql);
    // Ends the read unless end() did: on the normal way out its errors reach the caller, while
    // an exception unwinds they are dropped so that the first error stays the one reported.
    ~ReadScope() noexcept(false);

    ReadScope(const ReadScope &) = delete;
    ReadScope &operator=(const ReadScope &) = delete;

    IbQuery *query() const { return m_query; }
    IbQuery *operator->() const { return m_query; }
    // Whether the statement returned a row (the query stands on it).
    bool found() const;
    QVariant value(int i) const;
    QVariant value(const QString &name) const;

    // A further statement in the same transaction: closes the query, sets the statement, opens.
    void reopen(const QString &sql);
    // The end of the read: commits the transaction if it is active and closes the query. A
    // query that CopyToMemTable has committed and closed already is simply let go.
    void end();

private:
    void release();

    QPointer<IbQuery> m_query;
    int m_uncaught;
    bool m_ended = false;
};
