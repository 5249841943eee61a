#pragma once
// How the values of the package files are read: whole numbers, money, dates, and bytes as text.
// The rules read a field through these and decide themselves whether to report it.

#include <QDate>
#include <QString>

#include <optional>
#include <string_view>

namespace PackageValues {

using View = std::string_view;

// Windows-1250 bytes as text.
QString text(View v);
bool allDigits(View v);
// A whole number in plain decimal without leading zeros.
std::optional<qint64> wholeNumber(View v);
// Money in cents: an optional minus, digits without leading zeros, a point and two decimals;
// or the exponent form the fixed format takes beyond ten digits before the point.
std::optional<qint64> money(View v);
// dd.mm.yyyy, a day that exists.
std::optional<QDate> date(View v);
// Cents as the package writes money: 1234.50, -0.05.
QString centsText(qint64 cents);

} // namespace PackageValues
