// The economic agent's save rule and deletion against a real database: the checks in their
// order, the identifier taken before a later refusal, the statements' effect on the rows.

#include "data/ee.h"
#include "data/tdm.h"
#include "records/econagentrules.h"
#include "tests/support/scripteduserinteraction.h"
#include "tests/support/testdatabase.h"

namespace {

class EconAgent : public DataModuleTest
{
protected:
    void SetUp() override
    {
        DataModuleTest::SetUp();
        agent = DM->econ_agent;
        agent->createDataSet();
        EconAgentRules::attach();
    }

    void set(const char *field, const QVariant &v) { agent->field(QString::fromLatin1(field)).setValue(v); }

    // A complete new agent; callers spoil one field before posting.
    void appendAgent(const QString &fosk = QStringLiteral("1234567"), const QString &name = QStringLiteral("SA LUMINA"))
    {
        agent->append();
        set("ea_fosk", fosk);
        set("ea_idno", QStringLiteral("1003600012345"));
        set("ea_full_name", name);
        set("ea_director_name", QStringLiteral("POPESCU ION"));
        set("ea_accountant_name", QStringLiteral("RUSU ANA"));
        set("ea_kaa2_fosk", 4);
        set("ea_receiving_usr", QStringLiteral("COJOCARU VASILE"));
    }

    QString postError()
    {
        try {
            agent->post();
        } catch (const EE &e) {
            return e.message();
        }
        return {};
    }

    qint64 generator() { return scalar("select gen_id(gen_ea_id, 0) from rdb$database").toLongLong(); }
    int agents() { return scalar("select count(*) from econ_agent").toInt(); }

