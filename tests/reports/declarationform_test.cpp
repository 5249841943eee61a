// The declaration form: the rows of person and saldo it is built from, and the pages printed
// for a package, one declaration of it, a quarter, and one month of the persons workspace.

#include "data/ee.h"
#include "records/detachedhandler.h"
#include "reports/declarationform.h"
#include "reports/packagelist.h"
#include "tests/reports/formsfixture.h"

namespace {

using DeclarationForm::Scope;

// A line of saldo as it stood while the form was shown.
struct Line {
    QString na, no, month;
    double fund, ill, add, addEa;
};

class DeclarationFormTest : public FormsFixture
{
protected:
    void SetUp() override
    {
        FormsFixture::SetUp();
        person(1, "POPESCU", "ION");
        person(2, "ANDRIES", "MARIA");
        person(3, "ZAMFIR", "ANA");
        package(11, 101);
        declaration(1, 1, 11);
        declaration(2, 2, 11, 2010, "V");
        row(1, 1, 1, 1000);
        row(2, 1, 2, 2000);
        row(3, 1, 2, 300, 150);
        row(4, 1, 4, 1500.4);
        row(5, 2, 1, 500);
        ui.onReport = [this](const Report &r) {
            shown << pdfText(r);
            lines.clear();
            publicMarks.clear();
            RecordSet *saldo = DM->saldo;
            auto at = [saldo](int r, const char *f) {
                return saldo->valueAt(r, saldo->fieldIndex(QString::fromLatin1(f)));
            };
            RecordSet *person = DM->person;
            for (person->first(); !person->eof(); person->next()) {
                publicMarks << person->field("na_public").asString() + u'|' + person->field("na_ft1").asString() + u'|'
                                   + person->field("na_ft2").asString();
                for (int i = 0; i < saldo->recordCount(); ++i)
                    lines.push_back({at(i, "sd_na").toString(), at(i, "no").toString(), at(i, "km_name_ro").toString(),
                                     at(i, "sd_paym_fond").toDouble(), at(i, "sd_ill").toDouble(),
                                     at(i, "sd_sum_add").toDouble(), at(i, "sd_sum_add_ea").toDouble()});
            }
        };
        PackageList::fill();
    }

    void loadWorkspace(int personId, int declarationId, int month)
    {
        for (RecordSet *s : {DM->assured_person, DM->name_account, DM->saldo_data}) {
            DetachedHandler a(s->beforePost), b(s->afterScroll), c(s->afterInsert);
            ReadScope read(DM->IBQ1,
                           QStringLiteral("select * from %1 where %2")
                               .arg(s->name(),
                                    s == DM->assured_person ? QStringLiteral("ap_id=%1").arg(personId)
                                    : s == DM->name_account
                                        ? QStringLiteral("na_id=%1").arg(declarationId)
                                        : QStringLiteral("sd_na=%1 and sd_month=%2").arg(declarationId).arg(month)));
            CopyToMemTable(read.query(), s, 3);
        }
    }

