#include "records/formedpackage.h"
#include "data/readscope.h"
#include "data/tdm.h"

namespace FormedPackage {

QString statement(const QString &year, const QString &month)
{
    return QStringLiteral("select * from t_pachet where anul=") + year + QStringLiteral(" and luna_d<=") + month
           + QStringLiteral(" and luna_p>=") + month + QStringLiteral(" and ae_rf=")
           + DM->econ_agent->field(QStringLiteral("ea_id")).asString();
}

bool covers(const QString &year, const QString &month)
{
    ReadScope read(DM->IBQ1, statement(year, month));
    return read.found();
}

} // namespace FormedPackage
