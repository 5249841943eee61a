#include "grid/dbgrideh.h"
#include "platform/guard.h"
#include "data/datasource.h"
#include "data/recordset.h"
#include "grid/dbgridaccessibility.h"
#include "grid/dbgridcolumn.h"
#include "grid/dbgriddelegate.h"
#include "grid/dbgridfooter.h"
#include "grid/dbgridheader.h"
#include "grid/dbgridmodel.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QScrollBar>

DBGridEh::DBGridEh(QWidget *parent) : QTableView(parent)
{
    DBGridAccessibility::install();
    m_header = new DBGridHeader(this);
    setHorizontalHeader(m_header);
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 8);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed
                    | QAbstractItemView::AnyKeyPressed);
    setTabKeyNavigation(true);
    setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    setWordWrap(false);
    setCornerButtonEnabled(false);

    m_delegate = new DBGridDelegate(this);
    setItemDelegate(m_delegate);

    m_footer = new DBGridFooter(this);
    m_footer->hide();
    auto repaintFooter = [this] { m_footer->update(); };
    connect(horizontalScrollBar(), &QScrollBar::valueChanged, this, repaintFooter);
    connect(m_header, &QHeaderView::sectionMoved, this, repaintFooter);
    connect(m_header, &QHeaderView::sectionResized, this, [this](int logical, int, int size) {
        if (DBGridColumn *c = column(logical))
            c->takeWidth(size);
        m_footer->update();
    });
    connect(qApp, &QApplication::focusChanged, this, &DBGridEh::focusChanged);
}

DBGridEh::~DBGridEh()
{
    // Destroying the children may move the focus; this grid must not hear of it any more.
    disconnect(qApp, nullptr, this, nullptr);
    if (m_set)
        disconnect(m_set, nullptr, this, nullptr);
}

// ---------------------------------------------------------------- binding

void DBGridEh::setDataSource(DataSource *source)
{
    bind(source ? new DBGridModel(source, this) : nullptr, source ? source->dataSet() : nullptr, source);
}

void DBGridEh::setRecordSet(RecordSet *set)
{
    bind(set ? new DBGridModel(set, this) : nullptr, set, nullptr);
}

void DBGridEh::bind(DBGridModel *model, RecordSet *set, DataSource *source)
{
    if (m_set)
        disconnect(m_set, nullptr, this, nullptr);
    if (m_source)
        disconnect(m_source, nullptr, this, nullptr);
    DBGridModel *oldModel = m_model;
    QItemSelectionModel *oldSelection = selectionModel();
    m_set = set;
    m_source = source;
    m_model = model;
    if (m_model) {
        m_model->setReadOnly(m_readOnly);
        m_model->setColumns(m_columns);
    }
    setModel(m_model);
    delete oldSelection;
    delete oldModel;
    // After the view's own handling of a reset, which forgets the current cell.
    if (m_model)
        connect(m_model, &QAbstractItemModel::modelReset, this, &DBGridEh::syncFromSet);
    if (m_set) {
        connect(m_set, &RecordSet::dataReset, this, &DBGridEh::recordSetChanged);
        connect(m_set, &RecordSet::stateChanged, this, &DBGridEh::recordSetChanged);
        connect(m_set, &RecordSet::structureChanged, this, &DBGridEh::recordSetChanged);
        connect(m_set, &RecordSet::currentChanged, this, &DBGridEh::syncFromSet);
    }
    if (m_source)
        connect(m_source, &DataSource::enabledChanged, this, &DBGridEh::recordSetChanged);
    m_sumsCleared = false;
    applyColumns();
    syncFromSet();
    m_footer->refresh();
}

bool DBGridEh::showingRows() const
{
    return m_set && m_set->active() && (!m_source || m_source->enabled());
}

void DBGridEh::recordSetChanged()
{
    m_sumsCleared = false;
    m_footer->refresh();
}

// ---------------------------------------------------------------- columns

