// The save rule of a monthly row and its contribution computation, against a real database:
// every amount is compared to the cent as stored, every refusal by its exact text.

#include "data/ibquery.h"
#include "data/readscope.h"
#include "records/contribution.h"
#include "tests/records/declarationfixture.h"

#include <stdexcept>

namespace {

QDate d(int day, int month, int year)
{
    return QDate(year, month, day);
}

class SaldoDataRule : public DeclarationFixture
{
protected:
    void SetUp() override
    {
        DeclarationFixture::SetUp();
        S = DM->saldo_data;
    }

    // Starts a new row of the current declaration as the grid would.
    void newRow(int month, const QDate &from, const QDate &to, const QVariant &payFund, int category = 101,
                const QVariant &benefit = QVariant(), const QVariant &days = 5)
    {
        S->append();
        set("sd_month", month);
        set("sd_dela_d", from);
        set("sd_pina_d", to);
        set("sd_paym_fond", payFund);
        set("sd_ill", benefit);
        set("sd_ap_category", category);
        set("sd_zile_n", days);
    }
    QString row(int month, const QDate &from, const QDate &to, const QVariant &payFund, int category = 101,
                const QVariant &benefit = QVariant(), const QVariant &days = 5)
    {
        newRow(month, from, to, payFund, category, benefit, days);
        return post(S);
    }
    // A whole month of the current year.
    QString monthRow(int month, const QVariant &payFund, int category = 101, const QVariant &benefit = QVariant())
    {
        const QDate first = d(1, month, ws.year.toInt());
        return row(month, first, first.addMonths(1).addDays(-1), payFund, category, benefit);
    }
    void set(const char *field, const QVariant &v) { S->field(QString::fromLatin1(field)).setValue(v); }
    double current(const char *field) { return S->field(QString::fromLatin1(field)).asFloat(); }

    // The stored value of a column of the current row.
    QVariant column(const char *name)
    {
        return stored(QStringLiteral("select %1 from saldo_data where sd_id=%2")
                          .arg(QString::fromLatin1(name), S->field("sd_id").asString()));
    }
    double amount(const char *name) { return column(name).toDouble(); }
    int rows() { return scalar("select count(*) from saldo_data").toInt(); }

    // A row written straight into the table, as earlier saves or the package forming left it.
    void storedRow(int sdId, int naId, int month, double sumAdd, const QDate &from, const QDate &to,
                   int category = 101, double pensFund = 0, double payFund = 1000)
    {
        exec(QStringLiteral("insert into saldo_data values(%1,%2,%3,%4,0,NULL,%5,NULL,NULL,0,NULL,%6,'%7','%8',5,%9,"
                            "NULL,1)")
                 .arg(sdId)
                 .arg(naId)
                 .arg(month)
                 .arg(Formats::floatText(payFund), Formats::floatText(sumAdd), Formats::floatText(pensFund),
                      Formats::dateText(from), Formats::dateText(to))
                 .arg(category));
    }
    void storedMonths(int naId, int months, double sumAdd, int year)
    {
        for (int m = 1; m <= months; ++m)
            storedRow(900 + naId * 20 + m, naId, m, sumAdd, d(1, m, year), d(1, m, year).addMonths(1).addDays(-1));
    }

