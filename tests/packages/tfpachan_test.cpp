// The dialog "Anularea pachetelor electronice" driven as the user would: the list of the
// agent's packages of the year, "Anularea pachetului" on the chosen one, "Închidere".

#include "grid/dbgrid.h"
#include "packages/tfpachan.h"
#include "tests/packages/annulmentfixture.h"

#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>

namespace {

class TFPachAnTest : public AnnulmentFixture
{
protected:
    void SetUp() override
    {
        AnnulmentFixture::SetUp();
        ws.year = "2014";
        packaged(10, 1, 2014, 10);
        monthRow(104, 10, 4, 2014, -1);
        monthRow(108, 10, 8, 2014, -1);
        registered(1, "REV5_1234567_00101_2014T02.RAR", "20.07.2014", 2014, 4, 6);
        registered(2, "REV5_1234567_00301_2014L08.RAR", "10.09.2014", 2014, 8, 8);
        registered(3, "REV5_1234567_00901_2014L09.RAR", "10.10.2014", 2014, 9, 9);
    }
    QString cell(int row, int column)
    {
        QAbstractItemModel *m = grid->model();
        return m->data(m->index(row, column)).toString();
    }
    void open()
    {
        dialog = std::make_unique<TFPachAn>();
        dialog->loadRegistry();
        dialog->show();
        grid = dialog->findChild<DbGrid *>("DBGrid1");
        ASSERT_TRUE(grid);
    }

    std::unique_ptr<TFPachAn> dialog;
    DbGrid *grid = nullptr;
};

TEST_F(TFPachAnTest, ListsThePackagesWithTheirCaptionsAndTypes)
{
    open();
    EXPECT_EQ(dialog->windowTitle(), "Anularea pachetelor electronice");
    auto *label = dialog->findChild<QLabel *>("Label1");
    ASSERT_TRUE(label);
    EXPECT_EQ(label->text(), "Pachete electronice deja formate");
    EXPECT_EQ(label->buddy(), grid);
    EXPECT_FALSE(grid->accessibleName().isEmpty());
    EXPECT_EQ(dialog->findChild<QPushButton *>("BitBtn1")->text(), "În&chidere");
    EXPECT_TRUE(dialog->findChild<QPushButton *>("BitBtn1")->font().bold());
    EXPECT_EQ(dialog->findChild<QPushButton *>("BitBtn2")->text(), "Anularea pachetului");

    QStringList titles;
    for (int c = 0; c < grid->model()->columnCount(); ++c)
        titles << grid->model()->headerData(c, Qt::Horizontal).toString();
    EXPECT_EQ(titles, (QStringList{"DENUMIREA PACHETULUI", "DATA FORMĂRII", "ANUL", "DE LA LUNA ", "PĂNA LA LUNA ",
                                   "TIPUL PACHETULUI"}));
    ASSERT_EQ(grid->model()->rowCount(), 3);
    EXPECT_EQ(cell(0, 0), "REV5_1234567_00101_2014T02.RAR");
    EXPECT_EQ(cell(0, 1), "20.07.2014");
    EXPECT_EQ(cell(0, 3), "4");
    EXPECT_EQ(cell(0, 4), "6");
    EXPECT_EQ(cell(0, 5), "PRIMAR");
    EXPECT_EQ(cell(1, 5), "DE CORECTARE");
    EXPECT_EQ(cell(2, 5), "NEDETERMINAT");
    const QModelIndex first = grid->model()->index(0, 0), second = grid->model()->index(0, 1);
    EXPECT_NE(grid->model()->data(first, Qt::TextAlignmentRole).value<Qt::Alignment>(), Qt::AlignCenter);
    EXPECT_EQ(grid->model()->data(second, Qt::TextAlignmentRole).value<Qt::Alignment>(), Qt::AlignCenter);
}

TEST_F(TFPachAnTest, AnnulsTheChosenPackageAndTellsItsOwner)
{
    const QString filed = archive("Primara", "REV5_1234567_00101_2014T02.RAR");
    open();
    QSignalSpy annulled(dialog.get(), &TFPachAn::packageAnnulled);
    grid->setCurrentIndex(grid->model()->index(1, 0));
    ui.answers = {false};
    dialog->findChild<QPushButton *>("BitBtn2")->click();
    EXPECT_EQ(annulled.count(), 0);
    EXPECT_EQ(grid->model()->rowCount(), 3);

    grid->setCurrentIndex(grid->model()->index(0, 0));
    ui.answers = {true};
    dialog->findChild<QPushButton *>("BitBtn2")->click();
    ASSERT_EQ(annulled.count(), 1);
    EXPECT_EQ(annulled.at(0).at(0).toString(), "REV5_1234567_00101_2014T02.RAR");
    EXPECT_TRUE(ui.errors.isEmpty()) << ui.errors.join('|').toStdString();
    EXPECT_EQ(marks(), (QStringList{"104:0:1", "108:-1:1"}));
    EXPECT_EQ(registry().size(), 2);
    EXPECT_EQ(grid->model()->rowCount(), 2);
    EXPECT_FALSE(QFile::exists(filed));
    EXPECT_TRUE(dialog->isVisible()); // several packages in one visit

    dialog->findChild<QPushButton *>("BitBtn1")->click();
    EXPECT_FALSE(dialog->isVisible());
}

TEST_F(TFPachAnTest, AnEmptyListClearsTheMarksOfTheYear)
{
    exec("delete from t_pachet");
    dialog = std::make_unique<TFPachAn>();
    QSignalSpy cleared(dialog.get(), &TFPachAn::marksCleared);
    dialog->loadRegistry();
    EXPECT_EQ(cleared.count(), 1);
    EXPECT_EQ(marks(), (QStringList{"104:0:1", "108:0:1"}));
    dialog->show();
    dialog->findChild<QPushButton *>("BitBtn2")->click();
    EXPECT_EQ(cleared.count(), 2);
    EXPECT_TRUE(ui.questions.isEmpty());
    EXPECT_EQ(packagedMarkers(), QStringList{"10:0"});
}

} // namespace
