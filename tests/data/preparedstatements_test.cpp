// Statements already prepared are run again without a new prepare: what they read must still
// be the database's current state, and a change of the schema must still go through.

#include "data/dberror.h"
#include "data/ibdatabase.h"
#include "data/ibquery.h"
#include "data/ibtransaction.h"
#include "data/readscope.h"
#include "data/tdm.h"
#include "tests/support/testdatabase.h"

namespace {

using PreparedStatements = DataModuleTest;

QVariant readFirst(IbQuery *q, const QString &sql)
{
    ReadScope read(q, sql);
    return read.found() ? read.value(0) : QVariant();
}

TEST_F(PreparedStatements, TheSameTextReadsRowsWrittenSinceItsLastRun)
{
    const QString count = QStringLiteral("select count(*) from t_pachet where anul=2010");
    EXPECT_EQ(readFirst(DM->IBQ1, count).toInt(), 0);
    DM->execWrite(QStringLiteral("insert into t_pachet values (1,'P1','01.02.2010',2010,1,3,1,NULL,NULL,NULL)"));
    EXPECT_EQ(readFirst(DM->IBQ1, count).toInt(), 1);
    // A writer on another connection is seen as well (read committed).
    exec(QStringLiteral("insert into t_pachet values (2,'P2','01.02.2010',2010,4,6,1,NULL,NULL,NULL)"));
    EXPECT_EQ(readFirst(DM->IBQ1, count).toInt(), 2);
    EXPECT_EQ(DM->IBQ1->preparedCount(), 1);
}

TEST_F(PreparedStatements, AProcedureRunsAgainOnEveryReuse)
{
    const QString sql = QStringLiteral("select * from get_sd_id");
    const double first = readFirst(DM->IBQ1, sql).toDouble();
    const double second = readFirst(DM->IBQ1, sql).toDouble();
    EXPECT_EQ(second, first + 1);
}

TEST_F(PreparedStatements, AReusedSelectCanBeReopenedBeforeItsTransactionEnds)
{
    const QString sql = QStringLiteral("select km_id from k_month order by km_id");
    {
        ReadScope read(DM->IBQ1, sql);
        read->next();
        EXPECT_EQ(read.value(0).toInt(), 2);
        // Same text again while the first cursor is still open in the same transaction.
        read->open();
        EXPECT_EQ(read.value(0).toInt(), 1);
    }
}

TEST_F(PreparedStatements, AddingAColumnAfterReadsOfTheTableSucceedsAndIsSeen)
{
    const QString all = QStringLiteral("select * from t_pachet");
    readFirst(DM->IBQ1, all);
    readFirst(DM->IBQ3, all);
    DM->execWrite(QStringLiteral(" alter table t_pachet add extra integer "));
    {
        ReadScope read(DM->IBQ1, all);
        EXPECT_EQ(read->columnIndex(QStringLiteral("EXTRA")), 10);
    }
    // Dropping the table is possible too: nothing holds it.
    DM->execWrite(QStringLiteral("drop table t_pachet"));
    EXPECT_THROW(readFirst(DM->IBQ1, all), DbError);
}

TEST_F(PreparedStatements, AStatementThatFailsIsNotKept)
{
    EXPECT_THROW(readFirst(DM->IBQ1, QStringLiteral("select * from no_such_table")), DbError);
    EXPECT_EQ(DM->IBQ1->preparedCount(), 0);
    DM->IBT1->commitIfActive();
}

TEST_F(PreparedStatements, OnlyTheMostRecentTextsAreKept)
{
    for (int i = 1; i <= 40; ++i)
        readFirst(DM->IBQ1, QStringLiteral("select km_name_ro from k_month where km_id=%1").arg(i % 12 + 1) +
                                QString(i, u' '));
    EXPECT_EQ(DM->IBQ1->preparedCount(), 32);
    // Writes are one-off texts and are never kept.
    DM->execWrite(QStringLiteral("update t_pachet set nume='X' where pachet_id=-1"));
    EXPECT_EQ(DM->IBQ2->preparedCount(), 0);
}

TEST_F(PreparedStatements, TheConnectionClosesAndReopensWithStatementsKept)
{
    const QString sql = QStringLiteral("select count(*) from k_month");
    EXPECT_EQ(readFirst(DM->IBQ1, sql).toInt(), 12);
    DM->IDB->close();
    EXPECT_EQ(DM->IBQ1->preparedCount(), 0);
    DM->IDB->open();
    EXPECT_EQ(readFirst(DM->IBQ1, sql).toInt(), 12);
}

} // namespace
