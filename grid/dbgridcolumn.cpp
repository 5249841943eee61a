#include "grid/dbgridcolumn.h"
#include "data/formats.h"

#include <QMenu>

DBGridColumn::DBGridColumn(const QString &fieldName, QObject *parent) : QObject(parent), m_fieldName(fieldName)
{
}

DBGridColumn &DBGridColumn::notify()
{
    emit changed();
    return *this;
}

DBGridColumn &DBGridColumn::setTitle(const QString &title)
{
    m_title = title;
    return notify();
}

DBGridColumn &DBGridColumn::setGroupTitle(const QString &title)
{
    m_groupTitle = title;
    return notify();
}

DBGridColumn &DBGridColumn::setWidth(int pixels)
{
    m_width = qMax(0, pixels);
    return notify();
}

DBGridColumn &DBGridColumn::setAlignment(Qt::Alignment alignment)
{
    m_alignment = alignment;
    if (!(m_alignment & Qt::AlignVertical_Mask))
        m_alignment |= Qt::AlignVCenter;
    m_hasAlignment = true;
    return notify();
}

DBGridColumn &DBGridColumn::setReadOnly(bool on)
{
    m_readOnly = on;
    return notify();
}

DBGridColumn &DBGridColumn::setVisible(bool on)
{
    m_visible = on;
    return notify();
}

DBGridColumn &DBGridColumn::setPickList(const QStringList &items)
{
    m_pickList = items;
    return notify();
}

DBGridColumn &DBGridColumn::setDisplayFormat(DisplayFormat format)
{
    m_displayFormat = std::move(format);
    return notify();
}

DBGridColumn &DBGridColumn::setFooterText(const QString &text)
{
    m_footerKind = FooterKind::Text;
    m_footerText = text;
    m_sumField.clear();
    return notify();
}

DBGridColumn &DBGridColumn::setFooterSum(const QString &fieldName, SumFormat format)
{
    m_footerKind = FooterKind::Sum;
    m_footerText.clear();
    m_sumField = fieldName;
    m_sumFormat = std::move(format);
    return notify();
}

DBGridColumn &DBGridColumn::clearFooter()
{
    m_footerKind = FooterKind::None;
    m_footerText.clear();
    m_sumField.clear();
    m_sumFormat = nullptr;
    return notify();
}

QString DBGridColumn::formatSum(double sum) const
{
    return m_sumFormat ? m_sumFormat(sum) : Formats::moneyText(sum);
}

Qt::Alignment DBGridColumn::footerAlignment() const
{
    if (m_hasAlignment)
        return m_alignment & Qt::AlignHorizontal_Mask;
    return m_footerKind == FooterKind::Sum ? Qt::AlignRight : Qt::AlignLeft;
}

DBGridColumn &DBGridColumn::setContextMenu(QMenu *menu)
{
    m_menu = menu;
    return notify();
}
