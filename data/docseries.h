#pragma once
// Series of the old passports (document types 2 and 12) end, after the hyphen, in Cyrillic
// capitals. The database and the electronic package hold them as their single-byte codes
// 0xC0..0xDF of the Windows Cyrillic code page; on screen the user types and reads the
// Cyrillic letters. This is the one place that maps between the two.

#include <QString>

namespace DocSeries {

// Cyrillic capitals after the first hyphen become the characters whose Windows-1250 bytes
// are their Windows-1251 codes, ready for a statement or a package file.
QString toStored(const QString &series);
// The reverse: the bytes 0xC0..0xDF after the first hyphen are shown as А..Я.
QString toShown(const QString &series);
// True for a letter allowed after the hyphen (А..Я as typed or as stored).
bool isSeriesLetter(QChar c);

} // namespace DocSeries
