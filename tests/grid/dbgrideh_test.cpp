// The data grid over an in-memory record set, driven with real key events offscreen: editing
// follows the record set's states, the footer sums follow its rows, lookups set their keys.

#include "data/dberror.h"
#include "data/ee.h"
#include "data/formats.h"
#include "data/datasource.h"
#include "data/recordset.h"
#include "grid/dbgridcolumn.h"
#include "grid/dbgrideh.h"
#include "grid/dbgridfooter.h"
#include "grid/dbgridfooteraccessible.h"
#include "grid/dbgridheader.h"
#include "grid/dbgridmodel.h"
#include "tests/support/scripteduserinteraction.h"
#include "tests/support/spokennames.h"

#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QVBoxLayout>
#include <gtest/gtest.h>
#include <memory>

namespace {

// A parent window that records the keys reaching it.
class Host : public QWidget
{
public:
    QList<int> keys;

protected:
    void keyPressEvent(QKeyEvent *e) override { keys << e->key(); }
};

enum Col { Luna, Nr, Lunar, Inclusiv, Nota };

class GridTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        kinds = std::make_unique<RecordSet>(QStringLiteral("kinds"));
        kinds->addField(QStringLiteral("kind_id"), FieldType::SmallInt);
        kinds->addField(QStringLiteral("kind_name"), FieldType::String, 20);
        kinds->createDataSet();
        kinds->appendValues({1, QStringLiteral("ianuarie")});
        kinds->appendValues({2, QStringLiteral("februarie")});
        kinds->appendValues({3, QStringLiteral("martie")});
        kinds->endAppendValues();

        set = std::make_unique<RecordSet>(QStringLiteral("pay"));
        set->addField(QStringLiteral("id"), FieldType::Integer);
        set->addField(QStringLiteral("kind"), FieldType::SmallInt);
        set->addField(QStringLiteral("amount"), FieldType::Float);
        set->addField(QStringLiteral("ill"), FieldType::Float);
        set->addField(QStringLiteral("note"), FieldType::String, 10);
        set->addLookupField(QStringLiteral("kind_name"), FieldType::String, 20, QStringLiteral("kind"), kinds.get(),
                            QStringLiteral("kind_id"), QStringLiteral("kind_name"));
        set->addCalculatedField(QStringLiteral("total"), FieldType::Float);
        set->onCalcFields = [](RecordSet &s) {
            s.field(QStringLiteral("total")).setValue(s.field(QStringLiteral("amount")).asFloat()
                                                      + s.field(QStringLiteral("ill")).asFloat());
        };
        set->createDataSet();
        set->appendValues({1, 1, 1000.25, 100.0, QStringLiteral("a")});
        set->appendValues({2, 2, 2000.5, 0.0, QStringLiteral("b")});
        set->appendValues({3, 3, 300.0, 50.5, QVariant()});
        set->endAppendValues();
        set->first();
        set->beforePost = [this](RecordSet &) { ++posts; };

        host = std::make_unique<Host>();
        auto *layout = new QVBoxLayout(host.get());
        grid = new DBGridEh(host.get());
        grid->setObjectName(QStringLiteral("DBGridEh2"));
        other = new QLineEdit(host.get());
        layout->addWidget(grid);
        layout->addWidget(other);
        grid->setRecordSet(set.get());
        grid->addColumn(QStringLiteral("kind_name"), QStringLiteral("Luna")).setFooterText(QStringLiteral("Total"));
        grid->addColumn(QStringLiteral("id"), QStringLiteral("Nr"))
            .setReadOnly(true)
            .setAlignment(Qt::AlignCenter)
            .setFooterSum({}, [](double v) { return Formats::floatText(v); });
        grid->addColumn(QStringLiteral("amount"), QStringLiteral("lunar"))
            .setGroupTitle(QStringLiteral("Fondul de retribuire"))
            .setFooterSum(QStringLiteral("total"));
        grid->addColumn(QStringLiteral("ill"), QStringLiteral("inclusiv"))
            .setGroupTitle(QStringLiteral("Fondul de retribuire"))
            .setFooterSum();
        grid->addColumn(QStringLiteral("note"), QStringLiteral("Nota"));
        grid->setFooterVisible(true);
        host->resize(640, 300);
        host->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(host.get()));
    }

    void TearDown() override
    {
        host.reset();
        set.reset();
        kinds.reset();
    }

    void goTo(int row, int column) { grid->setCurrentIndex(grid->model()->index(row, column)); }

    // Types text into a cell as a user would: the first key opens the editor on the grid,
    // the rest go to the editor.
    QWidget *typeInto(int row, int column, const QString &text)
    {
        goTo(row, column);
        QTest::keyClick(grid, text.at(0).toLatin1());
        QWidget *editor = grid->activeEditor();
        if (editor)
            QTest::keyClicks(editor, text.mid(1));
        return editor;
    }

    // Keys go where the user's keys would: the open editor, else the grid.
    void press(Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier)
    {
        QWidget *target = grid->activeEditor() ? grid->activeEditor() : static_cast<QWidget *>(grid);
        QTest::keyClick(target, key, mods);
    }

    int currentRow() const { return grid->currentIndex().row(); }

    ScriptedUserInteraction ui;
    std::unique_ptr<RecordSet> kinds, set;
    std::unique_ptr<Host> host;
    DBGridEh *grid = nullptr;
    QLineEdit *other = nullptr;
    int posts = 0;
};

