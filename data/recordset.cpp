#include "data/recordset.h"
#include "data/romanianorder.h"
#include "data/dberror.h"
#include "data/docseries.h"
#include "data/formats.h"

#include <algorithm>

RecordSet::RecordSet(const QString &name, QObject *parent) : QObject(parent)
{
    setObjectName(name);
}

// ---------------------------------------------------------------- structure

void RecordSet::clearFields()
{
    close();
    m_defs.clear();
    emit structureChanged();
}

FieldDef &RecordSet::addField(const FieldDef &def)
{
    if (active())
        throw DbError(QStringLiteral("Cannot perform this operation on an open dataset"));
    m_defs.push_back(def);
    return m_defs.back();
}

FieldDef &RecordSet::addField(const QString &name, FieldType type, int size, bool required)
{
    FieldDef d;
    d.name = name;
    d.type = type;
    d.size = size;
    d.required = required;
    if (type == FieldType::SmallInt || type == FieldType::Integer || type == FieldType::LargeInt
        || isFloatType(type))
        d.alignment = Qt::AlignRight | Qt::AlignVCenter;
    return addField(d);
}

FieldDef &RecordSet::addLookupField(const QString &name, FieldType type, int size, const QString &keyField,
                                    RecordSet *lookupSet, const QString &lookupKeyField, const QString &resultField)
{
    FieldDef d;
    d.name = name;
    d.type = type;
    d.size = size;
    d.kind = FieldKind::Lookup;
    d.keyField = keyField;
    d.lookupDataSet = lookupSet;
    d.lookupKeyField = lookupKeyField;
    d.lookupResultField = resultField;
    return addField(d);
}

FieldDef &RecordSet::addCalculatedField(const QString &name, FieldType type, int size)
{
    FieldDef &d = addField(name, type, size);
    d.kind = FieldKind::Calculated;
    return d;
}

int RecordSet::dataFieldCount() const
{
    int n = 0;
    for (const auto &d : m_defs)
        if (d.kind == FieldKind::Data)
            ++n;
    return n;
}

int RecordSet::fieldIndex(const QString &name) const
{
    for (size_t i = 0; i < m_defs.size(); ++i)
        if (m_defs[i].name.compare(name, Qt::CaseInsensitive) == 0)
            return int(i);
    return -1;
}

Field RecordSet::field(const QString &name)
{
    const int i = fieldIndex(name);
    if (i < 0)
        throw DbError(QStringLiteral("%1: Field '%2' not found").arg(objectName(), name));
    return Field(this, i);
}

Field RecordSet::fieldByIndex(int i)
{
    if (i < 0 || i >= fieldCount())
        throw DbError(QStringLiteral("%1: List index out of bounds (%2)").arg(objectName()).arg(i));
    return Field(this, i);
}

// ---------------------------------------------------------------- opening

void RecordSet::createDataSet()
{
    if (m_defs.empty())
        throw DbError(QStringLiteral("%1: Missing data provider or data packet").arg(objectName()));
    m_rows.clear();
    m_view.clear();
    m_buffer.clear();
    m_modified = false;
    m_state = State::Browse;
    rebuildView(false);
    notifyReset();
    emit stateChanged();
}

void RecordSet::close()
{
    if (m_state == State::Inactive)
        return;
    m_rows.clear();
    m_view.clear();
    m_buffer.clear();
    m_cur = -1;
    m_eof = m_bof = true;
    m_state = State::Inactive;
    notifyReset();
    emit stateChanged();
}

void RecordSet::requireActive() const
{
    if (!active())
        throw DbError(QStringLiteral("%1: Cannot perform this operation on a closed dataset").arg(objectName()));
}

// ---------------------------------------------------------------- order and links

void RecordSet::setIndexFieldNames(const QString &names)
{
    m_indexFields = names.split(u';', Qt::SkipEmptyParts);
    if (active())
        rebuildView(true);
}

