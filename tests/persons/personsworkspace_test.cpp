// The persons workspace's data work: searches, the page loads and the year box.

#include "data/ee.h"
#include "data/helpers.h"
#include "data/tdm.h"
#include "persons/personsworkspace.h"
#include "records/assuredpersonrules.h"
#include "tests/persons/personsfixture.h"
#include "tests/support/testdatabase.h"
#include "tests/support/testworkspace.h"

namespace {

using namespace PersonsWorkspace;

class Persons : public PersonsFixture
{
protected:
    void SetUp() override
    {
        PersonsFixture::SetUp();
    }
    QStringList listed()
    {
        QStringList out;
        for (int r = 0; r < DM->assured_person->recordCount(); ++r)
            out << DM->assured_person->displayTextAt(r, 11) + u' ' + DM->assured_person->displayTextAt(r, 12);
        return out;
    }
    QString refusal(const std::function<void()> &f)
    {
        try {
            f();
        } catch (const EE &e) {
            return e.message();
        }
        return {};
    }
    TestWorkspace ws;
};

TEST_F(Persons, EmptyBoxesListEveryPersonOfTheAgentByName)
{
    SearchBoxes b;
    search(SearchBy::Name, b);
    EXPECT_EQ(listed(), (QStringList{"ION ANA", "ION PETRU", "IONESCU MARIA", "POPA ION"}));
    EXPECT_EQ(DM->assured_person->recNo(), 0);
}

TEST_F(Persons, NamesMatchByPrefixAndBothBoxesMustMatch)
{
    SearchBoxes b{"ION", "", "123", "456"};
    search(SearchBy::Name, b);
    EXPECT_EQ(listed(), (QStringList{"ION ANA", "ION PETRU", "IONESCU MARIA"}));
    EXPECT_TRUE(b.cpas.isEmpty() && b.idnp.isEmpty());
    b = {"ION", "P", "", ""};
    search(SearchBy::Name, b);
    EXPECT_EQ(listed(), QStringList{"ION PETRU"});
    b = {"", "ION", "", ""};
    search(SearchBy::Name, b);
    EXPECT_EQ(listed(), QStringList{"POPA ION"});
}

TEST_F(Persons, CodeSearchesCheckTheLengthAndClearTheOtherBoxes)
{
    SearchBoxes b{"ION", "", "", ""};
    search(SearchBy::Name, b);
    b = {"X", "Y", "1234567890", "Z"};
    EXPECT_EQ(refusal([&] { search(SearchBy::Cpas, b); }), "CPAS trebue sa fie din 11 cifre !");
    EXPECT_EQ(b.name, "X"); // nothing cleared
    EXPECT_EQ(listed().size(), 3); // the list survives
    b.cpas = "44444444444";
    search(SearchBy::Cpas, b);
    EXPECT_EQ(listed(), QStringList{"POPA ION"});
    EXPECT_TRUE(b.name.isEmpty() && b.firstName.isEmpty() && b.idnp.isEmpty());

    b = {"X", "", "", "333"};
    EXPECT_EQ(refusal([&] { search(SearchBy::Idnp, b); }), "IDNP trebue sa fie din 13 cifre !");
    b.idnp = "3333333333333";
    search(SearchBy::Idnp, b);
    EXPECT_EQ(listed(), QStringList{"ION ANA"});
    EXPECT_TRUE(b.name.isEmpty());

    // An empty CPAS box lists everybody and clears nothing.
    b = {"", "", "", "3333333333333"};
    search(SearchBy::Cpas, b);
    EXPECT_EQ(listed().size(), 4);
    EXPECT_EQ(b.idnp, "3333333333333");
}

TEST_F(Persons, TheSearchButtonIgnoresTheIdnpBox)
{
    SearchBoxes b{"  ", "", "", "3333333333333"};
    searchButton(b);
    EXPECT_EQ(listed().size(), 4);
    b = {"POP", "", "44444444444", ""};
    searchButton(b);
    EXPECT_EQ(listed(), QStringList{"POPA ION"});
    EXPECT_TRUE(b.cpas.isEmpty());
}

TEST_F(Persons, AnUnsavablePersonBlocksTheSearch)
{
    SearchBoxes b;
    search(SearchBy::Name, b);
    newPerson();
    EXPECT_EQ(DM->assured_person->field("ap_sex").asString(), "M");
    DM->assured_person->field("ap_first_name").setValue("NOU");
    EXPECT_EQ(refusal([&] { search(SearchBy::Name, b); }), "Introduceti CPAS !");
    EXPECT_EQ(DM->assured_person->state(), RecordSet::State::Insert);
    EXPECT_EQ(DM->assured_person->field("ap_first_name").asString(), "NOU");
}

TEST_F(Persons, TheSearchLoadsTheFirstPersonsDeclaration)
{
    exec("insert into name_account (na_id, na_ap, na_year) values(10,3,2008)");
    SearchBoxes b;
    search(SearchBy::Name, b); // ION ANA (id 3) first
    EXPECT_EQ(DM->name_account->recordCount(), 1);
    EXPECT_FALSE(ws.completionVisible);
}

TEST_F(Persons, DeclarationPageNeedsASavedPerson)
{
    EXPECT_EQ(refusal([] { openDeclarationPage(); }), "Introduceti datele despre persoana sau cautati persoana !");
    SearchBoxes b;
    search(SearchBy::Name, b);
    newPerson();
    EXPECT_EQ(refusal([] { openDeclarationPage(); }), "Introduceti datele despre persoana sau cautati persoana !");
    DM->assured_person->cancel();
    exec("insert into name_account (na_id, na_ap, na_year) values(10,3,2008)");
    EXPECT_EQ(refusal([] { openDeclarationPage(); }), "");
    EXPECT_EQ(DM->name_account->recordCount(), 1);
    EXPECT_FALSE(ws.completionVisible);
}

TEST_F(Persons, SalaryPageLoadsRowsAndTheRatesOfTheCategory)
{
    exec("insert into name_account (na_id, na_ap, na_year) values(10,3,2008)");
    exec("insert into saldo_data (sd_id, sd_na, sd_month, sd_dela_d) values(100,10,2,'01.02.2008')");
    exec("insert into saldo_data (sd_id, sd_na, sd_month, sd_dela_d) values(101,10,1,'01.01.2008')");
    SearchBoxes b;
    search(SearchBy::Name, b);
    EXPECT_EQ(refusal([] { openSalaryPage("2008"); }), "Indicati categoria persoanei asigurate!");
    EXPECT_EQ(DM->saldo_data->recordCount(), 2); // the rows stay shown
    EXPECT_EQ(DM->saldo_data->valueAt(0, 2).toInt(), 1); // ordered by the period start

    exec("update name_account set na_ap_category=101 where na_id=10");
    openDeclarationPage();
    openSalaryPage("2008");
    ASSERT_EQ(DM->k_tariff_ap_value->recordCount(), 1);
    EXPECT_EQ(DM->k_tariff_ap_value->field("ktapv_ktap").asFloat(), 101.0);
    EXPECT_EQ(DM->IBQ1->sqlText(), "Select * from k_tariff_ap_value  where ktapv_date_start<='01.01.2008' and "
                                   "ktapv_date_stop>='31.12.2008' and ktapv_ktap=101");
    EXPECT_FALSE(DM->IBT1->active());
}

TEST_F(Persons, LeavingTheYearBoxRestrictsCategoriesAndRates)
{
    yearBoxLeft("2008");
    EXPECT_EQ(DM->workingYear, "2008");
    const int cats = scalar("select count(*) from k_tariff_ap where ktap_id in (select ktapv_ktap from "
                            "k_tariff_ap_value where ktapv_date_start<='01.01.2008' and ktapv_date_stop>='31.12.2008')")
                         .toInt();
    EXPECT_EQ(DM->k_tariff_ap->recordCount(), cats);
    EXPECT_EQ(DM->k_tariff_ap_value->recordCount(),
              scalar("select count(*) from k_tariff_ap_value where ktapv_date_start<='01.01.2008' and "
                     "ktapv_date_stop>='31.12.2008'")
                  .toInt());
    EXPECT_EQ(DM->IBQ1->sqlText(), "Select * from k_tariff_ap_value  where ktapv_date_start<='01.01.2008' and "
                                   "ktapv_date_stop>='31.12.2008'");
}

TEST_F(Persons, SearchWordsAreQuotedAsTyped)
{
    SearchBoxes b{" o'ne ", "ana", "", ""};
    EXPECT_EQ(searchStatement(SearchBy::Name, b, 1),
              " select ap_id,ap_ea,ap_cpas,ap_idnp ,  ap_idnp_who,ap_idnp_dt, ap_birth_dt , ap_sex , ap_doc_type,  "
              "ap_doc_seria , ap_doc_number,ap_first_name, ap_middle_name, ap_last_name  from assured_person where "
              "ap_ea=1 and ap_first_name like'o''ne%' and ap_middle_name like 'ana%' order by ap_first_name,"
              "ap_middle_name ");
}

} // namespace
