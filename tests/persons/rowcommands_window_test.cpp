// The whole-row commands of the persons window driven through its menu entries: the grid of
// the page "Salariul", its footer and the declaration page follow each command at once.

#include "data/tdm.h"
#include "grid/dbgrideh.h"
#include "grid/dbgridmodel.h"
#include "persons/tfpers.h"
#include "records/nameaccountrules.h"
#include "records/saldodatarules.h"
#include "tests/persons/personswindow.h"
#include "tests/persons/personsfixture.h"
#include "tests/support/scripteduserinteraction.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTest>

namespace {

enum Column { Fond = 6, Individuale = 8, Declaratie = 10 };

class RowCommandsWindow : public PersonsWindowFixture
{
protected:
    void SetUp() override
    {
        PersonsFixture::SetUp();
        exec("insert into name_account (na_id,na_ap,na_year,na_period_begin,na_period_end,na_ap_category,na_kft_rf) "
             "values(10,4,2010,'01.01.2010','31.12.2010',101,1)");
        for (int m = 1; m <= 4; ++m)
            exec(QStringLiteral("insert into saldo_data (sd_id,sd_na,sd_month,sd_paym_fond,sd_ill,sd_sum_add,sd_dela_d,"
                                "sd_pina_d,sd_zile_n,sd_ap_category,sd_kft_rf) values(%1,10,%1,1000,0,60,'01.%2.2010',"
                                "'28.%2.2010',5,101,1)")
                     .arg(m)
                     .arg(m, 2, 10, QChar(u'0')));
        DM->declareFormTypes();
        RecordSet *types = DM->cl_form_type;
        types->createDataSet();
        for (auto [id, name] : {std::pair{1, "Primară"}, std::pair{3, "De corectare"}}) {
            types->append();
            types->field("kft_id").setValue(id);
            types->field("kft_name_ro").setValue(QString::fromUtf8(name));
            types->post();
        }
        NameAccountRules::attach();
        SaldoDataRules::attach();

        w = openPersonsWindow("2010");
        auto *cpas = w->findChild<QLineEdit *>("MaskEdit2");
        cpas->setText("44444444444");
        QTest::keyClick(cpas, Qt::Key_Return);
        grid = w->findChild<DBGridEh *>("DBGridEh2");
        ASSERT_TRUE(grid);
    }
    void trigger(const char *name)
    {
        auto *a = w->findChild<QAction *>(QString::fromLatin1(name));
        ASSERT_TRUE(a) << name;
        a->trigger();
    }
    QString shown(int row, int column) { return grid->model()->index(row, column).data().toString(); }

    ScriptedUserInteraction ui;
    DBGridEh *grid = nullptr;
};

TEST_F(RowCommandsWindow, FillMarkAndDeleteShowAtOnceInTheGrid)
{
    trigger("Adaugire2"); // on the page "Date": nothing
    EXPECT_EQ(scalar("select count(*) from saldo_data").toInt(), 4);

    w->findChild<QPushButton *>("BitBtn9")->click();
    ASSERT_EQ(grid->model()->rowCount(), 4);
    trigger("Adaugire2");
    EXPECT_EQ(column("select sd_month from saldo_data order by sd_month").size(), 12);
    EXPECT_EQ(grid->model()->rowCount(), 12);
    EXPECT_EQ(grid->footerText(Fond), "4 000.00");
    EXPECT_EQ(grid->footerText(Individuale), "240.00");

    // "De corectare" from the grid's context menu on the row of May.
    ASSERT_TRUE(DM->saldo_data->locate("sd_month", 5));
    const double may = DM->saldo_data->field("sd_id").asFloat();
    auto *popup = w->findChild<QMenu *>("PopupMenu1");
    ASSERT_TRUE(popup);
    QAction *correction = popup->actions().value(1);
    ASSERT_TRUE(correction);
    EXPECT_EQ(correction->objectName(), "Decorectare2");
    correction->trigger();
    EXPECT_EQ(scalar(QStringLiteral("select sd_kft_rf from saldo_data where sd_id=%1").arg(may)).toInt(), 3);
    EXPECT_EQ(scalar("select count(*) from saldo_data where sd_kft_rf=3").toInt(), 1);
    EXPECT_EQ(DM->saldo_data->field("sd_id").asFloat(), may); // the same row again
    const int current = grid->gridModel()->currentRow();
    EXPECT_EQ(shown(current, Declaratie), "De corectare");
    EXPECT_EQ(grid->footerText(Fond), "4 000.00");

    // "&Stergere" of "&Salariul" on it.
    ui.answers = {true};
    trigger("Stergere2");
    EXPECT_EQ(scalar(QStringLiteral("select count(*) from saldo_data where sd_id=%1").arg(may)).toInt(), 0);
    EXPECT_EQ(grid->model()->rowCount(), 11);

    // The declaration goes with its rows; the automatic completion box is offered again.
    ui.answers = {true};
    trigger("Stergere4");
    EXPECT_EQ(scalar("select count(*) from name_account").toInt(), 0);
    EXPECT_EQ(scalar("select count(*) from saldo_data").toInt(), 0);
    EXPECT_EQ(grid->model()->rowCount(), 0);
    EXPECT_FALSE(w->findChild<QCheckBox *>("CheckBox1")->isHidden());
    EXPECT_TRUE(ui.errors.isEmpty()) << ui.errors.join('|').toStdString();
}

TEST_F(RowCommandsWindow, ARefusalIsShownAndThePersonDeletionEmptiesTheList)
{
    exec("insert into t_pachet (pachet_id,nume,pachet_d,anul,luna_d,luna_p,ae_rf) "
         "values(1,'P','01.05.2010',2010,1,3,1)");
    w->findChild<QPushButton *>("BitBtn9")->click();
    trigger("Decorectare1");
    EXPECT_EQ(ui.errors, QStringList{"Este deja format pachetul electronic  !"});
    EXPECT_EQ(scalar("select count(*) from saldo_data where sd_kft_rf=3").toInt(), 0);

    ui.answers = {true, true};
    trigger("stergere1");
    EXPECT_EQ(scalar("select count(*) from assured_person where ap_id=4").toInt(), 0);
    EXPECT_EQ(scalar("select count(*) from saldo_data").toInt(), 0);
    EXPECT_TRUE(DM->assured_person->isEmpty());
    EXPECT_EQ(grid->model()->rowCount(), 0);
    EXPECT_EQ(ui.errors.size(), 1);
}

} // namespace
