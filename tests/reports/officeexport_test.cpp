// The spreadsheet export into a real LibreOffice, started headless for these tests: the new
// document read back through the same interface, cell by cell, with its number formats and
// the weight of its fonts; the template and its macro; the way to the .xlsx file when no office
// can be had.

#include "data/helpers.h"
#include "data/readscope.h"
#include "data/recordset.h"
#include "data/tdm.h"
#include "platform/platform.h"
#include "reports/spreadsheetexport.h"
#include "tests/reports/exportpersons.h"
#include "tests/reports/testoffice.h"
#include "tests/support/scripteduserinteraction.h"
#include "tests/support/testdatabase.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QUrl>

#include <com/sun/star/container/XEnumeration.hpp>
#include <com/sun/star/container/XEnumerationAccess.hpp>
#include <com/sun/star/frame/Desktop.hpp>
#include <com/sun/star/frame/XDesktop2.hpp>

using TestOffice::Sheet;

namespace {

class OfficeExport : public ExportPersons
{
protected:
    void SetUp() override
    {
        // The other tests of the program go on without the office.
        savedOfficePath = qgetenv("UNO_PATH");
        if (!TestOffice::use())
            GTEST_SKIP() << "LibreOffice cannot be started here";
        ExportPersons::SetUp();
        TestOffice::closeAll();
    }
    void TearDown() override
    {
        qputenv("UNO_PATH", savedOfficePath);
        if (DM)
            ExportPersons::TearDown();
    }
    // The one document the export left in the office.
    com::sun::star::uno::Reference<com::sun::star::lang::XComponent> exported()
    {
        const auto all = TestOffice::documents();
        EXPECT_EQ(all.size(), 1u);
        return all.empty() ? nullptr : all.back();
    }
    bool nothingInExport() const { return !QDir(program.path() + "/Export").exists(); }

