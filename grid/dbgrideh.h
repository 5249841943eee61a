#pragma once
// The data grid the windows use for record sets that are edited in rows: configured columns
// with two-level titles, a footer row of sums or texts, drop-down editors for lookups, and
// editing that follows the record set's states, so that every change is posted through the
// record set and its save rules.

#include "data/datasource.h"
#include "data/recordset.h"

#include <QList>
#include <QPointer>
#include <QTableView>

class DBGridColumn;
class DBGridDelegate;
class DBGridFooter;
class DBGridHeader;
class DBGridModel;

class DBGridEh : public QTableView
{
    Q_OBJECT
public:
    explicit DBGridEh(QWidget *parent = nullptr);
    ~DBGridEh() override;

    // ---- binding (a data source hides the rows while it is disabled)
    void setDataSource(DataSource *source);
    void setRecordSet(RecordSet *set);
    DataSource *dataSource() const { return m_source; }
    RecordSet *recordSet() const { return m_set; }
    DBGridModel *gridModel() const { return m_model; }

    // ---- columns, in the order they are added
    DBGridColumn &addColumn(const QString &fieldName, const QString &title = {});
    void clearColumns();
    int gridColumnCount() const { return int(m_columns.size()); }
    DBGridColumn *column(int i) const;
    int columnOfField(const QString &fieldName) const; // -1 when no column shows it

    // ---- the current cell
    int currentColumn() const;
    void setCurrentColumn(int column);
    DBGridColumn *selectedColumn() const;
    // The field of the current column ("" when there is none): the window decides by it
    // what a key such as F9 does.
    QString selectedFieldName() const;

    // ---- footer row
    void setFooterVisible(bool on);
    bool isFooterVisible() const { return m_footerVisible; }
    DBGridFooter *footer() const { return m_footer; }
    // What the footer shows under a column: its fixed text, or its sum over the record set's
    // visible rows ("" while the sums are cleared).
    QString footerText(int column) const;
    Qt::Alignment footerAlignment(int column) const;
    double columnSum(const QString &fieldName) const;
    // Blanks the sums until the record set changes again.
    void clearFooterSums();
    bool footerSumsCleared() const { return m_sumsCleared; }

    // ---- editing
    void setReadOnly(bool on);
    bool isReadOnly() const;
    // Down on the last row and Insert start a new row (on by default).
    void setAppendAllowed(bool on) { m_appendAllowed = on; }
    bool isAppendAllowed() const { return m_appendAllowed; }
    QWidget *activeEditor() const;
    // Writes the open editor's text into the field and closes the editor; false when the
    // value was refused (the message has been shown and the editor stays open).
    bool commitEditor();
    // Posts a pending edit of the record set (an untouched new row is dropped); false when
    // the post was refused, the message shown and the row left in editing.
    bool postRow();

    // ---- keys the window handles itself (e.g. PageUp, PageDown, F9, F12): the grid closes
    // its editor, emits keyForwarded and, unless told otherwise, lets the key travel on to
    // its parent widgets.
    void setForwardedKeys(const QList<int> &keys) { m_forwardedKeys = keys; }
    QList<int> forwardedKeys() const { return m_forwardedKeys; }
    bool isForwardedKey(int key) const { return m_forwardedKeys.contains(key); }
    void setPropagateForwardedKeys(bool on) { m_propagateForwarded = on; }
    bool propagatesForwardedKeys() const { return m_propagateForwarded; }

    // Used by the in-place editors.
    void forwardKeyFromEditor(QKeyEvent *event);
    void commitAndAdvance();
    void escapeFromEditor();

    void keyboardSearch(const QString &) override {}

signals:
    void keyForwarded(int key, Qt::KeyboardModifiers modifiers);
    // Ctrl+Del: the window decides whether and how the row is deleted.
    void deleteRequested();

protected:
    bool edit(const QModelIndex &index, EditTrigger trigger, QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;
    void currentChanged(const QModelIndex &current, const QModelIndex &previous) override;
    void updateGeometries() override;

private:
    void bind(DBGridModel *model, RecordSet *set, DataSource *source);
    void applyColumns();
    void applyColumn(int column);
    void columnChanged(DBGridColumn *column);
    void syncFromSet();
    void moveToRow(int row);
    void appendRow();
    void cancelRow();
    void advance();
    bool canAppend() const;
    bool showingRows() const;
    void recordSetChanged();
    void focusChanged(QWidget *old, QWidget *now);
    QModelIndex nextCell(const QModelIndex &from, bool forward) const;

    QPointer<RecordSet> m_set;
    QPointer<DataSource> m_source;
    DBGridModel *m_model = nullptr;
    DBGridHeader *m_header = nullptr;
    DBGridFooter *m_footer = nullptr;
    DBGridDelegate *m_delegate = nullptr;
    QList<DBGridColumn *> m_columns;
    QList<int> m_forwardedKeys;
    int m_currentColumn = 0;
    int m_geometryDepth = 0;
    bool m_propagateForwarded = true;
    bool m_appendAllowed = true;
    bool m_readOnly = false;
    bool m_footerVisible = false;
    bool m_sumsCleared = false;
    bool m_syncing = false;
};
