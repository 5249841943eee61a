#pragma once
// Walks a report's rows and places its bands on pages: page breaks, the column header and page
// footer on every page, groups, sub-details and the running counts and sums. The result is a
// ReportDocument that any paint device can show.

#include "reports/engine/report.h"
#include "reports/engine/reportcontext.h"
#include "reports/engine/reportdocument.h"

#include <QImage>
#include <unordered_map>
#include <vector>

class ReportLayouter
{
public:
    explicit ReportLayouter(const Report &report);

    // Throws ReportError when an expression cannot be evaluated.
    ReportDocument run();

private:
    struct Slot {
        const ReportExpression *expression = nullptr;
        const ReportExpression::Node *node = nullptr;
        QString source;
    };
    struct BandState {
        const ReportBand *band = nullptr;
        bool subLevel = false;
        std::vector<Slot> terms;
        QHash<const void *, double> values;
    };
    struct Rendered {
        std::vector<ReportDocument::Item> items;
        double height = 0;
    };

    void prepare(const ReportBand *band, const QString &home, bool subLevel);
    BandState *state(const ReportBand *band);
    void accumulate(const QString &source, const ReportBand *only, const ReportBand *except);
    void reset(const ReportBand *band);
    ReportContext context(const BandState *state) const;
    Rendered render(const ReportBand &band);
    void place(const ReportBand *band, bool pageBody = true);
    void put(const Rendered &rendered, double y);
    void startPage(bool first);
    void finishPage();
    void newPage();
    void runSubDetail(const ReportSubDetail &sub);
    QString groupKey(const ReportGroup &group);
    double textHeight(const QString &text, const ReportFont &font, double widthMm, int flags);

    const Report &m_report;
    ReportDocument m_doc;
    std::unordered_map<const ReportBand *, BandState> m_states;
    std::vector<const ReportBand *> m_order;
    std::vector<ReportContext::NamedSource> m_chain;
    ReportSource *m_master = nullptr;
    int m_masterRecord = 0;
    int m_subRecord = 0;
    int m_lastMasterRow = -1;
    const ReportSubDetail *m_activeSub = nullptr;
    double m_y = 0;
    double m_limit = 0;
    bool m_pageHasBody = false;
    std::vector<QString> m_groupKeys;
    QImage m_measureDevice;
};
