// The periods a year offers and what choosing one of them sets: the code, the filter of the
// monthly rows and the months, with the refusals of an incomplete or impossible choice.

#include "data/ee.h"
#include "packages/packageperiod.h"

#include <gtest/gtest.h>

namespace {

struct Expected
{
    const char *code, *filter, *from, *to;
};

PackagePeriod chosen(int year, int item, const QVariant &formType)
{
    PackagePeriod p;
    p.choose(year, item, formType);
    return p;
}

void expectPeriod(const PackagePeriod &p, const Expected &e)
{
    EXPECT_EQ(p.PeriodCode, QString::fromLatin1(e.code));
    EXPECT_EQ(p.PeriodFilter, QString::fromLatin1(e.filter));
    EXPECT_EQ(p.MonthFrom, QString::fromLatin1(e.from));
    EXPECT_EQ(p.MonthTo, QString::fromLatin1(e.to));
}

QString refusal(int year, int item, const QVariant &formType)
{
    try {
        chosen(year, item, formType);
    } catch (const EE &e) {
        return e.message();
    }
    return {};
}

TEST(PackagePeriodTest, YearsUpTo2012OfferTheWholeYearOnlyAndPrimaryForms)
{
    EXPECT_EQ(PackagePeriod::periodCaptions(2012), QStringList{"Anul intreg"});
    EXPECT_EQ(PackagePeriod::periodCaptions(2005), QStringList{"Anul intreg"});
    const auto types = PackagePeriod::formTypes(2012);
    ASSERT_EQ(types.size(), 1);
    EXPECT_EQ(types[0].first, 1);
    EXPECT_EQ(types[0].second, "Primară");

    for (int item : {0, -1})
        expectPeriod(chosen(2012, item, 1), {"T00", " and sd_month between 1 and 12 ", "1", "12"});
}

TEST(PackagePeriodTest, Years2013And2014OfferQuartersAndTheWholeYear)
{
    for (int year : {2013, 2014}) {
        EXPECT_EQ(PackagePeriod::periodCaptions(year),
                  (QStringList{"Trim. I", "Trim. II", "Trim. III", "Trim. IV", "Anul intreg"}));
        ASSERT_EQ(PackagePeriod::formTypes(year).size(), 1);
        EXPECT_EQ(PackagePeriod::formTypes(year)[0].first, 1);
        expectPeriod(chosen(year, 0, 1), {"T01", " and sd_month between 1 and 3 ", "1", "3"});
        expectPeriod(chosen(year, 1, 1), {"T02", " and sd_month between 4 and 6 ", "4", "6"});
        expectPeriod(chosen(year, 2, 1), {"T03", " and sd_month between 7 and 9 ", "7", "9"});
        expectPeriod(chosen(year, 3, 1), {"T04", " and sd_month between 10 and 12 ", "10", "12"});
        expectPeriod(chosen(year, 4, 1), {"T00", " and sd_month between 1 and 12 ", "1", "12"});
    }
}

TEST(PackagePeriodTest, From2015MonthsCarryTheFormTypeOfTheirRows)
{
    const QStringList months{"Ianuarie", "Februarie", "Martie",     "Aprilie",   "Mai",       "Iunie",      "Iulie",
                             "August",   "Septembrie", "Octombrie", "Noiembrie", "Decembrie", "Anul intreg"};
    EXPECT_EQ(PackagePeriod::periodCaptions(2015), months);
    EXPECT_EQ(PackagePeriod::periodCaptions(2021), months);
    const auto types = PackagePeriod::formTypes(2015);
    ASSERT_EQ(types.size(), 2);
    EXPECT_EQ(types[0], qMakePair(1, QString("Primară")));
    EXPECT_EQ(types[1], qMakePair(3, QString("De corectare")));

    expectPeriod(chosen(2015, 0, 1), {"L01", " and sd_month=1  and sd_kft_rf=1", "1", "1"});
    expectPeriod(chosen(2016, 2, 3), {"L03", " and sd_month=3  and sd_kft_rf=3", "3", "3"});
    expectPeriod(chosen(2016, 2, 3.0), {"L03", " and sd_month=3  and sd_kft_rf=3", "3", "3"});
    expectPeriod(chosen(2015, 8, 3), {"L09", " and sd_month=9  and sd_kft_rf=3", "9", "9"});
    expectPeriod(chosen(2015, 11, 1), {"L12", " and sd_month=12  and sd_kft_rf=1", "12", "12"});
    expectPeriod(chosen(2017, 12, 1), {"T00", " and sd_month between 1 and 12  and sd_kft_rf=1", "1", "12"});
}

TEST(PackagePeriodTest, NoPeriodChosenLeavesTheCodeEmpty)
{
    expectPeriod(chosen(2014, -1, 1), {"", "", "", ""});
    // From 2015 the form type is still added to the filter.
    expectPeriod(chosen(2016, -1, 3), {"", " and sd_kft_rf=3", "", ""});
    expectPeriod(chosen(2016, -1, 1), {"", " and sd_kft_rf=1", "", ""});
}

TEST(PackagePeriodTest, RefusesAChoiceWithoutFormTypeOrACorrectedWholeYear)
{
    for (int year : {2012, 2014, 2016})
        EXPECT_EQ(refusal(year, 0, QVariant()), "Indicati Declaratii !");
    EXPECT_EQ(refusal(2016, 12, 3), "Declaratia anuala poate fi numai primara !");
    EXPECT_EQ(refusal(2015, 12, 3.0), "Declaratia anuala poate fi numai primara !");
    EXPECT_EQ(refusal(2015, 11, 3), "");
    EXPECT_EQ(refusal(2015, 12, 1), "");

    // A refusal leaves the state as it was.
    PackagePeriod p = chosen(2016, 4, 1);
    EXPECT_THROW(p.choose(2016, 12, 3), EE);
    EXPECT_THROW(p.choose(2016, 3, QVariant()), EE);
    expectPeriod(p, {"L05", " and sd_month=5  and sd_kft_rf=1", "5", "5"});
}

} // namespace
