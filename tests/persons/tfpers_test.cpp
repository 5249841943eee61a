// The persons window driven as a user drives it: typing into the search boxes and the pages,
// the page keys, the menu entries and Esc, over a real database.

#include "data/helpers.h"
#include "data/tdm.h"
#include "grid/dbedit.h"
#include "grid/dbgrid.h"
#include "grid/dbgridcolumn.h"
#include "grid/dbgrideh.h"
#include "grid/dblookupcombobox.h"
#include "maintenance/tfclprof.h"
#include "persons/tfpers.h"
#include "platform/platform.h"
#include "records/assuredpersonrules.h"
#include "tests/support/scripteduserinteraction.h"
#include "tests/support/testclock.h"
#include "tests/persons/personsfixture.h"
#include "tests/persons/personswindow.h"
#include "tests/support/spokennames.h"
#include "tests/support/testdatabase.h"

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QStackedWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

namespace {

class PersonsWindow : public PersonsWindowFixture
{
protected:
    void SetUp() override
    {
        PersonsFixture::SetUp();
        exec("update assured_person set ap_birth_dt='05.03.1980', ap_doc_type=1 where ap_id=3");

        w = new TFPers;
        FPers = w;
        w->show();
        w->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(w));
    }
    QStringList listed()
    {
        QStringList out;
        RecordSet *p = DM->assured_person;
        for (int r = 0; r < p->recordCount(); ++r)
            out << p->displayTextAt(r, 11) + u' ' + p->displayTextAt(r, 12);
        return out;
    }
    // Types into a box and presses Enter there.
    void typeAndEnter(const char *box, const QString &text)
    {
        auto *e = get<QLineEdit>(box);
        e->setFocus();
        e->clear();
        QTest::keyClicks(e, text);
        QTest::keyClick(e, Qt::Key_Return);
    }
    // A key pressed wherever the focus is.
    void press(int key)
    {
        QWidget *f = QApplication::focusWidget();
        ASSERT_TRUE(f);
        QTest::keyClick(f, Qt::Key(key));
    }
    int page() { return get<QStackedWidget>("PageControl1")->currentIndex(); }
    bool bold(const char *button) { return get<QPushButton>(button)->font().bold(); }

    ScriptedUserInteraction ui;
};

TEST_F(PersonsWindow, OpensWithItsCaptionControlsAndMenus)
{
    EXPECT_EQ(w->windowTitle(), "Persoane asigurate");
    EXPECT_EQ(QApplication::focusWidget(), get<QLineEdit>("MaskEdit1"));
    EXPECT_TRUE(bold("BitBtn7"));
    EXPECT_FALSE(bold("BitBtn8") || bold("BitBtn9"));
    EXPECT_EQ(page(), 0);
    EXPECT_EQ(w->selectedYear(), QString::number(TestClock::today().year()));
    const std::pair<const char *, const char *> entries[] = {
        {"Adaugire1", "&Nou"}, {"Memorizare1", "&Memorizare"}, {"Revocare1", "&Revocare"}, {"stergere1", "&Stergere"},
        {"iparire1", "&Tiparire declaratie lunara"}, {"Memorizare2", "&Memorizare"}, {"Revocare2", "&Revocare"},
        {"Stergere4", "&Stergere"}, {"Adaugire2", "&Nou"}, {"Memorizare3", "&Memorizare"}, {"Primara1", "Primara"},
        {"Decorectare1", "De corectare"}, {"Recalcul1", "Recalcul"}, {"Revocare3", "&Revocare"},
        {"Stergere2", "&Stergere"}, {"Formareapachetelor1", "&Formarea pachetelor"},
        {"iparulformularelor1", "&Tiparul formularelor"},
        {"Formareapachetuluielectronic1", "Formarea &pachetului electronic"},
        {"Anulareapachetuluielectronic1", "Anularea pachetului electronic"},
        {"Verificareapachetuluielectronic1", "Verificarea pachetului electronic"},
        {"Calculareaautomata1", "&Calcularea automata"}};
    for (const auto &[name, text] : entries) {
        auto *a = get<QAction>(name);
        ASSERT_TRUE(a);
        EXPECT_EQ(a->text(), QString::fromUtf8(text)) << name;
        EXPECT_TRUE(a->isEnabled()) << name;
    }
    EXPECT_TRUE(get<QAction>("Calculareaautomata1")->isChecked());
    EXPECT_TRUE(w->autoCalculation());
    EXPECT_EQ(get<QPushButton>("BitBtn8")->text(), QStringLiteral("Pagina De&claraţia"));
    EXPECT_EQ(get<QPushButton>("BitBtn4")->text(), QStringLiteral("În&chidere"));

    auto *grid = get<DBGridEh>("DBGridEh2");
    ASSERT_EQ(grid->gridColumnCount(), 11);
    EXPECT_EQ(grid->column(0)->footerText(), "Total");
    EXPECT_EQ(grid->column(1)->groupTitle(), QStringLiteral("Perioada de muncă"));
    EXPECT_EQ(grid->column(2)->groupTitle(), QStringLiteral("Perioada de muncă"));
    EXPECT_EQ(grid->column(6)->footerSumField(), "sd_paym_fond_calc");
    EXPECT_EQ(grid->column(7)->footerKind(), DBGridColumn::FooterKind::Sum);
    EXPECT_TRUE(grid->column(10)->isReadOnly());
    EXPECT_EQ(grid->column(10)->contextMenu(), get<QMenu>("PopupMenu1"));
    EXPECT_EQ(grid->column(0)->contextMenu(), get<QMenu>("PopupMenu2"));

    get<QPushButton>("BitBtn4")->click();
    EXPECT_FALSE(w->isVisible());
}

