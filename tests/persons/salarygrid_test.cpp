// The monthly rows typed into the grid of the page "Salariul": each row is saved through the
// monthly-row rule when the user leaves it, the footer follows, and a refused row stays.

#include "data/helpers.h"
#include "data/readscope.h"
#include "data/tdm.h"
#include "grid/dbgrideh.h"
#include "grid/dbgridmodel.h"
#include "persons/tfpers.h"
#include "records/assuredpersonrules.h"
#include "records/nameaccountrules.h"
#include "records/saldodatarules.h"
#include "tests/persons/personswindow.h"
#include "tests/support/scripteduserinteraction.h"
#include "tests/support/testdatabase.h"

#include <QApplication>
#include <QComboBox>
#include <QPushButton>

namespace {

enum Column { Luna, DeLa, PinaLa, Zile, Categoria, Functia, Fond, Boala, Individuale, Angajator };

class SalaryGrid : public DataModuleTest
{
protected:
    void SetUp() override
    {
        DataModuleTest::SetUp();
        exec("insert into econ_agent values(1,'1234567','1','A','B','C',91,'D','0')");
        exec("insert into assured_person (ap_id,ap_ea,ap_cpas,ap_idnp,ap_first_name,ap_middle_name) "
             "values(1,1,'11111111111','1111111111111','POPESCU','ION')");
        exec("insert into name_account (na_id,na_pl,na_ap,na_year,na_is_pens,na_period_begin,na_period_end,"
             "na_ap_category,na_wb_in_ea,na_kft_rf,na_rest,na_public) "
             "values(10,NULL,1,2010,'N','01.01.2010','31.12.2010',101,'N',1,0,'N')");
        {
            ReadScope read(DM->IBQ1, "select * from econ_agent");
            CopyToMemTable(read.query(), DM->econ_agent, 3);
        }
        for (RecordSet *s : {DM->assured_person, DM->name_account, DM->saldo_data})
            s->createDataSet();
        LoadClassifier(DM->k_month);
        DM->declareFormTypes();
        DM->cl_form_type->createDataSet();
        DM->cl_form_type->append();
        DM->cl_form_type->field("kft_id").setValue(1);
        DM->cl_form_type->field("kft_name_ro").setValue(QStringLiteral("Primară"));
        DM->cl_form_type->post();
        DM->serverDate = QDateTime(QDate(2010, 12, 15), QTime(0, 0));
        AssuredPersonRules::attach();
        NameAccountRules::attach();
        SaldoDataRules::attach();

        w = openPersonsWindow("2010");
        w->findChild<QPushButton *>("BitBtn1")->click(); // every person
        w->findChild<QPushButton *>("BitBtn9")->click(); // page "Salariul"
        grid = w->findChild<DBGridEh *>("DBGridEh2");
        ASSERT_TRUE(grid);
        ASSERT_TRUE(ui.errors.isEmpty()) << ui.errors.join('|').toStdString();
    }
    void TearDown() override
    {
        DM->saldo_data->cancel();
        delete w;
        FPers = nullptr;
        DataModuleTest::TearDown();
    }
    // Types a month's row into a new line of the grid, as the user would cell by cell.
    void typeRow(int month, const QString &from, const QString &to, const QVariant &pay)
    {
        DM->saldo_data->append();
        QAbstractItemModel *m = grid->model();
        const int r = grid->gridModel()->currentRow();
        auto put = [&](int c, const QVariant &v) { ASSERT_TRUE(m->setData(m->index(r, c), v, Qt::EditRole)) << c; };
        DM->saldo_data->field("SD_MONTH").setValue(month);
        put(DeLa, from);
        put(PinaLa, to);
        put(Zile, 5);
        put(Categoria, 101);
        put(Fond, pay);
    }
    int storedRows() { return scalar("select count(*) from saldo_data").toInt(); }

    ScriptedUserInteraction ui;
    TFPers *w = nullptr;
    DBGridEh *grid = nullptr;
};

TEST_F(SalaryGrid, LeavingARowSavesItThroughTheRuleAndTheFooterFollows)
{
    typeRow(1, "01.01.2010", "31.01.2010", 1000.0);
    EXPECT_TRUE(grid->postRow());
    EXPECT_TRUE(ui.errors.isEmpty()) << ui.errors.join('|').toStdString();
    ASSERT_EQ(storedRows(), 1);
    EXPECT_EQ(scalar("select sd_sum_add from saldo_data").toDouble(), 60.00);
    EXPECT_EQ(scalar("select sd_sum_add_ea from saldo_data").toDouble(), 230.00);
    EXPECT_EQ(grid->footerText(Individuale), "60.00");
    EXPECT_EQ(grid->footerText(Angajator), "230.00");
    EXPECT_EQ(grid->footerText(Fond), "1 000.00");

    typeRow(2, "01.02.2010", "28.02.2010", 2000.0);
    EXPECT_TRUE(grid->postRow());
    EXPECT_EQ(storedRows(), 2);
    EXPECT_EQ(grid->footerText(Fond), "3 000.00");
    EXPECT_EQ(grid->footerText(Angajator), "690.00");
}

TEST_F(SalaryGrid, ARefusedRowStaysWithTheUsersValuesAndTheMessage)
{
    typeRow(3, "01.03.2010", "31.03.2010", 1500.0);
    DM->saldo_data->field("SD_ZILE_N").setValue(QVariant());
    EXPECT_FALSE(grid->postRow());
    ASSERT_EQ(ui.errors.size(), 1);
    EXPECT_FALSE(ui.errors[0].contains("SQL")) << ui.errors[0].toStdString();
    EXPECT_EQ(storedRows(), 0);
    EXPECT_TRUE(DM->saldo_data->isEditing());
    EXPECT_EQ(DM->saldo_data->field("SD_PAYM_FOND").asFloat(), 1500.0);
}

} // namespace