TEST_F(GridTest, TypingAndMovingToAnotherRowPostsTheRowOnce)
{
    QWidget *editor = typeInto(0, Lunar, QStringLiteral("1500"));
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(set->state(), RecordSet::State::Edit);
    EXPECT_EQ(posts, 0);

    press(Qt::Key_Down);
    EXPECT_EQ(posts, 1);
    EXPECT_EQ(set->state(), RecordSet::State::Browse);
    EXPECT_EQ(set->valueAt(0, set->fieldIndex(QStringLiteral("amount"))).toDouble(), 1500.0);
    EXPECT_EQ(set->recNo(), 1);
    EXPECT_EQ(currentRow(), 1);
    EXPECT_EQ(grid->currentColumn(), int(Lunar));

    // Moving on from a row that was not changed posts nothing.
    press(Qt::Key_Down);
    EXPECT_EQ(posts, 1);
    EXPECT_EQ(set->recNo(), 2);
    EXPECT_TRUE(ui.errors.isEmpty());
}

TEST_F(GridTest, OpeningAnEditorWithoutTypingDoesNotMarkTheRow)
{
    goTo(1, Lunar);
    press(Qt::Key_F2);
    ASSERT_NE(grid->activeEditor(), nullptr);
    press(Qt::Key_Return);
    EXPECT_EQ(grid->currentColumn(), int(Inclusiv));
    EXPECT_FALSE(set->modified());
    press(Qt::Key_Up);
    EXPECT_EQ(posts, 0);
    EXPECT_EQ(set->state(), RecordSet::State::Browse);
    EXPECT_EQ(set->recNo(), 0);
}

TEST_F(GridTest, RefusedPostKeepsTheRowInEditAndShowsTheMessage)
{
    set->beforePost = [this](RecordSet &) {
        ++posts;
        throw EE(QStringLiteral("Suma depaseste limita !"));
    };
    typeInto(1, Lunar, QStringLiteral("99"));
    press(Qt::Key_Down);

    EXPECT_EQ(posts, 1);
    ASSERT_EQ(ui.errors, QStringList{QStringLiteral("Suma depaseste limita !")});
    EXPECT_EQ(set->state(), RecordSet::State::Edit);
    EXPECT_EQ(set->field(QStringLiteral("amount")).asFloat(), 99.0);
    EXPECT_EQ(set->recNo(), 1);
    EXPECT_EQ(currentRow(), 1);
    QApplication::processEvents();
    EXPECT_EQ(currentRow(), 1);

    // A click on another row is refused the same way; once the rule accepts, the row goes.
    goTo(0, Nota);
    EXPECT_EQ(ui.errors.size(), 2);
    EXPECT_EQ(currentRow(), 1);
    set->beforePost = [this](RecordSet &) { ++posts; };
    press(Qt::Key_Up);
    EXPECT_EQ(set->state(), RecordSet::State::Browse);
    EXPECT_EQ(set->valueAt(1, set->fieldIndex(QStringLiteral("amount"))).toDouble(), 99.0);
    EXPECT_EQ(currentRow(), 0);
}

