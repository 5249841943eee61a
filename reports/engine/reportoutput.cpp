#include "reports/engine/reportoutput.h"

#include "reports/engine/report.h"
#include "reports/engine/reportlayouter.h"

#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>

namespace ReportOutput {

ReportDocument layout(const Report &report)
{
    return ReportLayouter(report).run();
}

bool exportPdf(const Report &report, const QString &path, QString *error)
{
    return exportPdf(layout(report), path, error);
}

bool exportPdf(const ReportDocument &document, const QString &path, QString *error)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        if (error)
            *error = file.errorString();
        return false;
    }
    {
        QPdfWriter writer(&file);
        writer.setResolution(1200);
        writer.setPageLayout(document.pageLayout());
        writer.setTitle(document.name());
        writer.setCreator(QStringLiteral("Evidenta"));
        QPainter painter;
        if (!painter.begin(&writer)) {
            file.cancelWriting();
            if (error)
                *error = QStringLiteral("cannot start the PDF writer");
            return false;
        }
        for (int i = 0; i < document.pageCount(); ++i) {
            if (i > 0)
                writer.newPage();
            document.paintPage(painter, i);
        }
        painter.end();
    }
    if (!file.commit()) {
        if (error)
            *error = file.errorString();
        return false;
    }
    return true;
}

} // namespace ReportOutput
