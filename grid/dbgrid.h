#pragma once
// A read-only grid over a record set's data source: chosen columns under their own titles,
// whole-row selection that follows the set's current row, and moving in it moves the set.

#include "data/datasource.h"
#include "data/recordset.h"
#include "grid/gridcolumn.h"

#include <QList>
#include <QPointer>
#include <QTableView>

class GridColumnsModel;
class RecordSetModel;

class DbGrid : public QTableView
{
    Q_OBJECT
public:
    explicit DbGrid(QWidget *parent = nullptr);

    void setDataSource(DataSource *source, const QList<GridColumn> &columns);
    DataSource *dataSource() const { return m_source; }
    RecordSet *dataSet() const;
    GridColumnsModel *columnsModel() const { return m_columns; }

    // Selects the row of the set's current record.
    void followCurrent();

    // The width a code column needs for its digits and its title.
    int codeColumnWidth(const GridColumn &column) const;

private:
    void rowChosen(const QModelIndex &current);

    QPointer<DataSource> m_source;
    RecordSetModel *m_model = nullptr;
    GridColumnsModel *m_columns = nullptr;
    bool m_following = false;
};
