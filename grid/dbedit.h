#pragma once
// A text box bound to one field of a record set: it shows the field of the current row and,
// when the user types, puts the set into edit and stores the text, so that posting runs the rules.

#include "grid/editmask.h"
#include "grid/fieldlink.h"
#include "grid/maskedlineedit.h"

class DataSource;

class DbEdit : public MaskedLineEdit
{
    Q_OBJECT
public:
    explicit DbEdit(QWidget *parent = nullptr);
    DbEdit(DataSource *source, const QString &fieldName, QWidget *parent = nullptr);

    void setDataField(DataSource *source, const QString &fieldName);
    DataSource *dataSource() const { return m_link.dataSource(); }
    QString dataField() const { return m_link.fieldName(); }

    // Typed letters become capitals.
    void setUpperCase(bool on) { m_upper = on; }
    bool upperCase() const { return m_upper; }

    // Shows the field again (the record set's signals do this on their own).
    void refresh();

private:
    void userEdited();
    void editingDone();
    void storeText();
    QVariant typedValue() const;
    void applyFieldAttributes();

    FieldLink m_link;
    EditMask m_mask;
    QString m_maskSource;
    bool m_upper = false;
    bool m_pending = false; // typed text the field could not take yet (a half-typed date)
    bool m_refreshing = false;
};
