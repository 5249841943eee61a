#include "grid/dblookupcombobox.h"
#include "platform/guard.h"
#include "data/datasource.h"
#include "data/recordset.h"

DbLookupComboBox::DbLookupComboBox(QWidget *parent) : QComboBox(parent)
{
    setEditable(false);
    connect(&m_link, &FieldLink::changed, this, &DbLookupComboBox::refresh);
    connect(this, &QComboBox::activated, this, &DbLookupComboBox::chosen);
}

void DbLookupComboBox::setDataField(DataSource *source, const QString &fieldName)
{
    m_link.bind(source, fieldName);
}

void DbLookupComboBox::setListSource(DataSource *list, const QString &keyField, const QString &listField)
{
    if (m_list)
        disconnect(m_list->dataSet(), nullptr, this, nullptr);
    m_list = list;
    m_keyField = keyField;
    m_listField = listField;
    if (list) {
        connect(list->dataSet(), &RecordSet::dataReset, this, &DbLookupComboBox::rebuildItems);
        connect(list->dataSet(), &RecordSet::structureChanged, this, &DbLookupComboBox::rebuildItems);
    }
    rebuildItems();
}

void DbLookupComboBox::rebuildItems()
{
    m_updating = true;
    clear();
    RecordSet *set = m_list ? m_list->dataSet() : nullptr;
    if (set && set->active()) {
        const int k = set->fieldIndex(m_keyField), l = set->fieldIndex(m_listField);
        if (k >= 0 && l >= 0)
            for (int r = 0; r < set->recordCount(); ++r)
                addItem(set->displayTextAt(r, l), set->valueAt(r, k));
    }
    m_updating = false;
    refresh();
}

int DbLookupComboBox::indexOfKey(const QVariant &key) const
{
    if (key.isNull())
        return -1;
    bool numeric = false;
    const double x = key.toDouble(&numeric);
    for (int i = 0; i < count(); ++i) {
        const QVariant d = itemData(i);
        bool ok = false;
        const double y = d.toDouble(&ok);
        if (numeric && ok ? x == y : d.toString() == key.toString())
            return i;
    }
    return -1;
}

void DbLookupComboBox::followListCursor(const QVariant &key)
{
    RecordSet *set = m_list ? m_list->dataSet() : nullptr;
    if (key.isNull() || !set || !set->active() || set->isEditing() || set->fieldIndex(m_keyField) < 0)
        return;
    const QVariant current = set->field(m_keyField).value();
    if (!current.isNull() && current.toString() == key.toString())
        return;
    if (!current.isNull() && current.toDouble() == key.toDouble())
        return;
    set->locate(m_keyField, key);
}

void DbLookupComboBox::refresh()
{
    if (m_updating)
        return;
    m_updating = true;
    const QVariant key = m_link.value();
    setCurrentIndex(indexOfKey(key));
    m_updating = false;
    runGuarded([this, key] { followListCursor(key); });
}

void DbLookupComboBox::chosen(int index)
{
    if (m_updating || index < 0)
        return;
    const bool done = runGuarded([this, index] {
        const QVariant key = itemData(index);
        if (!m_link.write(key))
            return;
        followListCursor(key);
    });
    if (!done || !m_link.showing())
        refresh();
}

void DbLookupComboBox::clearValue()
{
    runGuarded([this] {
        if (m_link.write(QVariant())) {
            m_updating = true;
            setCurrentIndex(-1);
            m_updating = false;
        }
    });
}
