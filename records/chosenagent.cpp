#include "records/chosenagent.h"
#include "data/ee.h"
#include "data/helpers.h"
#include "data/readscope.h"
#include "data/tdm.h"
#include "records/detachedhandler.h"

namespace ChosenAgent {

void choose(const QString &code)
{
    RecordSet *agents = DM->econ_agent;
    {
        ReadScope read(DM->IBQ1, QStringLiteral("select * from econ_agent order by ea_id "));
        DetachedHandler keep(agents->beforePost); // the rows are read, not saved
        CopyToMemTable(read.query(), agents, 3);
    }
    if (agents->isEmpty())
        throw EE(QStringLiteral("Nu este înregistrat niciun agent economic."));
    if (code.isEmpty()) {
        if (agents->recordCount() > 1)
            throw EE(
                QStringLiteral("Sunt înregistrați %1 agenți economici: indicați-l pe cel dorit cu --agent COD_FOSK.")
                    .arg(agents->recordCount()));
        agents->first();
        return;
    }
    for (agents->first(); !agents->eof(); agents->next())
        if (agents->field(QStringLiteral("ea_fosk")).asString().trimmed() == code)
            return;
    throw EE(QStringLiteral("Nu este înregistrat agentul economic cu codul %1.").arg(code));
}

} // namespace ChosenAgent
