#pragma once
// The columns of a list printed as a ruled table: a bold caption boxed above each column and
// the field below it on every line, ruled at its sides and bottom, short values centred and
// the long text wrapped. The findings of a package check and the refused lines of a payroll
// import print the same way.

#include <vector>

class ReportBand;

namespace ListColumns {

struct Column {
    double width;
    const char *title; // UTF-8
    const char *field;
    bool wrap = false; // the long text of the line, wrapped; otherwise centred
};

// The columns side by side from the left margin: captions in `header`, fields in `detail`,
// each the height of its band, in 8 points.
void layOut(ReportBand &header, ReportBand &detail, const std::vector<Column> &columns);

} // namespace ListColumns