TEST_F(GridTest, DatabaseErrorOfThePostReachesTheUserUnchanged)
{
    set->beforePost = [](RecordSet &) { throw DbError(QStringLiteral("violation of PRIMARY or UNIQUE KEY constraint")); };
    typeInto(0, Nota, QStringLiteral("x"));
    press(Qt::Key_Down);
    EXPECT_EQ(ui.errors, QStringList{QStringLiteral("violation of PRIMARY or UNIQUE KEY constraint")});
    EXPECT_EQ(set->state(), RecordSet::State::Edit);
    EXPECT_EQ(set->field(QStringLiteral("note")).asString(), QStringLiteral("x"));
}

TEST_F(GridTest, EscCancelsTheEdit)
{
    typeInto(0, Lunar, QStringLiteral("7"));
    press(Qt::Key_Escape);
    EXPECT_EQ(grid->activeEditor(), nullptr);
    EXPECT_EQ(set->state(), RecordSet::State::Browse);
    EXPECT_EQ(set->field(QStringLiteral("amount")).asFloat(), 1000.25);

    // With a value already written to the row, the first Esc takes back only the cell being
    // typed, the second cancels the row.
    typeInto(0, Lunar, QStringLiteral("8"));
    press(Qt::Key_Tab);
    EXPECT_EQ(set->field(QStringLiteral("amount")).asFloat(), 8.0);
    ASSERT_NE(grid->activeEditor(), nullptr); // Tab opened the next cell
    QTest::keyClicks(grid->activeEditor(), QStringLiteral("5"));
    press(Qt::Key_Escape);
    EXPECT_EQ(set->state(), RecordSet::State::Edit);
    EXPECT_EQ(set->field(QStringLiteral("ill")).asFloat(), 100.0);
    press(Qt::Key_Escape);
    EXPECT_EQ(set->state(), RecordSet::State::Browse);
    EXPECT_EQ(set->field(QStringLiteral("amount")).asFloat(), 1000.25);
    EXPECT_EQ(posts, 0);
}

TEST_F(GridTest, DownOnTheLastRowAppendsANewRow)
{
    goTo(2, Lunar);
    press(Qt::Key_Down);
    EXPECT_EQ(set->state(), RecordSet::State::Insert);
    EXPECT_EQ(grid->model()->rowCount(), 4);
    EXPECT_EQ(currentRow(), 3);

    // Down on the untouched new row does not add another.
    press(Qt::Key_Down);
    EXPECT_EQ(grid->model()->rowCount(), 4);

    // Esc makes the new row disappear.
    press(Qt::Key_Escape);
    EXPECT_EQ(set->state(), RecordSet::State::Browse);
    EXPECT_EQ(grid->model()->rowCount(), 3);
    EXPECT_EQ(set->recordCount(), 3);
    EXPECT_EQ(currentRow(), 2);

    // A typed new row is posted when the user goes back up.
    press(Qt::Key_Down);
    QTest::keyClick(grid, '4');
    QTest::keyClicks(grid->activeEditor(), QStringLiteral("2"));
    press(Qt::Key_Up);
    EXPECT_EQ(posts, 1);
    EXPECT_EQ(set->recordCount(), 4);
    EXPECT_EQ(set->valueAt(3, set->fieldIndex(QStringLiteral("amount"))).toDouble(), 42.0);
    EXPECT_EQ(currentRow(), 2);
}

TEST_F(GridTest, MovingFromARowThatSortsElsewhereMovesFromItsNewPlace)
{
    set->setIndexFieldNames(QStringLiteral("amount")); // 300, 1000.25, 2000.5
    goTo(0, Lunar);
    typeInto(0, Lunar, QStringLiteral("5000"));
    press(Qt::Key_Down);
    EXPECT_EQ(posts, 1);
    // The row went to the end with its new amount; one row down from there is no row.
    EXPECT_EQ(currentRow(), 2);
    EXPECT_EQ(set->field(QStringLiteral("amount")).asFloat(), 5000.0);
    EXPECT_EQ(set->field(QStringLiteral("id")).asInteger(), 3);
    press(Qt::Key_Up);
    EXPECT_EQ(set->field(QStringLiteral("id")).asInteger(), 2);
}

TEST_F(GridTest, DownOnATypedLastRowPostsItAndAppends)
{
    typeInto(2, Nota, QStringLiteral("z"));
    press(Qt::Key_Down);
    EXPECT_EQ(posts, 1);
    EXPECT_EQ(set->recordCount(), 3);
    EXPECT_EQ(grid->model()->rowCount(), 4);
    EXPECT_EQ(set->state(), RecordSet::State::Insert);
    EXPECT_EQ(set->valueAt(2, set->fieldIndex(QStringLiteral("note"))).toString(), QStringLiteral("z"));
}

