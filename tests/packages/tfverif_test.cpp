// The window "Verificarea pachetului electronic" used as the accountant does: the archive
// chosen in the file dialog (which starts in "Primara"), the findings in the grid with their
// counts, and the print through the report engine; the offer at the end of forming.

#include "packages/tfverif.h"
#include "reports/engine/reportoutput.h"
#include "platform/platform.h"
#include "tests/packages/handmadepackage.h"
#include "tests/support/scripteduserinteraction.h"

#include <QApplication>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

class TFVerifTest : public ::testing::Test
{
protected:
    void SetUp() override { Platform::setProgramFolder(program.path()); }
    void TearDown() override { Platform::setProgramFolder({}); }

    // The grid's rows, each as its cells joined by "|".
    QStringList rows(TFVerif &w)
    {
        auto *grid = w.findChild<QTableWidget *>("findingsGrid");
        QStringList out;
        for (int r = 0; r < grid->rowCount(); ++r) {
            QStringList cells;
            for (int c = 0; c < grid->columnCount(); ++c)
                cells << grid->item(r, c)->text();
            out << cells.join(u'|');
        }
        return out;
    }
    QString counts(TFVerif &w) { return w.findChild<QLabel *>("countsLabel")->text(); }
    // The hand-made package packed again with REV5_NA of these bytes.
    void packWithNa(const QString &archive, const QByteArray &na)
    {
        QFile::remove(archive);
        QFile file(work.filePath("REV5_NA"));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(na);
        file.close();
        QProcess rar;
        rar.setWorkingDirectory(work.path());
        rar.start(QStringLiteral(EVD_RAR_EXE),
                  {"a", QFileInfo(archive).fileName(), "REV5_T", "REV5_IP", "REV5_NA", "REV5_SD"});
        rar.waitForFinished(-1);
        ASSERT_EQ(rar.exitCode(), 0);
    }

    ScriptedUserInteraction ui;
    QTemporaryDir program, work;
};

TEST_F(TFVerifTest, TheChosenArchiveIsCheckedAndItsFindingsListedAndPrinted)
{
    // Two faults in the declaration line: a CPAS of 10 digits and an IDNP of 12.
    const QString archive = handMadePackage(work.path());
    packWithNa(archive, QByteArray("100|1|1234567890|POPESCU|ION|||200123456789||||||\r\n").replace('|', '\xB0'));

    TFVerif w;
    w.show();
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Verificarea pachetului electronic"));
    auto *print = w.findChild<QPushButton *>("printButton");
    EXPECT_FALSE(print->isEnabled());
    QSignalSpy checked(&w, &TFVerif::checked);

    ui.fileName = archive;
    QTest::mouseClick(w.findChild<QPushButton *>("chooseButton"), Qt::LeftButton);
    ASSERT_EQ(ui.fileDialogs.size(), 1);
    EXPECT_EQ(ui.fileDialogs[0], QStringLiteral("Pachetul electronic de verificat|%1/Primara|Pachete electronice "
                                                "(*.rar *.RAR);;Toate fișierele (*)")
                                     .arg(program.path()));
    EXPECT_EQ(w.findChild<QLineEdit *>("archivePath")->text(), QDir::toNativeSeparators(archive));
    EXPECT_EQ(rows(w), (QStringList{"REV5_NA|1|3|codul personal de asigurări sociale (CPAS) trebuie să aibă 11 cifre",
                                    "REV5_NA|1|8|codul personal trebuie să aibă 13 cifre"}));
    EXPECT_EQ(counts(w), QStringLiteral("Erori: 2, avertismente: 0"));
    ASSERT_EQ(checked.size(), 1);
    EXPECT_EQ(checked[0][1].toInt(), 2);

    // The printed list, written to PDF while it is shown and read back.
    const QString pdf = work.filePath("constatari.pdf");
    ui.onReport = [&](const Report &report) {
        QString error;
        EXPECT_TRUE(ReportOutput::exportPdf(report, pdf, &error)) << error.toStdString();
    };
    ASSERT_TRUE(print->isEnabled());
    QTest::mouseClick(print, Qt::LeftButton);
    EXPECT_EQ(ui.reports, QStringList{"Verificarea pachetului electronic"});
    QProcess text;
    text.start("pdftotext", {"-layout", "-enc", "UTF-8", pdf, "-"});
    text.waitForFinished(-1);
    // The PDF's font joins "fi" into one glyph.
    const QString printed = QString::fromUtf8(text.readAllStandardOutput())
                                .replace(QChar(0xFB01), QStringLiteral("fi"));
    for (const QString &expected :
         {QStringLiteral("Verificarea pachetului electronic"), QStringLiteral("REV5_1234567_00101_2015L03.RAR"),
          QStringLiteral("Erori: 2, avertismente: 0"), QStringLiteral("Constatarea"),
          QStringLiteral("codul personal trebuie să aibă 13 cifre")})
        EXPECT_TRUE(printed.contains(expected)) << expected.toStdString() << "\n" << printed.toStdString();
    const QRegularExpression idnpRow(QStringLiteral("REV5_NA\\s+1\\s+8\\s+eroare\\s+codul personal trebuie"));
    EXPECT_TRUE(idnpRow.match(printed).hasMatch()) << printed.toStdString();

    // A second choice starts where the first archive lay; cancelling keeps the findings.
    ui.fileName.clear();
    QTest::mouseClick(w.findChild<QPushButton *>("chooseButton"), Qt::LeftButton);
    ASSERT_EQ(ui.fileDialogs.size(), 2);
    EXPECT_TRUE(ui.fileDialogs[1].startsWith(QStringLiteral("Pachetul electronic de verificat|%1|").arg(work.path())));
    EXPECT_EQ(rows(w).size(), 2);
}

