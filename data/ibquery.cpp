#include "data/ibquery.h"
#include "data/dberror.h"
#include "data/formats.h"
#include "data/ibdatabase.h"
#include "data/ibstatus.h"
#include "data/ibtransaction.h"
#include "data/win1250.h"

#include <QDateTime>
#include <cmath>
#include <cstring>
#include <ctime>
#include <list>
#include <ibase.h>

// One prepared statement with its output area. The server keeps the compiled statement for
// the attachment, so running the same text again skips the prepare.
struct Prepared {
    QByteArray text;
    isc_stmt_handle stmt = 0;
    XSQLDA *out = nullptr;
    std::vector<std::vector<char>> buffers;
    std::vector<short> nulls;
    int statementType = 0;
    std::vector<IbColumn> columns;

    Prepared() = default;
    Prepared(const Prepared &) = delete;
    Prepared &operator=(const Prepared &) = delete;
    ~Prepared() { std::free(out); }

    // Selects (and procedures) are kept for the next run of the same text; the writes are
    // one-off texts and DDL must not leave the tables it changes referenced.
    bool reusable() const
    {
        return statementType == isc_info_sql_stmt_select || statementType == isc_info_sql_stmt_select_for_upd
            || statementType == isc_info_sql_stmt_exec_procedure;
    }
};

struct IbQuery::Impl {
    // Most recently used first; at most kCached entries.
    std::list<std::unique_ptr<Prepared>> cache;
    std::unique_ptr<Prepared> oneOff; // the current statement when it is not kept
    Prepared *cur = nullptr;
    bool cursorOpen = false;

    static constexpr size_t kCached = 32;

    static void drop(Prepared &p)
    {
        if (p.stmt) {
            ISC_STATUS_ARRAY status;
            isc_dsql_free_statement(status, &p.stmt, DSQL_drop);
            p.stmt = 0;
        }
    }
};

IbQuery::IbQuery(IbTransaction *transaction, QObject *parent)
    : QObject(parent), m_transaction(transaction), d(std::make_unique<Impl>())
{
    m_transaction->attachQuery(this);
}

IbQuery::~IbQuery()
{
    try {
        if (m_transaction && m_transaction->database() && m_transaction->database()->connected())
            releasePrepared();
        else
            d->cache.clear(); // the handles went with the connection
    } catch (...) {
    }
    if (m_transaction)
        m_transaction->detachQuery(this);
}

namespace {

XSQLDA *allocSqlda(int n)
{
    auto *da = static_cast<XSQLDA *>(std::calloc(1, XSQLDA_LENGTH(n)));
    da->version = SQLDA_VERSION1;
    da->sqln = short(n);
    return da;
}

FieldType typeOf(const XSQLVAR &v)
{
    switch (v.sqltype & ~1) {
    case SQL_TEXT: return FieldType::FixedChar;
    case SQL_VARYING: return FieldType::String;
    case SQL_SHORT: return v.sqlscale ? FieldType::Float : FieldType::SmallInt;
    case SQL_LONG: return v.sqlscale ? FieldType::Float : FieldType::Integer;
    case SQL_INT64: return v.sqlscale ? FieldType::Float : FieldType::LargeInt;
    case SQL_FLOAT:
    case SQL_DOUBLE:
    case SQL_D_FLOAT: return FieldType::Float;
    case SQL_TIMESTAMP: return FieldType::DateTime;
    case SQL_TYPE_DATE: return FieldType::Date;
    case SQL_TYPE_TIME: return FieldType::Time;
    case SQL_BLOB: return FieldType::Memo;
    case SQL_BOOLEAN: return FieldType::Boolean;
    default: return FieldType::Unknown;
    }
}

double scaled(qint64 v, short scale)
{
    return double(v) * std::pow(10.0, scale);
}

} // namespace

void IbQuery::freeStatement()
{
    // The current statement is forgotten: one kept for reuse stays in the cache.
    if (d->oneOff)
        Impl::drop(*d->oneOff);
    d->oneOff.reset();
    d->cur = nullptr;
    d->cursorOpen = false;
}