    RecordSet *agent = nullptr;
    ScriptedUserInteraction ui;
};

TEST_F(EconAgent, NewAgentIsInsertedWithItsIdentifierAndCodeZero)
{
    const qint64 before = generator();
    appendAgent();
    EXPECT_EQ(postError(), "");
    EXPECT_EQ(agent->state(), RecordSet::State::Browse);
    const qint64 id = agent->field("ea_id").asInteger();
    EXPECT_GT(id, before);
    EXPECT_EQ(column(QStringLiteral("select cast(ea_id as integer)||'|'||ea_fosk||'|'||ea_idno||'|'||ea_full_name||'|'||ea_director_name||'|'"
                                    "||ea_accountant_name||'|'||cast(ea_kaa2_fosk as integer)||'|'||ea_receiving_usr||'|'||ea_cod from econ_agent")),
              QStringList{QStringLiteral("%1|1234567|1003600012345|SA LUMINA|POPESCU ION|RUSU ANA|4|COJOCARU VASILE|0").arg(id)});
    EXPECT_EQ(agent->field("ea_cod").asString(), "0");
}

TEST_F(EconAgent, TextIsTrimmedAsciiUpperCasedAndApostrophesKept)
{
    appendAgent(QStringLiteral("1234567"), QStringLiteral("  o'neil şi fiii srl "));
    set("ea_cod", QStringLiteral("77"));
    EXPECT_EQ(postError(), "");
    EXPECT_EQ(column("select ea_full_name from econ_agent"), QStringList{QStringLiteral("O'NEIL şI FIII SRL")});
    EXPECT_EQ(column("select ea_cod from econ_agent"), QStringList{"77"});
}

TEST_F(EconAgent, MissingSectorIsRefusedBeforeAnIdentifierIsTaken)
{
    const qint64 before = generator();
    appendAgent(QStringLiteral("12345")); // the code is wrong too: the sector is checked first
    set("ea_kaa2_fosk", QVariant());
    EXPECT_EQ(postError(), "Indicati sectorul !");
    EXPECT_EQ(generator(), before);
    EXPECT_TRUE(agent->field("ea_id").isNull());
    EXPECT_EQ(agent->state(), RecordSet::State::Insert);
    EXPECT_EQ(agents(), 0);
}

TEST_F(EconAgent, ShortCodeConsumesAnIdentifierAndTheNextAttemptTakesANewOne)
{
    appendAgent(QStringLiteral("123456"));
    EXPECT_EQ(postError(), "Codul FOSK trebuie sa fie din 7 cifre");
    EXPECT_EQ(agent->state(), RecordSet::State::Insert);
    const qint64 first = agent->field("ea_id").asInteger();
    EXPECT_GT(first, 0);
    EXPECT_EQ(generator(), first);
    EXPECT_EQ(agent->field("ea_fosk").asString(), "123456"); // the typed values stay
    EXPECT_EQ(agent->field("ea_cod").asString(), "");        // refused before the code is set

    set("ea_fosk", QStringLiteral("12345  ")); // a masked box holds blanks in empty places
    EXPECT_EQ(postError(), "Codul FOSK trebuie sa fie din 7 cifre");
    const qint64 second = agent->field("ea_id").asInteger();
    EXPECT_GT(second, first);

    set("ea_fosk", QStringLiteral("7654321"));
    EXPECT_EQ(postError(), "");
    const qint64 third = agent->field("ea_id").asInteger();
    EXPECT_GT(third, second);
    EXPECT_EQ(column("select ea_id from econ_agent"), QStringList{QString::number(third)});
}

TEST_F(EconAgent, RequiredFieldsAreNamedAfterTheCodeCheckAndNothingIsWritten)
{
    appendAgent();
    set("ea_full_name", QVariant());
    EXPECT_EQ(postError(), "Field 'ea_full_name' must have a value");
    EXPECT_EQ(agent->field("ea_cod").asString(), "0"); // set before the required fields
    EXPECT_EQ(agents(), 0);

    set("ea_full_name", QStringLiteral("   "));
    EXPECT_EQ(postError(), "Field 'ea_full_name' must have a value");
    set("ea_full_name", QStringLiteral("SA LUMINA"));
    set("ea_idno", QStringLiteral("                 ")); // an untouched masked box
    EXPECT_EQ(postError(), "Field 'ea_idno' must have a value");
    set("ea_idno", QStringLiteral("1003600012345"));
    set("ea_receiving_usr", QVariant());
    set("ea_fosk", QStringLiteral("12"));
    EXPECT_EQ(postError(), "Codul FOSK trebuie sa fie din 7 cifre");
    set("ea_fosk", QStringLiteral("1234567"));
    EXPECT_EQ(postError(), "Field 'ea_receiving_usr' must have a value");
    EXPECT_EQ(agents(), 0);
}

TEST_F(EconAgent, ChangedAgentIsUpdatedInPlaceKeepingItsCode)
{
    appendAgent();
    set("ea_cod", QStringLiteral("A1"));
    ASSERT_EQ(postError(), "");
    const qint64 id = agent->field("ea_id").asInteger();
    const qint64 gen = generator();
    agent->edit();
    set("ea_full_name", QStringLiteral("SA LUMINA NOUA"));
    set("ea_kaa2_fosk", 12);
    EXPECT_EQ(postError(), "");
    EXPECT_EQ(generator(), gen);
    EXPECT_EQ(column("select cast(ea_id as integer)||'|'||ea_full_name||'|'||cast(ea_kaa2_fosk as integer)||'|'||ea_cod from econ_agent"),
              QStringList{QStringLiteral("%1|SA LUMINA NOUA|12|A1").arg(id)});

    agent->edit();
    set("ea_fosk", QStringLiteral("99"));
    EXPECT_EQ(postError(), "Codul FOSK trebuie sa fie din 7 cifre");
    EXPECT_EQ(agent->field("ea_id").asInteger(), id); // no new identifier for a changed row
    EXPECT_EQ(column("select ea_fosk from econ_agent"), QStringList{"1234567"});
}

TEST_F(EconAgent, TextTheCodePageCannotHoldIsRefusedAndNothingIsWritten)
{
    const std::pair<QString, QString> cases[] = {{QStringLiteral("ООО ЛУЧ"), QStringLiteral("О")},
                                                 {QStringLiteral("SA 😀"), QStringLiteral("😀")},
                                                 {QStringLiteral("公司"), QStringLiteral("公")}};
    for (const auto &[name, bad] : cases) {
        agent->cancel();
        appendAgent(QStringLiteral("1234567"), name);
        const QString error = postError();
        EXPECT_TRUE(error.contains(QStringLiteral("Windows-1250")) && error.contains(u'"' + bad + u'"'))
            << error.toStdString();
        EXPECT_EQ(agent->state(), RecordSet::State::Insert);
        EXPECT_EQ(agents(), 0);
    }
    // The program goes on writing after the refusal.
    set("ea_full_name", QStringLiteral("SA ŢARA"));
    EXPECT_EQ(postError(), "");
    EXPECT_EQ(column("select ea_full_name from econ_agent"), QStringList{QStringLiteral("SA ŢARA")});
}

TEST_F(EconAgent, LoadingCopiesEveryAgentWithoutRunningTheRule)
{
    exec("insert into econ_agent values (7, '12', '1', 'B', 'D', 'C', 3, 'R', null)");
    exec("insert into econ_agent values (5, '1234567', '2', 'A', 'D', 'C', 4, 'R', '0')");
    agent->beforePost = nullptr;
    EconAgentRules::loadAll();
    EXPECT_TRUE(bool(agent->beforePost)); // attached again
    ASSERT_EQ(agent->recordCount(), 2);
    EXPECT_EQ(agent->field("ea_id").asInteger(), 5);
    EXPECT_EQ(agent->field("ea_full_name").asString(), "A");
    EXPECT_FALSE(DM->IBT1->active());
    // The loaded row with a short code is refused once it is saved again.
    agent->last();
    agent->edit();
    set("ea_full_name", QStringLiteral("BB"));
    EXPECT_EQ(postError(), "Codul FOSK trebuie sa fie din 7 cifre");
}

class EconAgentDeletion : public EconAgent
{
protected:
    void SetUp() override
    {
        EconAgent::SetUp();
        exec("insert into econ_agent values (1, '1111111', '1', 'UNU', 'D', 'C', 3, 'R', '0')");
        exec("insert into econ_agent values (2, '2222222', '2', 'DOI', 'D', 'C', 3, 'R', '0')");
        exec("insert into packlabel (pl_id, pl_ea, pl_n, pl_year, pl_form_compl_dt) values (10, 1, 1, 2008, '01.02.2009')");
        exec("insert into packlabel (pl_id, pl_ea, pl_n, pl_year, pl_form_compl_dt) values (11, 1, 2, 2008, '01.02.2009')");
        exec("insert into packlabel (pl_id, pl_ea, pl_n, pl_year, pl_form_compl_dt) values (20, 2, 1, 2008, '01.02.2009')");
        EconAgentRules::loadAll();
    }
    const QString question = QStringLiteral("Confirmati stergerea datelor despre agentul economic ?");
};

TEST_F(EconAgentDeletion, AnEmptySetAsksNothing)
{
    agent->emptyDataSet();
    EXPECT_EQ(EconAgentRules::deleteCurrent(), EconAgentRules::DeleteResult::NothingToDelete);
    EXPECT_TRUE(ui.questions.isEmpty());
}

TEST_F(EconAgentDeletion, NoMeansNothingIsDeleted)
{
    ui.answers = {false};
    EXPECT_EQ(EconAgentRules::deleteCurrent(), EconAgentRules::DeleteResult::Declined);
    EXPECT_EQ(ui.questions, QStringList{question});
    EXPECT_EQ(agents(), 2);
    EXPECT_EQ(agent->recordCount(), 2);
}

TEST_F(EconAgentDeletion, AnAgentWithPersonsIsKeptWithItsPackages)
{
    exec("insert into assured_person (ap_id, ap_ea, ap_first_name, ap_middle_name) values (100, 1, 'ION', 'POP')");
    ui.answers = {true};
    EXPECT_EQ(EconAgentRules::deleteCurrent(), EconAgentRules::DeleteResult::HasPersons);
    EXPECT_EQ(ui.notices, QStringList{"La aceast agent economic sint persoane asigurate introduse  "});
    EXPECT_EQ(agents(), 2);
    EXPECT_EQ(scalar("select count(*) from packlabel where pl_ea=1").toInt(), 2);
    EXPECT_EQ(scalar("select count(*) from assured_person").toInt(), 1);
    EXPECT_EQ(agent->recordCount(), 2);
    EXPECT_FALSE(DM->IBT1->active());
    EXPECT_FALSE(DM->IBT2->active());
}

TEST_F(EconAgentDeletion, AnAgentWithoutPersonsGoesWithItsPackagesOnly)
{
    exec("insert into assured_person (ap_id, ap_ea, ap_first_name, ap_middle_name) values (100, 2, 'ION', 'POP')");
    ui.answers = {true};
    EXPECT_EQ(EconAgentRules::deleteCurrent(), EconAgentRules::DeleteResult::Deleted);
    EXPECT_TRUE(ui.notices.isEmpty());
    EXPECT_EQ(column("select ea_id from econ_agent"), QStringList{"2"});
    EXPECT_EQ(column("select pl_id from packlabel"), QStringList{"20"});
    ASSERT_EQ(agent->recordCount(), 1);
    EXPECT_EQ(agent->field("ea_id").asInteger(), 2);
    EXPECT_FALSE(DM->IBT2->active());
    EXPECT_FALSE(DM->IBQ2->active());
}

TEST_F(EconAgentDeletion, ANewRowNotYetSavedIsOnlyDiscarded)
{
    appendAgent();
    ui.answers = {true};
    EXPECT_EQ(EconAgentRules::deleteCurrent(), EconAgentRules::DeleteResult::Deleted);
    EXPECT_EQ(agent->state(), RecordSet::State::Browse);
    EXPECT_EQ(agent->recordCount(), 2);
    EXPECT_EQ(agents(), 2);
}

} // namespace
