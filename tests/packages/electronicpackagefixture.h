#pragma once
// An agent with packaged declarations of 2012 ready to be sent, a program folder of the test's
// own holding our archiver, and readers of what forming leaves behind: the four files, the
// members of the filed archive (read back with bsdtar), the registry and the marks.

#include "data/helpers.h"
#include "data/readscope.h"
#include "data/tdm.h"
#include "platform/clock.h"
#include "platform/platform.h"
#include "tests/packages/packageline.h"
#include "tests/support/scripteduserinteraction.h"
#include "tests/support/testdatabase.h"
#include "tests/support/testworkspace.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

class ElectronicPackageFixture : public DataModuleTest
{
protected:
    void SetUp() override
    {
        DataModuleTest::SetUp();
        ASSERT_TRUE(programDir.isValid());
        Platform::setProgramFolder(programDir.path());
        ASSERT_TRUE(QFile::copy(QStringLiteral(EVD_RAR_EXE), program("rar")));

        exec("insert into econ_agent (ea_id,ea_fosk,ea_idno,ea_full_name,ea_director_name,ea_accountant_name,"
             "ea_kaa2_fosk,ea_receiving_usr) values(1,'1234567','1002600012345','SRL','D','C',7,'Ţară')");
        exec("insert into econ_agent (ea_id,ea_fosk,ea_idno,ea_full_name,ea_director_name,ea_accountant_name,"
             "ea_kaa2_fosk,ea_receiving_usr) values(2,'7654321','1002600054321','SA','E','F',12,'X')");
        person(1, 1, "'1234567890123'", "'ţară'", "'ion'", "'05.03.1980'", "'2000000000001'", "0", "'ab'", "'x12'",
               "'ofc'", "'05.03.1980'");
        person(2, 1, "'1234567890124'", "'POPESCU'", "'MARIA'", "'01.01.1990'", "'2000000000002'", "1", "null", "null",
               "null", "'01.01.2008'");
        person(3, 1, "'1234567890125'", "'ZERO'", "'ZERO'", "'01.01.1970'", "null", "null", "null", "null", "null",
               "null");
        person(4, 1, "'1234567890126'", "'VASILE'", "'ANA'", "'02.02.1985'", "null", "null", "null", "null", "null",
               "null");
        person(5, 2, "'9999999999999'", "'ALTUL'", "'AGENT'", "'02.02.1985'", "null", "null", "null", "null", "null",
               "null");
        {
            ReadScope read(DM->IBQ1, "select * from econ_agent where ea_id=1");
            CopyToMemTable(read.query(), DM->econ_agent, 3);
        }
        for (RecordSet *s : {DM->assured_person, DM->name_account, DM->saldo_data, DM->Temp})
            s->createDataSet();
        DM->Temp->append(); // as the connection leaves it
        DM->serverDate = QDateTime(QDate(2013, 1, 15), QTime(0, 0));
        ws.year = QStringLiteral("2012");
    }
    void TearDown() override
    {
        Platform::setProgramFolder({});
        DataModuleTest::TearDown();
    }

    QString program(const QString &name) const { return programDir.path() + u'/' + name; }

