#include "data/readscope.h"
#include "data/ibdatabase.h"
#include "data/ibquery.h"
#include "data/ibtransaction.h"

#include <exception>
#include <stdexcept>

ReadScope::ReadScope(IbQuery *query, const QString &sql)
    : m_query(query), m_uncaught(std::uncaught_exceptions())
{
    // Checked in every build: it costs one test of a pointer, and a nested read let through
    // would close the outer cursor and hand its caller too few rows without a word.
    if (query->m_readScope)
        throw std::logic_error(query->objectName().toStdString()
                               + ": a read is already in progress on this query; use another query for the inner read");
    query->m_readScope = this;
    try {
        IbTransaction *t = query->transaction();
        t->commitIfActive();
        t->startTransaction();
        reopen(sql);
    } catch (...) {
        release();
        throw;
    }
}

ReadScope::~ReadScope() noexcept(false)
{
    if (m_ended)
        return;
    if (std::uncaught_exceptions() > m_uncaught) {
        try {
            end();
        } catch (...) {
        }
        return;
    }
    end();
}

bool ReadScope::found() const
{
    return !m_query->eof();
}

QVariant ReadScope::value(int i) const
{
    return m_query->value(i);
}

QVariant ReadScope::value(const QString &name) const
{
    return m_query->value(name);
}

void ReadScope::reopen(const QString &sql)
{
    if (m_ended)
        throw std::logic_error("a read that has ended cannot run another statement");
    m_query->close();
    m_query->clearSql();
    m_query->addSql(sql);
    m_query->open();
}

void ReadScope::end()
{
    if (m_ended)
        return;
    m_ended = true;
    release();
    if (!m_query)
        return; // the data module went first
    m_query->transaction()->commitIfActive();
    m_query->close();
}

void ReadScope::release()
{
    if (m_query && m_query->m_readScope == this)
        m_query->m_readScope = nullptr;
}
