// "evidenta --import-salarii FISIER AN [--agent COD_FOSK] [--verifica-doar] [--persoane-noi]":
// the refused lines one a line, the counts, the exit status of each outcome; in the test's own
// process on its database, and once as a program of its own over a database file in its folder.

#include "data/ibdatabase.h"
#include "maintenance/payroll/payrollimportcommand.h"
#include "tests/maintenance/payrollimportfixture.h"

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

} // namespace
