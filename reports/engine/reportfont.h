#pragma once
// A font as a layout names it: family, size in points, bold. An empty family or a size of 0
// takes the report's default, so most elements only say what differs.

#include <QFont>
#include <QString>

class ReportFont
{
public:
    QString family;
    double pointSize = 0;
    bool bold = false;

    // This font with the default's family and size filling what it leaves open.
    ReportFont resolved(const ReportFont &fallback) const;
    QFont toQFont() const;
    bool operator==(const ReportFont &o) const = default;
};