    void person(int id, int agent, const char *cpas, const char *first, const char *middle, const char *birth,
                const char *idnp, const char *docType, const char *seria, const char *number, const char *who,
                const char *issued)
    {
        exec(QStringLiteral("insert into assured_person (ap_id,ap_ea,ap_cpas,ap_first_name,ap_middle_name,"
                            "ap_birth_dt,ap_idnp,ap_doc_type,ap_doc_seria,ap_doc_number,ap_idnp_who,ap_idnp_dt) "
                            "values(%1,%2,%3,%4,%5,%6,%7,%8,%9,%10,%11,%12)")
                 .arg(id)
                 .arg(agent)
                 .arg(cpas, first, middle, birth, idnp, docType, seria, number, who)
                 .arg(issued));
    }
    // A package of the agent as forming leaves it.
    void package(int id, int number, int year = 2012, int agent = 1)
    {
        exec(packageInsert(id, number, year, agent));
        exec(QStringLiteral("set generator gen_pl_id to %1").arg(id));
    }
    static QString packageInsert(int id, int number, int year = 2012, int agent = 1)
    {
        return QStringLiteral("insert into packlabel (pl_id,pl_ea,pl_n,pl_year,pl_form_compl_dt,pl_kft_rf,pl_nr) "
                              "values(%1,%2,%3,%4,'15.01.%5',1,%3)")
            .arg(id)
            .arg(agent)
            .arg(number)
            .arg(year)
            .arg(year + 1);
    }
    // A packaged primary declaration.
    void declaration(int id, int person, int package, int year = 2012)
    {
        exec(declarationInsert(id, person, package, year));
    }
    static QString declarationInsert(int id, int person, int package, int year = 2012)
    {
        return QStringLiteral("insert into name_account (na_id,na_pl,na_ap,na_year,na_is_pens,na_period_begin,"
                              "na_period_end,na_ap_category,na_wb_in_ea,na_kft_rf,na_rest,na_public) "
                              "values(%1,%2,%3,%4,'N','01.01.%4','31.12.%4',101,'N',1,1,'N')")
            .arg(id)
            .arg(package)
            .arg(person)
            .arg(year);
    }
    // A monthly row; dates and position as SQL literals.
    void row(int id, int na, int month, const char *fond, const char *ill, const char *add, const char *ea,
             const char *from, const char *until, const char *position, int days, int category, int formType = 1)
    {
        exec(rowInsert(id, na, month, fond, ill, add, ea, from, until, position, days, category, formType));
    }
    static QString rowInsert(int id, int na, int month, const QString &fond, const QString &ill, const QString &add,
                             const QString &ea, const QString &from, const QString &until, const QString &position,
                             int days, int category, int formType = 1)
    {
        return QStringLiteral("insert into saldo_data (sd_id,sd_na,sd_month,sd_paym_fond,sd_ill,sd_sum_add,"
                              "sd_sum_add_ea,sd_pens_fund,sd_dela_d,sd_pina_d,sd_position,sd_zile_n,sd_ap_category,"
                              "sd_kft_rf) values(%1,%2,%3,%4,%5,%6,%7,0,%8,%9,%10,%11,%12,%13)")
            .arg(id)
            .arg(na)
            .arg(month)
            .arg(fond, ill, add, ea, from, until, position)
            .arg(days)
            .arg(category)
            .arg(formType);
    }

    // Two packages of 2012: the first with a declaration of two months (a document dated on the
    // birth date), one of a month and one whose only row is all zero; the second with a row of
    // category 150. Another agent's declaration of the year stays out of everything.
    void year2012()
    {
        package(20, 1);
        package(21, 2);
        package(30, 1, 2012, 2);
        declaration(100, 1, 20);
        declaration(101, 2, 20);
        declaration(102, 3, 20);
        declaration(104, 4, 21);
        declaration(105, 5, 30);
        row(1, 100, 1, "1000", "0", "60", "230", "'01.01.2012'", "'31.01.2012'", "2141", 5, 101);
        row(2, 100, 2, "1000.5", "100.25", "60.03", "230.12", "'01.02.2012'", "'29.02.2012'", "2141", 5, 101);
        row(3, 101, 3, "500", "0", "30", "115", "'01.03.2012'", "'31.03.2012'", "null", 6, 101);
        row(4, 102, 1, "0", "0", "0", "0", "null", "null", "null", 5, 101);
        row(5, 104, 5, "300", "0", "18", "69", "null", "null", "2141", 5, 150);
        row(6, 105, 1, "700", "0", "42", "161", "null", "null", "2141", 5, 101);
    }

