// Boxes and grid cells with an edit mask, typed into as a user does: a click anywhere into the
// unfilled part starts typing at the first empty place, focus from the keyboard does the same,
// and a grid cell takes the field's mask so that a date is typed without its dots.

#include "data/datasource.h"
#include "data/recordset.h"
#include "data/romanianorder.h"
#include "grid/dbedit.h"
#include "grid/dbgrideh.h"
#include "grid/dbgridmodel.h"
#include "grid/maskedlineedit.h"
#include "tests/support/scripteduserinteraction.h"
#include "tests/support/typing.h"

#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <QVBoxLayout>
#include <algorithm>
#include <gtest/gtest.h>

namespace {

// A bound box that tells where its cursor is drawn, to click on a given character.
struct CursorEdit : DbEdit {
    using DbEdit::DbEdit;
    using QLineEdit::cursorRect;
};

class MaskedInput : public ::testing::Test
{
protected:
    void SetUp() override
    {
        people.addField("id", FieldType::Float);
        people.addField("cpas", FieldType::String, 13).editMask = "99999999999;1; ";
        people.addField("born", FieldType::Date).editMask = "!99.99.9999;1;_";
        people.addField("from", FieldType::DateTime).editMask = "!99.99.9999;1;_";
        people.addField("pay", FieldType::Float);
        people.createDataSet();
        people.append();
        people.field("id").setValue(1);
        people.post();
        window.resize(500, 300);
        new QVBoxLayout(&window);
    }

    template <typename W> W *place(W *w)
    {
        window.layout()->addWidget(w);
        w->show(); // at once, not when the layout's queued call comes
        window.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&window));
        return w;
    }
    // A grid of a date and an amount, on the date of the first row.
    DBGridEh *dateGrid()
    {
        auto *grid = place(new DBGridEh);
        grid->setDataSource(&ds);
        grid->addColumn(QStringLiteral("from"), QStringLiteral("De la data"));
        grid->addColumn(QStringLiteral("pay"), QStringLiteral("Fond"));
        grid->setCurrentIndex(grid->model()->index(0, 0));
        return grid;
    }
    QVariant value(const char *field) { return people.field(QString::fromLatin1(field)).value(); }

    ScriptedUserInteraction ui;
    RecordSet people{QStringLiteral("people")};
    DataSource ds{"DSpeople", &people};
    QWidget window;
};

TEST_F(MaskedInput, AClickIntoTheMiddleOfAnEmptyBoxTypesFromItsFirstPlace)
{
    auto *cpas = place(new DbEdit(&ds, "cpas"));
    auto *born = place(new DbEdit(&ds, "born"));
    clickInTheMiddle(cpas);
    EXPECT_EQ(cpas->cursorPosition(), 0);
    QTest::keyClicks(cpas, "12345678901");
    EXPECT_EQ(value("cpas").toString(), "12345678901");

    clickInTheMiddle(born);
    QTest::keyClicks(born, "05032008");
    EXPECT_EQ(value("born").toDate(), QDate(2008, 3, 5));
    EXPECT_TRUE(ui.errors.isEmpty()) << ui.errors.join('|').toStdString();
}

TEST_F(MaskedInput, AClickGoesToTheFirstEmptyPlaceOrStaysOnATypedOne)
{
    auto *born = place(new CursorEdit(&ds, "born"));
    clickInTheMiddle(born);
    QTest::keyClicks(born, "0503");
    ASSERT_EQ(born->displayText(), "05.03.____");

    // Right of the typed part: the cursor goes back to the first blank.
    QTest::mouseClick(born, Qt::LeftButton, {}, QPoint(born->width() - 4, born->height() / 2));
    EXPECT_EQ(born->cursorPosition(), 6);

    // On a typed digit: the cursor stays where the user clicked, to correct it.
    born->setCursorPosition(1);
    const QPoint onSecondDigit = born->cursorRect().center();
    born->setCursorPosition(6);
    QTest::mouseClick(born, Qt::LeftButton, {}, onSecondDigit);
    EXPECT_EQ(born->cursorPosition(), 1);
}

TEST_F(MaskedInput, FocusFromTheKeyboardLandsOnTheFirstEmptyPlace)
{
    auto *before = place(new QLineEdit);
    auto *cpas = place(new DbEdit(&ds, "cpas"));
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    before->setFocus();
    QTest::keyClick(before, Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget(), cpas);
    EXPECT_EQ(cpas->cursorPosition(), 0);
    QTest::keyClicks(cpas, "123");

    // Back into the half-typed box: typing goes on after what is there.
    before->setFocus();
    QTest::keyClick(before, Qt::Key_Tab);
    EXPECT_EQ(cpas->cursorPosition(), 3);
    EXPECT_FALSE(cpas->hasSelectedText());
    QTest::keyClicks(cpas, "45678901");
    EXPECT_EQ(value("cpas").toString(), "12345678901");

    // A full box is selected whole, so that typing replaces it.
    before->setFocus();
    QTest::keyClick(before, Qt::Key_Tab);
    EXPECT_EQ(cpas->selectedText(), "12345678901");
}

