// Two copies of the program on one database of the test server, each a process of its own
// (tests/driver): a save never overwrites what another copy saved after it was read, what the
// engine says about the other copy's work reaches the user in Romanian, an operation waits for
// the other copy's open work a bounded time, and new declarations saved by both at once keep
// the packages within 50 and their identifiers unique.

#include "tests/support/firebirdserver.h"
#include "tests/support/programcopy.h"
#include "tests/support/testdatabase.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

const std::string kChanged
    = "error: Înregistrarea a fost modificată de alt utilizator. Datele au fost citite din nou; repetați modificarea.";
const std::string kDeleted = "error: Înregistrarea a fost ștearsă de alt utilizator. Datele au fost citite din nou.";

// One agent, `persons` persons of it, the rate of 2005 and the first person's declaration of
// 2005, on a database of the test server that both copies' evidenta.ini name.
class TwoCopies : public ::testing::Test
{
protected:
    void SetUp() override
    {
        server = &FirebirdServer::shared();
        ASSERT_TRUE(server->running()) << server->error().toStdString();
        db = std::make_unique<TestDatabase>();
        QFile ini(folder.filePath("evidenta.ini"));
        ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
        ini.write("[Baza de date]\nCale=" + server->connectionName(db->path()).toUtf8() + "\nAsteptareBlocare=1\n");
    }
    void seed(int persons)
    {
        QString sql = QStringLiteral(
            "insert into econ_agent values(1,'1234567','1','A','B','C',91,'D','0');\n"
            "insert into k_tariff_ap_value values(19008,190,'01.01.2005','31.12.2005','P',6,NULL,'P',23);\n"
            "");
        for (int i = 1; i <= persons; ++i)
            sql += QStringLiteral("insert into assured_person (ap_id,ap_ea,ap_cpas,ap_first_name,ap_middle_name) "
                                  "values(%1,1,'%2','POPESCU','ION');\n")
                       .arg(i)
                       .arg(10000000000LL + i);
        sql += "insert into name_account (na_id,na_pl,na_ap,na_year,na_is_pens,na_period_begin,na_period_end,"
               "na_ap_category,na_wb_in_ea,na_kft_rf,na_rest,na_public) "
               "values(100000,NULL,1,2005,'N','01.01.2005','31.12.2005',190,'N',1,0,'N');\n";
        const QString out = isql(sql + "commit;\n");
        ASSERT_FALSE(out.startsWith("isql: ")) << out.toStdString();
    }
    QString isql(const QString &sql) { return server->isql(db->path(), sql); }
    // The first column of a select, read by isql-fb.
    std::string stored(const QString &sql)
    {
        return isql("set heading off;\n" + sql + ";\n").simplified().toStdString();
    }

    FirebirdServer *server = nullptr;
    std::unique_ptr<TestDatabase> db;
    QTemporaryDir folder;
};

// A monthly row of March with the first person's declaration, saved through the rule by `copy`.
std::string saveMarch(ProgramCopy &copy)
{
    EXPECT_EQ(copy.ask("open 1 2005"), "");
    EXPECT_EQ(copy.ask("append saldo_data sd_month=3 sd_dela_d=01.03.2005 sd_pina_d=31.03.2005 "
                       "sd_paym_fond=800 sd_ap_category=190 sd_zile_n=5"),
              "");
    EXPECT_EQ(copy.ask("post saldo_data"), "");
    return copy.ask("get saldo_data sd_id");
}

