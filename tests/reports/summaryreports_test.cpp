// The package list and the three summary reports of the forms-printing window, read from the
// database and printed to PDF.

#include "reports/packagelist.h"
#include "reports/summaryreports.h"
#include "tests/reports/formsfixture.h"

namespace {

class SummaryReportsTest : public FormsFixture
{
protected:
    void SetUp() override
    {
        FormsFixture::SetUp();
        person(1, "POPESCU", "ION");
        person(2, "ANDRIES", "MARIA");
        person(3, "ZAMFIR", "ANA");
        person(4, "VLAD", "DAN");
        person(9, "STRAIN", "OM", 2);
        package(11, 101);
        package(12, 102);
        package(14, 104);
        package(19, 109, 2);
        declaration(1, 1, 11);
        declaration(2, 2, 11);
        declaration(3, 3, 12); // only category 150
        declaration(4, 4, 14);
        declaration(9, 9, 19); // another agent
        declaration(8, 1, 0, 2009);
        row(1, 1, 1, 1000);
        row(2, 1, 2, 2000);
        row(3, 2, 1, 500);
        row(4, 2, 1, 700, 150);
        row(5, 3, 3, 900, 150);
        row(6, 4, 3, 250.4);
        row(7, 9, 1, 123456);
        row(8, 8, 1, 55555);
    }
};

TEST_F(SummaryReportsTest, PackageListLeavesOutCategory150AndOtherAgents)
{
    PackageList::fill();
    RecordSet *p = DM->pachet;
    ASSERT_EQ(p->recordCount(), 2);
    ASSERT_TRUE(p->locate("pl_nr", 101));
    EXPECT_EQ(p->field("cnt").asInteger(), 2);
    EXPECT_DOUBLE_EQ(p->field("col3").asFloat(), 3500);
    EXPECT_DOUBLE_EQ(p->field("col4").asFloat(), 350);
    EXPECT_DOUBLE_EQ(p->field("col5").asFloat(), 210);
    EXPECT_DOUBLE_EQ(p->field("col6").asFloat(), 805);
    EXPECT_EQ(p->field("kft_name_ro").asString(), QStringLiteral("Primară"));
    EXPECT_FALSE(p->locate("pl_nr", 102)); // its only declaration has category-150 rows
    EXPECT_EQ(p->fieldDef(0).name.toLower(), "pl_id");
}

TEST_F(SummaryReportsTest, PackageReportPrintsTitleColumnsAndTotals)
{
    SummaryReports::showPackageReport();
    ASSERT_EQ(ui.reports, QStringList{"Raport pe pachete"});
    ASSERT_EQ(shown.size(), 1);
    const QString text = shown[0];
    EXPECT_TRUE(text.contains("Agentul economic :SRL ALFA, Anul :2010")) << text.toStdString();
    // The titles of the columns, wrapped in their boxes.
    for (const char *word :
         {"Nr.", "pachet", "persoane", "Fond", "salarii", "Concedii", "medicale", "individuale", "angajator"})
        EXPECT_TRUE(text.contains(QString::fromUtf8(word))) << word;
    EXPECT_EQ(lineWith(text, "101"), "101 2 3 500.00 350.00 210.00 805.00");
    EXPECT_EQ(lineWith(text, "104"), "104 1 250.40 25.04 15.02 57.59");
    EXPECT_EQ(lastLineWith(text, "Total"), "Total 3 3 750.40 375.04 225.02 862.59");
}

TEST_F(SummaryReportsTest, DeclarationListIsNumberedAndEmptiedWhenThePackageChanges)
{
    declaration(5, 1, 11); // only category 150: not listed
    row(9, 5, 4, 10, 150);
    PackageList::fill();
    ASSERT_TRUE(DM->pachet->locate("pl_nr", 101));
    PackageList::fillDeclarations();
    RecordSet *rev = DM->rev;
    DataSource *source = DM->dataSourceOf(rev);
    ASSERT_EQ(rev->recordCount(), 2);
    EXPECT_TRUE(source->enabled());
    EXPECT_EQ(rev->field("nr").asInteger(), 1);
    EXPECT_EQ(rev->field("na_id").asInteger(), 1);
    EXPECT_EQ(rev->field("nume").asString(), "POPESCU");
    EXPECT_EQ(rev->field("patron").asString(), "VASILE");
    rev->next();
    EXPECT_EQ(rev->field("nr").asInteger(), 2);
    EXPECT_DOUBLE_EQ(rev->field("col3").asFloat(), 500); // the category-150 row is not summed
    EXPECT_DOUBLE_EQ(rev->field("col7").asFloat(), 115);

    DM->pachet->locate("pl_nr", 104);
    EXPECT_FALSE(source->enabled());
    PackageList::fillDeclarations();
    EXPECT_TRUE(source->enabled());
    EXPECT_EQ(rev->recordCount(), 1);

    PackageList::clear();
    EXPECT_TRUE(DM->pachet->isEmpty());
    EXPECT_TRUE(rev->isEmpty());
    PackageList::fillDeclarations(); // without a package nothing happens
    EXPECT_TRUE(rev->isEmpty());
}

TEST_F(SummaryReportsTest, PersonMonthReportSumsTheRowsOfAMonth)
{
    row(20, 1, 3, 1000, 101, 1);
    row(21, 1, 3, 200.5, 101, 3); // a correction of March
    SummaryReports::readPersonMonths();
    RecordSet *cds = DM->CDS;
    EXPECT_EQ(cds->fieldCount(), 28);
    EXPECT_EQ(cds->fieldDef(27).name, "NP");
    ASSERT_EQ(cds->recordCount(), 4); // one per declaration of 2010, in name order
    EXPECT_EQ(cds->field("NP").asString(), "ANDRIES MARIA");
    EXPECT_DOUBLE_EQ(cds->field("COLUMN3").asFloat(), 500);
    cds->next();
    EXPECT_EQ(cds->field("NP").asString(), "POPESCU ION");
    EXPECT_DOUBLE_EQ(cds->field("COLUMN5").asFloat(), 1200.5);
    EXPECT_TRUE(cds->field("COLUMN15").isNull());
    cds->next();
    EXPECT_EQ(cds->field("NP").asString(), "VLAD DAN");
    cds->next();
    EXPECT_EQ(cds->field("NP").asString(), "ZAMFIR ANA"); // only category 150: listed, months empty
    EXPECT_TRUE(cds->field("COLUMN5").isNull());

    ui.reports.clear();
    SummaryReports::showPersonMonthReport();
    ASSERT_EQ(ui.reports, QStringList{"Raport"});
    EXPECT_FALSE(DM->CDS->active());
    EXPECT_EQ(ui.waitDepth, 0);
    const QString text = shown.value(0);
    EXPECT_EQ(lineWith(text, "Raport pe :"), "Raport pe : 2010") << text.toStdString();
    EXPECT_TRUE(text.contains("Agentul economic : SRL ALFA"));
    for (const char *m : {"ianuarie", "martie", "decembrie", "Nume, Prenume, Patron"})
        EXPECT_TRUE(text.contains(QString::fromLatin1(m))) << m;
    EXPECT_EQ(lineWith(text, "POPESCU ION"), "2 POPESCU ION 1 000.00 2 000.00 1 200.50 4 200.50");
    EXPECT_EQ(lineWith(text, "TOTAL"),
              "TOTAL 1 500.00 2 000.00 1 450.90 0.00 0.00 0.00 0.00 0.00 0.00 0.00 0.00 0.00 4 950.90");
    EXPECT_EQ(lineWith(text, "ZAMFIR ANA"), "4 ZAMFIR ANA 0.00");
}

TEST_F(SummaryReportsTest, MonthReportSubtotalsOnlyTheQuartersWithRows)
{
    row(30, 4, 7, 400);
    SummaryReports::readMonths();
    RecordSet *cds = DM->CDS;
    ASSERT_EQ(cds->recordCount(), 4); // January, February, March, July; the 2009 row has no package
    cds->last();
    EXPECT_EQ(cds->field("COLUMN6").asInteger(), 7);
    EXPECT_EQ(cds->field("COLUMN7").asInteger(), 3);

    SummaryReports::showMonthReport();
    ASSERT_EQ(ui.reports, QStringList{"Raport pe luni"});
    const QString text = shown.value(0);
    EXPECT_EQ(lineWith(text, "Raport pe luni"), "Raport pe luni pentru anul : 2010") << text.toStdString();
    EXPECT_EQ(lineWith(text, "Ianuarie"), "Ianuarie 1 500.00 150.00 90.00 345.00");
    EXPECT_EQ(lineWith(text, "Total trim. 1"), "Total trim. 1 3 750.40 375.04 225.02 862.59");
    EXPECT_EQ(lineWith(text, "Total trim. 3"), "Total trim. 3 400.00 40.00 24.00 92.00");
    EXPECT_EQ(text.count("Total trim."), 2);
    EXPECT_EQ(lineWith(text, "Total pe an"), "Total pe an 4 150.40 415.04 249.02 954.59");
    EXPECT_FALSE(text.contains("123 456"));
}

TEST(SummaryStatements, AreTheFixedOnes)
{
    EXPECT_EQ(PackageList::declarationsStatement("7"),
              "select distinct na_id as nr, na_id, ap_first_name as nume,ap_middle_name as prenume,ap_last_name as "
              "patron , sum(sd_paym_fond) as col3,sum(sd_ill) as col4, sum(sd_sum_add) as col6, sum(sd_sum_add_ea) as "
              "col7  from name_account  inner join  assured_person on(ap_id=na_ap)  left outer join saldo_data "
              "on(sd_na=na_id)  where na_pl=7 and sd_ap_category<>150  group by na_id,ap_first_name,ap_middle_name,"
              "ap_last_name order by na_id ");
    EXPECT_EQ(SummaryReports::personRowsStatement("2010", "1"),
              " select sd_na,sd_month,sd_paym_fond from saldo_data where sd_ap_category<>150  and sd_na in (select "
              "na_id from assured_person,name_account where  ap_id=na_ap  and na_year=2010 and ap_ea=1) ");
    EXPECT_TRUE(SummaryReports::monthsStatement("2010", "1")
                    .contains("where na_year=2010 and pl_ea=1 and sd_ap_category<>150  group by km_name_ro,sd_month "
                              "order by sd_month "));
    EXPECT_TRUE(SummaryReports::monthsStatement("2010", "1").contains("sd_month,sd_month as trimestru  from"));
}

} // namespace
