#pragma once
// Where a report goes: a PDF file, a printer chosen by the caller, the default printer, or the
// preview window. Each lays the report out once and paints the same pages.

#include "reports/engine/reportdocument.h"

#include <QString>

class QPrinter;
class QWidget;
class Report;

namespace ReportOutput {

// Writes an A4 PDF through a temporary file renamed into place, so a failure never leaves half
// a file. Returns false with a reason in `error` when the file cannot be written. A report with
// no page gives one blank page. Layout errors throw ReportError.
bool exportPdf(const Report &report, const QString &path, QString *error = nullptr);
bool exportPdf(const ReportDocument &document, const QString &path, QString *error = nullptr);

// Prints on `printer` (set to A4, the report's orientation, the whole paper as page), honouring
// the page range chosen in a print dialog. False when the printer cannot be opened.
bool print(const Report &report, QPrinter *printer);
bool print(const ReportDocument &document, QPrinter *printer);

// Sends the report to the system's default printer without asking. False when there is none
// or it cannot be opened.
bool printWithoutPreview(const Report &report);

// Shows the report in the modal preview window.
void preview(const Report &report, QWidget *parent = nullptr);

// The report laid out into pages.
ReportDocument layout(const Report &report);

} // namespace ReportOutput
