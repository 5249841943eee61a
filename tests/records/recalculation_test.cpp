// "Recalcul": the individual contributions of a declaration recomputed month by month under
// the year-to-date ceiling, against a real database.

#include "data/ibquery.h"
#include "records/recalculation.h"
#include "tests/records/declarationfixture.h"

#include <tuple>

namespace {

class RecalculationRule : public DeclarationFixture
{
protected:
    void SetUp() override
    {
        DeclarationFixture::SetUp();
        exec("delete from k_tariff_ap_value"); // only the rates of each test
        rate(601, 101, "01.01.2004", "31.12.2016", "P", 6, 500, "P", 23);
        rate(602, 120, "01.01.2004", "31.12.2016", "L", 1200, -1, "P", 23);
        rate(603, 121, "01.01.2004", "31.12.2016", "P", 0.005, 500, "P", 23);
        rate(604, 122, "01.01.2004", "31.12.2016", "P", 10, 500, "P", 23);
    }
    // A row as stored by an earlier save: the whole month, contributions as given.
    void storedRow(int sdId, int month, double payFund, double sumAdd, int tariff = 601, int year = 2010,
                   double benefit = 0, int naId = 1)
    {
        const QDate first(year, month, 1);
        exec(QStringLiteral("insert into saldo_data (sd_id,sd_na,sd_month,sd_paym_fond,sd_ill,sd_tariff_ap,sd_sum_add,"
                            "sd_tariff_ea,sd_sum_add_ea,sd_dela_d,sd_pina_d,sd_zile_n,sd_ap_category,sd_kft_rf) "
                            "values(%1,%2,%3,%4,%5,%6,%7,%6,77,'%8','%9',5,101,1)")
                 .arg(sdId)
                 .arg(naId)
                 .arg(month)
                 .arg(Formats::floatText(payFund), Formats::floatText(benefit))
                 .arg(tariff == 0 ? QStringLiteral("NULL") : QString::number(tariff))
                 .arg(Formats::floatText(sumAdd), Formats::dateText(first),
                      Formats::dateText(first.addMonths(1).addDays(-1))));
    }
    void show(int year = 2010) { useDeclaration(1, year); }
    QStringList contributions() { return column("select sd_sum_add from saldo_data order by sd_id"); }
};

TEST_F(RecalculationRule, EachMonthIsHeldToTheCeilingsOfTheMonthsBeforeIt)
{
    declaration(1, 2010);
    storedRow(11, 1, 10000, 600);
    storedRow(12, 2, 10000, 600);
    storedRow(13, 3, 10000, 0);
    storedRow(14, 4, 5000, 0);
    show();
    ASSERT_TRUE(Recalculation::run());
    EXPECT_EQ(DM->IBQ4->sqlText(), "select *  from saldo_data where sd_na=1 and sd_dela_d >='01.01.2010' and "
                                   "sd_dela_d<='31.12.2010' and sd_paym_fond>0 order by sd_month");
    for (IbTransaction *t : {DM->IBT1, DM->IBT2, DM->IBT3, DM->IBT4})
        EXPECT_FALSE(t->active());
    // Month 1: A = 0 × 500 − 0 + 500; month 2: 1 × 500 − 500 + 500; month 4 below the ceiling.
    EXPECT_EQ(contributions(), (QStringList{"500", "500", "500", "300"}));
    EXPECT_EQ(column("select sd_sum_add_ea from saldo_data"), (QStringList{"77", "77", "77", "77"}));
    EXPECT_EQ(column("select sd_tariff_ea from saldo_data"), (QStringList{"601", "601", "601", "601"}));
    EXPECT_EQ(DM->IBQ2->sqlText(), "update saldo_data set sd_sum_add=300 where sd_id=14");
    EXPECT_EQ(DM->IBQ3->sqlText(),
              "select count(distinct sd_month) as cnt,sum(sd_sum_add) as suma  from saldo_data where sd_na=1 and "
              "sd_month=3 and sd_dela_d >='01.01.2010' and sd_dela_d<='31.12.2010' and sd_sum_add>0 and sd_id<>13");
    EXPECT_FALSE(DM->cds4->active());
    EXPECT_TRUE(ui.notices.isEmpty());
    // Each row with a pay fund is counted as it is recomputed.
    ASSERT_EQ(ui.progress.size(), 1u);
    EXPECT_EQ(ui.progress[0].name, "Recalcularea contribuțiilor individuale");
    EXPECT_EQ(std::tuple(ui.progress[0].done, ui.progress[0].total, ui.progress[0].updates, ui.progress[0].ended),
              std::tuple(4, 4, 4, true));
}

TEST_F(RecalculationRule, AMonthUnderTheYearsAllowanceKeepsItsContribution)
{
    declaration(1, 2010, 122);
    storedRow(21, 1, 2000, 0, 604);
    storedRow(22, 2, 2000, 0, 604);
    storedRow(23, 3, 9000, 0, 604);
    // A second row of month 2 carrying a contribution: month 2 keeps its own ceiling only.
    storedRow(24, 2, 1000, 0, 604);
    show();
    ASSERT_TRUE(Recalculation::run());
    // Month 3: A = 2 × 500 − 500 + 500 = 1000 after the two rows of month 2 (200 + 100).
    EXPECT_EQ(contributions(), (QStringList{"200", "200", "900", "100"}));

    exec("update saldo_data set sd_paym_fond=11000, sd_sum_add=0 where sd_id=23");
    ASSERT_TRUE(Recalculation::run());
    EXPECT_EQ(contributions(), (QStringList{"200", "200", "1000", "100"}));
}

TEST_F(RecalculationRule, TheBaseIsThePayFundLessTheBenefit)
{
    declaration(1, 2010);
    storedRow(31, 1, 1000, 0, 601, 2010, 1000); // a benefit row: nothing due
    storedRow(32, 2, 1000.5, 0, 601, 2010, 0.5);
    show();
    ASSERT_TRUE(Recalculation::run());
    EXPECT_EQ(contributions(), (QStringList{"0", "60"}));
}

TEST_F(RecalculationRule, RowsWithoutAPercentageOrPayFundOrOutsideTheYearAreLeftAlone)
{
    declaration(1, 2010);
    storedRow(41, 1, 10000, 100, 602); // yearly amount
    storedRow(42, 2, 10000, 111, 603); // percentage below 0.01
    storedRow(43, 3, 0, 222);          // no pay fund
    storedRow(44, 4, 10000, 333, 0);   // no rate
    storedRow(45, 5, 10000, 444, 601, 2009);
    storedRow(46, 6, 1000, 0);
    show();
    ASSERT_TRUE(Recalculation::run());
    EXPECT_EQ(contributions(), (QStringList{"100", "111", "222", "333", "444", "60"}));
}

TEST_F(RecalculationRule, DeclarationsOutside2004To2016AreNotRecalculated)
{
    for (int year : {2003, 2017}) {
        exec("delete from saldo_data");
        exec("delete from name_account");
        rate(700 + year % 10, 101, QStringLiteral("01.01.%1").arg(year), QStringLiteral("31.12.%1").arg(year), "P", 6,
             500, "P", 23);
        declaration(1, year);
        storedRow(51, 1, 10000, 600, 601, year);
        storedRow(52, 2, 10000, 600, 601, year);
        show(year);
        EXPECT_FALSE(Recalculation::run()) << year;
        EXPECT_FALSE(DM->IBQ4->sqlText().contains("sd_paym_fond>0")) << year;
        EXPECT_EQ(contributions(), (QStringList{"600", "600"})) << year;
    }
}

TEST_F(RecalculationRule, WithoutMonthlyRowsNothingHappens)
{
    declaration(1, 2010);
    exec("insert into name_account (na_id,na_ap,na_year) values(2,2,2010)");
    storedRow(61, 1, 10000, 600, 601, 2010, 0, 2); // another declaration's row
    show();
    EXPECT_FALSE(Recalculation::run());
    EXPECT_TRUE(DM->IBQ4->sqlText().isEmpty());
    EXPECT_EQ(contributions(), QStringList{"600"});
    EXPECT_TRUE(ui.notices.isEmpty());
}

TEST_F(RecalculationRule, APendingRowIsSavedFirstAndItsRefusalEndsTheCommand)
{
    declaration(1, 2010);
    storedRow(71, 1, 10000, 600);
    show();
    RecordSet *S = DM->saldo_data;
    ws.calculation = false; // typed contributions are stored as they are
    S->edit();
    S->field("sd_paym_fond").setValue(20000.0);
    ASSERT_TRUE(Recalculation::run());
    EXPECT_EQ(S->state(), RecordSet::State::Browse);
    EXPECT_EQ(column("select sd_paym_fond from saldo_data"), QStringList{"20000"});
    EXPECT_EQ(contributions(), QStringList{"500"});

    S->edit();
    S->field("sd_zile_n").setValue(7);
    S->field("sd_paym_fond").setValue(1000.0);
    try {
        Recalculation::run();
        ADD_FAILURE() << "the refusal did not end the command";
    } catch (const EE &e) {
        EXPECT_EQ(e.message(), "Indicati corect zilele lucratoare in saptamina ");
    }
    EXPECT_EQ(contributions(), QStringList{"500"});
}

} // namespace
