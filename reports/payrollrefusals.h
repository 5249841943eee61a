#pragma once
// The lines of a payroll file that the import refused, for the accountant to mend them in the
// payroll program: on paper, and as a CSV file of the lines as they stood in the file, each with
// its reason, written into the folder "Export" of the data folder.

#include "maintenance/payroll/payrollfile.h"
#include "maintenance/payroll/payrollimportresult.h"

#include <QDateTime>
#include <QString>
#include <memory>

class Report;
class ReportSource;

namespace PayrollRefusals {

// The refused lines as report rows: "rindul", "cpas", "idnp", "persoana", "luna", "motivul".
std::unique_ptr<ReportSource> rows(const PayrollImportResult &result);
// The layout over those rows; the title names the file, the year and the counts.
void build(Report &report, ReportSource &rows, const QString &file, int year, const PayrollImportResult &result);
// Lays the refused lines out and shows them through the user interaction.
void show(const QString &file, int year, const PayrollImportResult &result);

// The CSV text of the refused lines: the file's header line and each refused line with its
// cells as they were typed, the reason in a last column "Motivul"; the text file's separator
// (";" for a spreadsheet), fields quoted where they must be, lines ended by CR LF, UTF-8 with a
// byte order mark.
QByteArray csv(const PayrollTable &table, const PayrollImportResult &result);
// Writes that text into a new file of the folder "Export" of the data folder, named after the
// payroll file and `moment`, through QSaveFile; returns its path. Raises EE when it cannot be
// written.
QString exportCsv(const PayrollTable &table, const PayrollImportResult &result, const QDateTime &moment);

} // namespace PayrollRefusals
