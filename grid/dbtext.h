#pragma once
// A read-only label that shows one field of the current row of a record set and follows it
// as the row changes.

#include "grid/fieldlink.h"

#include <QLabel>

class DataSource;

class DbText : public QLabel
{
    Q_OBJECT
public:
    explicit DbText(QWidget *parent = nullptr);
    DbText(DataSource *source, const QString &fieldName, QWidget *parent = nullptr);

    void setDataField(DataSource *source, const QString &fieldName);
    void refresh() { setText(m_link.displayText()); }

private:
    FieldLink m_link;
};
