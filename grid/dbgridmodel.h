#pragma once
// The record set as a data grid shows it: only the configured columns, in their order, with
// their titles and alignment. Reading and writing still go through RecordSetModel, so edits
// use the record set's edit and post and its save rules.

#include "data/recordsetmodel.h"

#include <QList>
#include <QPointer>

class DBGridColumn;
struct FieldDef;

class DBGridModel : public RecordSetModel
{
    Q_OBJECT
public:
    // Header role giving a column's upper title ("" when it has none).
    static constexpr int GroupTitleRole = Qt::UserRole + 1;

    explicit DBGridModel(RecordSet *set, QObject *parent = nullptr);
    explicit DBGridModel(DataSource *source, QObject *parent = nullptr);

    void setColumns(const QList<DBGridColumn *> &columns);
    DBGridColumn *column(int c) const;
    // The record set's field behind a grid column, -1 when the set has no such field.
    int fieldIndex(int column) const;
    const FieldDef *fieldDef(int column) const;

    void setReadOnly(bool on);
    bool isReadOnly() const { return m_readOnly; }
    // Whether the last setData was refused (the message has been shown); clears the mark.
    bool takeRefusal();
    // A grid column changed its titles or look.
    void columnChanged(int column);

    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role) override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    QList<QPointer<DBGridColumn>> m_columns;
    bool m_readOnly = false;
    bool m_refused = false;
};
