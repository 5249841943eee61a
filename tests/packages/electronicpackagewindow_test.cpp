// "Formarea &pachetului electronic" of the persons window, chosen from its menu offscreen with
// the period picked in the dialog by keystrokes.

#include "grid/dblookupcombobox.h"
#include "packages/tfpach.h"
#include "persons/tfpers.h"
#include "tests/packages/electronicpackagefixture.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

namespace {

class ElectronicPackageFromTheWindow : public ElectronicPackageFixture
{
protected:
    void SetUp() override
    {
        ElectronicPackageFixture::SetUp();
        w = new TFPers;
        w->show();
        year = w->selectedYear().toInt();
        ASSERT_GE(year, 2015);
        // Two declarations without a package yet: the command forms the packages first.
        for (int id : {100, 101})
            exec(QStringLiteral("insert into name_account (na_id,na_pl,na_ap,na_year,na_is_pens,na_period_begin,"
                                "na_period_end,na_ap_category,na_wb_in_ea,na_kft_rf,na_rest,na_public) "
                                "values(%1,NULL,%2,%3,'N','01.01.%3','31.12.%3',101,'N',1,0,'N')")
                     .arg(id)
                     .arg(id - 99)
                     .arg(year));
        const QByteArray y = QByteArray::number(year);
        row(1, 100, 1, "1000", "0", "60", "230", "'01.01." + y + "'", "'31.01." + y + "'", "2141", 5, 101);
        row(2, 101, 1, "500", "0", "30", "115", "'01.01." + y + "'", "'31.01." + y + "'", "2141", 5, 101);
        row(3, 101, 2, "500", "0", "30", "115", "'01.02." + y + "'", "'28.02." + y + "'", "2141", 5, 101);
    }
    void TearDown() override
    {
        delete w;
        ElectronicPackageFixture::TearDown();
    }

    // Chooses the menu entry; `inDialog` acts on the dialog once it is shown.
    void chooseEntry(std::function<void(TFPach *)> inDialog)
    {
        bool seen = false;
        QTimer::singleShot(0, [&] {
            if (auto *d = qobject_cast<TFPach *>(QApplication::activeModalWidget())) {
                seen = true;
                inDialog(d);
            }
        });
        auto *entry = w->findChild<QAction *>(QStringLiteral("Formareapachetuluielectronic1"));
        ASSERT_TRUE(entry);
        entry->trigger();
        EXPECT_TRUE(seen) << ui.errors.join(" / ").toStdString();
    }

    TFPers *w = nullptr;
    int year = 0;
};

TEST_F(ElectronicPackageFromTheWindow, JanuaryIsFormedFromTheMenuAndTheUserIsTold)
{
    chooseEntry([](TFPach *d) {
        auto *period = d->findChild<QComboBox *>("ComboBox1");
        auto *formType = d->findChild<DbLookupComboBox *>("DBLookupComboBox1");
        period->setFocus();
        QTest::keyClick(period, Qt::Key_Down); // "Ianuarie"
        formType->setFocus();
        QTest::keyClick(formType, Qt::Key_Down); // "Primară"
        QTest::mouseClick(d->findChild<QPushButton *>("BitBtn1"), Qt::LeftButton);
    });

    const QString name = QStringLiteral("REV5_1234567_00101_%1L01.RAR").arg(year);
    EXPECT_EQ(ui.errors, QStringList());
    EXPECT_EQ(ui.notices, QStringList{"Exportul s-a facut !"});
    // The copy is offered, then the check of the archive (both answered No).
    EXPECT_EQ(ui.questions, (QStringList{"De copiat fisierul " + name + " pe suport magnetic ?",
                                         "Verificați pachetul electronic " + name + " ?"}));
    EXPECT_EQ(filesIn("Primara"), QStringList{name});
    EXPECT_EQ(members(program("Primara/" + name)).value("REV5_IP").count("\r\n"), 1);
    EXPECT_EQ(registry(), QStringList{QStringLiteral("1|%1|%2|1|1|1").arg(name).arg(year)});
    EXPECT_EQ(marks(), (QStringList{"1:-1", "2:-1", "3:0"}));
    // The packages were formed before the period was asked.
    EXPECT_EQ(scalar("select count(*) from name_account where na_pl is null or na_rest<>1").toInt(), 0);
    EXPECT_EQ(ui.waitDepth, 0);
}

TEST_F(ElectronicPackageFromTheWindow, ClosingTheDialogWithoutAPeriodEndsSilently)
{
    chooseEntry([](TFPach *d) { d->close(); });
    EXPECT_TRUE(ui.notices.isEmpty());
    EXPECT_TRUE(ui.errors.isEmpty());
    EXPECT_TRUE(registry().isEmpty());
    EXPECT_FALSE(QFileInfo::exists(program("REV5_SD")));

    // OK with a form type and no period: the dialog closes and nothing follows either.
    chooseEntry([](TFPach *d) {
        auto *formType = d->findChild<DbLookupComboBox *>("DBLookupComboBox1");
        formType->setFocus();
        QTest::keyClick(formType, Qt::Key_Down);
        QTest::mouseClick(d->findChild<QPushButton *>("BitBtn1"), Qt::LeftButton);
    });
    EXPECT_TRUE(ui.notices.isEmpty());
    EXPECT_TRUE(ui.errors.isEmpty());
    EXPECT_TRUE(registry().isEmpty());
}

} // namespace
