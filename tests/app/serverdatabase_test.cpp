// A database on a Firebird server, named in evidenta.ini of the data folder: the connection
// dialog shows it and takes the server's account, a monthly row saved through the program is
// read back by isql-fb, and the archives leave the server's database to the server's backup.
// The server is a real one, started by the tests on the loopback interface.

#include "app/connection.h"
#include "app/tfconect.h"
#include "app/tfmain.h"
#include "data/formats.h"
#include "data/helpers.h"
#include "data/readscope.h"
#include "data/dberror.h"
#include "data/ibdatabase.h"
#include "data/ibquery.h"
#include "data/ibtransaction.h"
#include "data/tdm.h"

#include <ibase.h>
#include "maintenance/databasearchive.h"
#include "platform/guard.h"
#include "platform/platform.h"
#include "records/detachedhandler.h"
#include "tests/support/firebirdserver.h"
#include "tests/support/scripteduserinteraction.h"
#include "tests/support/testdatabase.h"
#include "tests/support/testworkspace.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

// The program and data folders of a user whose evidenta.ini is written by the test.
class ServerSettings : public ::testing::Test
{
protected:
    void SetUp() override
    {
        Platform::setProgramFolder(program.path());
        Platform::setDataFolder(data.path());
        Formats::forceDefaults();
        DM = new TDM;
    }
    void TearDown() override
    {
        Connection::close();
        delete DM;
        DM = nullptr;
        Platform::setDataFolder({});
        Platform::setProgramFolder({});
    }
    void writeSettings(const QString &value)
    {
        QFile f(data.filePath("evidenta.ini"));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("[Baza de date]\n" + value.toUtf8() + "\n");
    }
    QAction *action(TFMain &w, const char *name)
    {
        auto *a = w.findChild<QAction *>(name);
        EXPECT_TRUE(a) << name;
        return a;
    }
    // Opens the dialog from the menu as the user does, notes what it shows, types the password
    // when one is given (replacing what the box holds) and presses OK.
    void connectThroughDialog(TFMain &w, const QString &password = {})
    {
        QTimer::singleShot(0, [this, password] {
            for (QWidget *top : QApplication::topLevelWidgets())
                if (auto *d = qobject_cast<TFConect *>(top); d && d->isVisible()) {
                    shown = d->findChild<QLabel *>("L_baza")->text();
                    auto *box = d->findChild<QLineEdit *>("Edit2");
                    typable = !box->isReadOnly() && !d->findChild<QLineEdit *>("Edit1")->isReadOnly();
                    if (!password.isNull()) {
                        box->setFocus();
                        QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
                        QTest::keyClicks(box, password);
                    }
                    QTest::keyClick(d, Qt::Key_Return);
                }
        });
        action(w, "Conectare1")->trigger();
    }

    QTemporaryDir program, data;
    ScriptedUserInteraction ui;
    QString shown;
    bool typable = false;
};

TEST_F(ServerSettings, TheDialogShowsWhichDatabaseItOpens)
{
    TFConect local;
    EXPECT_EQ(local.findChild<QLabel *>("L_baza")->text(), Connection::databasePath());
    EXPECT_TRUE(local.findChild<QLabel *>("L_baza")->text().endsWith("/bdkolm.gdb"));
    EXPECT_TRUE(local.findChild<QLineEdit *>("Edit2")->isReadOnly());
    EXPECT_FALSE(Connection::isServerDatabase());

    writeSettings("Cale=contabil/3051:/srv/firebird/bdkolm.gdb");
    TFConect server;
    EXPECT_EQ(server.findChild<QLabel *>("L_baza")->text(), "contabil/3051:/srv/firebird/bdkolm.gdb");
    EXPECT_EQ(server.findChild<QLabel *>("Label2")->text(), "BDKOLM.GDB");
    for (const char *name : {"Edit1", "Edit2"}) {
        auto *e = server.findChild<QLineEdit *>(name);
        EXPECT_FALSE(e->isReadOnly()) << name;
        EXPECT_EQ(e->echoMode(), QLineEdit::Password);
    }
    EXPECT_TRUE(Connection::isServerDatabase());
}

