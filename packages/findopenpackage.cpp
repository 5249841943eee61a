#include "packages/findopenpackage.h"
#include "data/readscope.h"
#include "data/sqltext.h"
#include "data/tdm.h"
#include "records/workspacestate.h"

#include <cmath>

namespace {

qint64 wholeNumber(const QVariant &v)
{
    return v.isNull() ? 0 : qint64(std::llround(v.toDouble()));
}

} // namespace

QString NewPackageStatement(qint64 id, const QString &agent, const QString &year, const QDate &formed)
{
    const QString n = QString::number(id);
    return QStringLiteral("insert into packlabel values(") + n + u',' + agent + QStringLiteral(",5,") + year + u','
        + SqlText::quoted(formed) + QStringLiteral(",1,") + QStringLiteral("'DA'") + u',' + n
        + u')';
}

qint64 FindOpenPackage()
{
    const WorkspaceState *ws = workspaceState();
    const QString year = ws ? ws->selectedYear() : QString();
    const QString agent = DM->econ_agent->field(QStringLiteral("ea_id")).asString();

    qint64 id = 0;
    {
        // One read transaction for the newest package, its count and a new identifier.
        ReadScope read(DM->IBQ1, QStringLiteral("select max(pl_id) as mpl from packlabel  where pl_ea=") + agent
                                     + QStringLiteral(" and pl_year=") + year);
        const qint64 newest = read.found() ? wholeNumber(read.value(0)) : 0;
        if (newest > 0) {
            read.reopen(QStringLiteral("select count(*) as cnt from name_account,packlabel  where na_pl=pl_id and pl_ea=")
                        + agent + QStringLiteral(" and pl_year=") + year + QStringLiteral(" and na_pl=")
                        + QString::number(newest));
            const qint64 held = read.found() ? wholeNumber(read.value(0)) : 0;
            if (held < kPackageCapacity)
                return newest;
        }
        read.reopen(QStringLiteral("select * from get_pl_id"));
        id = wholeNumber(read.value(QStringLiteral("nRet")));
    }
    DM->execWrite(NewPackageStatement(id, agent, year, DM->serverDate.date()));
    return id;
}
