#include "data/formats.h"
#include "data/helpers.h"

#include <gtest/gtest.h>

TEST(Formats, DatesAreDayMonthYearWithPoints)
{
    EXPECT_EQ(Formats::dateText(QDate(2008, 3, 5)), "05.03.2008");
    EXPECT_EQ(Formats::dateTimeText(QDateTime(QDate(2008, 3, 5), QTime(0, 0))), "05.03.2008");
    EXPECT_EQ(Formats::dateTimeText(QDateTime(QDate(2008, 3, 5), QTime(14, 7, 9))), "05.03.2008 14:07:09");
    EXPECT_EQ(Formats::parseDate("05.03.2008"), QDate(2008, 3, 5));
    EXPECT_FALSE(Formats::parseDate("31.02.2008").isValid());
    EXPECT_FALSE(Formats::parseDate("5.3.08").isValid());
}

TEST(Formats, FloatTextIsGeneralWithPoint)
{
    EXPECT_EQ(Formats::floatText(1234.5), "1234.5");
    EXPECT_EQ(Formats::floatText(0), "0");
    EXPECT_EQ(Formats::floatText(-0.25), "-0.25");
    EXPECT_EQ(Formats::floatText(100), "100");
    EXPECT_EQ(Formats::floatText(0.1 + 0.2), "0.3"); // 15 significant digits
    EXPECT_EQ(Formats::floatText(123456789012.34), "123456789012.34");
    EXPECT_EQ(Formats::floatText(1e-7), "1E-7");
}

TEST(Formats, Round2KeepsTenSignificantDigits)
{
    EXPECT_DOUBLE_EQ(Round2(12.345), 12.35);
    EXPECT_DOUBLE_EQ(Round2(-12.345), -12.35);
    EXPECT_DOUBLE_EQ(Round2(0.005), 0.01);
    EXPECT_DOUBLE_EQ(Round2(0.004999), 0.0);
    EXPECT_DOUBLE_EQ(Round2(2.675), 2.68);
    EXPECT_DOUBLE_EQ(Round2(1234567.891), 1234567.89);
    // 9 integer digits keep one decimal, 10 keep none, more are rounded to 10 digits.
    EXPECT_DOUBLE_EQ(Round2(123456789.126), 123456789.1);
    EXPECT_DOUBLE_EQ(Round2(1234567890.6), 1234567891.0);
    EXPECT_DOUBLE_EQ(Round2(12345678901.0), 12345678900.0);
    EXPECT_DOUBLE_EQ(Round2(99999999.999), 100000000.0);
    EXPECT_DOUBLE_EQ(Round2(0), 0.0);
}

TEST(Formats, MoneyGroupsDigitsWithBlanks)
{
    EXPECT_EQ(Formats::moneyText(1234567.8), "1 234 567.80");
    EXPECT_EQ(Formats::moneyText(0), "0.00");
    EXPECT_EQ(Formats::moneyText(-999.995), "-1 000.00");
    EXPECT_EQ(Formats::moneyText(100), "100.00");
}

TEST(Formats, ProcessSettingsDriveTheChecksTexts)
{
    Formats::forceDefaults();
    EXPECT_EQ(Formats::formatFloatWithSettings(12.34), "12.34");
    EXPECT_EQ(Formats::formatDateWithSettings(QDate(2008, 3, 5)), "05.03.2008");
    Formats::settings().shortDateFormat = "d/m/yyyy";
    EXPECT_EQ(Formats::formatDateWithSettings(QDate(2008, 3, 5)), "5.3.2008");
    Formats::settings().decimalSeparator = u',';
    EXPECT_EQ(Formats::formatFloatWithSettings(12.34), "12,34");
    Formats::forceDefaults();
}

TEST(Helpers, ReplaceAllIsCaseSensitive)
{
    EXPECT_EQ(ReplaceAll("a,b,A,c", ",", "."), "a.b.A.c");
    EXPECT_EQ(ReplaceAll("aAa", "a", "x"), "xAx");
    EXPECT_EQ(ReplaceAll("abc", "", "x"), "abc");
}