TEST_F(ServerSettings, AnIllFormedSettingIsExplainedAndNothingConnects)
{
    writeSettings("Cale=bdkolm.gdb");
    const QString why = "Fisierul " + data.filePath("evidenta.ini")
                        + " nu poate fi folosit: valoarea Cale=bdkolm.gdb din sectiunea [Baza de date] numeste un "
                          "fisier, fara server. Baza de date de pe un server se scrie server:cale sau "
                          "server/port:cale (de exemplu 192.168.1.10/3050:/var/lib/firebird/data/bdkolm.gdb sau "
                          "srv:C:\\BD\\BDKOLM.GDB); fara cheia Cale programul deschide baza de date din dosarul sau.";
    EXPECT_FALSE(Connection::isServerDatabase());
    TFMain w;
    connectThroughDialog(w);
    EXPECT_EQ(shown, why);
    EXPECT_FALSE(typable);
    EXPECT_EQ(ui.errors, QStringList{why});
    EXPECT_FALSE(DM->IDB->connected());
    EXPECT_TRUE(action(w, "Conectare1")->isEnabled());
    EXPECT_FALSE(action(w, "Arhivareabazei1")->isEnabled());

    writeSettings("Cale=contabil/port:/srv/bdkolm.gdb");
    EXPECT_EQ(Connection::databaseShown(), "Fisierul " + data.filePath("evidenta.ini")
                                               + " nu poate fi folosit: portul \"port\" din "
                                                 "Cale=contabil/port:/srv/bdkolm.gdb trebuie sa fie un numar intre "
                                                 "1 si 65535.");
}

// A port of the loopback interface that listens and never answers: `dropping` fills its queue
// of one waiting connection, so that later attempts are dropped unanswered, as a server behind
// a firewall that drops them; otherwise connections are taken and nothing is said on them.
class SilentPort
{
public:
    explicit SilentPort(bool dropping)
    {
        m_listener = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t len = sizeof a;
        ::bind(m_listener, reinterpret_cast<sockaddr *>(&a), sizeof a);
        ::listen(m_listener, 0);
        ::getsockname(m_listener, reinterpret_cast<sockaddr *>(&a), &len);
        m_port = ntohs(a.sin_port);
        for (int i = 0; dropping && i < 2; ++i) {
            const int s = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK, 0);
            ::connect(s, reinterpret_cast<sockaddr *>(&a), sizeof a);
            m_fillers.push_back(s);
        }
    }
    ~SilentPort()
    {
        for (int s : m_fillers)
            ::close(s);
        ::close(m_listener);
    }
    int port() const { return m_port; }

private:
    int m_listener = -1;
    int m_port = 0;
    std::vector<int> m_fillers;
};

TEST_F(ServerSettings, AServerThatDoesNotAnswerIsNamedAfterTheWaitOfTheSettings)
{
    for (bool dropping : {true, false}) {
        SCOPED_TRACE(dropping ? "dropping" : "silent");
        SilentPort port(dropping);
        const QString server = QStringLiteral("127.0.0.1/%1").arg(port.port());
        writeSettings("Cale=" + server + ":/srv/firebird/bdkolm.gdb\nAsteptareConectare=1");
        ui.errors.clear();
        TFMain w;
        Connection::Hooks none;
        EXPECT_FALSE(runGuarded([&] { Connection::connect("SYSDBA", "x", none); }));
        EXPECT_EQ(ui.errors,
                  QStringList{"Serverul bazei de date " + server
                              + " nu a răspuns timp de o secundă. Verificați că acel calculator este pornit și "
                                "legat la rețea, că serverul Firebird rulează pe el și că numele și portul din "
                                "evidenta.ini (cheia Cale) sînt cele bune; cît se așteaptă răspunsul se scrie în "
                                "evidenta.ini, cheia AsteptareConectare (în secunde)."});
        EXPECT_FALSE(DM->IDB->connected());
    }
    writeSettings("Cale=srv:/x.gdb\nAsteptareConectare=0");
    EXPECT_EQ(Connection::databaseShown(),
              "Fisierul " + data.filePath("evidenta.ini")
                  + " nu poate fi folosit: valoarea AsteptareConectare=0 din sectiunea [Baza de date] trebuie sa fie "
                    "un numar de secunde intre 1 si 600.");
}

