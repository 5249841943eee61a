// The insertion and save rules of a declaration, against a real database.

#include "tests/records/declarationfixture.h"

namespace {

class NameAccountRule : public DeclarationFixture
{
protected:
    void SetUp() override
    {
        DeclarationFixture::SetUp();
        ws.year = QStringLiteral("2010");
        N = DM->name_account;
    }
    void set(const char *field, const QVariant &v) { N->field(QString::fromLatin1(field)).setValue(v); }
    QString text(const char *field) { return N->field(QString::fromLatin1(field)).asString(); }
    QVariant column(const char *name)
    {
        return stored(QStringLiteral("select %1 from name_account where na_id=%2")
                          .arg(QString::fromLatin1(name), N->field("na_id").asString()));
    }
    int declarations() { return scalar("select count(*) from name_account").toInt(); }
    int packages() { return scalar("select count(*) from packlabel").toInt(); }

    RecordSet *N = nullptr;
};

TEST_F(NameAccountRule, ANewDeclarationStartsWithTheDefaults)
{
    N->append();
    EXPECT_EQ(text("na_wb_in_ea"), "N");
    EXPECT_EQ(text("na_is_pens"), "N");
    EXPECT_EQ(text("na_kft_rf"), "1");
    EXPECT_EQ(text("na_ap_category"), "101");
    EXPECT_EQ(text("na_period_begin"), "01.01.2010");
    EXPECT_EQ(text("na_period_end"), "31.12.2010");
    EXPECT_TRUE(N->field("na_position").isNull());
    EXPECT_TRUE(N->field("na_public").isNull());
    EXPECT_EQ(DM->IBQ3->sqlText(),
              " select na_position,na_year,na_ap_category from name_account  where na_ap=1 order by na_year desc ");
}

TEST_F(NameAccountRule, ANewDeclarationTakesTheCategoryAndFunctionOfThePersonsLatest)
{
    exec("insert into name_account (na_id,na_ap,na_year,na_ap_category,na_position) values(31,1,2009,105,112001)");
    exec("insert into name_account (na_id,na_ap,na_year,na_ap_category,na_position) values(32,1,2007,102,111202)");
    exec("insert into name_account (na_id,na_ap,na_year,na_ap_category,na_position) values(33,2,2011,103,111201)");
    N->append();
    EXPECT_EQ(text("na_ap_category"), "105");
    EXPECT_EQ(text("na_position"), "112001");
    EXPECT_EQ(text("na_period_begin"), "01.01.2010");
    EXPECT_EQ(DM->IBT3->active(), false);
}

TEST_F(NameAccountRule, AFirstSaveGivesPackagePersonYearAndIdentifier)
{
    N->append();
    set("na_kft_rf", 3);
    set("na_wb_seria", "ab");
    ASSERT_EQ(post(N), "");
    EXPECT_EQ(N->state(), RecordSet::State::Browse);
    EXPECT_EQ(N->recordCount(), 1);
    const QString id = text("na_id");
    EXPECT_GT(N->field("na_id").asFloat(), 0);
    EXPECT_EQ(packages(), 1);
    const QString pl = scalar("select pl_id from packlabel where pl_ea=1 and pl_year=2010").toString();
    EXPECT_EQ(text("na_pl"), Formats::floatText(pl.toDouble()));
    EXPECT_EQ(DM->IBQ2->sqlText(),
              "Insert into name_account (na_id,na_pl,na_ap,na_year,na_is_pens,na_period_begin,na_period_end,"
              "na_ap_category,na_wb_in_ea,na_wb_seria,na_wb_number,na_kft_rf,na_ill,na_rest,na_public_d,na_position,"
              "na_public) values("
                  + id + "," + text("na_pl")
                  + ",1,2010,'N','01.01.2010','31.12.2010',101,'N','AB',NULL,1,NULL,0,NULL,NULL,'N')");
    EXPECT_EQ(column("na_ap").toDouble(), 1);
    EXPECT_EQ(column("na_year").toInt(), 2010);
    EXPECT_EQ(column("na_kft_rf").toDouble(), 1);
    EXPECT_EQ(column("na_rest").toDouble(), 0);
    EXPECT_EQ(column("na_public").toString(), "N");
    EXPECT_EQ(DM->IBQ1->sqlText(), "select * from get_na_id");
    EXPECT_FALSE(DM->IBT1->active());

    // A later save writes an UPDATE of the same row.
    N->edit();
    set("na_kft_rf", 3);
    set("na_rest", QVariant());
    set("na_wb_number", "12");
    ASSERT_EQ(post(N), "");
    EXPECT_EQ(DM->IBQ2->sqlText(),
              "update name_account set na_pl=" + text("na_pl")
                  + ",na_ap=1,na_year=2010,na_is_pens='N',na_period_begin='01.01.2010',na_period_end='31.12.2010',"
                    "na_ap_category=101,na_wb_in_ea='N',na_wb_seria='AB',na_wb_number='12',na_kft_rf=1,na_ill=NULL,"
                    "na_rest=0,na_public_d=NULL,na_position=NULL,na_public='N' where na_id="
                  + id);
    EXPECT_EQ(column("na_wb_number").toString(), "12");
    EXPECT_EQ(column("na_kft_rf").toDouble(), 1);
    EXPECT_EQ(column("na_rest").toDouble(), 0);
    EXPECT_EQ(declarations(), 1);
    EXPECT_EQ(packages(), 1);
}

TEST_F(NameAccountRule, ASecondDeclarationOfThePersonForTheYearIsDiscarded)
{
    exec("insert into name_account (na_id,na_ap,na_year,na_ap_category) values(31,1,2010,101)");
    N->append();
    set("na_wb_seria", "AB");
    EXPECT_EQ(post(N), " Pentru aceasta persoana este deja declaratie pentru acest an !");
    EXPECT_EQ(DM->IBQ1->sqlText(), "select * from name_account where na_ap=1 and na_year=2010");
    EXPECT_EQ(N->state(), RecordSet::State::Browse);
    EXPECT_TRUE(N->isEmpty());
    EXPECT_EQ(declarations(), 1);
    EXPECT_EQ(packages(), 0);
    EXPECT_FALSE(DM->IBT1->active());
    // Another year, or another person, is free.
    ws.year = QStringLiteral("2011");
    N->append();
    EXPECT_EQ(post(N), "");
    ws.year = QStringLiteral("2010");
    DM->assured_person->next();
    N->append();
    EXPECT_EQ(post(N), "");
    EXPECT_EQ(declarations(), 3);
}

TEST_F(NameAccountRule, PublicServiceDateAndFlag)
{
    N->append();
    set("na_public_d", QDate(2009, 12, 31));
    EXPECT_EQ(post(N), " Introduceti corect data serviciului public !");
    EXPECT_EQ(N->state(), RecordSet::State::Insert);
    EXPECT_EQ(text("na_public_d"), "31.12.2009");
    EXPECT_EQ(declarations(), 0);
    EXPECT_EQ(packages(), 0);
    set("na_public_d", QDate(2010, 1, 1));
    ASSERT_EQ(post(N), "");
    EXPECT_EQ(column("na_public").toString(), "V");
    EXPECT_EQ(column("na_public_d").toDate(), QDate(2010, 1, 1));

    // Unticking the box clears the date.
    N->edit();
    set("na_public", "N");
    ASSERT_EQ(post(N), "");
    EXPECT_TRUE(column("na_public_d").isNull());
    EXPECT_EQ(column("na_public").toString(), "N");
    // With the flag at "N" a typed date is cleared too.
    N->edit();
    set("na_public_d", QDate(2010, 3, 1));
    ASSERT_EQ(post(N), "");
    EXPECT_TRUE(column("na_public_d").isNull());
    EXPECT_EQ(column("na_public").toString(), "N");
    // A flag never set and a date inside the year: "V".
    N->edit();
    set("na_public", QVariant());
    set("na_public_d", QDate(2010, 12, 31));
    ASSERT_EQ(post(N), "");
    EXPECT_EQ(column("na_public").toString(), "V");
    // A later year is refused as well; an edited row keeps the user's values.
    N->edit();
    set("na_public_d", QDate(2011, 1, 1));
    EXPECT_EQ(post(N), " Introduceti corect data serviciului public !");
    EXPECT_EQ(N->state(), RecordSet::State::Edit);
    EXPECT_EQ(column("na_public_d").toDate(), QDate(2010, 12, 31));
    // No date: "N".
    set("na_public_d", QVariant());
    set("na_public", "V");
    ASSERT_EQ(post(N), "");
    EXPECT_EQ(column("na_public").toString(), "N");
}

TEST_F(NameAccountRule, AutomaticCompletionTickedStillSavesTheDeclaration)
{
    ws.completion = true;
    N->append();
    ASSERT_EQ(post(N), "");
    EXPECT_EQ(declarations(), 1);
    N->edit();
    set("na_wb_number", "7");
    ASSERT_EQ(post(N), "");
    EXPECT_EQ(column("na_wb_number").toString(), "7");
}

} // namespace
