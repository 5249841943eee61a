// The automatic completion, the automatic calculation switch and "Recalcul" driven through the
// persons window by the names of its controls, over a real database.

#include "data/helpers.h"
#include "data/readscope.h"
#include "data/tdm.h"
#include "grid/dbedit.h"
#include "grid/dbgrideh.h"
#include "persons/tfpers.h"
#include "records/assuredpersonrules.h"
#include "records/nameaccountrules.h"
#include "records/saldodatarules.h"
#include "tests/persons/personsfixture.h"
#include "tests/persons/personswindow.h"
#include "tests/support/scripteduserinteraction.h"
#include "tests/support/testdatabase.h"
#include "tests/support/typing.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <QStackedWidget>
#include <QTest>

namespace {

enum Column { Luna, DeLa, PinaLa, Zile, Categoria, Functia, Fond, Boala, Individuale, Angajator };

class AutomaticCompletionWindow : public PersonsWindowFixture
{
protected:
    void SetUp() override
    {
        PersonsFixture::SetUp();
        exec("insert into k_prof values(990001, 'contabil')");
        exec("delete from k_tariff_ap_value");
        exec("insert into k_tariff_ap_value values(601,101,'01.01.2004','31.12.2016','P',6,500,'P',23)");
        exec("insert into k_tariff_ap_value values(602,120,'01.01.2010','31.12.2010','L',1200,NULL,'P',0)");
        NameAccountRules::attach();
        SaldoDataRules::attach();
    }
    void open()
    {
        w = openPersonsWindow("2010");
        get<QPushButton>("BitBtn1")->click(); // every person: ION ANA (3) first
        grid = get<DBGridEh>("DBGridEh2");
    }
    // Types over the text of a data-aware box from its start.
    void type(const char *name, const QString &text)
    {
        auto *e = get<DbEdit>(name);
        e->setFocus();
        e->selectAll();
        e->del();
        typeText(e, text);
    }
    QStringList shown(int col)
    {
        QStringList out;
        for (int r = 0; r < grid->model()->rowCount(); ++r)
            out << grid->model()->index(r, col).data().toString();
        return out;
    }
    void storedDeclarationWithRows()
    {
        exec("insert into name_account (na_id,na_pl,na_ap,na_year,na_is_pens,na_period_begin,na_period_end,"
             "na_ap_category,na_wb_in_ea,na_kft_rf,na_rest,na_public) "
             "values(10,NULL,3,2010,'N','01.01.2010','31.12.2010',101,'N',1,0,'N')");
        for (int m = 1; m <= 3; ++m)
            exec(QStringLiteral("insert into saldo_data (sd_id,sd_na,sd_month,sd_paym_fond,sd_ill,sd_tariff_ap,"
                                "sd_sum_add,sd_tariff_ea,sd_sum_add_ea,sd_dela_d,sd_pina_d,sd_zile_n,sd_ap_category,"
                                "sd_kft_rf) values(%1,10,%1,10000,0,601,600,601,2300,'01.%1.2010','28.%1.2010',5,101,1)")
                     .arg(m));
    }

