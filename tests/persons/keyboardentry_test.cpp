// A person and a month's salary typed into the persons window key by key, as an accountant
// types them: clicks into the middle of empty masked boxes, dates without dots, the row posted
// with the Down key, and what the window shows and asks read from the screen.

#include "app/qtuserinteraction.h"
#include "data/helpers.h"
#include "data/readscope.h"
#include "data/tdm.h"
#include "grid/dbedit.h"
#include "grid/dbgrid.h"
#include "grid/dbgrideh.h"
#include "grid/dbgridmodel.h"
#include "persons/tfpers.h"
#include "records/assuredpersonrules.h"
#include "records/nameaccountrules.h"
#include "records/saldodatarules.h"
#include "tests/persons/personswindow.h"
#include "tests/support/modaldialogs.h"
#include "tests/support/scripteduserinteraction.h"
#include "tests/support/testdatabase.h"
#include "tests/support/typing.h"

#include <QAction>
#include <QApplication>
#include <QHeaderView>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>

namespace {

// A click halfway across a box: on an empty mask, well to the right of its first place.
void clickMiddle(QWidget *w)
{
    QTest::mouseClick(w, Qt::LeftButton, {}, QPoint(w->width() / 2, w->height() / 2));
}

class PersonTyping : public PersonsWindowFixture
{
protected:
    void SetUp() override
    {
        PersonsFixture::SetUp();
        w = openPersonsWindow("2010");
        w->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(w));
    }
    // Clicks into the middle of the box and types there.
    void clickAndType(const char *box, const QString &text)
    {
        auto *e = get<QLineEdit>(box);
        clickMiddle(e);
        typeText(e, text); // diacritics as the Romanian layout delivers them
    }
    ScriptedUserInteraction ui;
};

TEST_F(PersonTyping, MaskedBoxesClickedInTheMiddleTakeEveryDigit)
{
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F12);
    ASSERT_EQ(DM->assured_person->state(), RecordSet::State::Insert);
    clickAndType("DBEdit4", "12345678901");
    clickAndType("DBEdit6", QStringLiteral("ştefănescu"));
    clickAndType("DBEdit7", QStringLiteral("ion"));
    clickAndType("DBEdit1", "2004001234567");
    clickAndType("DBEdit2", "05031980");
    clickAndType("DBEdit9", "17082001");
    EXPECT_EQ(get<DbEdit>("DBEdit2")->displayText(), "05.03.1980");
    get<QAction>("Memorizare1")->trigger();
    ASSERT_TRUE(ui.errors.isEmpty()) << ui.errors.join('|').toStdString();
    EXPECT_EQ(column("select ap_cpas||'/'||ap_idnp||'/'||ap_first_name||'/'||ap_middle_name from assured_person "
                     "where ap_cpas='12345678901'"),
              QStringList{QStringLiteral("12345678901/2004001234567/ŞTEFĂNESCU/ION")});
    EXPECT_EQ(scalar("select ap_birth_dt from assured_person where ap_cpas='12345678901'").toDate(), QDate(1980, 3, 5));
    EXPECT_EQ(scalar("select ap_idnp_dt from assured_person where ap_cpas='12345678901'").toDate(), QDate(2001, 8, 17));
}

TEST_F(PersonTyping, TheCodeSearchBoxesTakeEveryDigitFromAClickInTheMiddle)
{
    clickAndType("MaskEdit2", "33333333333");
    QTest::keyClick(get<QLineEdit>("MaskEdit2"), Qt::Key_Return);
    ASSERT_EQ(DM->assured_person->recordCount(), 1);
    EXPECT_EQ(DM->assured_person->field("ap_middle_name").asString(), "ANA");

    clickAndType("MaskEdit4", "4444444444444");
    QTest::keyClick(get<QLineEdit>("MaskEdit4"), Qt::Key_Return);
    ASSERT_EQ(DM->assured_person->recordCount(), 1);
    EXPECT_EQ(DM->assured_person->field("ap_first_name").asString(), "POPA");
    EXPECT_TRUE(ui.errors.isEmpty()) << ui.errors.join('|').toStdString();
}

TEST_F(PersonTyping, ThePersonListShowsCodesWhole)
{
    get<QPushButton>("BitBtn1")->click();
    auto *list = get<DbGrid>("DBGrid1");
    const int cpas = 3, idnp = 4;
    EXPECT_GE(list->columnWidth(cpas), list->fontMetrics().horizontalAdvance(QString(11, u'0')));
    EXPECT_GE(list->columnWidth(idnp), list->fontMetrics().horizontalAdvance(QString(13, u'0')));
}

enum Column { Luna, DeLa, PinaLa, Zile, Categoria, Functia, Fond, Boala, Individuale, Angajator, Declaratie };