void IbQuery::discardCurrent()
{
    // A statement whose run failed is not reused.
    Prepared *p = d->cur;
    freeStatement();
    for (auto it = d->cache.begin(); it != d->cache.end(); ++it) {
        if (it->get() == p) {
            Impl::drop(**it);
            d->cache.erase(it);
            break;
        }
    }
}

void IbQuery::releasePrepared()
{
    close();
    for (auto &p : d->cache)
        Impl::drop(*p);
    d->cache.clear();
}

void IbQuery::releaseUnusedPrepared()
{
    for (auto it = d->cache.begin(); it != d->cache.end();) {
        if (it->get() == d->cur) {
            ++it;
            continue;
        }
        Impl::drop(**it);
        it = d->cache.erase(it);
    }
}

void IbQuery::forgetStatements()
{
    for (auto &p : d->cache)
        Impl::drop(*p);
    d->cache.clear();
    if (d->oneOff)
        Impl::drop(*d->oneOff);
    d->oneOff.reset();
    d->cur = nullptr;
    d->cursorOpen = false;
    m_active = false;
    m_eof = true;
}

std::exception_ptr IbQuery::failure(const intptr_t *status) const
{
    IbDatabase *db = m_transaction->database();
    if (db->server().isEmpty())
        return std::make_exception_ptr(DbError(IbStatus::text(status), int(isc_sqlcode(status)), long(status[1])));
    return IbStatus::error(status, {db, sqlText()});
}

int IbQuery::preparedCount() const
{
    return int(d->cache.size());
}

void IbQuery::prepare()
{
    close();
    if (!m_transaction->active())
        m_transaction->startTransaction();
    IbDatabase *db = m_transaction->database();
    const QByteArray text = Win1250::encodeOrThrow(sqlText());

    for (auto it = d->cache.begin(); it != d->cache.end(); ++it) {
        if ((*it)->text == text) {
            d->cache.splice(d->cache.begin(), d->cache, it);
            d->cur = d->cache.front().get();
            m_columns = d->cur->columns;
            return;
        }
    }

    auto p = std::make_unique<Prepared>();
    p->text = text;
    ISC_STATUS_ARRAY status;
    isc_dsql_allocate_statement(status, db->handle(), &p->stmt);
    db->check(status, sqlText());
    // A failed step gives the statement back to the server and raises the server's text.
    const auto checkOrDrop = [this, db, &status, &p] {
        if (IbStatus::failed(status)) {
            const std::exception_ptr err = failure(status);
            Impl::drop(*p);
            db->raise(err);
        }
    };

    p->out = allocSqlda(1);
    isc_dsql_prepare(status, m_transaction->handle(), &p->stmt, 0, text.constData(), IbDatabase::kDialect, p->out);
    checkOrDrop();
    if (p->out->sqld > p->out->sqln) {
        const int n = p->out->sqld;
        std::free(p->out);
        p->out = allocSqlda(n);
        isc_dsql_describe(status, &p->stmt, IbDatabase::kDialect, p->out);
        checkOrDrop();
    }
    static const char info[] = {isc_info_sql_stmt_type};
    char res[16];
    isc_dsql_sql_info(status, &p->stmt, sizeof info, info, sizeof res, res);
    checkOrDrop();
    if (res[0] == isc_info_sql_stmt_type) {
        const short len = short(isc_vax_integer(res + 1, 2));
        p->statementType = int(isc_vax_integer(res + 3, len));
    }

    const int n = p->out->sqld;
    p->buffers.assign(size_t(n), {});
    p->nulls.assign(size_t(n), 0);
    for (int i = 0; i < n; ++i) {
        XSQLVAR &v = p->out->sqlvar[i];
        IbColumn c;
        c.name = Win1250::decode(v.aliasname, v.aliasname_length);
        if (c.name.isEmpty())
            c.name = Win1250::decode(v.sqlname, v.sqlname_length);
        c.type = typeOf(v);
        c.sqlType = short(v.sqltype & ~1);
        c.scale = v.sqlscale;
        if (isStringType(c.type) && c.type != FieldType::Memo)
            c.size = v.sqllen;
        p->columns.push_back(c);
        size_t len = size_t(v.sqllen) + ((v.sqltype & ~1) == SQL_VARYING ? 2 : 0);
        p->buffers[size_t(i)].assign(len + 8, 0);
        v.sqldata = p->buffers[size_t(i)].data();
        v.sqlind = &p->nulls[size_t(i)];
        v.sqltype |= 1;
    }
    m_columns = p->columns;

    if (p->statementType == isc_info_sql_stmt_ddl) {
        // A change of the schema must not meet statements that still reference its tables.
        db->releaseUnusedStatements();
    }
    if (p->reusable()) {
        d->cache.push_front(std::move(p));
        while (d->cache.size() > Impl::kCached) {
            Impl::drop(*d->cache.back());
            d->cache.pop_back();
        }
        d->cur = d->cache.front().get();
    } else {
        d->oneOff = std::move(p);
        d->cur = d->oneOff.get();
    }
}

