#pragma once
// A report laid out into pages of positioned texts and rules, in millimetres. Laying out once
// and painting many times lets the preview, the printer and the PDF file show the same pages.

#include "reports/engine/reportfont.h"

#include <QImage>
#include <QPageLayout>
#include <QRectF>
#include <QSizeF>
#include <vector>

class QPainter;

class ReportDocument
{
public:
    struct Item {
        enum class Kind { Text, Frame, Line, Cross };
        Kind kind = Kind::Text;
        QRectF rect;      // millimetres from the page's top left corner
        QString text;     // Text
        ReportFont font;  // Text, resolved
        int flags = 0;    // Text: Qt alignment and wrapping flags
        int sides = 0;    // Frame: ReportElement::Side flags
        double pen = 0.2; // rules, millimetres
    };
    using Page = std::vector<Item>;

    ReportDocument() = default;
    ReportDocument(QPageLayout::Orientation orientation, const QString &name)
        : m_orientation(orientation), m_name(name) {}

    QPageLayout::Orientation orientation() const { return m_orientation; }
    // A4 in millimetres, turned for landscape.
    QSizeF pageSize() const;
    QPageLayout pageLayout() const;
    const QString &name() const { return m_name; }

    int pageCount() const { return int(m_pages.size()); }
    const Page &page(int index) const { return m_pages.at(size_t(index)); }
    Page &addPage() { m_pages.emplace_back(); return m_pages.back(); }
    std::vector<Page> &pages() { return m_pages; }

    // Paints a page on the painter's device, whose top left corner is the paper's corner;
    // millimetres are turned into device units from the device's resolution.
    void paintPage(QPainter &painter, int index) const;
    // A page as a white image at `dpi` dots per inch.
    QImage renderPage(int index, double dpi) const;
    // The texts of a page in the order they were laid out, one per line.
    QString pageText(int index) const;

private:
    QPageLayout::Orientation m_orientation = QPageLayout::Portrait;
    QString m_name;
    std::vector<Page> m_pages;
};