TEST_F(GridTest, AppendingCanBeTurnedOff)
{
    grid->setAppendAllowed(false);
    goTo(2, Lunar);
    press(Qt::Key_Down);
    press(Qt::Key_Insert);
    EXPECT_EQ(set->state(), RecordSet::State::Browse);
    EXPECT_EQ(grid->model()->rowCount(), 3);
}

TEST_F(GridTest, TypingInAnEmptyGridStartsItsFirstRow)
{
    set->emptyDataSet();
    grid->setCurrentColumn(Nota);
    QTest::keyClick(grid, 'q');
    EXPECT_EQ(set->state(), RecordSet::State::Insert);
    ASSERT_NE(grid->activeEditor(), nullptr);
    press(Qt::Key_Return);
    EXPECT_EQ(set->field(QStringLiteral("note")).asString(), QStringLiteral("q"));
}

TEST_F(GridTest, EnterAndTabMoveToTheNextColumn)
{
    typeInto(0, Lunar, QStringLiteral("12"));
    press(Qt::Key_Return);
    EXPECT_EQ(grid->activeEditor(), nullptr);
    EXPECT_EQ(grid->currentColumn(), int(Inclusiv));
    EXPECT_EQ(set->field(QStringLiteral("amount")).asFloat(), 12.0);
    EXPECT_EQ(set->state(), RecordSet::State::Edit);

    press(Qt::Key_Return);
    EXPECT_EQ(grid->currentColumn(), int(Nota));
    // Past the last column the cursor goes to the next row, which posts the row left.
    press(Qt::Key_Tab);
    EXPECT_EQ(currentRow(), 1);
    EXPECT_EQ(grid->currentColumn(), int(Luna));
    EXPECT_EQ(posts, 1);
    press(Qt::Key_Backtab);
    EXPECT_EQ(currentRow(), 0);
    EXPECT_EQ(grid->currentColumn(), int(Nota));
}

TEST_F(GridTest, HomeEndAndPageKeysNavigate)
{
    goTo(1, Lunar);
    press(Qt::Key_End);
    EXPECT_EQ(grid->currentColumn(), int(Nota));
    press(Qt::Key_Home);
    EXPECT_EQ(grid->currentColumn(), int(Luna));
    press(Qt::Key_PageDown);
    EXPECT_EQ(set->recNo(), 2);
    press(Qt::Key_PageUp);
    EXPECT_EQ(set->recNo(), 0);
}

TEST_F(GridTest, AValueTheFieldRefusesKeepsTheEditorOpen)
{
    QWidget *editor = typeInto(0, Lunar, QStringLiteral("1x"));
    press(Qt::Key_Return);
    EXPECT_EQ(ui.errors, QStringList{QStringLiteral("'1x' nu este un număr valid")});
    EXPECT_EQ(grid->activeEditor(), editor);
    EXPECT_EQ(set->field(QStringLiteral("amount")).asFloat(), 1000.25);
}

TEST_F(GridTest, ReadOnlyColumnsAndLookupsOfCalculatedFieldsAreNotEdited)
{
    goTo(1, Nr);
    QTest::keyClick(grid, '9');
    EXPECT_EQ(grid->activeEditor(), nullptr);
    EXPECT_EQ(set->state(), RecordSet::State::Browse);
    EXPECT_EQ(set->recNo(), 1); // the key did not search for a row either
    EXPECT_FALSE(grid->model()->flags(grid->model()->index(0, Nr)) & Qt::ItemIsEditable);
    EXPECT_TRUE(grid->model()->flags(grid->model()->index(0, Luna)) & Qt::ItemIsEditable);

    grid->setReadOnly(true);
    goTo(1, Nota);
    QTest::keyClick(grid, 'x');
    EXPECT_EQ(set->state(), RecordSet::State::Browse);
}

