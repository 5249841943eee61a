#pragma once
// A month of the year whose electronic package has been formed (a row of t_pachet of the
// current agent covers it) can no longer be changed. The save rule of a monthly row, the
// deletions and the form-type marks ask the same question in the same words.

#include <QString>

namespace FormedPackage {

// "select * from t_pachet where anul=<year> and luna_d<=<month> and luna_p>=<month> and
// ae_rf=<ea_id of the current econ_agent row>".
QString statement(const QString &year, const QString &month);

// Whether that statement returns a row (read on IBQ1, committed afterwards).
bool covers(const QString &year, const QString &month);

} // namespace FormedPackage
