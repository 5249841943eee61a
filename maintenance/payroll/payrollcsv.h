#pragma once
// A CSV or TXT file from a payroll program, read into cells of text: the separator (";", "," or
// a tab) is told from the lines themselves, quoted fields may hold separators, doubled quotes
// and line ends, and every line keeps the number it has in the file.

#include "maintenance/payroll/payrollfile.h"

#include <QByteArray>

class PayrollCsv
{
public:
    // The file's bytes into `table`: encoding, separator, rows of text cells with their line
    // numbers (lines without anything in them left out). Raises EE naming `file` and the line
    // when the file is not text or goes beyond the bounds of a payroll export.
    static void read(const QByteArray &bytes, const QString &file, PayrollTable *table);

    // The separator of `text`: among ";", tab and ",", the one that appears the same number
    // of times (outside quotes) on the most of the first lines; ";" when none appears.
    static QChar separatorOf(const QString &text);
};
