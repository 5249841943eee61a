// The data-aware controls over an in-memory record set, driven with key events offscreen:
// what they show as the set moves, what typing and choosing write, and what a disabled data
// source or a read-only box keeps them from doing.

#include "data/datasource.h"
#include "data/ee.h"
#include "data/recordset.h"
#include "grid/dbcheckbox.h"
#include "grid/dbedit.h"
#include "grid/dbgrid.h"
#include "grid/dblookupcombobox.h"
#include "grid/dbtext.h"
#include "grid/gridcolumnsmodel.h"
#include "grid/uppercaseinput.h"
#include "tests/support/scripteduserinteraction.h"

#include <QApplication>
#include <QKeyEvent>
#include <QTest>
#include <QVBoxLayout>
#include <gtest/gtest.h>

#include "tests/support/typing.h"

namespace {


class DbControls : public ::testing::Test
{
protected:
    void SetUp() override
    {
        people.addField("id", FieldType::Float);
        people.addField("name", FieldType::String, 20);
        people.addField("code", FieldType::String, 7).editMask = "0000000;1; ";
        people.addField("born", FieldType::Date).editMask = "!99.99.9999;1;_";
        people.addField("town", FieldType::Float);
        people.addField("active", FieldType::String, 1);
        people.createDataSet();
        addPerson(1, "ana", "1234567", QDate(1990, 2, 1), 2, "V");
        addPerson(2, "ion", QVariant(), QVariant(), 1, "N");
        people.first();

        towns.addField("tid", FieldType::Integer);
        towns.addField("tname", FieldType::String, 30);
        towns.setIndexFieldNames("tname");
        towns.createDataSet();
        for (auto [id, name] : {std::pair{1, "ZAU"}, {2, "BALTI"}, {3, "ANENII NOI"}}) {
            towns.append();
            towns.field("tid").setValue(id);
            towns.field("tname").setValue(QString::fromLatin1(name));
            towns.post();
        }
        towns.first();
        window.resize(400, 300);
        new QVBoxLayout(&window);
    }

    void addPerson(int id, const char *name, const QVariant &code, const QVariant &born, int town, const char *active)
    {
        people.append();
        people.field("id").setValue(id);
        people.field("name").setValue(QString::fromUtf8(name));
        people.field("code").setValue(code);
        people.field("born").setValue(born);
        people.field("town").setValue(town);
        people.field("active").setValue(QString::fromLatin1(active));
        people.post();
    }

    template <typename W>
    W *place(W *w)
    {
        window.layout()->addWidget(w);
        return w;
    }

    void focus(QWidget *w)
    {
        window.show();
        QApplication::setActiveWindow(&window);
        w->setFocus();
        QApplication::processEvents();
    }

    QString value(const char *field) { return people.field(QString::fromLatin1(field)).asString(); }

