#pragma once
// One line of a payroll file as the values it gives for a monthly row: read with the columns'
// mapping, each value checked for its form only (digits, numbers, dates, months). What the rows
// of the database and the save rules say of it is decided by the import afterwards.

#include "maintenance/payroll/payrollcolumns.h"
#include "maintenance/payroll/payrollfile.h"

#include <QDate>
#include <QString>
#include <optional>
#include <vector>

struct PayrollLine {
    int line = 0;       // the line in the file
    QString cpas, idnp; // digits as written; empty when not given
    QString familyName, givenName, patronymic;
    QDate birthDate;                            // null when not given
    int month = 0;                              // 1 to 12
    QDate from, to;                             // the whole month of the year when the file gives none
    int days = 5;                               // 5 when not given
    std::optional<double> payFund, sickPay;     // empty when not given
    std::optional<double> individual, employer; // the contributions, when given
    std::optional<int> category, function;      // empty: the declaration's
    int formType = 1;                           // 1 when not given
    QString refusal; // why the line's values cannot be used ("Luna 13 nu există"); empty otherwise
};

namespace PayrollLines {

// The lines below the header, read with `mapping` for the declarations' `year`. Lines whose
// cells are all empty are left out; every other line gives a PayrollLine, refused or not.
std::vector<PayrollLine> parse(const PayrollTable &table, const PayrollMapping &mapping, int year);

} // namespace PayrollLines
