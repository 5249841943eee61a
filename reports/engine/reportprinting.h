#pragma once
// Where a report goes on a desktop: a printer chosen by the caller, the default printer, or the
// preview window. Each lays the report out once and paints the same pages.

#include "reports/engine/reportoutput.h"

class QPrinter;
class QWidget;

namespace ReportOutput {

// Prints on `printer` (set to A4, the report's orientation, the whole paper as page), honouring
// the page range chosen in a print dialog. False when the printer cannot be opened.
bool print(const Report &report, QPrinter *printer);
bool print(const ReportDocument &document, QPrinter *printer);

// Sends the report to the system's default printer without asking. False when there is none
// or it cannot be opened.
bool printWithoutPreview(const Report &report);

// Shows the report in the modal preview window.
void preview(const Report &report, QWidget *parent = nullptr);

} // namespace ReportOutput
