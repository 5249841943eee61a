#pragma once
// Two agents with a person each (a third person for the first agent), the first agent loaded
// as the persons workspace holds it, and helpers that build packages and declarations and
// read back the state a regrouping must leave.

#include "data/formats.h"
#include "data/helpers.h"
#include "data/readscope.h"
#include "data/tdm.h"
#include "tests/support/scripteduserinteraction.h"
#include "tests/support/testdatabase.h"
#include "tests/support/testworkspace.h"

#include <QMap>

class PackagesFixture : public DataModuleTest
{
protected:
    void SetUp() override
    {
        DataModuleTest::SetUp();
        exec("insert into econ_agent values(1,'1234567','1','A','B','C',91,'D','0')");
        exec("insert into econ_agent values(2,'7654321','2','E','F','G',91,'H','0')");
        for (auto [id, agent] : {std::pair{1, 1}, std::pair{2, 2}, std::pair{3, 1}})
            exec(QStringLiteral("insert into assured_person (ap_id,ap_ea,ap_cpas,ap_first_name,ap_middle_name,"
                                "ap_birth_dt) values(%1,%2,'1234567890%1','NUME','PRENUME','05.03.1980')")
                     .arg(id)
                     .arg(agent));
        {
            ReadScope read(DM->IBQ1, "select * from econ_agent where ea_id=1");
            CopyToMemTable(read.query(), DM->econ_agent, 3);
        }
        for (RecordSet *s : {DM->assured_person, DM->name_account, DM->saldo_data})
            s->createDataSet();
        DM->serverDate = QDateTime(QDate(2010, 6, 15), QTime(0, 0));
        ws.year = QStringLiteral("2010");
    }

    // A package as the program creates it, of the given form type.
    void package(int id, int agent = 1, int year = 2010, int formType = 1)
    {
        exec(QStringLiteral("insert into packlabel values(%1,%2,5,%3,'01.02.%3',%4,'DA',%1)")
                 .arg(id)
                 .arg(agent)
                 .arg(year)
                 .arg(formType));
        exec(QStringLiteral("set generator gen_pl_id to %1").arg(qMax<qint64>(id, generator())));
    }
    // `count` declarations with identifiers from `firstId`, in a package (0: none), each with
    // one monthly row unless told otherwise. Persons 1 and 3 belong to agent 1, person 2 to 2.
    void declarations(int firstId, int count, int packageId, int year = 2010, int person = 1, bool rows = true)
    {
        const QString pl = packageId ? QString::number(packageId) : QStringLiteral("NULL");
        exec(QStringLiteral("execute block as declare i integer = %1; begin while (i < %2) do begin "
                            "insert into name_account (na_id,na_pl,na_ap,na_year,na_rest) values (:i,%3,%4,%5,0); "
                            "%6 i = i + 1; end end")
                 .arg(firstId)
                 .arg(firstId + count)
                 .arg(pl)
                 .arg(person)
                 .arg(year)
                 .arg(rows ? QStringLiteral("insert into saldo_data (sd_id,sd_na,sd_month) values (:i,:i,1);")
                           : QString()));
    }

    // Packages of agent 1 in 2010, each holding `count` declarations from `firstId` on.
    struct Filled {
        int package, firstId, count;
    };
    void filledPackages(std::initializer_list<Filled> packages)
    {
        for (const Filled &f : packages)
            package(f.package);
        for (const Filled &f : packages)
            declarations(f.firstId, f.count, f.package);
    }

    qint64 generator() { return scalar("select gen_id(gen_pl_id, 0) from rdb$database").toLongLong(); }

    // Declarations of each package of agent 1 in the year, by package number.
    QMap<qint64, int> sizes(int year = 2010)
    {
        QMap<qint64, int> out;
        ReadScope read(DM->IBQ4, QStringLiteral("select pl_id, (select count(*) from name_account where na_pl=pl_id) "
                                                "from packlabel where pl_ea=1 and pl_year=%1")
                                     .arg(year));
        for (; !read->eof(); read->next())
            out[read.value(0).toLongLong()] = read.value(1).toInt();
        return out;
    }
    QStringList idsIn(qint64 packageId)
    {
        return column(QStringLiteral("select na_id from name_account where na_pl=%1 order by na_id").arg(packageId));
    }

    // What must hold for agent 1 and the year after packages are formed; each broken rule
    // is named in the result.
    QStringList brokenRules(int year = 2010)
    {
        QStringList broken;
        if (scalar("select count(*) from name_account where not exists (select 1 from saldo_data where sd_na=na_id)")
                .toInt())
            broken << "a declaration without monthly rows";
        if (scalar("select count(*) from packlabel where pl_ea=1 and pl_kft_rf is distinct from 1").toInt())
            broken << "a package of the agent that is not primary";
        const QMap<qint64, int> held = sizes(year);
        int underfull = 0;
        for (int n : held) {
            if (n < 1 || n > 50)
                broken << QStringLiteral("a package holding %1").arg(n);
            underfull += n < 50;
        }
        if (underfull > 1)
            broken << QStringLiteral("%1 under-full packages").arg(underfull);
        const QString ofYear = QStringLiteral("from name_account join assured_person on ap_id=na_ap where ap_ea=1 and "
                                              "na_year=%1")
                                   .arg(year);
        if (scalar("select count(*) " + ofYear + " and na_rest is distinct from 1").toInt())
            broken << "a declaration not marked as packaged";
        if (scalar("select count(*) " + ofYear
                   + QStringLiteral(" and (na_pl is null or na_pl not in (select pl_id from packlabel where "
                                    "pl_ea=1 and pl_year=%1))")
                         .arg(year))
                .toInt())
            broken << "a declaration outside the year's packages";
        if (generator() != scalar("select max(pl_id) from packlabel").toLongLong())
            broken << "the generator is not at the largest package";
        return broken;
    }

    // Every row of a table, every column, in key order.
    QStringList contents(const QString &table, const QString &key)
    {
        QStringList out;
        ReadScope read(DM->IBQ4, QStringLiteral("select * from %1 order by %2").arg(table, key));
        for (; !read->eof(); read->next()) {
            QStringList row;
            for (int i = 0; i < read->columnCount(); ++i)
                row << read.value(i).toString();
            out << row.join(u'|');
        }
        return out;
    }

    TestWorkspace ws;
    ScriptedUserInteraction ui;
};
