#include "packages/findopenpackage.h"
#include "data/formats.h"
#include "data/ibquery.h"
#include "data/ibtransaction.h"
#include "data/tdm.h"
#include "records/workspacestate.h"

#include <cmath>

namespace {

// Opens a further statement on IBQ1 inside the read transaction already started.
void readOn(const QString &sql)
{
    IbQuery *q = DM->IBQ1;
    q->close();
    q->clearSql();
    q->addSql(sql);
    q->open();
}

qint64 wholeNumber(const QVariant &v)
{
    return v.isNull() ? 0 : qint64(std::llround(v.toDouble()));
}

} // namespace

QString NewPackageStatement(qint64 id, const QString &agent, const QString &year, const QDate &formed)
{
    const QString n = QString::number(id);
    return QStringLiteral("insert into packlabel values(") + n + u',' + agent + QStringLiteral(",5,") + year + u','
        + u'\'' + Formats::dateText(formed) + u'\'' + QStringLiteral(",1,") + QStringLiteral("'DA'") + u',' + n
        + u')';
}

qint64 FindOpenPackage()
{
    const WorkspaceState *ws = workspaceState();
    const QString year = ws ? ws->selectedYear() : QString();
    const QString agent = DM->econ_agent->field(QStringLiteral("ea_id")).asString();

    DM->openRead(DM->IBQ1, QStringLiteral("select max(pl_id) as mpl from packlabel  where pl_ea=") + agent
                               + QStringLiteral(" and pl_year=") + year);
    const qint64 newest = DM->IBQ1->eof() ? 0 : wholeNumber(DM->IBQ1->value(0));
    if (newest > 0) {
        readOn(QStringLiteral("select count(*) as cnt from name_account,packlabel  where na_pl=pl_id and pl_ea=") + agent
               + QStringLiteral(" and pl_year=") + year + QStringLiteral(" and na_pl=") + QString::number(newest));
        const qint64 held = DM->IBQ1->eof() ? 0 : wholeNumber(DM->IBQ1->value(0));
        if (held < kPackageCapacity) {
            DM->endRead(DM->IBQ1);
            return newest;
        }
    }
    readOn(QStringLiteral("select * from get_pl_id"));
    const qint64 id = wholeNumber(DM->IBQ1->value(QStringLiteral("nRet")));
    DM->endRead(DM->IBQ1);
    DM->execWrite(NewPackageStatement(id, agent, year, DM->serverDate.date()));
    return id;
}
