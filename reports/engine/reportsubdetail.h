#pragma once
// Lines printed under each master row from a detail source linked to it (the monthly rows of a
// declaration), with an optional header and footer around each master row's lines.

#include "reports/engine/reportband.h"
#include "reports/engine/reportdetaillink.h"

#include <memory>

class ReportSubDetail
{
public:
    ReportSubDetail(const QString &name, ReportDetailLink link) : m_name(name), m_link(std::move(link)) {}

    // Printed before the lines of each master row, and again at the top of a page the lines
    // continue on.
    ReportBand &header(double heightMm)
    {
        m_header = std::make_unique<ReportBand>(ReportBand::Kind::SubDetailHeader, heightMm);
        return *m_header;
    }
    // One per detail line.
    ReportBand &detail(double heightMm)
    {
        m_detail = std::make_unique<ReportBand>(ReportBand::Kind::SubDetail, heightMm);
        return *m_detail;
    }
    // After the lines of each master row; its sums cover those lines.
    ReportBand &footer(double heightMm)
    {
        m_footer = std::make_unique<ReportBand>(ReportBand::Kind::SubDetailFooter, heightMm);
        return *m_footer;
    }
    // With no lines for a master row, print the header, one empty line and the footer anyway.
    ReportSubDetail &printWhenEmpty(bool on = true) { m_printWhenEmpty = on; return *this; }

    const QString &name() const { return m_name; }
    const ReportDetailLink &link() const { return m_link; }
    const ReportBand *headerBand() const { return m_header.get(); }
    const ReportBand *detailBand() const { return m_detail.get(); }
    const ReportBand *footerBand() const { return m_footer.get(); }
    bool printsWhenEmpty() const { return m_printWhenEmpty; }

private:
    QString m_name;
    ReportDetailLink m_link;
    std::unique_ptr<ReportBand> m_header;
    std::unique_ptr<ReportBand> m_detail;
    std::unique_ptr<ReportBand> m_footer;
    bool m_printWhenEmpty = false;
};
