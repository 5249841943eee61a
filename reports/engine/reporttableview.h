#pragma once
// A chosen subset of a table's rows seen as a source of its own: the detail lines of one master
// row (saldo.sd_na = person.na_id) without copying the detail table for every master row.

#include "reports/engine/reportdetaillink.h"
#include "reports/engine/reporttable.h"

#include <vector>

class ReportTableView : public ReportSource
{
public:
    explicit ReportTableView(const ReportTable &table) : m_table(&table) {}

    void setRows(std::vector<int> rows);
    const std::vector<int> &rows() const { return m_rows; }

    int rowCount() const override { return int(m_rows.size()); }
    int currentRow() const override { return m_current; }
    void goTo(int row) override;
    QStringList fieldNames() const override { return m_table->fieldNames(); }
    int fieldIndex(const QString &name) const override { return m_table->fieldIndex(name); }
    QVariant value(int field) const override;
    using ReportSource::value;

    // A master-detail link over `detail`: the rows whose `detailField` equals the master's
    // `masterField`, in the table's order. The table must outlive the link and stay unchanged.
    static ReportDetailLink link(const ReportTable &detail, const QString &detailField,
                                 const QString &masterField);

private:
    const ReportTable *m_table;
    std::vector<int> m_rows;
    int m_current = -1;
};
