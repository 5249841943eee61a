#pragma once
// One thing printed in a band: a fixed label, a field, an expression, a text computed in C++,
// a ruled box, a line or a tick box. Positions and sizes are millimetres from the band's top
// left corner; the chained setters keep a layout one line per element:
//     band.field(10, 0, 60, 6, "NP").frame(ReportElement::AllSides).center();

#include "reports/engine/reportexpression.h"
#include "reports/engine/reportfont.h"

#include <QRectF>
#include <functional>

using ReportTextFunction = std::function<QString(const ReportContext &)>;

class ReportElement
{
public:
    enum class Kind { Label, Expression, Function, Box, Line, Tick };
    enum Side { Left = 1, Top = 2, Right = 4, Bottom = 8, AllSides = 15 };

    ReportElement(Kind kind, const QRectF &rectMm) : m_kind(kind), m_rect(rectMm) {}

    // Chained setters.
    ReportElement &bold(bool on = true) { m_font.bold = on; return *this; }
    ReportElement &size(double points) { m_font.pointSize = points; return *this; }
    ReportElement &family(const QString &name) { m_font.family = name; return *this; }
    ReportElement &left() { return horizontal(Qt::AlignLeft); }
    ReportElement &center() { return horizontal(Qt::AlignHCenter); }
    ReportElement &right() { return horizontal(Qt::AlignRight); }
    ReportElement &top() { return vertical(Qt::AlignTop); }
    ReportElement &bottom() { return vertical(Qt::AlignBottom); }
    // Breaks the text into lines at word boundaries; a band that can stretch grows to fit them.
    ReportElement &wrap(bool on = true) { m_wordWrap = on; return *this; }
    // Rules drawn on the chosen sides of the element's rectangle (Left | Top | ...).
    ReportElement &frame(int sides = AllSides) { m_frame = sides; return *this; }
    // A display mask for numbers (see ReportFormat::number).
    ReportElement &format(const QString &mask) { m_format = mask; return *this; }
    // Thickness of rules, in millimetres (0.2 by default).
    ReportElement &pen(double mm) { m_pen = mm; return *this; }
    // Distance kept between a text and the left or right edge (1 mm by default).
    ReportElement &padding(double mm) { m_padding = mm; return *this; }

    Kind kind() const { return m_kind; }
    const QRectF &rect() const { return m_rect; }
    const QString &text() const { return m_text; }
    const std::shared_ptr<const ReportExpression> &expression() const { return m_expression; }
    const ReportTextFunction &function() const { return m_function; }
    const ReportFont &font() const { return m_font; }
    Qt::Alignment alignment() const { return m_alignment; }
    bool wordWrap() const { return m_wordWrap; }
    int frameSides() const { return m_frame; }
    const QString &formatMask() const { return m_format; }
    double penWidth() const { return m_pen; }
    double paddingMm() const { return m_padding; }

    void setText(const QString &text) { m_text = text; }
    void setExpression(std::shared_ptr<const ReportExpression> e) { m_expression = std::move(e); }
    void setFunction(ReportTextFunction f) { m_function = std::move(f); }

private:
    ReportElement &horizontal(Qt::Alignment a)
    {
        m_alignment = (m_alignment & Qt::AlignVertical_Mask) | a;
        return *this;
    }
    ReportElement &vertical(Qt::Alignment a)
    {
        m_alignment = (m_alignment & Qt::AlignHorizontal_Mask) | a;
        return *this;
    }

    Kind m_kind;
    QRectF m_rect;
    QString m_text;
    std::shared_ptr<const ReportExpression> m_expression;
    ReportTextFunction m_function;
    ReportFont m_font;
    Qt::Alignment m_alignment = Qt::AlignLeft | Qt::AlignVCenter;
    bool m_wordWrap = false;
    int m_frame = 0;
    QString m_format;
    double m_pen = 0.2;
    double m_padding = 1.0;
};
