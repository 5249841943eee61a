// "evidenta --import-salarii FISIER AN [--agent COD_FOSK] [--verifica-doar] [--persoane-noi]":
// the refused lines one a line, the counts, the exit status of each outcome; in the test's own
// process on its database, and as a program of its own over a database file in its folder or on
// a server, where another copy of the program may hold the rows a line needs.

#include "data/ibdatabase.h"
#include "maintenance/payroll/payrollimportcommand.h"
#include "tests/maintenance/payrollimportfixture.h"
#include "tests/support/firebirdserver.h"
#include "tests/support/programcopy.h"

#include <QFile>
#include <QProcess>
#include <QTextStream>

namespace {

class PayrollImportCommandTest : public PayrollImportFixture
{
protected:
    int run(const QStringList &arguments)
    {
        out.clear();
        err.clear();
        QTextStream o(&out), e(&err);
        const int rc = PayrollImportCommand::main(arguments, o, e, {});
        o.flush();
        e.flush();
        return rc;
    }
    QString file(const QString &name, const QByteArray &bytes)
    {
        QFile f(db->folder() + u'/' + name);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        return f.fileName();
    }
    QString out, err;
};

const QByteArray kFile = "CPAS;Luna;Salariu\n"
                         "12345678901;4;1000\n"
                         "99999999999;4;500\n"
                         "12345678901;5;1100\n";

TEST_F(PayrollImportCommandTest, EachOutcomeHasItsExitStatus)
{
    const QString path = file("aprilie.csv", kFile);
    for (const QStringList &args :
         {QStringList{}, QStringList{path}, QStringList{path, "10"}, QStringList{path, "2010", "--agent"},
          QStringList{path, "2010", "--fel"}, QStringList{path, "2010", "x"}}) {
        EXPECT_EQ(run(args), 2) << args.join(' ').toStdString();
        EXPECT_TRUE(err.endsWith(PayrollImportCommand::usage())) << err.toStdString();
        EXPECT_TRUE(out.isEmpty());
    }
    EXPECT_EQ(run({file("gol.csv", ""), "2010"}), 2);
    EXPECT_FALSE(err.isEmpty());
    EXPECT_EQ(run({file("fara.csv", "CPAS;Luna\n12345678901;4\n"), "2010", "--agent", "1234567"}), 2);
    EXPECT_TRUE(err.contains("coloană de sume")) << err.toStdString();
    // Two agents: the command must be told which.
    EXPECT_EQ(run({path, "2010"}), 1);
    EXPECT_TRUE(err.contains("--agent")) << err.toStdString();

    EXPECT_EQ(run({path, "2010", "--agent", "1234567", "--verifica-doar"}), 1);
    EXPECT_EQ(out, QStringLiteral("rîndul 3: Persoana cu CPAS 99999999999 nu este înregistrată\n"));
    EXPECT_EQ(err, QStringLiteral("Rînduri: 3; rînduri noi: 2; persoane noi: 0; există deja: 0; refuzate: 1\n"));
    EXPECT_EQ(rows(), 0);

    EXPECT_EQ(run({path, "2010", "--agent", "1234567"}), 1);
    EXPECT_EQ(out, QStringLiteral("rîndul 3: Persoana cu CPAS 99999999999 nu este înregistrată\n"));
    EXPECT_TRUE(err.endsWith(QStringLiteral("Importul s-a încheiat: rînduri scrise 2, dintre care cu persoane noi 0; "
                                            "există deja 0; refuzate 1.\n")))
        << err.toStdString();
    EXPECT_EQ(rows(), 2);
    EXPECT_EQ(run({file("mai.csv", "CPAS;Luna;Salariu\n12345678901;5;1100\n"), "2010", "--agent", "1234567"}), 0);
    EXPECT_TRUE(out.isEmpty());
    EXPECT_TRUE(err.startsWith(QStringLiteral("Rînduri: 1; rînduri noi: 0; persoane noi: 0; există deja: 1")));
}

TEST_F(PayrollImportCommandTest, TheProgramImportsIntoTheDatabaseOfItsFolder)
{
    const QString path = file("aprilie.csv", kFile);
    const QString folder = db->folder();
    ASSERT_TRUE(QFile::copy(QStringLiteral(EVD_PROGRAM_EXE), folder + "/evidenta"));
    ASSERT_TRUE(QFile::copy(QStringLiteral(EVD_RAR_EXE), folder + "/rar")); // the daily archive
    DM->IDB->close();

    QProcess program;
    program.setProcessEnvironment(QProcessEnvironment::systemEnvironment());
    auto start = [&](const QStringList &args) {
        program.start(folder + "/evidenta", QStringList{"--import-salarii"} + args);
        EXPECT_TRUE(program.waitForFinished(120000));
        return program.exitCode();
    };
    EXPECT_EQ(start({path, "2010", "--agent", "1234567", "--persoane-noi"}), 1);
    EXPECT_EQ(QString::fromUtf8(program.readAllStandardOutput()),
              QStringLiteral("rîndul 3: Persoana cu CPAS 99999999999 nu este înregistrată; pentru a o adăuga "
                             "lipsesc: numele, prenumele, data nașterii\n"));
    EXPECT_TRUE(QString::fromUtf8(program.readAllStandardError()).contains("rînduri scrise 2"));
    EXPECT_EQ(start({path + ".lipsa", "2010"}), 2);
    EXPECT_TRUE(program.readAllStandardOutput().isEmpty());

    DM->IDB->open();
    EXPECT_EQ(table("select sd_month,sd_paym_fond,sd_sum_add from saldo_data order by sd_month"),
              (QStringList{"4|1000|60", "5|1100|66"}));
}

// On a server database the import meets another copy's open save of the declaration of its
// first line: it stops after the wait, writes nothing and says so as an operation that is to be
// run again; once that save ended, the same command imports the lines.
TEST_F(PayrollImportCommandTest, OnAServerALineHeldByAnotherCopyStopsTheImportUntilItIsRunAgain)
{
    FirebirdServer &server = FirebirdServer::shared();
    ASSERT_TRUE(server.running()) << server.error().toStdString();
    const QString path = file("aprilie.csv", kFile);
    const QString folder = db->folder();
    ASSERT_TRUE(QFile::copy(QStringLiteral(EVD_PROGRAM_EXE), folder + "/evidenta"));
    ASSERT_TRUE(QFile::copy(QStringLiteral(EVD_RAR_EXE), folder + "/rar")); // else its absence is told
    DM->IDB->close();
    QFile ini(folder + "/evidenta.ini");
    ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
    ini.write("[Baza de date]\nCale=" + server.connectionName(db->path()).toUtf8() + "\nAsteptareBlocare=1\n");
    ini.close();

    ProgramCopy other(folder);
    ASSERT_EQ(other.connected(), "");
    ASSERT_EQ(other.ask("hold update name_account set na_id=na_id where na_id=10"), "");
    QProcess program;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("ISC_USER", FirebirdServer::user());
    env.insert("ISC_PASSWORD", FirebirdServer::password());
    program.setProcessEnvironment(env);
    const QStringList arguments{"--import-salarii", path, "2010", "--agent", "1234567"};
    program.start(folder + "/evidenta", arguments);
    ASSERT_TRUE(program.waitForFinished(120000));
    EXPECT_EQ(program.exitCode(), 1);
    EXPECT_EQ(QString::fromUtf8(program.readAllStandardError()).toStdString(),
              "Rînduri: 1; rînduri noi: 1; persoane noi: 0; există deja: 0; refuzate: 0\n"
              "Importul s-a oprit la rîndul 2 din cauza erorii bazei de date:\n"
              "Alt utilizator modifică chiar acum declarațiile persoanelor și nu și-a încheiat modificarea timp de o "
              "secundă. Operația s-a oprit fără să scrie pasul la care ajunsese; repetați-o peste cîteva clipe.\n"
              "Nu s-a scris niciun rînd.\n");

    ASSERT_EQ(other.ask("release"), "");
    program.start(folder + "/evidenta", arguments);
    ASSERT_TRUE(program.waitForFinished(120000));
    EXPECT_EQ(program.exitCode(), 1) << "the line of an unknown person is still refused";
    EXPECT_TRUE(QString::fromUtf8(program.readAllStandardError()).contains("rînduri scrise 2"));
    EXPECT_EQ(server.isql(db->path(), "set heading off;\nselect count(*) from saldo_data;\n").simplified(), "2");
}

} // namespace
