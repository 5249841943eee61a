#include "maintenance/payroll/payrolltablebuilder.h"
#include "data/ee.h"
#include "maintenance/payroll/payrolllimits.h"
#include "maintenance/payroll/payrollmessages.h"

namespace {

// No spreadsheet has rows this far down; a row number beyond it comes from a damaged file.
constexpr std::int64_t kLastRow = 100000000;

} // namespace

PayrollCell PayrollTableBuilder::textCell(const QString &text)
{
    PayrollCell cell;
    if (!text.trimmed().isEmpty()) {
        cell.kind = PayrollCell::Kind::Text;
        cell.text = text;
    }
    return cell;
}

void PayrollTableBuilder::add(std::int64_t row, std::int64_t column, PayrollCell cell)
{
    if (cell.kind == PayrollCell::Kind::Empty)
        return;
    if (row < 0 || row >= kLastRow)
        throw EE(PayrollMessages::tooManyLines(m_file));
    const int line = int(row) + 1;
    if (column < 0 || column >= PayrollLimits::kColumns)
        throw EE(PayrollMessages::tooManyColumns(m_file, line));
    if (cell.text.size() > PayrollLimits::kCellChars)
        throw EE(PayrollMessages::cellTooLong(m_file, line, int(column) + 1));
    if (m_last == m_rows.end() || m_last->first != row) {
        m_last = m_rows.find(row);
        if (m_last == m_rows.end()) {
            if (m_rows.size() >= size_t(PayrollLimits::kLines))
                throw EE(PayrollMessages::tooManyLines(m_file));
            m_last = m_rows.emplace(row, PayrollRow()).first;
        }
    }
    PayrollRow &cells = m_last->second;
    if (cells.size() <= size_t(column)) {
        m_cells += std::int64_t(column) + 1 - std::int64_t(cells.size());
        if (m_cells > PayrollLimits::kCells)
            throw EE(PayrollMessages::tooManyCells(m_file));
        cells.resize(size_t(column) + 1);
    }
    cells[size_t(column)] = std::move(cell);
}

void PayrollTableBuilder::clear()
{
    m_rows.clear();
    m_last = m_rows.end();
    m_cells = 0;
}

void PayrollTableBuilder::moveTo(PayrollTable *table)
{
    table->rows.clear();
    table->lineNumbers.clear();
    table->rows.reserve(m_rows.size());
    table->lineNumbers.reserve(m_rows.size());
    for (auto &[row, cells] : m_rows) {
        table->rows.push_back(std::move(cells));
        table->lineNumbers.push_back(int(row) + 1);
    }
    clear();
}
