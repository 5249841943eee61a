// The forms-printing window driven as a user drives it: its lists, its reports, the forms of a
// package, the renumbering dialog, and its opening from the persons workspace.

#include "grid/dbgrid.h"
#include "grid/dbgrideh.h"
#include "grid/dblookupcombobox.h"
#include "packages/tfpnr.h"
#include "records/detachedhandler.h"
#include "reports/tfluna.h"
#include "persons/tfpers.h"
#include "reports/tftip.h"
#include "platform/platform.h"
#include "tests/reports/formsfixture.h"
#include "tests/reports/sheetfile.h"
#include "tests/support/spokennames.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QScopeGuard>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

namespace {

class FormsWindow : public FormsFixture
{
protected:
    void SetUp() override
    {
        FormsFixture::SetUp();
        person(1, "POPESCU", "ION");
        person(2, "ANDRIES", "MARIA");
        package(11, 101);
        package(12, 102);
        declaration(1, 1, 11);
        declaration(2, 2, 11);
        declaration(3, 2, 12);
        row(1, 1, 1, 1000);
        row(2, 2, 2, 500);
        row(3, 3, 3, 700);
        w = std::make_unique<TFTip>();
        w->show();
    }
    void TearDown() override
    {
        w.reset();
        FormsFixture::TearDown();
    }
    template <class T> T *get(const char *name)
    {
        T *c = w->findChild<T *>(QString::fromLatin1(name));
        EXPECT_TRUE(c) << name;
        return c;
    }
    void click(const char *button) { QTest::mouseClick(get<QPushButton>(button), Qt::LeftButton); }
    int rows(const char *grid) { return get<QAbstractItemView>(grid)->model()->rowCount(); }

