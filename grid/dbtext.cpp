#include "grid/dbtext.h"

DbText::DbText(QWidget *parent) : QLabel(parent)
{
    setTextFormat(Qt::PlainText);
    connect(&m_link, &FieldLink::changed, this, &DbText::refresh);
}

DbText::DbText(DataSource *source, const QString &fieldName, QWidget *parent) : DbText(parent)
{
    setDataField(source, fieldName);
}

void DbText::setDataField(DataSource *source, const QString &fieldName)
{
    m_link.bind(source, fieldName);
}