    RecordSet *S = nullptr;
};

const QString kCeilingWarning =
    QStringLiteral("Indicati corect suma contributiilor individuale calculate sau efectuati procedura de recalcul ");

// ------------------------------------------------------------------------ computation

TEST_F(SaldoDataRule, WorkedExamplesOfThePercentage)
{
    // Pay fund 1000.00 with benefit 200.00, rates 6 and 23.
    EXPECT_EQ(Contribution::base(1000, 200, 2005, 3), 800);
    EXPECT_EQ(Contribution::percent(800, 6), 48.00);
    EXPECT_EQ(Contribution::percent(800, 23), 184.00);
    EXPECT_EQ(Contribution::base(1000, 200, 2001, 3), 1000);
    EXPECT_EQ(Contribution::percent(1000, 6), 60.00);
    EXPECT_EQ(Contribution::percent(1000, 23), 230.00);
    // The whole pay fund before 2003, except 1999 and January to May 2000.
    EXPECT_EQ(Contribution::base(1000, 200, 2002, 12), 1000);
    EXPECT_EQ(Contribution::base(1000, 200, 1999, 3), 800);
    EXPECT_EQ(Contribution::base(1000, 200, 1998, 3), 1000);
    EXPECT_EQ(Contribution::base(1000, 200, 2000, 5), 800);
    EXPECT_EQ(Contribution::base(1000, 200, 2000, 6), 1000);
    EXPECT_EQ(Contribution::base(1000, 200, 2003, 1), 800);
    // The year-to-date allowance of the worked examples (ceiling 500, month 4).
    EXPECT_EQ(Contribution::yearToDateAllowance(3, 500, 1500, false), 500);
    EXPECT_EQ(Contribution::yearToDateAllowance(3, 500, 900, false), 1100);
    EXPECT_EQ(Contribution::yearToDateAllowance(3, 500, 2100, false), 0);
    EXPECT_EQ(Contribution::yearToDateAllowance(4, 500, 1700, true), 300);
}

TEST_F(SaldoDataRule, RatesAreUsedAsWholeNumbersWithTheHalfGoingToTheEvenNeighbour)
{
    EXPECT_EQ(Contribution::wholeRate(6.5), 6);
    EXPECT_EQ(Contribution::wholeRate(7.5), 8);
    EXPECT_EQ(Contribution::wholeRate(22.5), 22);
    EXPECT_EQ(Contribution::wholeRate(6.49), 6);
    EXPECT_EQ(Contribution::wholeRate(6.51), 7);

    declaration(10, 2010);
    rate(19313, 193, "01.01.2010", "31.12.2010", "P", 6.5, -1, "P", 22.5);
    rate(19413, 194, "01.01.2010", "31.12.2010", "P", 7.5, -1, "P", 23.5);
    EXPECT_EQ(monthRow(1, 1000.0, 193), "");
    EXPECT_EQ(amount("sd_sum_add"), 60.00);
    EXPECT_EQ(amount("sd_sum_add_ea"), 220.00);
    EXPECT_EQ(monthRow(2, 1000.0, 194), "");
    EXPECT_EQ(amount("sd_sum_add"), 80.00);
    EXPECT_EQ(amount("sd_sum_add_ea"), 240.00);
}

TEST_F(SaldoDataRule, ANewPayRowIsComputedAndInserted)
{
    declaration(10, 2005);
    rate(19008, 190, "01.01.2005", "31.12.2005", "P", 6, -1, "P", 23);
    EXPECT_EQ(monthRow(3, 800.0, 190), "");
    EXPECT_EQ(S->state(), RecordSet::State::Browse);
    EXPECT_EQ(rows(), 1);
    const QString id = S->field("sd_id").asString();
    EXPECT_GT(S->field("sd_id").asFloat(), 0);
    EXPECT_EQ(amount("sd_na"), 10);
    EXPECT_EQ(amount("sd_sum_add"), 48.00);
    EXPECT_EQ(amount("sd_sum_add_ea"), 184.00);
    EXPECT_EQ(amount("sd_tariff_ap"), 19008);
    EXPECT_EQ(amount("sd_tariff_ea"), 19008);
    EXPECT_EQ(amount("sd_kft_rf"), 1);
    EXPECT_EQ(DM->IBQ2->sqlText(),
              "Insert into saldo_data (SD_ID,SD_NA,SD_MONTH,SD_PAYM_FOND,SD_ILL,SD_TARIFF_AP,SD_SUM_ADD,SD_SUM_REAL,"
              "SD_TARIFF_EA,SD_SUM_ADD_EA,SD_SUM_REAL_EA,SD_PENS_FUND,SD_DELA_D,SD_PINA_D,SD_ZILE_N,SD_AP_CATEGORY,"
              "SD_POSITION,SD_KFT_RF) values("
                  + id + ",10,3,800,0,19008,48,NULL,19008,184,NULL,NULL,'01.03.2005','31.03.2005',5,190,NULL,1)");
    // The last read is the yearly-amount read of the selected year and category.
    EXPECT_EQ(DM->IBQ1->sqlText(), "select * from k_tariff_ap_value  where ktapv_date_start<=\"01.01.2005\" and "
                                   "ktapv_date_stop>=\"31.12.2005\" and ktapv_ktap=190");
    // A second row receives another identifier.
    EXPECT_EQ(monthRow(4, 100.25, 190), "");
    EXPECT_NE(S->field("sd_id").asString(), id);
    EXPECT_EQ(rows(), 2);
}

TEST_F(SaldoDataRule, TiesOfTheCentGoAwayFromZeroOnTheShortestDecimalForm)
{
    declaration(10, 2010);
    // 100.25 / 100 * 6 is 6.015 (stored in binary just below), 41.75 / 100 * 6 is 2.505.
    EXPECT_EQ(monthRow(1, 100.25), "");
    EXPECT_EQ(amount("sd_sum_add"), 6.02);
    EXPECT_EQ(amount("sd_sum_add_ea"), 23.06);
    EXPECT_EQ(monthRow(2, 41.75), "");
    EXPECT_EQ(amount("sd_sum_add"), 2.51);
    EXPECT_EQ(amount("sd_sum_add_ea"), 9.60); // 9.6025
}

TEST_F(SaldoDataRule, TheBaseOfABenefitRowFollowsTheDeclarationYear)
{
    for (int y : {1999, 2000, 2001, 2003})
        rate(19000 + y - 1997, 190, QStringLiteral("01.01.%1").arg(y), QStringLiteral("31.12.%1").arg(y), "P", 6, -1,
             "P", 23);
    struct Case {
        int naId, year, month;
        double individual, employer;
    };
    // A benefit row: pay fund 1000.00, all of it benefit.
    for (const Case &c : {Case{11, 2001, 3, 60.00, 230.00}, Case{12, 1999, 3, 0, 0}, Case{13, 2000, 5, 0, 0},
                          Case{14, 2000, 6, 60.00, 230.00}, Case{15, 2003, 3, 0, 0}}) {
        SCOPED_TRACE(c.year * 100 + c.month);
        declaration(c.naId, c.year);
        EXPECT_EQ(monthRow(c.month, 1000.0, 190, 1000.0), "");
        EXPECT_EQ(amount("sd_sum_add"), c.individual);
        EXPECT_EQ(amount("sd_sum_add_ea"), c.employer);
        EXPECT_EQ(amount("sd_ill"), 1000.0);
    }
}

TEST_F(SaldoDataRule, BenefitAndPayFundGoIntoSeparateRows)
{
    declaration(10, 2010);
    EXPECT_EQ(monthRow(1, 1000.0, 101, 0.005), "");
    EXPECT_EQ(amount("sd_ill"), 0.005);
    EXPECT_EQ(amount("sd_sum_add"), 60.00);     // 999.995 / 100 * 6 = 59.9997
    EXPECT_EQ(amount("sd_sum_add_ea"), 230.00); // 229.99885
    EXPECT_EQ(monthRow(2, 1000.0, 101, 0.01), "Buletinele si salariul se indica in rinduri separate !");
    EXPECT_EQ(S->state(), RecordSet::State::Insert);
    EXPECT_EQ(current("sd_ill"), 0.01);
    S->cancel();
    EXPECT_EQ(monthRow(2, 1000.0, 101, 200.0), "Buletinele si salariul se indica in rinduri separate !");
    S->cancel();
    EXPECT_EQ(monthRow(2, 1000.0, 101, 1000.0), "");
    EXPECT_EQ(amount("sd_sum_add"), 0);
    EXPECT_EQ(amount("sd_sum_add_ea"), 0);
    EXPECT_EQ(rows(), 2);
}

// ------------------------------------------------------------------------ ceilings

TEST_F(SaldoDataRule, YearToDateCeilingWorkedExamples)
{
    // 2010: rate 6 and 23, monthly ceiling 500.
    declaration(10, 2010);
    storedMonths(10, 3, 500, 2010);
    EXPECT_EQ(monthRow(4, 10000.0), "");
    EXPECT_EQ(amount("sd_sum_add"), 500.00);
    EXPECT_EQ(amount("sd_sum_add_ea"), 2300.00);
    EXPECT_EQ(amount("sd_tariff_ap"), 10113);
    EXPECT_EQ(DM->IBQ3->sqlText(),
              "select count(distinct sd_month) as cnt,sum(sd_sum_add) as suma  from saldo_data where sd_na=10 and "
              "sd_month=4 and sd_dela_d >='01.01.2010' and sd_dela_d<='31.12.2010' and sd_sum_add>0 and sd_id<>"
                  + S->field("sd_id").asString());

    declaration(11, 2010);
    storedMonths(11, 3, 300, 2010);
    EXPECT_EQ(monthRow(4, 10000.0), "");
    EXPECT_EQ(amount("sd_sum_add"), 600.00);
    EXPECT_TRUE(ui.notices.isEmpty()) << ui.notices.join('|').toStdString();
}

TEST_F(SaldoDataRule, AnotherRowOfTheSameMonthUsesUpItsCeiling)
{
    declaration(10, 2010);
    storedMonths(10, 3, 500, 2010);
    storedRow(950, 10, 4, 200, d(1, 4, 2010), d(15, 4, 2010));
    EXPECT_EQ(row(4, d(16, 4, 2010), d(30, 4, 2010), 10000.0), "");
    EXPECT_EQ(amount("sd_sum_add"), 300.00); // 4 × 500 − 1700, no extra month
    EXPECT_TRUE(ui.notices.isEmpty());
}

TEST_F(SaldoDataRule, TheAllowanceStopsAtZeroAndTheWarningNeverStopsTheSave)
{
    declaration(10, 2010);
    storedMonths(10, 3, 700, 2010);
    EXPECT_EQ(monthRow(4, 10000.0), "");
    EXPECT_EQ(amount("sd_sum_add"), 0.00); // 1500 − 2100 + 500 is below 0
    EXPECT_EQ(amount("sd_sum_add_ea"), 2300.00);
    EXPECT_EQ(ui.notices, QStringList{kCeilingWarning});
    // Below the monthly ceiling nothing is capped, but the year is over it: warned, stored.
    EXPECT_EQ(monthRow(5, 1000.0), "");
    EXPECT_EQ(amount("sd_sum_add"), 60.00);
    EXPECT_EQ(ui.notices.size(), 2);
    EXPECT_EQ(rows(), 5);
}

TEST_F(SaldoDataRule, UpTo2007TheCeilingIsAPlainMonthlyCap)
{
    // 2007: rate 5, ceiling 300. Earlier months over the ceiling do not lower it.
    declaration(10, 2007);
    storedMonths(10, 3, 400, 2007);
    EXPECT_EQ(monthRow(4, 10000.0), "");
    EXPECT_EQ(amount("sd_sum_add"), 300.00);
    EXPECT_EQ(amount("sd_sum_add_ea"), 2500.00);
    EXPECT_TRUE(ui.notices.isEmpty());
}

TEST_F(SaldoDataRule, From2008TheCeilingCountsTheYearToDateAndWarnsToTheCent)
{
    // 2008: rate 5, ceiling 350, year to date: 3 × 350 − 1200 + 350. The year then holds
    // exactly 4 × 350: no warning.
    declaration(11, 2008);
    storedMonths(11, 3, 400, 2008);
    EXPECT_EQ(monthRow(4, 10000.0), "");
    EXPECT_EQ(amount("sd_sum_add"), 200.00);
    EXPECT_EQ(amount("sd_sum_add_ea"), 2400.00);
    EXPECT_TRUE(ui.notices.isEmpty());
    // The same to the cent with amounts whose binary sum lands just above 1400.
    declaration(12, 2008);
    storedMonths(12, 3, 400, 2008);
    exec("update saldo_data set sd_sum_add=350.1 where sd_id=1141");
    exec("update saldo_data set sd_sum_add=399.99 where sd_id=1142");
    EXPECT_EQ(monthRow(4, 10000.0), "");
    EXPECT_EQ(amount("sd_sum_add"), 249.91);
    EXPECT_TRUE(ui.notices.isEmpty());
    // A cent over the year's ceiling is warned about.
    declaration(13, 2008);
    storedMonths(13, 3, 400, 2008);
    exec("update saldo_data set sd_sum_add=400.01 where sd_id=1161");
    ws.calculation = false;
    newRow(4, d(1, 4, 2008), d(30, 4, 2008), 10000.0);
    set("sd_sum_add", 200.0);
    EXPECT_EQ(post(S), "");
    EXPECT_EQ(ui.notices, QStringList{kCeilingWarning});
}

TEST_F(SaldoDataRule, AContributionExactlyAtTheMonthlyCeilingIsNotHeldToTheYearToDate)
{
    // 2008: rate 5, ceiling 350. Months 1 to 3 carry 400 each, more than their share; a row
    // computed at exactly 350 is not above the ceiling, so the year to date (which would allow
    // 3 × 350 − 1200 + 350 = 200) is not consulted. The year is over its ceiling: warned.
    declaration(11, 2008);
    storedMonths(11, 3, 400, 2008);
    EXPECT_EQ(monthRow(4, 7000.0), "");
    EXPECT_EQ(amount("sd_sum_add"), 350.00);
    EXPECT_EQ(amount("sd_sum_add_ea"), 1680.00);
    EXPECT_EQ(ui.notices, QStringList{kCeilingWarning});
}

TEST_F(SaldoDataRule, TheCeilingAppliesToDeclarationYears2004To2016Only)
{
    for (int y : {2003, 2004, 2016, 2017})
        rate(19100 + y - 1997, 191, QStringLiteral("01.01.%1").arg(y), QStringLiteral("31.12.%1").arg(y), "P", 6, 100,
             "P", 23);
    rate(19213, 192, "01.01.2010", "31.12.2010", "P", 6, 1, "P", 23);
    struct Case {
        int naId, year, category;
        double individual;
    };
    for (const Case &c : {Case{11, 2003, 191, 600.00}, Case{12, 2004, 191, 100.00}, Case{13, 2016, 191, 100.00},
                          Case{14, 2017, 191, 600.00}, Case{15, 2010, 192, 600.00}}) {
        SCOPED_TRACE(c.year);
        declaration(c.naId, c.year);
        EXPECT_EQ(monthRow(1, 10000.0, c.category), "");
        EXPECT_EQ(amount("sd_sum_add"), c.individual);
        EXPECT_EQ(amount("sd_sum_add_ea"), 2300.00);
    }
}

TEST_F(SaldoDataRule, APeriodInThePreviousYearIsNotCapped)
{
    // Category 105 may start before the row's month; a period of 2009 in the 2010 declaration.
    declaration(10, 2010);
    EXPECT_EQ(row(1, d(1, 12, 2009), d(31, 12, 2009), 10000.0, 105), "");
    EXPECT_EQ(amount("sd_sum_add"), 600.00);
    EXPECT_EQ(amount("sd_tariff_ap"), 10513);
    EXPECT_TRUE(ui.notices.isEmpty());
}

// ------------------------------------------------------------------------ categories

TEST_F(SaldoDataRule, Categories153And154AreBenefitWithoutContributions)
{
    declaration(10, 2010);
    newRow(1, d(1, 1, 2010), d(31, 1, 2010), 700.0, 153);
    set("sd_sum_add", 50.0);
    set("sd_sum_add_ea", 30.0);
    set("sd_sum_real_ea", 20.0);
    EXPECT_EQ(post(S), "");
    EXPECT_EQ(amount("sd_ill"), 700.0);
    EXPECT_EQ(amount("sd_sum_add"), 0);
    EXPECT_EQ(amount("sd_sum_add_ea"), 0);
    EXPECT_FALSE(column("sd_sum_real_ea").isNull());
    EXPECT_EQ(amount("sd_sum_real_ea"), 0);
    EXPECT_EQ(amount("sd_tariff_ap"), 15313);

    ws.calculation = false;
    newRow(2, d(1, 2, 2010), d(28, 2, 2010), 500.0, 154);
    set("sd_sum_add", 50.0);
    set("sd_sum_add_ea", 30.0);
    EXPECT_EQ(post(S), "");
    EXPECT_EQ(amount("sd_ill"), 500.0);
    EXPECT_EQ(amount("sd_sum_add"), 0);
    EXPECT_EQ(amount("sd_sum_add_ea"), 0);

    // A benefit typed as 0 is replaced by the whole pay fund, with calculation off as well.
    newRow(3, d(1, 3, 2010), d(31, 3, 2010), 700.0, 153, 0.0);
    set("sd_sum_add", 42.0);
    set("sd_sum_add_ea", 161.0);
    EXPECT_EQ(post(S), "");
    EXPECT_EQ(amount("sd_ill"), 700.0);
    EXPECT_EQ(amount("sd_sum_add"), 0);
    EXPECT_EQ(amount("sd_sum_add_ea"), 0);
}

TEST_F(SaldoDataRule, OnlyCategories105And153MayStartBeforeTheRowsMonth)
{
    declaration(10, 2010);
    EXPECT_EQ(row(3, d(1, 2, 2010), d(28, 2, 2010), 1000.0, 101), "Indicati corect perioada de munca !");
    EXPECT_EQ(S->state(), RecordSet::State::Insert);
    S->cancel();
    EXPECT_EQ(row(3, d(1, 2, 2010), d(28, 2, 2010), 1000.0, 105), "");
    EXPECT_EQ(row(3, d(1, 2, 2010), d(28, 2, 2010), 1000.0, 153), "");
    // But no row may span two months unless it is leave (157, 158).
    EXPECT_EQ(row(4, d(25, 3, 2010), d(5, 4, 2010), 1000.0, 153), "Indicati corect perioada de munca !");
    S->cancel();
    EXPECT_EQ(rows(), 2);
}

TEST_F(SaldoDataRule, Categories157And158MaySpanMonthsAndYearsAndCarryNoAmounts)
{
    declaration(10, 2010);
    EXPECT_EQ(row(1, d(25, 1, 2010), d(5, 2, 2010), 900.0, 101), "Indicati corect perioada de munca !");
    S->cancel();
    newRow(1, d(25, 1, 2010), d(5, 2, 2010), 900.0, 157, 0.0);
    set("sd_sum_add", 54.0);
    set("sd_sum_add_ea", 207.0);
    EXPECT_EQ(post(S), "");
    for (const char *c : {"sd_paym_fond", "sd_ill", "sd_sum_add", "sd_sum_add_ea"}) {
        EXPECT_FALSE(column(c).isNull()) << c;
        EXPECT_EQ(amount(c), 0) << c;
    }
    EXPECT_EQ(amount("sd_tariff_ap"), 15713);
    ws.calculation = false;
    newRow(12, d(20, 12, 2010), d(10, 1, 2011), 900.0, 158, 900.0);
    set("sd_sum_add", 54.0);
    set("sd_sum_add_ea", 207.0);
    EXPECT_EQ(post(S), "");
    for (const char *c : {"sd_paym_fond", "sd_ill", "sd_sum_add", "sd_sum_add_ea"}) {
        EXPECT_FALSE(column(c).isNull()) << c;
        EXPECT_EQ(amount(c), 0) << c;
    }
    newRow(11, d(25, 11, 2010), d(3, 12, 2010), 900.0, 157);
    set("sd_sum_add", 54.0);
    set("sd_sum_add_ea", 207.0);
    EXPECT_EQ(post(S), "");
    for (const char *c : {"sd_paym_fond", "sd_ill", "sd_sum_add", "sd_sum_add_ea"}) {
        EXPECT_FALSE(column(c).isNull()) << c;
        EXPECT_EQ(amount(c), 0) << c;
    }
    // Same month, different years, for an ordinary row.
    EXPECT_EQ(row(3, d(5, 3, 2010), d(10, 3, 2011), 900.0, 101), "Anul perioadei nu este indicat corect !");
}

TEST_F(SaldoDataRule, Category150IsLeftOutOfTheGridsSum)
{
    declaration(10, 2010);
    EXPECT_EQ(monthRow(1, 300.0, 150), "");
    EXPECT_EQ(monthRow(1, 1000.0, 101), "");
    const int calc = S->fieldIndex("sd_paym_fond_calc");
    double total = 0;
    for (int r = 0; r < S->recordCount(); ++r)
        total += S->valueAt(r, calc).toDouble();
    EXPECT_EQ(total, 1000.0);
    S->edit();
    set("sd_ap_category", 150);
    EXPECT_EQ(S->field("sd_paym_fond_calc").asFloat(), 0);
    set("sd_ap_category", 103);
    EXPECT_EQ(S->field("sd_paym_fond_calc").asFloat(), 1000.0);
}

// ------------------------------------------------------------------------ periods

TEST_F(SaldoDataRule, OverlappingAndTouchingPeriodsOfOneCategory)
{
    declaration(10, 2010);
    EXPECT_EQ(row(3, d(1, 3, 2010), d(15, 3, 2010), 1000.0), "");
    const double first = S->field("sd_id").asFloat();
    const QString overlap = "Asa perioada este deja introdusa !";
    EXPECT_EQ(row(3, d(10, 3, 2010), d(31, 3, 2010), 1000.0), overlap);
    EXPECT_EQ(S->state(), RecordSet::State::Browse); // the new row is discarded
    EXPECT_EQ(S->recordCount(), 1);
    EXPECT_EQ(DM->IBQ1->sqlText(),
              " select * from saldo_data where sd_na=10 and sd_month=3 and sd_ap_category=101 and "
              "((sd_pina_d>='10.03.2010' and sd_pina_d<='31.03.2010' ) or (sd_dela_d>='10.03.2010' and "
              "sd_dela_d<='31.03.2010') or (sd_dela_d>='10.03.2010' and sd_pina_d<='31.03.2010') or "
              "(sd_dela_d<='10.03.2010' and sd_pina_d>='31.03.2010'))");
    EXPECT_EQ(row(3, d(15, 3, 2010), d(31, 3, 2010), 1000.0), overlap); // touching on the 15th
    EXPECT_EQ(row(3, d(2, 3, 2010), d(14, 3, 2010), 1000.0), overlap);  // inside
    EXPECT_EQ(row(3, d(16, 3, 2010), d(31, 3, 2010), 1000.0), "");      // the day after
    EXPECT_EQ(row(3, d(1, 3, 2010), d(15, 3, 2010), 1000.0, 103), "");   // another category
    EXPECT_EQ(row(4, d(1, 4, 2010), d(15, 4, 2010), 1000.0), "");       // another month
    EXPECT_EQ(rows(), 4);

    // An edited row does not meet itself, and an edit that overlaps returns to the stored row.
    ASSERT_TRUE(S->locate("sd_id", first));
    S->edit();
    set("sd_paym_fond", 2000.0);
    EXPECT_EQ(post(S), "");
    EXPECT_EQ(amount("sd_sum_add"), 120.00);
    EXPECT_TRUE(DM->IBQ2->sqlText().startsWith("update saldo_data set SD_NA=10,SD_MONTH=3,SD_PAYM_FOND=2000,"));
    EXPECT_TRUE(DM->IBQ2->sqlText().endsWith(" where SD_ID=" + Formats::floatText(first)));
    S->edit();
    set("sd_pina_d", d(20, 3, 2010));
    set("sd_paym_fond", 3000.0);
    EXPECT_EQ(post(S), overlap);
    EXPECT_EQ(S->state(), RecordSet::State::Browse);
    EXPECT_EQ(S->field("sd_pina_d").asDate(), d(15, 3, 2010));
    EXPECT_EQ(current("sd_paym_fond"), 2000.0);
    EXPECT_EQ(stored(QStringLiteral("select sd_paym_fond from saldo_data where sd_id=%1").arg(first)).toDouble(), 2000.0);
}

// ------------------------------------------------------------------------ refusals

TEST_F(SaldoDataRule, TheTestsOfTheRowInTheirOrder)
{
    // No declaration on the page.
    newRow(1, d(1, 1, 2010), d(31, 1, 2010), 1000.0);
    EXPECT_EQ(post(S), "Introduceti datele despre declaratie !");
    S->cancel();

    declaration(10, 2010);
    newRow(1, d(1, 1, 2010), d(31, 1, 2010), 1000.0);
    set("sd_month", QVariant());
    EXPECT_EQ(post(S), "Introduceti luna !");
    EXPECT_EQ(current("sd_na"), 10); // set before the first test that can fail
    set("sd_month", 13);
    set("sd_dela_d", QVariant());
    EXPECT_EQ(post(S), "Introduceti perioada de munca !");
    EXPECT_EQ(current("sd_kft_rf"), 1);
    set("sd_dela_d", d(1, 1, 2010));
    set("sd_pina_d", QVariant());
    EXPECT_EQ(post(S), "Introduceti perioada de munca !");
    set("sd_pina_d", d(31, 1, 2010));
    EXPECT_EQ(post(S), "Introduceti corect luna  !");
    set("sd_month", 0);
    EXPECT_EQ(post(S), "Introduceti corect luna  !");
    set("sd_month", 1);
    set("sd_pina_d", d(20, 2, 2010));
    EXPECT_EQ(post(S), "Indicati corect perioada de munca !");
    set("sd_dela_d", d(20, 1, 2010));
    set("sd_pina_d", d(10, 1, 2010));
    EXPECT_EQ(post(S), "Indicati corect perioada !");
    set("sd_dela_d", d(1, 1, 2008));
    set("sd_pina_d", d(31, 1, 2008));
    set("sd_ap_category", 105);
    EXPECT_EQ(post(S), "Anul perioadei nu este indicat corect !");
    set("sd_dela_d", d(1, 1, 2011));
    set("sd_pina_d", d(31, 1, 2011));
    EXPECT_EQ(post(S), "");
    EXPECT_EQ(amount("sd_sum_add"), 60.00); // a period of the next year: not capped either

    newRow(2, d(1, 2, 2010), d(28, 2, 2010), 1000.0);
    set("sd_ap_category", QVariant());
    EXPECT_EQ(post(S), "Introduceti categoria");
    set("sd_ap_category", 101);
    for (const QVariant &days : {QVariant(7), QVariant(4), QVariant()}) {
        set("sd_zile_n", days);
        EXPECT_EQ(post(S), "Indicati corect zilele lucratoare in saptamina ");
    }
    set("sd_zile_n", 6);
    set("sd_paym_fond", -1.0);
    EXPECT_EQ(post(S), "Salariul nu poate fi negativ !");
    const double consumed = current("sd_id");
    EXPECT_GT(consumed, 0); // the identifier is taken before the amounts are checked
    set("sd_paym_fond", 0.0);
    set("sd_ill", -5.0);
    EXPECT_EQ(post(S), "Suma buletinului nu poate fi negativa !");
    EXPECT_EQ(S->state(), RecordSet::State::Insert);
    EXPECT_EQ(current("sd_ill"), -5.0); // refused rows keep the user's values
    set("sd_ill", QVariant());
    EXPECT_EQ(post(S), "");
    EXPECT_GT(current("sd_id"), consumed);
    EXPECT_EQ(amount("sd_ill"), 0);
    EXPECT_EQ(amount("sd_zile_n"), 6);
    EXPECT_EQ(rows(), 2);
}

TEST_F(SaldoDataRule, FunctionCodesAreLookedUpWhenAboveZero)
{
    exec("insert into k_prof values(999001, 'profesie anulata contabil')");
    declaration(10, 2010);
    newRow(1, d(1, 1, 2010), d(31, 1, 2010), 1000.0);
    set("sd_position", 123);
    EXPECT_EQ(post(S), "Asa cod a  profesiei nu este !");
    EXPECT_EQ(DM->IBQ1->sqlText(), " select kp_name_ro from k_prof where kp_id=123");
    set("sd_position", 999001);
    EXPECT_EQ(post(S), "Codul profesiei nu poate fi folosit. Profesia este anulata !");
    set("sd_position", 0);
    EXPECT_EQ(post(S), "");
    EXPECT_EQ(monthRow(2, 1000.0), "");
    EXPECT_TRUE(column("sd_position").isNull());
    newRow(3, d(1, 3, 2010), d(31, 3, 2010), 1000.0);
    set("sd_position", 111201);
    EXPECT_EQ(post(S), "");
    EXPECT_EQ(amount("sd_position"), 111201);
}

TEST_F(SaldoDataRule, RowsOfAFormedElectronicPackageCannotBeChanged)
{
    declaration(10, 2010);
    storedRow(901, 10, 2, 60, d(1, 2, 2010), d(28, 2, 2010), 101, -1, 1000);
    useDeclaration(10, 2010);
    ASSERT_EQ(S->recordCount(), 1);
    S->edit();
    set("sd_paym_fond", 5000.0);
    EXPECT_EQ(post(S),
              "Modificari nu se permit. A fost format deja pachetul electronic. Anulati pachetul pentru a corecta !");
    EXPECT_EQ(S->state(), RecordSet::State::Browse);
    EXPECT_EQ(current("sd_paym_fond"), 1000.0);
    EXPECT_EQ(stored("select sd_paym_fond from saldo_data where sd_id=901").toDouble(), 1000.0);
}

TEST_F(SaldoDataRule, MonthsOfARegisteredElectronicPackageAreClosed)
{
    exec("insert into t_pachet (pachet_id,nume,pachet_d,anul,luna_d,luna_p,ae_rf) "
         "values(1,'REV5_1234567_0010101_201001.RAR','15.04.2010',2010,1,3,1)");
    exec("insert into t_pachet (pachet_id,nume,pachet_d,anul,luna_d,luna_p,ae_rf) "
         "values(2,'REV5_7654321_0010101_201002.RAR','15.07.2010',2010,4,6,2)");
    exec("insert into t_pachet (pachet_id,nume,pachet_d,anul,luna_d,luna_p,ae_rf) "
         "values(3,'REV5_1234567_0010101_200900.RAR','15.01.2010',2009,1,12,1)");
    declaration(10, 2010);
    storedRow(901, 10, 3, 60, d(1, 3, 2010), d(31, 3, 2010), 101, 0, 1000);
    useDeclaration(10, 2010);
    const QString closed = "Este deja format pachetul electronic  !";
    EXPECT_EQ(monthRow(2, 1000.0), closed);
    EXPECT_EQ(S->recordCount(), 1); // the new row is discarded
    EXPECT_EQ(DM->IBQ1->sqlText(), "select * from t_pachet where anul=2010 and luna_d<=2 and luna_p>=2 and ae_rf=1");
    S->first();
    S->edit();
    set("sd_paym_fond", 2000.0);
    EXPECT_EQ(post(S), closed);
    EXPECT_EQ(current("sd_paym_fond"), 1000.0);
    EXPECT_EQ(monthRow(1, 1000.0), closed);
    // Months after the package, another agent's package, another year's package.
    EXPECT_EQ(monthRow(4, 1000.0), "");
    EXPECT_EQ(monthRow(5, 1000.0), "");
    EXPECT_EQ(rows(), 3);
}

TEST_F(SaldoDataRule, ARateMustCoverTheWholeSelectedYear)
{
    // Category 103 changes its rate on 1 February 2012: no rate of 103 covers 2012.
    declaration(10, 2012);
    const QString noRate = "Nu este tarif pentru aceasta categorie in acest an";
    EXPECT_EQ(monthRow(3, 1000.0, 103), noRate);
    EXPECT_EQ(DM->IBQ1->sqlText(), "select ktapv_id,ktapv_ktap from k_tariff_ap_value  where "
                                   "ktapv_date_start<=\"01.01.2012\" and ktapv_date_stop>=\"31.12.2012\" and "
                                   "ktapv_ktap=103");
    EXPECT_EQ(S->state(), RecordSet::State::Insert);
    EXPECT_GT(current("sd_id"), 0); // consumed
    S->cancel();
    ws.calculation = false;
    EXPECT_EQ(monthRow(3, 1000.0, 103), noRate);
    S->cancel();

    declaration(11, 2010);
    rate(19513, 195, "01.02.2010", "31.12.2010", "P", 6, -1, "P", 23);
    EXPECT_EQ(monthRow(3, 1000.0, 195), noRate);
    S->cancel();
    rate(19613, 196, "01.01.2010", "30.12.2010", "P", 6, -1, "P", 23);
    EXPECT_EQ(monthRow(3, 1000.0, 196), noRate);
    S->cancel();
    EXPECT_EQ(rows(), 0);

    // A stored row moved to a category without a rate: its old rate row is read, then refused.
    EXPECT_EQ(monthRow(4, 1000.0, 101), "");
    S->edit();
    set("sd_ap_category", 195);
    EXPECT_EQ(post(S), noRate);
    EXPECT_EQ(DM->IBQ1->sqlText(), "select * from k_tariff_ap_value  where ktapv_id=10113");
    EXPECT_EQ(stored("select sd_ap_category from saldo_data").toDouble(), 101);
}

// ------------------------------------------------------------------------ automatic calculation

TEST_F(SaldoDataRule, WithAutomaticCalculationOffTheTypedContributionsAreStored)
{
    ws.calculation = false;
    declaration(10, 2010);
    storedMonths(10, 3, 700, 2010);
    newRow(4, d(1, 4, 2010), d(30, 4, 2010), 10000.0);
    set("sd_sum_add", 123.45);
    set("sd_sum_add_ea", 67.89);
    EXPECT_EQ(post(S), "");
    EXPECT_EQ(amount("sd_sum_add"), 123.45);
    EXPECT_EQ(amount("sd_sum_add_ea"), 67.89);
    EXPECT_EQ(amount("sd_tariff_ap"), 10113);
    // The year is over its ceiling: the warning comes all the same.
    EXPECT_EQ(ui.notices, QStringList{kCeilingWarning});
    // No yearly amount either.
    newRow(5, d(1, 5, 2010), d(31, 5, 2010), 0.0, 170);
    set("sd_sum_add", 10.0);
    EXPECT_EQ(post(S), "");
    EXPECT_EQ(amount("sd_sum_add"), 10.0);

    ws.calculation = true;
    S->edit();
    EXPECT_EQ(post(S), "");
    EXPECT_EQ(amount("sd_sum_add"), 195.00);
}

TEST_F(SaldoDataRule, AYearlyAmountGivesOneTwelfthFrom2006)
{
    declaration(10, 2010);
    EXPECT_EQ(monthRow(1, 0.0, 170), "");
    EXPECT_EQ(amount("sd_sum_add"), 195.00); // 2340 / 12
    EXPECT_EQ(amount("sd_tariff_ap"), 17013);
    rate(19713, 197, "01.01.2010", "31.12.2010", "L", 1000, -1, "L", 0);
    rate(19813, 198, "01.01.2010", "31.12.2010", "L", 0.01, -1, "L", 0);
    EXPECT_EQ(monthRow(2, 0.0, 197), "");
    EXPECT_EQ(amount("sd_sum_add"), 83.33);
    EXPECT_EQ(monthRow(3, 0.0, 198), "");
    EXPECT_TRUE(column("sd_sum_add").isNull());

    declaration(11, 2006);
    EXPECT_EQ(monthRow(1, 0.0, 171), "");
    EXPECT_EQ(amount("sd_sum_add"), 18.00); // 216 / 12
    declaration(12, 2005);
    EXPECT_EQ(monthRow(1, 0.0, 171), "");
    EXPECT_TRUE(column("sd_sum_add").isNull());
    EXPECT_EQ(amount("sd_tariff_ap"), 17108);
}

TEST_F(SaldoDataRule, FormTypeAndIdentityOfASavedRow)
{
    declaration(10, 2010);
    newRow(1, d(1, 1, 2010), d(31, 1, 2010), 1000.0);
    set("sd_kft_rf", 3);
    EXPECT_EQ(post(S), "");
    EXPECT_EQ(amount("sd_kft_rf"), 3);
    const double id = current("sd_id");
    S->edit();
    set("sd_kft_rf", 0);
    set("sd_paym_fond", 500.0);
    EXPECT_EQ(post(S), "");
    EXPECT_EQ(current("sd_id"), id);
    EXPECT_EQ(amount("sd_kft_rf"), 1);
    EXPECT_EQ(amount("sd_sum_add"), 30.00);
    EXPECT_EQ(amount("sd_sum_add_ea"), 115.00);
    EXPECT_EQ(rows(), 1);
    EXPECT_FALSE(DM->cds1->active());
}

TEST_F(SaldoDataRule, ARowPostedWhileItsReadQueryIsStillReadingIsRefusedAndWritesNothing)
{
    declaration(10, 2010);
    ReadScope outer(DM->IBQ1, QStringLiteral("select km_id from k_month order by km_id"));
    outer->next();
    newRow(1, d(1, 1, 2010), d(31, 1, 2010), 1000.0);
    EXPECT_THROW(S->post(), std::logic_error);
    EXPECT_EQ(S->state(), RecordSet::State::Insert);
    EXPECT_EQ(outer.value(0).toInt(), 2); // the outer cursor reads on
    outer.end();
    EXPECT_EQ(rows(), 0);
    EXPECT_EQ(post(S), "");
    EXPECT_EQ(rows(), 1);
}

TEST_F(SaldoDataRule, TheCeilingReadsAsTheyAreWritten)
{
    EXPECT_EQ(SaldoDataRules::yearToDateStatement("10", "<=", "4", "'01.01.2010'", "'31.12.2010'", "77"),
              "select count(distinct sd_month) as cnt,sum(sd_sum_add) as suma  from saldo_data where sd_na=10 and "
              "sd_month<=4 and sd_dela_d >='01.01.2010' and sd_dela_d<='31.12.2010' and sd_sum_add>0 and sd_id<>77");
    EXPECT_EQ(SaldoDataRules::yearSumStatement("10", "77", "'01.01.2010'", "'31.12.2010'"),
              "select sum(sd_sum_add) as suma , count(distinct sd_month) as cnt from saldo_data where sd_na=10 and "
              "sd_id<>77 and sd_dela_d >='01.01.2010' and sd_dela_d<='31.12.2010' and sd_sum_add>0 ");
}

} // namespace
