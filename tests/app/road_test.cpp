// One month's salary from typing to the database, through the real windows: connect, open the
// persons workspace, enter a person, begin the declaration, type the month into the grid.

#include "app/connection.h"
#include "app/tfmain.h"
#include "data/tdm.h"
#include "grid/dbgrideh.h"
#include "grid/dbgridmodel.h"
#include "persons/tfpers.h"
#include "platform/platform.h"
#include "tests/support/scripteduserinteraction.h"
#include "tests/support/testdatabase.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace {

class Road : public DataModuleTest
{
protected:
    void SetUp() override
    {
        DataModuleTest::SetUp();
        Platform::setProgramFolder(db->folder());
    }
    void TearDown() override
    {
        delete FPers;
        FPers = nullptr;
        Platform::setProgramFolder({});
        DataModuleTest::TearDown();
    }
    template <class T> T *in(const char *name)
    {
        T *c = FPers->findChild<T *>(QString::fromLatin1(name));
        EXPECT_TRUE(c) << name;
        return c;
    }
    void type(const char *edit, const QString &text)
    {
        auto *e = in<QLineEdit>(edit);
        e->setFocus();
        e->selectAll();
        QTest::keyClicks(e, text);
    }
    ScriptedUserInteraction ui;
};

TEST_F(Road, AMonthsSalaryFromTypingToTheDatabase)
{
    TFMain w;
    FPers = new TFPers;
    Connection::Hooks hooks;
    hooks.menuConnected = [&w] { w.enableConnectedMenu(); };
    Connection::connect("sysdba", "quintorez", hooks);
    exec("insert into econ_agent values(1,'1234567','1002600012345','SRL NUFĂRUL','DIR','CONT',91,'RESP','0')");

    w.findChild<QAction *>("Persoaneasigurate1")->trigger();
    ASSERT_TRUE(FPers->isVisible()) << ui.errors.join('|').toStdString();
    const QString year = FPers->selectedYear();

    // A new person on the page "Date".
    in<QAction>("Adaugire1")->trigger();
    type("DBEdit4", "12345678901");
    type("DBEdit6", "popescu");
    type("DBEdit7", "ion");
    type("DBEdit1", "2001234567890");
    in<QAction>("Memorizare1")->trigger();
    ASSERT_TRUE(ui.errors.isEmpty()) << ui.errors.join('|').toStdString();
    EXPECT_EQ(scalar("select ap_first_name from assured_person").toString(), "POPESCU");
    EXPECT_EQ(scalar("select ap_ea from assured_person").toDouble(), 1.0);

    // The declaration of the year, begun on the page "Declaratia" and saved.
    in<QPushButton>("BitBtn8")->click();
    ASSERT_TRUE(ui.errors.isEmpty()) << ui.errors.join('|').toStdString();
    DM->name_account->append();
    in<QAction>("Memorizare2")->trigger();
    ASSERT_TRUE(ui.errors.isEmpty()) << ui.errors.join('|').toStdString();
    ASSERT_EQ(scalar("select count(*) from name_account").toInt(), 1);
    EXPECT_EQ(scalar("select na_year from name_account").toString(), year);
    EXPECT_EQ(scalar("select na_ap_category from name_account").toDouble(), 101.0);
    EXPECT_EQ(scalar("select count(*) from packlabel").toInt(), 1);

    // January typed into the grid of the page "Salariul".
    in<QPushButton>("BitBtn9")->click();
    ASSERT_TRUE(ui.errors.isEmpty()) << ui.errors.join('|').toStdString();
    auto *grid = in<DBGridEh>("DBGridEh2");
    DM->saldo_data->append();
    QAbstractItemModel *m = grid->model();
    const int r = grid->gridModel()->currentRow();
    DM->saldo_data->field("SD_MONTH").setValue(1);
    m->setData(m->index(r, 1), "01.01." + year, Qt::EditRole);
    m->setData(m->index(r, 2), "31.01." + year, Qt::EditRole);
    m->setData(m->index(r, 3), 5, Qt::EditRole);
    m->setData(m->index(r, 4), 101, Qt::EditRole);
    m->setData(m->index(r, 6), 1000.0, Qt::EditRole);
    EXPECT_TRUE(grid->postRow()) << ui.errors.join('|').toStdString();
    ASSERT_EQ(scalar("select count(*) from saldo_data").toInt(), 1);
    const double rate = scalar(QStringLiteral("select ktapv_ap_value from k_tariff_ap_value where ktapv_ktap=101 and "
                                              "ktapv_date_start<='01.01.%1' and ktapv_date_stop>='31.12.%1'")
                                   .arg(year))
                            .toDouble();
    EXPECT_EQ(scalar("select sd_sum_add from saldo_data").toDouble(), 1000.0 * qRound(rate) / 100);
    EXPECT_EQ(grid->footerText(6), "1 000.00");
}

} // namespace
