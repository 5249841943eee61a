#pragma once
// What each column of a payroll file is taken for: recognised from the header line by name
// (without regard to case, blanks or diacritics, in any order), and changed by the user where
// the payroll program names its columns otherwise.

#include "maintenance/payroll/payrollfile.h"

#include <QString>
#include <vector>

enum class PayrollField {
    Ignored,
    Cpas,
    Idnp,
    FamilyName,             // "Nume"
    GivenName,              // "Prenume"
    Patronymic,             // "Patronimic"
    BirthDate,              // "Data nașterii"
    Month,                  // "Luna": 1-12 or the month's Romanian name
    From,                   // "De la"
    To,                     // "Pînă la"
    Days,                   // "Zile": 5 or 6
    PayFund,                // "Fond de remunerare", also "Salariu"
    SickPay,                // "Concediu medical"
    Category,               // "Categoria"
    Function,               // "Funcția"
    FormType,               // "Tip formular": 1 or 3
    IndividualContribution, // "Contribuția individuală"
    EmployerContribution,   // "Contribuția angajatorului"
};

using PayrollMapping = std::vector<PayrollField>; // one field for each column of the file

namespace PayrollColumns {

// Every field in the order a column's choice offers them, Ignored first.
std::vector<PayrollField> all();
// The field's Romanian caption ("CPAS", "Fond de remunerare", …; Ignored: "Nu se importă").
QString caption(PayrollField field);
// A field for each cell of the header line; Ignored where the name is not recognised (and for a
// second column of a field already taken).
PayrollMapping recognise(const PayrollRow &header);
// Raises EE with the Romanian message when the mapping has no CPAS or IDNP column, or no month
// or no amount column.
void requireUsable(const PayrollMapping &mapping);

} // namespace PayrollColumns
