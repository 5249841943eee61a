// The forms-printing window as it is built from its form: its name, its caption, and a name
// for every box and list that it holds.

#include "reports/tftip.h"
#include "tests/support/spokennames.h"

#include <gtest/gtest.h>

namespace {

TEST(FormsPrintingWindow, IsATopLevelWindowWhoseBoxesAndListsAreNamed)
{
    QWidget owner;
    TFTip w(&owner);
    EXPECT_EQ(w.objectName(), "FTip");
    EXPECT_EQ(w.windowTitle(), "Tiparul formularelor");
    EXPECT_TRUE(w.isWindow());
    EXPECT_EQ(spokenNames(&w), buddyCaptions(&w));
    for (const QString &name : listNames(&w))
        EXPECT_FALSE(name.isEmpty());
}

} // namespace
