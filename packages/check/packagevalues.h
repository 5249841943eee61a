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
// Money: an optional minus, digits without leading zeros, a point and two decimals; or the
// exponent form the money format takes beyond ten digits before the point (1.234567891E10).
// The value is the number the text says, as the writer's rounding gives it.
std::optional<double> money(View v);
// A value of money in cents, for rules that compare to the cent.
qint64 cents(double money);
// The name of an amount (PackageAmounts::Amount) in the findings: "fondul de remunerare".
const QString &amountName(int amount);
// dd.mm.yyyy, a day that exists.
std::optional<QDate> date(View v);

} // namespace PackageValues