TEST_F(TwoCopies, ASaveOfWhatAnotherCopyChangedMeanwhileIsRefusedAndReloaded)
{
    seed(1);
    struct Case {
        const char *set, *key, *changeA, *changeB, *shown, *read;
    };
    ProgramCopy a(folder.path()), b(folder.path());
    ASSERT_EQ(a.connected(), "");
    ASSERT_EQ(b.connected(), "");
    const std::string row = saveMarch(a);
    const Case cases[] = {
        {"saldo_data", "sd_id", "sd_zile_n=6", "sd_paym_fond=700", "sd_zile_n sd_paym_fond",
         "select sd_zile_n||' '||cast(sd_paym_fond as integer) from saldo_data"},
        {"name_account", "na_id", "na_wb_seria=AA", "na_wb_seria=BB", "na_wb_seria",
         "select na_wb_seria from name_account"},
        {"assured_person", "ap_id", "ap_first_name=ALBU", "ap_middle_name=MIHAI", "ap_first_name ap_middle_name",
         "select trim(ap_first_name)||' '||trim(ap_middle_name) from assured_person"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.set);
        ASSERT_EQ(a.ask("open 1 2005"), "");
        ASSERT_EQ(b.ask("open 1 2005"), "");
        ASSERT_EQ(a.ask(QStringLiteral("edit %1 0 %2").arg(c.set, c.changeA)), "");
        ASSERT_EQ(a.ask(QStringLiteral("post %1").arg(c.set)), "");
        ASSERT_EQ(b.ask(QStringLiteral("edit %1 0 %2").arg(c.set, c.changeB)), "");
        EXPECT_EQ(b.ask(QStringLiteral("post %1").arg(c.set)), kChanged);
        // B sees A's values; A's change stands, B's was written nowhere.
        EXPECT_EQ(b.ask(QStringLiteral("get %1 %2").arg(c.set, c.shown)),
                  a.ask(QStringLiteral("get %1 %2").arg(c.set, c.shown)));
        const std::string afterA = stored(c.read);
        ASSERT_EQ(b.ask(QStringLiteral("edit %1 0 %2").arg(c.set, c.changeB)), "");
        EXPECT_EQ(b.ask(QStringLiteral("post %1").arg(c.set)), "") << "repeated on what was read again";
        EXPECT_NE(stored(c.read), afterA);
    }
    EXPECT_EQ(stored("select sd_zile_n||' '||cast(sd_paym_fond as integer) from saldo_data"), "6 700");
    EXPECT_EQ(stored("select na_wb_seria from name_account"), "BB");
    EXPECT_EQ(stored("select trim(ap_first_name)||' '||trim(ap_middle_name) from assured_person"), "ALBU MIHAI");

    // B deletes a row A changed; then A changes a row B deleted.
    ASSERT_EQ(a.ask("open 1 2005"), "");
    ASSERT_EQ(b.ask("open 1 2005"), "");
    ASSERT_EQ(a.ask("edit saldo_data 0 sd_paym_fond=900"), "");
    ASSERT_EQ(a.ask("post saldo_data"), "");
    EXPECT_EQ(b.ask("delete row"), kChanged);
    EXPECT_EQ(stored(QString::fromStdString("select count(*) from saldo_data where sd_id=" + row)), "1");
    EXPECT_EQ(b.ask("delete row"), "");
    EXPECT_EQ(stored("select count(*) from saldo_data"), "0");
    ASSERT_EQ(a.ask("edit saldo_data 0 sd_paym_fond=950"), "");
    EXPECT_EQ(a.ask("post saldo_data"), kDeleted);
    EXPECT_EQ(a.ask("get saldo_data sd_id"), "-");
    EXPECT_EQ(stored("select count(*) from saldo_data"), "0");
}

