// Test runner: a Qt application (offscreen in CI) around GoogleTest. Every test starts with the
// program's clock fixed to the same day and leaves it at the computer's date.

#include "app/qttranslation.h"
#include "platform/clock.h"
#include "tests/support/testclock.h"

#include <QApplication>
#include <gtest/gtest.h>

namespace {

class FixedClock : public ::testing::EmptyTestEventListener
{
    void OnTestStart(const ::testing::TestInfo &) override { Clock::setToday(TestClock::today()); }
    void OnTestEnd(const ::testing::TestInfo &) override { Clock::setToday(QDate()); }
};

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? QByteArray("offscreen") : qgetenv("QT_QPA_PLATFORM"));
    // Spreadsheets go to an .xlsx file unless a test starts an office of its own: the office of
    // the person running the tests is never reached.
    if (qgetenv("UNO_PATH").isEmpty())
        qputenv("UNO_PATH", "/nonexistent/office");
    QApplication app(argc, argv);
    QtTranslation::install(app); // the dialogs speak Romanian, as in the program
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::UnitTest::GetInstance()->listeners().Append(new FixedClock);
    return RUN_ALL_TESTS();
}
