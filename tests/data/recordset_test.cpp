// The record set engine: editing states, the order of the post checks, ordered and linked
// rows, lookup and calculated fields, handlers that can be detached, and the item model.

#include "data/dberror.h"
#include "data/recordset.h"
#include "data/recordsetmodel.h"

#include <gtest/gtest.h>

namespace {

std::unique_ptr<RecordSet> people()
{
    auto s = std::make_unique<RecordSet>("people");
    s->addField("id", FieldType::Float, 0, true);
    s->addField("name", FieldType::String, 5, true);
    s->addField("born", FieldType::Date);
    s->createDataSet();
    return s;
}

void add(RecordSet &s, double id, const QString &name)
{
    s.append();
    s["id"].setValue(id);
    s["name"].setValue(name);
    s.post();
}

TEST(RecordSet, RequiredFieldsAreCheckedAfterTheBeforePostHandler)
{
    auto s = people();
    s->append();
    s->field("name").setValue("ANA");
    try {
        s->post();
        FAIL();
    } catch (const DbError &e) {
        EXPECT_EQ(e.message(), "Field 'id' must have a value");
    }
    EXPECT_EQ(s->state(), RecordSet::State::Insert); // the row stays for correction
    // A before-post handler that fills the key lets the row through.
    s->beforePost = [](RecordSet &r) { r["id"].setValue(7.0); };
    s->post();
    EXPECT_EQ(s->state(), RecordSet::State::Browse);
    EXPECT_EQ(s->recordCount(), 1);
    EXPECT_EQ(s->field("id").asFloat(), 7.0);
}

TEST(RecordSet, ARefusingHandlerKeepsTheEditAndTheStoredRowUnchanged)
{
    auto s = people();
    add(*s, 1, "ANA");
    s->beforePost = [](RecordSet &) { throw DbError("refuzat"); };
    s->edit();
    s->field("name").setValue("ION");
    EXPECT_THROW(s->post(), DbError);
    EXPECT_EQ(s->state(), RecordSet::State::Edit);
    EXPECT_EQ(s->displayTextAt(0, 1), "ANA");
    s->cancel();
    EXPECT_EQ(s->field("name").asString(), "ANA");
}

TEST(RecordSet, ValuesAreConvertedAndTextIsCutToTheFieldSize)
{
    auto s = people();
    s->append();
    s->field("id").setValue("12.5");
    s->field("name").setValue("ABCDEFG");
    s->field("born").setValue("05.03.2008");
    EXPECT_EQ(s->field("name").asString(), "ABCDE");
    EXPECT_EQ(s->field("born").asString(), "05.03.2008");
    EXPECT_EQ(s->field("id").asFloat(), 12.5);
    EXPECT_THROW(s->field("id").setValue("12,x"), DbError);
    EXPECT_THROW(s->field("born").setValue("31.02.2008"), DbError);
    EXPECT_THROW(s->field("nope"), DbError);
}

TEST(RecordSet, WritingOutsideEditIsRefused)
{
    auto s = people();
    add(*s, 1, "ANA");
    EXPECT_THROW(s->field("name").setValue("X"), DbError);
}

TEST(RecordSet, MovingAwayPostsAChangedRowAndDropsAnUntouchedNewOne)
{
    auto s = people();
    add(*s, 1, "ANA");
    add(*s, 2, "ION");
    s->first();
    s->edit();
    s->field("name").setValue("MARIA");
    s->next();
    EXPECT_EQ(s->displayTextAt(0, 1), "MARIA");
    s->append();
    s->first();
    EXPECT_EQ(s->recordCount(), 2);
}

TEST(RecordSet, EventsComeInTheirOrder)
{
    auto s = people();
    QStringList log;
    s->afterInsert = [&](RecordSet &) { log << "insert"; };
    s->afterScroll = [&](RecordSet &) { log << "scroll"; };
    s->beforePost = [&](RecordSet &) { log << "post"; };
    s->append();
    s->field("id").setValue(1);
    s->field("name").setValue("A");
    s->post();
    s->append();
    s->cancel();
    EXPECT_EQ(log.join(","), "insert,scroll,post,insert,scroll,scroll");
    // Detached handlers stay silent until attached again.
    log.clear();
    const auto saved = s->afterScroll;
    s->afterScroll = nullptr;
    s->first();
    s->afterScroll = saved;
    s->first();
    EXPECT_EQ(log.join(","), "scroll");
}

TEST(RecordSet, IndexKeepsRowsOrderedAfterEveryPost)
{
    auto s = people();
    s->setIndexFieldNames("name;id");
    add(*s, 1, "ION");
    add(*s, 2, "ANA");
    add(*s, 3, "ANA");
    EXPECT_EQ(s->field("id").asFloat(), 3.0); // the posted row stays current
    QStringList order;
    for (int r = 0; r < s->recordCount(); ++r)
        order << s->displayTextAt(r, 0);
    EXPECT_EQ(order.join(","), "2,3,1");
}

TEST(RecordSet, DetailShowsOnlyTheRowsOfTheMastersCurrentRow)
{
    auto master = people();
    add(*master, 1, "ANA");
    add(*master, 2, "ION");
    RecordSet detail("detail");
    detail.addField("pid", FieldType::Float);
    detail.addField("year", FieldType::Integer);
    detail.createDataSet();
    detail.setMaster(master.get(), "id", "pid");
    master->first();
    detail.append(); // takes the master's key
    detail["year"].setValue(2008);
    detail.post();
    EXPECT_EQ(detail["pid"].asFloat(), 1.0);
    master->next();
    EXPECT_EQ(detail.recordCount(), 0);
    detail.append();
    detail["year"].setValue(2009);
    detail.post();
    detail.append();
    detail["year"].setValue(2010);
    detail.post();
    EXPECT_EQ(detail.recordCount(), 2);
    master->first();
    EXPECT_EQ(detail.recordCount(), 1);
    EXPECT_EQ(detail["year"].asInteger(), 2008);
}

TEST(RecordSet, LookupAndCalculatedFieldsFollowTheRow)
{
    RecordSet months("k_month");
    months.addField("km_id", FieldType::Integer);
    months.addField("km_name_ro", FieldType::String, 20);
    months.createDataSet();
    months.append();
    months["km_id"].setValue(3);
    months["km_name_ro"].setValue("Martie");
    months.post();

    RecordSet rows("rows");
    rows.addField("m", FieldType::SmallInt);
    rows.addField("a", FieldType::Float);
    rows.addField("b", FieldType::Float);
    rows.addLookupField("month", FieldType::String, 20, "m", &months, "km_id", "km_name_ro");
    rows.addCalculatedField("diff", FieldType::Float);
    rows.onCalcFields = [](RecordSet &r) { r["diff"].setValue(r["a"].asFloat() - r["b"].asFloat()); };
    rows.createDataSet();
    rows.append();
    rows["m"].setValue(3);
    rows["a"].setValue(100.0);
    rows["b"].setValue(30.0);
    EXPECT_EQ(rows["month"].asString(), "Martie");
    EXPECT_EQ(rows["diff"].asFloat(), 70.0); // recalculated while editing
    rows.post();
    EXPECT_EQ(rows.displayTextAt(0, 4), "70");
    EXPECT_EQ(rows.dataFieldCount(), 3);
}

TEST(RecordSet, DeleteAndEmpty)
{
    auto s = people();
    add(*s, 1, "A");
    add(*s, 2, "B");
    add(*s, 3, "C");
    s->moveTo(1);
    s->deleteRecord();
    EXPECT_EQ(s->recordCount(), 2);
    EXPECT_EQ(s->field("id").asFloat(), 3.0);
    s->emptyDataSet();
    EXPECT_TRUE(s->isEmpty());
    EXPECT_TRUE(s->eof());
    EXPECT_TRUE(s->field("id").isNull());
}

TEST(RecordSetModel, ShowsTheRowBeingInsertedAndEditsThroughThePost)
{
    auto s = people();
    add(*s, 1, "ANA");
    int posts = 0;
    s->beforePost = [&](RecordSet &) { ++posts; };
    RecordSetModel model(s.get());
    EXPECT_EQ(model.rowCount(), 1);
    EXPECT_EQ(model.headerData(1, Qt::Horizontal, Qt::DisplayRole).toString(), "name");
    s->append();
    EXPECT_EQ(model.rowCount(), 2);
    EXPECT_EQ(model.currentRow(), 1);
    s->cancel();
    EXPECT_TRUE(model.setData(model.index(0, 1), "ION", Qt::EditRole));
    EXPECT_EQ(s->state(), RecordSet::State::Edit);
    EXPECT_EQ(model.data(model.index(0, 1), Qt::DisplayRole).toString(), "ION");
    s->post();
    EXPECT_EQ(posts, 1);
}

} // namespace
