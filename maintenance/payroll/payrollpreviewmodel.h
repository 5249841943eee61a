#pragma once
// The lines of a payroll import as a table for a view: line, person, month, amounts and fate,
// a few thousand of them without an item for each cell.

#include "maintenance/payroll/payrollimportresult.h"

#include <QAbstractTableModel>

class PayrollPreviewModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    enum Column { Line, Person, Cpas, Idnp, Month, PayFund, SickPay, Fate, ColumnCount };

    explicit PayrollPreviewModel(QObject *parent = nullptr);

    void setResult(PayrollImportResult result);
    const PayrollImportResult &result() const { return m_result; }

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    PayrollImportResult m_result;
};
