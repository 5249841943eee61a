#pragma once
// Lets the report engine walk a record set's rows with a cursor of its own, so printing never
// moves the record set or runs its handlers.

#include "reports/engine/reportsource.h"

class RecordSet;

class RecordSetReportSource : public ReportSource
{
public:
    explicit RecordSetReportSource(RecordSet *set) : m_set(set) {}

    int rowCount() const override;
    int currentRow() const override { return m_row; }
    void goTo(int row) override { m_row = row; }
    QStringList fieldNames() const override;
    int fieldIndex(const QString &name) const override;
    QVariant value(int field) const override;

private:
    RecordSet *m_set;
    int m_row = -1;
};
