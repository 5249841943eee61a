#include "grid/fieldlink.h"
#include "data/datasource.h"
#include "data/recordset.h"

void FieldLink::bind(DataSource *source, const QString &fieldName)
{
    if (m_source)
        disconnect(m_source, nullptr, this, nullptr);
    if (m_set)
        disconnect(m_set, nullptr, this, nullptr);
    m_source = source;
    m_set = source ? source->dataSet() : nullptr;
    m_fieldName = fieldName;
    if (m_source)
        connect(m_source, &DataSource::enabledChanged, this, &FieldLink::notify);
    if (m_set) {
        for (auto sig : {&RecordSet::structureChanged, &RecordSet::dataReset, &RecordSet::currentChanged,
                         &RecordSet::stateChanged, &RecordSet::currentValuesChanged})
            connect(m_set, sig, this, &FieldLink::notify);
    }
    emit changed();
}

RecordSet *FieldLink::dataSet() const
{
    return m_set;
}

bool FieldLink::showing() const
{
    return m_source && m_set && m_source->enabled() && m_set->active() && m_set->fieldIndex(m_fieldName) >= 0;
}

const FieldDef *FieldLink::fieldDef() const
{
    if (!m_set)
        return nullptr;
    const int i = m_set->fieldIndex(m_fieldName);
    return i < 0 ? nullptr : &m_set->fieldDef(i);
}

QVariant FieldLink::value() const
{
    if (!showing())
        return {};
    return m_set->field(m_fieldName).value();
}

QString FieldLink::text() const
{
    if (!showing())
        return {};
    return m_set->field(m_fieldName).asString();
}

QString FieldLink::displayText() const
{
    if (!showing())
        return {};
    return m_set->field(m_fieldName).displayText();
}

bool FieldLink::beginEdit()
{
    if (!showing())
        return false;
    if (!m_set->isEditing()) {
        m_writing = true;
        try {
            m_set->edit();
        } catch (...) {
            m_writing = false;
            throw;
        }
        m_writing = false;
    }
    return true;
}

bool FieldLink::write(const QVariant &value)
{
    if (!beginEdit())
        return false;
    m_writing = true;
    try {
        m_set->field(m_fieldName).setValue(value);
    } catch (...) {
        m_writing = false;
        throw;
    }
    m_writing = false;
    return true;
}

void FieldLink::notify()
{
    if (!m_writing)
        emit changed();
}
