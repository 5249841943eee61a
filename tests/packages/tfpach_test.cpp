// The dialog "Formarea pachetului electronic" driven as the user would: the periods and form
// types of the year, OK refused without a form type, and the period handed to the owner.

#include "data/tdm.h"
#include "grid/dblookupcombobox.h"
#include "packages/tfpach.h"
#include "tests/support/scripteduserinteraction.h"
#include "tests/support/testdatabase.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>

namespace {

class TFPachTest : public DataModuleTest
{
protected:
    void SetUp() override
    {
        DataModuleTest::SetUp();
        DM->Temp->close();
        DM->Temp->createDataSet();
        DM->Temp->append();
    }
    void open(int year)
    {
        dialog = std::make_unique<TFPach>(year);
        dialog->show();
        period = dialog->findChild<QComboBox *>("ComboBox1");
        formType = dialog->findChild<DbLookupComboBox *>("DBLookupComboBox1");
        ok = dialog->findChild<QPushButton *>("BitBtn1");
        ASSERT_TRUE(period && formType && ok);
    }
    // As the user picks a row of the drop-down list.
    void chooseFormType(int row)
    {
        formType->setCurrentIndex(row);
        emit formType->activated(row);
    }
    static QStringList items(QComboBox *box)
    {
        QStringList list;
        for (int i = 0; i < box->count(); ++i)
            list << box->itemText(i);
        return list;
    }

    ScriptedUserInteraction user;
    std::unique_ptr<TFPach> dialog;
    QComboBox *period = nullptr;
    DbLookupComboBox *formType = nullptr;
    QPushButton *ok = nullptr;
};

TEST_F(TFPachTest, ShowsItsCaptionsWithNothingChosen)
{
    open(2016);
    EXPECT_EQ(dialog->windowTitle(), "Formarea pachetului electronic");
    auto *label1 = dialog->findChild<QLabel *>("Label1");
    auto *label2 = dialog->findChild<QLabel *>("Label2");
    ASSERT_TRUE(label1 && label2);
    EXPECT_EQ(label1->text(), "Pachet electronic cu declaratii pentru luna");
    EXPECT_EQ(label1->buddy(), period);
    EXPECT_EQ(label2->text(), "Declaraţii");
    EXPECT_EQ(label2->buddy(), formType);
    EXPECT_FALSE(period->isEditable());
    EXPECT_EQ(ok->text(), "OK");
    EXPECT_TRUE(ok->isDefault());

    EXPECT_EQ(period->currentIndex(), -1);
    EXPECT_TRUE(DM->Temp->field("kft_rf").isNull());
    EXPECT_EQ(formType->dataField(), "kft_rf");
    EXPECT_EQ(formType->dataSource()->dataSet(), DM->Temp);
    EXPECT_EQ(formType->currentIndex(), -1);
}

TEST_F(TFPachTest, OffersThePeriodsAndFormTypesOfTheYear)
{
    open(2012);
    EXPECT_EQ(items(period), QStringList{"Anul intreg"});
    EXPECT_EQ(items(formType), QStringList{"Primară"});

    open(2014);
    EXPECT_EQ(items(period), (QStringList{"Trim. I", "Trim. II", "Trim. III", "Trim. IV", "Anul intreg"}));
    EXPECT_EQ(items(formType), QStringList{"Primară"});

    open(2016);
    EXPECT_EQ(period->count(), 13);
    EXPECT_EQ(period->itemText(2), "Martie");
    EXPECT_EQ(period->itemText(12), "Anul intreg");
    EXPECT_EQ(items(formType), (QStringList{"Primară", "De corectare"}));
}

TEST_F(TFPachTest, OkWithoutFormTypeKeepsTheDialogOpen)
{
    open(2016);
    QSignalSpy chosen(dialog.get(), &TFPach::periodChosen);
    period->setCurrentIndex(2);
    ok->click();
    EXPECT_EQ(user.errors, QStringList{"Indicati Declaratii !"});
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(chosen.count(), 0);
    EXPECT_TRUE(dialog->period().PeriodCode.isEmpty());

    chooseFormType(1);
    period->setCurrentIndex(12);
    ok->click();
    EXPECT_EQ(user.errors, (QStringList{"Indicati Declaratii !", "Declaratia anuala poate fi numai primara !"}));
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(chosen.count(), 0);
}

TEST_F(TFPachTest, MarchCorrectionIn2016ClosesWithItsPeriod)
{
    open(2016);
    QSignalSpy chosen(dialog.get(), &TFPach::periodChosen);
    period->setCurrentIndex(2);
    chooseFormType(1);
    EXPECT_EQ(DM->Temp->field("kft_rf").asInteger(), 3);
    ok->click();
    EXPECT_TRUE(user.errors.isEmpty());
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    ASSERT_EQ(chosen.count(), 1);
    const auto p = chosen.at(0).at(0).value<PackagePeriod>();
    for (const PackagePeriod &got : {p, dialog->period()}) {
        EXPECT_EQ(got.PeriodCode, "L03");
        EXPECT_EQ(got.PeriodFilter, " and sd_month=3  and sd_kft_rf=3");
        EXPECT_EQ(got.MonthFrom, "3");
        EXPECT_EQ(got.MonthTo, "3");
    }
}

TEST_F(TFPachTest, QuarterIn2014CarriesNoFormType)
{
    open(2014);
    period->setCurrentIndex(1);
    chooseFormType(0);
    ok->click();
    EXPECT_TRUE(user.errors.isEmpty());
    EXPECT_EQ(dialog->period().PeriodCode, "T02");
    EXPECT_EQ(dialog->period().PeriodFilter, " and sd_month between 4 and 6 ");
}

} // namespace
