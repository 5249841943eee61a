#include "grid/gridcolumnsmodel.h"
#include "data/recordset.h"
#include "data/recordsetmodel.h"

GridColumnsModel::GridColumnsModel(RecordSetModel *source, const QList<GridColumn> &columns, QObject *parent)
    : QAbstractTableModel(parent), m_source(source), m_columns(columns)
{
    connect(source, &QAbstractItemModel::modelAboutToBeReset, this, [this] { beginResetModel(); });
    connect(source, &QAbstractItemModel::modelReset, this, [this] { endResetModel(); });
    connect(source, &QAbstractItemModel::dataChanged, this, [this](const QModelIndex &from, const QModelIndex &to) {
        if (from.isValid() && to.isValid() && !m_columns.isEmpty())
            emit dataChanged(index(from.row(), 0), index(to.row(), int(m_columns.size()) - 1));
    });
}

int GridColumnsModel::sourceColumn(int column) const
{
    if (column < 0 || column >= m_columns.size())
        return -1;
    return m_source->recordSet()->fieldIndex(m_columns[column].field);
}

int GridColumnsModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_source->rowCount();
}

int GridColumnsModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_columns.size());
}

QVariant GridColumnsModel::data(const QModelIndex &index, int role) const
{
    const int c = sourceColumn(index.column());
    if (!index.isValid() || c < 0)
        return {};
    if (role == Qt::TextAlignmentRole && m_columns[index.column()].alignment)
        return QVariant::fromValue(m_columns[index.column()].alignment);
    return m_source->data(m_source->index(index.row(), c), role);
}

QVariant GridColumnsModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && section >= 0 && section < m_columns.size()) {
        if (role == Qt::DisplayRole)
            return m_columns[section].title;
        if (role == Qt::TextAlignmentRole && m_columns[section].alignment)
            return QVariant::fromValue(m_columns[section].alignment);
    }
    return QAbstractTableModel::headerData(section, orientation, role);
}

Qt::ItemFlags GridColumnsModel::flags(const QModelIndex &index) const
{
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}
