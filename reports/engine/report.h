#pragma once
// A printed report described in code: page, data source and bands, built once and then laid
// out for the preview, the printer or a PDF file. A register reads like its description:
//
//     Report r;
//     r.setSource("CDS", &rows);
//     r.setPrintWhenEmpty(true);
//     r.title(16).label(0, 0, 190, 8, "Registrul lucrătorilor").center().bold().size(12);
//     ReportBand &d = r.detail(6);
//     d.expression(0, 0, 10, 6, "COUNT").right().frame();
//     d.field(10, 0, 60, 6, "ap_cpas").center().frame();
//
// Counts and sums: COUNT and SUM(...) in a band run over the rows of that band's source, or of
// the source named in SUM's argument ("SUM(saldo.sd_ill)"). In the detail and sub-detail
// bands they are running values including the current row (the line number for COUNT); in a
// group footer they cover the group and restart after it; in a sub-detail footer they cover
// the lines of one master row; in the summary they cover the whole report; in the page footer
// they cover the rows printed on the page; in the column header they cover the rows of the
// previous pages.

#include "reports/engine/reportband.h"
#include "reports/engine/reportgroup.h"
#include "reports/engine/reportsubdetail.h"

#include <QDate>
#include <QMarginsF>
#include <QPageLayout>
#include <QSizeF>
#include <memory>
#include <vector>

class ReportSource;

class Report
{
public:
    Report();
    Report(const Report &) = delete;
    Report &operator=(const Report &) = delete;

    // The master rows: one detail band per row. A report without a source has no rows.
    void setSource(const QString &name, ReportSource *source) { m_sourceName = name; m_source = source; }
    const QString &sourceName() const { return m_sourceName; }
    ReportSource *source() const { return m_source; }

    // A4, portrait unless set otherwise; margins in millimetres.
    void setOrientation(QPageLayout::Orientation o) { m_orientation = o; }
    QPageLayout::Orientation orientation() const { return m_orientation; }
    void setMargins(const QMarginsF &mm) { m_margins = mm; }
    const QMarginsF &margins() const { return m_margins; }
    QSizeF pageSize() const;
    // Width between the left and the right margin.
    double contentWidth() const { return pageSize().width() - m_margins.left() - m_margins.right(); }

    // Font of the elements that do not choose their own (DejaVu Sans 9 pt, which holds the
    // Romanian letters).
    void setFont(const ReportFont &font) { m_font = font; }
    const ReportFont &font() const { return m_font; }

    // With no rows, print the title, the column header, the summary and the page footer
    // anyway; otherwise an empty source gives no page.
    void setPrintWhenEmpty(bool on) { m_printWhenEmpty = on; }
    bool printsWhenEmpty() const { return m_printWhenEmpty; }

    // The document's name (PDF title, print job name).
    void setName(const QString &name) { m_name = name; }
    const QString &name() const { return m_name; }

    // The date that DATE prints; the engine never reads the computer's calendar, so a report
    // that prints DATE is given it by its caller (empty when not set).
    void setToday(const QDate &date) { m_today = date; }
    const QDate &today() const { return m_today; }

    // Bands; each call replaces the band of that kind.
    ReportBand &title(double heightMm);
    ReportBand &columnHeader(double heightMm);
    ReportBand &detail(double heightMm);
    ReportBand &summary(double heightMm);
    ReportBand &pageFooter(double heightMm);
    // Groups nest in the order they are added, the first outermost.
    ReportGroup &group(const QString &expression);
    // Sub-details print in the order they are added, after the detail band of each row.
    ReportSubDetail &subDetail(const QString &name, ReportDetailLink link);

    const ReportBand *titleBand() const { return m_title.get(); }
    const ReportBand *columnHeaderBand() const { return m_columnHeader.get(); }
    const ReportBand *detailBand() const { return m_detail.get(); }
    const ReportBand *summaryBand() const { return m_summary.get(); }
    const ReportBand *pageFooterBand() const { return m_pageFooter.get(); }
    const std::vector<std::unique_ptr<ReportGroup>> &groups() const { return m_groups; }
    const std::vector<std::unique_ptr<ReportSubDetail>> &subDetails() const { return m_subDetails; }

private:
    QString m_sourceName;
    ReportSource *m_source = nullptr;
    QPageLayout::Orientation m_orientation = QPageLayout::Portrait;
    QMarginsF m_margins{10, 10, 10, 10};
    ReportFont m_font;
    bool m_printWhenEmpty = false;
    QString m_name;
    QDate m_today;
    std::unique_ptr<ReportBand> m_title, m_columnHeader, m_detail, m_summary, m_pageFooter;
    std::vector<std::unique_ptr<ReportGroup>> m_groups;
    std::vector<std::unique_ptr<ReportSubDetail>> m_subDetails;
};
