#include "reports/engine/reportlayouter.h"

#include "reports/engine/reportformat.h"

#include <QFontMetricsF>

namespace {
constexpr double kMeasureDpi = 1200;
constexpr double kEpsilon = 0.01;

// The ruled frame of a box or of a tick mark's square.
ReportDocument::Item frameItem(const ReportElement &e, const QRectF &r)
{
    ReportDocument::Item f;
    f.kind = ReportDocument::Item::Kind::Frame;
    f.rect = r;
    f.sides = e.frameSides();
    f.pen = e.penWidth();
    return f;
}
} // namespace

ReportLayouter::ReportLayouter(const Report &report)
    : m_report(report), m_measureDevice(1, 1, QImage::Format_RGB32)
{
    m_measureDevice.setDotsPerMeterX(qRound(kMeasureDpi / 0.0254));
    m_measureDevice.setDotsPerMeterY(qRound(kMeasureDpi / 0.0254));
}

void ReportLayouter::prepare(const ReportBand *band, const QString &home, bool subLevel)
{
    if (!band)
        return;
    BandState &s = m_states[band];
    s.band = band;
    s.subLevel = subLevel;
    for (const ReportElement &e : band->elements()) {
        if (!e.expression())
            continue;
        e.expression()->forgetFieldPositions();
        for (const ReportExpression::Aggregate &a : e.expression()->aggregates())
            s.terms.push_back({e.expression().get(), a.node, a.source.isEmpty() ? home : a.source});
    }
    m_order.push_back(band);
}

ReportLayouter::BandState *ReportLayouter::state(const ReportBand *band)
{
    auto it = m_states.find(band);
    return it == m_states.end() ? nullptr : &it->second;
}

void ReportLayouter::accumulate(const QString &source, const ReportBand *only, const ReportBand *except)
{
    for (const ReportBand *band : m_order) {
        if ((only && band != only) || band == except)
            continue;
        BandState &s = m_states[band];
        if (s.terms.empty())
            continue;
        ReportContext ctx = context(&s);
        ctx.aggregates = nullptr;
        for (const Slot &slot : s.terms)
            if (slot.source.compare(source, Qt::CaseInsensitive) == 0)
                s.values[slot.node] += slot.expression->aggregateStep(slot.node, ctx);
    }
}

void ReportLayouter::reset(const ReportBand *band)
{
    if (BandState *s = state(band))
        s->values.clear();
}

ReportContext ReportLayouter::context(const BandState *state) const
{
    ReportContext ctx;
    ctx.sources = m_chain;
    ctx.pageNumber = m_doc.pageCount();
    ctx.today = m_report.today();
    ctx.recordNumber = state && state->subLevel ? m_subRecord : m_masterRecord;
    ctx.aggregates = state ? &state->values : nullptr;
    return ctx;
}

double ReportLayouter::textHeight(const QString &text, const ReportFont &font, double widthMm, int flags)
{
    const QFontMetricsF fm(font.toQFont(), &m_measureDevice);
    const double px = kMeasureDpi / 25.4;
    const QRectF r = fm.boundingRect(QRectF(0, 0, widthMm * px, 1e7), flags, text);
    return r.height() / px;
}

