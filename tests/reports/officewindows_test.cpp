// The register of the persons workspace and the forms-printing window's "Raport pe luni" sent to
// a real LibreOffice from their menu entry and button, as the user sends them, and read back.

#include "data/helpers.h"
#include "data/readscope.h"
#include "data/tdm.h"
#include "persons/tfpers.h"
#include "platform/platform.h"
#include "reports/tftip.h"
#include "tests/reports/formsfixture.h"
#include "tests/reports/testoffice.h"

#include <QAction>
#include <QPushButton>
#include <QTest>

using TestOffice::Sheet;

namespace {

class OfficeWindows : public FormsFixture
{
protected:
    void SetUp() override
    {
        savedOfficePath = qgetenv("UNO_PATH");
        if (!TestOffice::use())
            GTEST_SKIP() << "LibreOffice cannot be started here";
        FormsFixture::SetUp();
        TestOffice::closeAll();
        Platform::setProgramFolder(db->folder());
    }
    void TearDown() override
    {
        qputenv("UNO_PATH", savedOfficePath);
        Platform::setProgramFolder({});
        if (DM)
            FormsFixture::TearDown();
    }
    Sheet exported()
    {
        const auto all = TestOffice::documents();
        EXPECT_EQ(all.size(), 1u);
        return Sheet(all.back());
    }

    QByteArray savedOfficePath;
};

TEST_F(OfficeWindows, TheRegisterGoesToTheOfficeFromTheWorkspaceMenu)
{
    exec("insert into assured_person (ap_id,ap_ea,ap_cpas,ap_idnp,ap_birth_dt,ap_doc_seria,ap_doc_number,"
         "ap_first_name,ap_middle_name,ap_last_name) values(7,1,'0034567890123','2000000000001','05.03.1980','A',"
         "'12345','POPESCU','ION',NULL)");
    TFPers pers;
    pers.findChild<QAction *>("ExportregistrulinExcel1")->trigger();
    EXPECT_TRUE(ui.errors.isEmpty()) << ui.errors.join('|').toStdString();
    EXPECT_TRUE(ui.opened.isEmpty());
    const Sheet s = exported();
    EXPECT_EQ(s.row(2), QStringList({"AP_FIRST_NAME", "AP_MIDDLE_NAME", "AP_LAST_NAME", "AP_CPAS", "AP_IDNP",
                                     "AP_DOC_SERIA", "AP_DOC_NUMBER", "AP_BIRTH_DT"}));
    EXPECT_TRUE(s.bold("H2"));
    EXPECT_EQ(s.text("A3"), "POPESCU");
    EXPECT_TRUE(s.empty("C3"));
    EXPECT_EQ(s.text("D3"), "0034567890123");
    EXPECT_EQ(s.format("D100"), "@");
    EXPECT_EQ(s.text("E3"), "2000000000001");
    EXPECT_EQ(s.format("E100"), "@");
    EXPECT_EQ(s.value("H3"), 29285.0); // 05.03.1980
    EXPECT_EQ(s.text("H3"), "05.03.1980");
}

TEST_F(OfficeWindows, RaportPeLuniGoesToTheOfficeWhenExcelIsTicked)
{
    person(1, "POPESCU", "ION");
    person(2, "ANDRIES", "MARIA");
    package(11, 101);
    declaration(1, 1, 11);
    declaration(2, 2, 11);
    row(1, 1, 1, 1000);
    row(2, 2, 2, 500);
    TFTip w;
    w.show();
    w.findChild<QAction *>("Excel1")->trigger();
    QTest::mouseClick(w.findChild<QPushButton *>("BitBtn4"), Qt::LeftButton);
    EXPECT_TRUE(ui.errors.isEmpty()) << ui.errors.join('|').toStdString();
    EXPECT_TRUE(ui.reports.isEmpty());
    EXPECT_TRUE(ui.opened.isEmpty());
    const Sheet s = exported();
    EXPECT_EQ(s.row(2).size(), 7);
    EXPECT_TRUE(s.bold("A2"));
    EXPECT_EQ(s.text("A3"), "Ianuarie");
    EXPECT_TRUE(s.isNumber("B3"));
    EXPECT_EQ(s.value("B3"), 1000.0);
    EXPECT_EQ(s.text("A4"), "Februarie");
    EXPECT_EQ(s.value("B4"), 500.0);
    EXPECT_TRUE(s.row(6).isEmpty() || s.text("A6") != "Martie");
}

} // namespace