TEST_F(PersonsWindow, CreationEmptiesThePackageListAndMakesTheYearTheWorkingYear)
{
    RecordSet *packages = DM->pachet;
    packages->addField("pn", FieldType::Integer);
    packages->createDataSet();
    packages->appendValues({7});
    packages->endAppendValues();
    ASSERT_EQ(packages->recordCount(), 1);
    ASSERT_FALSE(DM->rev->active());
    DM->workingYear = "0";
    TFPers other;
    EXPECT_TRUE(packages->active());
    EXPECT_EQ(packages->recordCount(), 0);
    EXPECT_FALSE(DM->rev->active()); // a closed list stays closed
    EXPECT_EQ(DM->workingYear, other.selectedYear());
    EXPECT_EQ(DM->workingYear, w->selectedYear());
}

TEST_F(PersonsWindow, EnterInANameBoxSearchesByPrefixInCapitals)
{
    get<QLineEdit>("MaskEdit2")->setText("123");
    typeAndEnter("MaskEdit1", "ion");
    EXPECT_EQ(get<QLineEdit>("MaskEdit1")->text(), "ION");
    EXPECT_EQ(listed(), (QStringList{"ION ANA", "ION PETRU", "IONESCU MARIA"}));
    EXPECT_TRUE(get<QLineEdit>("MaskEdit2")->text().trimmed().isEmpty());
    EXPECT_EQ(get<DbGrid>("DBGrid1")->model()->rowCount(), 3);

    typeAndEnter("MaskEdit3", "p");
    EXPECT_EQ(listed(), QStringList{"ION PETRU"}); // both boxes must match
    EXPECT_TRUE(ui.errors.isEmpty()) << ui.errors.join('|').toStdString();
}

TEST_F(PersonsWindow, CodeSearchesRefuseTheWrongLength)
{
    typeAndEnter("MaskEdit1", "ION");
    typeAndEnter("MaskEdit2", "12345abc67890");
    EXPECT_EQ(get<QLineEdit>("MaskEdit2")->text().trimmed(), "1234567890"); // digits only
    EXPECT_EQ(ui.errors, QStringList{"CPAS trebue sa fie din 11 cifre !"});
    EXPECT_EQ(listed().size(), 3);
    EXPECT_EQ(get<QLineEdit>("MaskEdit1")->text(), "ION"); // nothing cleared

    typeAndEnter("MaskEdit2", "44444444444");
    EXPECT_EQ(listed(), QStringList{"POPA ION"});
    EXPECT_TRUE(get<QLineEdit>("MaskEdit1")->text().isEmpty());

    typeAndEnter("MaskEdit4", "333");
    EXPECT_EQ(ui.errors.last(), "IDNP trebue sa fie din 13 cifre !");
    EXPECT_EQ(listed(), QStringList{"POPA ION"});
    typeAndEnter("MaskEdit4", "3333333333333");
    EXPECT_EQ(listed(), QStringList{"ION ANA"});
    EXPECT_TRUE(get<QLineEdit>("MaskEdit2")->text().trimmed().isEmpty());

    // The button ignores the IDNP box when no name is given: everybody of the agent.
    get<QPushButton>("BitBtn1")->click();
    EXPECT_EQ(listed().size(), 4);
}

