#include "data/recordsetmodel.h"
#include "data/datasource.h"
#include "data/recordset.h"

RecordSetModel::RecordSetModel(RecordSet *set, QObject *parent) : QAbstractTableModel(parent), m_set(set)
{
    connectSet();
}

RecordSetModel::RecordSetModel(DataSource *source, QObject *parent)
    : QAbstractTableModel(parent), m_set(source->dataSet()), m_source(source)
{
    connectSet();
    connect(source, &DataSource::enabledChanged, this, [this] {
        beginResetModel();
        endResetModel();
    });
}

void RecordSetModel::connectSet()
{
    auto reset = [this] {
        beginResetModel();
        endResetModel();
    };
    connect(m_set, &RecordSet::structureChanged, this, reset);
    connect(m_set, &RecordSet::dataReset, this, reset);
    connect(m_set, &RecordSet::stateChanged, this, reset);
    connect(m_set, &RecordSet::currentValuesChanged, this, [this] {
        const int r = currentRow();
        if (r >= 0)
            emit dataChanged(index(r, 0), index(r, columnCount() - 1));
    });
}

bool RecordSetModel::showing() const
{
    return m_set->active() && (!m_source || m_source->enabled());
}

int RecordSetModel::rowCount(const QModelIndex &parent) const
{
    if (parent.isValid() || !showing())
        return 0;
    return m_set->recordCount() + (m_set->state() == RecordSet::State::Insert ? 1 : 0);
}

int RecordSetModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_set->fieldCount();
}

int RecordSetModel::recordRow(int modelRow) const
{
    if (m_set->state() != RecordSet::State::Insert)
        return modelRow;
    const int ins = m_set->insertPosition();
    if (modelRow == ins)
        return -1;
    return modelRow > ins ? modelRow - 1 : modelRow;
}

int RecordSetModel::currentRow() const
{
    if (m_set->state() == RecordSet::State::Insert)
        return m_set->insertPosition();
    return m_set->recNo();
}

QVariant RecordSetModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || !showing())
        return {};
    const int rec = recordRow(index.row());
    const bool current = rec < 0 || (m_set->state() == RecordSet::State::Edit && rec == m_set->recNo());
    if (role == Qt::DisplayRole || role == Qt::EditRole) {
        if (current) {
            Field f(m_set, index.column());
            return role == Qt::EditRole ? f.value() : QVariant(f.displayText());
        }
        return role == Qt::EditRole ? m_set->valueAt(rec, index.column())
                                    : QVariant(m_set->displayTextAt(rec, index.column()));
    }
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(m_set->fieldDef(index.column()).alignment);
    return {};
}

bool RecordSetModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (!index.isValid() || role != Qt::EditRole)
        return false;
    const int rec = recordRow(index.row());
    if (rec >= 0 && rec != m_set->recNo())
        m_set->moveTo(rec);
    if (!m_set->isEditing())
        m_set->edit();
    Field(m_set, index.column()).setValue(value);
    return true;
}

Qt::ItemFlags RecordSetModel::flags(const QModelIndex &index) const
{
    Qt::ItemFlags f = QAbstractTableModel::flags(index);
    if (index.isValid() && !m_set->fieldDef(index.column()).readOnly
        && m_set->fieldDef(index.column()).kind != FieldKind::Calculated)
        f |= Qt::ItemIsEditable;
    return f;
}

QVariant RecordSetModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section < m_set->fieldCount())
        return m_set->fieldDef(section).displayName();
    return QAbstractTableModel::headerData(section, orientation, role);
}
