#include "data/guardedsave.h"
#include "data/concurrencyerror.h"
#include "data/helpers.h"
#include "data/recordset.h"
#include "data/tdm.h"

#include <optional>
#include <vector>

namespace {

using Values = std::vector<QVariant>;

// The first row of a statement run on IBQ2 in the held transaction; nothing when there is none.
std::optional<Values> firstRow(const QString &sql)
{
    IbQuery *q = DM->IBQ2;
    q->close();
    q->setSql(sql);
    try {
        q->open();
    } catch (...) {
        q->close();
        throw;
    }
    std::optional<Values> row;
    if (!q->eof()) {
        row.emplace();
        for (int i = 0; i < q->columnCount(); ++i)
            row->push_back(q->value(i));
    }
    q->close();
    return row;
}

// A locking read, run again while another transaction's lock or change is in its way, for
// the connection's lock timeout at most; the last conflict is raised after that.
std::optional<Values> lockedRow(const QString &sql)
{
    std::optional<Values> row;
    ConcurrencyError::retryWhileBusy(DM->IDB->lockTimeout(), [&] { row = firstRow(sql); });
    return row;
}

// The stored fields of a record set, by index.
std::vector<int> storedFields(const RecordSet &set)
{
    std::vector<int> fields;
    for (int i = 0; i < set.fieldCount(); ++i)
        if (set.fieldDef(i).kind == FieldKind::Data)
            fields.push_back(i);
    return fields;
}

// Two readings of one row side by side in a record set of the same stored fields, so that
// each value is written as the statements write it (SqlLiteral) and compared as such: texts
// trimmed and in capitals, numbers in their shortest form, empty values as NULL.
class Readings
{
public:
    Readings(const RecordSet &set, const std::vector<int> &fields) : m_set(set.name())
    {
        for (int i : fields) {
            FieldDef def = set.fieldDef(i);
            def.required = false; // a reading may hold what the set's own rules would refuse
            m_set.addField(def);
        }
        m_set.createDataSet();
    }
    void add(const Values &values) { m_set.appendValues(values); }
    QStringList literals(int row)
    {
        m_set.endAppendValues();
        m_set.moveTo(row);
        QStringList out;
        for (int i = 0; i < m_set.fieldCount(); ++i)
            out << SqlLiteral(&m_set, i);
        return out;
    }

private:
    RecordSet m_set;
};

} // namespace

GuardedSave::GuardedSave(Purpose purpose) : m_purpose(purpose)
{
    if (!sharedDatabase() || DM->m_writeHeld)
        return;
    DM->IBQ2->close();
    m_write.emplace();
    DM->m_writeHeld = true;
    m_owner = true;
    m_wait.emplace();
}

GuardedSave::~GuardedSave() noexcept(false)
{
    // The transaction, when not committed, is rolled back as its member ends.
    if (m_write)
        DM->m_writeHeld = false;
}

bool GuardedSave::sharedDatabase()
{
    return DM && !DM->IDB->server().isEmpty();
}

bool GuardedSave::lock(const QString &table, const QString &keyColumn, const QString &key)
{
    if (!sharedDatabase() || !DM->m_writeHeld || key.trimmed().isEmpty())
        return true;
    try {
        return lockedRow(QStringLiteral("select ") + keyColumn + QStringLiteral(" from ") + table
                         + QStringLiteral(" where ") + keyColumn + u'=' + key + QStringLiteral(" with lock"))
            .has_value();
    } catch (const ConcurrencyError &e) {
        if (m_purpose == Purpose::Save && e.retryable())
            throw ConcurrencyError(ConcurrencyError::Kind::RecordBusy, table, DM->IDB->lockTimeout());
        throw;
    }
}

void GuardedSave::lockAgent(const QString &agentId)
{
    lock(QStringLiteral("econ_agent"), QStringLiteral("ea_id"), agentId);
}

void GuardedSave::lockRow(RecordSet &set, int key)
{
    if (!sharedDatabase() || !DM->m_writeHeld || set.state() == RecordSet::State::Insert || set.recNo() < 0)
        return;
    const std::vector<int> fields = storedFields(set);
    Readings readings(set, fields);
    Values stored;
    QStringList columns;
    int keyAt = 0;
    for (size_t i = 0; i < fields.size(); ++i) {
        stored.push_back(set.valueAt(set.recNo(), fields[i]));
        columns << set.fieldDef(fields[i]).name;
        if (fields[i] == key)
            keyAt = int(i);
    }
    readings.add(stored);
    const QString keyLiteral = readings.literals(0).value(keyAt);
    const QString read = QStringLiteral("select ") + columns.join(u',') + QStringLiteral(" from ") + set.name()
                         + QStringLiteral(" where ") + set.fieldDef(key).name + u'=' + keyLiteral;
    const int wait = DM->IDB->lockTimeout();

    std::optional<Values> current;
    bool held = false;
    try {
        current = lockedRow(read + QStringLiteral(" with lock"));
    } catch (const ConcurrencyError &e) {
        if (!e.retryable())
            throw;
        // Held by another transaction still, or changed by one that has ended: as committed now.
        held = true;
        current = firstRow(read);
    }
    if (!current) {
        set.cancel();
        set.deleteRecord();
        throw ConcurrencyError(ConcurrencyError::Kind::RecordDeleted, set.name(), wait);
    }
    readings.add(*current);
    if (readings.literals(0) != readings.literals(1)) {
        Values values(size_t(set.fieldCount()));
        for (size_t i = 0; i < fields.size(); ++i)
            values[size_t(fields[i])] = current->at(i);
        set.replaceCurrentRow(values);
        throw ConcurrencyError(ConcurrencyError::Kind::RecordChanged, set.name(), wait);
    }
    if (held)
        throw ConcurrencyError(ConcurrencyError::Kind::RecordBusy, set.name(), wait);
}

void GuardedSave::commit()
{
    if (!m_write)
        return;
    DM->m_writeHeld = false;
    m_write->commit();
    m_write.reset();
}