void RecordSet::setMaster(RecordSet *master, const QString &masterField, const QString &detailField)
{
    if (m_master)
        disconnect(m_master, nullptr, this, nullptr);
    m_master = master;
    m_masterField = masterField;
    m_detailField = detailField;
    if (m_master) {
        auto follow = [this] {
            if (active() && !isEditing()) {
                rebuildView(false);
                notifyReset();
            }
        };
        connect(m_master, &RecordSet::currentChanged, this, follow);
        connect(m_master, &RecordSet::dataReset, this, follow);
        connect(m_master, &RecordSet::currentValuesChanged, this, follow);
    }
    if (active())
        rebuildView(false);
}

bool RecordSet::rowVisible(const Row &r) const
{
    if (!m_master)
        return true;
    const int di = fieldIndex(m_detailField);
    const int mi = m_master->fieldIndex(m_masterField);
    if (di < 0 || mi < 0 || !m_master->active())
        return false;
    const QVariant mv = m_master->currentValue(mi);
    const QVariant dv = r[size_t(di)];
    if (mv.isNull() || dv.isNull())
        return false;
    if (isStringType(m_defs[size_t(di)].type))
        return dv.toString() == mv.toString();
    return dv.toDouble() == mv.toDouble();
}

namespace {

int compareValues(const QVariant &a, const QVariant &b, FieldType t)
{
    if (a.isNull() || b.isNull())
        return a.isNull() == b.isNull() ? 0 : (a.isNull() ? -1 : 1);
    if (isStringType(t))
        return a.toString().compare(b.toString(), Qt::CaseInsensitive);
    if (isDateType(t)) {
        const QDateTime x = a.toDateTime(), y = b.toDateTime();
        return x < y ? -1 : (y < x ? 1 : 0);
    }
    const double x = a.toDouble(), y = b.toDouble();
    return x < y ? -1 : (y < x ? 1 : 0);
}

} // namespace

void RecordSet::sortView()
{
    if (m_indexFields.isEmpty())
        return;
    std::vector<std::pair<int, FieldType>> keys;
    for (const QString &n : m_indexFields) {
        const int i = fieldIndex(n);
        if (i >= 0)
            keys.emplace_back(i, m_defs[size_t(i)].type);
    }
    std::stable_sort(m_view.begin(), m_view.end(), [&](int a, int b) {
        for (const auto &[f, t] : keys) {
            const QVariant &x = m_rows[size_t(a)][size_t(f)], &y = m_rows[size_t(b)][size_t(f)];
            // Texts in the order a Romanian reader expects (CĂLĂRAŞI before CRIULENI).
            const int c = isStringType(t) && !x.isNull() && !y.isNull()
                ? RomanianOrder::compare(x.toString(), y.toString())
                : compareValues(x, y, t);
            if (c)
                return c < 0;
        }
        return false;
    });
}

void RecordSet::rebuildView(bool keepCurrent)
{
    const int currentRow = keepCurrent && m_cur >= 0 && m_cur < int(m_view.size()) ? m_view[size_t(m_cur)] : -1;
    m_view.clear();
    for (size_t i = 0; i < m_rows.size(); ++i)
        if (rowVisible(m_rows[i]))
            m_view.push_back(int(i));
    sortView();
    m_cur = m_view.empty() ? -1 : 0;
    if (currentRow >= 0) {
        auto it = std::find(m_view.begin(), m_view.end(), currentRow);
        if (it != m_view.end())
            m_cur = int(it - m_view.begin());
    }
    m_bof = true;
    m_eof = m_view.empty();
}

// ---------------------------------------------------------------- navigation

void RecordSet::scrolled()
{
    notifyCurrent();
    if (afterScroll)
        afterScroll(*this);
}

void RecordSet::first()
{
    requireActive();
    checkBrowseMode();
    m_cur = m_view.empty() ? -1 : 0;
    m_bof = true;
    m_eof = m_view.empty();
    scrolled();
}

