// The monthly rows typed into the grid of the page "Salariul": each row is saved through the
// monthly-row rule when the user leaves it, the footer follows, and a refused row stays.

#include "tests/persons/salarygridfixture.h"
#include "tests/support/spokennames.h"

#include <QApplication>
#include <QComboBox>

namespace {

class SalaryGrid : public SalaryGridFixture
{
protected:
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
    // A screen reader finds the same totals under the grid, each with its column.
    const QStringList totals{"Total",
                             "Total | Luna",
                             "Total: 3 000.00 | Fondul de retribuire a muncii şi concediul medical",
                             "Total: 0.00 | Inclusiv concediul medical",
                             "Total: 180.00 | Contribuţii individuale de asigurare calculate",
                             "Total: 690.00 | Contribuţii datorate de angajator calculate"};
    EXPECT_EQ(footerTexts(w).value("DBGridEh2").join(u'\n').toStdString(), totals.join(u'\n').toStdString());
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
