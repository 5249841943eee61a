#pragma once
// Copies the rows of a record set into a new spreadsheet for the user to work on: row 1 left
// empty, the display names of the visible fields bold in row 2, one row per record from row 3,
// the identity-code columns kept as text so that leading zeros and 13-digit codes survive.

#include <QDateTime>
#include <QString>
#include <QVariant>

class RecordSet;
class SheetTarget;

namespace SpreadsheetExport {

// The message when no spreadsheet can be made.
inline const QString kNoSpreadsheet = QStringLiteral("Error Excel.Application");

// True for the display names whose columns are formatted as text ("AP_IDNP", "AP_CPAS", in
// any case).
bool isIdentityCode(const QString &displayName);
// The record set laid out on the target: header, text columns, bold row 2, data, fitted
// columns. The set's bound controls are not refreshed meanwhile, and are refreshed again on
// every way out; it is left after its last row.
void write(RecordSet *set, SheetTarget &target);
// The cell of a field of the current record: display text for text fields, the value for the
// rest (numbers as double, dates as QDate or QDateTime), null for an empty value.
QVariant cell(RecordSet *set, int field, bool asText);
// The file an export named `name` gets at `moment` in `folder`: "<name> yyyy-MM-dd HH.mm.ss.xlsx"
// (or another extension), with characters that a file name cannot hold replaced and a number
// added when it is taken.
QString fileName(const QString &folder, const QString &name, const QDateTime &moment,
                 const QString &extension = QStringLiteral("xlsx"));

} // namespace SpreadsheetExport

// Writes `set` into a new spreadsheet and leaves it open for the user: a new document of
// LibreOffice Calc (the office the user has open, or one started), from `templatePath` as a
// template when that file exists, whose macro "macro1" then runs (its errors ignored). Without
// an office, or on a desktop with an office that cannot show windows, an .xlsx file in the
// folder "Export", named after `reportName` (the record set's name when empty) and the time,
// opened in the desktop's application. Raises EE "Error
// Excel.Application" when neither can be made; nothing is written then. An error of the office
// while writing stops the export with the office's message; what was written stays.
void ExportToExcel(RecordSet *set, const QString &templatePath, const QString &reportName = {});
