#pragma once
// A handle on one field of a record set's current row, with the typed accessors that the rules
// use (text, number, date, null). It stays valid while the record set keeps its fields.

#include "data/fielddef.h"

#include <QDateTime>
#include <QVariant>

class RecordSet;

class Field
{
public:
    Field(RecordSet *set, int index) : m_set(set), m_index(index) {}

    int index() const { return m_index; }
    const FieldDef &def() const;
    QString name() const { return def().name; }
    FieldType type() const { return def().type; }
    RecordSet *recordSet() const { return m_set; }

    QVariant value() const;
    bool isNull() const;
    // The field's text: dates as dd.mm.yyyy (with the time when not midnight), numbers in
    // general format with "." as decimal sign, null as "".
    QString asString() const;
    double asFloat() const;   // null is 0
    qint64 asInteger() const; // null is 0
    QDateTime asDateTime() const;
    QDate asDate() const { return asDateTime().date(); }
    // Text shown in grids and edits: money with grouped digits, the rest as asString().
    QString displayText() const;

    void setValue(const QVariant &v);
    void setAsString(const QString &text);
    void clear() { setValue(QVariant()); }

private:
    RecordSet *m_set;
    int m_index;
};