    QByteArray savedOfficePath;
};

TEST_F(OfficeExport, RowsGoFromRowThreeUnderABoldHeaderWithCodesAsTextAndDatesAsDates)
{
    read();
    ExportToExcel(DM->CDS, program.path() + "/modrap.xlt", "Registrul lucrătorilor");
    EXPECT_TRUE(ui.errors.isEmpty());
    EXPECT_TRUE(ui.opened.isEmpty()); // the office shows the document itself
    EXPECT_TRUE(nothingInExport());
    const auto document = exported();
    ASSERT_TRUE(document.is());
    EXPECT_EQ(TestOffice::location(document), ""); // a new, untitled document
    const Sheet s(document);

    EXPECT_TRUE(s.row(1).isEmpty());
    EXPECT_EQ(s.row(2), QStringList({"AP_FIRST_NAME", "AP_CPAS", "AP_IDNP", "AP_ID", "AP_BIRTH_DT", "AP_LAST_NAME"}));
    for (const char *ref : {"A2", "B2", "C2", "D2", "E2", "F2"})
        EXPECT_TRUE(s.bold(ref)) << ref;
    EXPECT_FALSE(s.bold("A3"));

    EXPECT_EQ(s.text("A3"), "POPESCU");
    EXPECT_TRUE(s.isText("B3"));
    EXPECT_EQ(s.text("B3"), "0012345678901");
    EXPECT_EQ(s.format("B3"), "@");
    EXPECT_EQ(s.format("B100"), "@"); // the whole column, not only the rows written
    EXPECT_TRUE(s.isText("C3"));
    EXPECT_EQ(s.text("C3"), "2004012345678");
    EXPECT_EQ(s.format("C3"), "@");
    EXPECT_TRUE(s.isNumber("D3"));
    EXPECT_EQ(s.value("D3"), 1.0);
    EXPECT_EQ(s.format("D3"), "General");
    EXPECT_TRUE(s.isNumber("E3"));
    EXPECT_EQ(s.value("E3"), 29280.0); // 29.02.1980 as the spreadsheet counts days
    EXPECT_EQ(s.format("E3"), "DD.MM.YYYY");
    EXPECT_EQ(s.text("E3"), "29.02.1980");
    EXPECT_TRUE(s.empty("F3"));

    EXPECT_TRUE(s.empty("B4")); // an empty CPAS stays empty
    EXPECT_EQ(s.text("C4"), "0000000000017");
    EXPECT_EQ(s.text("A4"), QStringLiteral("ANDRIEŞ"));
    EXPECT_TRUE(s.empty("E4"));
    EXPECT_EQ(s.text("F4"), "V");
    EXPECT_TRUE(s.row(5).isEmpty());
    EXPECT_TRUE(s.fitted(6));

    EXPECT_TRUE(DM->CDS->eof()); // left after its last row, its rows kept
    EXPECT_EQ(DM->CDS->recordCount(), 2);
    EXPECT_FALSE(DM->CDS->controlsDisabled());
}

TEST_F(OfficeExport, EmptySetGivesTheHeaderAloneAndInvisibleFieldsGiveNoColumn)
{
    read("ap_cpas,ap_id");
    DM->CDS->emptyDataSet();
    ExportToExcel(DM->CDS, {}, "Gol");
    {
        const Sheet empty(exported());
        EXPECT_EQ(empty.row(2), QStringList({"AP_CPAS", "AP_ID"}));
        EXPECT_TRUE(empty.bold("B2"));
        EXPECT_TRUE(empty.row(3).isEmpty());
    }
    TestOffice::closeAll();

    read();
    DM->CDS->fieldDef(0).visible = false;
    DM->CDS->fieldDef(3).visible = false;
    ExportToExcel(DM->CDS, {}, "Fara");
    {
        const Sheet some(exported());
        EXPECT_EQ(some.row(2), QStringList({"AP_CPAS", "AP_IDNP", "AP_BIRTH_DT", "AP_LAST_NAME"}));
        EXPECT_EQ(some.text("A3"), "0012345678901");
        EXPECT_EQ(some.format("A3"), "@");
        EXPECT_EQ(some.format("C3"), "DD.MM.YYYY");
    }
    TestOffice::closeAll();

    for (int i = 0; i < DM->CDS->fieldCount(); ++i)
        DM->CDS->fieldDef(i).visible = false;
    ExportToExcel(DM->CDS, {}, "Nimic");
    const Sheet none(exported());
    EXPECT_TRUE(none.row(2).isEmpty());
    EXPECT_TRUE(none.row(3).isEmpty());
    EXPECT_TRUE(none.bold("A2")); // row 2 made bold all the same
}

TEST_F(OfficeExport, OnlyTheDisplayNamesOfTheCodesMakeTextColumns)
{
    read("ap_cpas,ap_idnp,ap_first_name as ap_cpas_vechi,ap_id");
    DM->CDS->fieldDef(0).displayLabel = "Cod CPAS"; // label differs: not text
    DM->CDS->fieldDef(3).displayLabel = "ap_Idnp";  // a number under the code's name: text
    ExportToExcel(DM->CDS, {}, "Etichete");
    const Sheet s(exported());
    EXPECT_EQ(s.row(2), QStringList({"Cod CPAS", "AP_IDNP", "AP_CPAS_VECHI", "ap_Idnp"}));
    // The columns' own formats, below the rows written.
    EXPECT_EQ(s.format("A100"), "General");
    EXPECT_EQ(s.format("B100"), "@");
    EXPECT_EQ(s.format("C100"), "General");
    EXPECT_EQ(s.format("D100"), "@");
    EXPECT_TRUE(s.isText("A3")); // a text field keeps its text
    EXPECT_EQ(s.text("A3"), "0012345678901");
    EXPECT_TRUE(s.isText("D3"));
    EXPECT_EQ(s.text("D3"), "1");
    EXPECT_EQ(s.format("D3"), "@");
}

TEST_F(OfficeExport, TheTemplateMakesAnUntitledDocumentKeepsItsFirstRowAndRunsItsMacro)
{
    // A template whose first row holds a title and whose macro marks the sheet once the rows
    // are in: it finds the header in row 2.
    const QString path = program.path() + "/modrap.xlt";
    {
        const auto t = TestOffice::newSpreadsheet();
        TestOffice::put(t, "A1", "Registrul persoanelor asigurate");
        TestOffice::addBasic(t, "Sub macro1\n"
                                "  Dim s As Object\n"
                                "  s = ThisComponent.Sheets.getByIndex(0)\n"
                                "  s.getCellRangeByName(\"H1\").setString(\"macro1: \" & s.getCellRangeByName(\"A2\").getString())\n"
                                "End Sub\n");
        TestOffice::storeAndClose(t, path, "calc8_template");
    }
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray before = file.readAll();
    file.close();

    read();
    ExportToExcel(DM->CDS, path, "Registrul lucrătorilor");
    EXPECT_TRUE(ui.errors.isEmpty());
    const auto document = exported();
    ASSERT_TRUE(document.is());
    EXPECT_EQ(TestOffice::location(document), ""); // not the template itself
    const Sheet s(document);
    EXPECT_EQ(s.text("A1"), "Registrul persoanelor asigurate");
    EXPECT_EQ(s.text("H1"), "macro1: AP_FIRST_NAME");
    EXPECT_EQ(s.text("A2"), "AP_FIRST_NAME");
    EXPECT_TRUE(s.bold("A2"));
    EXPECT_EQ(s.text("A3"), "POPESCU");
    EXPECT_EQ(s.format("B3"), "@");
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), before); // the template untouched
}

