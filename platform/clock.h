#pragma once
// The program's one source of "today" for what the computer's date decides (the year list,
// the archives, the registry of electronic packages). Tests fix it, so that no test depends
// on the day it runs.

#include <QDateTime>

namespace Clock {

// The fixed date when one is set, otherwise the computer's date.
QDate today();
// The moment, on the fixed date when one is set (the time of day is the computer's).
QDateTime now();
// Fixes "today" (an invalid date returns to the computer's date).
void setToday(const QDate &date);

} // namespace Clock
