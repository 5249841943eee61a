// The save and move rules of an insured person, against a real database.

#include "data/dberror.h"
#include "data/docseries.h"
#include "data/ee.h"
#include "data/helpers.h"
#include "data/readscope.h"
#include "data/tdm.h"
#include "records/assuredpersonrules.h"
#include "tests/support/testdatabase.h"
#include "tests/support/testworkspace.h"

namespace {

class PersonRules : public DataModuleTest
{
protected:
    void SetUp() override
    {
        DataModuleTest::SetUp();
        exec("insert into econ_agent values(1,'1234567','1','A','B','C',91,'D','0')");
        exec("insert into econ_agent values(2,'7654321','2','E','F','G',91,'H','0')");
        loadAgent(1);
        for (RecordSet *s : {DM->assured_person, DM->name_account, DM->saldo_data})
            s->createDataSet();
        DM->serverDate = QDateTime(QDate(2010, 6, 15), QTime(0, 0));
        AssuredPersonRules::attach();
        P = DM->assured_person;
    }
    void loadAgent(int id)
    {
        ReadScope read(DM->IBQ1, QStringLiteral("select * from econ_agent where ea_id=%1").arg(id));
        CopyToMemTable(read.query(), DM->econ_agent, 3);
    }
    // A new person that passes every check; tests then spoil one field.
    void newPerson(const QString &cpas = "12345678901", const QString &idnp = "2001234567890")
    {
        P->append();
        set("ap_cpas", cpas);
        set("ap_idnp", idnp);
        set("ap_first_name", "POPESCU");
        set("ap_middle_name", "ION");
        set("ap_doc_type", 1);
        set("ap_doc_seria", "AB");
        set("ap_doc_number", "1234567");
    }
    void set(const char *field, const QVariant &v) { P->field(field).setValue(v); }
    QString refusal()
    {
        try {
            P->post();
        } catch (const EE &e) {
            return e.message();
        }
        return {};
    }
    int persons() { return scalar("select count(*) from assured_person").toInt(); }

