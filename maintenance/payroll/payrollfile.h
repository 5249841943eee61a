#pragma once
// A payroll program's export as the import reads it: the cells of one sheet of a spreadsheet, or
// of a CSV/TXT file, each as it was typed (a text, a number, a date or nothing), with the line
// number the user sees in the file, so that every refusal can point at its line.

#include <QDate>
#include <QString>
#include <QStringList>
#include <vector>

struct PayrollCell {
    enum class Kind { Empty, Text, Number, Date };
    Kind kind = Kind::Empty;
    QString text;      // Text: the text; Number and Date: the text the cell shows, when known
    double number = 0; // Number
    QDate date;        // Date
};

using PayrollRow = std::vector<PayrollCell>;

struct PayrollTable {
    QString path;
    QStringList sheets;           // a spreadsheet's sheets in their order; empty for a text file
    QString sheet;                // the sheet that was read
    QString encoding;             // a text file's: "UTF-8", "Windows-1250" or "Windows-1251"
    QChar separator;              // a text file's: ';', ',' or '\t'
    std::vector<PayrollRow> rows; // rows[0] is the header line
    std::vector<int> lineNumbers; // for each of `rows`, its line (text file) or row (sheet), from 1
};

namespace PayrollFile {

// Reads a .csv, .txt, .xlsx or .ods file; of a spreadsheet the sheet named, the first one when
// `sheet` is empty. Raises EE with a Romanian message naming the file (and the line at fault,
// where there is one) when the file cannot be read, is empty or is not of its kind.
PayrollTable read(const QString &path, const QString &sheet = QString());

} // namespace PayrollFile
