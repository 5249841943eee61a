// "evidenta --pachet-electronic AN PERIOADA [--tip 1|3] [--agent COD_FOSK]": the command line
// read, the operation run on the database, the archive's path printed, refusals and usage
// with their exit status; once as a program of its own over a database file of its folder.

#include "packages/electronicpackagecommand.h"
#include "data/ibdatabase.h"
#include "tests/packages/electronicpackagefixture.h"

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
    for (const QStringList &args : {QStringList{}, QStringList{"2012"}, QStringList{"12", "T00"},
                                    QStringList{"2012", "T01"}, QStringList{"2014", "L03"}, QStringList{"2016", "T02"},
                                    QStringList{"2016", "L13"}, QStringList{"2012", "T00", "--tip", "3"},
                                    QStringList{"2016", "L03", "--tip", "2"}, QStringList{"2016", "L03", "--tip"},
                                    QStringList{"2012", "T00", "--fel", "1"}, QStringList{"2012", "T00", "x"}}) {
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
    program.start(folder + "/evidenta", {"--pachet-electronic", "2012", "T00", "--agent", "1234567"});
    ASSERT_TRUE(program.waitForFinished(120000));
    const QString printed = QString::fromUtf8(program.readAllStandardOutput());
    EXPECT_EQ(program.exitCode(), 0) << program.readAllStandardError().toStdString();
    EXPECT_EQ(printed, folder + "/Primara/REV5_1234567_00101_2012T00.RAR\n");
    EXPECT_EQ(members(folder + "/Primara/REV5_1234567_00101_2012T00.RAR").value("REV5_SD").count("\r\n"), 7);

    program.start(folder + "/evidenta", {"--pachet-electronic", "2012"});
    ASSERT_TRUE(program.waitForFinished(120000));
    EXPECT_EQ(program.exitCode(), 2);
    EXPECT_TRUE(program.readAllStandardOutput().isEmpty());

    DM->IDB->open();
    EXPECT_EQ(registry(), QStringList{"1|REV5_1234567_00101_2012T00.RAR|2012|1|12|1"});
    EXPECT_EQ(scalar("select count(*) from saldo_data where sd_pens_fund=-1").toInt(), 5);
}

} // namespace
