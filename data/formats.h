#pragma once
// The number and date formats that every statement and every screen of the program relies on:
// dates as dd.mm.yyyy and a point as decimal sign, whatever the machine's locale says.

#include <QDate>
#include <QDateTime>
#include <QRegularExpression>
#include <QString>

namespace Formats {

// A date and time as the database holds them: a plain calendar value, with no time zone to
// consult (so building millions of them never asks the system for its zone rules).
QDateTime dateTime(const QDate &d, const QTime &t = QTime(0, 0));

// 05.03.2008
QString dateText(const QDate &d);
// The date, followed by " hh:mm:ss" when the time is not midnight.
QString dateTimeText(const QDateTime &dt);
// Accepts dd.mm.yyyy (also with "/" or "-" between the parts); invalid QDate otherwise.
QDate parseDate(const QString &text);
// As parseDate, with an optional " hh:mm[:ss]" after the date.
QDateTime parseDateTime(const QString &text);

// A floating value in general format with up to 15 significant digits: no thousands
// separators, no trailing zeros, "." as decimal sign (1234.5, 0, -0.25, 1E-7).
QString floatText(double v);

// The value rounded to 2 decimals, keeping at most 10 significant digits: 9 integer digits
// keep 1 decimal, 10 or more keep none. A half goes away from zero on the value's shortest
// decimal form, so 0.005 gives 0.01 and 2.675 gives 2.68.
double round2(double v);

// Rounds to `decimals` places (may be negative: tens, hundreds), a half away from zero, on
// the shortest decimal form of the value.
double roundDecimal(double v, int decimals);

// Money as shown to the user: digits grouped by three with blanks, two decimals, "." as
// decimal sign (1 234 567.80).
QString moneyText(double v);

// The process-wide settings that other code reads: decimal sign, date separator and the
// short date pattern. forceDefaults() puts them back to ".", "." and "dd/mm/yyyy".
struct Settings {
    QChar decimalSeparator = u'.';
    QChar dateSeparator = u'.';
    QChar thousandSeparator = u' ';
    QString shortDateFormat = QStringLiteral("dd/mm/yyyy");
    QString currencyString = QStringLiteral(" ");
};
Settings &settings();
void forceDefaults();

// Text of a number and a date under the current process settings, as the checks of the
// persons workspace read them back.
QString formatFloatWithSettings(double v);
QString formatDateWithSettings(const QDate &d);

} // namespace Formats
