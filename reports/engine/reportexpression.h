#pragma once
// The small expression language of report texts, so that a layout reads like its description:
// "COUNT", "SUM(CDS.COLUMN3+CDS.COLUMN4)", "COPY(person.ap_idnp_dt,1,2)", "'Pagina ' + PAGENUMBER".
//
// Terms: field names (bare or "source.field", case-insensitive), numbers (12, 3.5), texts in
// single quotes ('it''s'), parentheses; operators + - * / (+ joins texts when either side is a
// text), = <> < <= > >= , AND, OR, NOT; functions COUNT, SUM(expr), COPY(text,start,length),
// IF(cond,a,b), TRIM(text), DATE (today's date), PAGENUMBER, PAGECOUNT. Null counts as 0 in
// arithmetic and as "" in texts. COUNT and SUM are the band's running count and sum (see Report).

#include "reports/engine/reportcontext.h"

#include <QString>
#include <QVariant>
#include <memory>
#include <vector>

class ReportExpression
{
public:
    struct Node;
    // A COUNT or SUM term. `source` names the source whose rows feed it when its argument
    // names one ("SUM(saldo.sd_ill)" -> "saldo"); empty when the band's own rows feed it.
    struct Aggregate {
        const Node *node = nullptr;
        QString source;
    };

    // Throws ReportError with the position of a syntax error.
    static std::shared_ptr<const ReportExpression> parse(const QString &text);
    ~ReportExpression();

    const QString &text() const { return m_text; }
    QVariant evaluate(const ReportContext &context) const;
    const std::vector<Aggregate> &aggregates() const { return m_aggregates; }
    // What the current row adds to an aggregate term: 1 for COUNT, the argument for SUM.
    double aggregateStep(const Node *node, const ReportContext &context) const;

    // Forgets where fields were found, for sources whose fields were redefined since the last
    // evaluation; the engine calls it before laying out a report.
    void forgetFieldPositions() const;

    // The truth of a value as IF and the tick marks read it: true, a non-zero number, a
    // non-blank text, a valid date.
    static bool truth(const QVariant &value);
    // Text marking the page count while pages are laid out; replaced once the count is known.
    static QString pageCountMarker();

private:
    ReportExpression() = default;

    QString m_text;
    std::unique_ptr<Node> m_root;
    std::vector<Aggregate> m_aggregates;
};
