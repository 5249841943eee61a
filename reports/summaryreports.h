#pragma once
// The three summary reports of an agent's year in the forms-printing window: by package
// (QuickRep4), by person and month (QuickRep5) and by month with quarter subtotals (QuickRep8).
// Each reads its rows into a record set and lays them out; category 150 counts in no sum.

#include <QString>

class Report;
class ReportSource;

namespace SummaryReports {

// Digits grouped by three with blanks, two decimals.
inline const QString kAmount = QStringLiteral("### ### ### ##0.00");

// ---- by package, over pachet (filled by PackageList::fill)
QString packageTitle(const QString &agentName, const QString &year);
void buildPackageReport(Report &report, ReportSource &pachet, const QString &title);
// "Raport pe pachete": fills the package list and shows the report, or with `toSpreadsheet`
// exports pachet instead (so do the other two reports with their rows).
void showPackageReport(bool toSpreadsheet = false);

// ---- by person and month, over CDS
QString personsStatement(const QString &year, const QString &agentId);
// The monthly rows, other than category 150, of the declarations personsStatement lists.
QString personRowsStatement(const QString &year, const QString &agentId);
// Rebuilds CDS: one row per declaration of the year, the pay fund of each month summed.
void readPersonMonths();
void buildPersonMonthReport(Report &report, ReportSource &cds, const QString &year, const QString &agentName);
// "Raport".
void showPersonMonthReport(bool toSpreadsheet = false);

// ---- by month, over CDS
QString monthsStatement(const QString &year, const QString &agentId);
// Rebuilds CDS (COLUMN1..COLUMN7) with the quarter of each month in COLUMN7.
void readMonths();
void buildMonthReport(Report &report, ReportSource &cds, const QString &year, const QString &agentName);
// "Raport pe luni".
void showMonthReport(bool toSpreadsheet = false);

} // namespace SummaryReports
