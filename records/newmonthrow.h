#pragma once
// The monthly rows that commands generate for a declaration (the automatic completion, the
// filling of missing months, "Nou" on the salary page) share their values: each covers its
// whole month with the declaration's category and function. Built here once.

#include <QDate>
#include <QString>

class RecordSet;

namespace NewMonthRow {

// The first day of month m of the year, and the last (31 December for December).
QDate firstDay(int year, int month);
QDate lastDay(int year, int month);

// Sets the fields of the current row of `rows` (just appended): form type 1, the declaration's
// na_id, the month, the whole month as period, 5 working days, the declaration's category and
// function.
void fill(RecordSet &rows, RecordSet &declaration, int year, int month);

// Reads "select * from k_tariff_ap_value  where ..." for the year and the declaration's
// category on IBQ1 and takes its first row: from 2006 on, a yearly amount (unit "L", value
// above 0.01) gives sd_sum_add its twelfth; sd_tariff_ap and sd_tariff_ea take its ktapv_id,
// empty when the category has no rate for the year.
void takeRate(RecordSet &rows, int year, const QString &category);

} // namespace NewMonthRow
