#include "records/newmonthrow.h"
#include "data/helpers.h"
#include "data/readscope.h"
#include "data/recordset.h"
#include "data/tdm.h"
#include "records/ratewindow.h"

namespace NewMonthRow {

QDate firstDay(int year, int month)
{
    return QDate(year, month, 1);
}

QDate lastDay(int year, int month)
{
    return month == 12 ? QDate(year, 12, 31) : firstDay(year, month + 1).addDays(-1);
}

void fill(RecordSet &rows, RecordSet &declaration, int year, int month)
{
    rows.field(QStringLiteral("sd_kft_rf")).setValue(1);
    rows.field(QStringLiteral("sd_na")).setValue(declaration.field(QStringLiteral("na_id")).value());
    rows.field(QStringLiteral("sd_month")).setValue(month);
    rows.field(QStringLiteral("sd_dela_d")).setValue(firstDay(year, month));
    rows.field(QStringLiteral("sd_pina_d")).setValue(lastDay(year, month));
    rows.field(QStringLiteral("sd_zile_n")).setValue(5);
    rows.field(QStringLiteral("sd_ap_category")).setValue(declaration.field(QStringLiteral("na_ap_category")).value());
    rows.field(QStringLiteral("sd_position")).setValue(declaration.field(QStringLiteral("na_position")).value());
}

void takeRate(RecordSet &rows, int year, const QString &category)
{
    const QString y = QString::number(year);
    ReadScope rate(DM->IBQ1, RateWindow::statement(QStringLiteral("*"), u'"', y, y, category));
    QVariant id;
    if (rate.found()) {
        const double value = rate.value(QStringLiteral("ktapv_ap_value")).toDouble();
        if (year >= 2006 && rate.value(QStringLiteral("ktapv_ap_unit")).toString().trimmed() == QLatin1String("L")
            && value > 0.01)
            rows.field(QStringLiteral("sd_sum_add")).setValue(Round2(value / 12));
        id = rate.value(QStringLiteral("ktapv_id"));
    }
    rows.field(QStringLiteral("sd_tariff_ap")).setValue(id);
    rows.field(QStringLiteral("sd_tariff_ea")).setValue(id);
}

} // namespace NewMonthRow
