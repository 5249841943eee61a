#include "grid/dbgridmodel.h"
#include "platform/guard.h"
#include "data/recordset.h"
#include "grid/dbgridcolumn.h"

DBGridModel::DBGridModel(RecordSet *set, QObject *parent) : RecordSetModel(set, parent) {}

DBGridModel::DBGridModel(DataSource *source, QObject *parent) : RecordSetModel(source, parent) {}

void DBGridModel::setColumns(const QList<DBGridColumn *> &columns)
{
    beginResetModel();
    m_columns.clear();
    for (DBGridColumn *c : columns)
        m_columns << c;
    endResetModel();
}

DBGridColumn *DBGridModel::column(int c) const
{
    return c >= 0 && c < m_columns.size() ? m_columns.at(c).data() : nullptr;
}

int DBGridModel::fieldIndex(int column) const
{
    const DBGridColumn *c = this->column(column);
    return c ? recordSet()->fieldIndex(c->fieldName()) : -1;
}

const FieldDef *DBGridModel::fieldDef(int column) const
{
    const int f = fieldIndex(column);
    return f >= 0 ? &recordSet()->fieldDef(f) : nullptr;
}

void DBGridModel::setReadOnly(bool on)
{
    if (on == m_readOnly)
        return;
    m_readOnly = on;
    if (rowCount() > 0 && columnCount() > 0)
        emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
}

bool DBGridModel::takeRefusal()
{
    const bool r = m_refused;
    m_refused = false;
    return r;
}

void DBGridModel::columnChanged(int column)
{
    if (column < 0 || column >= columnCount())
        return;
    emit headerDataChanged(Qt::Horizontal, column, column);
    if (rowCount() > 0)
        emit dataChanged(index(0, column), index(rowCount() - 1, column));
}

int DBGridModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_columns.size());
}

QVariant DBGridModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid())
        return {};
    const DBGridColumn *col = column(index.column());
    const int f = fieldIndex(index.column());
    if (!col || f < 0)
        return {};
    const QModelIndex source = createIndex(index.row(), f);
    switch (role) {
    case Qt::TextAlignmentRole:
        if (col->hasAlignment())
            return QVariant::fromValue(col->alignment());
        return RecordSetModel::data(source, role);
    case Qt::DisplayRole:
        if (col->displayFormat()) {
            const QVariant v = RecordSetModel::data(source, Qt::EditRole);
            return v.isNull() ? QString() : col->displayFormat()(v);
        }
        return RecordSetModel::data(source, role);
    case Qt::EditRole: {
        // The text an editor starts from: what the field gives as a string.
        RecordSet *set = recordSet();
        if (index.row() == currentRow() && set->active())
            return set->fieldByIndex(f).asString();
        return RecordSetModel::data(source, Qt::DisplayRole);
    }
    default:
        return {};
    }
}

bool DBGridModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    const int f = fieldIndex(index.column());
    if (!index.isValid() || role != Qt::EditRole || f < 0)
        return false;
    QVariant v = value;
    if (v.typeId() == QMetaType::QString && v.toString().isEmpty())
        v = QVariant();
    const QModelIndex target = createIndex(index.row(), f);
    const bool ok = runGuarded([&] { RecordSetModel::setData(target, v, role); });
    if (!ok)
        m_refused = true;
    return ok;
}

Qt::ItemFlags DBGridModel::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags fl = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    const DBGridColumn *col = column(index.column());
    const FieldDef *def = fieldDef(index.column());
    if (!m_readOnly && col && !col->isReadOnly() && def && !def->readOnly && def->kind != FieldKind::Calculated)
        fl |= Qt::ItemIsEditable;
    return fl;
}

QVariant DBGridModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal)
        return RecordSetModel::headerData(section, orientation, role);
    const DBGridColumn *col = column(section);
    if (!col)
        return {};
    switch (role) {
    case Qt::DisplayRole: {
        if (!col->title().isEmpty())
            return col->title();
        const FieldDef *def = fieldDef(section);
        return def ? def->displayName() : col->fieldName();
    }
    case GroupTitleRole:
        return col->groupTitle();
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(Qt::Alignment(Qt::AlignCenter));
    default:
        return {};
    }
}
