#pragma once
// Two agents and five persons (four of the first agent), the first agent loaded and the
// person rules attached: the starting point of the persons workspace tests.

#include "data/helpers.h"
#include "data/readscope.h"
#include "data/tdm.h"
#include "records/assuredpersonrules.h"
#include "tests/support/testdatabase.h"

class PersonsFixture : public DataModuleTest
{
protected:
    void SetUp() override
    {
        DataModuleTest::SetUp();
        exec("insert into econ_agent values(1,'1234567','1','A','B','C',91,'D','0')");
        exec("insert into econ_agent values(2,'7654321','2','E','F','G',91,'H','0')");
        {
            ReadScope read(DM->IBQ1, "select * from econ_agent where ea_id=1");
            CopyToMemTable(read.query(), DM->econ_agent, 3);
        }
        for (RecordSet *s : {DM->assured_person, DM->name_account, DM->saldo_data})
            s->createDataSet();
        DM->serverDate = QDateTime(QDate(2010, 6, 15), QTime(0, 0));
        AssuredPersonRules::attach();
        person(1, 1, "IONESCU", "MARIA", "11111111111", "1111111111111");
        person(2, 1, "ION", "PETRU", "22222222222", "2222222222222");
        person(3, 1, "ION", "ANA", "33333333333", "3333333333333");
        person(4, 1, "POPA", "ION", "44444444444", "4444444444444");
        person(5, 2, "ION", "ALTUL", "55555555555", "5555555555555");
    }
    void person(int id, int agent, const char *name, const char *first, const char *cpas, const char *idnp)
    {
        exec(QStringLiteral("insert into assured_person (ap_id,ap_ea,ap_cpas,ap_idnp,ap_first_name,ap_middle_name) "
                            "values(%1,%2,'%3','%4','%5','%6')")
                 .arg(id)
                 .arg(agent)
                 .arg(cpas, idnp, name, first));
    }
};
