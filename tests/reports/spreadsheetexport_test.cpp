// The spreadsheet export written as an .xlsx file into the folder "Export" of the data
// folder and read back: the cells, their number formats and the bold header row.

#include "data/ee.h"
#include "data/helpers.h"
#include "data/readscope.h"
#include "data/recordset.h"
#include "data/tdm.h"
#include "platform/clock.h"
#include "platform/platform.h"
#include "reports/sheettarget.h"
#include "reports/spreadsheetexport.h"
#include "tests/reports/sheetfile.h"
#include "tests/support/scripteduserinteraction.h"
#include "tests/support/testdatabase.h"

#include <QDir>
#include <QFile>

namespace {

class SpreadsheetExportTest : public DataModuleTest
{
protected:
    void SetUp() override
    {
        DataModuleTest::SetUp();
        Platform::setProgramFolder(program.path());
        exec("insert into econ_agent values(1,'1234567','1','SRL ALFA','B','C',91,'D','0')");
        exec("insert into assured_person (ap_id,ap_ea,ap_cpas,ap_idnp,ap_birth_dt,ap_first_name,ap_middle_name,"
             "ap_last_name) values(1,1,'0012345678901','2004012345678','29.02.1980','POPESCU','ION',NULL)");
        exec("insert into assured_person (ap_id,ap_ea,ap_cpas,ap_idnp,ap_birth_dt,ap_first_name,ap_middle_name,"
             "ap_last_name) values(2,1,NULL,'0000000000017',NULL,'ANDRIEŞ','MARIA','V')");
    }
    void TearDown() override
    {
        Platform::setProgramFolder({});
        DataModuleTest::TearDown();
    }
    // The persons read as the register reads them, with a number column.
    void read(const QString &columns = "ap_first_name,ap_cpas,ap_idnp,ap_id,ap_birth_dt,ap_last_name")
    {
        ReadScope r(DM->IBQ3, "select " + columns + " from assured_person order by ap_id");
        CopyToMemTable(r.query(), DM->CDS, 2);
    }
    QStringList exported() const { return QDir(program.path() + "/Export").entryList(QDir::Files, QDir::Name); }
    QString exportedPath(const QString &prefix = {}) const
    {
        const QStringList names = exported().filter(QRegularExpression("^" + prefix));
        return names.size() == 1 ? program.path() + "/Export/" + names[0] : QString();
    }