TEST_F(PersonsWindow, PageKeysSwitchPagesExceptInThePersonList)
{
    typeAndEnter("MaskEdit1", "");
    get<QLineEdit>("MaskEdit1")->setFocus();
    press(Qt::Key_PageUp);
    EXPECT_EQ(page(), 0);
    press(Qt::Key_PageDown);
    EXPECT_EQ(page(), 1);
    EXPECT_TRUE(bold("BitBtn8"));
    EXPECT_FALSE(bold("BitBtn7"));
    EXPECT_EQ(QApplication::focusWidget(), get<QWidget>("DBLookupComboBox3"));
    EXPECT_EQ(Platform::activeKeyboardLayout(), "00000409");
    press(Qt::Key_PageDown);
    EXPECT_EQ(page(), 2);
    EXPECT_TRUE(bold("BitBtn9"));
    EXPECT_EQ(QApplication::focusWidget(), get<QWidget>("DBGridEh2"));
    press(Qt::Key_PageDown); // nothing after "Salariul"
    EXPECT_EQ(page(), 2);
    press(Qt::Key_PageUp);
    EXPECT_EQ(page(), 1);
    press(Qt::Key_PageUp);
    EXPECT_EQ(page(), 0);
    EXPECT_EQ(QApplication::focusWidget(), get<QWidget>("DBEdit4"));
    EXPECT_EQ(Platform::activeKeyboardLayout(), "00000418");
    EXPECT_TRUE(ui.errors.isEmpty()) << ui.errors.join('|').toStdString();

    // In the person list the keys move in the list; F12 does nothing.
    auto *list = get<DbGrid>("DBGrid1");
    list->setFocus();
    press(Qt::Key_PageDown);
    press(Qt::Key_F12);
    EXPECT_EQ(page(), 0);
    EXPECT_EQ(DM->assured_person->state(), RecordSet::State::Browse);
    EXPECT_EQ(DM->assured_person->recNo(), 3); // the last person
}

TEST_F(PersonsWindow, DeclarationPageWithoutAPersonShowsTheRefusal)
{
    get<QPushButton>("BitBtn8")->click();
    EXPECT_EQ(ui.errors, QStringList{"Introduceti datele despre persoana sau cautati persoana !"});
    EXPECT_EQ(page(), 1);
}

TEST_F(PersonsWindow, F12StartsANewPersonOnThePageDate)
{
    typeAndEnter("MaskEdit1", "");
    press(Qt::Key_PageDown);
    ASSERT_EQ(page(), 1);
    press(Qt::Key_F12);
    EXPECT_EQ(DM->assured_person->state(), RecordSet::State::Insert);
    EXPECT_EQ(DM->assured_person->field("ap_sex").asString(), "M");
    EXPECT_EQ(page(), 0);
    EXPECT_TRUE(bold("BitBtn8")); // the bold button is left alone
    EXPECT_EQ(QApplication::focusWidget(), get<QWidget>("DBEdit4"));
    EXPECT_EQ(Platform::activeKeyboardLayout(), "00000418");
}

TEST_F(PersonsWindow, ANewPersonTypedInIsSavedByMemorizare)
{
    get<QAction>("Adaugire1")->trigger();
    ASSERT_EQ(DM->assured_person->state(), RecordSet::State::Insert);
    auto type = [this](const char *name, const QString &text) {
        auto *e = get<DbEdit>(name);
        e->setFocus();
        e->home(false);
        QTest::keyClicks(e, text);
    };
    type("DBEdit4", "12345678901");
    type("DBEdit6", QStringLiteral("popescu"));
    type("DBEdit7", QStringLiteral("ion"));
    type("DBEdit2", "01021980");
    EXPECT_EQ(get<DbEdit>("DBEdit6")->text(), "POPESCU");
    get<QAction>("Memorizare1")->trigger();
    EXPECT_TRUE(ui.errors.isEmpty()) << ui.errors.join('|').toStdString();
    EXPECT_EQ(DM->assured_person->state(), RecordSet::State::Browse);
    EXPECT_EQ(column("select ap_first_name||'/'||ap_middle_name||'/'||ap_sex||'/'||cast(ap_ea as integer) from assured_person "
                     "where ap_cpas='12345678901'"),
              QStringList{"POPESCU/ION/M/1"});
    EXPECT_EQ(scalar("select ap_birth_dt from assured_person where ap_cpas='12345678901'").toDate(),
              QDate(1980, 2, 1));
}