void RecordSet::last()
{
    requireActive();
    checkBrowseMode();
    m_cur = int(m_view.size()) - 1;
    m_eof = true;
    m_bof = m_view.empty();
    scrolled();
}

void RecordSet::next()
{
    requireActive();
    checkBrowseMode();
    if (m_cur + 1 < int(m_view.size())) {
        ++m_cur;
        m_bof = false;
        m_eof = false;
        scrolled();
    } else {
        m_eof = true;
    }
}

void RecordSet::prior()
{
    requireActive();
    checkBrowseMode();
    if (m_cur > 0) {
        --m_cur;
        m_eof = false;
        m_bof = false;
        scrolled();
    } else {
        m_bof = true;
    }
}

void RecordSet::moveTo(int row)
{
    requireActive();
    checkBrowseMode();
    if (row < 0 || row >= int(m_view.size()) || row == m_cur)
        return;
    m_cur = row;
    m_bof = m_eof = false;
    scrolled();
}

bool RecordSet::locate(const QString &fieldName, const QVariant &value)
{
    requireActive();
    checkBrowseMode();
    const int f = fieldIndex(fieldName);
    if (f < 0)
        throw DbError(QStringLiteral("%1: Field '%2' not found").arg(objectName(), fieldName));
    for (size_t i = 0; i < m_view.size(); ++i) {
        const QVariant v = storedOrLookup(m_rows[size_t(m_view[i])], f);
        if (compareValues(v, value, m_defs[size_t(f)].type) == 0 && v.isNull() == value.isNull()) {
            m_cur = int(i);
            m_bof = m_eof = false;
            scrolled();
            return true;
        }
    }
    return false;
}

// ---------------------------------------------------------------- editing

void RecordSet::checkBrowseMode()
{
    if (!isEditing())
        return;
    if (m_modified)
        post();
    else
        cancel();
}

void RecordSet::beginInsert(bool appendAtEnd)
{
    requireActive();
    checkBrowseMode();
    m_buffer.assign(m_defs.size(), QVariant());
    if (m_master) {
        const int di = fieldIndex(m_detailField);
        const int mi = m_master->fieldIndex(m_masterField);
        if (di >= 0 && mi >= 0)
            m_buffer[size_t(di)] = convert(m_defs[size_t(di)], m_master->currentValue(mi));
    }
    m_insertPos = appendAtEnd || m_cur < 0 ? int(m_view.size()) : m_cur;
    m_state = State::Insert;
    calculate(m_buffer);
    m_modified = false;
    notifyReset();
    emit stateChanged();
    if (afterInsert)
        afterInsert(*this);
    if (afterScroll)
        afterScroll(*this);
}

void RecordSet::append() { beginInsert(true); }
void RecordSet::insert() { beginInsert(false); }

void RecordSet::edit()
{
    requireActive();
    if (isEditing())
        return;
    if (m_cur < 0) {
        // Editing an empty set starts a new row, as data-aware controls expect.
        append();
        return;
    }
    m_buffer = m_rows[size_t(m_view[size_t(m_cur)])];
    m_state = State::Edit;
    m_modified = false;
    emit stateChanged();
}

void RecordSet::post()
{
    if (!isEditing())
        return;
    if (beforePost)
        beforePost(*this);
    if (!isEditing()) // the handler cancelled the row itself
        return;
    for (size_t i = 0; i < m_defs.size(); ++i) {
        const FieldDef &d = m_defs[i];
        if (d.kind == FieldKind::Data && d.required && m_buffer[i].isNull())
            throw DbError(QStringLiteral("Field '%1' must have a value").arg(d.displayName()));
    }
    calculate(m_buffer);
    if (m_state == State::Insert) {
        m_rows.push_back(m_buffer);
        const int stored = int(m_rows.size()) - 1;
        if (rowVisible(m_rows.back())) {
            const int pos = std::clamp(m_insertPos, 0, int(m_view.size()));
            m_view.insert(m_view.begin() + pos, stored);
            sortView();
            m_cur = int(std::find(m_view.begin(), m_view.end(), stored) - m_view.begin());
        }
    } else {
        m_rows[size_t(m_view[size_t(m_cur)])] = m_buffer;
        const int stored = m_view[size_t(m_cur)];
        sortView();
        m_cur = int(std::find(m_view.begin(), m_view.end(), stored) - m_view.begin());
    }
    m_state = State::Browse;
    m_buffer.clear();
    m_modified = false;
    m_insertPos = -1;
    m_eof = m_bof = false;
    notifyReset();
    emit stateChanged();
    if (afterPost)
        afterPost(*this);
}

