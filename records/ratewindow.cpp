#include "records/ratewindow.h"

namespace RateWindow {

QString yearCondition(QChar quote, const QString &firstYear, const QString &lastYear)
{
    return QStringLiteral(" where ktapv_date_start<=") + quote + QStringLiteral("01.01.") + firstYear + quote
        + QStringLiteral(" and ktapv_date_stop>=") + quote + QStringLiteral("31.12.") + lastYear + quote;
}

QString condition(QChar quote, const QString &firstYear, const QString &lastYear, const QString &category)
{
    return yearCondition(quote, firstYear, lastYear) + QStringLiteral(" and ktapv_ktap=") + category;
}

QString statement(const QString &columns, QChar quote, const QString &firstYear, const QString &lastYear,
                  const QString &category)
{
    return QStringLiteral("select ") + columns + QStringLiteral(" from k_tariff_ap_value ")
        + condition(quote, firstYear, lastYear, category);
}

} // namespace RateWindow
