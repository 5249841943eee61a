// The monthly rows generated for a declaration saved with "Completarea automata" ticked, and
// the function code of a declaration, against a real database.

#include "data/ibquery.h"
#include "tests/records/declarationfixture.h"

namespace {

class AutoCompletionRule : public DeclarationFixture
{
protected:
    void SetUp() override
    {
        DeclarationFixture::SetUp();
        ws.year = QStringLiteral("2010");
        ws.completion = true;
        N = DM->name_account;
        S = DM->saldo_data;
        exec("insert into k_prof values(990001, 'contabil')");
        exec("delete from k_tariff_ap_value"); // only the rates of each test
        rate(501, 101, "01.01.2010", "31.12.2010", "P", 6, 500, "P", 23);
    }
    void set(const char *field, const QVariant &v) { N->field(QString::fromLatin1(field)).setValue(v); }
    // A new declaration of the first person with the given period, category and function.
    QString newDeclaration(const QVariant &begin, const QVariant &end, const QVariant &category = 101,
                           const QVariant &function = 990001)
    {
        N->append();
        set("na_period_begin", begin);
        set("na_period_end", end);
        set("na_ap_category", category);
        set("na_position", function);
        return post(N);
    }
    int declarations() { return scalar("select count(*) from name_account").toInt(); }
    int packages() { return scalar("select count(*) from packlabel").toInt(); }
    QStringList months() { return column("select sd_month from saldo_data order by sd_month"); }
    // The rows of saldo_data in month order, each as the given columns joined by "|".
    QStringList rows(const QStringList &columns, const QString &where = QString())
    {
        QStringList out;
        for (const QString &c : columns) {
            const QStringList values = column("select " + c + " from saldo_data " + where + " order by sd_month, sd_id");
            out.resize(values.size());
            for (int i = 0; i < values.size(); ++i)
                out[i] += (out[i].isEmpty() ? "" : "|") + values[i];
        }
        return out;
    }
    // The months of the rows the record set shows.
    QStringList shownMonths()
    {
        QStringList out;
        for (int r = 0; r < S->recordCount(); ++r)
            out << S->valueAt(r, S->fieldIndex("sd_month")).toString();
        return out;
    }