void RecordSet::cancel()
{
    if (!isEditing())
        return;
    const bool wasInsert = m_state == State::Insert;
    m_state = State::Browse;
    m_buffer.clear();
    m_modified = false;
    m_insertPos = -1;
    if (m_cur >= int(m_view.size()))
        m_cur = int(m_view.size()) - 1;
    notifyReset();
    emit stateChanged();
    if (wasInsert)
        scrolled();
}

void RecordSet::deleteRecord()
{
    requireActive();
    if (m_state == State::Insert) {
        cancel();
        return;
    }
    if (m_cur < 0)
        throw DbError(QStringLiteral("%1: Cannot perform this operation on an empty dataset").arg(objectName()));
    m_state = State::Browse;
    m_buffer.clear();
    const int stored = m_view[size_t(m_cur)];
    m_rows.erase(m_rows.begin() + stored);
    const int keep = m_cur;
    rebuildView(false);
    m_cur = m_view.empty() ? -1 : std::min(keep, int(m_view.size()) - 1);
    notifyReset();
    emit stateChanged();
    scrolled();
}

void RecordSet::replaceCurrentRow(const std::vector<QVariant> &values)
{
    requireActive();
    if (m_state == State::Insert || m_cur < 0)
        return;
    m_state = State::Browse;
    m_buffer.clear();
    m_modified = false;
    const int stored = m_view[size_t(m_cur)];
    Row &r = m_rows[size_t(stored)];
    for (size_t i = 0; i < values.size() && i < m_defs.size(); ++i)
        if (m_defs[i].kind == FieldKind::Data)
            r[i] = convert(m_defs[i], values[i]);
    calculate(r);
    sortView();
    m_cur = int(std::find(m_view.begin(), m_view.end(), stored) - m_view.begin());
    notifyReset();
    emit stateChanged();
}

void RecordSet::appendValues(const std::vector<QVariant> &values)
{
    requireActive();
    if (values.size() > m_defs.size())
        throw DbError(QStringLiteral("%1: List index out of bounds (%2)").arg(objectName()).arg(m_defs.size()));
    Row r(m_defs.size());
    for (size_t i = 0; i < values.size(); ++i) {
        const FieldDef &d = m_defs[i];
        if (d.kind == FieldKind::Lookup)
            continue;
        r[i] = convert(d, values[i]);
    }
    for (size_t i = 0; i < m_defs.size(); ++i) {
        const FieldDef &d = m_defs[i];
        if (d.kind == FieldKind::Data && d.required && r[i].isNull())
            throw DbError(QStringLiteral("Field '%1' must have a value").arg(d.displayName()));
    }
    calculate(r);
    m_rows.push_back(std::move(r));
}

void RecordSet::endAppendValues()
{
    rebuildView(false);
    notifyReset();
}

void RecordSet::emptyDataSet()
{
    requireActive();
    m_state = State::Browse;
    m_buffer.clear();
    m_modified = false;
    m_insertPos = -1;
    m_rows.clear();
    m_view.clear();
    m_cur = -1;
    m_eof = m_bof = true;
    notifyReset();
    emit stateChanged();
}

// ---------------------------------------------------------------- values