// The same with the test run's own server serving a fresh database file.
class ServerDatabase : public ServerSettings
{
protected:
    void SetUp() override
    {
        ServerSettings::SetUp();
        server = &FirebirdServer::shared();
        ASSERT_TRUE(server->running()) << server->error().toStdString();
        db = std::make_unique<TestDatabase>();
        ASSERT_TRUE(QFile::copy(QStringLiteral(EVD_RAR_EXE), program.filePath("rar")));
        writeSettings("Cale=" + server->connectionName(db->path()));
    }
    QString served() const { return server->connectionName(db->path()); }
    bool archivesMade() const
    {
        return QDir(program.filePath("ARHIVA")).exists() || QDir(data.filePath("ARHIVA")).exists();
    }

    FirebirdServer *server = nullptr;
    std::unique_ptr<TestDatabase> db;
};

TEST_F(ServerDatabase, ConnectsThroughTheServerWithTheTypedAccount)
{
    TFMain w;
    connectThroughDialog(w, "quintorez");
    EXPECT_EQ(shown, served());
    EXPECT_TRUE(typable);
    ASSERT_EQ(ui.errors.size(), 1);
    EXPECT_TRUE(ui.errors[0].contains("user name and password are not defined")) << ui.errors[0].toStdString();
    EXPECT_FALSE(DM->IDB->connected());
    EXPECT_TRUE(action(w, "Conectare1")->isEnabled());

    connectThroughDialog(w, FirebirdServer::password());
    EXPECT_EQ(ui.errors.size(), 1) << ui.errors.join('|').toStdString();
    ASSERT_TRUE(DM->IDB->connected());
    EXPECT_EQ(DM->IDB->databaseName(), served());
    EXPECT_FALSE(action(w, "Conectare1")->isEnabled());
    EXPECT_TRUE(action(w, "Arhivareabazei1")->isEnabled());
    {
        // Reached over the network, not opened by the engine inside the program.
        ReadScope read(DM->IBQ1, "select mon$remote_protocol, mon$user from mon$attachments "
                                 "where mon$attachment_id=current_connection");
        ASSERT_TRUE(read.found());
        EXPECT_EQ(read.value(0).toString().trimmed(), "TCPv4");
        EXPECT_EQ(read.value(1).toString().trimmed(), "SYSDBA");
    }
    EXPECT_TRUE(DM->serverDate.isValid());
    // The daily archive leaves a server database alone, without a word.
    EXPECT_TRUE(ui.notices.isEmpty()) << ui.notices.join('|').toStdString();
    EXPECT_FALSE(archivesMade());
}

TEST_F(ServerDatabase, TheManualArchiveSaysTheServersBackupApplies)
{
    TFMain w;
    connectThroughDialog(w, FirebirdServer::password());
    ASSERT_TRUE(DM->IDB->connected()) << ui.errors.join('|').toStdString();
    action(w, "Arhivareabazei1")->trigger();
    EXPECT_TRUE(ui.errors.isEmpty()) << ui.errors.join('|').toStdString();
    EXPECT_EQ(ui.notices, QStringList{QStringLiteral("Baza de date se afla pe serverul 127.0.0.1/%1; arhivarea ei se "
                                                     "face prin copiile de siguranta ale serverului.")
                                          .arg(server->port())});
    EXPECT_FALSE(archivesMade());
}

// Copies the rows of a statement into a record set without its rules, as the workspace loads.
void load(RecordSet *set, const QString &sql)
{
    DetachedHandler post(set->beforePost), insert(set->afterInsert);
    ReadScope read(DM->IBQ4, sql);
    CopyToMemTable(read.query(), set, 3);
}