    RecordSet *N = nullptr, *S = nullptr;
};

TEST_F(AutoCompletionRule, ANewDeclarationGetsOneWholeMonthRowPerMonthOfItsPeriod)
{
    ASSERT_EQ(newDeclaration(QDate(2010, 3, 15), QDate(2010, 10, 20)), "");
    EXPECT_EQ(N->state(), RecordSet::State::Browse);
    const QString na = N->field("na_id").asString();
    EXPECT_EQ(months(), (QStringList{"3", "4", "5", "6", "7", "8", "9", "10"}));
    EXPECT_EQ(shownMonths(), months());
    EXPECT_EQ(S->state(), RecordSet::State::Browse);
    const QStringList stored = rows({"sd_na", "sd_dela_d", "sd_pina_d", "sd_zile_n", "sd_ap_category", "sd_position",
                                     "sd_paym_fond", "sd_ill", "sd_sum_add", "sd_sum_add_ea", "sd_tariff_ap",
                                     "sd_tariff_ea", "sd_kft_rf"});
    ASSERT_EQ(stored.size(), 8);
    const int last[] = {31, 30, 31, 30, 31, 31, 30, 31};
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(stored[i], QStringLiteral("%1|01.%2.2010|%3.%2.2010|5|101|990001|0|0|0|0|501|501|1")
                                 .arg(na, QStringLiteral("%1").arg(i + 3, 2, 10, QChar('0')))
                                 .arg(last[i]));
    EXPECT_TRUE(ui.notices.isEmpty());
    EXPECT_FALSE(DM->IBT1->active());
}

TEST_F(AutoCompletionRule, AYearlyAmountGivesEachGeneratedRowItsTwelfth)
{
    rate(502, 120, "01.01.2010", "31.12.2010", "L", 1000, -1, "P", 0);
    ASSERT_EQ(newDeclaration(QDate(2010, 11, 1), QDate(2010, 12, 31), 120), "");
    EXPECT_EQ(column("select sd_sum_add from saldo_data order by sd_month"), (QStringList{"83.33", "83.33"}));
    EXPECT_EQ(column("select sd_pina_d from saldo_data order by sd_month"),
              (QStringList{"30.11.2010", "31.12.2010"}));
}

TEST_F(AutoCompletionRule, RowsTheMonthlyRuleRefusesAreLeftOutSilently)
{
    // No rate valid for the whole year: every row is refused, the declaration is stored.
    rate(503, 130, "01.02.2010", "31.12.2010", "P", 6, -1, "P", 23);
    ASSERT_EQ(newDeclaration(QDate(2010, 1, 1), QDate(2010, 12, 31), 130), "");
    EXPECT_EQ(declarations(), 1);
    EXPECT_TRUE(months().isEmpty());
    EXPECT_TRUE(S->isEmpty());
    EXPECT_EQ(S->state(), RecordSet::State::Browse);
    EXPECT_TRUE(ui.notices.isEmpty());

    // A formed electronic package covering April to June leaves those months out.
    exec("insert into t_pachet values(1,'P','01.07.2010',2010,4,6,1,NULL,NULL,NULL)");
    exec("delete from name_account");
    N->emptyDataSet();
    ASSERT_EQ(newDeclaration(QDate(2010, 3, 1), QDate(2010, 7, 31)), "");
    EXPECT_EQ(months(), (QStringList{"3", "7"}));
    EXPECT_EQ(shownMonths(), months());
}

TEST_F(AutoCompletionRule, ANewDeclarationWithoutCategoryOrWithAPeriodOutsideTheYearIsStoredWithoutRows)
{
    struct Case {
        QVariant begin, end, category;
        const char *message;
    } cases[] = {
        {QDate(2010, 1, 1), QDate(2010, 12, 31), QVariant(), "Introduceti categoria persoanei asigurate !"},
        {QDate(2010, 6, 1), QDate(2011, 1, 31), 101, "Data perioadei nu este din anul de dare de seama !"},
        {QDate(2009, 12, 1), QDate(2010, 1, 31), 101, "Data perioadei nu este din anul de dare de seama !"},
        {QVariant(), QDate(2010, 1, 31), 101, "Data perioadei nu este din anul de dare de seama !"},
        {QDate(2010, 6, 1), QDate(2010, 5, 31), 101, "Introduceti corect perioada !"},
    };
    int stored = 0;
    for (const Case &c : cases) {
        N->cancel();
        N->emptyDataSet();
        exec("delete from name_account");
        EXPECT_EQ(newDeclaration(c.begin, c.end, c.category), c.message);
        // The declaration was written before the test; its in-memory row stays being inserted.
        EXPECT_EQ(declarations(), 1) << c.message;
        EXPECT_EQ(N->state(), RecordSet::State::Insert);
        EXPECT_TRUE(months().isEmpty());
        ++stored;
    }
    EXPECT_EQ(stored, 5);
    // Saving it again meets the stored declaration.
    EXPECT_EQ(post(N), " Pentru aceasta persoana este deja declaratie pentru acest an !");
}

TEST_F(AutoCompletionRule, AnExistingDeclarationGetsOnlyTheMonthsItLacks)
{
    declaration(7, 2010);
    exec("update name_account set na_period_begin='10.03.2010', na_period_end='20.07.2010', na_position=990001 "
         "where na_id=7");
    exec("insert into saldo_data (sd_id,sd_na,sd_month,sd_paym_fond,sd_sum_add,sd_dela_d,sd_pina_d,sd_zile_n,"
         "sd_ap_category,sd_kft_rf) values(71,7,3,1000,60,'01.03.2010','31.03.2010',5,101,1)");
    exec("insert into saldo_data (sd_id,sd_na,sd_month,sd_paym_fond,sd_sum_add,sd_dela_d,sd_pina_d,sd_zile_n,"
         "sd_ap_category,sd_kft_rf) values(72,7,5,2000,120,'01.05.2010','15.05.2010',6,102,1)");
    useDeclaration(7, 2010);
    N->edit();
    set("na_wb_seria", "x");
    ASSERT_EQ(post(N), "");
    EXPECT_EQ(months(), (QStringList{"3", "4", "5", "6", "7"}));
    EXPECT_EQ(rows({"sd_id", "sd_paym_fond", "sd_sum_add", "sd_zile_n"}, "where sd_id in (71,72)"),
              (QStringList{"71|1000|60|5", "72|2000|120|6"}));
    EXPECT_EQ(rows({"sd_dela_d", "sd_pina_d", "sd_position", "sd_tariff_ap", "sd_tariff_ea"}, "where sd_month=6"),
              QStringList{"01.06.2010|30.06.2010|990001|501|501"});
    EXPECT_EQ(shownMonths().size(), 5);
    EXPECT_EQ(scalar("select na_wb_seria from name_account where na_id=7").toString(), "X");

    // Saved again: nothing is missing any more.
    N->edit();
    ASSERT_EQ(post(N), "");
    EXPECT_EQ(months().size(), 5);
}

TEST_F(AutoCompletionRule, AMonthRefusedWhileFillingRefusesTheExistingDeclaration)
{
    declaration(8, 2010);
    exec("update name_account set na_period_begin='01.04.2010', na_period_end='30.06.2010' where na_id=8");
    useDeclaration(8, 2010);
    exec("insert into t_pachet values(1,'P','01.07.2010',2010,5,5,1,NULL,NULL,NULL)");
    N->edit();
    set("na_wb_seria", "y");
    EXPECT_EQ(post(N), "Este deja format pachetul electronic  !");
    EXPECT_EQ(N->state(), RecordSet::State::Edit);
    EXPECT_EQ(months(), QStringList{"4"}); // the month before stays stored, June was not reached
    EXPECT_TRUE(scalar("select na_wb_seria from name_account where na_id=8").isNull());
}

TEST_F(AutoCompletionRule, AnExistingDeclarationWithoutPeriodOrCategoryFillsNothingQuietlyOrGetsTheRowsMessage)
{
    declaration(9, 2010);
    exec("update name_account set na_period_begin=NULL where na_id=9");
    useDeclaration(9, 2010);
    N->edit();
    set("na_wb_seria", "z");
    ASSERT_EQ(post(N), "");
    EXPECT_TRUE(months().isEmpty());
    EXPECT_EQ(scalar("select na_wb_seria from name_account where na_id=9").toString(), "Z");

    // No category: the monthly-row rule's own message, not the server's syntax error.
    N->edit();
    set("na_period_begin", QDate(2010, 2, 1));
    set("na_period_end", QDate(2010, 2, 28));
    N->field("na_ap_category").clear();
    EXPECT_EQ(post(N), "Introduceti categoria");
    EXPECT_TRUE(months().isEmpty());
}

// ---------------------------------------------------------------- the function code

TEST_F(AutoCompletionRule, AFunctionCodeMissingFromTheClassifierIsRefusedBeforeAnythingIsWritten)
{
    ws.completion = false;
    EXPECT_EQ(newDeclaration(QDate(2010, 1, 1), QDate(2010, 12, 31), 101, 777777), "Asa cod a  profesiei nu este !");
    EXPECT_EQ(declarations(), 0);
    EXPECT_EQ(packages(), 0);
    EXPECT_EQ(N->state(), RecordSet::State::Insert);
    EXPECT_EQ(DM->IBQ1->sqlText(), " select kp_name_ro from k_prof where kp_id=777777");

    // An existing declaration keeps its stored function.
    set("na_position", 990001);
    ASSERT_EQ(post(N), "");
    N->edit();
    set("na_position", -5);
    EXPECT_EQ(post(N), "Asa cod a  profesiei nu este !");
    EXPECT_EQ(scalar("select na_position from name_account").toString(), "990001");
}

TEST_F(AutoCompletionRule, AFunctionCodeOfZeroIsStoredAsNoFunction)
{
    ASSERT_EQ(newDeclaration(QDate(2010, 12, 1), QDate(2010, 12, 31), 101, 0), "");
    EXPECT_TRUE(N->field("na_position").isNull());
    EXPECT_TRUE(scalar("select na_position from name_account").isNull());
    EXPECT_EQ(months(), QStringList{"12"});
    EXPECT_TRUE(scalar("select sd_position from saldo_data").isNull());

    N->edit();
    set("na_position", 0);
    ASSERT_EQ(post(N), "");
    EXPECT_TRUE(scalar("select na_position from name_account").isNull());
}

} // namespace