    QTemporaryDir program;
    ScriptedUserInteraction ui;
};

TEST_F(SpreadsheetExportTest, RowsGoFromRowThreeUnderABoldHeaderWithCodesAsTextAndDatesAsDates)
{
    read();
    ExportToExcel(DM->CDS, program.path() + "/modrap.xlt", "Registrul lucrătorilor");
    ASSERT_EQ(exported().size(), 1);
    EXPECT_EQ(ui.opened, QStringList{exportedPath()});
    EXPECT_TRUE(ui.notices.isEmpty());
    EXPECT_TRUE(exported()[0].startsWith(QStringLiteral("Registrul lucrătorilor 2024-05-15 ")));
    EXPECT_TRUE(exported()[0].endsWith(".xlsx"));
    SheetFile s(exportedPath());

    EXPECT_TRUE(s.row(1).isEmpty());
    EXPECT_EQ(s.row(2), QStringList({"A2", "B2", "C2", "D2", "E2", "F2"}));
    const QStringList header{"AP_FIRST_NAME", "AP_CPAS", "AP_IDNP", "AP_ID", "AP_BIRTH_DT", "AP_LAST_NAME"};
    for (int c = 0; c < 6; ++c) {
        const QString ref = QString(QChar('A' + c)) + "2";
        EXPECT_EQ(s.text(ref), header[c]);
        EXPECT_TRUE(s.bold(ref)) << ref.toStdString();
    }
    ASSERT_TRUE(s.rowStyles.contains(2));
    EXPECT_TRUE(s.boldStyle(s.rowStyles[2]));
    EXPECT_FALSE(s.bold("A3"));

    EXPECT_EQ(s.text("A3"), "POPESCU");
    EXPECT_EQ(s.type("A3"), "s");
    // The codes as text, leading zeros and all 13 digits kept; their whole columns as text.
    EXPECT_EQ(s.text("B3"), "0012345678901");
    EXPECT_EQ(s.type("B3"), "s");
    EXPECT_EQ(s.format("B3"), "@");
    EXPECT_EQ(s.text("C3"), "2004012345678");
    EXPECT_EQ(s.format("C3"), "@");
    EXPECT_EQ(s.text("C4"), "0000000000017");
    EXPECT_EQ(s.formatOfStyle(s.columnStyles.value(2)), "@");
    EXPECT_EQ(s.formatOfStyle(s.columnStyles.value(3)), "@");
    EXPECT_EQ(s.formatOfStyle(s.columnStyles.value(1)), "General");
    // A number as a number; a date as a date serial shown dd.mm.yyyy (29.02.1980 is 29280).
    EXPECT_EQ(s.type("D3"), "n");
    EXPECT_EQ(s.text("D3"), "1");
    EXPECT_EQ(s.type("E3"), "n");
    EXPECT_EQ(s.text("E3"), "29280");
    EXPECT_EQ(s.format("E3"), "dd.mm.yyyy");
    // Empty values are empty cells.
    EXPECT_FALSE(s.has("F3"));
    EXPECT_FALSE(s.has("B4"));
    EXPECT_FALSE(s.has("E4"));
    EXPECT_EQ(s.text("A4"), QStringLiteral("ANDRIEŞ"));
    EXPECT_EQ(s.text("F4"), "V");
    EXPECT_EQ(s.maxRow, 4);
    // Columns fitted to their contents: the 13-digit codes wider than the one-digit numbers.
    EXPECT_GT(s.columnWidths.value(2), 13);
    EXPECT_GT(s.columnWidths.value(2), s.columnWidths.value(4));

    // The record set keeps its rows, is left after its last row, and its controls refresh again.
    EXPECT_EQ(DM->CDS->recordCount(), 2);
    EXPECT_TRUE(DM->CDS->eof());
    EXPECT_FALSE(DM->CDS->controlsDisabled());
    EXPECT_EQ(ui.waitDepth, 0);
    EXPECT_GE(ui.maxWaitDepth, 1);
}

TEST_F(SpreadsheetExportTest, EmptySetGivesTheHeaderAloneAndInvisibleFieldsGiveNoColumn)
{
    read("ap_cpas,ap_id");
    EXPECT_EQ(DM->CDS->recordCount(), 2);
    DM->CDS->emptyDataSet();
    ExportToExcel(DM->CDS, {}, "Gol");
    SheetFile empty(exportedPath("Gol "));
    EXPECT_EQ(empty.row(2), QStringList({"A2", "B2"}));
    EXPECT_EQ(empty.maxRow, 2);
    EXPECT_TRUE(empty.bold("A2"));

    read();
    DM->CDS->fieldDef(0).visible = false;
    DM->CDS->fieldDef(3).visible = false;
    ExportToExcel(DM->CDS, {}, "Fara");
    SheetFile some(exportedPath("Fara "));
    EXPECT_EQ(some.text("A2"), "AP_CPAS");
    EXPECT_EQ(some.text("C2"), "AP_BIRTH_DT"); // no gap where AP_ID was
    EXPECT_EQ(some.text("A3"), "0012345678901");
    EXPECT_EQ(some.format("A3"), "@");
    EXPECT_EQ(some.text("B3"), "2004012345678");
    EXPECT_FALSE(some.has("E2"));

    for (int i = 0; i < DM->CDS->fieldCount(); ++i)
        DM->CDS->fieldDef(i).visible = false;
    ExportToExcel(DM->CDS, {}, "Nimic");
    SheetFile none(exportedPath("Nimic "));
    EXPECT_TRUE(none.cells.isEmpty());
    ASSERT_TRUE(none.rowStyles.contains(2)); // row 2 made bold all the same
    EXPECT_TRUE(none.boldStyle(none.rowStyles[2]));
}

TEST_F(SpreadsheetExportTest, OnlyTheDisplayNamesOfTheCodesMakeTextColumns)
{
    read("ap_cpas,ap_idnp,ap_first_name as ap_cpas_vechi,ap_id");
    DM->CDS->fieldDef(0).displayLabel = "Cod CPAS"; // label differs: not text
    DM->CDS->fieldDef(3).displayLabel = "ap_Idnp";  // a number under the code's name: text
    ExportToExcel(DM->CDS, {}, "Etichete");
    SheetFile s(exportedPath());
    EXPECT_EQ(s.text("A2"), "Cod CPAS");
    EXPECT_EQ(s.text("D2"), "ap_Idnp");
    EXPECT_EQ(s.format("A3"), "General");
    EXPECT_EQ(s.text("A3"), "0012345678901"); // a text field keeps its text
    EXPECT_EQ(s.type("A3"), "s");
    EXPECT_EQ(s.format("B3"), "@");
    EXPECT_EQ(s.format("C3"), "General");
    EXPECT_EQ(s.type("D3"), "s");
    EXPECT_EQ(s.text("D3"), "1");
    EXPECT_EQ(s.format("D3"), "@");
}

TEST_F(SpreadsheetExportTest, SameMomentGetsANewFileAndNamesAreMadeSafe)
{
    const QDateTime at(QDate(2024, 5, 15), QTime(10, 30, 5));
    const QString folder = program.path();
    EXPECT_EQ(SpreadsheetExport::fileName(folder, "Raport pe luni", at),
              folder + "/Raport pe luni 2024-05-15 10.30.05.xlsx");
    QFile(folder + "/Raport pe luni 2024-05-15 10.30.05.xlsx").open(QIODevice::WriteOnly);
    EXPECT_EQ(SpreadsheetExport::fileName(folder, "Raport pe luni", at),
              folder + "/Raport pe luni 2024-05-15 10.30.05 (2).xlsx");
    EXPECT_EQ(SpreadsheetExport::fileName(folder, "a/b:c", at), folder + "/a_b_c 2024-05-15 10.30.05.xlsx");
}

TEST_F(SpreadsheetExportTest, WithoutAPlaceToWriteNothingIsWrittenAndControlsComeBack)
{
    read();
    QFile blocker(program.path() + "/Export");
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly)); // a file where the folder should be
    blocker.close();
    try {
        ExportToExcel(DM->CDS, {}, "Registru");
        FAIL() << "exported";
    } catch (const EE &e) {
        EXPECT_EQ(e.message(), "Error Excel.Application");
    }
    EXPECT_TRUE(ui.opened.isEmpty());
    EXPECT_FALSE(DM->CDS->controlsDisabled());
    EXPECT_EQ(ui.waitDepth, 0);
    EXPECT_EQ(QDir(program.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries), QStringList{"Export"});
}

