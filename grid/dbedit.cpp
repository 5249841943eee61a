#include "grid/dbedit.h"
#include "platform/guard.h"
#include "data/dberror.h"
#include "data/fielddef.h"
#include "data/recordset.h"
#include "grid/uppercaseinput.h"

DbEdit::DbEdit(QWidget *parent) : MaskedLineEdit(parent)
{
    connect(&m_link, &FieldLink::changed, this, &DbEdit::refresh);
    connect(this, &QLineEdit::textEdited, this, &DbEdit::userEdited);
    connect(this, &QLineEdit::editingFinished, this, &DbEdit::editingDone);
}

DbEdit::DbEdit(DataSource *source, const QString &fieldName, QWidget *parent) : DbEdit(parent)
{
    setDataField(source, fieldName);
}

void DbEdit::setDataField(DataSource *source, const QString &fieldName)
{
    m_link.bind(source, fieldName);
}

void DbEdit::applyFieldAttributes()
{
    const FieldDef *def = m_link.showing() ? m_link.fieldDef() : nullptr;
    const QString maskText = def ? def->editMask : QString();
    if (maskText != m_maskSource) {
        m_maskSource = maskText;
        m_mask = EditMask(maskText);
        setInputMask(m_mask.inputMask());
    }
    setMaxLength(def && isStringType(def->type) && def->size > 0 && m_mask.isEmpty() ? def->size : 32767);
    if (def)
        setAlignment(def->alignment);
}

void DbEdit::refresh()
{
    if (m_pending) {
        // Keep a half-typed value while its row is still being edited.
        RecordSet *set = m_link.dataSet();
        if (m_link.showing() && set->isEditing())
            return;
        m_pending = false;
    }
    m_refreshing = true;
    applyFieldAttributes();
    const QString shown = m_link.displayText();
    if ((m_mask.isEmpty() ? text() : m_mask.valueOf(displayText())) != shown)
        setText(shown);
    m_refreshing = false;
}

QVariant DbEdit::typedValue() const
{
    const QString t = m_mask.isEmpty() ? text() : m_mask.valueOf(displayText());
    return t.isEmpty() ? QVariant() : QVariant(t);
}

void DbEdit::userEdited()
{
    if (m_refreshing)
        return;
    if (!m_link.showing()) {
        // Nothing to edit: the control stays empty.
        setText(QString());
        return;
    }
    if (m_upper)
        UpperCaseInput::apply(this);
    runGuarded([this] { storeText(); });
}

void DbEdit::storeText()
{
    const FieldDef *def = m_link.fieldDef();
    if (def && !isStringType(def->type)) {
        // A number or date is stored once it reads as one; until then the row is only put
        // into edit, and leaving the box stores it (or shows why it cannot).
        try {
            m_link.write(typedValue());
            m_pending = false;
        } catch (const DbError &) {
            m_link.beginEdit();
            m_pending = true;
        }
        return;
    }
    m_link.write(typedValue());
    m_pending = false;
}

void DbEdit::editingDone()
{
    if (!m_pending || !m_link.showing())
        return;
    runGuarded([this] {
        m_link.write(typedValue());
        m_pending = false;
    });
}
