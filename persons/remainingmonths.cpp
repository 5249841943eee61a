#include "persons/remainingmonths.h"
#include "data/dberror.h"
#include "data/ee.h"
#include "data/readscope.h"
#include "data/tdm.h"
#include "records/newmonthrow.h"
#include "records/workspacestate.h"

namespace RemainingMonths {

void fill()
{
    const WorkspaceState *ws = workspaceState();
    RecordSet *declaration = DM->name_account;
    RecordSet *rows = DM->saldo_data;
    if (!ws || ws->activePage() != 2 || !declaration->active() || declaration->isEmpty() || !rows->active())
        return;
    int first = 1;
    if (!rows->isEmpty()) {
        rows->last();
        first = int(rows->field(QStringLiteral("sd_month")).asInteger()) + 1;
    }
    if (first > 12)
        return;
    // Without a category the rate of the rows cannot be looked up, nor a row saved.
    const Field category = declaration->field(QStringLiteral("na_ap_category"));
    if (category.isNull())
        throw EE(QStringLiteral("Indicati categoria persoanei asigurate!"));
    const int year = ws->selectedYear().trimmed().toInt();
    for (int month = first; month <= 12; ++month) {
        rows->append(); // posts a row refused below again; that refusal ends the filling
        {
            ReadScope id(DM->IBQ1, QStringLiteral("select * from get_sd_id"));
            rows->field(QStringLiteral("sd_id")).setValue(id.value(QStringLiteral("nRet")));
        }
        NewMonthRow::fill(*rows, *declaration, year, month);
        NewMonthRow::takeRate(*rows, year, category.asString());
        // Both reads have ended (IBT1 committed, IBQ1 closed) before the save rule reads again.
        try {
            rows->post();
        } catch (const EE &) {
            // left pending: the next append shows the refusal
        } catch (const DbError &) { }
    }
}

} // namespace RemainingMonths