TEST_F(PersonsWindow, RevocareDropsTheNewPerson)
{
    typeAndEnter("MaskEdit1", "POPA");
    get<QAction>("Adaugire1")->trigger();
    get<QAction>("Revocare1")->trigger();
    EXPECT_EQ(DM->assured_person->state(), RecordSet::State::Browse);
    EXPECT_EQ(listed(), QStringList{"POPA ION"});
}

TEST_F(PersonsWindow, EscClearsDatesAndTheDocumentTypeInEdit)
{
    typeAndEnter("MaskEdit4", "3333333333333");
    ASSERT_EQ(listed(), QStringList{"ION ANA"});
    RecordSet *p = DM->assured_person;
    ASSERT_FALSE(p->field("ap_birth_dt").isNull());
    auto *birth = get<DbEdit>("DBEdit2");
    birth->setFocus();
    press(Qt::Key_Escape);
    EXPECT_EQ(p->state(), RecordSet::State::Edit);
    EXPECT_TRUE(p->field("ap_birth_dt").isNull());
    EXPECT_FALSE(birth->text().contains(u'1'));

    auto *type = get<DbLookupComboBox>("DBLookupComboBox1");
    type->setFocus();
    press(Qt::Key_Escape);
    EXPECT_TRUE(p->field("ap_doc_type").isNull());
    p->cancel();

    // An empty date stays empty, but the record goes into editing all the same.
    get<DbEdit>("DBEdit9")->setFocus();
    press(Qt::Key_Escape);
    EXPECT_EQ(p->state(), RecordSet::State::Edit);
    EXPECT_TRUE(p->field("ap_idnp_dt").isNull());

    // The declaration's dates clear the declaration's field.
    get<QStackedWidget>("PageControl1")->setCurrentIndex(1);
    get<DbEdit>("DBEdit14")->setFocus();
    press(Qt::Key_Escape);
    EXPECT_TRUE(DM->name_account->isEditing());
    EXPECT_TRUE(DM->name_account->field("na_public_d").isNull());
    EXPECT_TRUE(ui.errors.isEmpty()) << ui.errors.join('|').toStdString();
}

TEST_F(PersonsWindow, ChangingTheYearReloadsTheDeclaration)
{
    auto *years = get<QComboBox>("ComboBox1");
    exec("insert into name_account (na_id, na_ap, na_year) values(10,3,2008)");
    typeAndEnter("MaskEdit4", "3333333333333");
    EXPECT_TRUE(DM->name_account->isEmpty()); // none this year
    EXPECT_FALSE(get<QCheckBox>("CheckBox1")->isHidden());
    years->setCurrentIndex(years->findText("2008"));
    EXPECT_EQ(DM->name_account->recordCount(), 1);
    EXPECT_TRUE(get<QCheckBox>("CheckBox1")->isHidden());
    EXPECT_EQ(w->selectedYear(), "2008");

    // Leaving the box makes it the working year and loads the categories of that year.
    years->setFocus();
    get<QLineEdit>("MaskEdit1")->setFocus();
    EXPECT_EQ(DM->workingYear, "2008");
    EXPECT_TRUE(DM->k_tariff_ap->active());
    EXPECT_GT(DM->k_tariff_ap_value->recordCount(), 0);
}