    std::unique_ptr<TFTip> w;
};

TEST_F(FormsWindow, HasTheControlsOfItsFormWithTheirCaptions)
{
    EXPECT_EQ(w->objectName(), "FTip");
    EXPECT_EQ(w->windowTitle(), "Tiparul formularelor");
    EXPECT_TRUE(w->isWindow());
    const std::pair<const char *, const char *> buttons[] = {{"BitBtn3", "Lista pachetelor"},
                                                             {"BitBtn15", "Raport pe pachete"},
                                                             {"BitBtn6", "Raport"},
                                                             {"BitBtn4", "Raport pe luni"},
                                                             {"BitBtn1", "În&chidere"},
                                                             {"BitBtn2", "Declaraţia"},
                                                             {"BitBtn5", "Pachet"},
                                                             {"BitBtn18", "Lista persoanelordin pachet"}};
    for (auto [name, caption] : buttons)
        EXPECT_EQ(get<QPushButton>(name)->text(), QString::fromUtf8(caption)) << name;
    EXPECT_EQ(get<QPushButton>("BitBtn1")->focusPolicy(), Qt::NoFocus);
    EXPECT_TRUE(get<QRadioButton>("RadioButton1")->isChecked());
    EXPECT_EQ(get<QRadioButton>("RadioButton2")->text(), "Tipar");
    EXPECT_EQ(get<QCheckBox>("CheckBox1")->text(), "Trimestru");
    EXPECT_FALSE(get<QLineEdit>("Edit1")->isVisible());
    auto *excel = get<QAction>("Excel1");
    EXPECT_FALSE(excel->isChecked());
    EXPECT_EQ(get<QAction>("Modificareanumerelorpachetelor1")->text(), "Modificarea numerelor pachetelor");
    auto *packages = get<QAbstractItemView>("DBGrid3")->model();
    EXPECT_EQ(packages->headerData(0, Qt::Horizontal).toString(), "NR. PACHETULUI");
    EXPECT_EQ(packages->headerData(6, Qt::Horizontal).toString(), "TIP FORMULAR");
    auto *declarations = get<QAbstractItemView>("DBGrid2")->model();
    EXPECT_EQ(declarations->headerData(1, Qt::Horizontal).toString(), "NR. DECLAR");
    EXPECT_EQ(declarations->headerData(7, Qt::Horizontal).toString(), QStringLiteral("CONTRIBUŢII INDIVIDUALE"));
    EXPECT_EQ(spokenNames(w.get()), buddyCaptions(w.get()));
    for (const QString &name : listNames(w.get()))
        EXPECT_FALSE(name.isEmpty());
}

TEST_F(FormsWindow, ListsReportsAndFormsFromTheButtons)
{
    click("BitBtn3");
    ASSERT_EQ(rows("DBGrid3"), 2);
    EXPECT_EQ(rows("DBGrid2"), 0);
    EXPECT_TRUE(ui.reports.isEmpty());
    click("BitBtn18");
    EXPECT_EQ(rows("DBGrid2"), 2);

    // Another package: its declarations are hidden until they are asked for.
    auto *packages = get<DbGrid>("DBGrid3");
    packages->setCurrentIndex(packages->model()->index(1, 0));
    EXPECT_EQ(DM->pachet->recNo(), 1);
    EXPECT_EQ(rows("DBGrid2"), 0);
    click("BitBtn18");
    EXPECT_EQ(rows("DBGrid2"), 1);

    // A double click prints the clicked declaration as "Declaraţia" does.
    packages->setCurrentIndex(packages->model()->index(0, 0));
    click("BitBtn18");
    auto *declarations = get<DbGrid>("DBGrid2");
    const QRect second = declarations->visualRect(declarations->model()->index(1, 2));
    QTest::mouseClick(declarations->viewport(), Qt::LeftButton, {}, second.center());
    QTest::mouseDClick(declarations->viewport(), Qt::LeftButton, {}, second.center());
    ASSERT_EQ(ui.reports.size(), 1) << ui.errors.join('|').toStdString();
    EXPECT_TRUE(shown.last().contains("ANDRIES"));
    EXPECT_EQ(shown.last().count(u'\f'), 1); // that declaration only

    // "Tipar" sends the package to the printer.
    QTest::mouseClick(get<QRadioButton>("RadioButton2"), Qt::LeftButton);
    click("BitBtn5");
    ASSERT_EQ(ui.printed.size(), 1);
    EXPECT_EQ(shown.last().count(u'\f'), 2);

    // A quarter that is not a number prints nothing.
    QTest::mouseClick(get<QCheckBox>("CheckBox1"), Qt::LeftButton);
    auto *quarter = get<QLineEdit>("Edit1");
    EXPECT_TRUE(quarter->isVisible());
    QTest::keyClicks(quarter, "I");
    click("BitBtn2");
    EXPECT_EQ(ui.errors, QStringList{"Indicati trimestrul corect (1 - 4) !"});
    EXPECT_EQ(ui.printed.size(), 1);
    QTest::mouseClick(get<QCheckBox>("CheckBox1"), Qt::LeftButton);
    EXPECT_FALSE(quarter->isVisible());

    // With "Excel" ticked the package list only fills its grid; the reports and the declaration
    // list go to spreadsheets in the folder "Export" instead of the preview.
    Platform::setProgramFolder(db->folder());
    const auto restore = qScopeGuard([] { Platform::setProgramFolder({}); });
    get<QAction>("Excel1")->trigger();
    EXPECT_TRUE(w->excelTicked());
    ui.reports.clear();
    click("BitBtn3");
    EXPECT_TRUE(ui.opened.isEmpty());
    EXPECT_EQ(rows("DBGrid3"), 2);
    click("BitBtn15");
    auto *packageGrid = get<QAbstractItemView>("DBGrid3");
    QTest::mouseClick(packageGrid->viewport(), Qt::LeftButton, {},
                      packageGrid->visualRect(packageGrid->model()->index(0, 0)).center());
    ASSERT_EQ(DM->pachet->field("pl_nr").asInteger(), 101);
    click("BitBtn18");
    click("BitBtn6");
    click("BitBtn4");
    EXPECT_TRUE(ui.reports.isEmpty());
    ASSERT_EQ(ui.opened.size(), 4) << ui.errors.join('|').toStdString();
    const QStringList names{"Raport pe pachete ", "Lista persoanelor din pachet ", "Raport ", "Raport pe luni "};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(QFileInfo(ui.opened[i]).path(), db->folder() + "/Export");
        EXPECT_TRUE(QFileInfo(ui.opened[i]).fileName().startsWith(names[i] + "2024-05-15 ")) << i;
    }
    const SheetFile packageSheet(ui.opened[0]);
    EXPECT_EQ(packageSheet.text("B2"), "PL_NR");
    EXPECT_EQ(packageSheet.text("B3"), "101");
    EXPECT_EQ(packageSheet.type("B3"), "n");
    EXPECT_EQ(packageSheet.maxRow, 4);
    const SheetFile declarationSheet(ui.opened[1]);
    EXPECT_EQ(declarationSheet.text("A2"), "NR");
    EXPECT_EQ(declarationSheet.text("C3"), "POPESCU");
    EXPECT_EQ(declarationSheet.text("F4"), "500");
    EXPECT_EQ(rows("DBGrid2"), 2); // the grid is filled as well
    const SheetFile persons(ui.opened[2]);
    EXPECT_EQ(persons.text("AB2"), "NP");
    EXPECT_EQ(persons.text("AB3"), "ANDRIES MARIA");
    // ANDRIES's two declarations: February's pay fund under COLUMN4 on one, March's under
    // COLUMN5 on the other.
    EXPECT_TRUE((persons.text("D3") == "500" && persons.text("E4") == "700")
                || (persons.text("D4") == "500" && persons.text("E3") == "700"));
    EXPECT_FALSE(persons.has("C3"));
    EXPECT_EQ(persons.text("C5"), "1000");
    const SheetFile months(ui.opened[3]);
    EXPECT_EQ(months.row(2).size(), 7);
    EXPECT_EQ(months.text("A3"), "Ianuarie");
    EXPECT_EQ(months.text("B3"), "1000");
    EXPECT_EQ(months.text("G5"), "1");
    EXPECT_FALSE(months.has("A6"));
    EXPECT_FALSE(DM->CDS->active());

