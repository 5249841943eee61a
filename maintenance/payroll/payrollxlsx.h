#pragma once
// An .xlsx workbook read the way the spreadsheet program shows it: texts (shared, inline, the
// results of formulas), numbers, and dates, which the format is a number with a date format
// (of the 1900 or the 1904 calendar of the workbook, or written as a date), one sheet at a time.

#include "maintenance/payroll/payrollfile.h"

class PayrollZip;

class PayrollXlsx
{
public:
    // The sheet named `sheet` of the workbook in `zip` into `table` (its sheets listed);
    // without a name the first sheet that has anything in it. Raises EE naming `file` when the
    // workbook is damaged, has no such sheet or goes beyond the bounds.
    static void read(PayrollZip &zip, const QString &file, const QString &sheet, PayrollTable *table);

    // True for a number format that shows a date: the built-in ones of a date and the codes
    // with a day, month or year (a month only when the code has no hours or seconds).
    static bool isDateFormat(int id, const QString &code);
    // The date of a serial number of the 1900 calendar (with its 29 February 1900, which the
    // programs count though it never was) or of the 1904 one; invalid when it is none.
    static QDate serialDate(double serial, bool calendar1904);
};
