#pragma once
// Presents chosen fields of a record set, in a chosen order and under their own titles, on
// top of the record set's item model; the fields are found by name each time the set changes.

#include "grid/gridcolumn.h"

#include <QAbstractTableModel>
#include <QList>

class RecordSetModel;

class GridColumnsModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    GridColumnsModel(RecordSetModel *source, const QList<GridColumn> &columns, QObject *parent = nullptr);

    RecordSetModel *sourceModel() const { return m_source; }
    const QList<GridColumn> &gridColumns() const { return m_columns; }
    // The record set's field index behind a grid column, -1 when the set lacks the field.
    int sourceColumn(int column) const;

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

private:
    RecordSetModel *m_source;
    QList<GridColumn> m_columns;
};
