#include "reports/engine/reportfont.h"

ReportFont ReportFont::resolved(const ReportFont &fallback) const
{
    ReportFont f = *this;
    if (f.family.isEmpty())
        f.family = fallback.family;
    if (f.pointSize <= 0)
        f.pointSize = fallback.pointSize;
    return f;
}

QFont ReportFont::toQFont() const
{
    QFont f(family.isEmpty() ? QStringLiteral("DejaVu Sans") : family);
    f.setPointSizeF(pointSize > 0 ? pointSize : 9);
    f.setBold(bold);
    // Outlines only: the same glyph shapes on screen, on paper and embedded in a PDF.
    f.setStyleStrategy(QFont::PreferOutline);
    f.setHintingPreference(QFont::PreferNoHinting);
    return f;
}