    ScriptedUserInteraction ui;
    RecordSet people{"people"};
    DataSource ds{"DSpeople", &people};
    RecordSet towns{"towns"};
    DataSource dsTowns{"DStowns", &towns};
    QWidget window;
};

TEST_F(DbControls, EditShowsTheFieldAndFollowsTheSet)
{
    auto *e = place(new DbEdit(&ds, "name"));
    EXPECT_EQ(e->text(), "ana");
    EXPECT_EQ(e->maxLength(), 20);
    people.next();
    EXPECT_EQ(e->text(), "ion");
    people.edit();
    people.field("name").setValue("ionel");
    EXPECT_EQ(e->text(), "ionel");
    people.cancel();
    EXPECT_EQ(e->text(), "ion");
    people.emptyDataSet();
    EXPECT_EQ(e->text(), "");
    ds.setEnabled(false);
    people.append();
    people.field("name").setValue("nou");
    EXPECT_EQ(e->text(), "");
    ds.setEnabled(true);
    EXPECT_EQ(e->text(), "nou");
}

TEST_F(DbControls, TypingEditsTheRowInCapitalsDiacriticsIncluded)
{
    auto *e = place(new DbEdit(&ds, "name"));
    e->setUpperCase(true);
    focus(e);
    e->selectAll();
    typeText(e, QStringLiteral("ion ştefănescu-țîr"));
    EXPECT_EQ(e->text(), QStringLiteral("ION ŞTEFĂNESCU-ȚÎR"));
    EXPECT_EQ(people.state(), RecordSet::State::Edit);
    EXPECT_EQ(value("name"), QStringLiteral("ION ŞTEFĂNESCU-ȚÎR"));
    people.cancel();
    EXPECT_EQ(e->text(), "ana");

    // Without the option the text goes in as typed; an emptied box empties the field.
    e->setUpperCase(false);
    e->selectAll();
    typeText(e, QStringLiteral("o'Neil"));
    EXPECT_EQ(value("name"), "o'Neil");
    e->selectAll();
    QTest::keyClick(e, Qt::Key_Backspace);
    EXPECT_TRUE(people.field("name").isNull());
}

TEST_F(DbControls, TypingIntoAnEmptySetStartsANewRow)
{
    people.emptyDataSet();
    auto *e = place(new DbEdit(&ds, "name"));
    focus(e);
    typeText(e, "x");
    EXPECT_EQ(people.state(), RecordSet::State::Insert);
    EXPECT_EQ(value("name"), "x");
}

TEST_F(DbControls, MaskedEditKeepsBlanksAndRefusesLetters)
{
    auto *e = place(new DbEdit(&ds, "code"));
    EXPECT_EQ(e->inputMask(), "9999999");
    EXPECT_EQ(e->text(), "1234567");
    people.next(); // no code
    EXPECT_EQ(e->displayText(), "       ");
    focus(e);
    e->setCursorPosition(0);
    typeText(e, "12a345");
    EXPECT_EQ(value("code"), "12345  ");
    EXPECT_EQ(e->displayText(), "12345  ");
}

TEST_F(DbControls, DateIsStoredOnceItReadsAsADate)
{
    auto *e = place(new DbEdit(&ds, "born"));
    EXPECT_EQ(e->displayText(), "01.02.1990");
    people.next();
    focus(e);
    e->setCursorPosition(0);
    typeText(e, "0503");
    EXPECT_EQ(people.state(), RecordSet::State::Edit);
    EXPECT_TRUE(people.field("born").isNull());
    EXPECT_EQ(e->displayText(), "05.03.____"); // kept while the row is edited
    typeText(e, "2008");
    EXPECT_EQ(people.field("born").asDate(), QDate(2008, 3, 5));

    e->setCursorPosition(0);
    typeText(e, "31");
    EXPECT_EQ(people.field("born").asDate(), QDate(2008, 3, 31));
    e->setCursorPosition(3);
    typeText(e, "02");
    EXPECT_EQ(people.field("born").asDate(), QDate(2008, 3, 31)); // 31.02 is no date
    emit e->editingFinished();
    ASSERT_EQ(ui.errors.size(), 1);
    EXPECT_TRUE(ui.errors[0].contains("31.02.2008")) << ui.errors[0].toStdString();
    people.cancel();
    EXPECT_EQ(e->displayText(), "__.__.____");
}

TEST_F(DbControls, ReadOnlyBoxesAndDisabledSourcesWriteNothing)
{
    auto *ro = place(new DbEdit(&ds, "name"));
    ro->setReadOnly(true);
    focus(ro);
    ro->selectAll();
    typeText(ro, "zz");
    EXPECT_EQ(people.state(), RecordSet::State::Browse);
    EXPECT_EQ(value("name"), "ana");

    auto *e = place(new DbEdit(&ds, "name"));
    ds.setEnabled(false);
    EXPECT_EQ(e->text(), "");
    focus(e);
    typeText(e, "zz");
    EXPECT_EQ(e->text(), "");
    EXPECT_EQ(people.state(), RecordSet::State::Browse);
    EXPECT_EQ(value("name"), "ana");
}

TEST_F(DbControls, LookupListsByNameStoresTheKeyAndMovesTheList)
{
    auto *c = place(new DbLookupComboBox);
    c->setDataField(&ds, "town");
    c->setListSource(&dsTowns, "tid", "tname");
    auto *code = place(new DbEdit(&dsTowns, "tid"));
    ASSERT_EQ(c->count(), 3);
    EXPECT_EQ(c->itemText(0), "ANENII NOI");
    EXPECT_EQ(c->itemText(2), "ZAU");
    EXPECT_EQ(c->currentText(), "BALTI");
    EXPECT_EQ(code->text(), "2");

    const int zau = c->findText("ZAU");
    c->setCurrentIndex(zau);
    emit c->activated(zau);
    EXPECT_EQ(people.state(), RecordSet::State::Edit);
    EXPECT_EQ(people.field("town").asInteger(), 1);
    EXPECT_EQ(code->text(), "1");
    people.post();

    people.next();
    EXPECT_EQ(c->currentText(), "ZAU");
    people.edit();
    people.field("town").setValue(3);
    EXPECT_EQ(c->currentText(), "ANENII NOI");
    EXPECT_EQ(code->text(), "3");
    c->clearValue();
    EXPECT_TRUE(people.field("town").isNull());
    EXPECT_EQ(c->currentIndex(), -1);
    people.cancel();

    ds.setEnabled(false);
    EXPECT_EQ(c->currentIndex(), -1);
    c->setCurrentIndex(0);
    emit c->activated(0);
    EXPECT_EQ(people.state(), RecordSet::State::Browse);
    EXPECT_EQ(c->currentIndex(), -1);
}

TEST_F(DbControls, CheckBoxStoresItsTwoTexts)
{
    auto *b = place(new DbCheckBox);
    b->setDataField(&ds, "active");
    EXPECT_TRUE(b->isChecked());
    people.next();
    EXPECT_FALSE(b->isChecked());
    b->click();
    EXPECT_EQ(people.state(), RecordSet::State::Edit);
    EXPECT_EQ(value("active"), "V");
    b->setValues("1", "0");
    EXPECT_FALSE(b->isChecked());
    b->click();
    EXPECT_EQ(value("active"), "1");
    b->click();
    EXPECT_EQ(value("active"), "0");
    people.cancel();
    ds.setEnabled(false);
    b->click();
    EXPECT_FALSE(b->isChecked());
    EXPECT_EQ(people.state(), RecordSet::State::Browse);
}

TEST_F(DbControls, TextFollowsTheRow)
{
    auto *t = place(new DbText(&ds, "name"));
    EXPECT_EQ(t->text(), "ana");
    people.next();
    EXPECT_EQ(t->text(), "ion");
    ds.setEnabled(false);
    EXPECT_EQ(t->text(), "");
}

TEST_F(DbControls, GridShowsChosenColumnsAndMovesTheSet)
{
    auto *g = place(new DbGrid);
    g->setDataSource(&ds, {{"code", "COD"}, {"name", "NUME", Qt::AlignCenter}});
    QAbstractItemModel *m = g->model();
    ASSERT_EQ(m->columnCount(), 2);
    EXPECT_EQ(m->headerData(0, Qt::Horizontal).toString(), "COD");
    EXPECT_EQ(m->headerData(1, Qt::Horizontal).toString(), "NUME");
    EXPECT_EQ(m->rowCount(), 2);
    EXPECT_EQ(m->index(0, 1).data().toString(), "ana");
    EXPECT_EQ(m->index(0, 0).data().toString(), "1234567");
    EXPECT_EQ(m->index(1, 1).data(Qt::TextAlignmentRole).value<Qt::Alignment>(), Qt::AlignCenter);
    EXPECT_EQ(g->currentIndex().row(), 0);

    people.next();
    EXPECT_EQ(g->currentIndex().row(), 1);
    g->setCurrentIndex(m->index(0, 1));
    EXPECT_EQ(people.recNo(), 0);

    // A row that cannot be saved keeps the grid on it.
    people.beforePost = [](RecordSet &) { throw EE("nu"); };
    people.edit();
    people.field("name").setValue("anca");
    g->setCurrentIndex(m->index(1, 1));
    EXPECT_EQ(ui.errors, QStringList{"nu"});
    EXPECT_EQ(people.state(), RecordSet::State::Edit);
    EXPECT_EQ(g->currentIndex().row(), 0);
    EXPECT_EQ(m->index(0, 1).data().toString(), "anca");

    ds.setEnabled(false);
    EXPECT_EQ(m->rowCount(), 0);
}

TEST(UpperCaseInput, CapitalsKeepTheLength)
{
    EXPECT_EQ(UpperCaseInput::capitals(QStringLiteral("şţăîâ șț ß abc")), QStringLiteral("ŞŢĂÎÂ ȘȚ ß ABC"));
}

} // namespace