ReportLayouter::Rendered ReportLayouter::render(const ReportBand &band)
{
    using Item = ReportDocument::Item;
    const BandState *st = state(&band);
    const ReportContext ctx = context(st);

    struct Piece {
        const ReportElement *element;
        QString text;
        bool ticked = false;
    };
    std::vector<Piece> pieces;
    pieces.reserve(band.elements().size());
    double height = band.height();

    for (const ReportElement &e : band.elements()) {
        Piece p{&e, {}, false};
        switch (e.kind()) {
        case ReportElement::Kind::Label:
            p.text = e.text();
            break;
        case ReportElement::Kind::Expression:
            p.text = ReportFormat::format(e.expression()->evaluate(ctx), e.formatMask());
            break;
        case ReportElement::Kind::Function:
            p.text = e.function() ? e.function()(ctx) : QString();
            break;
        case ReportElement::Kind::Tick:
            p.ticked = ReportExpression::truth(e.expression()->evaluate(ctx));
            break;
        default:
            break;
        }
        if (band.stretches() && e.wordWrap() && !p.text.isEmpty()) {
            const double w = e.rect().width() - 2 * e.paddingMm();
            const double needed = textHeight(p.text, e.font().resolved(m_report.font()), w,
                                             int(e.alignment()) | Qt::TextWordWrap);
            height = qMax(height, e.rect().top() + needed + 0.6);
        }
        pieces.push_back(std::move(p));
    }

    const double grow = height - band.height();
    Rendered out;
    out.height = height;
    out.items.reserve(pieces.size() * 2);
    for (const Piece &p : pieces) {
        const ReportElement &e = *p.element;
        QRectF r = e.rect();
        if (grow > 0 && r.bottom() >= band.height() - kEpsilon) {
            if (e.kind() == ReportElement::Kind::Line && r.height() == 0)
                r.translate(0, grow);
            else
                r.setHeight(r.height() + grow);
        }
        switch (e.kind()) {
        case ReportElement::Kind::Label:
        case ReportElement::Kind::Expression:
        case ReportElement::Kind::Function: {
            if (e.frameSides()) {
                Item f;
                f.kind = Item::Kind::Frame;
                f.rect = r;
                f.sides = e.frameSides();
                f.pen = e.penWidth();
                out.items.push_back(std::move(f));
            }
            if (!p.text.isEmpty()) {
                Item t;
                t.kind = Item::Kind::Text;
                t.rect = r.adjusted(e.paddingMm(), 0, -e.paddingMm(), 0);
                t.text = p.text;
                t.font = e.font().resolved(m_report.font());
                t.flags = int(e.alignment()) | (e.wordWrap() ? Qt::TextWordWrap : Qt::TextSingleLine);
                out.items.push_back(std::move(t));
            }
            break;
        }
        case ReportElement::Kind::Box:
            out.items.push_back(frameItem(e, r));
            break;
        case ReportElement::Kind::Line: {
            Item l;
            l.kind = Item::Kind::Line;
            l.rect = r;
            l.pen = e.penWidth();
            out.items.push_back(std::move(l));
            break;
        }
        case ReportElement::Kind::Tick: {
            Item f = frameItem(e, r);
            out.items.push_back(f);
            if (p.ticked) {
                f.kind = Item::Kind::Cross;
                out.items.push_back(std::move(f));
            }
            break;
        }
        }
    }
    return out;
}

void ReportLayouter::put(const Rendered &rendered, double y)
{
    ReportDocument::Page &page = m_doc.pages().back();
    const double x = m_report.margins().left();
    for (ReportDocument::Item item : rendered.items) {
        item.rect.translate(x, y);
        page.push_back(std::move(item));
    }
}

void ReportLayouter::place(const ReportBand *band, bool pageBody)
{
    if (!band)
        return;
    Rendered r = render(*band);
    if (m_y + r.height > m_limit + kEpsilon && m_pageHasBody) {
        newPage();
        r = render(*band);
    }
    put(r, m_y);
    m_y += r.height;
    if (pageBody)
        m_pageHasBody = true;
}

void ReportLayouter::startPage(bool first)
{
    m_doc.addPage();
    m_y = m_report.margins().top();
    const ReportBand *footer = m_report.pageFooterBand();
    m_limit = m_report.pageSize().height() - m_report.margins().bottom() - (footer ? footer->height() : 0);
    m_pageHasBody = false;
    if (first)
        place(m_report.titleBand(), false);
    place(m_report.columnHeaderBand(), false);
    if (m_activeSub)
        place(m_activeSub->headerBand(), false);
}

void ReportLayouter::finishPage()
{
    const ReportBand *footer = m_report.pageFooterBand();
    if (!footer)
        return;
    // The footer speaks of the last row printed on its page.
    const int current = m_master ? m_master->currentRow() : -1;
    const bool move = m_master && m_lastMasterRow >= 0 && current != m_lastMasterRow;
    if (move)
        m_master->goTo(m_lastMasterRow);
    const Rendered r = render(*footer);
    if (move)
        m_master->goTo(current);
    put(r, m_report.pageSize().height() - m_report.margins().bottom() - footer->height());
    reset(footer);
}

void ReportLayouter::newPage()
{
    finishPage();
    startPage(false);
}

QString ReportLayouter::groupKey(const ReportGroup &group)
{
    ReportContext ctx = context(nullptr);
    return ReportFormat::text(group.expression().evaluate(ctx));
}

