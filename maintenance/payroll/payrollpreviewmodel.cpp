#include "maintenance/payroll/payrollpreviewmodel.h"
#include "data/formats.h"

namespace {

QString money(const std::optional<double> &v)
{
    return v ? Formats::moneyText(*v) : QString();
}

} // namespace

PayrollPreviewModel::PayrollPreviewModel(QObject *parent) : QAbstractTableModel(parent)
{ }

void PayrollPreviewModel::setResult(PayrollImportResult result)
{
    beginResetModel();
    m_result = std::move(result);
    endResetModel();
}

int PayrollPreviewModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_result.outcomes.size());
}

int PayrollPreviewModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant PayrollPreviewModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || size_t(index.row()) >= m_result.outcomes.size())
        return {};
    const PayrollOutcome &o = m_result.outcomes[size_t(index.row())];
    if (role == Qt::TextAlignmentRole) {
        const bool right = index.column() == PayFund || index.column() == SickPay;
        const bool centred = index.column() == Line || index.column() == Month || index.column() == Cpas
                             || index.column() == Idnp;
        return QVariant::fromValue(Qt::Alignment(right     ? Qt::AlignRight
                                                 : centred ? Qt::AlignHCenter
                                                           : Qt::AlignLeft)
                                   | Qt::AlignVCenter);
    }
    if (role != Qt::DisplayRole && role != Qt::ToolTipRole)
        return {};
    switch (index.column()) {
    case Line:
        return o.line;
    case Person:
        return o.person;
    case Cpas:
        return o.cpas;
    case Idnp:
        return o.idnp;
    case Month:
        return o.month > 0 ? QVariant(o.month) : QVariant();
    case PayFund:
        return money(o.payFund);
    case SickPay:
        return money(o.sickPay);
    case Fate:
        return o.notice.isEmpty() ? o.fateText() : o.fateText() + QStringLiteral(" (") + o.notice + u')';
    }
    return {};
}

QVariant PayrollPreviewModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    static const char *const titles[] = {"Rîndul",           "Persoana",  "CPAS", "IDNP", "Luna", "Fond de remunerare",
                                         "Concediu medical", "Rezultatul"};
    return section >= 0 && section < ColumnCount ? QString::fromUtf8(titles[section]) : QString();
}