    std::vector<Line> lines;
    QStringList publicMarks;
};

TEST_F(DeclarationFormTest, PackageFormsHaveOnePagePerDeclarationWithNumberedLinesAndTotal)
{
    ASSERT_TRUE(DM->pachet->locate("pl_nr", 101));
    DeclarationForm::printPackage(Scope::Package, false, QString(), true);
    ASSERT_EQ(ui.reports, QStringList{QStringLiteral("Declaraţia persoanei asigurate")});
    EXPECT_TRUE(ui.printed.isEmpty());
    const QString text = shown.value(0);
    const QStringList pages = text.split(u'\f', Qt::SkipEmptyParts);
    ASSERT_EQ(pages.size(), 2) << text.toStdString();
    const QString first = pages[0];
    for (const char *s : {"Formular",
                          "REV5",
                          "Declaraţia persoanei asigurate pentru anul",
                          "2010",
                          "Perioada de gestiune",
                          "Date despre angajator",
                          "SRL ALFA",
                          "1234567",
                          "1002600012345",
                          "Date despre persoana asigurată",
                          "12345678901",
                          "POPESCU",
                          "ION",
                          "VASILE",
                          "Buletin de identitate",
                          "OF. 12",
                          "Tip formular",
                          "primar",
                          "de corectare",
                          "pentru stabilirea pensiei",
                          "Serviciul public",
                          "Fond salarii",
                          "Conducător AE",
                          "POPESCU DIRECTOR",
                          "Contabil şef",
                          "IONESCU CONTABIL",
                          "L. Ş."})
        EXPECT_TRUE(first.contains(QString::fromUtf8(s))) << s;
    EXPECT_EQ(lineWith(first, "Ianuarie"), "1 Ianuarie 01.01.2010 31.01.2010 5 101 2411 1000 100 60 230");
    EXPECT_EQ(lineWith(first, "Aprilie"), "4 Aprilie 01.04.2010 30.04.2010 5 101 2411 1500.4 150.04 90.02 345.09");
    // The category-150 line is listed but its pay fund stays out of the total.
    EXPECT_EQ(lineWith(first, "Total"), "Total 4500.4 480.04 288.02 1104.09");
    EXPECT_TRUE(lineWith(first, "Eliberat").contains("OF. 12"));
    EXPECT_EQ(lineWith(first, "Data eliber"), QStringLiteral("Data eliberării Ziua 07 Luna 09 Anul 2001"));
    // Filled in on the program's day.
    EXPECT_EQ(lineWith(first, "Data completării"), QStringLiteral("Data completării Ziua 15 Luna 05 Anul 2024 L. Ş."));
    EXPECT_EQ(lineWith(pages[1], "Total"), "Total 500 50 30 115");
    EXPECT_TRUE(pages[1].contains("ANDRIES"));

    // "N" of the public service is left empty, "V" stays; the form type of the declaration.
    EXPECT_EQ(publicMarks, (QStringList{"|X|", "V|X|"}));
    ASSERT_EQ(lines.size(), 7u);
    EXPECT_EQ(lines[4].month, "Total");
    EXPECT_EQ(lines[4].no, "");
    EXPECT_EQ(lines[4].na, "1");
    EXPECT_EQ(lines[5].no, "1"); // the numbering starts again for the next declaration
}

TEST_F(DeclarationFormTest, ADeclarationWithOnlyCategory150RowsHasATotalWithoutPayFund)
{
    declaration(3, 3, 11);
    row(6, 3, 3, 900, 150);
    DeclarationForm::printPackage(Scope::Package, false, QString(), true);
    const QStringList pages = shown.value(0).split(u'\f', Qt::SkipEmptyParts);
    ASSERT_EQ(pages.size(), 3);
    EXPECT_EQ(lineWith(pages[2], "Martie"), "1 Martie 01.03.2010 31.03.2010 5 150 2411 900 90 54 207");
    // The pay fund of the total is zero, which the form's mask prints as nothing.
    EXPECT_EQ(lineWith(pages[2], "Total"), "Total 90 54 207");
}

TEST_F(DeclarationFormTest, AQuarterLimitsTheLinesAndOtherNumbersMeanTheWholeYear)
{
    DeclarationForm::printPackage(Scope::Package, true, QStringLiteral(" 2 "), true);
    QStringList pages = shown.value(0).split(u'\f', Qt::SkipEmptyParts);
    ASSERT_EQ(pages.size(), 2);
    EXPECT_FALSE(pages[0].contains("Ianuarie"));
    EXPECT_EQ(lineWith(pages[0], "Total"), "Total 1500.4 150.04 90.02 345.09");
    // A declaration without rows in the quarter: its header, an empty table and no total.
    EXPECT_TRUE(pages[1].contains("ANDRIES"));
    EXPECT_FALSE(pages[1].contains("Total"));

    for (const QString &wholeYear : {QStringLiteral("5"), QStringLiteral("0"), QString()}) {
        shown.clear();
        DeclarationForm::printPackage(Scope::Package, true, wholeYear, true);
        EXPECT_TRUE(shown.value(0).contains("Ianuarie")) << wholeYear.toStdString();
    }
    shown.clear();
    DeclarationForm::printPackage(Scope::Package, false, QStringLiteral("2"), true); // not ticked
    EXPECT_TRUE(shown.value(0).contains("Ianuarie"));
}

TEST_F(DeclarationFormTest, AQuarterThatIsNotAWholeNumberIsRefusedBeforeAnythingIsPrinted)
{
    for (const QString &text : {QStringLiteral("II"), QStringLiteral("2.5"), QStringLiteral("1a")}) {
        try {
            DeclarationForm::printPackage(Scope::Package, true, text, true);
            ADD_FAILURE() << text.toStdString();
        } catch (const EE &e) {
            EXPECT_EQ(e.message(), "Indicati trimestrul corect (1 - 4) !");
        }
    }
    EXPECT_TRUE(ui.reports.isEmpty());
    EXPECT_EQ(DeclarationForm::quarterCondition(true, "4"), " and sd_month between 10 and 12");
    EXPECT_EQ(DeclarationForm::quarterCondition(true, "1"), " and sd_month between 1 and 3 ");
    EXPECT_EQ(DeclarationForm::quarterCondition(false, "x"), "");
}

TEST_F(DeclarationFormTest, OneDeclarationOfThePackageGoesToThePrinterWhenAsked)
{
    PackageList::fillDeclarations();
    ASSERT_TRUE(DM->rev->locate("na_id", 2));
    DeclarationForm::printPackage(Scope::Declaration, false, QString(), false);
    EXPECT_TRUE(ui.reports.isEmpty());
    ASSERT_EQ(ui.printed.size(), 1);
    const QStringList pages = shown.value(0).split(u'\f', Qt::SkipEmptyParts);
    ASSERT_EQ(pages.size(), 1);
    EXPECT_TRUE(pages[0].contains("ANDRIES"));
    EXPECT_FALSE(DM->person->active());
}

TEST_F(DeclarationFormTest, APrintWithoutPackageOrDeclarationIsRefused)
{
    auto refusal = [](Scope scope) {
        try {
            DeclarationForm::printPackage(scope, false, QString(), true);
        } catch (const EE &e) {
            return e.message();
        }
        return QString();
    };
    EXPECT_EQ(refusal(Scope::Declaration), "Introduceti numarul declaratiei  !"); // rev not filled
    DM->pachet->emptyDataSet();
    EXPECT_EQ(refusal(Scope::Package), "Pachetul nu este ales  !");
    EXPECT_TRUE(ui.reports.isEmpty());
}

TEST_F(DeclarationFormTest, MonthlyFormSumsEveryRowOfTheMonthAndTakesTheFirstRowsFormType)
{
    row(10, 1, 3, 1000, 101, 1);
    row(11, 1, 3, 200, 101, 3, 10);
    row(12, 1, 3, 50, 150, 1, 20);
    loadWorkspace(1, 1, 3);
    DM->saldo_data->last();
    DeclarationForm::prepareMonth();
    EXPECT_EQ(DM->Temp->field("km_rf").asInteger(), 3);
    DeclarationForm::printMonth();
    ASSERT_EQ(ui.reports.size(), 1);
    const QString text = shown.value(0);
    EXPECT_EQ(text.count(QStringLiteral("Martie")), 3) << text.toStdString();
    EXPECT_EQ(lineWith(text, "Total"), "Total 1250 125 75 287.5");
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0].no, "1");
    EXPECT_EQ(lines[2].no, "3");
    EXPECT_EQ(publicMarks, QStringList{"N|X|"}); // the stored "N", "primar"
    EXPECT_FALSE(DM->person->active());
    EXPECT_FALSE(DM->saldo->active());
}

