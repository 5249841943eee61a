#include "grid/dbgriddelegate.h"
#include "data/recordset.h"
#include "grid/dbgridcolumn.h"
#include "grid/dbgrideh.h"
#include "grid/dbgridmodel.h"
#include "grid/editmask.h"
#include "grid/maskedlineedit.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>

namespace {
const char *const kOriginal = "dbgridOriginalText";
const char *const kFieldMask = "dbgridFieldMask";

// The field's value for what a cell editor shows: through the field's edit mask when it has one.
QString editorValue(const QLineEdit *line)
{
    const QString mask = line->property(kFieldMask).toString();
    return mask.isEmpty() ? line->text() : EditMask(mask).valueOf(line->displayText());
}
} // namespace

DBGridDelegate::DBGridDelegate(DBGridEh *grid) : QStyledItemDelegate(grid), m_grid(grid) {}

QWidget *DBGridDelegate::createEditor(QWidget *parent, const QStyleOptionViewItem &, const QModelIndex &index) const
{
    const DBGridModel *model = m_grid->gridModel();
    const FieldDef *def = model ? model->fieldDef(index.column()) : nullptr;
    const DBGridColumn *col = model ? model->column(index.column()) : nullptr;
    if (!def || !col)
        return nullptr;
    QWidget *editor = nullptr;
    if (def->kind == FieldKind::Lookup || !col->pickList().isEmpty()) {
        auto *combo = new QComboBox(parent);
        combo->setFrame(false);
        if (def->kind == FieldKind::Lookup) {
            // The list of the lookup set's result field, in the set's order; each item
            // carries the value that selects its key.
            RecordSet *ls = def->lookupDataSet;
            const int lr = ls ? ls->fieldIndex(def->lookupResultField) : -1;
            if (ls && ls->active() && lr >= 0)
                for (int r = 0; r < ls->recordCount(); ++r)
                    combo->addItem(ls->displayTextAt(r, lr), ls->valueAt(r, lr));
        } else {
            combo->setEditable(true);
            combo->setInsertPolicy(QComboBox::NoInsert);
            combo->addItems(col->pickList());
        }
        // A choice from the list is written at once.
        connect(combo, &QComboBox::activated, this, [this, combo] {
            emit const_cast<DBGridDelegate *>(this)->commitData(combo);
        });
        editor = combo;
    } else {
        auto *line = new MaskedLineEdit(parent);
        line->setFrame(false);
        // The field's edit mask, as the boxes bound to the same field use it.
        const EditMask mask(def->editMask);
        if (!mask.isEmpty()) {
            line->setProperty(kFieldMask, def->editMask);
            line->setInputMask(mask.inputMask());
        } else if (def->size > 0 && isStringType(def->type) && def->type != FieldType::Memo) {
            line->setMaxLength(def->size);
        }
        line->setAlignment(col->hasAlignment() ? col->alignment() : def->alignment);
        editor = line;
    }
    m_editor = editor;
    return editor;
}

void DBGridDelegate::setEditorData(QWidget *editor, const QModelIndex &index) const
{
    const QString text = index.data(Qt::EditRole).toString();
    editor->setProperty(kOriginal, text);
    if (auto *combo = qobject_cast<QComboBox *>(editor)) {
        const int i = combo->findText(text);
        if (combo->isEditable()) {
            combo->setEditText(text);
        } else {
            combo->setCurrentIndex(i);
        }
        return;
    }
    if (auto *line = qobject_cast<QLineEdit *>(editor)) {
        line->setText(text);
        line->setModified(false);
        // The key that opened the editor replaces what the cell held.
        line->selectAll();
    }
}

bool DBGridDelegate::isModified(QWidget *editor) const
{
    if (!editor)
        return false;
    if (auto *line = qobject_cast<QLineEdit *>(editor))
        return line->isModified();
    if (auto *combo = qobject_cast<QComboBox *>(editor))
        return combo->currentText() != editor->property(kOriginal).toString();
    return false;
}

void DBGridDelegate::setModelData(QWidget *editor, QAbstractItemModel *model, const QModelIndex &index) const
{
    // Only what the user changed is written: an editor opened and left alone does not mark
    // the row as modified.
    if (!isModified(editor))
        return;
    if (auto *combo = qobject_cast<QComboBox *>(editor)) {
        if (!combo->isEditable()) {
            if (combo->currentIndex() >= 0)
                model->setData(index, combo->currentData(), Qt::EditRole);
        } else {
            model->setData(index, combo->currentText(), Qt::EditRole);
        }
    } else if (auto *line = qobject_cast<QLineEdit *>(editor)) {
        model->setData(index, editorValue(line), Qt::EditRole);
    }
    // What is written now is the editor's new starting point.
    if (auto *combo = qobject_cast<QComboBox *>(editor))
        editor->setProperty(kOriginal, combo->currentText());
    if (auto *line = qobject_cast<QLineEdit *>(editor))
        line->setModified(false);
}

void DBGridDelegate::destroyEditor(QWidget *editor, const QModelIndex &index) const
{
    if (m_editor == editor)
        m_editor = nullptr;
    QStyledItemDelegate::destroyEditor(editor, index);
}

bool DBGridDelegate::eventFilter(QObject *object, QEvent *event)
{
    auto *editor = qobject_cast<QWidget *>(object);
    if (editor && event->type() == QEvent::KeyPress) {
        auto *key = static_cast<QKeyEvent *>(event);
        if (m_grid->isForwardedKey(key->key())) {
            m_grid->forwardKeyFromEditor(key);
            return true;
        }
        switch (key->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            m_grid->commitAndAdvance();
            return true;
        case Qt::Key_Escape:
            m_grid->escapeFromEditor();
            return true;
        default:
            break;
        }
    }
    return QStyledItemDelegate::eventFilter(object, event);
}
