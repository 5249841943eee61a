#pragma once
// Rows of the master source that share the value of an expression (the quarter of a month),
// with a header before them and a footer after them whose sums restart for each group.

#include "reports/engine/reportband.h"

#include <memory>

class ReportGroup
{
public:
    explicit ReportGroup(const QString &expression) : m_expression(ReportExpression::parse(expression)) {}

    ReportBand &header(double heightMm)
    {
        m_header = std::make_unique<ReportBand>(ReportBand::Kind::GroupHeader, heightMm);
        return *m_header;
    }
    ReportBand &footer(double heightMm)
    {
        m_footer = std::make_unique<ReportBand>(ReportBand::Kind::GroupFooter, heightMm);
        return *m_footer;
    }

    const ReportExpression &expression() const { return *m_expression; }
    const ReportBand *headerBand() const { return m_header.get(); }
    const ReportBand *footerBand() const { return m_footer.get(); }

private:
    std::shared_ptr<const ReportExpression> m_expression;
    std::unique_ptr<ReportBand> m_header;
    std::unique_ptr<ReportBand> m_footer;
};