TEST_F(PersonsWindow, F9InTheSalaryGridLooksUpOnlyCategoryAndProfession)
{
    get<QPushButton>("BitBtn9")->click();
    ASSERT_EQ(page(), 2);
    auto *grid = get<DBGridEh>("DBGridEh2");
    QList<int> modes;
    QList<bool> readsOpen;
    auto f9 = [&](int column) {
        grid->setCurrentColumn(column);
        DM->IBT5->startTransaction();
        QTimer::singleShot(0, [&] {
            if (auto *d = qobject_cast<TFClprof *>(QApplication::activeModalWidget())) {
                modes << d->LookupMode;
                readsOpen << DM->IBT5->active();
                d->reject();
            }
        });
        QTest::keyClick(grid, Qt::Key_F9);
        QApplication::processEvents();
        DM->IBT5->commitIfActive();
    };
    f9(5); // "Codul funcţiei"
    EXPECT_EQ(Platform::activeKeyboardLayout(), "00000418");
    f9(4); // "Categoria persoanei angajate"
    f9(6);
    f9(0);
    EXPECT_EQ(modes, (QList<int>{3, 5}));
    EXPECT_EQ(readsOpen, (QList<bool>{false, false})); // IBT5 committed before the dialog

    // In the declaration's code boxes: the profession lookup leaves IBT5 alone, the category
    // lookup commits it.
    get<QStackedWidget>("PageControl1")->setCurrentIndex(1);
    get<QWidget>("Panel8")->show();
    for (const char *box : {"DBEdit15", "DBLookupComboBox4", "DBEdit21", "DBLookupComboBox2"}) {
        Platform::activateKeyboardLayout("00000409");
        DM->IBT5->startTransaction();
        QTimer::singleShot(0, [&] {
            if (auto *d = qobject_cast<TFClprof *>(QApplication::activeModalWidget())) {
                modes << d->LookupMode;
                readsOpen << DM->IBT5->active();
                d->reject();
            }
        });
        QTest::keyClick(get<QWidget>(box), Qt::Key_F9);
        QApplication::processEvents();
        DM->IBT5->commitIfActive();
        EXPECT_EQ(Platform::activeKeyboardLayout(), "00000418") << box;
    }
    EXPECT_EQ(modes, (QList<int>{3, 5, 2, 2, 4, 4}));
    EXPECT_EQ(readsOpen, (QList<bool>{false, false, true, true, false, false}));
    EXPECT_TRUE(ui.errors.isEmpty()) << ui.errors.join('|').toStdString();
}

// The box's name as a screen reader gets it. A combo box names itself by its current item on
// some platforms; its caption is then the label it is labelled by.
QString spokenCaption(QWidget *w)
{
    QAccessibleInterface *i = QAccessible::queryAccessibleInterface(w);
    if (!i)
        return {};
    if (qobject_cast<QComboBox *>(w)) {
        const auto labels = i->relations(QAccessible::Label);
        return labels.isEmpty() ? QString() : labels.first().first->text(QAccessible::Name);
    }
    return i->text(QAccessible::Name);
}

