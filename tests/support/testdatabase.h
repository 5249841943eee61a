#pragma once
// A database file made for one test, in a folder of its own, and a data module connected to
// it. The first file of each kind is built from the scripts once per test run and copied.

#include "data/databasemaker.h"

#include <QString>
#include <QTemporaryDir>
#include <gtest/gtest.h>

class TestDatabase
{
public:
    explicit TestDatabase(DatabaseMaker::Kind kind = DatabaseMaker::Kind::Delivered);
    QString path() const { return m_path; }
    QString folder() const { return m_dir.path(); }

private:
    QTemporaryDir m_dir;
    QString m_path;
};

// A connected data module (DM) over a fresh database, classifiers not loaded.
class DataModuleTest : public ::testing::Test
{
protected:
    void SetUp() override;
    void TearDown() override;
    virtual DatabaseMaker::Kind kind() const { return DatabaseMaker::Kind::Delivered; }

    // Runs a statement on a connection of its own and returns the first column of each row.
    QStringList column(const QString &sql);
    // Every row of a statement, its values written as column() writes them, joined by "|".
    QStringList table(const QString &sql);
    QVariant scalar(const QString &sql);
    void exec(const QString &sql);

    std::unique_ptr<TestDatabase> db;
};