    click("BitBtn1");
    EXPECT_FALSE(w->isVisible());
}

TEST_F(FormsWindow, RenumberingDialogSavesTheTypedNumberAndTheListIsReadAgain)
{
    bool seen = false;
    QTimer::singleShot(0, [&] {
        auto *d = qobject_cast<TFPnr *>(QApplication::activeModalWidget());
        if (!d)
            return;
        seen = true;
        EXPECT_EQ(d->windowTitle(), "Modificarea numerelor la pachete");
        auto *grid = d->findChild<DBGridEh *>("DBGridEh2");
        EXPECT_EQ(grid->footerText(0), "Total");
        EXPECT_EQ(grid->footerText(2), "3");
        EXPECT_EQ(footerTexts(d), (QMap<QString, QStringList>{{"DBGridEh2",
                                                              {"Total", "Total | NUMĂRUL EXISTENT AL PACHETULUI",
                                                               "Total: 3 | NUMĂRUL DE DECLARAŢII ÎN PACHET"}}}));
        EXPECT_EQ(grid->model()->headerData(1, Qt::Horizontal).toString(), QStringLiteral("NUMĂRUL NOU AL PACHETULUI"));
        grid->setFocus();
        grid->setCurrentIndex(grid->model()->index(0, 1)); // package 101
        QTest::keyClick(grid, '7');
        if (QWidget *editor = grid->activeEditor())
            QTest::keyClicks(editor, "00");
        QTest::mouseClick(d->findChild<QPushButton *>("BitBtn1"), Qt::LeftButton);
    });
    get<QAction>("Modificareanumerelorpachetelor1")->trigger();
    EXPECT_TRUE(seen);
    EXPECT_EQ(ui.notices, QStringList{"OK"}) << ui.errors.join('|').toStdString();
    EXPECT_EQ(scalar("select pl_nr from packlabel where pl_id=11").toInt(), 700);
    EXPECT_TRUE(DM->pachet->locate("pl_nr", 700)); // the list shows the new number
}

