#include "grid/dbcheckbox.h"
#include "platform/guard.h"

DbCheckBox::DbCheckBox(QWidget *parent) : QCheckBox(parent)
{
    connect(&m_link, &FieldLink::changed, this, &DbCheckBox::refresh);
    connect(this, &QCheckBox::clicked, this, &DbCheckBox::userClicked);
}

void DbCheckBox::setDataField(DataSource *source, const QString &fieldName)
{
    m_link.bind(source, fieldName);
}

void DbCheckBox::setValues(const QString &checked, const QString &unchecked)
{
    m_checked = checked;
    m_unchecked = unchecked;
    refresh();
}

void DbCheckBox::refresh()
{
    m_updating = true;
    setChecked(m_link.showing() && m_link.text().trimmed().compare(m_checked.trimmed(), Qt::CaseInsensitive) == 0);
    m_updating = false;
}

void DbCheckBox::userClicked(bool on)
{
    if (m_updating)
        return;
    const bool done = runGuarded([this, on] { m_link.write(on ? m_checked : m_unchecked); });
    if (!done || !m_link.showing())
        refresh();
}
