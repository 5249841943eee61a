// The import from the predecessor's database file: agents matched by fiscal code, persons by
// CPAS or IDNP, both added through their save rules; the program's own database stays the one
// it works on, whatever the other file holds.

#include "data/dberror.h"
#include "data/ee.h"
#include "data/helpers.h"
#include "data/readscope.h"
#include "data/tdm.h"
#include "maintenance/predecessorimport.h"
#include "platform/platform.h"
#include "records/assuredpersonrules.h"
#include "records/econagentrules.h"
#include "tests/support/scripteduserinteraction.h"
#include "tests/support/testdatabase.h"

#include <QFile>

#include <tuple>

namespace {

class PredecessorImportTest : public DataModuleTest
{
protected:
    void SetUp() override
    {
        DataModuleTest::SetUp();
        m_folder = Platform::programFolder();
        Platform::setProgramFolder(db->folder());
        for (RecordSet *s : {DM->econ_agent, DM->assured_person, DM->name_account, DM->saldo_data})
            s->createDataSet();
        DM->serverDate = QDateTime(QDate(2024, 5, 15), QTime(0, 0));
        EconAgentRules::attach();
        AssuredPersonRules::attach();
        exec("insert into econ_agent values(1,'1234567','1003600000001','SA VECHE','B','C',91,'D','0')");
        exec("insert into assured_person (ap_id,ap_ea,ap_cpas,ap_idnp,ap_first_name,ap_middle_name) "
             "values(1,1,'11111111111','2000000000001','POPA','ION')");
    }
    void TearDown() override
    {
        Platform::setProgramFolder(m_folder);
        DataModuleTest::TearDown();
    }

    // The predecessor's file, named in lower case (it is found without regard to case).
    QString predecessor(const QString &rows)
    {
        const QString path = db->folder() + QStringLiteral("/bdpel.gdb");
        DatabaseMaker::create(path, DatabaseMaker::Kind::Predecessor);
        if (!rows.isEmpty())
            DatabaseMaker::runScript(path, rows);
        return path;
    }
    // Two agents (the first exists here by its fiscal code) and five persons.
    void twoAgentsFivePersons()
    {
        predecessor(QStringLiteral(
            "insert into econ_agent values(10,'1234567','1003600000001','VECHE','B','C',91,'D',NULL);\n"
            "insert into econ_agent values(20,'2222222',' 1003600000002 ','sa noua','ion rusu','ana "
            "lungu',92,'vasile','5');\n"
            // new, under the existing agent
            "insert into assured_person (ap_id,ap_ea,ap_cpas,ap_idnp,ap_first_name,ap_middle_name,ap_sex) "
            "values(1,10,'33333333333','2000000000003','ursu','dan','M');\n"
            // its IDNP is here already (another CPAS): not taken
            "insert into assured_person (ap_id,ap_ea,ap_cpas,ap_idnp,ap_first_name,ap_middle_name) "
            "values(2,10,'44444444444','2000000000001','POPA','ION');\n"
            // an IDNP of 12 digits: refused by the rules, skipped without a message
            "insert into assured_person (ap_id,ap_ea,ap_cpas,ap_idnp,ap_first_name,ap_middle_name) "
            "values(3,20,'55555555555','200000000005','RAU','IDNP');\n"
            // new, under the new agent, with its document
            "insert into assured_person (ap_id,ap_ea,ap_cpas,ap_idnp_who,ap_idnp_dt,ap_birth_dt,ap_sex,ap_doc_type,"
            "ap_doc_seria,ap_doc_number,ap_first_name,ap_middle_name,ap_last_name) "
            "values(4,20,'66666666666','of. "
            "12','10.10.2000','05.03.1980','F',3,'AB','1234567','lungu','maria','ion');\n"
            // neither CPAS nor IDNP
            "insert into assured_person (ap_id,ap_ea,ap_first_name,ap_middle_name) values(5,20,'FARA','CODURI');\n"));
    }
    QStringList persons()
    {
        return column("select ap_cpas||'|'||coalesce(ap_idnp,'')||'|'||cast(ap_ea as integer)||'|'||ap_first_name||'|'"
                      "||ap_middle_name from assured_person order by ap_cpas");
    }