TEST_F(SpreadsheetExportTest, WithoutAnApplicationToOpenItTheUserIsToldWhereTheFileIs)
{
    ui.canOpen = false;
    read();
    ExportToExcel(DM->CDS, {});
    ASSERT_EQ(exported().size(), 1);
    EXPECT_TRUE(exported()[0].startsWith("CDS 2024-05-15 "));
    ASSERT_EQ(ui.notices.size(), 1);
    EXPECT_TRUE(ui.notices[0].endsWith(exportedPath())) << ui.notices[0].toStdString();
}

} // namespace

namespace {

// Records what a spreadsheet program would be told, in order.
class RecordingSheet : public SheetTarget
{
public:
    explicit RecordingSheet(RecordSet *set) : m_set(set) { }
    void setTextColumn(int column) override { calls << QStringLiteral("text %1").arg(column); }
    void writeRow(int row, const std::vector<QVariant> &cells) override
    {
        calls << QStringLiteral("row %1 of %2").arg(row).arg(cells.size());
        quiet = quiet && m_set->controlsDisabled();
    }
    void setBoldRow(int row) override { calls << QStringLiteral("bold %1").arg(row); }
    void fitColumns() override { calls << QStringLiteral("fit"); }
    QStringList calls;
    bool quiet = true;

private:
    RecordSet *m_set;
};

class FailingSheet : public RecordingSheet
{
public:
    using RecordingSheet::RecordingSheet;
    void writeRow(int row, const std::vector<QVariant> &cells) override
    {
        RecordingSheet::writeRow(row, cells);
        if (row == 3)
            throw EE("closed");
    }
};

TEST_F(SpreadsheetExportTest, CodesAreTextBeforeAnyDataAndBoundControlsRestWhileRowsAreWritten)
{
    exec("insert into assured_person (ap_id,ap_ea,ap_first_name,ap_middle_name) values(3,1,'C','D')");
    exec("insert into assured_person (ap_id,ap_ea,ap_first_name,ap_middle_name) values(4,1,'E','F')");
    read("ap_first_name,ap_idnp,ap_cpas");
    int resets = 0;
    QObject::connect(DM->CDS, &RecordSet::currentChanged, [&] { ++resets; });
    RecordingSheet sheet(DM->CDS);
    SpreadsheetExport::write(DM->CDS, sheet);
    EXPECT_EQ(sheet.calls, QStringList({"text 2", "text 3", "bold 2", "row 2 of 3", "row 3 of 3", "row 4 of 3",
                                        "row 5 of 3", "row 6 of 3", "fit"}));
    EXPECT_TRUE(sheet.quiet);
    EXPECT_EQ(resets, 2); // the first row, and once when the controls come back

    FailingSheet failing(DM->CDS);
    EXPECT_THROW(SpreadsheetExport::write(DM->CDS, failing), EE);
    EXPECT_FALSE(DM->CDS->controlsDisabled());
}

TEST_F(SpreadsheetExportTest, ADataFolderOfItsOwnReceivesTheExport)
{
    QTemporaryDir data;
    Platform::setDataFolder(data.path());
    read();
    ExportToExcel(DM->CDS, Platform::inProgramFolder("modrap.xlt"), "Registrul lucrătorilor");
    Platform::setDataFolder({});
    const QStringList written = QDir(data.path() + "/Export").entryList(QDir::Files);
    ASSERT_EQ(written.size(), 1);
    EXPECT_EQ(ui.opened, QStringList{data.path() + "/Export/" + written[0]});
    EXPECT_TRUE(QDir(program.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries).isEmpty());
}

} // namespace
