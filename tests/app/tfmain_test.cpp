// The main window's menu, its closing, and the checks before the persons workspace opens.

#include "app/tfmain.h"
#include "data/ee.h"
#include "data/formats.h"
#include "data/helpers.h"
#include "data/tdm.h"
#include "persons/personsworkspace.h"
#include "persons/tfpers.h"
#include "platform/clock.h"
#include "platform/platform.h"
#include "records/workspaceopening.h"
#include "tests/support/scripteduserinteraction.h"
#include "tests/support/spokennames.h"
#include "tests/support/testclock.h"
#include "tests/support/testdatabase.h"

#include <QAccessible>
#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QMenu>
#include <QMenuBar>

namespace {

struct Entry {
    const char *menu, *menuCaption, *name, *caption;
    bool enabled;
};

const Entry kEntries[] = {
    {"Date1", "&Tirvola", "Conectare1", "&Conectare", true},
    {"Date1", "&Tirvola", "Arhivareabazei1", "Arhivarea bazei", false},
    {"Date1", "&Tirvola", "Restabiliredinarhiva1", "Restabilire din arhivă", true},
    {"Date1", "&Tirvola", "Ieire1", "&Iesire", true},
    {"Date2", "&Date", "Inregistrare1", "&Agentul economic", false},
    {"Date2", "&Date", "Persoaneasigurate1", "&Persoane asigurate", false},
    {"Clasificatoare1", "&Clasificatoare", "Reinoire1", "Actualizare &tarife", false},
    {"Clasificatoare1", "&Clasificatoare", "Actualizareprofesii1", "Actualizare &profesii", false},
    {"Import1", "Import", "ImportBDPELDOR1", "Import BD PELDOR", false},
    {"Aplicatie1", "&Aplicatie", "Inregistrare2", "Inregistrare", true},
};

TEST(TFMainWindow, MenuCaptionsNamesAndStates)
{
    TFMain w;
    EXPECT_EQ(w.windowTitle(), "Evidenta individuala a contributiilor asigurarilor sociale");
    QStringList menus;
    for (QAction *a : w.menuBar()->actions())
        menus << a->menu()->objectName();
    EXPECT_EQ(menus.join(","), "Date1,Date2,Clasificatoare1,Import1,Aplicatie1");
    for (const Entry &e : kEntries) {
        auto *menu = w.findChild<QMenu *>(e.menu);
        ASSERT_TRUE(menu) << e.menu;
        EXPECT_EQ(menu->title(), QString::fromUtf8(e.menuCaption));
        auto *a = w.findChild<QAction *>(e.name);
        ASSERT_TRUE(a) << e.name;
        EXPECT_TRUE(menu->actions().contains(a)) << e.name;
        EXPECT_EQ(a->text(), QString::fromUtf8(e.caption));
        EXPECT_EQ(a->isEnabled(), e.enabled) << e.name;
    }
    w.enableConnectedMenu();
    // The database the connection holds open is not replaced under it.
    for (const Entry &e : kEntries)
        EXPECT_EQ(w.findChild<QAction *>(e.name)->isEnabled(),
                  QByteArray(e.name) != "Conectare1" && QByteArray(e.name) != "Restabiliredinarhiva1")
            << e.name;
}

TEST(TFMainWindow, MenusAndEntriesAreAnnouncedByTheirCaptions)
{
    TFMain w;
    EXPECT_TRUE(inputBoxes(&w).isEmpty()); // the window holds only its menu
    EXPECT_TRUE(listNames(&w).isEmpty());
    auto spoken = [](QWidget *widget) {
        QStringList names;
        QAccessibleInterface *a = QAccessible::queryAccessibleInterface(widget);
        for (int i = 0; a && i < a->childCount(); ++i)
            names << a->child(i)->text(QAccessible::Name);
        return names;
    };
    EXPECT_EQ(spoken(w.menuBar()), (QStringList{"Tirvola", "Date", "Clasificatoare", "Import", "Aplicatie"}));
    QMap<QString, QStringList> expected;
    for (const Entry &e : kEntries)
        expected[e.menu] << spokenCaption(QString::fromUtf8(e.caption));
    for (auto it = expected.cbegin(); it != expected.cend(); ++it)
        EXPECT_EQ(spoken(w.findChild<QMenu *>(it.key())), it.value()) << it.key().toStdString();
}

TEST(TFMainWindow, CreationForcesFormatsAndTheEnglishLayout)
{
    Formats::settings().decimalSeparator = u',';
    Platform::activateKeyboardLayout("00000418");
    TFMain w;
    EXPECT_EQ(Formats::settings().decimalSeparator, u'.');
    EXPECT_EQ(Formats::settings().shortDateFormat, "dd/mm/yyyy");
    EXPECT_EQ(Platform::activeKeyboardLayout(), "00000409");
}

TEST(TFPersYears, FromThisYearDownTo1998)
{
    const QStringList y2026 = PersonsWorkspace::yearItems(2026);
    EXPECT_EQ(y2026.first(), "2026");
    EXPECT_EQ(y2026.last(), "1998");
    EXPECT_EQ(y2026.size(), 29);
    const QStringList y2019 = PersonsWorkspace::yearItems(2019);
    EXPECT_EQ(y2019.first(), "2020");
    EXPECT_EQ(y2019.size(), 23);
    const QStringList y2040 = PersonsWorkspace::yearItems(2040);
    EXPECT_EQ(y2040.first(), "2040");
    EXPECT_EQ(y2040.last(), "1998");
    EXPECT_EQ(y2040.size(), 43);
}

class Workspace : public DataModuleTest
{
protected:
    void SetUp() override
    {
        DataModuleTest::SetUp();
        for (RecordSet *s : {DM->econ_agent, DM->assured_person, DM->name_account, DM->saldo_data})
            s->createDataSet();
    }
    void TearDown() override
    {
        Formats::forceDefaults();
        DataModuleTest::TearDown();
    }
    void addAgent(int id)
    {
        exec(QStringLiteral("insert into econ_agent values(%1,'1234567','1','A','B','C',91,'D','0')").arg(id));
    }
    QString refusal()
    {
        try {
            WorkspaceOpening::prepare(QDate(2008, 3, 5));
        } catch (const EE &e) {
            return e.message();
        }
        return {};
    }
};

TEST_F(Workspace, YearListSelectsThisYearAndSetsTheWorkingYear)
{
    TFPers pers;
    auto *years = pers.findChild<QComboBox *>("ComboBox1");
    ASSERT_TRUE(years);
    EXPECT_EQ(years->currentText(), QString::number(TestClock::today().year()));
    EXPECT_EQ(DM->workingYear, years->currentText());
    EXPECT_EQ(years->itemText(0), years->currentText());
    EXPECT_EQ(years->itemText(years->count() - 1), "1998");
}

TEST_F(Workspace, YearListGrowsWithTheClock)
{
    Clock::setToday(QDate(2040, 3, 1));
    TFPers pers;
    auto *years = pers.findChild<QComboBox *>("ComboBox1");
    ASSERT_TRUE(years);
    EXPECT_EQ(years->count(), 43);
    EXPECT_EQ(years->itemText(0), "2040");
    EXPECT_EQ(years->currentText(), "2040");
    EXPECT_EQ(DM->workingYear, "2040");
}

TEST_F(Workspace, YearListBeforeTwentyTwentySelectsTheClocksYear)
{
    Clock::setToday(QDate(2015, 11, 30));
    TFPers pers;
    auto *years = pers.findChild<QComboBox *>("ComboBox1");
    ASSERT_TRUE(years);
    EXPECT_EQ(years->count(), 23);
    EXPECT_EQ(years->itemText(0), "2020");
    EXPECT_EQ(years->currentText(), "2015");
    EXPECT_EQ(DM->workingYear, "2015");
}

TEST_F(Workspace, NeedsExactlyOneAgentWhenNoneIsLoaded)
{
    EXPECT_EQ(refusal(), "Alegeti agentul economic !");
    addAgent(1);
    addAgent(2);
    EXPECT_EQ(refusal(), "Alegeti agentul economic !");
    EXPECT_FALSE(DM->IBT1->active());
    exec("delete from econ_agent where ea_id=2");
    int posts = 0;
    DM->econ_agent->beforePost = [&](RecordSet &) { ++posts; };
    EXPECT_EQ(refusal(), "");
    EXPECT_EQ(DM->econ_agent->recordCount(), 1);
    EXPECT_EQ(DM->econ_agent->field("ea_id").asFloat(), 1.0);
    EXPECT_EQ(posts, 0); // loading does not run the save rule
    EXPECT_TRUE(bool(DM->econ_agent->beforePost));
    EXPECT_EQ(Platform::activeKeyboardLayout(), "00000418");
}

TEST_F(Workspace, AnAgentAlreadyLoadedIsKeptEvenWithSeveralInTheTable)
{
    addAgent(1);
    addAgent(2);
    DM->econ_agent->append();
    DM->econ_agent->field("ea_id").setValue(2);
    DM->econ_agent->field("ea_fosk").setValue("1234567");
    DM->econ_agent->field("ea_idno").setValue("1");
    for (const char *f : {"ea_full_name", "ea_director_name", "ea_accountant_name", "ea_receiving_usr"})
        DM->econ_agent->field(f).setValue("X");
    DM->econ_agent->field("ea_kaa2_fosk").setValue(91);
    DM->econ_agent->post();
    DM->assured_person->append();
    DM->assured_person->field("ap_first_name").setValue("ION");
    DM->assured_person->field("ap_middle_name").setValue("ION");
    DM->assured_person->post();
    EXPECT_EQ(refusal(), "");
    EXPECT_TRUE(DM->assured_person->isEmpty());
}

TEST_F(Workspace, DecimalCommaAndShortDatesAreRefusedWithoutEmptyingAnything)
{
    addAgent(1);
    DM->assured_person->append();
    DM->assured_person->field("ap_first_name").setValue("ION");
    DM->assured_person->field("ap_middle_name").setValue("ION");
    DM->assured_person->post();

    Formats::settings().decimalSeparator = u',';
    Platform::activateKeyboardLayout("00000409");
    EXPECT_EQ(refusal(), "Separator zecimal trebuie sa fie \".\"\r Instalati corect formatul numeric !\r"
                         " Control Panel->Regional and Language Options");
    EXPECT_EQ(Platform::activeKeyboardLayout(), "00000418"); // the layout stays switched
    EXPECT_EQ(DM->assured_person->recordCount(), 1);

    Formats::forceDefaults();
    Formats::settings().shortDateFormat = "d/m/yyyy";
    EXPECT_EQ(refusal(), "Formatul datei este incorect.\"\r Instalati corect formatul datei !\r"
                         " Control Panel->Regional and Language Options");
    EXPECT_EQ(DM->assured_person->recordCount(), 1);

    Formats::settings().shortDateFormat = "yyyy/mm/dd";
    EXPECT_FALSE(refusal().isEmpty()); // 10 characters, but not day, month, year
}

TEST_F(Workspace, MenuEntryShowsTheRefusalAndOpensNothing)
{
    ScriptedUserInteraction ui;
    TFMain w;
    FPers = new TFPers;
    w.enableConnectedMenu();
    w.findChild<QAction *>("Persoaneasigurate1")->trigger();
    EXPECT_EQ(ui.errors, QStringList{"Alegeti agentul economic !"});
    EXPECT_FALSE(FPers->isVisible());
    addAgent(1);
    w.findChild<QAction *>("Persoaneasigurate1")->trigger();
    EXPECT_TRUE(FPers->isVisible());
    delete FPers;
    FPers = nullptr;
}

TEST_F(Workspace, ClosingTheMainWindowDiscardsAnEditAndDisconnects)
{
    DM->saldo_data->append();
    DM->saldo_data->field("SD_ID").setValue(1);
    DM->saldo_data->field("SD_NA").setValue(1);
    DM->saldo_data->field("SD_MONTH").setValue(1);
    DM->saldo_data->post();
    DM->saldo_data->edit();
    DM->saldo_data->field("SD_PAYM_FOND").setValue(1000.0);
    int posts = 0;
    DM->saldo_data->beforePost = [&](RecordSet &) { ++posts; };
    {
        TFMain w;
        w.show();
        w.close();
    }
    EXPECT_EQ(posts, 0);
    EXPECT_EQ(DM->saldo_data->state(), RecordSet::State::Browse);
    EXPECT_TRUE(DM->saldo_data->field("SD_PAYM_FOND").isNull());
    EXPECT_FALSE(DM->IDB->connected());
}

TEST_F(Workspace, ClassifierAndImportEntriesRunTheirOperations)
{
    // A classifier file and a predecessor file in the program folder; the entries pick them up.
    const QString folder = Platform::programFolder();
    Platform::setProgramFolder(db->folder());
    LoadClassifier(DM->k_prof);
    QFile cds(db->folder() + QStringLiteral("/k_prof.cds"));
    ASSERT_TRUE(cds.open(QIODevice::WriteOnly));
    cds.write("<?xml version=\"1.0\"?><DATAPACKET Version=\"2.0\"><METADATA><FIELDS>"
              "<FIELD attrname=\"kp_id\" fieldtype=\"i4\"/><FIELD attrname=\"kp_name_ro\" fieldtype=\"string\" WIDTH=\"250\"/>"
              "</FIELDS></METADATA><ROWDATA><ROW kp_id=\"999\" kp_name_ro=\"nou\"/></ROWDATA></DATAPACKET>");
    cds.close();
    ScriptedUserInteraction ui;
    TFMain w;
    w.enableConnectedMenu();
    w.findChild<QAction *>("Actualizareprofesii1")->trigger();
    EXPECT_EQ(ui.notices, (QStringList{"Actualizarea poate dura in jur de 10 min. !", "OK"}));
    EXPECT_EQ(column("select kp_id||kp_name_ro from k_prof"), QStringList{"999NOU"});
    ui.notices.clear();
    w.findChild<QAction *>("Reinoire1")->trigger();
    EXPECT_EQ(ui.notices, QStringList{"OK"});
    ui.notices.clear();
    w.findChild<QAction *>("ImportBDPELDOR1")->trigger();
    EXPECT_EQ(ui.notices, QStringList{" Lipseste fisierul  \"BDPEL.GDB\""});
    EXPECT_TRUE(ui.errors.isEmpty()) << ui.errors.join(u'\n').toStdString();
    Platform::setProgramFolder(folder);
}

} // namespace
