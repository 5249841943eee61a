#pragma once
// Gathers the cells of a payroll file, in whatever order its reader meets them, into the rows
// of a PayrollTable, and refuses the file as soon as it goes beyond what a payroll export can
// hold: too many lines, a cell beyond the last column, too many cells, a text too long.

#include "maintenance/payroll/payrollfile.h"

#include <cstdint>
#include <map>

class PayrollTableBuilder
{
public:
    // `file` names the file in the refusals.
    explicit PayrollTableBuilder(const QString &file) : m_file(file) { }

    // A text cell of `text`, or an empty cell when the text is blank.
    static PayrollCell textCell(const QString &text);

    // The cell at `row` and `column` (from 0; the line the user sees is row + 1). Empty cells
    // are not kept. Raises EE when a bound is passed.
    void add(std::int64_t row, std::int64_t column, PayrollCell cell);
    bool isEmpty() const { return m_rows.empty(); }
    void clear();
    // The rows gathered, in the order of their lines, into `table` (rows and line numbers);
    // the builder is left empty.
    void moveTo(PayrollTable *table);

private:
    QString m_file;
    std::map<std::int64_t, PayrollRow> m_rows;
    std::map<std::int64_t, PayrollRow>::iterator m_last = m_rows.end();
    std::int64_t m_cells = 0;
};
