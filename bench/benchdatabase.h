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
