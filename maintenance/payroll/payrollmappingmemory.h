#pragma once
// What the user took each column of an agent's payroll files for, remembered from one month to
// the next: keyed by the column's title, so that the columns may come in another order. Kept in
// the settings file "salarii.ini" of the data folder, beside the user's other files of the
// computer, in UTF-8, so that a title in any script survives (the database holds Windows-1250).

#include "maintenance/payroll/payrollcolumns.h"

#include <QString>

namespace PayrollMappingMemory {

QString fileName(); // "salarii.ini"

// The agent a mapping is remembered for: the FOSK code of the current row of econ_agent.
QString currentAgent();

// The fields of a header for the agent: recognised from the titles, then those the user chose
// for a title before in its place (a field chosen so leaves the column that was recognised for
// it).
PayrollMapping recall(const QString &agent, const PayrollRow &header);
// Keeps the field of each title of the header for the agent, beside the titles of other files.
void remember(const QString &agent, const PayrollRow &header, const PayrollMapping &mapping);

// The title of a header cell as it is remembered.
QString title(const PayrollCell &cell);

} // namespace PayrollMappingMemory
