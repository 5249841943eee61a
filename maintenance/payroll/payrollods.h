#pragma once
// An OpenDocument spreadsheet (.ods) read the way the spreadsheet program shows it: each cell
// by the type it is written with (a number, also as percentage or currency; a date; a text),
// the rows and cells a program writes once with a repeat count counted as many times.

#include "maintenance/payroll/payrollfile.h"

class PayrollZip;

class PayrollOds
{
public:
    // The sheet named `sheet` of the document in `zip` into `table` (its sheets listed);
    // without a name the first sheet that has anything in it. Raises EE naming `file` when the
    // document is damaged, has no such sheet or goes beyond the bounds.
    static void read(PayrollZip &zip, const QString &file, const QString &sheet, PayrollTable *table);
};
