#pragma once
// The definition of one field of a record set: stored data, a lookup into another record set,
// or a value calculated by the record set's handler.

#include "data/fieldtype.h"

#include <QString>
#include <Qt>

class RecordSet;

enum class FieldKind { Data, Lookup, Calculated };

struct FieldDef {
    QString name;
    FieldType type = FieldType::String;
    int size = 0;             // characters of a text field
    bool required = false;
    QString editMask;         // "!99.99.9999;1;_", "0000000;1; " ...
    QString displayLabel;
    FieldKind kind = FieldKind::Data;
    bool currency = false;    // floating value shown as money
    bool readOnly = false;
    bool visible = true;      // an invisible field is left out of what is shown and exported
    // A document series whose letters after the hyphen are Cyrillic (see DocSeries).
    bool cyrillicSeries = false;
    Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter;

    // Lookup fields: the value of lookupResultField of the row of lookupDataSet whose
    // lookupKeyField equals this record set's keyField.
    RecordSet *lookupDataSet = nullptr;
    QString keyField;
    QString lookupKeyField;
    QString lookupResultField;

    QString displayName() const { return displayLabel.isEmpty() ? name : displayLabel; }
};
