#pragma once
// The findings of a package check on paper, so that the accountant can hand the list to whoever
// corrects the data.

#include "packages/packagecheck.h"

#include <memory>

class Report;
class ReportSource;

namespace PackageCheckReport {

// The findings as report rows: "membrul", "rindul", "cimpul", "tipul" and "mesajul".
std::unique_ptr<ReportSource> rows(const std::vector<PackageFinding> &findings);
// The layout over those rows; the title names the archive and the counts.
void build(Report &report, ReportSource &rows, const QString &archive, const PackageCheck::Result &result);
// Lays the findings out and shows them through the user interaction.
void show(const QString &archive, const PackageCheck::Result &result);

} // namespace PackageCheckReport
