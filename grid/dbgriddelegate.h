#pragma once
// The in-place editors of a data grid: a line for typed values, a drop-down list for lookup
// fields (choosing sets the key field) and for columns with a pick list. It hands Enter, Esc
// and the keys the window wants back to the grid.

#include <QPointer>
#include <QStyledItemDelegate>

class DBGridEh;

class DBGridDelegate : public QStyledItemDelegate
{
    Q_OBJECT
public:
    explicit DBGridDelegate(DBGridEh *grid);

    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    void setEditorData(QWidget *editor, const QModelIndex &index) const override;
    void setModelData(QWidget *editor, QAbstractItemModel *model, const QModelIndex &index) const override;
    void destroyEditor(QWidget *editor, const QModelIndex &index) const override;

    // The editor now open, if any.
    QWidget *editor() const { return m_editor; }
    // Whether the user changed the editor's text since it opened.
    bool isModified(QWidget *editor) const;

protected:
    bool eventFilter(QObject *object, QEvent *event) override;

private:
    DBGridEh *m_grid;
    mutable QPointer<QWidget> m_editor;
};