TEST_F(GridTest, FooterShowsTextsAndSumsAndFollowsPosts)
{
    EXPECT_EQ(grid->footerText(Luna), QStringLiteral("Total"));
    EXPECT_EQ(grid->footerText(Nr), QStringLiteral("6"));
    // The monthly column sums the calculated field it was given, not its own field.
    EXPECT_EQ(grid->footerText(Lunar), QStringLiteral("3 451.25"));
    EXPECT_EQ(grid->footerText(Inclusiv), QStringLiteral("150.50"));
    EXPECT_EQ(grid->footerText(Nota), QString());
    EXPECT_EQ(grid->footerAlignment(Inclusiv), Qt::AlignRight);
    EXPECT_EQ(grid->footerAlignment(Nr), Qt::AlignHCenter);

    typeInto(1, Inclusiv, QStringLiteral("1000"));
    EXPECT_EQ(grid->footerText(Inclusiv), QStringLiteral("150.50")); // not posted yet
    press(Qt::Key_Down);
    EXPECT_EQ(grid->footerText(Inclusiv), QStringLiteral("1 150.50"));
    EXPECT_EQ(grid->footerText(Lunar), QStringLiteral("4 451.25"));

    grid->clearFooterSums();
    EXPECT_EQ(grid->footerText(Lunar), QString());
    EXPECT_EQ(grid->footerText(Inclusiv), QString());
    EXPECT_EQ(grid->footerText(Luna), QStringLiteral("Total"));
    set->moveTo(1); // moving is no change of the rows
    EXPECT_EQ(grid->footerText(Inclusiv), QString());

    // The sums come back with the next change of the rows.
    set->deleteRecord();
    EXPECT_EQ(grid->footerText(Inclusiv), QStringLiteral("150.50"));
}

TEST_F(GridTest, DisabledDataSourceShowsNoRowsAndNoSums)
{
    DataSource source(QStringLiteral("DSpay"), set.get());
    grid->setDataSource(&source);
    EXPECT_EQ(grid->model()->rowCount(), 3);
    EXPECT_EQ(grid->gridColumnCount(), 5);
    source.setEnabled(false);
    EXPECT_EQ(grid->model()->rowCount(), 0);
    EXPECT_EQ(grid->footerText(Inclusiv), QString());
    source.setEnabled(true);
    EXPECT_EQ(grid->model()->rowCount(), 3);
    EXPECT_EQ(grid->footerText(Inclusiv), QStringLiteral("150.50"));
}

TEST_F(GridTest, LookupEditorListsTheResultsAndSetsTheKey)
{
    goTo(0, Luna);
    press(Qt::Key_F2);
    auto *combo = qobject_cast<QComboBox *>(grid->activeEditor());
    ASSERT_NE(combo, nullptr);
    ASSERT_EQ(combo->count(), 3);
    EXPECT_EQ(combo->itemText(0), QStringLiteral("ianuarie"));
    EXPECT_EQ(combo->itemText(2), QStringLiteral("martie"));
    EXPECT_EQ(combo->currentText(), QStringLiteral("ianuarie"));

    QTest::keyClick(combo, Qt::Key_Down); // chooses the next month
    EXPECT_EQ(set->field(QStringLiteral("kind")).asInteger(), 2);
    EXPECT_EQ(set->field(QStringLiteral("kind_name")).asString(), QStringLiteral("februarie"));
    EXPECT_EQ(set->state(), RecordSet::State::Edit);

    press(Qt::Key_Return);
    goTo(1, Luna);
    EXPECT_EQ(posts, 1);
    EXPECT_EQ(set->valueAt(0, set->fieldIndex(QStringLiteral("kind"))).toInt(), 2);
    EXPECT_EQ(set->displayTextAt(0, set->fieldIndex(QStringLiteral("kind_name"))), QStringLiteral("februarie"));
}

TEST_F(GridTest, PickListOffersItsItemsAndKeepsTheTypedText)
{
    grid->column(Nota)->setPickList({QStringLiteral("DA"), QStringLiteral("NU")});
    goTo(2, Nota);
    press(Qt::Key_F2);
    auto *combo = qobject_cast<QComboBox *>(grid->activeEditor());
    ASSERT_NE(combo, nullptr);
    EXPECT_EQ(combo->count(), 2);
    combo->setCurrentIndex(1);
    press(Qt::Key_Return);
    EXPECT_EQ(set->field(QStringLiteral("note")).asString(), QStringLiteral("NU"));
}