void IbQuery::open()
{
    prepare();
    ISC_STATUS_ARRAY status;
    isc_dsql_execute(status, m_transaction->handle(), &d->cur->stmt, IbDatabase::kDialect, nullptr);
    if (IbStatus::failed(status)) {
        const std::exception_ptr err = failure(status);
        discardCurrent();
        m_columns.clear();
        m_transaction->database()->raise(err);
    }
    m_active = true;
    m_eof = false;
    if (d->cur->statementType == isc_info_sql_stmt_exec_procedure) {
        // Non-selectable procedure: its single output row came with execute (none here).
        m_eof = true;
        return;
    }
    d->cursorOpen = true;
    fetch();
}

void IbQuery::execQuery()
{
    prepare();
    ISC_STATUS_ARRAY status;
    const bool proc = d->cur->statementType == isc_info_sql_stmt_exec_procedure && d->cur->out->sqld > 0;
    if (proc)
        isc_dsql_execute2(status, m_transaction->handle(), &d->cur->stmt, IbDatabase::kDialect, nullptr, d->cur->out);
    else
        isc_dsql_execute(status, m_transaction->handle(), &d->cur->stmt, IbDatabase::kDialect, nullptr);
    if (IbStatus::failed(status)) {
        const std::exception_ptr err = failure(status);
        discardCurrent();
        m_columns.clear();
        m_transaction->database()->raise(err);
    }
    // A select run as a statement leaves its cursor open on the server: close it for the next run.
    if (d->cur->statementType == isc_info_sql_stmt_select || d->cur->statementType == isc_info_sql_stmt_select_for_upd)
        isc_dsql_free_statement(status, &d->cur->stmt, DSQL_close);
    freeStatement();
    m_columns.clear();
}