DBGridColumn &DBGridEh::addColumn(const QString &fieldName, const QString &title)
{
    auto *c = new DBGridColumn(fieldName, this);
    if (!title.isEmpty())
        c->setTitle(title);
    m_columns << c;
    connect(c, &DBGridColumn::changed, this, [this, c] { columnChanged(c); });
    if (m_model) {
        m_model->setColumns(m_columns);
        applyColumns();
    }
    updateGeometries();
    return *c;
}

void DBGridEh::clearColumns()
{
    const QList<DBGridColumn *> old = m_columns;
    m_columns.clear();
    if (m_model)
        m_model->setColumns(m_columns);
    qDeleteAll(old);
    m_currentColumn = 0;
    updateGeometries();
}

DBGridColumn *DBGridEh::column(int i) const
{
    return i >= 0 && i < m_columns.size() ? m_columns.at(i) : nullptr;
}

int DBGridEh::columnOfField(const QString &fieldName) const
{
    for (int i = 0; i < m_columns.size(); ++i)
        if (m_columns.at(i)->fieldName().compare(fieldName, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

void DBGridEh::applyColumns()
{
    for (int i = 0; i < m_columns.size(); ++i)
        applyColumn(i);
}

void DBGridEh::applyColumn(int i)
{
    if (!m_model || i < 0 || i >= m_model->columnCount())
        return;
    const DBGridColumn *c = m_columns.at(i);
    setColumnHidden(i, !c->isVisible());
    if (c->width() > 0 && columnWidth(i) != c->width())
        setColumnWidth(i, c->width());
}

void DBGridEh::columnChanged(DBGridColumn *c)
{
    const int i = m_columns.indexOf(c);
    if (i < 0)
        return;
    if (m_model)
        m_model->columnChanged(i);
    applyColumn(i);
    m_header->viewport()->update();
    updateGeometries();
    m_footer->refresh();
}

// ---------------------------------------------------------------- current cell

int DBGridEh::currentColumn() const
{
    const QModelIndex i = currentIndex();
    if (i.isValid())
        return i.column();
    return m_columns.isEmpty() ? -1 : qBound(0, m_currentColumn, int(m_columns.size()) - 1);
}

void DBGridEh::setCurrentColumn(int c)
{
    if (c < 0 || c >= m_columns.size())
        return;
    m_currentColumn = c;
    const QModelIndex i = currentIndex();
    if (i.isValid() && m_model)
        setCurrentIndex(m_model->index(i.row(), c));
}

DBGridColumn *DBGridEh::selectedColumn() const
{
    return column(currentColumn());
}

QString DBGridEh::selectedFieldName() const
{
    const DBGridColumn *c = selectedColumn();
    return c ? c->fieldName() : QString();
}

void DBGridEh::syncFromSet()
{
    if (!m_model || !selectionModel())
        return;
    const int row = m_model->currentRow();
    const int columns = m_model->columnCount();
    const int col = columns > 0 ? qBound(0, m_currentColumn, columns - 1) : -1;
    const QModelIndex target = row >= 0 && row < m_model->rowCount() && col >= 0 ? m_model->index(row, col) : QModelIndex();
    const bool wasSyncing = m_syncing;
    m_syncing = true;
    if (target != currentIndex())
        selectionModel()->setCurrentIndex(target, QItemSelectionModel::ClearAndSelect);
    else if (target.isValid() && !selectionModel()->isSelected(target))
        selectionModel()->select(target, QItemSelectionModel::ClearAndSelect);
    m_syncing = wasSyncing;
    if (target.isValid() && isVisible())
        scrollTo(target);
}

void DBGridEh::currentChanged(const QModelIndex &current, const QModelIndex &previous)
{
    // The base commits and closes an editor left open on the previous cell.
    QTableView::currentChanged(current, previous);
    if (current.isValid())
        m_currentColumn = current.column();
    if (m_syncing || !m_model || !m_set || !current.isValid())
        return;
    if (current.row() != m_model->currentRow())
        moveToRow(current.row());
}

void DBGridEh::moveToRow(int row)
{
    const bool wasInsert = m_set->state() == RecordSet::State::Insert;
    const int insertedAt = m_set->insertPosition();
    const int before = m_set->recordCount();
    const int from = m_model->currentRow();
    const bool ok = runGuarded([&] {
        m_set->checkBrowseMode();
        int target;
        if (wasInsert && m_set->recordCount() == before) {
            // The untouched new row was dropped: the rows below it moved up.
            target = row > insertedAt ? row - 1 : row;
        } else {
            // The move is counted from where the posted row now stands, which its new
            // values may have changed in a sorted set.
            target = m_set->recNo() + (row - from);
        }
        if (m_set->recordCount() > 0)
            m_set->moveTo(qBound(0, target, m_set->recordCount() - 1));
    });
    syncFromSet();
    if (!ok) {
        // A mouse press goes on selecting the cell it hit; select the row that stayed once
        // the press is over.
        QMetaObject::invokeMethod(this, &DBGridEh::syncFromSet, Qt::QueuedConnection);
    }
}

QModelIndex DBGridEh::nextCell(const QModelIndex &from, bool forward) const
{
    if (!from.isValid() || !m_model)
        return from;
    const QHeaderView *h = horizontalHeader();
    const int n = h->count();
    const int step = forward ? 1 : -1;
    int row = from.row();
    int v = h->visualIndex(from.column());
    for (int guard = 0; guard <= n + 1; ++guard) {
        v += step;
        if (v < 0 || v >= n) {
            row += step;
            if (row < 0 || row >= m_model->rowCount())
                return from;
            v = forward ? 0 : n - 1;
        }
        const int logical = h->logicalIndex(v);
        if (!h->isSectionHidden(logical))
            return m_model->index(row, logical);
    }
    return from;
}

QModelIndex DBGridEh::moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers)
{
    if ((action == MoveNext || action == MovePrevious) && currentIndex().isValid())
        return nextCell(currentIndex(), action == MoveNext);
    return QTableView::moveCursor(action, modifiers);
}

void DBGridEh::advance()
{
    const QModelIndex next = nextCell(currentIndex(), true);
    if (next.isValid() && next != currentIndex())
        setCurrentIndex(next);
}

// ---------------------------------------------------------------- footer

void DBGridEh::setFooterVisible(bool on)
{
    m_footerVisible = on;
    updateGeometries();
}

double DBGridEh::columnSum(const QString &fieldName) const
{
    if (!m_set || !m_set->active())
        return 0.0;
    const int f = m_set->fieldIndex(fieldName);
    if (f < 0)
        return 0.0;
    double sum = 0.0;
    for (int r = 0; r < m_set->recordCount(); ++r) {
        const QVariant v = m_set->valueAt(r, f);
        if (!v.isNull())
            sum += v.toDouble();
    }
    return sum;
}

QString DBGridEh::footerText(int column) const
{
    const DBGridColumn *c = this->column(column);
    if (!c)
        return {};
    switch (c->footerKind()) {
    case DBGridColumn::FooterKind::None:
        return {};
    case DBGridColumn::FooterKind::Text:
        return c->footerText();
    case DBGridColumn::FooterKind::Sum:
        if (m_sumsCleared || !showingRows())
            return {};
        return c->formatSum(columnSum(c->footerSumField()));
    }
    return {};
}

Qt::Alignment DBGridEh::footerAlignment(int column) const
{
    const DBGridColumn *c = this->column(column);
    return c ? c->footerAlignment() : Qt::AlignLeft;
}

void DBGridEh::clearFooterSums()
{
    m_sumsCleared = true;
    m_footer->refresh();
}

// ---------------------------------------------------------------- editing

void DBGridEh::setReadOnly(bool on)
{
    m_readOnly = on;
    if (m_model)
        m_model->setReadOnly(on);
}

bool DBGridEh::isReadOnly() const
{
    return m_readOnly;
}

QWidget *DBGridEh::activeEditor() const
{
    return m_delegate->editor();
}

bool DBGridEh::commitEditor()
{
    QWidget *editor = activeEditor();
    if (!editor || !m_model)
        return true;
    commitData(editor);
    if (m_model->takeRefusal())
        return false;
    closeEditor(editor, QAbstractItemDelegate::NoHint);
    return true;
}

bool DBGridEh::postRow()
{
    if (!m_set || !m_set->isEditing())
        return true;
    if (!commitEditor())
        return false;
    const bool ok = runGuarded([this] { m_set->checkBrowseMode(); });
    syncFromSet();
    return ok;
}

bool DBGridEh::canAppend() const
{
    return m_appendAllowed && !m_readOnly && showingRows();
}

void DBGridEh::appendRow()
{
    if (!canAppend())
        return;
    QWidget *editor = activeEditor();
    const bool typed = editor && m_delegate->isModified(editor);
    // An untouched new row stays the only one: Down on it does nothing.
    if (m_set->state() == RecordSet::State::Insert && !m_set->modified() && !typed)
        return;
    if (!commitEditor())
        return;
    runGuarded([this] { m_set->append(); });
    syncFromSet();
}

void DBGridEh::cancelRow()
{
    if (m_set && m_set->isEditing())
        runGuarded([this] { m_set->cancel(); });
    syncFromSet();
}

void DBGridEh::commitAndAdvance()
{
    if (commitEditor())
        advance();
}

void DBGridEh::escapeFromEditor()
{
    // Esc first takes back what was typed in the cell; when nothing else of the row was
    // changed, or nothing was typed, it cancels the row (a new row disappears).
    QWidget *editor = activeEditor();
    const bool typed = editor && m_delegate->isModified(editor);
    if (editor)
        closeEditor(editor, QAbstractItemDelegate::RevertModelCache);
    if (!typed || !m_set || !m_set->modified())
        cancelRow();
}

bool DBGridEh::edit(const QModelIndex &index, EditTrigger trigger, QEvent *event)
{
    const bool opens = m_model && m_set && index.isValid() && state() != EditingState
        && (m_model->flags(index) & Qt::ItemIsEditable) && trigger != SelectedClicked
        && (trigger == AllEditTriggers || (editTriggers() & trigger));
    if (!opens)
        return QTableView::edit(index, trigger, event);
    // Cells open only on the record set's current row; the row enters editing first, so
    // the editor shows and writes the row's edit buffer.
    if (index.row() != m_model->currentRow())
        return false;
    const int column = index.column();
    if (!m_set->isEditing()) {
        if (!runGuarded([this] { m_set->edit(); }))
            return false;
        syncFromSet();
    }
    const QModelIndex target = m_model->index(m_model->currentRow(), column);
    if (!target.isValid())
        return false;
    if (target != currentIndex()) {
        const bool wasSyncing = m_syncing;
        m_syncing = true;
        selectionModel()->setCurrentIndex(target, QItemSelectionModel::ClearAndSelect);
        m_syncing = wasSyncing;
    }
    return QTableView::edit(target, trigger, event);
}

// ---------------------------------------------------------------- keys, menus, focus

void DBGridEh::forwardKeyFromEditor(QKeyEvent *event)
{
    commitEditor();
    // The copy travels as if it had been pressed in the grid, and on to its parents.
    QKeyEvent copy(event->type(), event->key(), event->modifiers(), event->text(), event->isAutoRepeat(),
                   ushort(event->count()));
    QCoreApplication::sendEvent(this, &copy);
}

void DBGridEh::keyPressEvent(QKeyEvent *event)
{
    const int key = event->key();
    const Qt::KeyboardModifiers mods = event->modifiers();
    if (isForwardedKey(key)) {
        commitEditor();
        emit keyForwarded(key, mods);
        if (m_propagateForwarded)
            event->ignore();
        else
            event->accept();
        return;
    }
    if (!m_model || !showingRows()) {
        QTableView::keyPressEvent(event);
        return;
    }
    const bool plain = !(mods & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
    switch (key) {
    case Qt::Key_Escape:
        if (activeEditor()) {
            escapeFromEditor();
            event->accept();
        } else if (m_set->isEditing()) {
            cancelRow();
            event->accept();
        } else {
            event->ignore();
        }
        return;
    case Qt::Key_Down:
        if (plain && (m_model->rowCount() == 0 || currentIndex().row() == m_model->rowCount() - 1)) {
            appendRow();
            event->accept();
            return;
        }
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        commitAndAdvance();
        event->accept();
        return;
    case Qt::Key_Insert:
        if (mods == Qt::NoModifier && canAppend()) {
            if (commitEditor())
                runGuarded([this] { m_set->insert(); });
            syncFromSet();
            event->accept();
            return;
        }
        break;
    case Qt::Key_Delete:
        if (mods & Qt::ControlModifier) {
            emit deleteRequested();
            event->accept();
            return;
        }
        break;
    default:
        // Typing into an empty grid starts its first row.
        if (m_model->rowCount() == 0 && plain && !event->text().isEmpty() && event->text().at(0).isPrint()
            && canAppend()) {
            appendRow();
            if (currentIndex().isValid())
                edit(currentIndex(), AnyKeyPressed, event);
            event->accept();
            return;
        }
        break;
    }
    const bool hadEditor = activeEditor() != nullptr;
    QTableView::keyPressEvent(event);
    // The key that opened an editor was typed into it; it goes no further.
    if (!hadEditor && activeEditor())
        event->accept();
}

void DBGridEh::contextMenuEvent(QContextMenuEvent *event)
{
    const bool byMouse = event->reason() == QContextMenuEvent::Mouse;
    const QModelIndex hit = byMouse ? indexAt(event->pos()) : currentIndex();
    const int c = hit.isValid() ? hit.column() : (byMouse ? columnAt(event->pos().x()) : currentColumn());
    const DBGridColumn *col = column(c);
    QMenu *menu = col ? col->contextMenu() : nullptr;
    if (!menu) {
        event->ignore();
        return;
    }
    event->accept();
    if (hit.isValid() && hit != currentIndex()) {
        setCurrentIndex(hit);
        if (currentIndex().row() != hit.row())
            return; // the row left behind could not be posted
    }
    const QPoint at = byMouse ? event->globalPos()
                              : viewport()->mapToGlobal(visualRect(currentIndex()).center());
    menu->exec(at);
}

void DBGridEh::focusChanged(QWidget *old, QWidget *now)
{
    // Leaving the grid for another control of the same window posts the row, as moving to
    // another row does; another window (a dialog, a drop-down list, a message) does not.
    if (!old || !now || !m_set || !m_set->isEditing())
        return;
    const bool fromGrid = old == this || isAncestorOf(old);
    const bool toGrid = now == this || isAncestorOf(now);
    if (!fromGrid || toGrid || now->window() != window())
        return;
    postRow();
}

// ---------------------------------------------------------------- geometry

void DBGridEh::updateGeometries()
{
    if (m_geometryDepth > 3)
        return;
    if (!m_footer) { // still being built
        QTableView::updateGeometries();
        return;
    }
    ++m_geometryDepth;
    QTableView::updateGeometries();
    // The footer sits in a bottom margin of the cell area, above the horizontal scroll bar.
    const int footerHeight = m_footerVisible ? m_footer->sizeHint().height() : 0;
    QMargins margins = viewportMargins();
    if (margins.bottom() != footerHeight) {
        margins.setBottom(footerHeight);
        setViewportMargins(margins);
    }
    if (m_footerVisible) {
        const QRect area = viewport()->geometry();
        m_footer->setGeometry(area.left(), area.bottom() + 1, area.width(), footerHeight);
        m_footer->show();
        m_footer->update();
    } else {
        m_footer->hide();
    }
    if (verticalScrollMode() == ScrollPerPixel) {
        const int h = viewport()->height();
        verticalScrollBar()->setPageStep(h);
        verticalScrollBar()->setRange(0, qMax(0, verticalHeader()->length() - h));
    }
    --m_geometryDepth;
}
