// The register of workers read from the database and printed to PDF, read back with pdftotext.

#include "data/helpers.h"
#include "data/readscope.h"
#include "data/tdm.h"
#include "reports/engine/report.h"
#include "reports/engine/reportoutput.h"
#include "reports/recordsetreportsource.h"
#include "reports/registerreport.h"
#include "persons/tfpers.h"
#include "platform/clock.h"
#include "platform/platform.h"
#include "tests/reports/sheetfile.h"
#include "tests/support/scripteduserinteraction.h"
#include "tests/support/testdatabase.h"

#include <QAction>
#include <QScopeGuard>

#include <QProcess>
#include <QRegularExpression>

namespace {

class Register : public DataModuleTest
{
protected:
    void SetUp() override
    {
        DataModuleTest::SetUp();
        exec(QStringLiteral("insert into econ_agent values(1,'1234567','1','SRL ''NUFĂRUL'' ŞI FIII','B','C',91,'D','0')"));
        exec("insert into econ_agent values(2,'7654321','2','ALTUL','B','C',91,'D','0')");
        {
            ReadScope read(DM->IBQ1, "select * from econ_agent where ea_id=1");
            CopyToMemTable(read.query(), DM->econ_agent, 3);
        }
    }
    void person(int id, int agent, const QString &first, const QString &middle, const QString &last)
    {
        exec(QStringLiteral("insert into assured_person (ap_id,ap_ea,ap_cpas,ap_idnp,ap_birth_dt,ap_doc_seria,"
                            "ap_doc_number,ap_first_name,ap_middle_name,ap_last_name) values(%1,%2,'1234567890%3',"
                            "'200000000000%3','05.03.1980','A','1234%3','%4','%5',%6)")
                 .arg(id)
                 .arg(agent)
                 .arg(id % 10)
                 .arg(first, middle, last.isEmpty() ? QStringLiteral("NULL") : "'" + last + "'"));
    }
    QString printed()
    {
        const QString title = RegisterReport::readIntoCds();
        RecordSetReportSource rows(DM->CDS);
        Report report;
        RegisterReport::build(report, rows, title);
        const QString pdf = db->folder() + "/register.pdf";
        QString error;
        EXPECT_TRUE(ReportOutput::exportPdf(report, pdf, &error)) << error.toStdString();
        QProcess p;
        p.start("pdftotext", {"-layout", "-enc", "UTF-8", pdf, "-"});
        p.waitForFinished();
        return QString::fromUtf8(p.readAllStandardOutput());
    }
};

TEST_F(Register, EmptyAgentPrintsTitlesAndColumnHeaderOnly)
{
    person(1, 2, "ALT", "OM", "");
    const QString text = printed();
    EXPECT_TRUE(text.contains(QStringLiteral("Registrul lucrătorilor")));
    EXPECT_TRUE(text.contains(QStringLiteral("'SRL ''NUFĂRUL'' ŞI FIII'"))) << text.toStdString();
    EXPECT_TRUE(text.contains("N/O"));
    EXPECT_TRUE(text.contains("Data naşterii") || text.contains(QStringLiteral("Data naşterii")));
    EXPECT_FALSE(text.contains("ALT OM"));
    EXPECT_EQ(DM->CDS->recordCount(), 0);
}

TEST_F(Register, RowsAreNumberedInNameOrderWithNamesJoinedWithoutTrailingBlanks)
{
    person(1, 1, "POPESCU", "ION", "VASILE");
    person(2, 1, "ANDRIEŞ", "MARIA", "");
    person(3, 1, "POPESCU", "ANA", "");
    const QString text = printed();
    // The statement of the register and the names of CDS's columns.
    EXPECT_EQ(DM->CDS->fieldDef(0).name, "AP_FIRST_NAME");
    EXPECT_EQ(DM->CDS->fieldDef(7).name, "AP_BIRTH_DT");
    const QStringList lines = text.split('\n');
    auto lineOf = [&](const QString &s) {
        for (int i = 0; i < lines.size(); ++i)
            if (lines[i].contains(s))
                return i;
        return -1;
    };
    const int a = lineOf(QStringLiteral("ANDRIEŞ MARIA")), b = lineOf("POPESCU ANA"), c = lineOf("POPESCU ION VASILE");
    ASSERT_GE(a, 0) << text.toStdString();
    EXPECT_LT(a, b);
    EXPECT_LT(b, c);
    EXPECT_TRUE(lines[a].trimmed().startsWith("1 ")) << lines[a].toStdString();
    EXPECT_TRUE(lines[c].trimmed().startsWith("3 "));
    EXPECT_TRUE(lines[c].contains("05.03.1980"));
    EXPECT_EQ(RegisterReport::fullName("ANDRIEŞ ", " ", ""), QStringLiteral("ANDRIEŞ"));
    EXPECT_EQ(RegisterReport::fullName("A", "", "C"), "A C");
}

TEST_F(Register, BothEntriesOfTheWorkspaceReadTheRegister)
{
    ScriptedUserInteraction ui;
    person(1, 1, "POPESCU", "ION", "");
    TFPers pers;
    auto *print = pers.findChild<QAction *>("ipaulregistrului1");
    auto *excel = pers.findChild<QAction *>("ExportregistrulinExcel1");
    ASSERT_TRUE(print && excel);
    EXPECT_EQ(print->text(), "&Tipaul registrului");
    EXPECT_EQ(excel->text(), "Export registrul in Excel");
    EXPECT_EQ(print->data().toInt(), 0);
    EXPECT_EQ(excel->data().toInt(), 1);
    Platform::setProgramFolder(db->folder());
    const auto restore = qScopeGuard([] { Platform::setProgramFolder({}); });
    excel->trigger();
    EXPECT_TRUE(ui.errors.isEmpty()) << ui.errors.join('|').toStdString();
    EXPECT_TRUE(ui.reports.isEmpty());
    ASSERT_EQ(ui.opened.size(), 1);
    EXPECT_TRUE(ui.opened[0].startsWith(db->folder() + QStringLiteral("/Export/Registrul lucrătorilor 2024-05-15 ")));
    EXPECT_EQ(DM->CDS->recordCount(), 1);

    // The eight columns of the register under the server's names, the codes as text.
    const SheetFile sheet(ui.opened[0]);
    const QStringList header{"AP_FIRST_NAME", "AP_MIDDLE_NAME", "AP_LAST_NAME", "AP_CPAS",
                             "AP_IDNP", "AP_DOC_SERIA", "AP_DOC_NUMBER", "AP_BIRTH_DT"};
    QStringList written;
    for (const QString &ref : sheet.row(2))
        written << sheet.text(ref);
    EXPECT_EQ(written, header);
    EXPECT_EQ(sheet.text("A3"), "POPESCU");
    EXPECT_FALSE(sheet.has("C3"));
    EXPECT_EQ(sheet.text("D3"), "12345678901");
    EXPECT_EQ(sheet.format("D3"), "@");
    EXPECT_EQ(sheet.text("E3"), "2000000000001");
    EXPECT_EQ(sheet.format("E3"), "@");
    EXPECT_EQ(sheet.format("F3"), "General");
    EXPECT_EQ(sheet.text("H3"), "29285"); // 05.03.1980
    EXPECT_EQ(sheet.format("H3"), "dd.mm.yyyy");

    print->trigger();
    EXPECT_EQ(ui.reports, QStringList{QStringLiteral("Registrul lucrătorilor")});
    EXPECT_EQ(ui.opened.size(), 1);
}

TEST_F(Register, IsDatedByTheProgramsClock)
{
    Clock::setToday(QDate(2041, 2, 3));
    RecordSetReportSource rows(DM->CDS);
    Report report;
    RegisterReport::build(report, rows, QStringLiteral("X"));
    EXPECT_EQ(report.today(), QDate(2041, 2, 3));
}

TEST(RegisterStatement, IsTheFixedOne)
{
    EXPECT_EQ(RegisterReport::statement(12),
              "select ap_first_name,ap_middle_name,ap_last_name,ap_cpas, ap_idnp,ap_doc_seria,ap_doc_number,"
              "ap_birth_dt  from assured_person where ap_ea=12 order by ap_first_name,ap_middle_name,ap_last_name");
    EXPECT_EQ(RegisterReport::quotedAgentName("O'NEIL"), "'O''NEIL'");
}

} // namespace
