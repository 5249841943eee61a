// The command line: --verifica prints one finding a line and tells clean, findings and
// unreadable apart by its exit status, with the classifiers of the program folder's database
// when there is one; --version, --help and unusable command lines.

#include "app/commandline.h"
#include "data/tdm.h"
#include "platform/platform.h"
#include "tests/packages/handmadepackage.h"
#include "tests/support/commandrun.h"
#include "tests/support/testdatabase.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class CommandLineTest : public ::testing::Test
{
protected:
    void TearDown() override { Platform::setProgramFolder({}); }
    int run(const QStringList &args)
    {
        const int rc = command(args);
        out = command.out;
        err = command.err;
        return rc;
    }
    CommandRun command;
    QString out, err;
    QTemporaryDir work, empty;
};

TEST_F(CommandLineTest, VerifyWithoutADatabaseSkipsTheClassifiers)
{
    Platform::setProgramFolder(empty.path());
    const QString archive = handMadePackage(work.path(), "999");
    EXPECT_EQ(run({"--verifica", archive}), 0);
    EXPECT_EQ(out, QString());
    EXPECT_TRUE(err.contains(QStringLiteral("Fără baza de date a programului"))) << err.toStdString();
    EXPECT_TRUE(err.contains(QStringLiteral("Erori: 0, avertismente: 0."))) << err.toStdString();
}

TEST_F(CommandLineTest, VerifyWithTheProgramDatabaseChecksCodesAndRates)
{
    TestDatabase db;
    Platform::setProgramFolder(db.folder());
    ASSERT_EQ(DM, nullptr);
    EXPECT_EQ(run({"--verifica", handMadePackage(work.path(), "999")}), 1);
    EXPECT_EQ(out, QStringLiteral("REV5_SD, rîndul 1, cîmpul 5: categoria 999 nu există în clasificator\n"
                                  "REV5_SD, rîndul 1, cîmpul 5: nu există tarif pentru categoria 999 în anul 2015 "
                                  "(avertisment)\n"));
    EXPECT_TRUE(err.contains(QStringLiteral("Erori: 1, avertismente: 1."))) << err.toStdString();
    EXPECT_EQ(DM, nullptr); // the command's own connection is gone

    // A known category with zero amounts: clean.
    EXPECT_EQ(run({"--verifica", handMadePackage(work.path(), "101")}), 0);
    EXPECT_EQ(out, QString());
}

TEST_F(CommandLineTest, AnUnreadableArchiveEndsWithTwo)
{
    Platform::setProgramFolder(empty.path());
    const QString archive = handMadePackage(work.path());
    QFile f(archive);
    ASSERT_TRUE(f.open(QIODevice::ReadWrite));
    f.resize(f.size() / 2);
    f.close();
    EXPECT_EQ(run({"--verifica", archive}), 2);
    EXPECT_EQ(out.count(u'\n'), 1);
    EXPECT_TRUE(out.startsWith(QStringLiteral("Arhiva: ")) && out.contains(QStringLiteral("deteriorată")))
        << out.toStdString();

    EXPECT_EQ(run({"--verifica", work.filePath("lipsa.RAR")}), 2);
    EXPECT_EQ(out, QStringLiteral("Arhiva: fișierul „%1” nu există\n").arg(work.filePath("lipsa.RAR")));
}

TEST_F(CommandLineTest, AnArchiveInAnotherFormEndsWithOneAndOneTooLargeWithTwo)
{
    Platform::setProgramFolder(empty.path());
    const QString archive = handMadePackage(work.path());
    QFile f(archive);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray rar = f.readAll();
    f.close();
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write("\x1F\x8B\x08\x00" + rar);
    f.close();
    EXPECT_EQ(run({"--verifica", archive}), 1);
    EXPECT_EQ(out, QStringLiteral("Arhiva: fișierul este comprimat cu gzip, nu este o arhivă RAR; se trimite arhiva "
                                  "RAR însăși, fără altă comprimare\n"));
    EXPECT_TRUE(err.contains(QStringLiteral("Erori: 1, avertismente: 0."))) << err.toStdString();

    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(rar);
    ASSERT_TRUE(f.resize(qint64(512) << 20));
    f.close();
    EXPECT_EQ(run({"--verifica", archive}), 2);
    EXPECT_TRUE(out.startsWith(QStringLiteral("Arhiva: arhiva are 536870912 octeți, mai mult decît poate avea un "
                                              "pachet electronic")))
        << out.toStdString();
    EXPECT_EQ(out.count(u'\n'), 1);
}

