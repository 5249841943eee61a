#pragma once
// A drop-down list bound to a key field: it lists one field of a lookup record set (a
// classifier) and stores the chosen row's key into the bound field of the edited record.

#include "data/datasource.h"
#include "data/recordset.h"
#include "grid/fieldlink.h"

#include <QComboBox>
#include <QPointer>

class DbLookupComboBox : public QComboBox
{
    Q_OBJECT
public:
    explicit DbLookupComboBox(QWidget *parent = nullptr);

    // The field that receives the key.
    void setDataField(DataSource *source, const QString &fieldName);
    // The rows offered: listField shown, keyField stored. The list set's current row follows
    // the chosen key, so that controls bound to it show the chosen row.
    void setListSource(DataSource *list, const QString &keyField, const QString &listField);

    DataSource *dataSource() const { return m_link.dataSource(); }
    QString dataField() const { return m_link.fieldName(); }
    // The bound field's value (null when empty or not showing).
    QVariant keyValue() const { return m_link.value(); }
    // Empties the bound field (callers tie it to Esc where the window wants it).
    void clearValue();

    void refresh();

private:
    void rebuildItems();
    void chosen(int index);
    void followListCursor(const QVariant &key);
    int indexOfKey(const QVariant &key) const;

    FieldLink m_link;
    QPointer<DataSource> m_list;
    QString m_keyField, m_listField;
    bool m_updating = false;
};