void ReportLayouter::runSubDetail(const ReportSubDetail &sub)
{
    ReportSource *src = sub.link() ? sub.link()(*m_master) : nullptr;
    const int rows = src ? src->rowCount() : 0;
    if (rows == 0 && !sub.printsWhenEmpty())
        return;
    reset(sub.headerBand());
    reset(sub.detailBand());
    reset(sub.footerBand());
    m_chain.insert(m_chain.begin(), {sub.name(), src});
    m_subRecord = 0;

    place(sub.headerBand());
    m_activeSub = &sub;
    if (rows == 0) {
        if (src)
            src->goTo(0); // stands at the end: its fields print empty
        place(sub.detailBand());
    }
    for (int j = 0; j < rows; ++j) {
        src->goTo(j);
        m_subRecord = j + 1;
        accumulate(sub.name(), sub.detailBand(), nullptr);
        place(sub.detailBand());
        accumulate(sub.name(), nullptr, sub.detailBand());
    }
    m_activeSub = nullptr;
    place(sub.footerBand());
    m_chain.erase(m_chain.begin());
}

ReportDocument ReportLayouter::run()
{
    m_doc = ReportDocument(m_report.orientation(), m_report.name());
    m_states.clear();
    m_order.clear();
    m_master = m_report.source();
    const QString master = m_report.sourceName();

    prepare(m_report.titleBand(), master, false);
    prepare(m_report.columnHeaderBand(), master, false);
    prepare(m_report.detailBand(), master, false);
    for (const auto &g : m_report.groups()) {
        prepare(g->headerBand(), master, false);
        prepare(g->footerBand(), master, false);
    }
    for (const auto &sub : m_report.subDetails()) {
        prepare(sub->headerBand(), sub->name(), true);
        prepare(sub->detailBand(), sub->name(), true);
        prepare(sub->footerBand(), sub->name(), true);
    }
    prepare(m_report.summaryBand(), master, false);
    prepare(m_report.pageFooterBand(), master, false);

    const int rows = m_master ? m_master->rowCount() : 0;
    if (rows == 0 && !m_report.printsWhenEmpty())
        return std::move(m_doc);

    m_chain = {{master, m_master}};
    m_masterRecord = 0;
    m_lastMasterRow = -1;
    m_activeSub = nullptr;
    if (m_master)
        m_master->first();
    startPage(true);

    const auto &groups = m_report.groups();
    for (const auto &g : groups)
        g->expression().forgetFieldPositions();
    m_groupKeys.assign(groups.size(), QString());
    const ReportBand *detail = m_report.detailBand();

    for (int i = 0; i < rows; ++i) {
        if (i > 0 && detail && detail->startsNewPagePerRow())
            newPage();
        m_master->goTo(i);
        m_masterRecord = i + 1;

        // Headers of the groups that start here, outermost first.
        bool started = i == 0;
        for (size_t k = 0; k < groups.size(); ++k) {
            const QString key = groupKey(*groups[k]);
            if (!started && key != m_groupKeys[k])
                started = true;
            m_groupKeys[k] = key;
            if (started) {
                reset(groups[k]->headerBand());
                place(groups[k]->headerBand());
            }
        }

        if (detail) {
            accumulate(master, detail, nullptr);
            place(detail);
        }
        accumulate(master, nullptr, detail);
        m_lastMasterRow = i;

        for (const auto &sub : m_report.subDetails())
            runSubDetail(*sub);

        // Footers of the groups that end here, innermost first.
        if (!groups.empty()) {
            size_t level = 0;
            if (i + 1 < rows) {
                m_master->goTo(i + 1);
                level = groups.size();
                for (size_t k = 0; k < groups.size(); ++k)
                    if (groupKey(*groups[k]) != m_groupKeys[k]) {
                        level = k;
                        break;
                    }
                m_master->goTo(i);
            }
            for (size_t k = groups.size(); k-- > level;) {
                place(groups[k]->footerBand());
                reset(groups[k]->footerBand());
            }
        }
    }

    place(m_report.summaryBand());
    finishPage();

    const QString marker = ReportExpression::pageCountMarker();
    const QString count = QString::number(m_doc.pageCount());
    for (ReportDocument::Page &page : m_doc.pages())
        for (ReportDocument::Item &item : page)
            if (item.kind == ReportDocument::Item::Kind::Text && item.text.contains(marker))
                item.text.replace(marker, count);
    return std::move(m_doc);
}