TEST_F(TwoCopies, WorkMetByAnotherCopysOpenSaveWaitsBoundedAndIsToldInRomanian)
{
    seed(2);
    ProgramCopy a(folder.path()), b(folder.path());
    saveMarch(a);
    // A's save of a monthly row holds its declaration for as long as its transaction is open.
    ASSERT_EQ(a.ask("hold update name_account set na_id=na_id where na_id=100000;"
                    "update saldo_data set sd_id=sd_id where sd_na=100000"),
              "");
    // An operation stops naming what held it; a save keeps what was typed.
    const auto operation = [](const std::string &what) {
        return "Alt utilizator modifică chiar acum " + what
               + " și nu și-a încheiat modificarea timp de o secundă. "
                 "Operația s-a oprit fără să scrie pasul la care ajunsese; repetați-o peste cîteva clipe.";
    };
    const std::string save = "Înregistrarea este modificată chiar acum de alt utilizator, care nu și-a încheiat "
                             "modificarea timp de o secundă. Modificarea dumneavoastră a rămas pe ecran; salvați-o "
                             "din nou peste cîteva clipe.";
    struct Case {
        const char *step;
        std::string refusal;
    };
    const Case cases[] = {
        {"forming", operation("declarațiile persoanelor")},
        {"recalculation", operation("rîndurile lunare ale declarațiilor (salariile)")},
        {"annulment", operation("declarațiile persoanelor")},
        {"delete declaration", save},
        {"edit saldo_data 0 sd_zile_n=6\npost saldo_data", save},
    };
    ASSERT_EQ(b.ask("open 1 2005"), "");
    for (const Case &c : cases) {
        SCOPED_TRACE(c.step);
        const QStringList steps = QString::fromUtf8(c.step).split('\n');
        for (int i = 0; i + 1 < steps.size(); ++i)
            ASSERT_EQ(b.ask(steps[i]), "");
        EXPECT_EQ(b.ask(steps.last()), "error: " + c.refusal);
    }
    EXPECT_EQ(stored("select sd_zile_n from saldo_data"), "5");
    EXPECT_EQ(stored("select count(*) from name_account where na_pl is not null"), "0");

    // Once A's save ends, the same steps complete.
    ASSERT_EQ(a.ask("release"), "");
    EXPECT_EQ(b.ask("post saldo_data"), "");
    EXPECT_EQ(b.ask("forming"), "");
    EXPECT_EQ(b.ask("recalculation"), "");
    EXPECT_EQ(b.ask("annulment"), "");
    EXPECT_EQ(stored("select sd_zile_n from saldo_data"), "6");
    EXPECT_EQ(stored("select count(*) from name_account where na_pl is null"), "0");

    // Two copies giving two persons the same CPAS: the second is refused by the rule.
    ASSERT_EQ(a.ask("open 1 2005"), "");
    ASSERT_EQ(b.ask("open 2 2005"), "");
    ASSERT_EQ(a.ask("edit assured_person 0 ap_cpas=19999999999"), "");
    ASSERT_EQ(b.ask("edit assured_person 0 ap_cpas=19999999999"), "");
    EXPECT_EQ(a.ask("post assured_person"), "");
    EXPECT_EQ(b.ask("post assured_person").rfind("error: ", 0), 0u) << "refused";
    EXPECT_EQ(stored("select count(*) from assured_person where ap_cpas='19999999999'"), "1");
}

TEST_F(TwoCopies, NewDeclarationsSavedAtOnceKeepThePackagesWhole)
{
    // Its dates are its own: the runs of the suite on other days (faketime) pass it over.
    if (qEnvironmentVariableIsSet("FAKETIME"))
        GTEST_SKIP() << "independent of the day";
    seed(1000);
    ProgramCopy a(folder.path()), b(folder.path());
    isql("delete from name_account;\ncommit;\n");
    a.send("declarations 1 500 2005");
    b.send("declarations 501 500 2005");
    for (ProgramCopy *copy : {&a, &b}) {
        const QString rate = copy->answer();
        EXPECT_FALSE(rate.startsWith("error: ")) << rate.toStdString();
    }
    EXPECT_EQ(stored("select count(*)||' '||count(distinct na_id)||' '||count(distinct na_ap) from name_account"),
              "1000 1000 1000");
    // No package over 50, each of the agent and the year, none empty, numbers unique.
    EXPECT_EQ(stored("select count(*) from (select na_pl from name_account group by na_pl having count(*) > 50)"), "0");
    EXPECT_EQ(stored("select count(*) from name_account where na_pl is null or na_pl not in (select pl_id from "
                     "packlabel where pl_ea=1)"),
              "0");
    EXPECT_EQ(stored("select count(*)||' '||count(distinct pl_id) from packlabel"), "20 20");
    // Forming the packages afterwards finds them as it leaves them.
    EXPECT_EQ(a.ask("open 1 2005"), "");
    EXPECT_EQ(a.ask("forming"), "");
    EXPECT_EQ(stored("select count(*) from (select na_pl from name_account group by na_pl having count(*) <> 50)"),
              "0");
}

} // namespace