    RecordSet *P = nullptr;
    TestWorkspace ws;
};

TEST_F(PersonRules, ANewPersonIsWrittenWithItsAgentIdentifierAndDefaults)
{
    newPerson();
    set("ap_last_name", "vasile");
    set("ap_birth_dt", QDate(1980, 3, 5));
    EXPECT_EQ(refusal(), "");
    EXPECT_EQ(persons(), 1);
    EXPECT_EQ(scalar("select ap_ea from assured_person").toDouble(), 1.0);
    EXPECT_EQ(scalar("select ap_sex from assured_person").toString(), "M");
    EXPECT_EQ(scalar("select ap_last_name from assured_person").toString(), "VASILE");
    EXPECT_EQ(scalar("select ap_id from assured_person").toDouble(), P->field("ap_id").asFloat());
    EXPECT_EQ(P->state(), RecordSet::State::Browse);
    // Saving again without changes passes: its own row does not count as a duplicate.
    P->edit();
    set("ap_idnp_who", "OFICIUL 1");
    EXPECT_EQ(refusal(), "");
    EXPECT_EQ(persons(), 1);
    EXPECT_EQ(scalar("select ap_idnp_who from assured_person").toString(), "OFICIUL 1");
}

TEST_F(PersonRules, CpasChecksComeFirst)
{
    newPerson("");
    EXPECT_EQ(refusal(), "Introduceti CPAS !");
    set("ap_cpas", "1234567890");
    EXPECT_EQ(refusal(), "Introduceti corect CPAS !");
    set("ap_cpas", "12345 78901");
    EXPECT_EQ(refusal(), "Cpas trebuie sa fie numai din cifre !");
    EXPECT_EQ(P->state(), RecordSet::State::Insert);
    EXPECT_EQ(persons(), 0);
}

TEST_F(PersonRules, TheIdentifierIsConsumedEvenWhenALaterCheckRefuses)
{
    newPerson();
    set("ap_first_name", QVariant());
    EXPECT_EQ(refusal(), "Introduceti numele !");
    const double first = P->field("ap_id").asFloat();
    set("ap_first_name", "POPESCU");
    set("ap_middle_name", QVariant());
    EXPECT_EQ(refusal(), "Introduceti prenumele !");
    EXPECT_GT(P->field("ap_id").asFloat(), first);
}

TEST_F(PersonRules, WithoutAnAgentNothingIsSaved)
{
    DM->econ_agent->emptyDataSet();
    newPerson();
    EXPECT_EQ(refusal(), "Introduceti datele despre agentul economic !");
}

TEST_F(PersonRules, DatesAreCheckedAgainstTheServerDate)
{
    newPerson();
    set("ap_birth_dt", QDate(1899, 12, 31));
    EXPECT_EQ(refusal(), "Data nasterii<\"01.01.1900\" sau Data nasterii>\"01.01.2200\"");
    set("ap_birth_dt", QDate(1980, 1, 1));
    set("ap_idnp_dt", QDate(2200, 1, 2));
    EXPECT_EQ(refusal(), "Data buletinului<\"01.01.1900\" sau Data buletinului>\"01.01.2200\"");
    set("ap_idnp_dt", QDate(1979, 12, 31));
    EXPECT_EQ(refusal(), "Data nasterii nu poate fi mai mare ca data eliberarii documentului !");
    set("ap_idnp_dt", QDate(1980, 1, 1));
    set("ap_birth_dt", QDate(2010, 6, 15));
    set("ap_idnp_dt", QVariant());
    EXPECT_EQ(refusal(), "Data nasterii nu poate fi mai mare decit data curenta 15.06.2010");
    set("ap_birth_dt", QDate(2010, 6, 14));
    set("ap_idnp_dt", QDate(2010, 6, 15));
    EXPECT_EQ(refusal(), "Data buletinului nu poate fi mai mare decit data curenta 15.06.2010");
    set("ap_idnp_dt", QDate(2010, 6, 14)); // equal to the birth date passes
    EXPECT_EQ(refusal(), "");
}

TEST_F(PersonRules, DocumentSeriesAndNumbers)
{
    newPerson();
    set("ap_doc_seria", "ABC");
    EXPECT_EQ(refusal(), "Seria  documentului nu mai mult de doua litere !");
    set("ap_doc_seria", "AB");
    set("ap_doc_number", QVariant());
    EXPECT_EQ(refusal(), "Indicati numarul  documentului !");
    set("ap_doc_number", "123456789");
    EXPECT_EQ(refusal(), "Numarul documentului nu mai mult de opt cifre !");
    set("ap_doc_number", "1234A678");
    EXPECT_EQ(refusal(), "Numarul documentului trebuie sa fie numai din cifre !");

    set("ap_doc_number", "1234567");
    set("ap_doc_type", 12);
    set("ap_doc_seria", QStringLiteral("IV-ЖБ"));
    EXPECT_EQ(refusal(), "Numarul documentului nu mai mult de sase cifre !");
    set("ap_doc_number", "123456");
    set("ap_doc_seria", "IV-");
    EXPECT_EQ(refusal(), "Seria  documentului este incorecta !");
}

TEST_F(PersonRules, SeriesOfOldPassports)
{
    using AssuredPersonRules::seriesValid;
    EXPECT_TRUE(seriesValid(QStringLiteral("IV-ЖБ")));
    EXPECT_TRUE(seriesValid(QStringLiteral("XIV-АЯ")));
    EXPECT_FALSE(seriesValid("IV-"));              // ends at the hyphen
    EXPECT_FALSE(seriesValid("IV-AB"));            // Latin letters after the hyphen
    EXPECT_FALSE(seriesValid(QStringLiteral("AV-ЖБ"))); // first character
    EXPECT_FALSE(seriesValid(QStringLiteral("IQ-ЖБ"))); // second character
    EXPECT_TRUE(seriesValid("I-anything"));        // hyphen in the second position
    EXPECT_TRUE(seriesValid("XIV"));               // no hyphen
    EXPECT_FALSE(seriesValid(""));
    // The stored form (Windows-1251 codes read through Windows-1250) passes too.
    EXPECT_TRUE(seriesValid(DocSeries::toStored(QStringLiteral("IV-ЖБ"))));
}

TEST_F(PersonRules, CyrillicSeriesIsStoredAsItsSingleByteCodes)
{
    newPerson();
    set("ap_doc_type", 2);
    set("ap_doc_seria", QStringLiteral("IV-ЖБ"));
    set("ap_doc_number", "123456");
    set("ap_idnp", QVariant());
    EXPECT_EQ(refusal(), "");
    EXPECT_EQ(scalar("select octet_length(ap_doc_seria) from assured_person").toInt(), 5);
    // Ж is 0xC6 and Б 0xC1 in Windows-1251; the column holds exactly those bytes.
    EXPECT_EQ(scalar("select ascii_val(substring(ap_doc_seria from 4 for 1)) from assured_person").toInt(), 0xC6);
    EXPECT_EQ(scalar("select ascii_val(substring(ap_doc_seria from 5 for 1)) from assured_person").toInt(), 0xC1);
    // Read back into the record set, the user sees the Cyrillic letters again. The copy runs
    // neither the save rule nor the move rule, whose reads would be nested in this one.
    P->beforePost = nullptr;
    P->afterScroll = nullptr;
    ReadScope read(DM->IBQ1, "select * from assured_person");
    CopyToMemTable(read.query(), P, 3);
    EXPECT_EQ(P->field("ap_doc_seria").asString(), QStringLiteral("IV-ЖБ"));
}

TEST_F(PersonRules, IdnpRules)
{
    newPerson();
    set("ap_doc_type", 13);
    set("ap_doc_number", "123");
    set("ap_idnp", QVariant());
    EXPECT_EQ(refusal(), "Indicati IDNP !");
    set("ap_doc_type", 3);
    EXPECT_EQ(refusal(), ""); // type 3 needs no IDNP
    P->edit();
    set("ap_idnp", "123456789012");
    EXPECT_EQ(refusal(), "IDNP trebuie sa fie din 13 cifre !");
    set("ap_idnp", "12345678901x3");
    EXPECT_EQ(refusal(), "IDNP trebuie sa fie numai din cifre !");
}

TEST_F(PersonRules, CodesAreUniqueWithinAnAgentOnly)
{
    newPerson("11111111111", "1111111111111");
    ASSERT_EQ(refusal(), "");
    newPerson("22222222222", "1111111111111");
    EXPECT_EQ(refusal(), "Persoana cu acest idnp este introdusa deja !");
    set("ap_idnp", "2222222222222");
    set("ap_cpas", "11111111111");
    EXPECT_EQ(refusal(), "Persoana cu acest cpas este introdusa deja !");
    P->cancel();
    loadAgent(2);
    newPerson("11111111111", "1111111111111");
    EXPECT_EQ(refusal(), "");
    EXPECT_EQ(persons(), 2);
}

TEST_F(PersonRules, TextOutsideTheCodePageWritesNothing)
{
    newPerson();
    set("ap_first_name", QStringLiteral("ИВАНОВ"));
    try {
        P->post();
        FAIL();
    } catch (const EE &e) {
        EXPECT_TRUE(e.message().contains(QStringLiteral("И")));
    }
    EXPECT_EQ(persons(), 0);
    EXPECT_EQ(P->state(), RecordSet::State::Insert);
}

TEST_F(PersonRules, MovingLoadsTheDeclarationOfTheSelectedYear)
{
    newPerson("11111111111", "1111111111111");
    ASSERT_EQ(refusal(), "");
    const double a = P->field("ap_id").asFloat();
    newPerson("22222222222", "2222222222222");
    ASSERT_EQ(refusal(), "");
    exec(QStringLiteral("insert into name_account (na_id, na_ap, na_year) values(10,%1,2008)").arg(a));
    exec("insert into saldo_data (sd_id, sd_na, sd_month) values(100,10,2)");
    exec("insert into saldo_data (sd_id, sd_na, sd_month) values(101,10,1)");

    int naPosts = 0;
    DM->name_account->beforePost = [&](RecordSet &) { ++naPosts; };
    ASSERT_TRUE(P->locate("ap_id", a));
    EXPECT_EQ(DM->name_account->recordCount(), 1);
    EXPECT_FALSE(ws.completionVisible);
    EXPECT_TRUE(DM->saldo_data->isEmpty()); // not on the page "Salariul"
    EXPECT_EQ(naPosts, 0);
    EXPECT_TRUE(bool(DM->name_account->beforePost));

    ws.page = 2;
    ASSERT_TRUE(P->locate("ap_cpas", "22222222222"));
    EXPECT_TRUE(DM->name_account->isEmpty());
    EXPECT_TRUE(ws.completionVisible);
    ASSERT_TRUE(P->locate("ap_id", a));
    ASSERT_EQ(DM->saldo_data->recordCount(), 2);
    EXPECT_EQ(DM->saldo_data->field("SD_MONTH").asInteger(), 1); // ordered by month

    ws.year = "2009";
    const int clears = ws.footerClears;
    P->first();
    P->locate("ap_id", a);
    EXPECT_TRUE(DM->name_account->isEmpty());
    EXPECT_GT(ws.footerClears, clears);
    EXPECT_FALSE(DM->IBT1->active());
}

} // namespace
