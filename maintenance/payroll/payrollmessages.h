#pragma once
// Every text the reading of a payroll file shows the user, in one place: the refusals of a file
// as a whole, of its columns and of a single line, so that the window, the command line and the
// tests read the same words.

#include <QString>

namespace PayrollMessages {

// The file as a whole; `file` is the file's name as the user knows it.
QString missing(const QString &file);
QString unreadable(const QString &file, const QString &reason);
QString unknownKind(const QString &file);
QString tooLarge(const QString &file);
QString empty(const QString &file);
QString headerOnly(const QString &file);
QString notText(const QString &file);
QString utf16(const QString &file);
QString badUtf8(const QString &file, int line);
QString unclosedQuote(const QString &file, int line);
QString tooManyLines(const QString &file);
QString tooManyColumns(const QString &file, int line);
QString tooManyCells(const QString &file);
QString cellTooLong(const QString &file, int line, int column);
QString notSpreadsheet(const QString &file);
QString legacySpreadsheet(const QString &file);
QString damaged(const QString &file, const QString &detail);
QString partTooLarge(const QString &file, const QString &part);
QString noSheets(const QString &file);
QString noSheet(const QString &file, const QString &sheet);
QString emptySheet(const QString &file, const QString &sheet);

// The columns chosen for the file's columns.
QString noPersonColumn();
QString noMonthColumn();
QString noAmountColumn();
QString fieldTwice(const QString &caption, int firstColumn, int secondColumn);

// One line; values are quoted as the file holds them.
QString noPerson();
QString cpasNotDigits(const QString &value);
QString cpasTooLong(const QString &value);
QString idnpNotDigits(const QString &value);
QString idnpLength(const QString &value);
QString textTooLong(const QString &caption, int limit);
QString noMonth();
QString noSuchMonth(const QString &value, bool quoted);
QString monthOfAnotherYear(const QString &value, int year);
QString notANumber(const QString &value);
QString thousandsSeparator(const QString &value, int line, const QString &column);
QString thousandsOrDecimals(const QString &value, int line, const QString &column);
QString notADate(const QString &value, const QString &column);
QString workingDays(const QString &value);
QString notACode(const QString &caption, const QString &value);
QString formType(const QString &value);
QString moreFieldsThanHeader(int fields, int headerFields, bool commaSeparated);

// 200000 as "200 000": the way the program writes counts and amounts.
QString grouped(long long n);

} // namespace PayrollMessages