TEST_F(CommandLineTest, UnusableCommandLinesShowTheUsageAndEndWithTwo)
{
    for (const QStringList &args : {QStringList{"--verifica"}, QStringList{"--verifica", "a.RAR", "b.RAR"},
                                    QStringList{"--necunoscut"}, QStringList{"--version", "x"}}) {
        EXPECT_EQ(run(args), 2) << args.join(u' ').toStdString();
        EXPECT_EQ(out, QString());
        EXPECT_TRUE(err.endsWith(CommandLine::usage())) << err.toStdString();
    }
    EXPECT_TRUE(err.startsWith(QStringLiteral("--version nu primește argumente.")));
    run({"--necunoscut"});
    EXPECT_TRUE(err.startsWith(QStringLiteral("Opțiune necunoscută: --necunoscut")));
}

TEST_F(CommandLineTest, VersionAndHelp)
{
    EXPECT_EQ(run({"--version"}), 0);
    EXPECT_EQ(out, QStringLiteral("evidenta 1.0\n"));
    EXPECT_EQ(run({"--help"}), 0);
    EXPECT_EQ(out, CommandLine::usage());
    for (const char *option :
         {"--verifica ARHIVA.RAR", "--pachet-electronic AN PERIOADA [--tip 1|3] [--agent COD_FOSK] [--progres]",
          "--import-salarii FISIER AN [--agent COD_FOSK] [--verifica-doar] [--persoane-noi]", "--version", "--help"})
        EXPECT_TRUE(out.contains(QLatin1String(option))) << option;
}

TEST_F(CommandLineTest, TheProgramRunsTheCheckWithoutADisplay)
{
    const QString archive = handMadePackage(work.path(), "101");
    QProcess program;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("DISPLAY"));
    env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    env.remove(QStringLiteral("QT_QPA_PLATFORM"));
    program.setProcessEnvironment(env);
    program.start(QStringLiteral(EVD_PROGRAM_EXE), {QStringLiteral("--verifica"), archive});
    ASSERT_TRUE(program.waitForFinished(60000));
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(program.exitCode(), 0) << program.readAllStandardError().toStdString();
    EXPECT_EQ(program.readAllStandardOutput(), QByteArray());

    QFile::resize(archive, 100);
    program.start(QStringLiteral(EVD_PROGRAM_EXE), {QStringLiteral("--verifica"), archive});
    ASSERT_TRUE(program.waitForFinished(60000));
    EXPECT_EQ(program.exitCode(), 2);
    EXPECT_TRUE(program.readAllStandardOutput().startsWith("Arhiva: "));

    program.start(QStringLiteral(EVD_PROGRAM_EXE), {QStringLiteral("--help")});
    ASSERT_TRUE(program.waitForFinished(60000));
    EXPECT_EQ(program.exitCode(), 0);
    EXPECT_EQ(QString::fromUtf8(program.readAllStandardOutput()), CommandLine::usage());
}

TEST(CommandLineWanted, OnlyALeadingDoubleDashOptionLeavesTheWindowsAside)
{
    EXPECT_FALSE(CommandLine::wanted({}));
    EXPECT_FALSE(CommandLine::wanted({"-platform", "offscreen"}));
    EXPECT_TRUE(CommandLine::wanted({"--verifica", "x"}));
    EXPECT_TRUE(CommandLine::wanted({"--orice"}));
}

} // namespace
