#include "reports/engine/report.h"

Report::Report()
{
    m_font.family = QStringLiteral("DejaVu Sans");
    m_font.pointSize = 9;
}

QSizeF Report::pageSize() const
{
    const QSizeF a4(210, 297);
    return m_orientation == QPageLayout::Landscape ? a4.transposed() : a4;
}

ReportBand &Report::title(double heightMm)
{
    m_title = std::make_unique<ReportBand>(ReportBand::Kind::Title, heightMm);
    return *m_title;
}

ReportBand &Report::columnHeader(double heightMm)
{
    m_columnHeader = std::make_unique<ReportBand>(ReportBand::Kind::ColumnHeader, heightMm);
    return *m_columnHeader;
}

ReportBand &Report::detail(double heightMm)
{
    m_detail = std::make_unique<ReportBand>(ReportBand::Kind::Detail, heightMm);
    return *m_detail;
}

ReportBand &Report::summary(double heightMm)
{
    m_summary = std::make_unique<ReportBand>(ReportBand::Kind::Summary, heightMm);
    return *m_summary;
}

ReportBand &Report::pageFooter(double heightMm)
{
    m_pageFooter = std::make_unique<ReportBand>(ReportBand::Kind::PageFooter, heightMm);
    return *m_pageFooter;
}

ReportGroup &Report::group(const QString &expression)
{
    m_groups.push_back(std::make_unique<ReportGroup>(expression));
    return *m_groups.back();
}

ReportSubDetail &Report::subDetail(const QString &name, ReportDetailLink link)
{
    m_subDetails.push_back(std::make_unique<ReportSubDetail>(name, std::move(link)));
    return *m_subDetails.back();
}
