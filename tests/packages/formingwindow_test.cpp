// "&Formarea pachetelor" of the persons window, chosen from its menu offscreen.

#include "persons/tfpers.h"
#include "tests/packages/packagesfixture.h"

#include <QAction>

namespace {

class FormingFromTheWindow : public PackagesFixture
{
protected:
    void TearDown() override
    {
        delete w;
        PackagesFixture::TearDown();
    }
    TFPers *w = nullptr;
};

TEST_F(FormingFromTheWindow, TheMenuEntryFormsTheShownYearsPackages)
{
    w = new TFPers;
    w->show();
    const QString year = w->selectedYear();
    ASSERT_FALSE(year.isEmpty());
    package(101, 1, year.toInt());
    package(102, 1, year.toInt());
    declarations(1000, 70, 101, year.toInt());
    declarations(2000, 20, 102, year.toInt());
    declarations(3000, 60, 0, year.toInt() - 1); // another year waits for its own turn

    auto *entry = w->findChild<QAction *>(QStringLiteral("Formareapachetelor1"));
    ASSERT_TRUE(entry);
    entry->trigger();

    EXPECT_EQ(sizes(year.toInt()), (QMap<qint64, int>{{101, 50}, {102, 40}}));
    EXPECT_EQ(brokenRules(year.toInt()), QStringList());
    EXPECT_EQ(scalar(QStringLiteral("select count(*) from name_account where na_pl is null and na_year=%1")
                         .arg(year.toInt() - 1))
                  .toInt(),
              60);
    EXPECT_TRUE(ui.errors.isEmpty());
    EXPECT_TRUE(ui.notices.isEmpty());
    EXPECT_EQ(ui.waitDepth, 0);
}

} // namespace
