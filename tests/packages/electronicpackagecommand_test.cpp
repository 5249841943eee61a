// "evidenta --pachet-electronic AN PERIOADA [--tip 1|3] [--agent COD_FOSK]": the command line
// read, the operation run on the database, the archive's path printed, refusals and usage
// with their exit status; once as a program of its own over a database file of its folder,
// its steps printed.

#include "packages/electronicpackagecommand.h"
#include "data/ibdatabase.h"
#include "tests/packages/electronicpackagefixture.h"
#include "tests/support/firebirdserver.h"
#include "tests/support/programcopy.h"

#include <QTextStream>

namespace {

class ElectronicPackageCommandTest : public ElectronicPackageFixture
{
protected:
    // Runs the command on the test's database: the exit status; what it printed is kept.
    int run(const QStringList &arguments)
    {
        out.clear();
        err.clear();
        QTextStream o(&out), e(&err);
        const int rc = ElectronicPackageCommand::main(arguments, o, e, {});
        o.flush();
        e.flush();
        return rc;
    }
    QString out, err;
};

TEST_F(ElectronicPackageCommandTest, UnusableCommandLinesPrintTheUsage)
{
    for (const QStringList &args :
         {QStringList{}, QStringList{"2012"}, QStringList{"12", "T00"}, QStringList{"2012", "T01"},
          QStringList{"2014", "L03"}, QStringList{"2016", "T02"}, QStringList{"2016", "L13"},
          QStringList{"2012", "T00", "--tip", "3"}, QStringList{"2016", "L03", "--tip", "2"},
          QStringList{"2016", "L03", "--tip"}, QStringList{"2012", "T00", "--fel", "1"},
          QStringList{"2012", "T00", "x"}, QStringList{"2012", "T00", "--progres", "--progres"}}) {
        EXPECT_EQ(run(args), 2) << args.join(' ').toStdString();
        EXPECT_TRUE(err.contains("Utilizare: evidenta --pachet-electronic AN PERIOADA [--tip 1|3] [--agent COD_FOSK]"))
            << err.toStdString();
        EXPECT_TRUE(out.isEmpty());
    }
    EXPECT_TRUE(registry().isEmpty());
    EXPECT_TRUE(filesIn(".").filter("REV5").isEmpty());
}

TEST_F(ElectronicPackageCommandTest, TheArchiveIsFormedForTheAgentAndItsPathPrinted)
{
    year2012();
    // Two agents: the command must be told which.
    EXPECT_EQ(run({"2012", "T00"}), 1);
    EXPECT_TRUE(err.contains("--agent")) << err.toStdString();
    EXPECT_EQ(run({"2012", "T00", "--agent", "0000000"}), 1);
    EXPECT_EQ(err, "Nu este înregistrat agentul economic cu codul 0000000.\n");
    EXPECT_TRUE(registry().isEmpty());

    EXPECT_EQ(run({"2012", "t00", "--agent", "1234567"}), 0) << err.toStdString();
    EXPECT_EQ(out, program("Primara/REV5_1234567_00101_2012T00.RAR") + "\n");
    // The packages were formed again first: the three declarations sent share one package now.
    const QByteArray na = members(program("Primara/REV5_1234567_00101_2012T00.RAR")).value("REV5_NA");
    EXPECT_EQ(na.count("\r\n"), 3);
    EXPECT_TRUE(na.contains("1234567890126\xB0VASILE")) << na.toStdString();
    EXPECT_EQ(registry(), QStringList{"1|REV5_1234567_00101_2012T00.RAR|2012|1|12|1"});
    EXPECT_EQ(marks(), (QStringList{"1:-1", "2:-1", "3:-1", "4:-1", "5:-1", "6:0"}));
    EXPECT_TRUE(ui.questions.isEmpty()); // no copy to removable media is offered
}

TEST_F(ElectronicPackageCommandTest, RefusalsOfTheOperationGoToStandardError)
{
    year2012();
    exec("delete from saldo_data where sd_id=6");
    exec("delete from name_account where na_id=105");
    exec("delete from packlabel where pl_id=30");
    exec("delete from assured_person where ap_id=5");
    exec("delete from econ_agent where ea_id=2");
    EXPECT_EQ(run({"2016", "L03", "--tip", "3"}), 1);
    EXPECT_EQ(err, "Nu sunt declaratii pentru perioada indicata !\n");
    EXPECT_EQ(run({"2016", "T00", "--tip", "3"}), 1);
    EXPECT_EQ(err, "Declaratia anuala poate fi numai primara !\n");
    EXPECT_TRUE(out.isEmpty());
    // The only agent is taken without being named.
    EXPECT_EQ(run({"2012", "T00"}), 0) << err.toStdString();
    EXPECT_EQ(out, program("Primara/REV5_1234567_00101_2012T00.RAR") + "\n");
}

TEST_F(ElectronicPackageCommandTest, TheProgramFormsThePackageOfTheDatabaseInItsFolder)
{
    year2012();
    const QString folder = db->folder();
    ASSERT_TRUE(QFile::copy(QStringLiteral(EVD_PROGRAM_EXE), folder + "/evidenta"));
    ASSERT_TRUE(QFile::copy(QStringLiteral(EVD_RAR_EXE), folder + "/rar"));
    DM->IDB->close();

    QProcess program;
    program.setProcessEnvironment(QProcessEnvironment::systemEnvironment());
    program.start(folder + "/evidenta", {"--pachet-electronic", "2012", "T00", "--agent", "1234567", "--progres"});
    ASSERT_TRUE(program.waitForFinished(120000));
    const QString printed = QString::fromUtf8(program.readAllStandardOutput());
    const QString steps = QString::fromUtf8(program.readAllStandardError());
    EXPECT_EQ(program.exitCode(), 0) << steps.toStdString();
    EXPECT_EQ(printed, folder + "/Primara/REV5_1234567_00101_2012T00.RAR\n");
    EXPECT_EQ(members(folder + "/Primara/REV5_1234567_00101_2012T00.RAR").value("REV5_SD").count("\r\n"), 7);
    // --progres: the steps on standard error as they begin, the declaration moved counted.
    EXPECT_EQ(steps, QStringList({"Formarea pachetelor",
                                  "  Ștergerea declarațiilor fără rânduri lunare (1 din 12)",
                                  "  Pachetele agentului devin primare (2 din 12)",
                                  "  Ștergerea declarațiilor fără rânduri lunare (3 din 12)",
                                  "  Declarațiile netrimise se marchează neîmpachetate (4 din 12)",
                                  "  Citirea pachetelor anului (5 din 12)",
                                  "  Primul pachet al anului (6 din 12)",
                                  "  Împărțirea pachetelor cu peste 50 de declarații (7 din 12)",
                                  "  Completarea pachetelor cu mai puțin de 50 de declarații (8 din 12)",
                                  "  Mutarea declarațiilor",
                                  "    1 din 1",
                                  "  Declarațiile anului se marchează împachetate (9 din 12)",
                                  "  Ștergerea pachetelor rămase goale (10 din 12)",
                                  "  Generatorul numerelor de pachet (11 din 12)",
                                  "  Verificarea datelor de naștere (12 din 12)",
                                  "Formarea pachetului electronic",
                                  "  Verificarea datelor (1 din 5)",
                                  "  Scrierea fișierelor REV5_T, REV5_IP, REV5_NA, REV5_SD (2 din 5)",
                                  "  Arhivarea în REV5_1234567_00101_2012T00.RAR (3 din 5)",
                                  "  Depunerea arhivei în dosarul Primara (4 din 5)",
                                  "  Înregistrarea pachetului și marcarea rândurilor trimise (5 din 5)",
                                  ""})
                         .join(u'\n'))
        << steps.toStdString();

    program.start(folder + "/evidenta", {"--pachet-electronic", "2012"});
    ASSERT_TRUE(program.waitForFinished(120000));
    EXPECT_EQ(program.exitCode(), 2);
    EXPECT_TRUE(program.readAllStandardOutput().isEmpty());

    DM->IDB->open();
    EXPECT_EQ(registry(), QStringList{"1|REV5_1234567_00101_2012T00.RAR|2012|1|12|1"});
    EXPECT_EQ(scalar("select count(*) from saldo_data where sd_pens_fund=-1").toInt(), 5);
}

TEST_F(ElectronicPackageCommandTest, InstalledTheProgramFilesThePackageInTheUsersFolder)
{
    // A read-only program folder holding the program, the archiver and the database as
    // delivered (here with the year's declarations), and a desktop data folder of the test's.
    year2012();
    DM->IDB->close();
    QTemporaryDir installed, home;
    const QString folder = installed.path();
    ASSERT_TRUE(QFile::copy(QStringLiteral(EVD_PROGRAM_EXE), folder + "/evidenta"));
    ASSERT_TRUE(QFile::copy(QStringLiteral(EVD_RAR_EXE), folder + "/rar"));
    ASSERT_TRUE(QFile::copy(db->path(), folder + "/bdkolm.gdb"));
    const QFile::Permissions readOnly = QFile::ReadOwner | QFile::ExeOwner | QFile::ReadGroup | QFile::ExeGroup
                                        | QFile::ReadOther | QFile::ExeOther;
    ASSERT_TRUE(QFile::setPermissions(folder, readOnly));
    const QByteArray delivered = fileIn(folder, "bdkolm.gdb");

    QProcess program;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("HOME", home.path());
    environment.remove("XDG_DATA_HOME");
    program.setProcessEnvironment(environment);
    program.setWorkingDirectory(home.path());
    program.start(folder + "/evidenta", {"--pachet-electronic", "2012", "T00", "--agent", "1234567"});
    ASSERT_TRUE(program.waitForFinished(120000));
    const QString data = home.path() + "/.local/share/evidenta";
    EXPECT_EQ(program.exitCode(), 0) << program.readAllStandardError().toStdString();
    EXPECT_EQ(QString::fromUtf8(program.readAllStandardOutput()), data + "/Primara/REV5_1234567_00101_2012T00.RAR\n");
    const QMap<QString, QByteArray> filed = members(data + "/Primara/REV5_1234567_00101_2012T00.RAR");
    EXPECT_EQ(filed.keys(), (QStringList{"REV5_IP", "REV5_NA", "REV5_SD", "REV5_T"}));
    EXPECT_EQ(filed.value("REV5_SD"), fileIn(data, "REV5_SD"));
    EXPECT_EQ(filed.value("REV5_SD").count("\r\n"), 7);
    const QStringList made = QDir(data).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
    EXPECT_EQ(made, (QStringList{"ARHIVA", "Primara", "REV5_IP", "REV5_NA", "REV5_SD", "REV5_T", "bdkolm.gdb"}));

    // The program folder is as delivered; the registry row is in the user's copy only.
    ASSERT_TRUE(QFile::setPermissions(folder, readOnly | QFile::WriteOwner));
    EXPECT_EQ(QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name),
              (QStringList{"bdkolm.gdb", "evidenta", "rar"}));
    EXPECT_EQ(fileIn(folder, "bdkolm.gdb"), delivered);
    DM->IDB->open();
    EXPECT_TRUE(registry().isEmpty());
    DM->IDB->close();
    DM->IDB->setDatabaseName(data + "/bdkolm.gdb");
    DM->IDB->open();
    EXPECT_EQ(registry(), QStringList{"1|REV5_1234567_00101_2012T00.RAR|2012|1|12|1"});
}

} // namespace

