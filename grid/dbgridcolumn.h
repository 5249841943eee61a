#pragma once
// One column of a data grid as the program configures it: the field it shows, its titles,
// width, alignment, editing rights, drop-down choices, footer and context menu.

#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QVariant>
#include <functional>

#include <QMenu>

class DBGridColumn : public QObject
{
    Q_OBJECT
public:
    enum class FooterKind { None, Text, Sum };
    // Formats a footer sum; the default shows money (1 234.50).
    using SumFormat = std::function<QString(double)>;
    // Formats a cell value that is not null; the default is the field's own display text.
    using DisplayFormat = std::function<QString(const QVariant &)>;

    explicit DBGridColumn(const QString &fieldName, QObject *parent = nullptr);

    QString fieldName() const { return m_fieldName; }

    QString title() const { return m_title; }
    DBGridColumn &setTitle(const QString &title);
    // The upper title, shared by the neighbouring columns that carry the same text.
    QString groupTitle() const { return m_groupTitle; }
    DBGridColumn &setGroupTitle(const QString &title);

    int width() const { return m_width; } // pixels, 0 for the grid's default
    DBGridColumn &setWidth(int pixels);
    bool hasAlignment() const { return m_hasAlignment; }
    Qt::Alignment alignment() const { return m_alignment; }
    DBGridColumn &setAlignment(Qt::Alignment alignment);
    bool isReadOnly() const { return m_readOnly; }
    DBGridColumn &setReadOnly(bool on);
    bool isVisible() const { return m_visible; }
    DBGridColumn &setVisible(bool on);
    // Fixed choices offered in a drop-down editor (the text typed stays free).
    QStringList pickList() const { return m_pickList; }
    DBGridColumn &setPickList(const QStringList &items);
    DisplayFormat displayFormat() const { return m_displayFormat; }
    DBGridColumn &setDisplayFormat(DisplayFormat format);

    // ---- footer
    FooterKind footerKind() const { return m_footerKind; }
    QString footerText() const { return m_footerText; }
    // The field summed: the given one, or the column's own field.
    QString footerSumField() const { return m_sumField.isEmpty() ? m_fieldName : m_sumField; }
    DBGridColumn &setFooterText(const QString &text);
    DBGridColumn &setFooterSum(const QString &fieldName = {}, SumFormat format = {});
    DBGridColumn &clearFooter();
    QString formatSum(double sum) const;
    // Sums and texts follow the column's alignment when it has one, else sums stand right.
    Qt::Alignment footerAlignment() const;

    QMenu *contextMenu() const { return m_menu; }
    DBGridColumn &setContextMenu(QMenu *menu);

    // Records the width the user dragged the column to, without announcing a change.
    void takeWidth(int pixels) { m_width = pixels; }

signals:
    void changed();

private:
    DBGridColumn &notify();

    QString m_fieldName;
    QString m_title;
    QString m_groupTitle;
    int m_width = 0;
    bool m_hasAlignment = false;
    Qt::Alignment m_alignment = Qt::AlignLeft | Qt::AlignVCenter;
    bool m_readOnly = false;
    bool m_visible = true;
    QStringList m_pickList;
    DisplayFormat m_displayFormat;
    FooterKind m_footerKind = FooterKind::None;
    QString m_footerText;
    QString m_sumField;
    SumFormat m_sumFormat;
    QPointer<QMenu> m_menu;
};
