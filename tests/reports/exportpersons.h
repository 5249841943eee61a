#pragma once
// Two persons of one agent to export: a CPAS with leading zeros, 13-digit codes, a birth date
// on 29 February, an empty CPAS, birth date and last name, a letter outside ASCII; read into
// the scratch record set as the register reads them. The program folder is a folder of the
// test's own.

#include "data/helpers.h"
#include "data/readscope.h"
#include "data/tdm.h"
#include "platform/platform.h"
#include "tests/support/scripteduserinteraction.h"
#include "tests/support/testdatabase.h"

#include <QTemporaryDir>

class ExportPersons : public DataModuleTest
{
protected:
    void SetUp() override
    {
        DataModuleTest::SetUp();
        Platform::setProgramFolder(program.path());
        exec("insert into econ_agent values(1,'1234567','1','SRL ALFA','B','C',91,'D','0')");
        exec("insert into assured_person (ap_id,ap_ea,ap_cpas,ap_idnp,ap_birth_dt,ap_first_name,ap_middle_name,"
             "ap_last_name) values(1,1,'0012345678901','2004012345678','29.02.1980','POPESCU','ION',NULL)");
        exec("insert into assured_person (ap_id,ap_ea,ap_cpas,ap_idnp,ap_birth_dt,ap_first_name,ap_middle_name,"
             "ap_last_name) values(2,1,NULL,'0000000000017',NULL,'ANDRIEŞ','MARIA','V')");
    }
    void TearDown() override
    {
        Platform::setProgramFolder({});
        DataModuleTest::TearDown();
    }
    // The persons read as the register reads them, with a number column.
    void read(const QString &columns = "ap_first_name,ap_cpas,ap_idnp,ap_id,ap_birth_dt,ap_last_name")
    {
        ReadScope r(DM->IBQ3, "select " + columns + " from assured_person order by ap_id");
        CopyToMemTable(r.query(), DM->CDS, 2);
    }

    QTemporaryDir program;
    ScriptedUserInteraction ui;
};
