// Field edit masks as field definitions write them, as the line edits receive them and as the
// typed text comes back into the field.

#include "grid/editmask.h"

#include <QLineEdit>
#include <QTest>
#include <gtest/gtest.h>

namespace {

TEST(EditMask, ConvertsPlacesSeparatorsAndBlank)
{
    const EditMask fosk(QStringLiteral("0000000;1; "));
    EXPECT_EQ(fosk.inputMask(), "9999999; ");
    EXPECT_TRUE(fosk.savesLiterals());
    EXPECT_EQ(fosk.blank(), u' ');
    EXPECT_EQ(fosk.length(), 7);

    EXPECT_EQ(EditMask(QStringLiteral("99999999999999999;1; ")).inputMask(), QString(17, u'0') + "; ");
    const EditMask date(QStringLiteral("!99.99.9999;1;_"));
    EXPECT_EQ(date.inputMask(), "00.00.0000;_");
    EXPECT_EQ(date.length(), 10);
    // Letters, any characters, case switches, escaped and Qt-special literals.
    EXPECT_EQ(EditMask(QStringLiteral(">LLl-aAcC<>#;0;*")).inputMask(), ">AAa-nNxX!#;*");
    EXPECT_EQ(EditMask(QStringLiteral("\\0\\L00/9;1;_")).inputMask(), "\\0L99.0;_");
    EXPECT_EQ(EditMask(QStringLiteral("BN-00;1;_")).inputMask(), "\\B\\N-99;_");
    // No flag parts: literals saved, "_" as blank.
    const EditMask bare(QStringLiteral("00:00"));
    EXPECT_TRUE(bare.savesLiterals());
    EXPECT_EQ(bare.inputMask(), "99:99;_");
    EXPECT_TRUE(EditMask(QString()).isEmpty());
    EXPECT_EQ(EditMask(QString()).inputMask(), "");
}

TEST(EditMask, ValueKeepsOrDropsLiteralsAndKeepsBlanks)
{
    const EditMask idno(QStringLiteral("99999999999999999;1; "));
    EXPECT_EQ(idno.valueOf(QStringLiteral("123              ")), QStringLiteral("123") + QString(14, u' '));
    EXPECT_EQ(idno.valueOf(QString(17, u' ')), "");
    const EditMask date(QStringLiteral("!99.99.9999;1;_"));
    EXPECT_EQ(date.valueOf(QStringLiteral("05.03.2008")), "05.03.2008");
    EXPECT_EQ(date.valueOf(QStringLiteral("05.__.____")), "05.__.____");
    EXPECT_EQ(date.valueOf(QStringLiteral("__.__.____")), "");
    const EditMask noLiterals(QStringLiteral("LL-000;0;_"));
    EXPECT_EQ(noLiterals.valueOf(QStringLiteral("AB-123")), "AB123");
    EXPECT_EQ(noLiterals.valueOf(QStringLiteral("AB-1__")), "AB1__");
}

TEST(EditMask, TheLineEditTakesOnlyWhatTheMaskAllows)
{
    QLineEdit e;
    e.setInputMask(EditMask(QStringLiteral("0000000;1; ")).inputMask());
    e.setFocus();
    QTest::keyClicks(&e, "12a34");
    EXPECT_EQ(EditMask(QStringLiteral("0000000;1; ")).valueOf(e.displayText()), "1234   ");
}

} // namespace