void IbQuery::fetch()
{
    ISC_STATUS_ARRAY status;
    XSQLDA *out = d->cur->out;
    const ISC_STATUS rc = isc_dsql_fetch(status, &d->cur->stmt, IbDatabase::kDialect, out);
    if (rc == 100) {
        m_eof = true;
        return;
    }
    m_transaction->database()->check(status, sqlText());
    const int n = out->sqld;
    m_row.assign(size_t(n), QVariant());
    for (int i = 0; i < n; ++i) {
        const XSQLVAR &v = out->sqlvar[i];
        if (*v.sqlind < 0)
            continue;
        const char *p = v.sqldata;
        QVariant val;
        switch (v.sqltype & ~1) {
        case SQL_TEXT: val = Win1250::decode(p, v.sqllen); break;
        case SQL_VARYING: {
            short len;
            std::memcpy(&len, p, 2);
            val = Win1250::decode(p + 2, len);
            break;
        }
        case SQL_SHORT: {
            short x;
            std::memcpy(&x, p, 2);
            val = v.sqlscale ? QVariant(scaled(x, v.sqlscale)) : QVariant(int(x));
            break;
        }
        case SQL_LONG: {
            ISC_LONG x;
            std::memcpy(&x, p, 4);
            val = v.sqlscale ? QVariant(scaled(x, v.sqlscale)) : QVariant(int(x));
            break;
        }
        case SQL_INT64: {
            ISC_INT64 x;
            std::memcpy(&x, p, 8);
            val = v.sqlscale ? QVariant(scaled(x, v.sqlscale)) : QVariant(qint64(x));
            break;
        }
        case SQL_FLOAT: {
            float x;
            std::memcpy(&x, p, 4);
            val = double(x);
            break;
        }
        case SQL_DOUBLE:
        case SQL_D_FLOAT: {
            double x;
            std::memcpy(&x, p, 8);
            val = x;
            break;
        }
        case SQL_TIMESTAMP: {
            ISC_TIMESTAMP ts;
            std::memcpy(&ts, p, sizeof ts);
            struct tm t {};
            isc_decode_timestamp(&ts, &t);
            const int ms = int((ts.timestamp_time % 10000) / 10);
            val = Formats::dateTime(QDate(t.tm_year + 1900, t.tm_mon + 1, t.tm_mday),
                            QTime(t.tm_hour, t.tm_min, t.tm_sec, ms));
            break;
        }
        case SQL_TYPE_DATE: {
            ISC_DATE dt;
            std::memcpy(&dt, p, sizeof dt);
            struct tm t {};
            isc_decode_sql_date(&dt, &t);
            val = Formats::dateTime(QDate(t.tm_year + 1900, t.tm_mon + 1, t.tm_mday), QTime(0, 0));
            break;
        }
        case SQL_TYPE_TIME: {
            ISC_TIME tt;
            std::memcpy(&tt, p, sizeof tt);
            struct tm t {};
            isc_decode_sql_time(&tt, &t);
            val = QTime(t.tm_hour, t.tm_min, t.tm_sec);
            break;
        }
        case SQL_BOOLEAN: val = bool(*p); break;
        case SQL_BLOB: {
            ISC_QUAD id;
            std::memcpy(&id, p, sizeof id);
            isc_blob_handle blob = 0;
            isc_open_blob2(status, m_transaction->database()->handle(), m_transaction->handle(), &blob, &id, 0, nullptr);
            m_transaction->database()->check(status, sqlText());
            QByteArray bytes;
            char buf[8192];
            unsigned short got = 0;
            for (;;) {
                const ISC_STATUS r = isc_get_segment(status, &blob, &got, sizeof buf, buf);
                if (r != 0 && r != isc_segment)
                    break;
                bytes.append(buf, got);
            }
            isc_close_blob(status, &blob);
            val = Win1250::decode(bytes);
            break;
        }
        default: break;
        }
        m_row[size_t(i)] = val;
    }
}

void IbQuery::next()
{
    if (!m_active || m_eof)
        return;
    fetch();
}

void IbQuery::close()
{
    if (d->cur && d->cursorOpen && m_transaction && m_transaction->active()) {
        ISC_STATUS_ARRAY status;
        isc_dsql_free_statement(status, &d->cur->stmt, DSQL_close);
    }
    freeStatement();
    m_active = false;
    m_eof = true;
}

void IbQuery::transactionEnding()
{
    // The server closes the cursor with the transaction; the prepared statement lives on.
    freeStatement();
    m_active = false;
    m_eof = true;
}

int IbQuery::columnIndex(const QString &name) const
{
    for (size_t i = 0; i < m_columns.size(); ++i)
        if (m_columns[i].name.compare(name, Qt::CaseInsensitive) == 0)
            return int(i);
    return -1;
}

QVariant IbQuery::value(const QString &name) const
{
    const int i = columnIndex(name);
    if (i < 0)
        throw DbError(QStringLiteral("Field '%1' not found").arg(name));
    return m_row.at(size_t(i));
}
