#pragma once
// Where a report goes without a screen: laid out into pages, or written to a PDF file. Printing
// and the preview window are in reportprinting.h, apart from the core.

#include "reports/engine/reportdocument.h"

#include <QString>

class Report;

namespace ReportOutput {

// Writes an A4 PDF through a temporary file renamed into place, so a failure never leaves half
// a file. Returns false with a reason in `error` when the file cannot be written. A report with
// no page gives one blank page. Layout errors throw ReportError.
bool exportPdf(const Report &report, const QString &path, QString *error = nullptr);
bool exportPdf(const ReportDocument &document, const QString &path, QString *error = nullptr);

// The report laid out into pages.
ReportDocument layout(const Report &report);

} // namespace ReportOutput