TEST_F(MaskedInput, FirstEmptyPlaceFollowsLiteralsAndEscapes)
{
    MaskedLineEdit e;
    e.setInputMask("00.00.0000;_");
    EXPECT_EQ(e.firstEmptyPlace(), 0);
    e.setText("0503");
    EXPECT_EQ(e.firstEmptyPlace(), 6);
    e.setText("05032008");
    EXPECT_EQ(e.firstEmptyPlace(), -1);
    e.setInputMask(">\\A-999; ");
    e.clear();
    EXPECT_EQ(e.firstEmptyPlace(), 2);
    e.setInputMask(QString());
    EXPECT_EQ(e.firstEmptyPlace(), -1);
}

TEST_F(MaskedInput, GridCellsTakeTheFieldsMaskAndDatesAreTypedWithoutDots)
{
    DBGridEh *grid = dateGrid();
    grid->setFocus();

    QTest::keyClick(grid, '0');
    auto *editor = qobject_cast<QLineEdit *>(grid->activeEditor());
    ASSERT_TRUE(editor);
    EXPECT_EQ(editor->inputMask(), "00.00.0000;_");
    QTest::keyClicks(editor, "1012026");
    EXPECT_EQ(editor->displayText(), "01.01.2026");
    QTest::keyClick(editor, Qt::Key_Tab);
    EXPECT_TRUE(ui.errors.isEmpty()) << ui.errors.join('|').toStdString();
    EXPECT_EQ(value("from").toDateTime().date(), QDate(2026, 1, 1));

    // Typing over a date that is there replaces it whole.
    grid->setCurrentIndex(grid->model()->index(0, 0));
    QTest::keyClick(grid, '1');
    editor = qobject_cast<QLineEdit *>(grid->activeEditor());
    ASSERT_TRUE(editor);
    QTest::keyClicks(editor, "5022026");
    QTest::keyClick(editor, Qt::Key_Tab);
    EXPECT_EQ(value("from").toDateTime().date(), QDate(2026, 2, 15));
}

TEST_F(MaskedInput, AnImpossibleDateIsRefusedInRomanian)
{
    DBGridEh *grid = dateGrid();
    QTest::keyClick(grid, '3');
    QTest::keyClicks(grid->activeEditor(), "1022026");
    QTest::keyClick(grid->activeEditor(), Qt::Key_Tab);
    EXPECT_EQ(ui.errors, QStringList{QStringLiteral("'31.02.2026' nu este o dată validă")});
    EXPECT_TRUE(value("from").isNull());
}

TEST(RomanianOrder, LettersWithDiacriticsFollowTheirBaseLetter)
{
    const QStringList expected = {"ANENII NOI", "ÂRBORE", "CAUŞENI",  "CĂLĂRAŞI",   "CIMIŞLIA", "CRIULENI",  "IALOVENI",
                                  "ÎNSURĂŢEI",  "SOROCA", "STRĂŞENI", "ŞOLDĂNEŞTI", "TARACLIA", "TELENEŞTI", "ŢARA"};
    QStringList shuffled = expected;
    std::reverse(shuffled.begin(), shuffled.end());
    QStringList byCollation = shuffled, byFallback = shuffled;
    std::stable_sort(byCollation.begin(), byCollation.end(),
                     [](const QString &a, const QString &b) { return RomanianOrder::compare(a, b) < 0; });
    std::stable_sort(byFallback.begin(), byFallback.end(),
                     [](const QString &a, const QString &b) { return RomanianOrder::fallbackCompare(a, b) < 0; });
    EXPECT_EQ(byCollation, expected);
    EXPECT_EQ(byFallback, expected);
    EXPECT_TRUE(RomanianOrder::collatorAvailable()); // ICU knows Romanian on the supported systems
    // Small letters and the comma-below forms sort with their capitals.
    EXPECT_LT(RomanianOrder::fallbackCompare(QStringLiteral("sz"), QStringLiteral("ș")), 0);
    EXPECT_LT(RomanianOrder::fallbackCompare(QStringLiteral("ăz"), QStringLiteral("B")), 0);
}

TEST(RomanianOrder, ARecordSetSortedByANameReadsInRomanianOrder)
{
    RecordSet sectors(QStringLiteral("k_adm_area2"));
    sectors.addField("kaa2_id", FieldType::Integer);
    sectors.addField("kaa2_name_ro", FieldType::String, 40);
    sectors.setIndexFieldNames("kaa2_name_ro");
    sectors.createDataSet();
    int id = 0;
    for (const char *n : {"ŞOLDĂNEŞTI", "CRIULENI", "CĂLĂRAŞI", "SOROCA", "Cahul"}) {
        sectors.append();
        sectors.field("kaa2_id").setValue(++id);
        sectors.field("kaa2_name_ro").setValue(QString::fromUtf8(n));
        sectors.post();
    }
    QStringList shown;
    for (int r = 0; r < sectors.recordCount(); ++r)
        shown << sectors.displayTextAt(r, 1);
    EXPECT_EQ(shown, (QStringList{"Cahul", "CĂLĂRAŞI", "CRIULENI", "SOROCA", "ŞOLDĂNEŞTI"}));
}

} // namespace
