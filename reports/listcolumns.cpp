#include "reports/listcolumns.h"
#include "reports/engine/reportband.h"

namespace ListColumns {

void layOut(ReportBand &header, ReportBand &detail, const std::vector<Column> &columns)
{
    const int ruled = ReportElement::Left | ReportElement::Right | ReportElement::Bottom;
    double x = 0;
    for (const Column &c : columns) {
        header.label(x, 0, c.width, header.height(), QString::fromUtf8(c.title))
            .center()
            .bold()
            .size(8)
            .frame(ReportElement::AllSides)
            .padding(0.5);
        ReportElement &e = detail.field(x, 0, c.width, detail.height(), QString::fromLatin1(c.field))
                               .size(8)
                               .frame(ruled)
                               .padding(0.5);
        if (c.wrap)
            e.wrap();
        else
            e.center();
        x += c.width;
    }
}

} // namespace ListColumns