TEST_F(GridTest, TwoLevelTitlesShareTheUpperBand)
{
    auto *header = qobject_cast<DBGridHeader *>(grid->horizontalHeader());
    ASSERT_NE(header, nullptr);
    EXPECT_EQ(header->titleOf(Lunar), QStringLiteral("lunar"));
    EXPECT_EQ(header->groupTitleOf(Lunar), QStringLiteral("Fondul de retribuire"));
    EXPECT_EQ(header->groupTitleOf(Luna), QString());

    const auto span = header->groupSpan(Inclusiv);
    EXPECT_EQ(span.first, int(Lunar));
    EXPECT_EQ(span.second, int(Inclusiv));
    const QRect band = header->groupRect(Lunar);
    EXPECT_EQ(band, header->groupRect(Inclusiv));
    EXPECT_EQ(band.left(), header->sectionViewportPosition(Lunar));
    EXPECT_EQ(band.width(), header->sectionSize(Lunar) + header->sectionSize(Inclusiv));
    EXPECT_GT(band.height(), 0);

    // The column titles stand beneath the band; a column without an upper title uses the
    // whole height.
    EXPECT_EQ(header->titleRect(Lunar).top(), header->upperHeight());
    EXPECT_EQ(header->titleRect(Lunar).bottom(), header->height() - 1);
    EXPECT_EQ(header->titleRect(Luna).top(), 0);
    EXPECT_EQ(header->titleRect(Luna).height(), header->height());
    EXPECT_GE(header->height(), 2 * header->fontMetrics().height());

    // A long upper title wraps and makes the header taller.
    const int before = header->sizeHint().height();
    grid->column(Lunar)->setGroupTitle(QStringLiteral("Fondul de retribuire a muncii si concediul medical"));
    grid->column(Inclusiv)->setGroupTitle(QStringLiteral("Fondul de retribuire a muncii si concediul medical"));
    grid->column(Lunar)->setWidth(60);
    grid->column(Inclusiv)->setWidth(60);
    EXPECT_GT(header->sizeHint().height(), before);

    // Hiding a column of the band narrows it; separating the titles ends it.
    grid->column(Inclusiv)->setVisible(false);
    EXPECT_TRUE(grid->isColumnHidden(Inclusiv));
    EXPECT_EQ(header->groupRect(Lunar).width(), header->sectionSize(Lunar));
    grid->column(Inclusiv)->setVisible(true).setGroupTitle(QString());
    EXPECT_EQ(header->groupSpan(Lunar), std::make_pair(int(Lunar), int(Lunar)));
}

TEST_F(GridTest, ForwardedKeysReachTheWindowAfterTheEditorIsWritten)
{
    grid->setForwardedKeys({Qt::Key_PageUp, Qt::Key_PageDown, Qt::Key_F9, Qt::Key_F12});
    QSignalSpy spy(grid, &DBGridEh::keyForwarded);
    goTo(1, Lunar);
    press(Qt::Key_PageDown);
    EXPECT_EQ(set->recNo(), 1); // not a page move inside the grid
    ASSERT_EQ(spy.count(), 1);
    EXPECT_EQ(spy.at(0).at(0).toInt(), int(Qt::Key_PageDown));
    EXPECT_EQ(host->keys, QList<int>{Qt::Key_PageDown});

    ASSERT_NE(typeInto(1, Nota, QStringLiteral("cod")), nullptr);
    EXPECT_EQ(grid->selectedFieldName(), QStringLiteral("note"));
    press(Qt::Key_F9);
    EXPECT_EQ(grid->activeEditor(), nullptr);
    EXPECT_EQ(set->field(QStringLiteral("note")).asString(), QStringLiteral("cod"));
    EXPECT_EQ(set->state(), RecordSet::State::Edit);
    EXPECT_EQ(host->keys, (QList<int>{Qt::Key_PageDown, Qt::Key_F9}));
    EXPECT_EQ(spy.count(), 2);

    grid->setPropagateForwardedKeys(false);
    press(Qt::Key_F12);
    EXPECT_EQ(spy.count(), 3);
    EXPECT_EQ(host->keys.size(), 2);

    // Keys not forwarded stay in the grid.
    grid->setForwardedKeys({});
    set->cancel();
    press(Qt::Key_PageDown);
    EXPECT_EQ(spy.count(), 3);
    EXPECT_EQ(set->recNo(), 2);
}

TEST_F(GridTest, CtrlDelAsksTheWindowToDelete)
{
    QSignalSpy spy(grid, &DBGridEh::deleteRequested);
    goTo(1, Lunar);
    press(Qt::Key_Delete, Qt::ControlModifier);
    EXPECT_EQ(spy.count(), 1);
    EXPECT_EQ(set->recordCount(), 3);
}

