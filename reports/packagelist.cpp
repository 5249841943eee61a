#include "reports/packagelist.h"
#include "data/formats.h"
#include "data/helpers.h"
#include "data/readscope.h"
#include "data/tdm.h"
#include "platform/platform.h"
#include "records/detachedhandler.h"
#include "records/workspacestate.h"
#include "reports/spreadsheetexport.h"

#include <QScopeGuard>

namespace PackageList {

QString statement(const QString &year, const QString &agentId)
{
    return QStringLiteral("select p.pl_id,p.pl_nr,p.pl_cpas,kf.kft_name_ro, count(distinct a.na_id) as cnt , "
                          "sum(c.sd_paym_fond) as col3,sum(c.sd_ill) as col4, sum(c.sd_sum_add) as col5, "
                          "sum(c.sd_sum_add_ea) as col6  from  saldo_data c  inner join name_account a  on "
                          "(c.sd_na=a.na_id)  inner join packlabel p on (a.na_pl=p.pl_id)  left outer join "
                          "k_form_type kf on (p.pl_kft_rf=kf.kft_id)  where  a.na_year=")
           + year + QStringLiteral(" and p.pl_ea=") + agentId + QStringLiteral(" and c.sd_ap_category<>150 ")
           + QStringLiteral(" group by p.pl_id,p.pl_nr,p.pl_cpas,kf.kft_name_ro ");
}

QString declarationsStatement(const QString &packageId)
{
    return QStringLiteral("select distinct na_id as nr, na_id, ap_first_name as nume,ap_middle_name as prenume,"
                          "ap_last_name as patron , sum(sd_paym_fond) as col3,sum(sd_ill) as col4, "
                          "sum(sd_sum_add) as col6, sum(sd_sum_add_ea) as col7  from name_account  inner join  "
                          "assured_person on(ap_id=na_ap)  left outer join saldo_data on(sd_na=na_id)  where na_pl=")
           + packageId + QStringLiteral(" and sd_ap_category<>150 ")
           + QStringLiteral(" group by na_id,ap_first_name,ap_middle_name,ap_last_name")
           + QStringLiteral(" order by na_id ");
}

QString year()
{
    return workspaceState() ? workspaceState()->selectedYear().trimmed() : QString();
}

QString agentId()
{
    return Formats::floatText(DM->econ_agent->field(QStringLiteral("ea_id")).asFloat());
}

void fill()
{
    RecordSet *pachet = DM->pachet;
    DataSource *source = DM->dataSourceOf(pachet);
    {
        DetachedHandler quiet(pachet->afterScroll);
        source->setEnabled(false);
        const auto enable = qScopeGuard([source] { source->setEnabled(true); });
        ReadScope read(DM->IBQ4, statement(year(), agentId()));
        CopyToMemTable(read.query(), pachet, 2);
        pachet->first();
    }
    // The declarations shown belonged to the package that was current before.
    if (pachet->afterScroll)
        pachet->afterScroll(*pachet);
}

void fillDeclarations(bool toSpreadsheet)
{
    RecordSet *pachet = DM->pachet;
    if (!pachet->active() || pachet->isEmpty() || pachet->isEditing())
        return;
    RecordSet *rev = DM->rev;
    DataSource *source = DM->dataSourceOf(rev);
    source->setEnabled(false);
    const auto enable = qScopeGuard([source] { source->setEnabled(true); });
    {
        ReadScope read(DM->IBQ4,
                       declarationsStatement(Formats::floatText(pachet->field(QStringLiteral("pl_id")).asFloat())));
        CopyToMemTable(read.query(), rev, 2);
    }
    int n = 0;
    for (rev->first(); !rev->eof(); rev->next()) {
        rev->edit();
        rev->field(QStringLiteral("nr")).setValue(++n);
        rev->post();
    }
    if (toSpreadsheet)
        ExportToExcel(rev, Platform::inProgramFolder(QStringLiteral("modrap.xlt")),
                      QStringLiteral("Lista persoanelor din pachet"));
    rev->first();
}

void clear()
{
    for (RecordSet *set : {DM->pachet, DM->rev})
        if (set->active())
            set->emptyDataSet();
}

} // namespace PackageList
