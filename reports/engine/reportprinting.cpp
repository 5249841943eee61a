#include "reports/engine/reportprinting.h"

#include "reports/engine/report.h"
#include "reports/engine/reportpreview.h"

#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>

namespace ReportOutput {

bool print(const Report &report, QPrinter *printer)
{
    return print(layout(report), printer);
}

bool print(const ReportDocument &document, QPrinter *printer)
{
    if (!printer)
        return false;
    printer->setFullPage(true);
    printer->setPageSize(QPageSize(QPageSize::A4));
    printer->setPageOrientation(document.orientation());
    printer->setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
    if (!document.name().isEmpty())
        printer->setDocName(document.name());

    int from = 1, to = document.pageCount();
    if (printer->printRange() == QPrinter::PageRange && printer->fromPage() > 0) {
        from = qMax(1, printer->fromPage());
        to = qMin(to, printer->toPage() > 0 ? printer->toPage() : to);
    }
    QPainter painter;
    if (!painter.begin(printer))
        return false;
    for (int page = from; page <= to; ++page) {
        if (page > from)
            printer->newPage();
        document.paintPage(painter, page - 1);
    }
    return painter.end();
}

bool printWithoutPreview(const Report &report)
{
    if (QPrinterInfo::defaultPrinter().isNull())
        return false;
    QPrinter printer(QPrinter::HighResolution);
    return print(report, &printer);
}

void preview(const Report &report, QWidget *parent)
{
    ReportPreview dialog(layout(report), parent);
    dialog.exec();
}

} // namespace ReportOutput