QVariant RecordSet::convert(const FieldDef &def, const QVariant &v) const
{
    if (!v.isValid() || v.isNull())
        return {};
    bool ok = true;
    switch (def.type) {
    case FieldType::String:
    case FieldType::FixedChar:
    case FieldType::WideString:
    case FieldType::Memo: {
        QString s;
        if (v.typeId() == QMetaType::Double)
            s = Formats::floatText(v.toDouble());
        else if (v.typeId() == QMetaType::QDateTime)
            s = Formats::dateTimeText(v.toDateTime());
        else if (v.typeId() == QMetaType::QDate)
            s = Formats::dateText(v.toDate());
        else
            s = v.toString();
        if (def.size > 0 && def.type != FieldType::Memo && s.size() > def.size)
            s.truncate(def.size);
        if (def.cyrillicSeries)
            s = DocSeries::toShown(s);
        return s;
    }
    case FieldType::SmallInt:
    case FieldType::Integer:
    case FieldType::LargeInt: {
        if (v.typeId() == QMetaType::QString) {
            const QString t = v.toString().trimmed();
            if (t.isEmpty())
                return {};
            const qint64 x = t.toLongLong(&ok);
            if (!ok)
                throw DbError(QStringLiteral("'%1' nu este un număr întreg valid").arg(t));
            return def.type == FieldType::LargeInt ? QVariant(x) : QVariant(int(x));
        }
        const qint64 x = qRound64(v.toDouble(&ok));
        if (!ok)
            throw DbError(QStringLiteral("'%1' nu este un număr întreg valid").arg(v.toString()));
        return def.type == FieldType::LargeInt ? QVariant(x) : QVariant(int(x));
    }
    case FieldType::Float:
    case FieldType::Currency: {
        if (v.typeId() == QMetaType::QString) {
            const QString t = v.toString().trimmed();
            if (t.isEmpty())
                return {};
            QString u = t;
            u.remove(u' ');
            const double x = u.toDouble(&ok);
            if (!ok)
                throw DbError(QStringLiteral("'%1' nu este un număr valid").arg(t));
            return x;
        }
        const double x = v.toDouble(&ok);
        if (!ok)
            throw DbError(QStringLiteral("'%1' nu este un număr valid").arg(v.toString()));
        return x;
    }
    case FieldType::Date:
    case FieldType::DateTime: {
        QDateTime dt;
        if (v.typeId() == QMetaType::QString) {
            const QString t = v.toString().trimmed();
            if (t.isEmpty())
                return {};
            dt = Formats::parseDateTime(t);
            if (!dt.isValid())
                throw DbError(QStringLiteral("'%1' nu este o dată validă").arg(t));
        } else if (v.typeId() == QMetaType::QDate) {
            dt = Formats::dateTime(v.toDate());
        } else {
            dt = v.toDateTime();
        }
        if (def.type == FieldType::Date)
            dt = Formats::dateTime(dt.date());
        return dt;
    }
    case FieldType::Time: return v.toTime();
    case FieldType::Boolean: return v.toBool();
    case FieldType::Unknown: return v;
    }
    return v;
}

QVariant RecordSet::lookupValue(const FieldDef &def, const Row &r) const
{
    RecordSet *ls = def.lookupDataSet;
    const int ki = fieldIndex(def.keyField);
    if (!ls || ki < 0 || !ls->active())
        return {};
    const QVariant key = r[size_t(ki)];
    if (key.isNull())
        return {};
    const int lk = ls->fieldIndex(def.lookupKeyField);
    const int lr = ls->fieldIndex(def.lookupResultField);
    if (lk < 0 || lr < 0)
        return {};
    for (const Row &row : ls->m_rows) {
        const QVariant v = row[size_t(lk)];
        if (!v.isNull() && compareValues(v, key, ls->m_defs[size_t(lk)].type) == 0)
            return row[size_t(lr)];
    }
    return {};
}

