// The code lookup's searches on the real classifier tables and the code it writes into the
// declaration or the monthly row.

#include "data/dberror.h"
#include "data/recordset.h"
#include "data/tdm.h"
#include "maintenance/codelookup.h"
#include "tests/support/scripteduserinteraction.h"
#include "tests/support/testdatabase.h"

#include <algorithm>

namespace {

class CodeLookupTest : public DataModuleTest
{
protected:
    void SetUp() override
    {
        DataModuleTest::SetUp();
        DM->name_account->createDataSet();
        DM->saldo_data->createDataSet();
    }

    QStringList codes()
    {
        QStringList out;
        for (int r = 0; r < results.recordCount(); ++r)
            out << results.displayTextAt(r, results.fieldIndex("cod"));
        return out;
    }
    static QStringList sorted(QStringList l)
    {
        std::sort(l.begin(), l.end());
        return l;
    }

    ScriptedUserInteraction ui;
    RecordSet results{"IBQ5"};
};

TEST_F(CodeLookupTest, StatementsQuoteTheKeywordBetweenPercentSigns)
{
    EXPECT_EQ(CodeLookup::statement(2, " sef "),
              "select kp_id as cod,kp_name_ro as nume   from k_prof where kp_name_ro like '%sef%'");
    EXPECT_EQ(CodeLookup::statement(3, "O'N"),
              "select kp_id as cod,kp_name_ro as nume   from k_prof where kp_name_ro like '%O''N%'");
    EXPECT_EQ(CodeLookup::statement(3, "  "), "");
    EXPECT_EQ(CodeLookup::statement(4, ""),
              "select ktap_id as cod,ktap_name_ro as nume from k_tariff_ap  order by ktap_id");
    EXPECT_EQ(CodeLookup::statement(5, "MUNC"),
              "select ktap_id as cod,ktap_name_ro as nume  from k_tariff_ap where ktap_name_ro like '%MUNC%' order by ktap_id");
    EXPECT_EQ(CodeLookup::statement(7, "X"), "");
    EXPECT_EQ(CodeLookup::targetField(2), "na_position");
    EXPECT_EQ(CodeLookup::targetField(3), "SD_POSITION");
    EXPECT_EQ(CodeLookup::targetField(4), "na_ap_category");
    EXPECT_EQ(CodeLookup::targetField(5), "SD_AP_CATEGORY");
    EXPECT_EQ(CodeLookup::targetSet(4), DM->name_account);
    EXPECT_EQ(CodeLookup::targetSet(5), DM->saldo_data);
    EXPECT_EQ(CodeLookup::targetSet(1), nullptr);
}

TEST_F(CodeLookupTest, EmptyCategoryKeywordListsEveryCategoryInCodeOrder)
{
    ASSERT_TRUE(CodeLookup::search(4, "", &results));
    const QStringList all = column("select ktap_id from k_tariff_ap order by ktap_id");
    ASSERT_EQ(all.size(), 14);
    EXPECT_EQ(codes(), all);
    EXPECT_EQ(results.field("nume").asString(), column("select ktap_name_ro from k_tariff_ap where ktap_id=101")[0]);
    // The query stays open with the results until the dialog ends.
    EXPECT_TRUE(DM->IBT5->active());
    EXPECT_TRUE(DM->IBQ5->active());
    CodeLookup::finish();
    EXPECT_FALSE(DM->IBT5->active());
    EXPECT_FALSE(DM->IBQ5->active());
}

TEST_F(CodeLookupTest, EmptyProfessionKeywordOnlyAsksForOne)
{
    ASSERT_TRUE(CodeLookup::search(2, "RECTOR", &results));
    const QStringList before = codes();
    EXPECT_FALSE(CodeLookup::search(3, "   ", &results));
    EXPECT_EQ(ui.notices, QStringList{"Introduceti cuvintul cheie pentru cautare "});
    EXPECT_EQ(codes(), before);
    EXPECT_TRUE(ui.errors.isEmpty());
}

TEST_F(CodeLookupTest, KeywordMatchesAnywhereInTheName)
{
    ASSERT_TRUE(CodeLookup::search(2, "RECTOR", &results));
    EXPECT_EQ(sorted(codes()), sorted(column("select kp_id from k_prof where kp_name_ro containing 'RECTOR'")));
    EXPECT_TRUE(codes().contains("134501"));
    // Diacritics reach the database in its code page; an apostrophe is quoted.
    exec("insert into k_prof (kp_id, kp_name_ro) values (999001, 'OPERATOR O''NEIL')");
    ASSERT_TRUE(CodeLookup::search(3, QStringLiteral("ŞCOAL"), &results));
    EXPECT_EQ(codes(), QStringList{"134501"});
    ASSERT_TRUE(CodeLookup::search(3, "O'NEIL", &results));
    EXPECT_EQ(codes(), QStringList{"999001"});
    ASSERT_TRUE(CodeLookup::search(5, QStringLiteral("MATERNITATE"), &results));
    EXPECT_EQ(codes(), QStringList{"157"});
}

TEST_F(CodeLookupTest, ChoosingWritesTheCodeOfTheCurrentRow)
{
    ASSERT_TRUE(CodeLookup::search(4, "", &results));
    results.moveTo(2);
    const qint64 third = results.field("cod").asInteger();
    CodeLookup::choose(4, &results);
    // An empty declaration set starts a new row.
    EXPECT_EQ(DM->name_account->state(), RecordSet::State::Insert);
    EXPECT_EQ(DM->name_account->field("na_ap_category").asInteger(), third);

    ASSERT_TRUE(CodeLookup::search(3, "INGINER", &results));
    results.last();
    const qint64 last = results.field("cod").asInteger();
    CodeLookup::choose(3, &results);
    EXPECT_EQ(DM->saldo_data->state(), RecordSet::State::Insert);
    EXPECT_EQ(DM->saldo_data->field("SD_POSITION").asInteger(), last);
    CodeLookup::choose(2, &results);
    EXPECT_EQ(DM->name_account->field("na_position").asInteger(), last);
}

TEST_F(CodeLookupTest, BrowsedRowIsPutIntoEditAndNothingFoundWritesZero)
{
    DM->saldo_data->append();
    DM->saldo_data->field("SD_ID").setValue(1);
    DM->saldo_data->field("SD_NA").setValue(1);
    DM->saldo_data->field("SD_MONTH").setValue(3);
    DM->saldo_data->field("SD_AP_CATEGORY").setValue(101);
    DM->saldo_data->post();
    ASSERT_TRUE(CodeLookup::search(5, "NU EXISTA", &results));
    EXPECT_EQ(results.recordCount(), 0);
    CodeLookup::choose(5, &results);
    EXPECT_EQ(DM->saldo_data->state(), RecordSet::State::Edit);
    EXPECT_FALSE(DM->saldo_data->field("SD_AP_CATEGORY").isNull());
    EXPECT_EQ(DM->saldo_data->field("SD_AP_CATEGORY").asInteger(), 0);
}

TEST_F(CodeLookupTest, ChoosingBeforeAnySearchFailsAfterEditingStarted)
{
    try {
        CodeLookup::choose(2, &results);
        FAIL() << "no error";
    } catch (const DbError &e) {
        EXPECT_TRUE(e.message().contains("'cod'")) << e.message().toStdString();
    }
    EXPECT_EQ(DM->name_account->state(), RecordSet::State::Insert);
    EXPECT_TRUE(DM->name_account->field("na_position").isNull());
}

} // namespace
