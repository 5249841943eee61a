// The entries "Primara" and "De corectare": every row of the current row's month of the
// declaration takes the form type, unless a formed electronic package covers the month.

#include "packages/formtypemarks.h"
#include "tests/records/declarationfixture.h"

namespace {

class FormTypeMarksTest : public DeclarationFixture
{
protected:
    void SetUp() override
    {
        DeclarationFixture::SetUp();
        declaration(10, 2014);
        declaration(11, 2013); // another declaration of the person, with a May row of its own
        // Three rows of May (two categories, two periods of one), one of June.
        row(101, 10, 5, "01.05.2014", "15.05.2014", 101);
        row(102, 10, 5, "16.05.2014", "31.05.2014", 101);
        row(103, 10, 5, "01.05.2014", "31.05.2014", 105);
        row(104, 10, 6, "01.06.2014", "30.06.2014", 101);
        row(111, 11, 5, "01.05.2013", "31.05.2013", 101);
        useDeclaration(10, 2014);
        ws.page = 2;
        DM->saldo_data->locate("sd_id", 102.0);
    }
    void row(int id, int na, int month, const char *from, const char *to, int category)
    {
        exec(QStringLiteral("insert into saldo_data (sd_id,sd_na,sd_month,sd_paym_fond,sd_ill,sd_dela_d,sd_pina_d,"
                            "sd_zile_n,sd_ap_category,sd_kft_rf) values(%1,%2,%3,100,0,'%4','%5',5,%6,1)")
                 .arg(id)
                 .arg(na)
                 .arg(month)
                 .arg(QLatin1String(from), QLatin1String(to))
                 .arg(category));
    }
    QStringList formTypes()
    {
        return column("select cast(sd_id as integer)||':'||sd_kft_rf from saldo_data order by sd_id");
    }
    static QString mark(int type, std::optional<QVariant> *result = nullptr)
    {
        try {
            const auto r = FormTypeMarks::mark(type);
            if (result)
                *result = r;
        } catch (const EE &e) {
            return e.message();
        }
        return {};
    }
};

TEST_F(FormTypeMarksTest, EveryRowOfTheMonthTakesTheFormType)
{
    std::optional<QVariant> current;
    EXPECT_EQ(mark(FormTypeMarks::Correction, &current), "");
    EXPECT_EQ(DM->IBQ2->sqlText(), "update saldo_data set sd_kft_rf=3 where sd_month=5 and sd_na=10");
    EXPECT_EQ(formTypes(), (QStringList{"101:3", "102:3", "103:3", "104:1", "111:1"}));
    ASSERT_TRUE(current);
    EXPECT_EQ(current->toDouble(), 102.0);

    // And back.
    useDeclaration(10, 2014);
    DM->saldo_data->locate("sd_id", 103.0);
    EXPECT_EQ(mark(FormTypeMarks::Primary, &current), "");
    EXPECT_EQ(formTypes(), (QStringList{"101:1", "102:1", "103:1", "104:1", "111:1"}));
    EXPECT_EQ(current->toDouble(), 103.0);
}

TEST_F(FormTypeMarksTest, TheFormTypeTheRowHasAlreadyWritesNothing)
{
    DM->execWrite("update econ_agent set ea_id=ea_id where ea_id=0");
    const QString last = DM->IBQ2->sqlText();
    std::optional<QVariant> current = QVariant(1);
    EXPECT_EQ(mark(FormTypeMarks::Primary, &current), "");
    EXPECT_FALSE(current);
    EXPECT_EQ(DM->IBQ2->sqlText(), last);
}

TEST_F(FormTypeMarksTest, AFormedQuarterlyPackageKeepsItsMonths)
{
    exec("insert into t_pachet (pachet_id,nume,pachet_d,anul,luna_d,luna_p,ae_rf) "
         "values(1,'P','01.08.2014',2014,4,6,1)");
    RecordSet *rows = DM->saldo_data;
    rows->edit();
    rows->field("sd_paym_fond").setValue(555.0);
    EXPECT_EQ(mark(FormTypeMarks::Correction), "Este deja format pachetul electronic  !");
    EXPECT_FALSE(rows->isEditing());
    EXPECT_EQ(stored("select sd_paym_fond from saldo_data where sd_id=102").toDouble(), 100.0);
    EXPECT_EQ(formTypes(), (QStringList{"101:1", "102:1", "103:1", "104:1", "111:1"}));
    EXPECT_EQ(mark(FormTypeMarks::Correction), "Este deja format pachetul electronic  !"); // nothing pending
    EXPECT_EQ(formTypes(), (QStringList{"101:1", "102:1", "103:1", "104:1", "111:1"}));

    // Another agent's package of the quarter, or the same quarter of another year, does not.
    exec("update t_pachet set ae_rf=2");
    exec("insert into t_pachet (pachet_id,nume,pachet_d,anul,luna_d,luna_p,ae_rf) "
         "values(2,'P','01.08.2013',2013,4,6,1)");
    EXPECT_EQ(mark(FormTypeMarks::Correction), "");
    EXPECT_EQ(formTypes(), (QStringList{"101:3", "102:3", "103:3", "104:1", "111:1"}));
}

TEST_F(FormTypeMarksTest, APendingChangeIsSavedBeforeTheMark)
{
    RecordSet *rows = DM->saldo_data;
    rows->edit();
    rows->field("sd_paym_fond").setValue(250.0);
    EXPECT_EQ(mark(FormTypeMarks::Correction), "");
    EXPECT_EQ(column("select cast(sd_paym_fond as integer)||':'||sd_kft_rf from saldo_data where sd_id=102"),
              QStringList{"250:3"});
}

TEST_F(FormTypeMarksTest, OtherPagesAndAnEmptyGridDoNothing)
{
    std::optional<QVariant> current;
    for (int page : {0, 1}) {
        ws.page = page;
        EXPECT_EQ(mark(FormTypeMarks::Correction, &current), "");
        EXPECT_FALSE(current);
    }
    ws.page = 2;
    DM->saldo_data->emptyDataSet();
    EXPECT_EQ(mark(FormTypeMarks::Correction, &current), "");
    EXPECT_FALSE(current);
    EXPECT_EQ(formTypes(), (QStringList{"101:1", "102:1", "103:1", "104:1", "111:1"}));
}

} // namespace