TEST_F(GridTest, ColumnContextMenuShowsOnRightClickOfItsColumn)
{
    QMenu lunaMenu, notaMenu;
    lunaMenu.addAction(QStringLiteral("Tiparire declaratie lunara"));
    notaMenu.addAction(QStringLiteral("Primara"));
    grid->column(Luna)->setContextMenu(&lunaMenu);
    grid->column(Nota)->setContextMenu(&notaMenu);
    QStringList shown;
    QObject::connect(&lunaMenu, &QMenu::aboutToShow, [&] { shown << QStringLiteral("luna"); });
    QObject::connect(&notaMenu, &QMenu::aboutToShow, [&] { shown << QStringLiteral("nota"); });
    auto rightClick = [&](int row, int column) {
        QTimer::singleShot(0, [] {
            if (QWidget *popup = QApplication::activePopupWidget())
                popup->close();
        });
        const QPoint at = grid->visualRect(grid->model()->index(row, column)).center();
        QContextMenuEvent event(QContextMenuEvent::Mouse, at, grid->viewport()->mapToGlobal(at));
        QApplication::sendEvent(grid->viewport(), &event);
    };

    rightClick(2, Nota);
    EXPECT_EQ(shown, QStringList{QStringLiteral("nota")});
    EXPECT_EQ(set->recNo(), 2); // the row clicked became current
    rightClick(1, Luna);
    EXPECT_EQ(shown, (QStringList{QStringLiteral("nota"), QStringLiteral("luna")}));
    rightClick(1, Lunar);
    EXPECT_EQ(shown.size(), 2);
}

TEST_F(GridTest, LeavingTheGridForAnotherControlPostsTheRow)
{
    host->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(host.get()));
    grid->setFocus();
    typeInto(0, Nota, QStringLiteral("k"));
    ASSERT_NE(grid->activeEditor(), nullptr);
    other->setFocus();
    EXPECT_EQ(posts, 1);
    EXPECT_EQ(set->state(), RecordSet::State::Browse);
    EXPECT_EQ(set->field(QStringLiteral("note")).asString(), QStringLiteral("k"));
}

TEST_F(GridTest, TheCursorFollowsTheRecordSet)
{
    grid->setCurrentColumn(Inclusiv);
    set->last();
    EXPECT_EQ(currentRow(), 2);
    EXPECT_EQ(grid->currentColumn(), int(Inclusiv));
    set->first();
    EXPECT_EQ(currentRow(), 0);
    // A change of state alone (the program starts or cancels an edit) keeps the cursor.
    set->edit();
    EXPECT_EQ(currentRow(), 0);
    set->cancel();
    EXPECT_EQ(currentRow(), 0);
    EXPECT_EQ(grid->currentColumn(), int(Inclusiv));
    set->emptyDataSet();
    EXPECT_FALSE(grid->currentIndex().isValid());
    EXPECT_EQ(grid->selectedFieldName(), QStringLiteral("ill"));
}

