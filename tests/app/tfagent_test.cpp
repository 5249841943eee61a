// The economic agent window driven as a user would, offscreen: typing into its boxes,
// choosing a sector, pressing its buttons, answering its question; then the rows are read
// back from the database.

#include "app/tfagent.h"
#include "app/tfmain.h"
#include "data/helpers.h"
#include "data/romanianorder.h"
#include "data/tdm.h"
#include "grid/dbedit.h"
#include "grid/dbgrid.h"
#include "grid/dblookupcombobox.h"
#include "platform/platform.h"
#include "records/econagentrules.h"
#include "tests/support/scripteduserinteraction.h"
#include "tests/support/spokennames.h"
#include "tests/support/testdatabase.h"
#include "tests/support/typing.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>

namespace {


class AgentWindow : public DataModuleTest
{
protected:
    void SetUp() override
    {
        DataModuleTest::SetUp();
        LoadClassifier(DM->k_adm_area2);
        DM->econ_agent->createDataSet();
    }

    void open()
    {
        w = std::make_unique<TFAgent>();
        w->show();
        QApplication::setActiveWindow(w.get());
        QApplication::processEvents();
    }

    template <typename T>
    T *child(const char *name)
    {
        T *c = w->findChild<T *>(QString::fromLatin1(name));
        EXPECT_TRUE(c) << name;
        return c;
    }

    // Replaces the box's text by typing, as the user would after selecting it all.
    void type(const char *box, const QString &text)
    {
        auto *e = child<DbEdit>(box);
        e->setFocus();
        e->selectAll();
        if (!e->inputMask().isEmpty()) {
            QTest::keyClick(e, Qt::Key_Delete);
            e->setCursorPosition(0);
        }
        typeText(e, text);
    }

    void chooseSector(const QString &name)
    {
        auto *c = child<DbLookupComboBox>("DBLookupComboBox1");
        const int i = c->findText(name);
        ASSERT_GE(i, 0) << name.toStdString();
        c->setCurrentIndex(i);
        emit c->activated(i);
    }

    void press(const char *button) { child<QPushButton>(button)->click(); }

    void fillNewAgent()
    {
        press("BitBtn3");
        type("DBEdit3", "1234567");
        type("DBEdit4", QStringLiteral("sa ţesătura o'hara"));
        type("DBEdit5", "1003600012345");
        type("DBEdit6", QStringLiteral("popescu ion"));
        type("DBEdit7", QStringLiteral("rusu ana"));
        type("DBEdit8", QStringLiteral("cojocaru vasile"));
        chooseSector("CAHUL");
    }

    void insertAgents()
    {
        exec("insert into econ_agent values (2, '2222222', '200', 'DOI SRL', 'D2', 'C2', 4, 'R2', '0')");
        exec("insert into econ_agent values (1, '1111111', '100', 'UNU SA', 'D1', 'C1', 3, 'R1', '55')");
    }

