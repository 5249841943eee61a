// The window "Importul salariilor" opened from the persons workspace and driven by keys: a file
// whose pay column is named otherwise, the column taken for the pay fund, the lines imported,
// and the salary page showing the rows.

#include "grid/dbgrideh.h"
#include "grid/dbgridmodel.h"
#include "maintenance/payroll/tfpayrollimport.h"
#include "platform/platform.h"
#include "tests/persons/personswindow.h"
#include "tests/support/modaldialogs.h"
#include "tests/support/scripteduserinteraction.h"
#include "tests/support/spokennames.h"

#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QStackedWidget>
#include <QTableView>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

namespace {

class PayrollImportWindow : public PersonsWindowFixture
{
protected:
    void SetUp() override
    {
        PersonsWindowFixture::SetUp();
        Platform::setDataFolder(data.path());
    }
    void TearDown() override
    {
        Platform::setDataFolder({});
        PersonsWindowFixture::TearDown();
    }
    QTemporaryDir data;
    ScriptedUserInteraction ui;
};

TEST_F(PayrollImportWindow, TheColumnChosenByKeysIsImportedAndTheSalaryPageShowsTheRows)
{
    ui.fileName = data.filePath("martie.csv");
    QFile csv(ui.fileName);
    ASSERT_TRUE(csv.open(QIODevice::WriteOnly));
    csv.write("CPAS;Luna;Suma\n33333333333;3;1000\n55555555555;3;900\n");
    csv.close();
    w = openPersonsWindow("2010");
    get<QPushButton>("BitBtn1")->click(); // every person; ION ANA (33333333333) first
    auto *entry = get<QAction>("Importdinfisier1");
    EXPECT_EQ(entry->text(), "Import din fisier...");
    EXPECT_TRUE(get<QMenu>("Salariul1")->actions().contains(entry));

    QStringList shown;
    whenDialogOpens([&](QDialog *d) {
        auto *window = qobject_cast<TFPayrollImport *>(d);
        EXPECT_TRUE(window);
        EXPECT_EQ(d->windowTitle(), "Importul salariilor");
        const QMap<QString, QString> captions{{"fileEdit", QStringLiteral("Fișierul")},
                                              {"sheetCombo", "Foaia"},
                                              {"yearCombo", "Anul"},
                                              {"columnsTable", QStringLiteral("Coloanele fișierului")},
                                              {"linesTable", QStringLiteral("Rîndurile fișierului")}};
        EXPECT_EQ(buddyCaptions(d), captions);
        EXPECT_EQ(d->findChild<QComboBox *>("yearCombo")->currentText(), "2010");
        auto *counts = d->findChild<QLabel *>("countsLabel");
        auto *importButton = d->findChild<QPushButton *>("importButton");
        shown << counts->text();
        EXPECT_FALSE(importButton->isEnabled());

        auto *pay = d->findChild<QComboBox *>("fieldCombo2");
        EXPECT_EQ(pay->currentText(), QStringLiteral("Nu se importă"));
        pay->setFocus();
        QTest::keyClicks(pay, "Fo");
        EXPECT_EQ(pay->currentText(), "Fond de remunerare");
        shown << counts->text();
        QAbstractItemModel *lines = d->findChild<QTableView *>("linesTable")->model();
        EXPECT_EQ(lines->rowCount(), 2);
        EXPECT_EQ(lines->index(0, 1).data().toString(), "ION ANA");
        EXPECT_EQ(lines->index(0, 5).data().toString(), "1 000.00");
        EXPECT_EQ(lines->index(0, 7).data().toString(), QStringLiteral("rînd nou"));
        EXPECT_EQ(lines->index(1, 7).data().toString(),
                  QStringLiteral("Persoana cu CPAS 55555555555 nu este înregistrată"));
        EXPECT_TRUE(d->findChild<QPushButton *>("printButton")->isEnabled());

        importButton->setFocus();
        QTest::keyClick(importButton, Qt::Key_Space);
        shown << counts->text();
        EXPECT_EQ(lines->index(0, 7).data().toString(), QStringLiteral("există deja"));
        EXPECT_FALSE(importButton->isEnabled());
        auto *close = d->findChild<QPushButton *>("closeButton");
        close->setFocus();
        QTest::keyClick(close, Qt::Key_Space);
    });
    entry->trigger();

    EXPECT_EQ(shown,
              (QStringList{QStringLiteral("Antetul fișierului nu are o coloană de sume (Fond de remunerare sau "
                                          "Concediu medical)"),
                           QStringLiteral("Rînduri: 2; rînduri noi: 1; persoane noi: 0; există deja: 0; refuzate: 1"),
                           QStringLiteral("Rînduri: 2; rînduri noi: 0; persoane noi: 0; există deja: 1; refuzate: 1")}))
        << shown.join('\n').toStdString();
    EXPECT_EQ(ui.notices,
              QStringList{QStringLiteral("Importul s-a încheiat: rînduri scrise 1, dintre care cu persoane noi 0; "
                                         "există deja 0; refuzate 1.")});
    EXPECT_EQ(ui.fileDialogs.size(), 1);
    EXPECT_TRUE(ui.fileDialogs.value(0).endsWith("|Fișiere de salarii (*.csv *.txt *.xlsx *.ods *.CSV *.TXT *.XLSX "
                                                 "*.ODS);;Toate fișierele (*)"));
    // The salary page of ION ANA shows the row of her new declaration of the year.
    EXPECT_EQ(get<QStackedWidget>("PageControl1")->currentIndex(), 2);
    QAbstractItemModel *grid = get<DBGridEh>("DBGridEh2")->gridModel();
    ASSERT_EQ(grid->rowCount(), 1);
    EXPECT_EQ(DM->saldo_data->field("sd_paym_fond").asFloat(), 1000);
    EXPECT_EQ(DM->saldo_data->field("sd_sum_add").asFloat(), 60);
    EXPECT_EQ(scalar("select count(*) from saldo_data s join name_account n on s.sd_na=n.na_id where n.na_ap=3 and "
                     "n.na_year=2010")
                  .toInt(),
              1);
    // The column taken for the pay fund is remembered for the agent's next file.
    EXPECT_TRUE(QFile::exists(data.filePath("salarii.ini")));
}

} // namespace