QVariant RecordSet::storedOrLookup(const Row &r, int field) const
{
    const FieldDef &d = m_defs[size_t(field)];
    if (d.kind == FieldKind::Lookup)
        return lookupValue(d, r);
    return r[size_t(field)];
}

QVariant RecordSet::currentValue(int field) const
{
    if (m_calcRow)
        return storedOrLookup(*m_calcRow, field);
    if (isEditing())
        return storedOrLookup(m_buffer, field);
    if (m_cur >= 0 && m_cur < int(m_view.size()))
        return storedOrLookup(m_rows[size_t(m_view[size_t(m_cur)])], field);
    return {};
}

void RecordSet::setCurrentValue(int field, const QVariant &v)
{
    const FieldDef &d = m_defs[size_t(field)];
    if (m_calcTarget) {
        if (d.kind != FieldKind::Calculated)
            throw DbError(QStringLiteral("%1: Dataset not in edit or insert mode").arg(objectName()));
        (*m_calcTarget)[size_t(field)] = convert(d, v);
        return;
    }
    if (!isEditing())
        throw DbError(QStringLiteral("%1: Dataset not in edit or insert mode").arg(objectName()));
    if (d.kind == FieldKind::Lookup) {
        // Choosing a lookup value sets the key field to the matching key.
        RecordSet *ls = d.lookupDataSet;
        if (ls && ls->active()) {
            const int lk = ls->fieldIndex(d.lookupKeyField), lr = ls->fieldIndex(d.lookupResultField);
            for (const Row &row : ls->m_rows)
                if (lk >= 0 && lr >= 0 && row[size_t(lr)] == v) {
                    setCurrentValue(fieldIndex(d.keyField), row[size_t(lk)]);
                    return;
                }
        }
        return;
    }
    m_buffer[size_t(field)] = convert(d, v);
    m_modified = true;
    calculate(m_buffer);
    if (!m_disabled)
        emit currentValuesChanged();
}

void RecordSet::calculate(Row &r)
{
    if (!onCalcFields)
        return;
    bool any = false;
    for (const auto &d : m_defs)
        if (d.kind == FieldKind::Calculated)
            any = true;
    if (!any)
        return;
    const Row *savedRow = m_calcRow;
    Row *savedTarget = m_calcTarget;
    m_calcRow = &r;
    m_calcTarget = &r;
    try {
        onCalcFields(*this);
    } catch (...) {
        m_calcRow = savedRow;
        m_calcTarget = savedTarget;
        throw;
    }
    m_calcRow = savedRow;
    m_calcTarget = savedTarget;
}

QVariant RecordSet::valueAt(int row, int field) const
{
    if (row < 0 || row >= int(m_view.size()) || field < 0 || field >= fieldCount())
        return {};
    return storedOrLookup(m_rows[size_t(m_view[size_t(row)])], field);
}

QString RecordSet::displayTextAt(int row, int field) const
{
    const QVariant v = valueAt(row, field);
    if (v.isNull())
        return {};
    const FieldDef &d = m_defs[size_t(field)];
    if (isFloatType(d.type))
        return d.currency ? Formats::moneyText(v.toDouble()) : Formats::floatText(v.toDouble());
    if (d.type == FieldType::Date)
        return Formats::dateText(v.toDateTime().date());
    if (d.type == FieldType::DateTime)
        return Formats::dateTimeText(v.toDateTime());
    return v.toString();
}

// ---------------------------------------------------------------- notifications

void RecordSet::enableControls()
{
    if (m_disabled > 0 && --m_disabled == 0 && m_pendingReset) {
        m_pendingReset = false;
        emit dataReset();
        emit currentChanged();
    }
}

void RecordSet::notifyReset()
{
    if (m_disabled) {
        m_pendingReset = true;
        return;
    }
    emit dataReset();
    emit currentChanged();
}

void RecordSet::notifyCurrent()
{
    if (m_disabled) {
        m_pendingReset = true;
        return;
    }
    emit currentChanged();
}
