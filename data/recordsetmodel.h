#pragma once
// Presents a record set to Qt's views: one row per visible record (plus the row being
// inserted), one column per field. Edits made in a view go through the record set's own
// edit and post, so the save rules always run.

#include <QAbstractTableModel>
#include <QPointer>

class DataSource;
class RecordSet;

class RecordSetModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    explicit RecordSetModel(RecordSet *set, QObject *parent = nullptr);
    // Follows the data source: while it is disabled the model shows no rows.
    explicit RecordSetModel(DataSource *source, QObject *parent = nullptr);

    RecordSet *recordSet() const { return m_set; }

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role) override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    // The model row of the record set's current row (the row being inserted included).
    int currentRow() const;
    // Record row behind a model row, -1 for the row being inserted.
    int recordRow(int modelRow) const;

private:
    void connectSet();
    bool showing() const;

    RecordSet *m_set;
    QPointer<DataSource> m_source;
};
