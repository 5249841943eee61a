#include "reports/engine/reporttable.h"

ReportTable::ReportTable(const QStringList &columns) : m_columns(columns) {}

void ReportTable::addRow(const QVariantList &values)
{
    QVariantList row = values;
    while (row.size() < m_columns.size())
        row.append(QVariant());
    row.resize(m_columns.size());
    m_rows.push_back(std::move(row));
}

void ReportTable::setValue(int row, int column, const QVariant &value)
{
    if (row >= 0 && row < rowCount() && column >= 0 && column < columnCount())
        m_rows[size_t(row)][column] = value;
}

QVariant ReportTable::at(int row, int column) const
{
    if (row < 0 || row >= rowCount() || column < 0 || column >= columnCount())
        return {};
    return m_rows[size_t(row)][column];
}

void ReportTable::goTo(int row)
{
    m_current = (row >= 0 && row < rowCount()) ? row : rowCount();
}

int ReportTable::fieldIndex(const QString &name) const
{
    for (int i = 0; i < m_columns.size(); ++i)
        if (m_columns[i].compare(name, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

QVariant ReportTable::value(int field) const
{
    return at(m_current, field);
}
