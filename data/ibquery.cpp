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
#include <ibase.h>

struct IbQuery::Impl {
    isc_stmt_handle stmt = 0;
    XSQLDA *out = nullptr;
    std::vector<std::vector<char>> buffers;
    std::vector<short> nulls;
    int statementType = 0;

    ~Impl() { std::free(out); }
};

IbQuery::IbQuery(IbTransaction *transaction, QObject *parent)
    : QObject(parent), m_transaction(transaction), d(std::make_unique<Impl>())
{
    m_transaction->attachQuery(this);
}

IbQuery::~IbQuery()
{
    try {
        close();
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
    if (d->stmt) {
        ISC_STATUS_ARRAY status;
        isc_dsql_free_statement(status, &d->stmt, DSQL_drop);
        d->stmt = 0;
    }
    std::free(d->out);
    d->out = nullptr;
    d->buffers.clear();
    d->nulls.clear();
}

void IbQuery::prepare()
{
    close();
    if (!m_transaction->active())
        m_transaction->startTransaction();
    IbDatabase *db = m_transaction->database();
    ISC_STATUS_ARRAY status;
    isc_dsql_allocate_statement(status, db->handle(), &d->stmt);
    IbStatus::check(status);

    const QByteArray text = Win1250::encodeOrThrow(sqlText());
    d->out = allocSqlda(1);
    isc_dsql_prepare(status, m_transaction->handle(), &d->stmt, 0, text.constData(), IbDatabase::kDialect, d->out);
    if (IbStatus::failed(status)) {
        const DbError err(IbStatus::text(status), int(isc_sqlcode(status)));
        freeStatement();
        throw err;
    }
    if (d->out->sqld > d->out->sqln) {
        const int n = d->out->sqld;
        std::free(d->out);
        d->out = allocSqlda(n);
        isc_dsql_describe(status, &d->stmt, IbDatabase::kDialect, d->out);
        IbStatus::check(status);
    }
    static const char info[] = {isc_info_sql_stmt_type};
    char res[16];
    isc_dsql_sql_info(status, &d->stmt, sizeof info, info, sizeof res, res);
    IbStatus::check(status);
    d->statementType = 0;
    if (res[0] == isc_info_sql_stmt_type) {
        const short len = short(isc_vax_integer(res + 1, 2));
        d->statementType = int(isc_vax_integer(res + 3, len));
    }

    const int n = d->out->sqld;
    m_columns.clear();
    d->buffers.assign(size_t(n), {});
    d->nulls.assign(size_t(n), 0);
    for (int i = 0; i < n; ++i) {
        XSQLVAR &v = d->out->sqlvar[i];
        IbColumn c;
        c.name = Win1250::decode(v.aliasname, v.aliasname_length);
        if (c.name.isEmpty())
            c.name = Win1250::decode(v.sqlname, v.sqlname_length);
        c.type = typeOf(v);
        c.sqlType = short(v.sqltype & ~1);
        c.scale = v.sqlscale;
        if (isStringType(c.type) && c.type != FieldType::Memo)
            c.size = v.sqllen;
        m_columns.push_back(c);
        size_t len = size_t(v.sqllen) + ((v.sqltype & ~1) == SQL_VARYING ? 2 : 0);
        d->buffers[size_t(i)].assign(len + 8, 0);
        v.sqldata = d->buffers[size_t(i)].data();
        v.sqlind = &d->nulls[size_t(i)];
        v.sqltype |= 1;
    }
}

void IbQuery::open()
{
    prepare();
    ISC_STATUS_ARRAY status;
    isc_dsql_execute(status, m_transaction->handle(), &d->stmt, IbDatabase::kDialect, nullptr);
    if (IbStatus::failed(status)) {
        const DbError err(IbStatus::text(status), int(isc_sqlcode(status)));
        freeStatement();
        m_columns.clear();
        throw err;
    }
    m_active = true;
    m_eof = false;
    if (d->statementType == isc_info_sql_stmt_exec_procedure) {
        // Non-selectable procedure: its single output row came with execute (none here).
        m_eof = true;
        return;
    }
    fetch();
}

void IbQuery::execQuery()
{
    prepare();
    ISC_STATUS_ARRAY status;
    const bool proc = d->statementType == isc_info_sql_stmt_exec_procedure && d->out->sqld > 0;
    if (proc)
        isc_dsql_execute2(status, m_transaction->handle(), &d->stmt, IbDatabase::kDialect, nullptr, d->out);
    else
        isc_dsql_execute(status, m_transaction->handle(), &d->stmt, IbDatabase::kDialect, nullptr);
    if (IbStatus::failed(status)) {
        const DbError err(IbStatus::text(status), int(isc_sqlcode(status)));
        freeStatement();
        m_columns.clear();
        throw err;
    }
    freeStatement();
    m_columns.clear();
}

void IbQuery::fetch()
{
    ISC_STATUS_ARRAY status;
    const ISC_STATUS rc = isc_dsql_fetch(status, &d->stmt, IbDatabase::kDialect, d->out);
    if (rc == 100) {
        m_eof = true;
        return;
    }
    IbStatus::check(status);
    const int n = d->out->sqld;
    m_row.assign(size_t(n), QVariant());
    for (int i = 0; i < n; ++i) {
        const XSQLVAR &v = d->out->sqlvar[i];
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
            IbStatus::check(status);
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
    if (d->stmt) {
        ISC_STATUS_ARRAY status;
        if (m_active && m_transaction && m_transaction->active())
            isc_dsql_free_statement(status, &d->stmt, DSQL_close);
    }
    freeStatement();
    m_active = false;
    m_eof = true;
}

void IbQuery::transactionEnding()
{
    // The server drops the cursor itself; the statement handle is freed to keep nothing stale.
    if (d->stmt) {
        ISC_STATUS_ARRAY status;
        isc_dsql_free_statement(status, &d->stmt, DSQL_drop);
        d->stmt = 0;
    }
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
