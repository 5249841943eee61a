#pragma once
// Statements carry their values as literal text, never as parameters. Quoting a value was
// written out in several places; these are the one way to do it.

#include <QDate>
#include <QString>

namespace SqlText {

// The text in single quotes, inner single quotes doubled, otherwise as given: o'neil is 'o''neil'.
QString quoted(const QString &text);
// A date as a quoted dd.mm.yyyy: '05.03.2008'.
QString quoted(const QDate &date);

// The literal of a text value as rows are written: NULL when the text is empty or blank;
// otherwise the text trimmed, the ASCII letters a to z in capitals (other letters, those with
// diacritics included, unchanged) and quoted. "  o'neil ş " gives 'O''NEIL ş'.
QString literal(const QString &text);

} // namespace SqlText