// An agent, a person with a declaration of 2005 and the rate of the year stored through the
// connection, loaded as the workspace holds them, and a row of March 2005 typed, not saved.
RecordSet *typeMarch2005(TestWorkspace &ws)
{
    DM->execWrite("insert into econ_agent values(1,'1234567','1','A','B','C',91,'D','0')");
    DM->execWrite("insert into assured_person (ap_id,ap_ea,ap_cpas,ap_first_name,ap_middle_name) "
                  "values(1,1,'12345678901','POPESCU','ION')");
    DM->execWrite("insert into name_account (na_id,na_pl,na_ap,na_year,na_is_pens,na_period_begin,na_period_end,"
                  "na_ap_category,na_wb_in_ea,na_kft_rf,na_rest,na_public) "
                  "values(10,NULL,1,2005,'N','01.01.2005','31.12.2005',190,'N',1,0,'N')");
    DM->execWrite("insert into k_tariff_ap_value values(19008,190,'01.01.2005','31.12.2005','P',6,NULL,'P',23)");
    ws.year = "2005";
    load(DM->econ_agent, "select * from econ_agent where ea_id=1");
    load(DM->assured_person, "select * from assured_person");
    load(DM->name_account, "select * from name_account where na_id=10");
    load(DM->saldo_data, "select * from saldo_data where sd_na=10");
    RecordSet *S = DM->saldo_data;
    S->append();
    S->field("sd_month").setValue(3);
    S->field("sd_dela_d").setValue(QDate(2005, 3, 1));
    S->field("sd_pina_d").setValue(QDate(2005, 3, 31));
    S->field("sd_paym_fond").setValue(800.0);
    S->field("sd_ap_category").setValue(190);
    S->field("sd_zile_n").setValue(5);
    return S;
}

TEST_F(ServerDatabase, AMonthlyRowSavedThroughTheServerIsReadBackByIsql)
{
    Connection::connect(FirebirdServer::user(), FirebirdServer::password(), {});
    ASSERT_EQ(DM->IDB->databaseName(), served());
    TestWorkspace ws;
    // March 2005, pay fund 800.00: 6% and 23% of it.
    RecordSet *S = typeMarch2005(ws);
    S->post();
    EXPECT_TRUE(ui.errors.isEmpty()) << ui.errors.join('|').toStdString();
    const QString id = S->field("sd_id").asString();
    ASSERT_FALSE(id.isEmpty());

    const QString out = server->isql(
        db->path(), "set list on;\n"
                    "select cast(sd_id as integer) as sd_id, cast(sd_na as integer) as sd_na, sd_month, "
                    "cast(sd_paym_fond as numeric(15,2)) as fond, cast(sd_sum_add as numeric(15,2)) as ap, "
                    "cast(sd_sum_add_ea as numeric(15,2)) as ea, sd_dela_d, sd_pina_d, "
                    "cast(sd_ap_category as integer) as categ, cast(sd_tariff_ap as integer) as tarif "
                    "from saldo_data;\n");
    QStringList lines = out.split('\n', Qt::SkipEmptyParts);
    for (QString &l : lines)
        l = l.simplified();
    EXPECT_EQ(lines.join(" | ").toStdString(), "SD_ID " + id.toStdString()
                                                   + " | SD_NA 10 | SD_MONTH 3 | FOND 800.00 | AP 48.00 | EA 184.00 | "
                                                     "SD_DELA_D 01-MAR-2005 | SD_PINA_D 31-MAR-2005 | CATEG 190 | "
                                                     "TARIF 19008");
}

} // namespace

