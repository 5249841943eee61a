#include "reports/engine/reportformat.h"

#include <QLocale>
#include <gtest/gtest.h>

namespace {

// A German default locale writes "1.234,5": the report texts must not follow it.
class ReportFormatTest : public ::testing::Test
{
protected:
    void SetUp() override { QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany)); }
    void TearDown() override { QLocale::setDefault(QLocale::c()); }
};

TEST_F(ReportFormatTest, AtMostTwoDecimalsWithoutGrouping)
{
    const QString mask = QStringLiteral("#############.##");
    EXPECT_EQ(ReportFormat::number(1234.50, mask), "1234.5");
    EXPECT_EQ(ReportFormat::number(12, mask), "12");
    EXPECT_EQ(ReportFormat::number(0.005, mask), "0.01");
    EXPECT_EQ(ReportFormat::number(1.005, mask), "1.01");
    EXPECT_EQ(ReportFormat::number(2.675, mask), "2.68");
    EXPECT_EQ(ReportFormat::number(9.999, mask), "10");
    EXPECT_EQ(ReportFormat::number(0.5, mask), "0.5");
    EXPECT_EQ(ReportFormat::number(-7.1, mask), "-7.1");
    EXPECT_EQ(ReportFormat::number(1234567890123.45, mask), "1234567890123.45");
    EXPECT_EQ(ReportFormat::number(0, mask), "");
    EXPECT_EQ(ReportFormat::number(0.004, mask), "");
    EXPECT_EQ(ReportFormat::number(-0.004, mask), "");
}

TEST_F(ReportFormatTest, GroupedWithTwoDecimals)
{
    const QString mask = QStringLiteral("### ### ### ##0.00");
    EXPECT_EQ(ReportFormat::number(1234567.8, mask), "1 234 567.80");
    EXPECT_EQ(ReportFormat::number(0, mask), "0.00");
    EXPECT_EQ(ReportFormat::number(0.005, mask), "0.01");
    EXPECT_EQ(ReportFormat::number(100, mask), "100.00");
    EXPECT_EQ(ReportFormat::number(999.995, mask), "1 000.00");
    EXPECT_EQ(ReportFormat::number(-1234.5, mask), "-1 234.50");
    EXPECT_EQ(ReportFormat::number(123456789012.3, mask), "123 456 789 012.30");
}

TEST_F(ReportFormatTest, GroupedWholeNumbers)
{
    const QString mask = QStringLiteral("### ### ### ###");
    EXPECT_EQ(ReportFormat::number(1234567, mask), "1 234 567");
    EXPECT_EQ(ReportFormat::number(1000, mask), "1 000");
    EXPECT_EQ(ReportFormat::number(999, mask), "999");
    EXPECT_EQ(ReportFormat::number(12.5, mask), "13");
    EXPECT_EQ(ReportFormat::number(0, mask), "");
}

TEST_F(ReportFormatTest, ValuesThroughMasksAndPlainText)
{
    const QString money = QStringLiteral("### ### ### ##0.00");
    EXPECT_EQ(ReportFormat::format(QVariant(), money), "");
    EXPECT_EQ(ReportFormat::format(QVariant(QMetaType(QMetaType::Double)), money), "");
    EXPECT_EQ(ReportFormat::format(QStringLiteral("Total"), money), "Total");
    EXPECT_EQ(ReportFormat::format(42, money), "42.00");
    EXPECT_EQ(ReportFormat::text(1234.5), "1234.5");
    EXPECT_EQ(ReportFormat::text(3.0), "3");
    EXPECT_EQ(ReportFormat::text(0.1 + 0.2), "0.3");
    EXPECT_EQ(ReportFormat::text(1e20), "100000000000000000000");
    EXPECT_EQ(ReportFormat::text(QDate(2008, 3, 5)), "05.03.2008");
    EXPECT_EQ(ReportFormat::text(QDateTime(QDate(2015, 12, 31), QTime(0, 0))), "31.12.2015");
}

TEST_F(ReportFormatTest, CopyIsOneBasedAndForgiving)
{
    const QString date = QStringLiteral("12.03.2015");
    EXPECT_EQ(ReportFormat::copy(date, 1, 2), "12");
    EXPECT_EQ(ReportFormat::copy(date, 4, 2), "03");
    EXPECT_EQ(ReportFormat::copy(date, 7, 4), "2015");
    EXPECT_EQ(ReportFormat::copy(date, 0, 2), "12");
    EXPECT_EQ(ReportFormat::copy(date, 9, 5), "15");
    EXPECT_EQ(ReportFormat::copy(date, 11, 1), "");
    EXPECT_EQ(ReportFormat::copy(date, 1, 0), "");
    EXPECT_EQ(ReportFormat::copy(QString(), 1, 2), "");
}

} // namespace
