#include "reports/engine/reportband.h"

ReportElement &ReportBand::add(ReportElement::Kind kind, double x, double y, double w, double h)
{
    m_elements.emplace_back(kind, QRectF(x, y, w, h));
    return m_elements.back();
}

ReportElement &ReportBand::label(double x, double y, double w, double h, const QString &text)
{
    ReportElement &e = add(ReportElement::Kind::Label, x, y, w, h);
    e.setText(text);
    return e;
}

ReportElement &ReportBand::field(double x, double y, double w, double h, const QString &name)
{
    return expression(x, y, w, h, name);
}

ReportElement &ReportBand::expression(double x, double y, double w, double h, const QString &expression)
{
    auto parsed = ReportExpression::parse(expression);
    ReportElement &e = add(ReportElement::Kind::Expression, x, y, w, h);
    e.setText(expression);
    e.setExpression(std::move(parsed));
    return e;
}

ReportElement &ReportBand::text(double x, double y, double w, double h, ReportTextFunction function)
{
    ReportElement &e = add(ReportElement::Kind::Function, x, y, w, h);
    e.setFunction(std::move(function));
    return e;
}

ReportElement &ReportBand::box(double x, double y, double w, double h, int sides)
{
    return add(ReportElement::Kind::Box, x, y, w, h).frame(sides);
}

ReportElement &ReportBand::hline(double x, double y, double w)
{
    return add(ReportElement::Kind::Line, x, y, w, 0);
}

ReportElement &ReportBand::vline(double x, double y, double h)
{
    return add(ReportElement::Kind::Line, x, y, 0, h);
}

ReportElement &ReportBand::tick(double x, double y, double size, const QString &expression)
{
    auto parsed = ReportExpression::parse(expression);
    ReportElement &e = add(ReportElement::Kind::Tick, x, y, size, size);
    e.setText(expression);
    e.setExpression(std::move(parsed));
    return e.frame(ReportElement::AllSides);
}
