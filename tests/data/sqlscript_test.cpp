#include "data/sqlscript.h"
#include "data/win1250.h"

#include <gtest/gtest.h>

TEST(SqlScript, SplitsOnTheTerminatorOutsideQuotesAndComments)
{
    const QStringList s = SqlScript::split(
        "-- comment; not a statement\n"
        "create table a (x varchar(5)); /* ; */ insert into a values('a;b');\n"
        "insert into a values(\"it''s;\");\n"
        "SET TERM ^ ;\n"
        "create procedure p returns (n integer) as begin n = 1; suspend; end^\n"
        "SET TERM ; ^\n"
        "COMMIT;\n"
        "select * from a;");
    ASSERT_EQ(s.size(), 5);
    EXPECT_EQ(s[0], "create table a (x varchar(5))");
    EXPECT_EQ(s[1], "insert into a values('a;b')");
    EXPECT_EQ(s[2], "insert into a values(\"it''s;\")");
    EXPECT_EQ(s[3], "create procedure p returns (n integer) as begin n = 1; suspend; end");
    EXPECT_EQ(s[4], "select * from a");
}

TEST(Win1250, EveryByteSurvivesARoundTrip)
{
    QByteArray all;
    for (int b = 0; b < 256; ++b)
        all.append(char(b));
    QByteArray back;
    ASSERT_TRUE(Win1250::encode(Win1250::decode(all), &back));
    EXPECT_EQ(back, all);
}

TEST(Win1250, RomanianLettersHaveTheirCodePageBytes)
{
    QByteArray b;
    ASSERT_TRUE(Win1250::encode(QStringLiteral("ăâîşţĂÂÎŞŢșțȘȚ"), &b));
    EXPECT_EQ(b, QByteArray("\xE3\xE2\xEE\xBA\xFE\xC3\xC2\xCE\xAA\xDE\xBA\xFE\xAA\xDE"));
    QString bad;
    EXPECT_FALSE(Win1250::encode(QStringLiteral("Ion 中"), &b, &bad));
    EXPECT_EQ(bad, QStringLiteral("中"));
}
