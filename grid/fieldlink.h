#pragma once
// The tie between one data-aware control and one field of a record set, reached through its
// data source: it tells the control when to show the field again and writes what the user typed.

#include "data/datasource.h"
#include "data/recordset.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <QVariant>

struct FieldDef;

class FieldLink : public QObject
{
    Q_OBJECT
public:
    explicit FieldLink(QObject *parent = nullptr) : QObject(parent) {}

    void bind(DataSource *source, const QString &fieldName);
    DataSource *dataSource() const { return m_source; }
    QString fieldName() const { return m_fieldName; }
    RecordSet *dataSet() const;

    // The source is enabled, its set open and the field exists: the control shows the value.
    bool showing() const;
    // The field's definition, or nullptr while not showing.
    const FieldDef *fieldDef() const;
    QVariant value() const;       // null while not showing
    QString text() const;         // the field's text ("" while not showing)
    QString displayText() const;  // as shown in grids (money grouped)

    // Puts the set into edit (a new row on an empty set) and sets the field. Does nothing while
    // not showing. Errors of the record set (a value it cannot take) are raised.
    bool write(const QVariant &value);
    // Only puts the set into edit.
    bool beginEdit();

signals:
    // The value, the current row or the visibility changed: the control shows the field again.
    void changed();

private:
    void notify();

    QPointer<DataSource> m_source;
    QPointer<RecordSet> m_set;
    QString m_fieldName;
    bool m_writing = false;
};
