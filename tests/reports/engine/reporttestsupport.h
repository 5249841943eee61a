#pragma once
// What the report tests share: a Qt application for fonts and widgets, PDF text read back by
// pdftotext, and the register of workers as the program lays it out.

#include "reports/engine/report.h"
#include "reports/engine/reporttable.h"

#include <QString>
#include <QStringList>

namespace ReportTestSupport {

// Creates the QApplication once (offscreen in the tests' environment).
void ensureApplication();
// `pdftotext -layout` of the file; pages are separated by form feeds.
QString pdfText(const QString &pdfPath);
QStringList pdfPages(const QString &pdfPath);

// Columns of the register's rows.
ReportTable registerTable();
void addPerson(ReportTable &table, const QString &first, const QString &middle, const QString &last,
               const QString &cpas, const QString &idnp, const QString &seria, const QString &number,
               const QDate &birth);
// The register of workers: title, the agent's name in quotes, the ruled column header, one
// numbered line per person and the page number at the foot of every page.
void buildRegister(Report &report, ReportTable &rows, const QString &agentName);

} // namespace ReportTestSupport