    ScriptedUserInteraction ui;
    DBGridEh *grid = nullptr;
};

TEST_F(AutomaticCompletionWindow, TickingTheBoxOpensTheFieldsAndSavingFillsTheMonths)
{
    open();
    get<QPushButton>("BitBtn8")->click(); // page "Declaratia"
    auto *box = get<QCheckBox>("CheckBox1");
    ASSERT_TRUE(box->isVisible());
    QWidget *panel = get<QWidget>("Panel8");
    EXPECT_FALSE(panel->isVisible());

    box->click();
    EXPECT_TRUE(box->isChecked());
    EXPECT_TRUE(panel->isVisible());
    ASSERT_EQ(DM->name_account->state(), RecordSet::State::Insert);
    // Unticked and ticked again: the same new declaration, the fields hidden and shown.
    box->click();
    EXPECT_FALSE(panel->isVisible());
    EXPECT_EQ(DM->name_account->state(), RecordSet::State::Insert);
    box->click();
    EXPECT_TRUE(panel->isVisible());

    type("DBEdit19", "15032010");
    type("DBEdit20", "20102010");
    type("DBEdit21", "120");
    type("DBEdit15", "990001");
    get<QAction>("Memorizare2")->trigger();
    EXPECT_TRUE(ui.errors.isEmpty()) << ui.errors.join('|').toStdString();
    EXPECT_EQ(DM->name_account->state(), RecordSet::State::Browse);

    EXPECT_EQ(column("select sd_month from saldo_data order by sd_month"),
              (QStringList{"3", "4", "5", "6", "7", "8", "9", "10"}));
    EXPECT_EQ(column("select sd_dela_d from saldo_data where sd_month=3"), QStringList{"01.03.2010"});
    EXPECT_EQ(column("select sd_pina_d from saldo_data where sd_month=10"), QStringList{"31.10.2010"});
    EXPECT_EQ(column("select distinct sd_ap_category from saldo_data"), QStringList{"120"});
    EXPECT_EQ(column("select distinct sd_position from saldo_data"), QStringList{"990001"});
    EXPECT_EQ(column("select distinct sd_sum_add from saldo_data"), QStringList{"100"});
    EXPECT_EQ(shown(Individuale).size(), 8);
    EXPECT_EQ(grid->footerText(Individuale), "800.00");

    // The salary page shows the same rows.
    get<QPushButton>("BitBtn9")->click();
    EXPECT_EQ(shown(Zile), QStringList(8, "5"));
    EXPECT_EQ(grid->footerText(Individuale), "800.00");
    EXPECT_TRUE(ui.errors.isEmpty()) << ui.errors.join('|').toStdString();
}

TEST_F(AutomaticCompletionWindow, TheCalculationSwitchDecidesWhetherASavedRowIsComputed)
{
    storedDeclarationWithRows();
    open();
    auto *calculation = get<QAction>("Calculareaautomata1");
    calculation->trigger();
    EXPECT_FALSE(calculation->isChecked());
    EXPECT_FALSE(workspaceState()->autoCalculation());
    get<QPushButton>("BitBtn9")->click();
    RecordSet *S = DM->saldo_data;
    S->first();
    S->edit();
    S->field("sd_paym_fond").setValue(1000.0);
    S->field("sd_sum_add").setValue(12.34);
    get<QAction>("Memorizare3")->trigger();
    EXPECT_EQ(scalar("select sd_sum_add from saldo_data where sd_id=1").toDouble(), 12.34);

    calculation->trigger();
    EXPECT_TRUE(workspaceState()->autoCalculation());
    S->edit();
    S->field("sd_paym_fond").setValue(2000.0);
    get<QAction>("Memorizare3")->trigger();
    EXPECT_EQ(scalar("select sd_sum_add from saldo_data where sd_id=1").toDouble(), 120.00);
}

TEST_F(AutomaticCompletionWindow, RecalculShowsTheRecomputedRowsAtOnce)
{
    storedDeclarationWithRows();
    open();
    get<QAction>("Recalcul1")->trigger(); // the declaration page shows no monthly row
    EXPECT_TRUE(ui.errors.isEmpty() && ui.notices.isEmpty());
    EXPECT_EQ(get<QStackedWidget>("PageControl1")->currentIndex(), 0);
    EXPECT_EQ(column("select sd_sum_add from saldo_data"), (QStringList{"600", "600", "600"}));

    get<QPushButton>("BitBtn9")->click();
    EXPECT_EQ(grid->footerText(Individuale), "1 800.00");
    get<QAction>("Recalcul1")->trigger();
    EXPECT_TRUE(ui.errors.isEmpty()) << ui.errors.join('|').toStdString();
    EXPECT_EQ(column("select sd_sum_add from saldo_data order by sd_month"), (QStringList{"500", "500", "500"}));
    EXPECT_EQ(shown(Individuale), (QStringList{"500.00", "500.00", "500.00"}));
    EXPECT_EQ(grid->footerText(Individuale), "1 500.00");
    EXPECT_EQ(get<QStackedWidget>("PageControl1")->currentIndex(), 2);
    EXPECT_EQ(ui.maxWaitDepth, 1);
    EXPECT_EQ(ui.waitDepth, 0);
}

} // namespace
