#pragma once
// What a cell of a payroll file says, read for its form only: a number, an amount, a date, the
// digits of a code, a month. Texts are read as a Romanian accountant writes them, cells of a
// spreadsheet as they are typed; nothing that could be read two ways is guessed.

#include "maintenance/payroll/payrollfile.h"

#include <optional>

namespace PayrollValue {

// Lower case, without diacritics, blanks or punctuation: "Data Nașterii:" gives "datanasterii".
QString folded(const QString &text);
// The value as the file shows it, for a message: a text trimmed, a number in the program's
// general format (1234.5), a date as dd.mm.yyyy.
QString shown(const PayrollCell &cell);

// A whole number: a number without a fraction, or a text of digits (a sign, and a point or a
// comma followed only by zeros allowed). Empty for anything else.
std::optional<long long> whole(const PayrollCell &cell);

// The digits of a code as the file holds them: a text trimmed; a number without a fraction as
// its digits, with the zeros in front that a number cell cannot keep put back up to `width`.
QString code(const PayrollCell &cell, int width);
bool isDigits(const QString &text);

enum class AmountForm {
    Number,     // "1234,56", "1234.56", "-12", a number cell
    Thousands,  // "1.234,56", "1 234,56", "1,234.56": a thousands separator
    Ambiguous,  // "1.234", "12,500": a thousands separator or three decimals
    NotANumber, // anything else, a date cell among it
};
AmountForm amount(const PayrollCell &cell, double *value);

// A date cell, or a text dd.mm.yyyy, dd/mm/yyyy or yyyy-mm-dd (day and month also of one digit,
// a time after the date allowed); invalid for anything else and for days that do not exist.
QDate date(const PayrollCell &cell);

// 1 to 12 for the Romanian name of a month, with or without diacritics and in any case; 0 else.
int monthByName(const QString &text);

} // namespace PayrollValue
