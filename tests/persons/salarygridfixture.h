#pragma once
// A person with a declaration for 2010 of category 101 and no monthly row, the rules attached,
// and the persons window open on its page "Salariul": the start of the salary grid tests.

#include "data/helpers.h"
#include "data/readscope.h"
#include "data/tdm.h"
#include "grid/dbgrideh.h"
#include "grid/dbgridmodel.h"
#include "persons/tfpers.h"
#include "records/assuredpersonrules.h"
#include "records/nameaccountrules.h"
#include "records/saldodatarules.h"
#include "tests/persons/personswindow.h"
#include "tests/support/scripteduserinteraction.h"
#include "tests/support/testdatabase.h"

#include <QPushButton>
#include <QTest>

class SalaryGridFixture : public DataModuleTest
{
protected:
    // The grid's columns, in the order of the page.
    enum Column { Luna, DeLa, PinaLa, Zile, Categoria, Functia, Fond, Boala, Individuale, Angajator, Declaratie };

    void SetUp() override
    {
        DataModuleTest::SetUp();
        exec("insert into econ_agent values(1,'1234567','1','A','B','C',91,'D','0')");
        exec("insert into assured_person (ap_id,ap_ea,ap_cpas,ap_idnp,ap_first_name,ap_middle_name) "
             "values(1,1,'11111111111','1111111111111','POPESCU','ION')");
        exec("insert into name_account (na_id,na_pl,na_ap,na_year,na_is_pens,na_period_begin,na_period_end,"
             "na_ap_category,na_wb_in_ea,na_kft_rf,na_rest,na_public) "
             "values(10,NULL,1,2010,'N','01.01.2010','31.12.2010',101,'N',1,0,'N')");
        {
            ReadScope read(DM->IBQ1, "select * from econ_agent");
            CopyToMemTable(read.query(), DM->econ_agent, 3);
        }
        for (RecordSet *s : {DM->assured_person, DM->name_account, DM->saldo_data})
            s->createDataSet();
        LoadClassifier(DM->k_month);
        DM->declareFormTypes();
        DM->cl_form_type->createDataSet();
        DM->cl_form_type->append();
        DM->cl_form_type->field("kft_id").setValue(1);
        DM->cl_form_type->field("kft_name_ro").setValue(QStringLiteral("Primară"));
        DM->cl_form_type->post();
        DM->serverDate = QDateTime(QDate(2010, 12, 15), QTime(0, 0));
        AssuredPersonRules::attach();
        NameAccountRules::attach();
        SaldoDataRules::attach();

        w = openPersonsWindow("2010");
        w->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(w));
        w->findChild<QPushButton *>("BitBtn1")->click(); // every person
        w->findChild<QPushButton *>("BitBtn9")->click(); // page "Salariul"
        grid = w->findChild<DBGridEh *>("DBGridEh2");
        ASSERT_TRUE(grid);
        ASSERT_TRUE(ui.errors.isEmpty()) << ui.errors.join('|').toStdString();
    }
    void TearDown() override
    {
        DM->saldo_data->cancel();
        delete w;
        FPers = nullptr;
        DataModuleTest::TearDown();
    }
    int storedRows() { return scalar("select count(*) from saldo_data").toInt(); }

    ScriptedUserInteraction ui;
    TFPers *w = nullptr;
    DBGridEh *grid = nullptr;
};