TEST_F(PersonsWindow, EveryInputBoxAndGridIsNamedByItsCaption)
{
    const std::pair<const char *, const char *> captions[] = {
        {"MaskEdit1", "Nume"}, {"MaskEdit3", "Prenume"}, {"MaskEdit2", "CPAS"}, {"MaskEdit4", "IDNP"},
        {"ComboBox1", "Anul"}, {"DBGrid1", "Persoane"},
        {"DBEdit4", "CPAS"}, {"DBEdit6", "Numele"}, {"DBEdit7", "Prenumele"}, {"DBEdit5", "Patronimicul"},
        {"DBEdit1", "IDNP"}, {"DBEdit2", "Data naşterii"}, {"DBLookupComboBox1", "Tipul docum."},
        {"DBEdit8", "Eliberat"}, {"DBEdit9", "Data eliberării"}, {"DBEdit10", "Seria"}, {"DBEdit11", "Numărul"},
        {"DBEdit3", "Cod FOSK"}, {"DBEdit12", "IDNO(C.F.)"}, {"DBEdit13", "Denumirea"},
        {"DBLookupComboBox3", "Tip formular"}, {"DBEdit14", "de la "}, {"DBCheckBox1", "Serviciul public"},
        {"CheckBox1", "Completarea automata"}, {"DBEdit19", "Începutul"}, {"DBEdit20", "Sfîrşitul"},
        {"DBLookupComboBox2", "Categoria persoanei asigurate:"}, {"DBEdit21", "Codul categoriei persoanei asigurate"},
        {"DBLookupComboBox4", "Funcţia  persoanei asigurate:"}, {"DBEdit15", "Codul funcţiei persoanei asigurate"},
        {"DBGridEh2", "Salariul"}};
    QStringList expected;
    for (const auto &[name, caption] : captions) {
        expected << QString::fromLatin1(name);
        auto *box = get<QWidget>(name);
        ASSERT_TRUE(box);
        EXPECT_EQ(spokenCaption(box).toStdString(), caption) << name;
    }
    // Every box of the window is in the list: a box added without a caption fails here. The
    // inner parts of combo boxes and grids (their editors and pop-up lists) are theirs.
    QStringList walked;
    for (QWidget *c : w->findChildren<QWidget *>()) {
        const bool box = qobject_cast<QLineEdit *>(c) || qobject_cast<QComboBox *>(c) || qobject_cast<QCheckBox *>(c)
                         || qobject_cast<QAbstractItemView *>(c);
        bool inner = false;
        for (QWidget *p = c->parentWidget(); p && p != w; p = p->parentWidget())
            inner = inner || qobject_cast<QComboBox *>(p) || qobject_cast<QAbstractItemView *>(p);
        if (box && !inner)
            walked << c->objectName();
    }
    walked.sort();
    expected.sort();
    EXPECT_EQ(walked.join(u' ').toStdString(), expected.join(u' ').toStdString());
    // Under the salary grid a reader finds its totals, each described by its column's title.
    const QStringList totals{"Total",
                             "Total | Luna",
                             "Total: 0.00 | Fondul de retribuire a muncii şi concediul medical",
                             "Total: 0.00 | Inclusiv concediul medical",
                             "Total: 0.00 | Contribuţii individuale de asigurare calculate",
                             "Total: 0.00 | Contribuţii datorate de angajator calculate"};
    EXPECT_EQ(footerTexts(w).value("DBGridEh2").join(u'\n').toStdString(), totals.join(u'\n').toStdString());
}

TEST_F(PersonsWindow, TabWalksTheBoxesInReadingOrder)
{
    auto walk = [this](const char *from, int steps) {
        get<QWidget>(from)->setFocus();
        QStringList seen{QApplication::focusWidget()->objectName()};
        for (int i = 0; i < steps; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            seen << QApplication::focusWidget()->objectName();
        }
        return seen;
    };
    // The page "Date", on to the page buttons and round to the search bar (the close button and
    // the agent's read-only boxes are no tab stops).
    EXPECT_EQ(walk("DBEdit4", 20),
              (QStringList{"DBEdit4", "DBEdit6", "DBEdit7", "DBEdit5", "DBEdit1", "DBEdit2", "DBLookupComboBox1",
                           "DBEdit8", "DBEdit9", "DBEdit10", "DBEdit11", "BitBtn7", "BitBtn8", "BitBtn9", "MaskEdit1",
                           "MaskEdit3", "MaskEdit2", "MaskEdit4", "BitBtn1", "ComboBox1", "DBGrid1"}));

    // The page "Declaratia" with the period panel shown.
    get<QStackedWidget>("PageControl1")->setCurrentIndex(1);
    get<QCheckBox>("CheckBox1")->show();
    get<QWidget>("Panel8")->show();
    EXPECT_EQ(walk("DBLookupComboBox3", 10),
              (QStringList{"DBLookupComboBox3", "DBEdit14", "DBCheckBox1", "CheckBox1", "DBEdit19", "DBEdit20",
                           "DBEdit21", "DBLookupComboBox2", "DBEdit15", "DBLookupComboBox4", "BitBtn7"}));
    EXPECT_TRUE(ui.errors.isEmpty()) << ui.errors.join('|').toStdString();
}

TEST_F(PersonsWindow, TheCheckOfAnElectronicPackageAsksForTheArchiveInPrimara)
{
    QTemporaryDir program;
    Platform::setProgramFolder(program.path());
    get<QAction>("Verificareapachetuluielectronic1")->trigger();
    Platform::setProgramFolder({});
    ASSERT_EQ(ui.fileDialogs.size(), 1);
    EXPECT_TRUE(ui.fileDialogs[0].startsWith(QStringLiteral("Pachetul electronic de verificat|%1/Primara|")
                                                 .arg(program.path())));
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr); // cancelled: no window stays
}

} // namespace