namespace {

// What another user's transaction causes is told in Romanian, with the engine's code kept.
TEST_F(ServerDatabase, WhatAnotherUsersTransactionCausesIsToldInRomanian)
{
    writeSettings("Cale=" + served() + "\nAsteptareBlocare=1");
    Connection::connect(FirebirdServer::user(), FirebirdServer::password(), {});
    ASSERT_TRUE(DM->IDB->connected());
    DM->execWrite("insert into econ_agent values(1,'1234567','1','A','B','C',91,'D','0')");
    DM->execWrite("insert into assured_person (ap_id,ap_ea,ap_cpas,ap_first_name,ap_middle_name) "
                  "values(1,1,'12345678901','POPESCU','ION')");
    DM->execWrite("insert into name_account (na_id,na_ap,na_year) values(10,1,2005)");
    DM->execWrite("insert into saldo_data (sd_id,sd_na,sd_month) values(20,10,3)");

    // The other user: a connection of its own whose transaction stays open.
    IbDatabase other;
    other.params() << "USER_NAME=" + FirebirdServer::user() << "PASSWORD=" + FirebirdServer::password();
    other.setDatabaseName(served());
    other.open();
    IbTransaction open(&other);
    IbQuery held(&open);
    open.startTransaction();
    held.setSql("update econ_agent set ea_fosk=ea_fosk where ea_id=1");
    held.execQuery();

    struct Case {
        const char *statement;
        long gdsCode;
        const char *message;
    };
    const Case cases[] = {
        {"update econ_agent set ea_full_name='X' where ea_id=1", isc_deadlock,
         "Alt utilizator modifică chiar acum datele agentului economic și nu și-a încheiat modificarea timp de o "
         "secundă. Operația s-a oprit fără să scrie pasul la care ajunsese; repetați-o peste cîteva clipe."},
        {"insert into assured_person (ap_id,ap_ea,ap_cpas,ap_first_name,ap_middle_name) values(1,1,'12345678902','A','B')",
         isc_unique_key_violation,
         "Alt utilizator a salvat între timp în datele persoanelor asigurate o înregistrare cu aceeași cheie "
         "(AP_ID = 1). Nimic nu a fost scris; repetați operația, ca să primească altă cheie."},
        {"insert into saldo_data (sd_id,sd_na,sd_month) values(21,11,3)", isc_foreign_key,
         "Alt utilizator a șters între timp înregistrarea de care țin rîndurile lunare ale declarațiilor "
         "(salariile) de salvat. Nimic nu a fost scris; căutați din nou datele și repetați."},
        {"delete from name_account where na_id=10", isc_foreign_key,
         "Alt utilizator a adăugat între timp date care țin de înregistrarea din declarațiile persoanelor de "
         "șters. Nimic nu a fost șters; căutați din nou datele și repetați."},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.statement);
        try {
            DM->execWrite(c.statement);
            ADD_FAILURE() << "written";
        } catch (const DbError &e) {
            EXPECT_EQ(e.message().toStdString(), c.message);
            EXPECT_EQ(e.gdsCode(), c.gdsCode);
        }
    }
    open.rollback();
}

} // namespace

namespace {

// The server goes away while the program is open: the save says so, the typed row stays in the
// record set, Conectare connects again and the same save completes.
TEST_F(ServerSettings, ALostConnectionKeepsTheTypingAndConectareConnectsAgain)
{
    std::unique_ptr<FirebirdServer> own = FirebirdServer::startOwn();
    ASSERT_TRUE(own->running()) << own->error().toStdString();
    TestDatabase db;
    const QString server = QStringLiteral("127.0.0.1/%1").arg(own->port());
    writeSettings("Cale=" + own->connectionName(db.path()));
    TFMain w;
    connectThroughDialog(w, FirebirdServer::password());
    ASSERT_TRUE(DM->IDB->connected()) << ui.errors.join('|').toStdString();
    TestWorkspace ws;
    RecordSet *S = typeMarch2005(ws);

    own->halt();
    EXPECT_FALSE(runGuarded([S] { S->post(); }));
    EXPECT_EQ(ui.errors.join('|').toStdString(),
              ("Legătura cu serverul bazei de date " + server
               + " s-a pierdut. Ce nu era salvat a rămas pe ecran, iar nimic nu a fost scris pe jumătate. Alegeți "
                 "„Conectare” din meniul principal ca să vă conectați din nou, apoi salvați.")
                  .toStdString());
    EXPECT_TRUE(action(w, "Conectare1")->isEnabled());
    EXPECT_EQ(S->state(), RecordSet::State::Insert);
    EXPECT_EQ(S->field("sd_paym_fond").asFloat(), 800.0);

    ASSERT_TRUE(own->resume()) << own->error().toStdString();
    ui.errors.clear();
    connectThroughDialog(w, FirebirdServer::password());
    EXPECT_TRUE(ui.errors.isEmpty()) << ui.errors.join('|').toStdString();
    EXPECT_FALSE(action(w, "Conectare1")->isEnabled());
    EXPECT_EQ(S->state(), RecordSet::State::Insert);
    EXPECT_TRUE(runGuarded([S] { S->post(); })) << ui.errors.join('|').toStdString();
    EXPECT_EQ(own->isql(db.path(), "set heading off;\nselect count(*) from saldo_data where sd_paym_fond=800;\n")
                  .simplified()
                  .toStdString(),
              "1");
    Connection::close();
}

} // namespace