TEST_F(TFVerifTest, ACleanArchiveSaysSoAndAnUnreadableOneToo)
{
    TFVerif w;
    w.checkArchive(handMadePackage(work.path()));
    EXPECT_EQ(rows(w), QStringList());
    EXPECT_EQ(counts(w), QStringLiteral("Pachetul nu are greșeli."));

    QFile junk(work.filePath("junk.RAR"));
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write("nu este o arhivă");
    junk.close();
    w.checkArchive(junk.fileName());
    EXPECT_EQ(rows(w).size(), 1);
    EXPECT_TRUE(rows(w)[0].startsWith(QStringLiteral("arhiva|||fișierul nu poate fi citit ca arhivă")));
    EXPECT_EQ(counts(w), QStringLiteral("Arhiva nu poate fi citită."));
}

TEST_F(TFVerifTest, AFileWithManyFindingsListsAThousandAndCountsEveryOne)
{
    const QString archive = handMadePackage(work.path());
    packWithNa(archive, QByteArray("1\xB0\r\n").repeated(1500));

    TFVerif w;
    w.checkArchive(archive);
    const QStringList shown = rows(w);
    ASSERT_EQ(shown.size(), 1002);
    EXPECT_EQ(shown[999], QStringLiteral("REV5_NA|1000||rîndul are 1 cîmpuri în loc de 13"));
    EXPECT_EQ(shown[1000], QStringLiteral("REV5_NA|||constatări nearătate: 500 (erori: 500, avertismente: 0); se "
                                          "arată numai primele 1000"));
    EXPECT_EQ(shown[1001], QStringLiteral("REV5_SD|1|1|declarația 100 nu are rînd în REV5_NA"));
    EXPECT_EQ(counts(w), QStringLiteral("Erori: 1501, avertismente: 0"));
}

TEST_F(TFVerifTest, TheOfferAfterFormingChecksTheArchiveOnYesOnly)
{
    const QString archive = handMadePackage(work.path());
    TFVerif::offer(nullptr, archive);
    EXPECT_EQ(ui.questions, QStringList{"Verificați pachetul electronic REV5_1234567_00101_2015L03.RAR ?"});

    ui.answers = {true};
    QString shown;
    QTimer::singleShot(0, [&] {
        if (auto *w = qobject_cast<TFVerif *>(QApplication::activeModalWidget())) {
            shown = w->findChild<QLabel *>("countsLabel")->text();
            w->close();
        }
    });
    TFVerif::offer(nullptr, archive);
    EXPECT_EQ(shown, QStringLiteral("Pachetul nu are greșeli."));
    EXPECT_TRUE(ui.fileDialogs.isEmpty());
}

TEST_F(TFVerifTest, TheMenuEntryEndsQuietlyWhenTheFileDialogIsCancelled)
{
    TFVerif::run(nullptr);
    ASSERT_EQ(ui.fileDialogs.size(), 1);
    EXPECT_TRUE(ui.fileDialogs[0].contains(program.path() + "/Primara"));
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

} // namespace
