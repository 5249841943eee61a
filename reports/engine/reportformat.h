#pragma once
// The texts a report prints for values: masks such as "### ### ### ##0.00", dates as
// dd.mm.yyyy and "." as decimal sign on every machine, computed here rather than by a locale.

#include <QDate>
#include <QString>
#include <QVariant>

namespace ReportFormat {

// A number through a display mask made of '#', '0', blanks and one '.':
// - the digits after '.' give the decimals: each '0' always printed, each '#' only when it is
//   not a trailing zero ("#.##": 1234.50 -> "1234.5", 12 -> "12"; "0.00": 12 -> "12.00");
// - a blank among the integer placeholders groups the digits by three with blanks
//   ("### ##0.00": 1234567.8 -> "1 234 567.80");
// - a '0' before the point forces that many integer digits ("##0.00": 0 -> "0.00");
// - a value that rounds to zero under a mask without any '0' prints nothing, as '#' prints no
//   digit for a zero ("### ###": 0 -> ""); otherwise a zero integer part before printed
//   decimals is written "0" ("#.##": 0.5 -> "0.5").
// The value is rounded half away from zero on its shortest decimal form (0.005 -> 0.01,
// 1.005 -> 1.01). A "-" precedes a negative result.
QString number(double value, const QString &mask);

// A value as printed without a mask: nothing for null, dates dd.mm.yyyy, whole numbers without
// decimals, other numbers with "." and no trailing zeros, texts unchanged.
QString text(const QVariant &value);

// A value through a mask: numbers (and null, as nothing) as number() does, anything else as
// text(). An empty mask is text().
QString format(const QVariant &value, const QString &mask);

// 05.03.2008
QString date(const QDate &date);

// Part of a text by a 1-based start and a length; a start below 1 counts from the first
// character, a start or length past the end gives what is left (COPY('12.03.2015',4,2) = "03").
QString copy(const QString &text, int start, int length);

// True for the QVariant types that hold numbers (integers, floating values).
bool isNumber(const QVariant &value);

} // namespace ReportFormat