    // The four files as the year2012() rows must give them.
    static QByteArray expectedSd2012()
    {
        return packageLine({"100", "1", "1", "2141", "101", "5", "01.01.2012", "31.01.2012", "1000.00", "0.00", "60.00",
                            "230.00", "290.00"})
               + packageLine({"100", "1", "2", "2141", "101", "5", "01.02.2012", "29.02.2012", "1000.50", "100.25",
                              "60.03", "230.12", "290.15"})
               + packageLine({"100", "1", "13", "", "", "", "", "", "2000.50", "100.25", "120.03", "460.12", "580.15"})
               + packageLine({"101", "1", "3", "", "101", "6", "01.03.2012", "31.03.2012", "500.00", "0.00", "30.00",
                              "115.00", "145.00"})
               + packageLine({"101", "1", "13", "", "", "", "", "", "500.00", "0.00", "30.00", "115.00", "145.00"})
               + packageLine({"104", "2", "5", "2141", "150", "5", "", "", "300.00", "0.00", "18.00", "69.00", "87.00"})
               + packageLine({"104", "2", "13", "", "", "", "", "", "0.00", "0.00", "18.00", "69.00", "87.00"});
    }
    static QByteArray expectedIp2012()
    {
        return packageLine({"1", "2", "2500.50", "100.25", "150.03", "575.12", "725.15"})
               + packageLine({"2", "1", "0.00", "0.00", "18.00", "69.00", "87.00"});
    }
    static QByteArray expectedT2012()
    {
        return packageLine({"1", "2012", "00", "07", "1234567", "1002600012345",
                            "\x22"
                            "ar\xE3",
                            "15.01.2013", "2", "2500.50", "100.25", "168.03", "644.12", "812.15"});
    }
    static QByteArray expectedNa2012()
    {
        return packageLine({"100", "1", "1234567890123",
                            "\x22"
                            "AR{",
                            "ION", "", "05.03.1980", "2000000000001", "", "AB", "x12", "OFC", "06.03.1980"})
               + packageLine({"101", "1", "1234567890124", "POPESCU", "MARIA", "", "01.01.1990", "2000000000002", "1",
                              "", "", "", "01.01.2008"})
               + packageLine({"104", "2", "1234567890126", "VASILE", "ANA", "", "02.02.1985", "", "", "", "", "", ""});
    }

    QByteArray fileIn(const QString &folder, const QString &name) const
    {
        QFile f(QDir(folder).filePath(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
    }
    QByteArray written(const char *name) const { return fileIn(programDir.path(), QLatin1String(name)); }

    // The members of an archive, extracted by bsdtar: name -> bytes; "<unreadable>" on failure.
    QMap<QString, QByteArray> members(const QString &archive) const
    {
        QMap<QString, QByteArray> out;
        QTemporaryDir into;
        QProcess tar;
        tar.start(QStringLiteral(EVD_BSDTAR), {"-xf", archive, "-C", into.path()});
        if (!tar.waitForFinished(30000) || tar.exitCode() != 0) {
            out.insert(QStringLiteral("<unreadable>"), tar.readAllStandardError());
            return out;
        }
        for (const QString &name : QDir(into.path()).entryList(QDir::Files | QDir::Hidden))
            out.insert(name, fileIn(into.path(), name));
        return out;
    }
    // The names of the archive's members in their stored order.
    QStringList memberOrder(const QString &archive) const
    {
        QProcess tar;
        tar.start(QStringLiteral(EVD_BSDTAR), {"-tf", archive});
        tar.waitForFinished(30000);
        return QString::fromLatin1(tar.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
    }

    QStringList marks()
    {
        return column("select cast(sd_id as integer)||':'||cast(sd_pens_fund as integer) from saldo_data "
                      "order by sd_id");
    }
    QStringList registry()
    {
        return column("select cast(pachet_id as integer)||'|'||nume||'|'||anul||'|'||luna_d||'|'||luna_p||'|'||"
                      "cast(ae_rf as integer) from t_pachet order by pachet_id");
    }
    QStringList filesIn(const QString &folder) const
    {
        return QDir(program(folder)).entryList(QDir::Files | QDir::Hidden);
    }

    QTemporaryDir programDir;
    TestWorkspace ws;
    ScriptedUserInteraction ui;
};
