#pragma once
// Rows held in memory with named columns: the source of the tests and benchmarks, and a simple
// way for a caller to hand computed rows (totals, numbered lines) to a report.

#include "reports/engine/reportsource.h"

#include <QVariantList>
#include <vector>

class ReportTable : public ReportSource
{
public:
    explicit ReportTable(const QStringList &columns = {});

    void addRow(const QVariantList &values);
    void setValue(int row, int column, const QVariant &value);
    QVariant at(int row, int column) const;
    void clear() { m_rows.clear(); m_current = -1; }
    int columnCount() const { return int(m_columns.size()); }

    int rowCount() const override { return int(m_rows.size()); }
    int currentRow() const override { return m_current; }
    void goTo(int row) override;
    QStringList fieldNames() const override { return m_columns; }
    int fieldIndex(const QString &name) const override;
    QVariant value(int field) const override;
    using ReportSource::value;

private:
    QStringList m_columns;
    std::vector<QVariantList> m_rows;
    int m_current = -1;
};
