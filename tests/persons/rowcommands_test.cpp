// "&Nou" of the salary page and the three deletions of the persons workspace, run as
// operations over a real database, the window's state given by the test.

#include "persons/deletions.h"
#include "persons/remainingmonths.h"
#include "records/assuredpersonrules.h"
#include "tests/records/declarationfixture.h"

namespace {

class RowCommands : public DeclarationFixture
{
protected:
    void SetUp() override
    {
        DeclarationFixture::SetUp();
        ws.page = 2;
    }
    // A stored monthly row of the whole month.
    void row(int sdId, int naId, int year, int month, int pensFund = 0, int category = 101)
    {
        const QDate from(year, month, 1);
        exec(QStringLiteral("insert into saldo_data (sd_id,sd_na,sd_month,sd_paym_fond,sd_ill,sd_pens_fund,sd_dela_d,"
                            "sd_pina_d,sd_zile_n,sd_ap_category,sd_kft_rf) values(%1,%2,%3,1000,0,%4,'%5','%6',5,%7,1)")
                 .arg(sdId)
                 .arg(naId)
                 .arg(month)
                 .arg(pensFund)
                 .arg(from.toString("dd.MM.yyyy"), from.addMonths(1).addDays(-1).toString("dd.MM.yyyy"))
                 .arg(category));
    }
    void formedPackage(int id, int year, int from, int to, int agent = 1)
    {
        exec(QStringLiteral("insert into t_pachet (pachet_id,nume,pachet_d,anul,luna_d,luna_p,ae_rf) "
                            "values(%1,'P','01.01.2015',%2,%3,%4,%5)")
                 .arg(id)
                 .arg(year)
                 .arg(from)
                 .arg(to)
                 .arg(agent));
    }
    QStringList months(int naId)
    {
        return column(QStringLiteral("select sd_month from saldo_data where sd_na=%1 order by sd_month").arg(naId));
    }
    // Runs a command: "" when it completed, the refusal's message otherwise.
    static QString run(void (*command)())
    {
        try {
            command();
        } catch (const EE &e) {
            return e.message();
        }
        return {};
    }
};

QStringList monthRange(int from, int to)
{
    QStringList out;
    for (int m = from; m <= to; ++m)
        out << QString::number(m);
    return out;
}

// ---------------------------------------------------------------- "&Nou"

TEST_F(RowCommands, NewFillsEveryMonthOfALeapYearWithWholeMonthRows)
{
    declaration(10, 2012);
    exec("update name_account set na_position=111201 where na_id=10");
    useDeclaration(10, 2012);
    ws.page = 2;
    EXPECT_EQ(run(RemainingMonths::fill), "");
    EXPECT_EQ(months(10), monthRange(1, 12));
    EXPECT_EQ(column(
                  "select distinct cast(sd_zile_n as integer)||'/'||cast(sd_ap_category as integer)||'/'||"
                  "cast(sd_position as integer)||'/'||sd_kft_rf||'/'||cast(sd_tariff_ap as integer) from saldo_data"),
              QStringList{"5/101/111201/1/10115"});
    EXPECT_EQ(stored("select sd_pina_d from saldo_data where sd_month=2").toDate(), QDate(2012, 2, 29));
    EXPECT_EQ(stored("select sd_dela_d from saldo_data where sd_month=2").toDate(), QDate(2012, 2, 1));
    EXPECT_EQ(stored("select sd_pina_d from saldo_data where sd_month=12").toDate(), QDate(2012, 12, 31));
    EXPECT_EQ(stored("select sd_pina_d from saldo_data where sd_month=4").toDate(), QDate(2012, 4, 30));
    // The rows are shown as saved, in month order.
    RecordSet *rows = DM->saldo_data;
    ASSERT_EQ(rows->recordCount(), 12);
    EXPECT_EQ(rows->state(), RecordSet::State::Browse);
    EXPECT_EQ(rows->valueAt(11, rows->fieldIndex("sd_month")).toInt(), 12);
    EXPECT_TRUE(ui.errors.isEmpty());
}

TEST_F(RowCommands, NewContinuesAfterTheLastRowAndStopsAfterDecember)
{
    declaration(10, 2010);
    for (int m = 1; m <= 6; ++m)
        row(100 + m, 10, 2010, m);
    useDeclaration(10, 2010);
    EXPECT_EQ(run(RemainingMonths::fill), "");
    EXPECT_EQ(months(10), monthRange(1, 12));
    EXPECT_EQ(DM->saldo_data->recordCount(), 12);
    EXPECT_EQ(stored("select count(*) from saldo_data where sd_month>6 and sd_dela_d>='01.07.2010'").toInt(), 6);

    // With December there, nothing more: not even an identifier is taken.
    auto nextId = [] {
        ReadScope read(DM->IBQ1, "select * from get_sd_id");
        return read.value(0).toDouble();
    };
    const double before = nextId();
    EXPECT_EQ(run(RemainingMonths::fill), "");
    EXPECT_EQ(months(10).size(), 12);
    EXPECT_EQ(nextId(), before + 1);
}

TEST_F(RowCommands, NewDoesNothingOffTheSalaryPageOrWithoutADeclaration)
{
    ws.page = 2;
    EXPECT_EQ(run(RemainingMonths::fill), ""); // no declaration
    declaration(10, 2010);
    for (int page : {0, 1}) {
        ws.page = page;
        EXPECT_EQ(run(RemainingMonths::fill), "");
    }
    EXPECT_TRUE(months(10).isEmpty());
    EXPECT_TRUE(DM->saldo_data->isEmpty());
}

TEST_F(RowCommands, NewRefusesADeclarationWithoutCategoryBeforeAppendingAnything)
{
    declaration(10, 2010);
    exec("update name_account set na_ap_category=NULL where na_id=10");
    useDeclaration(10, 2010);
    EXPECT_EQ(run(RemainingMonths::fill), "Indicati categoria persoanei asigurate!");
    EXPECT_EQ(DM->saldo_data->state(), RecordSet::State::Browse);
    EXPECT_TRUE(DM->saldo_data->isEmpty());
    EXPECT_TRUE(months(10).isEmpty());
}

TEST_F(RowCommands, ARefusedMonthStaysPendingAndTheNextAppendReportsIt)
{
    // Category 999 has no rate: every row is refused by the save rule.
    declaration(10, 2010, 999);
    EXPECT_EQ(run(RemainingMonths::fill), "Nu este tarif pentru aceasta categorie in acest an");
    EXPECT_TRUE(months(10).isEmpty());
    EXPECT_EQ(DM->saldo_data->state(), RecordSet::State::Insert);
    EXPECT_EQ(DM->saldo_data->field("sd_month").asInteger(), 1); // February was never appended
    DM->saldo_data->cancel();

    // December refused: no message, the row waits in the grid.
    for (int m = 1; m <= 11; ++m)
        row(100 + m, 10, 2010, m, 0, 999);
    useDeclaration(10, 2010);
    EXPECT_EQ(run(RemainingMonths::fill), "");
    EXPECT_EQ(DM->saldo_data->state(), RecordSet::State::Insert);
    EXPECT_EQ(DM->saldo_data->field("sd_month").asInteger(), 12);
    EXPECT_EQ(DM->saldo_data->field("sd_pina_d").asDate(), QDate(2010, 12, 31));
    EXPECT_EQ(months(10).size(), 11);
    DM->saldo_data->cancel();
}

// ---------------------------------------------------------------- the declaration

TEST_F(RowCommands, DeletingADeclarationAsksAndRemovesItWithItsRows)
{
    declaration(10, 2010);
    declaration(11, 2009);
    row(101, 10, 2010, 1);
    row(102, 10, 2010, 2);
    row(201, 11, 2009, 1);
    useDeclaration(10, 2010);

    EXPECT_EQ(run(Deletions::deleteDeclaration), ""); // No
    EXPECT_EQ(ui.questions, QStringList{"Confirmati stergerea declaratiei ?"});
    EXPECT_EQ(months(10).size(), 2);

    ui.answers = {true};
    EXPECT_EQ(run(Deletions::deleteDeclaration), "");
    EXPECT_EQ(stored("select count(*) from name_account where na_id=10").toInt(), 0);
    EXPECT_TRUE(months(10).isEmpty());
    EXPECT_EQ(months(11), QStringList{"1"}); // the other year's declaration stays
    EXPECT_TRUE(DM->name_account->isEmpty());
    EXPECT_TRUE(DM->saldo_data->isEmpty());
    EXPECT_TRUE(ws.completionVisible);
}

TEST_F(RowCommands, ADeclarationNeverWrittenGoesFromTheWindowOnly)
{
    ws.year = "2010";
    RecordSet *na = DM->name_account;
    {
        DetachedHandler keep(na->afterInsert);
        na->append();
    }
    na->field("na_year").setValue(2010);
    na->field("na_ap_category").setValue(101);
    ui.answers = {true};
    EXPECT_EQ(run(Deletions::deleteDeclaration), "");
    EXPECT_FALSE(na->isEditing());
    EXPECT_TRUE(na->isEmpty());
    EXPECT_EQ(stored("select count(*) from name_account").toInt(), 0);
}

TEST_F(RowCommands, ADeclarationDeletionNeedsASavedPerson)
{
    DM->assured_person->emptyDataSet();
    ui.answers = {true};
    EXPECT_EQ(run(Deletions::deleteDeclaration), "Introduceti datele despre persoana sau cautati persoana !");
    load(DM->assured_person, "select * from assured_person order by ap_id");
    DM->assured_person->append();
    ui.answers = {true};
    EXPECT_EQ(run(Deletions::deleteDeclaration), "Introduceti datele despre persoana sau cautati persoana !");
    DM->assured_person->cancel();
}

TEST_F(RowCommands, ADeclarationWithSentRowsOrAFormedFirstMonthIsKept)
{
    declaration(10, 2010);
    row(101, 10, 2010, 1);
    row(102, 10, 2010, 3, -1);
    ui.answers = {true};
    EXPECT_EQ(run(Deletions::deleteDeclaration),
              "Stergerea nu se permite. A fost format deja pachetul electronic. Anulati pachetul pentru a corecta !");
    EXPECT_EQ(months(10).size(), 2);
    EXPECT_EQ(DM->saldo_data->recordCount(), 2); // the rows were loaded to be checked

    exec("update saldo_data set sd_pens_fund=0");
    formedPackage(1, 2010, 1, 3);
    ui.answers = {true};
    EXPECT_EQ(run(Deletions::deleteDeclaration), "Este deja format pachetul electronic pentru trimestrul respectiv !");
    EXPECT_EQ(months(10).size(), 2);
    EXPECT_EQ(stored("select count(*) from name_account").toInt(), 1);

    // Another agent's or another year's package counts for nothing, and only the earliest
    // row's month is looked at.
    exec("delete from t_pachet");
    formedPackage(2, 2010, 1, 3, 2);
    formedPackage(3, 2009, 1, 3);
    formedPackage(4, 2010, 3, 3);
    ui.answers = {true};
    EXPECT_EQ(run(Deletions::deleteDeclaration), "");
    EXPECT_EQ(stored("select count(*) from name_account").toInt(), 0);
    EXPECT_TRUE(months(10).isEmpty());
}

// ---------------------------------------------------------------- the monthly row

TEST_F(RowCommands, AMonthlyRowIsDeletedAfterTheQuestion)
{
    declaration(10, 2010);
    row(101, 10, 2010, 1);
    row(102, 10, 2010, 2);
    useDeclaration(10, 2010);
    DM->saldo_data->last();
    EXPECT_EQ(run(Deletions::deleteMonthlyRow), ""); // No
    EXPECT_EQ(months(10).size(), 2);
    ui.answers = {true};
    EXPECT_EQ(run(Deletions::deleteMonthlyRow), "");
    EXPECT_EQ(ui.questions, (QStringList{"Confirmati stergerea salariului ?", "Confirmati stergerea salariului ?"}));
    EXPECT_EQ(months(10), QStringList{"1"});
    EXPECT_EQ(DM->saldo_data->recordCount(), 1);

    // A new row not yet written is only dropped; with no row at all nothing is asked.
    DM->saldo_data->append();
    DM->saldo_data->field("sd_month").setValue(5);
    ui.answers = {true};
    EXPECT_EQ(run(Deletions::deleteMonthlyRow), "");
    EXPECT_FALSE(DM->saldo_data->isEditing());
    EXPECT_EQ(DM->saldo_data->recordCount(), 1);
    DM->saldo_data->emptyDataSet();
    ui.questions.clear();
    EXPECT_EQ(run(Deletions::deleteMonthlyRow), "");
    EXPECT_TRUE(ui.questions.isEmpty());
}

TEST_F(RowCommands, SentOrFormedMonthlyRowsAreKeptAndTheirEditDropped)
{
    declaration(10, 2010);
    row(101, 10, 2010, 1, -1);
    row(102, 10, 2010, 5);
    formedPackage(1, 2010, 4, 6);
    useDeclaration(10, 2010);
    RecordSet *rows = DM->saldo_data;
    rows->first();
    rows->edit();
    rows->field("sd_paym_fond").setValue(5.0);
    ui.answers = {true, true};
    EXPECT_EQ(run(Deletions::deleteMonthlyRow),
              "Modificari nu se permit. A fost format deja pachetul electronic. Anulati pachetul pentru a corecta !");
    EXPECT_FALSE(rows->isEditing());
    EXPECT_EQ(rows->field("sd_paym_fond").asFloat(), 1000.0);

    rows->last();
    rows->edit();
    rows->field("sd_paym_fond").setValue(5.0);
    EXPECT_EQ(run(Deletions::deleteMonthlyRow), "Este deja format pachetul electronic pentru trimestrul respectiv !");
    EXPECT_FALSE(rows->isEditing());
    EXPECT_EQ(months(10).size(), 2);
    EXPECT_EQ(rows->recordCount(), 2);
    EXPECT_TRUE(ui.questions.isEmpty());
}

// ---------------------------------------------------------------- the person

class PersonDeletion : public RowCommands
{
protected:
    void SetUp() override
    {
        RowCommands::SetUp();
        AssuredPersonRules::attach();
        ws.year = "2010";
        for (auto [na, ap, year] : {std::tuple{10, 1, 2009}, std::tuple{11, 1, 2010}, std::tuple{20, 2, 2010}}) {
            exec(QStringLiteral("insert into name_account (na_id,na_ap,na_year,na_ap_category) values(%1,%2,%3,101)")
                     .arg(na)
                     .arg(ap)
                     .arg(year));
            row(na * 10, na, year, 1);
            row(na * 10 + 1, na, year, 2);
            exec(QStringLiteral("insert into money_util (mu_id,mu_na) values(%1,%1)").arg(na));
            exec(QStringLiteral("insert into stage_info (si_id,si_na) values(%1,%1)").arg(na));
        }
        DM->assured_person->first();
    }
    QStringList left()
    {
        return column("select 'ap'||cast(ap_id as integer) from assured_person union all "
                      "select 'na'||cast(na_id as integer) from name_account union all "
                      "select 'sd'||cast(sd_id as integer) from saldo_data union all "
                      "select 'mu'||cast(mu_id as integer) from money_util union all "
                      "select 'si'||cast(si_id as integer) from stage_info");
    }
};

TEST_F(PersonDeletion, EveryYearOfThePersonGoesWithItsRowsAfterTwoQuestions)
{
    const QStringList before = left();
    ui.answers = {true, false};
    EXPECT_EQ(run(Deletions::deletePerson), "");
    EXPECT_EQ(left(), before);
    EXPECT_TRUE(ui.progress.empty());
    EXPECT_EQ(ui.questions,
              (QStringList{"Confirmati stergerea datelor despre aceasta persoana ?",
                           "La aceasta persoana este declaratii.!\r\nConfirmati stergerea tuturor declaratiilor si "
                           "datelor despre aceasta persoana ?"}));

    ui.answers = {true, true};
    EXPECT_EQ(run(Deletions::deletePerson), "");
    QStringList rest = left();
    rest.sort();
    EXPECT_EQ(rest, (QStringList{"ap2", "mu20", "na20", "sd200", "sd201", "si20"}));
    // The declarations of both years were counted as they went.
    ASSERT_EQ(ui.progress.size(), 1u);
    EXPECT_EQ(ui.progress[0].name, "Ștergerea declarațiilor persoanei");
    EXPECT_EQ(std::tuple(ui.progress[0].done, ui.progress[0].total, ui.progress[0].ended), std::tuple(2, 2, true));
    // The list moves to the next person and shows that person's declaration.
    ASSERT_EQ(DM->assured_person->recordCount(), 1);
    EXPECT_EQ(DM->assured_person->field("ap_id").asInteger(), 2);
    EXPECT_EQ(DM->name_account->field("na_id").asInteger(), 20);
}

TEST_F(PersonDeletion, APersonWithoutDeclarationsIsAskedAboutOnce)
{
    exec("insert into assured_person (ap_id,ap_ea,ap_cpas,ap_first_name,ap_middle_name) "
         "values(3,1,'12345678903','ZED','ANA')");
    {
        DetachedHandler keep(DM->assured_person->afterScroll);
        load(DM->assured_person, "select * from assured_person order by ap_id");
    }
    DM->assured_person->last();
    ui.answers = {true};
    EXPECT_EQ(run(Deletions::deletePerson), "");
    EXPECT_EQ(ui.questions.size(), 1);
    EXPECT_EQ(stored("select count(*) from assured_person where ap_id=3").toInt(), 0);
    EXPECT_EQ(stored("select count(*) from assured_person").toInt(), 2);
    EXPECT_EQ(DM->assured_person->recordCount(), 2);

    // A new person not yet written is only dropped from the list.
    DM->assured_person->append();
    DM->assured_person->field("ap_first_name").setValue("NOU");
    ui.answers = {true};
    EXPECT_EQ(run(Deletions::deletePerson), "");
    EXPECT_FALSE(DM->assured_person->isEditing());
    EXPECT_EQ(DM->assured_person->recordCount(), 2);
    EXPECT_EQ(stored("select count(*) from assured_person").toInt(), 2);

    // An empty list: no question.
    DM->assured_person->emptyDataSet();
    ui.questions.clear();
    EXPECT_EQ(run(Deletions::deletePerson), "");
    EXPECT_TRUE(ui.questions.isEmpty());
}

} // namespace
