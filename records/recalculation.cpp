#include "records/recalculation.h"
#include "data/formats.h"
#include "data/helpers.h"
#include "data/readscope.h"
#include "data/sqltext.h"
#include "data/tdm.h"
#include "platform/progress.h"
#include "records/contribution.h"
#include "records/raterow.h"
#include "records/saldodatarules.h"
#include "records/workspacestate.h"

namespace Recalculation {

namespace {

// The declaration years whose ceiling the recalculation keeps.
bool recalculatedYear(int declarationYear)
{
    return declarationYear > 2003 && declarationYear < 2017;
}

struct Year {
    QString D1, D2; // the quoted first and last day of the selected year
};

// The new contribution of the current row of cds4; false when its rate is not a percentage.
bool contribution(RecordSet &row, const Year &y, double &V)
{
    const Field tariff = row.field(QStringLiteral("sd_tariff_ap"));
    // A row without a rate has nothing to be recomputed from.
    if (tariff.isNull())
        return false;
    const RateRow rate = RateRow::read(tariff.asString());
    if (!rate.found() || rate.individualUnit() != QLatin1String("P") || !(rate.individualValue() >= 0.01))
        return false;
    V = Contribution::percent(row.field(QStringLiteral("sd_paym_fond")).asFloat()
                                  - row.field(QStringLiteral("sd_ill")).asFloat(),
                              rate.individualValue());
    if (rate.ceilingSet() && V > rate.ceiling()) {
        const double allowance = SaldoDataRules::readYearToDateAllowance(
            row.field(QStringLiteral("sd_na")).asString(), row.field(QStringLiteral("sd_month")).asString(), y.D1,
            y.D2, row.field(QStringLiteral("sd_id")).asString(), rate.ceiling());
        V = Contribution::withinAllowance(V, allowance);
    }
    if (V < 0)
        V = 0;
    return true;
}

} // namespace

bool run()
{
    RecordSet *na = DM->name_account, *rows = DM->saldo_data;
    if (!na->active() || na->isEmpty()
        || !recalculatedYear(int(na->field(QStringLiteral("na_year")).asInteger())))
        return false;
    if (rows->active() && rows->isEditing())
        rows->post();
    // The declaration is the one of the current monthly row: none shown, nothing to do.
    if (!rows->active() || rows->isEmpty())
        return false;

    const WorkspaceState *ws = workspaceState();
    const QString year = ws ? ws->selectedYear() : QString();
    const Year y{SqlText::quoted(QStringLiteral("01.01.") + year), SqlText::quoted(QStringLiteral("31.12.") + year)};
    RecordSet *list = DM->cds4;
    {
        ReadScope read(DM->IBQ4, QStringLiteral("select *  from saldo_data where sd_na=")
                                     + rows->field(QStringLiteral("sd_na")).asString()
                                     + QStringLiteral(" and sd_dela_d >=") + y.D1 + QStringLiteral(" and sd_dela_d<=")
                                     + y.D2 + QStringLiteral(" and sd_paym_fond>0 order by sd_month"));
        CopyToMemTable(read.query(), list, 2);
    }
    Progress progress(QStringLiteral("Recalcularea contribuțiilor individuale"), list->recordCount());
    for (list->first(); !list->eof(); list->next()) {
        progress.step(list->recNo() + 1);
        double V = 0;
        if (!contribution(*list, y, V))
            continue;
        // Committed at once: the year-to-date reads of the next month see it.
        DM->execWrite(QStringLiteral("update saldo_data set sd_sum_add=")
                      + ReplaceAll(Formats::floatText(V), QStringLiteral(","), QStringLiteral("."))
                      + QStringLiteral(" where sd_id=") + list->field(QStringLiteral("sd_id")).asString());
    }
    list->close();
    DM->cds1->close();
    return true;
}

} // namespace Recalculation
