#include "reports/engine/reporterror.h"
#include "reports/engine/reportexpression.h"
#include "reports/engine/reporttable.h"

#include <gtest/gtest.h>

namespace {

class ReportExpressionTest : public ::testing::Test
{
protected:
    ReportExpressionTest()
        : person({QStringLiteral("ap_first_name"), QStringLiteral("ap_idnp_dt"), QStringLiteral("amount"),
                  QStringLiteral("bonus")})
    {
        person.addRow({QStringLiteral("Ştefan"), QDate(2009, 7, 24), 1200.5, QVariant()});
        person.first();
        ctx.sources = {{QStringLiteral("person"), &person}};
        ctx.today = QDate(2015, 3, 9);
        ctx.pageNumber = 4;
    }

    QVariant eval(const QString &text) { return ReportExpression::parse(text)->evaluate(ctx); }
    QString text(const QString &t) { return eval(t).toString(); }

    ReportTable person;
    ReportContext ctx;
};

TEST_F(ReportExpressionTest, ArithmeticAndTexts)
{
    EXPECT_DOUBLE_EQ(eval("1 + 2 * 3 - (4 - 1) / 2").toDouble(), 5.5);
    EXPECT_DOUBLE_EQ(eval("-amount + 0.5").toDouble(), -1200.0);
    // A null field counts as zero in a sum of fields, as empty months do in a row total.
    EXPECT_DOUBLE_EQ(eval("person.amount + person.bonus").toDouble(), 1200.5);
    EXPECT_EQ(text("'Pagina ' + PAGENUMBER"), "Pagina 4");
    EXPECT_EQ(text("'l''agent ' + AP_FIRST_NAME"), "l'agent Ştefan");
    EXPECT_TRUE(eval("10 / 0").isNull());
}

TEST_F(ReportExpressionTest, CopyOverDatesAndToday)
{
    EXPECT_EQ(text("COPY(person.ap_idnp_dt,1,2)"), "24");
    EXPECT_EQ(text("COPY(person.ap_idnp_dt,4,2)"), "07");
    EXPECT_EQ(text("COPY(person.ap_idnp_dt,7,4)"), "2009");
    EXPECT_EQ(text("COPY(Date,1,2) + '/' + COPY(DATE,4,2) + '/' + copy(date,7,4)"), "09/03/2015");
}

TEST_F(ReportExpressionTest, ConditionsAndComparisons)
{
    EXPECT_EQ(text("IF(amount > 1000, 'mare', 'mic')"), "mare");
    EXPECT_EQ(text("IF(bonus = 0 AND NOT (amount < 5), 'da', 'nu')"), "da");
    EXPECT_EQ(text("IF(ap_first_name <> 'Ştefan' OR 1 >= 2, 'da', 'nu')"), "nu");
    EXPECT_EQ(text("TRIM('  x  ')"), "x");
    EXPECT_TRUE(ReportExpression::truth(QStringLiteral("X")));
    EXPECT_FALSE(ReportExpression::truth(QStringLiteral(" ")));
    EXPECT_FALSE(ReportExpression::truth(QVariant()));
}

TEST_F(ReportExpressionTest, AggregatesNameTheirSource)
{
    auto e = ReportExpression::parse("COUNT + SUM(saldo.sd_ill + sd_paym_fond) + SUM(amount)");
    ASSERT_EQ(e->aggregates().size(), 3u);
    EXPECT_EQ(e->aggregates()[0].source, "");
    EXPECT_EQ(e->aggregates()[1].source, "saldo");
    EXPECT_EQ(e->aggregates()[2].source, "");
    EXPECT_DOUBLE_EQ(e->aggregateStep(e->aggregates()[2].node, ctx), 1200.5);
    EXPECT_DOUBLE_EQ(e->aggregateStep(e->aggregates()[0].node, ctx), 1);
}

TEST_F(ReportExpressionTest, MistakesStopTheReport)
{
    EXPECT_THROW(eval("ap_frist_name"), ReportError);
    EXPECT_THROW(eval("saldo.amount"), ReportError);
    EXPECT_THROW(ReportExpression::parse("COPY(ap_first_name,1)"), ReportError);
    EXPECT_THROW(ReportExpression::parse("SUM(SUM(amount))"), ReportError);
    EXPECT_THROW(ReportExpression::parse("'open"), ReportError);
    EXPECT_THROW(ReportExpression::parse("1 +"), ReportError);
    EXPECT_THROW(ReportExpression::parse("FOO(1)"), ReportError);
}

} // namespace
