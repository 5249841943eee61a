#pragma once
// A horizontal strip of a page printed at one moment of the report (the title once, the column
// header on every page, the detail once per row, ...), with the elements it holds.

#include "reports/engine/reportelement.h"

#include <deque>

class ReportBand
{
public:
    enum class Kind {
        Title, ColumnHeader, Detail, SubDetailHeader, SubDetail, SubDetailFooter,
        GroupHeader, GroupFooter, Summary, PageFooter
    };

    ReportBand(Kind kind, double heightMm) : m_kind(kind), m_height(heightMm) {}

    // Elements; each returns the new element for chained settings. The reference stays valid
    // while the band lives.
    ReportElement &label(double x, double y, double w, double h, const QString &text);
    // A field by name, bare or "source.field".
    ReportElement &field(double x, double y, double w, double h, const QString &name);
    ReportElement &expression(double x, double y, double w, double h, const QString &expression);
    ReportElement &text(double x, double y, double w, double h, ReportTextFunction function);
    ReportElement &box(double x, double y, double w, double h, int sides = ReportElement::AllSides);
    ReportElement &hline(double x, double y, double w);
    ReportElement &vline(double x, double y, double h);
    // A square box of side `size`, crossed when the expression is true.
    ReportElement &tick(double x, double y, double size, const QString &expression);

    Kind kind() const { return m_kind; }
    double height() const { return m_height; }
    const std::deque<ReportElement> &elements() const { return m_elements; }

    // The band grows to fit wrapped texts; elements reaching its bottom edge grow with it.
    ReportBand &stretch(bool on = true) { m_stretch = on; return *this; }
    bool stretches() const { return m_stretch; }
    // Detail band: every row after the first starts a new page.
    ReportBand &newPagePerRow(bool on = true) { m_newPagePerRow = on; return *this; }
    bool startsNewPagePerRow() const { return m_newPagePerRow; }

private:
    ReportElement &add(ReportElement::Kind kind, double x, double y, double w, double h);

    Kind m_kind;
    double m_height;
    bool m_stretch = false;
    bool m_newPagePerRow = false;
    std::deque<ReportElement> m_elements;
};
