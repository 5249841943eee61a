#pragma once
// The state a formed electronic package leaves behind, written by SQL: declarations of the
// agent grouped in a package, monthly rows marked as sent, the registry row and the archive
// in "Primara" of a program folder of the test's own.

#include "platform/platform.h"
#include "tests/records/declarationfixture.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

class AnnulmentFixture : public DeclarationFixture
{
protected:
    void SetUp() override
    {
        DeclarationFixture::SetUp();
        ASSERT_TRUE(programDir.isValid());
        Platform::setProgramFolder(programDir.path());
        // Packages of agent 1 and of agent 2.
        exec("insert into packlabel (pl_id,pl_ea,pl_n,pl_year,pl_form_compl_dt,pl_kft_rf) "
             "values(10,1,1,2014,'01.07.2014',1)");
        exec("insert into packlabel (pl_id,pl_ea,pl_n,pl_year,pl_form_compl_dt,pl_kft_rf) "
             "values(20,2,1,2014,'01.07.2014',1)");
        exec("insert into packlabel (pl_id,pl_ea,pl_n,pl_year,pl_form_compl_dt,pl_kft_rf) "
             "values(30,1,1,2016,'01.04.2016',1)");
    }
    void TearDown() override
    {
        Platform::setProgramFolder({});
        DeclarationFixture::TearDown();
    }

    // A declaration in a package, counted as packaged (na_rest 1).
    void packaged(int naId, int person, int year, int package)
    {
        exec(QStringLiteral("insert into name_account (na_id,na_pl,na_ap,na_year,na_is_pens,na_period_begin,"
                            "na_period_end,na_ap_category,na_wb_in_ea,na_kft_rf,na_rest,na_public) "
                            "values(%1,%4,%2,%3,'N','01.01.%3','31.12.%3',101,'N',1,1,'N')")
                 .arg(naId)
                 .arg(person)
                 .arg(year)
                 .arg(package));
    }
    void monthRow(int id, int na, int month, int year, int sent, int formType = 1)
    {
        const QDate first(year, month, 1);
        exec(QStringLiteral("insert into saldo_data (sd_id,sd_na,sd_month,sd_paym_fond,sd_ill,sd_sum_add,"
                            "sd_pens_fund,sd_dela_d,sd_pina_d,sd_zile_n,sd_ap_category,sd_kft_rf) "
                            "values(%1,%2,%3,1000,0,60,%4,'%5','%6',5,101,%7)")
                 .arg(id)
                 .arg(na)
                 .arg(month)
                 .arg(sent)
                 .arg(first.toString("dd.MM.yyyy"), first.addMonths(1).addDays(-1).toString("dd.MM.yyyy"))
                 .arg(formType));
    }
    void registered(int id, const QString &name, const QString &formed, int year, int from, int to, int agent = 1)
    {
        exec(QStringLiteral("insert into t_pachet (pachet_id,nume,pachet_d,anul,luna_d,luna_p,ae_rf) "
                            "values(%1,'%2','%3',%4,%5,%6,%7)")
                 .arg(id)
                 .arg(name, formed)
                 .arg(year)
                 .arg(from)
                 .arg(to)
                 .arg(agent));
    }
    // Writes a file of a few known bytes into a folder of the program folder.
    QString archive(const QString &folder, const QString &name)
    {
        QDir(programDir.path()).mkpath(folder);
        const QString path = programDir.path() + "/" + folder + "/" + name;
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("Rar!\x1a\x07\x00", 7);
        return path;
    }

    // sd_id:sd_pens_fund:sd_kft_rf of every monthly row.
    QStringList marks()
    {
        return column("select cast(sd_id as integer)||':'||cast(sd_pens_fund as integer)||':'||sd_kft_rf "
                      "from saldo_data order by sd_id");
    }
    QStringList packagedMarkers()
    {
        return column("select cast(na_id as integer)||':'||cast(na_rest as integer) from name_account order by na_id");
    }
    QStringList registry() { return column("select nume from t_pachet order by pachet_id"); }

    QTemporaryDir programDir;
};
