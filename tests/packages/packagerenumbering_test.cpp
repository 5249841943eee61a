// New numbers for the packages of a year: renumbering, merging equal numbers up to 50
// declarations, and the packages that already went out in an electronic package.

#include "data/ee.h"
#include "packages/packagerenumbering.h"
#include "reports/packagelist.h"
#include "tests/packages/packagesfixture.h"

namespace {

class Renumbering : public PackagesFixture
{
protected:
    void SetUp() override
    {
        PackagesFixture::SetUp();
        cds_pnr = std::make_unique<RecordSet>(QStringLiteral("cds_pnr"));
        PackageRenumbering::declare(cds_pnr.get());
    }
    // The packages as the forms-printing window lists them, loaded into the dialog's rows.
    void load()
    {
        exec("update saldo_data set sd_ap_category=101");
        PackageList::fill();
        PackageRenumbering::load(cds_pnr.get(), DM->pachet);
    }
    void renumber(qint64 from, qint64 to)
    {
        ASSERT_TRUE(cds_pnr->locate("pl_nr_old", from));
        cds_pnr->edit();
        cds_pnr->field("pl_nr_new").setValue(to);
        cds_pnr->post();
    }
    QString numbers()
    {
        return column("select cast(pl_id as integer) || '=' || pl_nr from packlabel order by pl_id").join(' ');
    }
    QString refusal()
    {
        try {
            PackageRenumbering::save(cds_pnr.get());
        } catch (const EE &e) {
            return e.message();
        }
        return QString();
    }

    std::unique_ptr<RecordSet> cds_pnr;
};

TEST_F(Renumbering, PackagesGetTheirNewNumbersTheFirstIncluded)
{
    filledPackages({{101, 1000, 3}, {102, 2000, 4}, {103, 3000, 5}});
    load();
    ASSERT_EQ(cds_pnr->recordCount(), 3);
    cds_pnr->first();
    EXPECT_EQ(cds_pnr->field("pl_nr_new").asInteger(), 101);
    EXPECT_EQ(cds_pnr->field("pl_pe").asString(), "NU");
    EXPECT_EQ(cds_pnr->field("pl_nd").asInteger(), 3);
    renumber(101, 1);
    renumber(102, 2);
    renumber(103, 3);
    EXPECT_EQ(refusal(), "");
    EXPECT_EQ(ui.notices, QStringList{"OK"});
    EXPECT_EQ(numbers(), "101=1 102=2 103=3");
}

TEST_F(Renumbering, AnEqualNumberMergesTheLaterPackageUpToFiftyDeclarations)
{
    filledPackages({{101, 1000, 40}, {103, 3000, 30}});
    load();
    renumber(103, 101);
    // Kept in the order of the new numbers: 101 first, then 103 with the same number.
    cds_pnr->first();
    EXPECT_EQ(cds_pnr->field("pl_nr_old").asInteger(), 101);
    EXPECT_EQ(refusal(), "");
    const QMap<qint64, int> held = sizes();
    EXPECT_EQ(held.value(101), 50);
    EXPECT_EQ(held.value(103), 20);
    EXPECT_EQ(idsIn(101).last(), "3009"); // the first ten of 103 moved
    EXPECT_EQ(numbers(), "101=101 103=101");
}

TEST_F(Renumbering, APackageInAFormedElectronicPackageKeepsItsNumber)
{
    filledPackages({{101, 1000, 2}, {102, 2000, 2}});
    exec("update saldo_data set sd_pens_fund=-1 where sd_na=2000");
    load();
    ASSERT_TRUE(cds_pnr->locate("pl_nr_old", 102));
    EXPECT_EQ(cds_pnr->field("pl_pe").asString(), "DA");
    cds_pnr->edit();
    cds_pnr->field("pl_nr_new").setValue(7);
    try {
        cds_pnr->post();
        ADD_FAILURE();
    } catch (const EE &e) {
        EXPECT_EQ(e.message(), "Este format pachetul electronic. Modificari nu se permit.");
    }
    EXPECT_EQ(cds_pnr->state(), RecordSet::State::Browse);
    EXPECT_EQ(cds_pnr->field("pl_nr_new").asInteger(), 102);
    renumber(101, 5);
    EXPECT_EQ(refusal(), "");
    EXPECT_EQ(numbers(), "101=5 102=102");
}

TEST_F(Renumbering, ANumberBelowOneIsRefusedBeforeAnyLaterRow)
{
    filledPackages({{101, 1000, 2}, {102, 2000, 2}, {103, 3000, 2}});
    load();
    renumber(101, 1);
    renumber(103, 0);
    EXPECT_EQ(refusal(), "Numarul nu poate fi < 1 ");
    EXPECT_EQ(numbers(), "101=101 102=102 103=103"); // 0 sorts first: nothing was saved
    renumber(103, 200);
    renumber(102, -1);
    EXPECT_EQ(refusal(), "Numarul nu poate fi < 1 ");
    EXPECT_EQ(numbers(), "101=101 102=102 103=103");
    renumber(102, 150);
    ASSERT_TRUE(cds_pnr->locate("pl_nr_old", 103));
    cds_pnr->edit();
    cds_pnr->field("pl_nr_new").clear();
    cds_pnr->post();
    EXPECT_EQ(refusal(), "Numarul nu poate fi < 1 ");
    EXPECT_TRUE(ui.notices.isEmpty());
}

TEST(RenumberingStatements, AreTheFixedOnes)
{
    EXPECT_EQ(
        PackageRenumbering::sentStatement("7"),
        " select  count(*) as cnt from name_account,saldo_data  where na_id=sd_na and sd_pens_fund=-1 and na_pl=7");
    EXPECT_EQ(PackageRenumbering::countStatement("1", "2010", "7"),
              "select count(*) as cnt from name_account,packlabel  where na_pl=pl_id and pl_ea=1 and pl_year=2010 and "
              "na_pl=7");
}

} // namespace