TEST_F(FormsWindow, OpensFromThePersonsWorkspaceWithBothListsEmptied)
{
    click("BitBtn3");
    click("BitBtn18");
    w->hide();
    FTip = w.get();
    {
        TFPers pers;
        pers.findChild<QComboBox *>("ComboBox1")->setCurrentText("2010");
        auto *entry = pers.findChild<QAction *>("iparulformularelor1");
        ASSERT_TRUE(entry);
        entry->trigger();
    }
    FTip = nullptr;
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(get<QLabel>("Label1")->text(), "Anul 2010");
    EXPECT_EQ(rows("DBGrid3"), 0);
    EXPECT_EQ(rows("DBGrid2"), 0);
}

// The monthly print from the persons workspace: the month dialog offers the month of the current
// monthly row, the user chooses another, and the form of that month is shown.
TEST_F(FormsWindow, MonthlyDeclarationAsksForTheMonthInItsDialog)
{
    LoadClassifier(DM->k_month);
    row(4, 1, 3, 800);
    TFPers pers;
    pers.findChild<QComboBox *>("ComboBox1")->setCurrentText("2010");
    const std::pair<RecordSet *, const char *> sets[] = {{DM->assured_person, "assured_person where ap_id=1"},
                                                         {DM->name_account, "name_account where na_id=1"},
                                                         {DM->saldo_data,
                                                          "saldo_data where sd_na=1 order by sd_month"}};
    for (auto [set, from] : sets) {
        DetachedHandler a(set->beforePost), b(set->afterScroll), c(set->afterInsert);
        ReadScope read(DM->IBQ1, QStringLiteral("select * from ") + QString::fromLatin1(from));
        CopyToMemTable(read.query(), set, 3);
    }
    ASSERT_EQ(DM->saldo_data->field("SD_MONTH").asInteger(), 1);

    bool seen = false;
    QTimer::singleShot(0, [&] {
        auto *d = qobject_cast<TFLuna *>(QApplication::activeModalWidget());
        if (!d)
            return;
        seen = true;
        EXPECT_EQ(d->windowTitle(), "Tiparirea declaratiei lunare");
        auto *month = d->findChild<DbLookupComboBox *>("DBLookupComboBox1");
        EXPECT_EQ(month->currentText(), "Ianuarie"); // the month of the current row
        month->setFocus();
        for (int i = 0; i < 12 && month->currentText() != "Martie"; ++i)
            QTest::keyClick(month, Qt::Key_Down);
        QTest::mouseClick(d->findChild<QPushButton *>("BitBtn1"), Qt::LeftButton);
    });
    auto *entry = pers.findChild<QAction *>("ipariredeclaratielunara1");
    ASSERT_TRUE(entry);
    EXPECT_EQ(entry->text(), "Tiparire declaratie lunara");
    entry->trigger();
    EXPECT_TRUE(seen);
    ASSERT_EQ(ui.reports.size(), 1) << ui.errors.join('|').toStdString();
    EXPECT_EQ(DM->Temp->field("km_rf").asInteger(), 3);
    EXPECT_EQ(lineWith(shown.last(), "Total"), "Total 800 80 48 184");
    EXPECT_FALSE(shown.last().contains("Ianuarie"));
    EXPECT_EQ(pers.findChild<QAction *>("iparire1")->text(), "&Tiparire declaratie lunara");
}

} // namespace
