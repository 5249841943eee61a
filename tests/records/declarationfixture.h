#pragma once
// A database with one agent, two persons and the record sets of the persons workspace loaded
// as the window would hold them, for the tests of the declaration and monthly-row rules.

#include "data/dberror.h"
#include "data/ee.h"
#include "data/formats.h"
#include "data/helpers.h"
#include "data/readscope.h"
#include "data/tdm.h"
#include "records/detachedhandler.h"
#include "records/nameaccountrules.h"
#include "records/saldodatarules.h"
#include "tests/support/scripteduserinteraction.h"
#include "tests/support/testdatabase.h"
#include "tests/support/testworkspace.h"

class DeclarationFixture : public DataModuleTest
{
protected:
    void SetUp() override
    {
        DataModuleTest::SetUp();
        exec("insert into econ_agent values(1,'1234567','1','A','B','C',91,'D','0')");
        exec("insert into econ_agent values(2,'7654321','2','E','F','G',91,'H','0')");
        exec("insert into assured_person (ap_id,ap_ea,ap_cpas,ap_first_name,ap_middle_name) "
             "values(1,1,'12345678901','POPESCU','ION')");
        exec("insert into assured_person (ap_id,ap_ea,ap_cpas,ap_first_name,ap_middle_name) "
             "values(2,1,'12345678902','IONESCU','ANA')");
        DM->serverDate = QDateTime(QDate(2010, 6, 15), QTime(0, 0));
        for (RecordSet *s : {DM->econ_agent, DM->assured_person, DM->name_account, DM->saldo_data})
            s->createDataSet();
        load(DM->econ_agent, "select * from econ_agent where ea_id=1");
        load(DM->assured_person, "select * from assured_person order by ap_id");
        NameAccountRules::attach();
        SaldoDataRules::attach();
    }

    // Copies the rows of a statement into a record set with its rules detached.
    void load(RecordSet *set, const QString &sql)
    {
        DetachedHandler post(set->beforePost), insert(set->afterInsert);
        ReadScope read(DM->IBQ1, sql);
        CopyToMemTable(read.query(), set, 3);
    }

    // Stores a declaration of the first person and makes it the current one, with the year
    // list on its year.
    void declaration(int naId, int year, int category = 101)
    {
        exec(QStringLiteral("insert into name_account (na_id,na_pl,na_ap,na_year,na_is_pens,na_period_begin,"
                            "na_period_end,na_ap_category,na_wb_in_ea,na_kft_rf,na_rest,na_public) "
                            "values(%1,NULL,1,%2,'N','01.01.%2','31.12.%2',%3,'N',1,0,'N')")
                 .arg(naId)
                 .arg(year)
                 .arg(category));
        useDeclaration(naId, year);
    }
    void useDeclaration(int naId, int year)
    {
        ws.year = QString::number(year);
        load(DM->name_account, QStringLiteral("select * from name_account where na_id=%1").arg(naId));
        load(DM->saldo_data, QStringLiteral("select * from saldo_data where sd_na=%1 order by sd_month").arg(naId));
    }

    // A rate row of k_tariff_ap_value; ceiling < 0 leaves ktapv_ap_max empty.
    void rate(int id, int category, const QString &from, const QString &to, const QString &apUnit, double ap,
              double ceiling, const QString &eaUnit, double ea)
    {
        exec(QStringLiteral("insert into k_tariff_ap_value values(%1,%2,'%3','%4','%5',%6,%7,'%8',%9)")
                 .arg(id)
                 .arg(category)
                 .arg(from, to, apUnit, Formats::floatText(ap),
                      ceiling < 0 ? QStringLiteral("NULL") : Formats::floatText(ceiling), eaUnit,
                      Formats::floatText(ea)));
    }

    // Posts a record set: "" when the post completed, the refusal's message otherwise.
    static QString post(RecordSet *set)
    {
        try {
            set->post();
        } catch (const EE &e) {
            return e.message();
        } catch (const DbError &e) {
            return QStringLiteral("database error: ") + e.message();
        }
        return {};
    }

    QVariant stored(const QString &sql) { return scalar(sql); }

    TestWorkspace ws;
    ScriptedUserInteraction ui;
};