TEST_F(OfficeExport, ATemplateWithoutTheMacroOrAFailingMacroStillGivesTheSheet)
{
    // A spreadsheet template in the format the program's template comes in, with no macro.
    const QString path = program.path() + "/modrap.xlt";
    {
        const auto t = TestOffice::newSpreadsheet();
        TestOffice::put(t, "A1", "Antet");
        TestOffice::storeAndClose(t, path, "MS Excel 97 Vorlage/Template");
    }
    read();
    ExportToExcel(DM->CDS, path, "Registru");
    EXPECT_TRUE(ui.errors.isEmpty());
    {
        const Sheet s(exported());
        EXPECT_EQ(s.text("A1"), "Antet");
        EXPECT_EQ(s.text("A3"), "POPESCU");
    }
    TestOffice::closeAll();

    // A macro that fails: its error is not the user's concern.
    {
        const auto t = TestOffice::newSpreadsheet();
        TestOffice::addBasic(t, "Sub macro1\n  Dim x As Integer\n  x = 1 / 0\nEnd Sub\n");
        TestOffice::storeAndClose(t, path, "calc8_template");
    }
    read();
    ExportToExcel(DM->CDS, path, "Registru");
    const Sheet s(exported());
    EXPECT_EQ(s.text("A3"), "POPESCU");
    EXPECT_TRUE(s.bold("A2"));
}

TEST_F(OfficeExport, WithoutAnOfficeTheSheetBecomesAnXlsxFile)
{
    const QByteArray office = qgetenv("UNO_PATH");
    const auto restore = qScopeGuard([&] { qputenv("UNO_PATH", office); });
    read();

    // No office program where the office should be.
    QTemporaryDir nothing;
    qputenv("UNO_PATH", nothing.path().toUtf8());
    ExportToExcel(DM->CDS, {}, "Registru");
    ASSERT_EQ(ui.opened.size(), 1);
    EXPECT_TRUE(ui.opened[0].startsWith(program.path() + "/Export/Registru 2024-05-15 "));

    // An office program that cannot start.
    QFile broken(nothing.path() + "/soffice");
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
    broken.write("#!/bin/sh\nexit 1\n");
    broken.close();
    broken.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    ExportToExcel(DM->CDS, {}, "Registru");
    ASSERT_EQ(ui.opened.size(), 2);
    EXPECT_TRUE(ui.errors.isEmpty());
    EXPECT_TRUE(TestOffice::documents().empty()); // the running office was not reached
}