namespace {

// On a server database: the command meets another copy's open save of a declaration of the
// year, stops after the wait with a Romanian message and writes no registry row; run again once
// the save ended, it completes, and the other copy's next save of a row of the month is refused.
TEST_F(ElectronicPackageCommandTest, OnAServerItWaitsForAnotherCopysSaveAndItsMarksHoldForThatCopyAtOnce)
{
    FirebirdServer &server = FirebirdServer::shared();
    ASSERT_TRUE(server.running()) << server.error().toStdString();
    year2012();
    const QString folder = db->folder();
    ASSERT_TRUE(QFile::copy(QStringLiteral(EVD_PROGRAM_EXE), folder + "/evidenta"));
    ASSERT_TRUE(QFile::copy(QStringLiteral(EVD_RAR_EXE), folder + "/rar"));
    DM->IDB->close();
    QFile ini(folder + "/evidenta.ini");
    ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
    ini.write("[Baza de date]\nCale=" + server.connectionName(db->path()).toUtf8() + "\nAsteptareBlocare=1\n");
    ini.close();
    const auto stored = [&](const QString &sql) {
        return server.isql(db->path(), "set heading off;\n" + sql + ";\n").simplified().toStdString();
    };

    ProgramCopy other(folder);
    ASSERT_EQ(other.connected(), "");
    ASSERT_EQ(other.ask("hold update name_account set na_id=na_id where na_id=101"), "");
    QProcess program;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("ISC_USER", FirebirdServer::user());
    env.insert("ISC_PASSWORD", FirebirdServer::password());
    program.setProcessEnvironment(env);
    const QStringList arguments{"--pachet-electronic", "2012", "T00", "--agent", "1234567"};
    program.start(folder + "/evidenta", arguments);
    ASSERT_TRUE(program.waitForFinished(120000));
    EXPECT_EQ(program.exitCode(), 1);
    EXPECT_EQ(QString::fromUtf8(program.readAllStandardError()).toStdString(),
              "Alt utilizator modifică chiar acum declarațiile persoanelor și nu și-a încheiat modificarea timp de o "
              "secundă. Operația s-a oprit fără să scrie pasul la care ajunsese; repetați-o peste cîteva clipe.\n");
    EXPECT_EQ(stored("select count(*) from t_pachet"), "0");

    ASSERT_EQ(other.ask("release"), "");
    program.start(folder + "/evidenta", arguments);
    ASSERT_TRUE(program.waitForFinished(120000));
    EXPECT_EQ(program.exitCode(), 0) << program.readAllStandardError().toStdString();
    EXPECT_EQ(stored("select count(*) from t_pachet"), "1");

    ASSERT_EQ(other.ask("open 2 2012"), "");
    ASSERT_EQ(other.ask("edit saldo_data 3 sd_zile_n=5"), "");
    EXPECT_EQ(other.ask("post saldo_data"),
              "error: Modificari nu se permit. A fost format deja pachetul electronic. Anulati pachetul pentru a "
              "corecta !");
    EXPECT_EQ(stored("select sd_zile_n from saldo_data where sd_id=3"), "6");
}

} // namespace
