#pragma once
// A rate row of k_tariff_ap_value applies to a year when it starts on or before 1 January and
// ends on or after 31 December. The save rule of a monthly row and the salary page select by
// this window in the same words; the condition is built here once.

#include <QChar>
#include <QString>

namespace RateWindow {

// " where ktapv_date_start<=" Q "01.01.<firstYear>" Q " and ktapv_date_stop>=" Q
// "31.12.<lastYear>" Q, Q being the quote character (the save rule writes '"', the salary
// page '\'').
QString yearCondition(QChar quote, const QString &firstYear, const QString &lastYear);
// The same followed by " and ktapv_ktap=" and the category.
QString condition(QChar quote, const QString &firstYear, const QString &lastYear, const QString &category);

// "select <columns> from k_tariff_ap_value " followed by the condition with the category.
QString statement(const QString &columns, QChar quote, const QString &firstYear, const QString &lastYear,
                  const QString &category);

} // namespace RateWindow
