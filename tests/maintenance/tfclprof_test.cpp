// The "Cautare" dialog driven offscreen: typing the keyword, Enter, choosing a row of the
// grid, and the lookup's transaction ended on every way out.

#include "data/datasource.h"
#include "data/recordset.h"
#include "data/tdm.h"
#include "grid/dbgrid.h"
#include "maintenance/tfclprof.h"
#include "tests/support/scripteduserinteraction.h"
#include "tests/support/spokennames.h"
#include "tests/support/testdatabase.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace {

class LookupDialog : public DataModuleTest
{
protected:
    void SetUp() override
    {
        DataModuleTest::SetUp();
        DM->name_account->createDataSet();
        DM->saldo_data->createDataSet();
    }

    void open(int mode)
    {
        d = std::make_unique<TFClprof>();
        d->LookupMode = qint16(mode);
        d->show();
        QApplication::setActiveWindow(d.get());
        QApplication::processEvents();
    }

    void typeKeyword(const QString &text)
    {
        QLineEdit *e = d->findChild<QLineEdit *>("Edit1");
        e->setFocus();
        for (QChar c : text) {
            QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
            QApplication::sendEvent(e, &press);
        }
    }

    QAbstractItemModel *grid() { return d->findChild<DbGrid *>("DBGrid1")->model(); }
    void press(const char *name) { d->findChild<QPushButton *>(name)->click(); }

    ScriptedUserInteraction ui;
    std::unique_ptr<TFClprof> d;
};

TEST_F(LookupDialog, CaptionsAndColumns)
{
    open(2);
    EXPECT_EQ(d->windowTitle(), "Cautare");
    EXPECT_EQ(d->findChild<QLabel *>("Label1")->text(), QStringLiteral("Conţine în denumire"));
    EXPECT_EQ(d->findChild<QPushButton *>("BitBtn1")->text(), QStringLiteral("&Căutare"));
    EXPECT_EQ(d->findChild<QPushButton *>("BitBtn2")->text(), "Alegere");
    ASSERT_EQ(grid()->columnCount(), 2);
    EXPECT_EQ(grid()->headerData(0, Qt::Horizontal).toString(), "COD");
    EXPECT_EQ(grid()->headerData(1, Qt::Horizontal).toString(), "DENUMIREA");
    EXPECT_EQ(grid()->rowCount(), 0);
}

TEST_F(LookupDialog, TheKeywordBoxAndTheGridAreNamed)
{
    open(2);
    const QMap<QString, QString> keyword{{"Edit1", QStringLiteral("Conţine în denumire")}};
    EXPECT_EQ(buddyCaptions(d.get()), keyword);
    EXPECT_EQ(spokenNames(d.get()), keyword);
    EXPECT_EQ(listNames(d.get()), (QMap<QString, QString>{{"DBGrid1", QStringLiteral("Codurile găsite")}}));
}

TEST_F(LookupDialog, TypedKeywordInCapitalsAndEnterSearch)
{
    open(3);
    typeKeyword(QStringLiteral("director de şcoa"));
    QLineEdit *keyword = d->findChild<QLineEdit *>("Edit1");
    EXPECT_EQ(keyword->text(), QStringLiteral("DIRECTOR DE ŞCOA"));
    QTest::keyClick(keyword, Qt::Key_Return);
    ASSERT_EQ(grid()->rowCount(), 1);
    EXPECT_EQ(grid()->index(0, 0).data().toString(), "134501");
    EXPECT_EQ(grid()->index(0, 0).data(Qt::TextAlignmentRole).value<Qt::Alignment>(), Qt::AlignCenter);
    EXPECT_EQ(grid()->index(0, 1).data().toString(), QStringLiteral("DIRECTOR DE ŞCOALĂ"));
    EXPECT_TRUE(d->isVisible()); // Enter searches, it does not choose
    EXPECT_TRUE(DM->name_account->state() == RecordSet::State::Browse);
}

TEST_F(LookupDialog, EmptyKeywordAsksForOneOrListsAllCategories)
{
    open(2);
    press("BitBtn1");
    EXPECT_EQ(ui.notices, QStringList{"Introduceti cuvintul cheie pentru cautare "});
    EXPECT_EQ(grid()->rowCount(), 0);
    d->LookupMode = 5;
    press("BitBtn1");
    EXPECT_EQ(grid()->rowCount(), 14);
    EXPECT_EQ(grid()->index(0, 0).data().toString(), "101");
    EXPECT_EQ(grid()->index(13, 0).data().toString(), "171");
}

TEST_F(LookupDialog, AlegereWritesTheRowUnderTheCursorAndEndsTheLookup)
{
    open(4);
    typeKeyword("PERSOANE");
    press("BitBtn1");
    ASSERT_GT(grid()->rowCount(), 2);
    EXPECT_TRUE(DM->IBT5->active());
    d->findChild<DbGrid *>("DBGrid1")->setCurrentIndex(grid()->index(2, 1));
    const int code = grid()->index(2, 0).data().toInt();
    press("BitBtn2");
    EXPECT_TRUE(ui.errors.isEmpty()) << ui.errors.join('|').toStdString();
    EXPECT_FALSE(d->isVisible());
    EXPECT_EQ(d->result(), QDialog::Accepted);
    EXPECT_EQ(DM->name_account->field("na_ap_category").asInteger(), code);
    EXPECT_FALSE(DM->IBT5->active());
    EXPECT_FALSE(DM->IBQ5->active());
}

TEST_F(LookupDialog, AlegereBeforeASearchKeepsTheDialogOpen)
{
    open(5);
    press("BitBtn2");
    ASSERT_EQ(ui.errors.size(), 1);
    EXPECT_TRUE(ui.errors[0].contains("'cod'")) << ui.errors[0].toStdString();
    EXPECT_TRUE(d->isVisible());
    EXPECT_EQ(DM->saldo_data->state(), RecordSet::State::Insert);
}

TEST_F(LookupDialog, ClosingCommitsAndClosesTheQuery)
{
    open(4);
    press("BitBtn1");
    EXPECT_TRUE(DM->IBQ5->active());
    QTest::keyClick(d.get(), Qt::Key_Escape);
    EXPECT_FALSE(d->isVisible());
    EXPECT_FALSE(DM->IBT5->active());
    EXPECT_FALSE(DM->IBQ5->active());
    EXPECT_EQ(DM->name_account->state(), RecordSet::State::Browse);
}

TEST_F(LookupDialog, AnUnknownModeOnlyCloses)
{
    for (const char *button : {"BitBtn1", "BitBtn2"}) {
        open(7);
        typeKeyword("DIRECTOR");
        press(button);
        EXPECT_FALSE(d->isVisible()) << button;
        EXPECT_TRUE(ui.errors.isEmpty());
        EXPECT_TRUE(ui.notices.isEmpty());
        EXPECT_EQ(DM->name_account->state(), RecordSet::State::Browse);
        EXPECT_EQ(DM->saldo_data->state(), RecordSet::State::Browse);
    }
}

} // namespace
