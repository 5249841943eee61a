#include "reports/recordsetreportsource.h"
#include "data/recordset.h"

int RecordSetReportSource::rowCount() const
{
    return m_set->active() ? m_set->recordCount() : 0;
}

QStringList RecordSetReportSource::fieldNames() const
{
    QStringList names;
    for (int i = 0; i < m_set->fieldCount(); ++i)
        names << m_set->fieldDef(i).name;
    return names;
}

int RecordSetReportSource::fieldIndex(const QString &name) const
{
    return m_set->fieldIndex(name);
}

QVariant RecordSetReportSource::value(int field) const
{
    if (m_row < 0 || m_row >= rowCount())
        return {};
    return m_set->valueAt(m_row, field);
}
