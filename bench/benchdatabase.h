#pragma once
// A fresh delivered database in a temporary folder with the data module connected to it,
// for the benchmarks.

#include "data/databasemaker.h"
#include "data/formats.h"
#include "data/helpers.h"
#include "data/readscope.h"
#include "data/tdm.h"
#include "records/detachedhandler.h"

#include <QDir>
#include <QTemporaryDir>

class BenchDatabase
{
public:
    // In a new folder under `parent`, or under the temporary folder when none is given.
    explicit BenchDatabase(const QString &parent = QString())
        : m_dir(parent.isEmpty() ? QDir::tempPath() + QStringLiteral("/bench-XXXXXX")
                                 : QDir(parent).filePath(QStringLiteral("bench-XXXXXX")))
    {
        const QString path = m_dir.filePath(QStringLiteral("bench.gdb"));
        DatabaseMaker::create(path, DatabaseMaker::Kind::Delivered);
        DM = new TDM;
        DM->IDB->params() = QStringList{QStringLiteral("USER_NAME=sysdba"), QStringLiteral("PASSWORD=x")};
        DM->IDB->setDatabaseName(path);
        DM->IDB->open();
    }
    ~BenchDatabase()
    {
        delete DM;
        DM = nullptr;
    }
    BenchDatabase(const BenchDatabase &) = delete;
    BenchDatabase &operator=(const BenchDatabase &) = delete;

    QString path() const { return m_dir.filePath(QStringLiteral("bench.gdb")); }

private:
    QTemporaryDir m_dir;
};

// Copies the rows of a statement into a record set with its rules detached, as the window's
// loading does.
inline void loadRows(RecordSet *set, const QString &sql)
{
    DetachedHandler post(set->beforePost), insert(set->afterInsert);
    ReadScope read(DM->IBQ1, sql);
    CopyToMemTable(read.query(), set, 3);
}

// The twelve monthly rows of a declaration of `year` written bare, one INSERT each committed at
// once, with identifiers from `firstId` on and the amounts the save rule would store: the
// baseline the rules are measured against.
inline void insertBareMonths(int firstId, int declaration, int year, const QString &payFund,
                             const QString &individual, const QString &employer)
{
    for (int month = 1; month <= 12; ++month) {
        const QDate first(year, month, 1);
        DM->execWrite(QStringLiteral("Insert into saldo_data (SD_ID,SD_NA,SD_MONTH,SD_PAYM_FOND,SD_ILL,SD_TARIFF_AP,"
                                     "SD_SUM_ADD,SD_SUM_REAL,SD_TARIFF_EA,SD_SUM_ADD_EA,SD_SUM_REAL_EA,SD_PENS_FUND,"
                                     "SD_DELA_D,SD_PINA_D,SD_ZILE_N,SD_AP_CATEGORY,SD_POSITION,SD_KFT_RF) "
                                     "values(%1,%2,%3,%4,0,10114,%5,NULL,10114,%6,NULL,NULL,'%7','%8',5,101,NULL,1)")
                          .arg(firstId + month)
                          .arg(declaration)
                          .arg(month)
                          .arg(payFund, individual, employer, Formats::dateText(first),
                               Formats::dateText(first.addMonths(1).addDays(-1))));
    }
}

// Agent 1 with n persons, each with a declaration of the year in packages of 50 as forming
// leaves them (package p holds persons 50p-49 to 50p), and twelve monthly rows with amounts and
// periods: the data of the benchmarks of the electronic package and of the forms.
inline void makePackagedDeclarations(int n, int year)
{
    DM->execWrite(QStringLiteral("insert into econ_agent (ea_id,ea_fosk,ea_idno,ea_full_name,ea_director_name,"
                                 "ea_accountant_name,ea_kaa2_fosk,ea_receiving_usr) values(1,'1234567',"
                                 "'1002600012345','SRL','D','C',7,'Ţară')"));
    const int packages = (n + 49) / 50;
    DM->execWrite(QStringLiteral("execute block as declare p integer = 1; begin while (p <= %1) do begin "
                                 "insert into packlabel (pl_id,pl_ea,pl_n,pl_year,pl_form_compl_dt,pl_kft_rf,pl_nr) "
                                 "values (:p, 1, :p, %2, '15.01.2013', 1, :p); p = p + 1; end end")
                      .arg(packages)
                      .arg(year));
    DM->execWrite(
        QStringLiteral(
            "execute block as declare i integer = 1; declare m integer; begin while (i <= %1) do begin "
            "insert into assured_person (ap_id,ap_ea,ap_cpas,ap_first_name,ap_middle_name,ap_last_name,ap_birth_dt,"
            "ap_idnp,ap_doc_type,ap_doc_seria,ap_doc_number,ap_idnp_who,ap_idnp_dt) values (:i, 1, '1' || lpad(:i, "
            "12, '0'), 'POPESCU' || :i, 'ION', 'VASILE', '01.01.1980', '2' || lpad(:i, 12, '0'), 1, 'A', '123456', "
            "'OF. 12', '01.01.2000'); "
            "insert into name_account (na_id,na_pl,na_ap,na_year,na_is_pens,na_period_begin,na_period_end,"
            "na_ap_category,na_wb_in_ea,na_kft_rf,na_rest,na_public) values (:i, floor((:i - 1) / 50) + 1, :i, %2, "
            "'N', '01.01.%2', '31.12.%2', 101, 'N', 1, 1, 'N'); "
            "m = 1; while (m <= 12) do begin "
            "insert into saldo_data (sd_id,sd_na,sd_month,sd_paym_fond,sd_ill,sd_sum_add,sd_sum_add_ea,sd_pens_fund,"
            "sd_dela_d,sd_pina_d,sd_zile_n,sd_ap_category,sd_position,sd_kft_rf) values (:i * 100 + :m, :i, :m, "
            "7000.25, 0, 420.02, 1610.06, 0, '01.' || :m || '.%2', '28.' || :m || '.%2', "
            "5, 101, 2141, 1); "
            "m = m + 1; end i = i + 1; end end")
            .arg(n)
            .arg(year));
}