TEST_F(OfficeExport, WithNoOfficeRunningOneIsStarted)
{
    // Another profile: no office runs for it, so the export starts one.
    QTemporaryDir profile, launcher;
    const QByteArray office = qgetenv("UNO_PATH"), installation = qgetenv("UserInstallation");
    const QString pipe = QStringLiteral("evidenta_started_%1").arg(QCoreApplication::applicationPid());
    const auto restore = qScopeGuard([&] {
        TestOffice::terminate(pipe);
        qputenv("UNO_PATH", office);
        qputenv("UserInstallation", installation);
    });
    // The office program of the desktop, headless here, also listening where the test reads.
    QFile soffice(launcher.path() + "/soffice");
    ASSERT_TRUE(soffice.open(QIODevice::WriteOnly));
    soffice.write(QStringLiteral("#!/bin/sh\nexec '%1/soffice' --headless --invisible '--accept=pipe,name=%2;urp;' \"$@\"\n")
                      .arg(office, pipe)
                      .toUtf8());
    soffice.close();
    soffice.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    qputenv("UNO_PATH", launcher.path().toUtf8());
    qputenv("UserInstallation", QUrl::fromLocalFile(profile.path()).toString(QUrl::FullyEncoded).toUtf8());

    read();
    ExportToExcel(DM->CDS, {}, "Registru");
    EXPECT_TRUE(ui.opened.isEmpty());
    EXPECT_TRUE(TestOffice::documents().empty()); // not in the tests' office
    const auto started = TestOffice::reach(pipe, 10);
    ASSERT_TRUE(started.is());
    auto e = com::sun::star::frame::Desktop::create(started)->getComponents()->createEnumeration();
    ASSERT_TRUE(e->hasMoreElements());
    com::sun::star::uno::Reference<com::sun::star::lang::XComponent> document(e->nextElement(),
                                                                               com::sun::star::uno::UNO_QUERY);
    const Sheet s(document);
    EXPECT_EQ(s.text("A3"), "POPESCU");
    EXPECT_EQ(s.text("C3"), "2004012345678");
}

TEST_F(OfficeExport, OnADesktopAnOfficeThatCannotShowWindowsIsPassedOverForTheXlsxFile)
{
    // Windows can be seen, as on a desktop.
    struct Desktop : ScriptedUserInteraction {
        bool windowsCanBeSeen() const override { return true; }
    } desktop;
    const QByteArray office = qgetenv("UNO_PATH");
    const auto restore = qScopeGuard([&] { qputenv("UNO_PATH", office); });
    read();
    // The office's program folder as links, with or without its windowing plugins; its program
    // notes that it was started.
    for (const bool plugins : {false, true}) {
        SCOPED_TRACE(plugins ? "with the plugins" : "without the plugins");
        QTemporaryDir folder;
        const QDir real(office);
        int left = 0;
        for (const QString &entry :
             real.entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System)) {
            if (entry.startsWith("libvclplug_") && !plugins && ++left)
                continue;
            if (entry != "soffice") {
                ASSERT_TRUE(QFile::link(real.filePath(entry), folder.filePath(entry))) << entry.toStdString();
            }
        }
        ASSERT_GT(left + int(plugins), 0) << "no windowing plugin in " << office.toStdString();
        QFile soffice(folder.filePath("soffice"));
        ASSERT_TRUE(soffice.open(QIODevice::WriteOnly));
        soffice.write(QStringLiteral("#!/bin/sh\ntouch '%1/started'\nexec '%2/soffice' \"$@\"\n")
                          .arg(folder.path(), office)
                          .toUtf8());
        soffice.close();
        soffice.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        qputenv("UNO_PATH", folder.path().toUtf8());
        desktop.opened.clear();

        ExportToExcel(DM->CDS, {}, "Registru");
        EXPECT_EQ(QFile::exists(folder.filePath("started")), plugins);
        EXPECT_EQ(TestOffice::documents().size(), plugins ? 1u : 0u);
        EXPECT_EQ(desktop.opened.size(), plugins ? 0 : 1);
        if (!plugins) {
            EXPECT_TRUE(desktop.opened.value(0).startsWith(program.path() + "/Export/Registru 2024-05-15 "));
        }
        EXPECT_TRUE(desktop.notices.isEmpty()) << desktop.notices.join('|').toStdString();
        EXPECT_TRUE(desktop.errors.isEmpty()) << desktop.errors.join('|').toStdString();
        TestOffice::closeAll();
    }
}

} // namespace
