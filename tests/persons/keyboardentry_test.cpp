// A person and a month's salary typed into the persons window key by key, as an accountant
// types them: clicks into the middle of empty masked boxes, dates without dots, the row posted
// with the Down key, and what the window shows and asks read from the screen.

#include "app/qtuserinteraction.h"
#include "grid/dbedit.h"
#include "grid/dbgrid.h"
#include "tests/persons/personswindow.h"
#include "tests/persons/salarygridfixture.h"
#include "tests/support/modaldialogs.h"
#include "tests/support/typing.h"

#include <QAction>
#include <QApplication>
#include <QHeaderView>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>

namespace {

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
        clickInTheMiddle(e);
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

class SalaryTyping : public SalaryGridFixture
{
protected:
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
    // What the next message box showed; the button given answers it.
    struct Box {
        QString text, title;
        QStringList buttons, texts;
    };
    static void readNextBox(Box &seen, QMessageBox::StandardButton answer)
    {
        whenDialogOpens([&seen, answer](QDialog *d) {
            auto *box = qobject_cast<QMessageBox *>(d);
            ASSERT_TRUE(box);
            seen.text = box->text();
            seen.title = box->windowTitle();
            for (QAbstractButton *b : box->buttons())
                seen.buttons << b->text();
            seen.texts = dialogTexts(box);
            box->button(answer)->click();
        });
    }
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
    // Wide enough for a year's sums.
    for (int c : {Fond, Boala, Individuale, Angajator})
        EXPECT_GE(grid->columnWidth(c), grid->fontMetrics().horizontalAdvance(QStringLiteral("1 000 000.00"))) << c;
}

TEST_F(SalaryTyping, AnImpossibleDateIsRefusedInRomanianInAMessageBox)
{
    QtUserInteraction real;
    setUserInteraction(&real);
    grid->setFocus();
    keys("i");
    press(Qt::Key_Tab);
    keys("31022010");
    Box refusal;
    readNextBox(refusal, QMessageBox::Ok);
    press(Qt::Key_Tab);
    setUserInteraction(&ui);
    EXPECT_EQ(refusal.text, "'31.02.2010' nu este o dată validă");
    EXPECT_EQ(refusal.title, "Evidenta individuala a contributiilor asigurarilor sociale");
    EXPECT_EQ(refusal.buttons, QStringList{"OK"});
    EXPECT_TRUE(englishIn(refusal.texts).isEmpty()) << englishIn(refusal.texts).join('|').toStdString();
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
    Box question;
    readNextBox(question, QMessageBox::No);
    w->findChild<QAction *>("Stergere2")->trigger();
    setUserInteraction(&ui);
    EXPECT_EQ(question.title, "Confirmare");
    EXPECT_EQ(question.text, "Confirmati stergerea salariului ?");
    question.buttons.sort();
    EXPECT_EQ(question.buttons, (QStringList{"&Da", "&Nu"}));
    EXPECT_EQ(scalar("select count(*) from saldo_data").toInt(), 1); // "Nu" keeps the row
}

} // namespace