    ScriptedUserInteraction ui;
    QString m_folder;
};

TEST_F(PredecessorImportTest, NewAgentsAndPersonsAreAddedThroughTheRules)
{
    twoAgentsFivePersons();
    PredecessorImport::run();

    EXPECT_EQ(ui.notices, QStringList{" OK"});
    EXPECT_EQ(ui.waitDepth, 0);
    const QString newAgent = scalar("select cast(ea_id as integer) from econ_agent where ea_fosk='2222222'").toString();
    ASSERT_FALSE(newAgent.isEmpty());
    EXPECT_EQ(column("select ea_idno||'|'||ea_full_name||'|'||ea_director_name||'|'||cast(ea_kaa2_fosk as integer)||'|'"
                     "||ea_receiving_usr||'|'||ea_cod from econ_agent order by ea_id"),
              (QStringList{"1003600000001|SA VECHE|B|91|D|0", "1003600000002|SA NOUA|ION RUSU|92|VASILE|5"}));
    EXPECT_EQ(persons(), (QStringList{"11111111111|2000000000001|1|POPA|ION", "33333333333|2000000000003|1|URSU|DAN",
                                      QStringLiteral("66666666666||%1|LUNGU|MARIA").arg(newAgent)}));
    EXPECT_EQ(column("select ap_idnp_who||'|'||ap_sex||'|'||cast(ap_doc_type as integer)||'|'||ap_doc_seria||'|'"
                     "||ap_doc_number||'|'||ap_last_name from assured_person where ap_cpas='66666666666'"),
              QStringList{"OF. 12|F|3|AB|1234567|ION"});
    EXPECT_EQ(column("select ap_idnp_dt from assured_person where ap_cpas='66666666666'"), QStringList{"10.10.2000"});
    EXPECT_EQ(column("select ap_birth_dt from assured_person where ap_cpas='66666666666'"), QStringList{"05.03.1980"});
    // The agent set stands on the last agent; the move rule of persons is back.
    EXPECT_EQ(DM->econ_agent->field("ea_fosk").asString(), "2222222");
    EXPECT_TRUE(bool(DM->assured_person->afterScroll));
    EXPECT_FALSE(DM->assured_person->isEditing());
    EXPECT_EQ(DM->rev->recordCount(), 5);
    // The persons were counted as they were gone through, those skipped included.
    ASSERT_EQ(ui.progress.size(), 2u);
    EXPECT_EQ(ui.progress[0].name, "Importul din BDPEL.GDB");
    EXPECT_EQ(ui.progress[0].parts,
              (QStringList{"Citirea bazei de date BDPEL.GDB", "Agenții economici și persoanele lor"}));
    EXPECT_EQ(ui.progress[1].name, "Persoanele");
    EXPECT_EQ(std::tuple(ui.progress[1].done, ui.progress[1].total, ui.progress[1].mayStop), std::tuple(5, 5, true));

    // Running it again adds nothing.
    PredecessorImport::run();
    EXPECT_EQ(scalar("select count(*) from econ_agent").toInt(), 2);
    EXPECT_EQ(persons().size(), 3);
}

TEST_F(PredecessorImportTest, StoppedBetweenTwoPersonsTheImportKeepsWhatItAddedAndSaysHowFar)
{
    twoAgentsFivePersons();
    // The first agent's two persons: one new, one present by its IDNP.
    ui.stopWhen = [](const ScriptedUserInteraction::ProgressStep &s) { return s.done == 2; };
    try {
        PredecessorImport::run();
        FAIL() << "the import was not stopped";
    } catch (const EE &e) {
        EXPECT_EQ(e.message(), "Importul a fost anulat: 2 din 5 persoane au fost parcurse; persoane adăugate: 1.");
    }
    EXPECT_EQ(persons(), (QStringList{"11111111111|2000000000001|1|POPA|ION", "33333333333|2000000000003|1|URSU|DAN"}));
    EXPECT_EQ(scalar("select count(*) from econ_agent").toInt(), 1); // stopped before the next agent
    EXPECT_TRUE(ui.notices.isEmpty());
    EXPECT_EQ(ui.waitDepth, 0);
    EXPECT_EQ(ui.openProgress(), 0);
    EXPECT_TRUE(bool(DM->assured_person->afterScroll));

    // Run again to its end, it adds the rest.
    ui.stopWhen = nullptr;
    PredecessorImport::run();
    EXPECT_EQ(persons().size(), 3);
    EXPECT_EQ(scalar("select count(*) from econ_agent").toInt(), 2);
}

TEST_F(PredecessorImportTest, APredecessorWithoutAgentsImportsNothing)
{
    predecessor(QString());
    PredecessorImport::run();
    EXPECT_EQ(ui.notices, QStringList{" OK"});
    EXPECT_EQ(scalar("select count(*) from econ_agent").toInt(), 1);
}

TEST_F(PredecessorImportTest, AMissingFileIsNamed)
{
    PredecessorImport::run();
    EXPECT_EQ(ui.notices, QStringList{" Lipseste fisierul  \"BDPEL.GDB\""});
}

TEST_F(PredecessorImportTest, AFileThatCannotBeOpenedLeavesTheProgramOnItsOwnDatabase)
{
    QFile f(db->folder() + QStringLiteral("/BDPEL.GDB"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(QByteArray(4096, 'x'));
    f.close();
    EXPECT_THROW(PredecessorImport::run(), DbError);
    EXPECT_TRUE(ui.notices.isEmpty());
    EXPECT_TRUE(DM->IDB->connected());
    EXPECT_EQ(DM->IDB->databaseName(), db->path());
    // The program still reads and writes its own file.
    EXPECT_EQ(column("select ea_full_name from econ_agent"), QStringList{"SA VECHE"});
    exec("update econ_agent set ea_cod='9' where ea_id=1");
    EXPECT_EQ(scalar("select ea_cod from econ_agent").toString(), "9");
    EXPECT_TRUE(bool(DM->assured_person->afterScroll));
}

TEST_F(PredecessorImportTest, AnAgentRefusedByTheRulesStopsTheImportKeepingWhatWasWritten)
{
    predecessor(
        QStringLiteral("insert into econ_agent values(10,'1234567','1003600000001','VECHE','B','C',91,'D',NULL);\n"
                       "insert into econ_agent values(20,'12345','1003600000009','SCURT','B','C',91,'D',NULL);\n"
                       "insert into assured_person (ap_id,ap_ea,ap_cpas,ap_first_name,ap_middle_name) "
                       "values(1,10,'77777777777','A','B');\n"
                       "insert into assured_person (ap_id,ap_ea,ap_cpas,ap_first_name,ap_middle_name) "
                       "values(2,20,'88888888888','C','D');\n"));
    try {
        PredecessorImport::run();
        FAIL() << "the agent with a 5-digit code was imported";
    } catch (const EE &e) {
        EXPECT_EQ(e.message(), "Codul FOSK trebuie sa fie din 7 cifre");
    }
    EXPECT_EQ(column("select ap_cpas from assured_person order by ap_cpas"),
              (QStringList{"11111111111", "77777777777"}));
    EXPECT_EQ(scalar("select count(*) from econ_agent").toInt(), 1);
    EXPECT_FALSE(DM->econ_agent->isEditing());
    EXPECT_TRUE(bool(DM->assured_person->afterScroll));
    EXPECT_EQ(ui.waitDepth, 0);
}

} // namespace
