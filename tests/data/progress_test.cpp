// The steps of long work as the user interaction is told them: nested, counted, ended on every
// way out, stopped only where the work may stop; and the counts as a message writes them.

#include "platform/progress.h"
#include "tests/support/scripteduserinteraction.h"

#include <gtest/gtest.h>
#include <stdexcept>
#include <tuple>

namespace {

TEST(Progress, StepsNestEndOnEveryWayOutAndStopOnlyWhereTheyMay)
{
    ScriptedUserInteraction ui;
    ui.stopWhen = [](const ScriptedUserInteraction::ProgressStep &s) { return s.done == 3; };
    bool stoppedAt3 = false, runsStopped = false;
    try {
        Progress work(QStringLiteral("Lucrul"), 2);
        work.step(1, QStringLiteral("Întîi"));
        {
            Progress runs(QStringLiteral("Fără oprire"), 5);
            for (int i = 1; i <= 5; ++i) {
                runs.step(i);
                runsStopped = runsStopped || runs.cancelled();
            }
        }
        work.step(2, QStringLiteral("Apoi"));
        Progress rows(QStringLiteral("Rândurile"), 0, Progress::MayStop);
        rows.setTotal(10);
        for (int i = 0; i < 10 && !rows.cancelled(); ++i)
            rows.advance();
        stoppedAt3 = rows.done() == 3;
        throw std::runtime_error("a failure inside");
    } catch (const std::runtime_error &) {
    }
    EXPECT_FALSE(runsStopped); // a step that runs to its end is never told to stop
    EXPECT_TRUE(stoppedAt3);
    EXPECT_EQ(ui.openProgress(), 0);
    ASSERT_EQ(ui.progress.size(), 3u);
    const auto &[work, runs, rows] = std::tie(ui.progress[0], ui.progress[1], ui.progress[2]);
    EXPECT_EQ(work.parts, (QStringList{"Întîi", "Apoi"}));
    EXPECT_EQ(std::tuple(work.depth, work.done, work.total, work.mayStop), std::tuple(0, 2, 2, false));
    EXPECT_EQ(std::tuple(runs.depth, runs.done, runs.total, runs.updates), std::tuple(1, 5, 5, 5));
    EXPECT_EQ(std::tuple(rows.depth, rows.done, rows.total, rows.mayStop), std::tuple(1, 3, 10, true));
    EXPECT_TRUE(work.ended && runs.ended && rows.ended);

    // A new piece of work starts unstopped.
    Progress again(QStringLiteral("Din nou"), 1, Progress::MayStop);
    EXPECT_FALSE(again.cancelled());
}

TEST(Progress, CountsAreGroupedByThreeAndTheNounFollowsTheTotal)
{
    const struct {
        qint64 done, total;
        const char *text;
    } cases[] = {
        {120, 4000, "120 din 4 000 de rânduri"}, {5, 19, "5 din 19 rânduri"},
        {0, 1, "0 din 1 rând"},                   {20, 20, "20 din 20 de rânduri"},
        {3, 101, "3 din 101 rânduri"},            {0, 100, "0 din 100 de rânduri"},
        {7, 119, "7 din 119 rânduri"},            {999, 1234567, "999 din 1 234 567 de rânduri"},
        {0, 0, "0 din 0 rânduri"},                {1, 2, "1 din 2 rânduri"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(Progress::ofText(c.done, c.total, QStringLiteral("rând"), QStringLiteral("rânduri")),
                  QString::fromUtf8(c.text))
            << c.total;
    EXPECT_EQ(Progress::ofText(1000, 1000000), "1 000 din 1 000 000");
    EXPECT_EQ(Progress::number(-12345), "-12 345");
}

} // namespace
