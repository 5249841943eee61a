#pragma once
// The sheet a spreadsheet export writes to, whatever program or file format stands behind it.
// Rows and columns are numbered from 1, as the spreadsheet programs number them.

#include <QVariant>
#include <vector>

class SheetTarget
{
public:
    virtual ~SheetTarget() = default;
    // The whole column keeps its cells as text ("@"); called before any data is written.
    virtual void setTextColumn(int column) = 0;
    // Cells of one row from column 1: a QString is text, a double a number, a QDate or
    // QDateTime a date, a null QVariant an empty cell.
    virtual void writeRow(int row, const std::vector<QVariant> &cells) = 0;
    virtual void setBoldRow(int row) = 0;
    // Every column as wide as its contents.
    virtual void fitColumns() = 0;
};
