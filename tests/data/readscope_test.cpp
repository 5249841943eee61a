// A read opens its query in a transaction of its own and ends it on every way out; a second
// read on a query that is still being read is refused instead of closing the first one.

#include "data/dberror.h"
#include "data/ee.h"
#include "data/helpers.h"
#include "data/ibquery.h"
#include "data/ibtransaction.h"
#include "data/readscope.h"
#include "data/tdm.h"
#include "tests/support/testdatabase.h"

#include <stdexcept>

namespace {

using ReadScopes = DataModuleTest;

const QString kMonths = QStringLiteral("select km_id from k_month order by km_id");
const QString kTransaction = QStringLiteral("select current_transaction from rdb$database");

void expectEnded(IbQuery *q)
{
    EXPECT_FALSE(q->transaction()->active());
    EXPECT_FALSE(q->active());
    EXPECT_FALSE(q->inReadScope());
}

TEST_F(ReadScopes, ANestedReadOnTheSameQueryIsRefusedAndTheOuterOneReadsOn)
{
    ReadScope outer(DM->IBQ1, kMonths);
    outer->next();
    try {
        ReadScope inner(DM->IBQ1, QStringLiteral("select count(*) from k_prof"));
        FAIL() << "a nested read on IBQ1 was accepted";
    } catch (const std::logic_error &e) {
        EXPECT_TRUE(QString::fromUtf8(e.what()).startsWith("IBQ1: ")) << e.what();
    }
    // Nothing of the outer read was touched: same statement, same transaction, same cursor.
    EXPECT_TRUE(DM->IBT1->active());
    EXPECT_EQ(DM->IBQ1->sqlText(), kMonths);
    EXPECT_EQ(outer.value(0).toInt(), 2);
    outer->next();
    EXPECT_EQ(outer.value(0).toInt(), 3);
    // Another query reads meanwhile; ending the outer read by hand is refused too.
    {
        ReadScope other(DM->IBQ3, QStringLiteral("select count(*) from k_month"));
        EXPECT_EQ(other.value(0).toInt(), 12);
    }
    EXPECT_THROW(DM->endRead(DM->IBQ1), std::logic_error);
    EXPECT_TRUE(DM->IBQ1->active());
    outer.end();
    expectEnded(DM->IBQ1);
    // Once ended, the query is free again.
    ReadScope again(DM->IBQ1, QStringLiteral("select count(*) from k_month"));
    EXPECT_EQ(again.value(0).toInt(), 12);
}

TEST_F(ReadScopes, TheReadEndsOnEveryWayOut)
{
    {
        ReadScope read(DM->IBQ1, kMonths);
        EXPECT_TRUE(read.found());
        EXPECT_TRUE(DM->IBQ1->inReadScope());
    }
    expectEnded(DM->IBQ1);

    try {
        ReadScope read(DM->IBQ1, kMonths);
        throw EE(QStringLiteral("refused"));
    } catch (const EE &) {
    }
    expectEnded(DM->IBQ1);

    // Copying the rows commits and closes the query itself; the scope then only lets it go.
    {
        ReadScope read(DM->IBQ1, kMonths);
        CopyToMemTable(read.query(), DM->cds1, 2);
        EXPECT_FALSE(DM->IBT1->active());
        EXPECT_TRUE(DM->IBQ1->inReadScope());
    }
    expectEnded(DM->IBQ1);
    EXPECT_EQ(DM->cds1->recordCount(), 12);

    // Ended early, the scope's own end does nothing more.
    {
        ReadScope read(DM->IBQ1, kMonths);
        read.end();
        expectEnded(DM->IBQ1);
        DM->IBT1->startTransaction();
    }
    EXPECT_TRUE(DM->IBT1->active());
    DM->IBT1->commit();
}

TEST_F(ReadScopes, AStatementThatFailsToOpenLeavesItsTransactionForTheNextRead)
{
    EXPECT_THROW(ReadScope(DM->IBQ1, QStringLiteral("select * from no_such_table")), DbError);
    EXPECT_TRUE(DM->IBT1->active());
    EXPECT_FALSE(DM->IBQ1->inReadScope());
    ReadScope read(DM->IBQ1, QStringLiteral("select count(*) from k_month"));
    EXPECT_EQ(read.value(0).toInt(), 12);
}

TEST_F(ReadScopes, EachReadHasATransactionOfItsOwnAndFurtherStatementsStayInIt)
{
    // A transaction left active is committed before the read starts its own.
    DM->IBT1->startTransaction();
    DM->IBQ1->setSql(kTransaction);
    DM->IBQ1->open();
    const qint64 leftActive = DM->IBQ1->value(0).toLongLong();
    qint64 first = 0;
    {
        ReadScope read(DM->IBQ1, kTransaction);
        first = read.value(0).toLongLong();
        EXPECT_GT(first, leftActive);
        read.reopen(QStringLiteral("select current_transaction, count(*) from k_month group by 1"));
        EXPECT_EQ(read.value(0).toLongLong(), first);
        EXPECT_EQ(read.value(1).toInt(), 12);
    }
    ReadScope next(DM->IBQ1, kTransaction);
    EXPECT_GT(next.value(0).toLongLong(), first);
    next.end();
    EXPECT_THROW(next.reopen(kTransaction), std::logic_error);
}

} // namespace
