#include "packages/formtypemarks.h"
#include "data/ee.h"
#include "data/formats.h"
#include "data/tdm.h"
#include "records/formedpackage.h"
#include "records/workspacestate.h"

namespace FormTypeMarks {

std::optional<QVariant> mark(int formType)
{
    const WorkspaceState *ws = workspaceState();
    RecordSet *rows = DM->saldo_data;
    if (!ws || ws->activePage() != 2 || !rows->active() || rows->isEmpty())
        return std::nullopt;
    // A change left in the row would be saved by the reload afterwards with the form type it
    // was read with, undoing the mark for that row: it is saved before the mark instead.
    rows->checkBrowseMode();
    if (rows->isEmpty())
        return std::nullopt;
    const QString month = rows->field(QStringLiteral("sd_month")).asString();
    if (FormedPackage::covers(ws->selectedYear(), month)) {
        if (rows->isEditing())
            rows->cancel();
        throw EE(QStringLiteral("Este deja format pachetul electronic  !"));
    }
    const QVariant rowId = rows->field(QStringLiteral("sd_id")).value();
    if (rows->field(QStringLiteral("sd_kft_rf")).asInteger() == formType)
        return std::nullopt;
    DM->execWrite(QStringLiteral("update saldo_data set sd_kft_rf=") + QString::number(formType)
                  + QStringLiteral(" where sd_month=") + month + QStringLiteral(" and sd_na=")
                  + Formats::floatText(rows->field(QStringLiteral("sd_na")).asFloat()));
    return rowId;
}

} // namespace FormTypeMarks