TEST_F(DeclarationFormTest, AMonthWithoutRowsPrintsAnEmptyTableAsACorrection)
{
    loadWorkspace(1, 1, 6);
    DeclarationForm::prepareMonth();
    EXPECT_EQ(DM->Temp->field("km_rf").asInteger(), 0); // no monthly row
    DM->Temp->field("km_rf").setValue(6);
    DeclarationForm::printMonth();
    EXPECT_FALSE(shown.value(0).contains("Total"));
    EXPECT_TRUE(lines.empty());
    EXPECT_EQ(publicMarks, QStringList{"N||X"});
}

TEST_F(DeclarationFormTest, MonthlyFormNeedsAPersonADeclarationAndOneOfTheYear)
{
    auto refusal = [] {
        try {
            DeclarationForm::printMonth();
        } catch (const EE &e) {
            return e.message();
        }
        return QString();
    };
    for (RecordSet *s : {DM->assured_person, DM->name_account, DM->saldo_data})
        s->createDataSet();
    DeclarationForm::prepareMonth();
    EXPECT_EQ(refusal(), "Persoana nu are cpas sau nu exista !");
    loadWorkspace(3, 99, 1);
    EXPECT_EQ(refusal(), "Persoana nu are declaratie !");
    declaration(7, 3, 0, 2009);
    loadWorkspace(3, 7, 1);
    EXPECT_EQ(refusal(), "Declaratia nu este !");
    EXPECT_TRUE(ui.reports.isEmpty());
}

TEST(DeclarationFormStatements, AreTheFixedOnes)
{
    EXPECT_EQ(DeclarationForm::packageRowsStatement(Scope::Declaration, "11", "2", " and sd_month between 1 and 3 "),
              " select  sd_na ,99 as sd_month,sum(sd_paym_fond) as sd_paym_fond, sum(sd_ill) as sd_ill,sum(sd_sum_add) "
              "as sd_sum_add,sd_dela_d,sd_pina_d, sum(sd_sum_add_ea) as sd_sum_add_ea,sd_zile_n, 'km_name_ro' as "
              "km_name_ro,sd_ap_category,sd_position  from saldo_data  left outer join  k_month  on (sd_month=km_id) "
              "where  sd_na in (select na_id from name_account  where na_pl=11 and  na_id =2) and sd_month between 1 "
              "and 3  group by  sd_na ,sd_dela_d,sd_pina_d, sd_zile_n,sd_ap_category,sd_position  order by "
              "sd_na,sd_dela_d ");
    EXPECT_EQ(DeclarationForm::monthlyRowsStatement("5", "3"),
              " select  sd_id, sd_na ,sd_month, sd_paym_fond,sd_ill, sd_sum_add,sd_dela_d,sd_pina_d,sd_sum_add_ea,"
              "sd_zile_n,  KM_NAME_RO,sd_ap_category,sd_position,sd_kft_rf  from saldo_data  left outer join  k_month  "
              "on (sd_month=km_id) where  sd_na=5 and sd_month=3 order by sd_na,sd_dela_d ");
    EXPECT_EQ(DeclarationForm::monthName(12), "Decembrie");
    EXPECT_EQ(DeclarationForm::monthName(0), "");
}

} // namespace
