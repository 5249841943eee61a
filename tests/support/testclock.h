#pragma once
// The day every test starts on: the program's clock is fixed to it before each test, so that
// no test depends on the day it runs. A test that needs another day sets the clock itself.

#include <QDate>

namespace TestClock {

inline QDate today()
{
    return QDate(2024, 5, 15);
}

} // namespace TestClock
