#include "data/ibdatabase.h"
#include "data/dberror.h"
#include "data/ibstatus.h"
#include "data/ibquery.h"
#include "data/ibtransaction.h"
#include "data/win1250.h"
#include "platform/signalbridge.h"

IbDatabase::IbDatabase(QObject *parent) : QObject(parent) {}

IbDatabase::~IbDatabase()
{
    try {
        close();
    } catch (...) {
    }
}

QString IbDatabase::param(const QString &name) const
{
    const QString prefix = name + u'=';
    for (const QString &line : m_params)
        if (line.startsWith(prefix, Qt::CaseInsensitive))
            return line.mid(prefix.size());
    return {};
}

namespace {

void addDpbString(QByteArray &dpb, char tag, const QByteArray &value)
{
    dpb.append(tag);
    dpb.append(char(qMin<qsizetype>(value.size(), 255)));
    dpb.append(value.left(255));
}

} // namespace

void IbDatabase::open()
{
    if (connected())
        close();
    QByteArray dpb;
    dpb.append(char(isc_dpb_version1));
    const QString user = param(QStringLiteral("USER_NAME"));
    const QString password = param(QStringLiteral("PASSWORD"));
    if (!user.isEmpty())
        addDpbString(dpb, isc_dpb_user_name, user.toUtf8());
    if (!password.isEmpty())
        addDpbString(dpb, isc_dpb_password, password.toUtf8());
    addDpbString(dpb, isc_dpb_lc_ctype, QByteArrayLiteral("WIN1250"));
    dpb.append(char(isc_dpb_sql_dialect));
    dpb.append(char(1));
    dpb.append(char(kDialect));

    const QByteArray name = m_databaseName.toLocal8Bit();
    ISC_STATUS_ARRAY status;
    isc_db_handle h = 0;
    SignalBridge::engineCall([&] {
        isc_attach_database(status, short(name.size()), name.constData(), &h, short(dpb.size()), dpb.constData());
    });
    IbStatus::check(status);
    m_handle = h;
}

void IbDatabase::close()
{
    if (!connected())
        return;
    for (IbTransaction *t : m_transactions)
        if (t && t->active())
            t->commit();
    for (IbTransaction *t : m_transactions)
        if (t)
            for (IbQuery *q : t->queries())
                q->releasePrepared();
    ISC_STATUS_ARRAY status;
    isc_detach_database(status, &m_handle);
    m_handle = 0;
    IbStatus::check(status);
}

void IbDatabase::releaseUnusedStatements()
{
    for (IbTransaction *t : m_transactions)
        if (t)
            for (IbQuery *q : t->queries())
                q->releaseUnusedPrepared();
}

void IbDatabase::registerTransaction(IbTransaction *t)
{
    if (!m_transactions.contains(t))
        m_transactions.append(t);
}

void IbDatabase::unregisterTransaction(IbTransaction *t)
{
    m_transactions.removeAll(t);
}

void IbDatabase::createDatabase(const QString &path, const QString &user, const QString &password,
                                const QString &charset)
{
    QString sql = QStringLiteral("CREATE DATABASE '%1' USER '%2' PASSWORD '%3' PAGE_SIZE 8192 DEFAULT CHARACTER SET %4")
                      .arg(QString(path).replace(u'\'', QStringLiteral("''")), user, password, charset);
    const QByteArray bytes = sql.toLocal8Bit();
    ISC_STATUS_ARRAY status;
    isc_db_handle h = 0;
    isc_tr_handle tr = 0;
    SignalBridge::engineCall(
        [&] { isc_dsql_execute_immediate(status, &h, &tr, 0, bytes.constData(), kDialect, nullptr); });
    IbStatus::check(status);
    isc_detach_database(status, &h);
    IbStatus::check(status);
}