// The footer as a screen reader finds it: under the grid's table, after its titles and cells,
// each total named with the footer's text and described by its column's title.
TEST_F(GridTest, AScreenReaderReachesTheTotalsAfterTheTitlesAndCells)
{
    const QStringList footer{"Total", "Total | Luna", "Total: 6 | Nr", "Total: 3 451.25 | lunar",
                             "Total: 150.50 | inclusiv"};
    EXPECT_EQ(footerTexts(host.get()), (QMap<QString, QStringList>{{"DBGridEh2", footer}}));

    QAccessibleInterface *table = QAccessible::queryAccessibleInterface(grid);
    ASSERT_TRUE(table && table->tableInterface());
    EXPECT_EQ(table->role(), QAccessible::Table);
    EXPECT_EQ(table->tableInterface()->rowCount(), 3);
    EXPECT_EQ(table->tableInterface()->columnCount(), 5);
    // Titles, then the rows, each child where its parent says it is.
    QStringList titles;
    for (int i = 0; i < table->childCount(); ++i) {
        QAccessibleInterface *child = table->child(i);
        ASSERT_TRUE(child) << i;
        EXPECT_EQ(table->indexOfChild(child), i);
        EXPECT_EQ(child->parent(), table);
        if (child->role() == QAccessible::ColumnHeader)
            titles << child->text(QAccessible::Name);
    }
    EXPECT_EQ(titles, (QStringList{"Luna", "Nr", "lunar", "inclusiv", "Nota"}));
    QAccessibleInterface *cell = table->tableInterface()->cellAt(1, Luna);
    ASSERT_TRUE(cell && cell->tableCellInterface());
    EXPECT_EQ(cell->text(QAccessible::Name), "februarie");
    EXPECT_EQ(cell->tableCellInterface()->columnHeaderCells().value(0)->text(QAccessible::Name), "Luna");
    EXPECT_EQ(table->child(table->childCount() - 1)->role(), QAccessible::Footer);

    QAccessibleInterface *totals = table->child(table->childCount() - 1);
    EXPECT_EQ(totals->child(2)->text(QAccessible::Value), "3 451.25");
    ASSERT_TRUE(totals->child(2)->valueInterface());
    EXPECT_DOUBLE_EQ(totals->child(2)->valueInterface()->currentValue().toDouble(), 3451.25);
    EXPECT_FALSE(totals->child(0)->valueInterface()); // "Total" is no number
    EXPECT_EQ(totals->child(2)->parent(), totals);
    EXPECT_EQ(totals->indexOfChild(totals->child(2)), 2);
    // A point on a total finds it, as a reader's mouse review does.
    const QRect sum = totals->child(3)->rect();
    EXPECT_FALSE(sum.isEmpty());
    EXPECT_EQ(table->childAt(sum.center().x(), sum.center().y()), totals);
    EXPECT_EQ(totals->childAt(sum.center().x(), sum.center().y()), totals->child(3));

    // A hidden column has no total; a grid without a footer has no footer object.
    grid->column(Nr)->setVisible(false);
    EXPECT_EQ(footerTexts(host.get()).value("DBGridEh2").size(), 4);
    grid->setFooterVisible(false);
    EXPECT_TRUE(footerTexts(host.get()).isEmpty());
}

// The grid's children are numbered as Qt numbers a table's: the focus and selection events
// that the table view sends name a cell by that number.
TEST_F(GridTest, ChildrenAreNumberedAsQtsOwnTableNumbersThem)
{
    QTableView plain;
    plain.setModel(grid->model());
    QAccessibleInterface *qt = QAccessible::queryAccessibleInterface(&plain);
    QAccessibleInterface *ours = QAccessible::queryAccessibleInterface(grid);
    ASSERT_EQ(ours->childCount(), qt->childCount() + 1); // and the footer after them
    for (int i = 0; i < qt->childCount(); ++i) {
        EXPECT_EQ(ours->child(i)->role(), qt->child(i)->role()) << i;
        EXPECT_EQ(ours->child(i)->text(QAccessible::Name), qt->child(i)->text(QAccessible::Name)) << i;
    }
    goTo(2, Lunar);
    ASSERT_TRUE(ours->focusChild());
    EXPECT_EQ(ours->indexOfChild(ours->focusChild()), qt->indexOfChild(qt->tableInterface()->cellAt(2, Lunar)));
}

// A total that changes is told to the reader once, with its new text; a total the reader has
// not seen yet needs no telling.
TEST_F(GridTest, ChangedTotalsAreToldOnceWithTheirNewText)
{
    auto *totals = dynamic_cast<DBGridFooterAccessible *>(QAccessible::queryAccessibleInterface(grid->footer()));
    ASSERT_TRUE(totals);
    auto told = [totals] {
        QStringList texts;
        for (QAccessibleInterface *cell : totals->takeChangedCells())
            texts << cell->text(QAccessible::Name) + QStringLiteral(" = ") + cell->text(QAccessible::Value);
        return texts;
    };
    typeInto(1, Inclusiv, QStringLiteral("1000"));
    press(Qt::Key_Down);
    EXPECT_TRUE(told().isEmpty()); // nothing was read yet

    footerTexts(host.get()); // the reader reads the window
    typeInto(1, Inclusiv, QStringLiteral("2000"));
    EXPECT_TRUE(told().isEmpty()); // not posted yet
    press(Qt::Key_Down);
    EXPECT_EQ(told(), (QStringList{"Total: 5 451.25 = 5 451.25", "Total: 2 150.50 = 2 150.50"}));
    EXPECT_TRUE(told().isEmpty());

    grid->clearFooterSums();
    EXPECT_EQ(told(), (QStringList{"Total = ", "Total = ", "Total = "}));
    set->deleteRecord();
    EXPECT_EQ(told().size(), 3);
}

} // namespace
