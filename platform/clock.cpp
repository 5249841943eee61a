#include "platform/clock.h"

namespace {

QDate &fixedDate()
{
    static QDate date;
    return date;
}

} // namespace

namespace Clock {

QDate today()
{
    return fixedDate().isValid() ? fixedDate() : QDate::currentDate();
}

QDateTime now()
{
    return fixedDate().isValid() ? QDateTime(fixedDate(), QTime::currentTime()) : QDateTime::currentDateTime();
}

void setToday(const QDate &date)
{
    fixedDate() = date;
}

} // namespace Clock
