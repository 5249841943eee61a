#pragma once
// A fresh delivered database in a temporary folder with the data module connected to it,
// for the benchmarks.

#include "data/databasemaker.h"
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