class SalaryTyping : public DataModuleTest
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
        w->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(w));
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
    // Keys go where the user's keys would go: the focused widget.
    void keys(const QString &text)
    {
        for (QChar c : text)
            QTest::keyClick(QApplication::focusWidget(), c.toLatin1());
    }
    void press(Qt::Key key) { QTest::keyClick(QApplication::focusWidget(), key); }
    QString cell(int row, int column) { return grid->model()->index(row, column).data(Qt::DisplayRole).toString(); }
    // January typed cell by cell into the empty grid: month by its first letter, dates
    // without dots, days, category, no profession, the pay fund.
    void typeJanuary()
    {
        grid->setFocus();
        keys("i");
        press(Qt::Key_Tab);
        keys("01012010");
        press(Qt::Key_Tab);
        keys("31012010");
        press(Qt::Key_Tab);
        keys("5");
        press(Qt::Key_Tab);
        keys("101");
        press(Qt::Key_Tab);
        press(Qt::Key_Tab);
        keys("10000");
    }

    ScriptedUserInteraction ui;
    TFPers *w = nullptr;
    DBGridEh *grid = nullptr;
};

TEST_F(SalaryTyping, AMonthTypedKeyByKeyIsSavedByTheDownKey)
{
    typeJanuary();
    press(Qt::Key_Down);
    ASSERT_TRUE(ui.errors.isEmpty()) << ui.errors.join('|').toStdString();
    EXPECT_EQ(column("select sd_month||'/'||sd_zile_n||'/'||cast(sd_ap_category as integer)||'/'||"
                     "cast(sd_paym_fond as integer)||'/'||cast(sd_sum_add as integer)||'/'||"
                     "cast(sd_sum_add_ea as integer) from saldo_data"),
              QStringList{"1/5/101/10000/500/2300"});
    EXPECT_EQ(scalar("select sd_dela_d from saldo_data").toDate(), QDate(2010, 1, 1));
    EXPECT_EQ(scalar("select sd_pina_d from saldo_data").toDate(), QDate(2010, 1, 31));

    // Amounts read in the cells as in the footer: two decimals, digits grouped.
    const int jan = 0;
    EXPECT_EQ(cell(jan, Luna), "Ianuarie");
    EXPECT_EQ(cell(jan, DeLa), "01.01.2010");
    EXPECT_EQ(cell(jan, Fond), "10 000.00");
    EXPECT_EQ(cell(jan, Individuale), "500.00");
    EXPECT_EQ(cell(jan, Angajator), "2 300.00");
    EXPECT_EQ(grid->footerText(Fond), "10 000.00");
}

TEST_F(SalaryTyping, AnImpossibleDateIsRefusedInRomanianInAMessageBox)
{
    QtUserInteraction real;
    setUserInteraction(&real);
    grid->setFocus();
    keys("i");
    press(Qt::Key_Tab);
    keys("31022010");
    QString text, title;
    QStringList buttons, texts;
    whenDialogOpens([&](QDialog *d) {
        auto *box = qobject_cast<QMessageBox *>(d);
        ASSERT_TRUE(box);
        text = box->text();
        title = box->windowTitle();
        for (QAbstractButton *b : box->buttons())
            buttons << b->text();
        texts = dialogTexts(box);
        box->accept();
    });
    press(Qt::Key_Tab);
    setUserInteraction(&ui);
    EXPECT_EQ(text, "'31.02.2010' nu este o dată validă");
    EXPECT_EQ(title, "Evidenta individuala a contributiilor asigurarilor sociale");
    EXPECT_EQ(buttons, QStringList{"OK"});
    EXPECT_TRUE(englishIn(texts).isEmpty()) << englishIn(texts).join('|').toStdString();
    EXPECT_TRUE(DM->saldo_data->field("SD_DELA_D").isNull());
}

TEST_F(SalaryTyping, DeletingTheRowAsksWithDaAndNu)
{
    typeJanuary();
    press(Qt::Key_Down);
    ASSERT_TRUE(ui.errors.isEmpty()) << ui.errors.join('|').toStdString();
    press(Qt::Key_Escape); // the new row below goes
    DM->saldo_data->first();

    QtUserInteraction real;
    setUserInteraction(&real);
    QString text, title;
    QStringList buttons;
    whenDialogOpens([&](QDialog *d) {
        auto *box = qobject_cast<QMessageBox *>(d);
        ASSERT_TRUE(box);
        text = box->text();
        title = box->windowTitle();
        for (QAbstractButton *b : box->buttons())
            buttons << b->text();
        box->button(QMessageBox::No)->click();
    });
    w->findChild<QAction *>("Stergere2")->trigger();
    setUserInteraction(&ui);
    EXPECT_EQ(title, "Confirmare");
    EXPECT_EQ(text, "Confirmati stergerea salariului ?");
    buttons.sort();
    EXPECT_EQ(buttons, (QStringList{"&Da", "&Nu"}));
    EXPECT_EQ(scalar("select count(*) from saldo_data").toInt(), 1); // "Nu" keeps the row
}

} // namespace
