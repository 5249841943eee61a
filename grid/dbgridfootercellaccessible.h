#pragma once
// One cell of a grid's footer for a screen reader: the total with the footer's text before
// it ("Total: 120") as its name, the column's title as its description, so that the reader
// says both, and the text shown as its value; a sum also gives its number.

#include <QAccessible>
#include <QPointer>

class DBGridFooter;

class DBGridFooterCellAccessible : public QAccessibleInterface, public QAccessibleValueInterface
{
public:
    DBGridFooterCellAccessible(DBGridFooter *footer, int column);

    DBGridFooter *footer() const { return m_footer; }
    int column() const { return m_column; }

    bool isValid() const override;
    QObject *object() const override { return nullptr; }
    QWindow *window() const override;
    QAccessibleInterface *parent() const override;
    QAccessibleInterface *child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface *) const override { return -1; }
    QAccessibleInterface *childAt(int, int) const override { return nullptr; }
    QString text(QAccessible::Text t) const override;
    void setText(QAccessible::Text, const QString &) override {}
    QRect rect() const override;
    QAccessible::Role role() const override { return QAccessible::StaticText; }
    QAccessible::State state() const override;
    void *interface_cast(QAccessible::InterfaceType type) override;

    // The sum, none while the sums are cleared.
    QVariant currentValue() const override;
    void setCurrentValue(const QVariant &) override {}
    QVariant maximumValue() const override { return {}; }
    QVariant minimumValue() const override { return {}; }
    QVariant minimumStepSize() const override { return {}; }

    // Whether the text shown now differs from the one the screen reader was last told of;
    // the text shown now is the one told from here on.
    bool takeChange();

private:
    bool isSum() const;

    QPointer<DBGridFooter> m_footer;
    int m_column;
    QString m_told;
};