    ScriptedUserInteraction ui;
    std::unique_ptr<TFAgent> w;
};

TEST_F(AgentWindow, CaptionsLabelsColumnsAndSectorList)
{
    open();
    EXPECT_EQ(w->windowTitle(), "Date despre agentul economic");
    const std::pair<const char *, const char *> labels[] = {
        {"Label3", "Cod FOSK"},  {"Label4", "Denumirea"},   {"Label5", "IDNO(C.F.)"}, {"Label6", "Conducător"},
        {"Label7", "Şef contabil"}, {"Label8", "Responsabil"}, {"Label1", "Sectorul"}};
    for (auto [name, text] : labels)
        EXPECT_EQ(child<QLabel>(name)->text(), QString::fromUtf8(text));
    const std::pair<const char *, const char *> buttons[] = {
        {"BitBtn3", "&Adăugire"}, {"BitBtn2", "&Memorizare"}, {"BitBtn4", "&Revocare"}, {"BitBtn6", "Ş&tergere"},
        {"BitBtn1", "OK"}};
    for (auto [name, text] : buttons)
        EXPECT_EQ(child<QPushButton>(name)->text(), QString::fromUtf8(text));
    QAbstractItemModel *m = child<DbGrid>("DBGrid1")->model();
    ASSERT_EQ(m->columnCount(), 3);
    EXPECT_EQ(m->headerData(0, Qt::Horizontal).toString(), "IDNO");
    EXPECT_EQ(m->headerData(1, Qt::Horizontal).toString(), "DENUMIREA");
    EXPECT_EQ(m->headerData(2, Qt::Horizontal).toString(), "COD FOSK");
    // The IDNO column shows its 17 digits whole.
    auto *agents = child<DbGrid>("DBGrid1");
    EXPECT_GE(agents->columnWidth(0), agents->fontMetrics().horizontalAdvance(QString(17, u'0')));
    EXPECT_EQ(child<DbEdit>("DBEdit3")->inputMask(), "9999999"); // a blank placeholder is not repeated
    EXPECT_EQ(child<DbEdit>("DBEdit5")->inputMask(), QString(17, u'0'));
    for (const char *box : {"DBEdit3", "DBEdit4", "DBEdit5", "DBEdit6", "DBEdit7", "DBEdit8"})
        EXPECT_TRUE(child<DbEdit>(box)->upperCase()) << box;
    EXPECT_TRUE(child<DbEdit>("DBEdit1")->isReadOnly());
    // The sectors by name in Romanian order (CĂLĂRAŞI before CRIULENI), the codes beside them.
    auto *c = child<DbLookupComboBox>("DBLookupComboBox1");
    ASSERT_EQ(c->count(), DM->k_adm_area2->recordCount());
    for (int i = 1; i < c->count(); ++i)
        EXPECT_LT(RomanianOrder::compare(c->itemText(i - 1), c->itemText(i)), 0);
    EXPECT_EQ(c->itemText(0), "ANENII NOI");
    EXPECT_LT(c->findText(QStringLiteral("CĂLĂRAŞI")), c->findText(QStringLiteral("CRIULENI")));
    EXPECT_LT(c->findText(QStringLiteral("ŞOLDĂNEŞTI")), c->findText(QStringLiteral("TARACLIA")));
}

TEST_F(AgentWindow, EveryBoxIsNamedAfterItsCaptionAndTheGridHasAName)
{
    open();
    QMap<QString, QString> expected{{"DBEdit3", "Cod FOSK"},      {"DBEdit4", "Denumirea"},
                                    {"DBEdit5", "IDNO(C.F.)"},    {"DBEdit6", QStringLiteral("Conducător")},
                                    {"DBEdit7", QStringLiteral("Şef contabil")}, {"DBEdit8", "Responsabil"},
                                    {"DBLookupComboBox1", "Sectorul"}};
    EXPECT_EQ(buddyCaptions(w.get()), expected);
    expected["DBEdit1"] = "Codul sectorului"; // the code beside the sector list has no label
    EXPECT_EQ(spokenNames(w.get()), expected);
    EXPECT_EQ(listNames(w.get()), (QMap<QString, QString>{{"DBGrid1", QStringLiteral("Agenţii economici")}}));
}

TEST_F(AgentWindow, OpeningLoadsEveryAgentInIdentifierOrder)
{
    insertAgents();
    open();
    QAbstractItemModel *m = child<DbGrid>("DBGrid1")->model();
    ASSERT_EQ(m->rowCount(), 2);
    EXPECT_EQ(m->index(0, 0).data().toString(), "100");
    EXPECT_EQ(m->index(0, 1).data().toString(), "UNU SA");
    EXPECT_EQ(m->index(0, 2).data().toString(), "1111111");
    EXPECT_EQ(child<DbEdit>("DBEdit4")->text(), "UNU SA");
    EXPECT_EQ(child<DbEdit>("DBEdit3")->text(), "1111111");
    EXPECT_EQ(child<DbLookupComboBox>("DBLookupComboBox1")->currentText(), "BRICENI");
    EXPECT_EQ(child<DbEdit>("DBEdit1")->text(), "3");
    EXPECT_TRUE(bool(DM->econ_agent->beforePost));
    EXPECT_FALSE(DM->IBT1->active());

    // Moving in the grid moves the current agent and the boxes follow.
    auto *g = child<DbGrid>("DBGrid1");
    g->setCurrentIndex(m->index(1, 1));
    EXPECT_EQ(DM->econ_agent->field("ea_id").asInteger(), 2);
    EXPECT_EQ(child<DbEdit>("DBEdit4")->text(), "DOI SRL");
    EXPECT_EQ(child<DbLookupComboBox>("DBLookupComboBox1")->currentText(), "CAHUL");
    EXPECT_EQ(child<DbEdit>("DBEdit1")->text(), "4");
}

TEST_F(AgentWindow, ANewAgentTypedInIsSavedInCapitals)
{
    open();
    fillNewAgent();
    EXPECT_EQ(child<DbEdit>("DBEdit4")->text(), QStringLiteral("SA ŢESĂTURA O'HARA"));
    EXPECT_EQ(child<DbEdit>("DBEdit1")->text(), "4");
    press("BitBtn2");
    EXPECT_TRUE(ui.errors.isEmpty()) << ui.errors.join('|').toStdString();
    EXPECT_EQ(DM->econ_agent->state(), RecordSet::State::Browse);
    EXPECT_EQ(column(QStringLiteral("select ea_fosk||'|'||ea_idno||'|'||ea_full_name||'|'||ea_director_name||'|'"
                                    "||ea_accountant_name||'|'||cast(ea_kaa2_fosk as integer)||'|'||ea_receiving_usr||'|'||ea_cod from econ_agent")),
              QStringList{QStringLiteral("1234567|1003600012345|SA ŢESĂTURA O'HARA|POPESCU ION|RUSU ANA|4|COJOCARU VASILE|0")});
    EXPECT_EQ(child<DbGrid>("DBGrid1")->model()->rowCount(), 1);
    EXPECT_TRUE(w->isVisible()); // Memorizare keeps the window open
}

TEST_F(AgentWindow, RefusedSavesKeepTheWindowAndTheTypedValues)
{
    open();
    press("BitBtn3");
    type("DBEdit3", "12345");
    type("DBEdit4", QStringLiteral("firma"));
    press("BitBtn1");
    EXPECT_EQ(ui.errors, QStringList{"Indicati sectorul !"});
    EXPECT_TRUE(w->isVisible());
    chooseSector("CAHUL");
    press("BitBtn1");
    EXPECT_EQ(ui.errors.last(), "Codul FOSK trebuie sa fie din 7 cifre");
    EXPECT_EQ(DM->econ_agent->field("ea_fosk").asString(), "12345  ");
    type("DBEdit3", "1234567");
    press("BitBtn1");
    EXPECT_EQ(ui.errors.last(), "Field 'ea_idno' must have a value");
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(DM->econ_agent->state(), RecordSet::State::Insert);
    EXPECT_EQ(child<DbEdit>("DBEdit4")->text(), "FIRMA");
    EXPECT_EQ(scalar("select count(*) from econ_agent").toInt(), 0);

    type("DBEdit5", "123");
    type("DBEdit6", "a");
    type("DBEdit7", "b");
    type("DBEdit8", "c");
    press("BitBtn1");
    EXPECT_EQ(ui.errors.size(), 3);
    EXPECT_FALSE(w->isVisible());
    EXPECT_EQ(w->result(), QDialog::Accepted);
    EXPECT_EQ(column("select ea_idno||'|'||ea_full_name from econ_agent"), QStringList{"123|FIRMA"});
}

TEST_F(AgentWindow, TextTheCodePageCannotHoldIsRefused)
{
    open();
    fillNewAgent();
    type("DBEdit4", QStringLiteral("ооо ромашка"));
    press("BitBtn2");
    ASSERT_EQ(ui.errors.size(), 1);
    EXPECT_TRUE(ui.errors[0].contains("Windows-1250")) << ui.errors[0].toStdString();
    EXPECT_TRUE(ui.errors[0].contains(QStringLiteral("\"О\""))) << ui.errors[0].toStdString();
    EXPECT_EQ(DM->econ_agent->state(), RecordSet::State::Insert);
    EXPECT_EQ(scalar("select count(*) from econ_agent").toInt(), 0);
}

TEST_F(AgentWindow, RevocareUndoesAndOkWithoutChangesJustCloses)
{
    insertAgents();
    open();
    type("DBEdit4", QStringLiteral("alt nume"));
    EXPECT_EQ(DM->econ_agent->state(), RecordSet::State::Edit);
    press("BitBtn4");
    EXPECT_EQ(DM->econ_agent->state(), RecordSet::State::Browse);
    EXPECT_EQ(child<DbEdit>("DBEdit4")->text(), "UNU SA");
    press("BitBtn2"); // nothing pending: nothing happens
    EXPECT_TRUE(w->isVisible());
    press("BitBtn1");
    EXPECT_TRUE(ui.errors.isEmpty());
    EXPECT_FALSE(w->isVisible());
    EXPECT_EQ(column("select ea_full_name from econ_agent order by ea_id"), (QStringList{"UNU SA", "DOI SRL"}));
}

TEST_F(AgentWindow, OkSavesAChangedAgent)
{
    insertAgents();
    open();
    type("DBEdit6", QStringLiteral("ionescu"));
    chooseSector("CAHUL");
    press("BitBtn1");
    EXPECT_TRUE(ui.errors.isEmpty()) << ui.errors.join('|').toStdString();
    EXPECT_FALSE(w->isVisible());
    EXPECT_EQ(column("select ea_director_name||'|'||cast(ea_kaa2_fosk as integer)||'|'||ea_cod from econ_agent where ea_id=1"),
              QStringList{"IONESCU|4|55"});
}

TEST_F(AgentWindow, ClosingOtherwiseDiscardsTheNewRow)
{
    insertAgents();
    open();
    press("BitBtn3");
    type("DBEdit4", "x");
    w->reject();
    EXPECT_EQ(DM->econ_agent->state(), RecordSet::State::Browse);
    EXPECT_EQ(DM->econ_agent->recordCount(), 2);
}

TEST_F(AgentWindow, DeletionAsksAndRemovesTheAgentWithItsPackages)
{
    insertAgents();
    exec("insert into packlabel (pl_id, pl_ea, pl_n, pl_year, pl_form_compl_dt) values (10, 1, 1, 2008, '01.02.2009')");
    exec("insert into assured_person (ap_id, ap_ea, ap_first_name, ap_middle_name) values (100, 2, 'ION', 'POP')");
    open();
    ui.answers = {false, true};
    press("BitBtn6");
    EXPECT_EQ(scalar("select count(*) from econ_agent").toInt(), 2);
    press("BitBtn6");
    EXPECT_EQ(ui.questions, QStringList(2, "Confirmati stergerea datelor despre agentul economic ?"));
    EXPECT_EQ(column("select ea_id from econ_agent"), QStringList{"2"});
    EXPECT_EQ(scalar("select count(*) from packlabel").toInt(), 0);
    QAbstractItemModel *m = child<DbGrid>("DBGrid1")->model();
    ASSERT_EQ(m->rowCount(), 1);
    EXPECT_EQ(m->index(0, 1).data().toString(), "DOI SRL");
    EXPECT_EQ(child<DbEdit>("DBEdit4")->text(), "DOI SRL");

    // The remaining agent has a person: it stays.
    ui.answers = {true};
    press("BitBtn6");
    EXPECT_EQ(ui.notices, QStringList{"La aceast agent economic sint persoane asigurate introduse  "});
    EXPECT_EQ(column("select ea_id from econ_agent"), QStringList{"2"});
    EXPECT_EQ(m->rowCount(), 1);
}

TEST_F(AgentWindow, TheMenuOpensItModallyInTheRomanianLayout)
{
    insertAgents();
    TFMain main;
    main.enableConnectedMenu();
    Platform::activateKeyboardLayout("00000409");
    QString layout, title;
    QTimer::singleShot(0, [&] {
        for (QWidget *top : QApplication::topLevelWidgets())
            if (auto *d = qobject_cast<TFAgent *>(top); d && d->isVisible()) {
                layout = Platform::activeKeyboardLayout();
                title = d->windowTitle();
                EXPECT_TRUE(d->isModal());
                d->findChild<QPushButton *>("BitBtn1")->click();
            }
    });
    main.findChild<QAction *>("Inregistrare1")->trigger();
    EXPECT_EQ(layout, "00000418");
    EXPECT_EQ(title, "Date despre agentul economic");
    for (QWidget *top : QApplication::topLevelWidgets())
        EXPECT_FALSE(qobject_cast<TFAgent *>(top)) << "the window is freed when it closes";
    EXPECT_EQ(DM->econ_agent->recordCount(), 2); // the agents stay loaded
}

} // namespace
