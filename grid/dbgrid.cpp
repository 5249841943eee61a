#include "grid/dbgrid.h"
#include "platform/guard.h"
#include "data/datasource.h"
#include "data/recordset.h"
#include "data/recordsetmodel.h"
#include "grid/gridcolumnsmodel.h"

#include <QHeaderView>

DbGrid::DbGrid(QWidget *parent) : QTableView(parent)
{
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    verticalHeader()->setVisible(false);
    horizontalHeader()->setStretchLastSection(true);
}

RecordSet *DbGrid::dataSet() const
{
    return m_model ? m_model->recordSet() : nullptr;
}

void DbGrid::setDataSource(DataSource *source, const QList<GridColumn> &columns)
{
    if (RecordSet *old = dataSet())
        disconnect(old, nullptr, this, nullptr);
    if (m_source)
        disconnect(m_source, nullptr, this, nullptr);
    m_source = source;
    delete m_columns;
    delete m_model;
    m_model = new RecordSetModel(source, this);
    m_columns = new GridColumnsModel(m_model, columns, this);
    QItemSelectionModel *oldSelection = selectionModel();
    setModel(m_columns);
    delete oldSelection;
    for (int i = 0; i < columns.size(); ++i)
        if (columns[i].digits > 0)
            setColumnWidth(i, codeColumnWidth(columns[i]));
    RecordSet *set = source->dataSet();
    for (auto sig : {&RecordSet::currentChanged, &RecordSet::dataReset, &RecordSet::stateChanged})
        connect(set, sig, this, &DbGrid::followCurrent);
    connect(source, &DataSource::enabledChanged, this, &DbGrid::followCurrent);
    connect(selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex &current) { rowChosen(current); });
    followCurrent();
}

int DbGrid::codeColumnWidth(const GridColumn &column) const
{
    // Room for the digits and the cell's margins, and for the title beside the sort marks.
    const int cell = fontMetrics().horizontalAdvance(QString(column.digits, u'0')) + 16;
    const int title = horizontalHeader()->fontMetrics().horizontalAdvance(column.title) + 16;
    return qMax(cell, title);
}

void DbGrid::followCurrent()
{
    if (!m_model)
        return;
    m_following = true;
    const int row = m_model->rowCount() > 0 ? m_model->currentRow() : -1;
    if (row >= 0 && row < m_columns->rowCount()) {
        const QModelIndex at = m_columns->index(row, qMax(0, currentIndex().column()));
        selectionModel()->setCurrentIndex(at, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        scrollTo(at);
    } else {
        selectionModel()->clear();
    }
    m_following = false;
}

void DbGrid::rowChosen(const QModelIndex &current)
{
    if (m_following || !current.isValid() || !m_model)
        return;
    const int record = m_model->recordRow(current.row());
    RecordSet *set = dataSet();
    if (record < 0 || (record == set->recNo() && set->state() != RecordSet::State::Insert))
        return;
    runGuarded([set, record] { set->moveTo(record); });
    // A refused move (the row being edited could not be posted) keeps the set where it was.
    followCurrent();
}
