#include "tests/support/testdatabase.h"
#include "data/formats.h"
#include "data/ibquery.h"
#include "data/readscope.h"
#include "data/tdm.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <map>

namespace {

// Template files are kept between test processes in the build tree, named after a hash of
// the scripts, so that each kind is built once per change of the scripts.
QString templateFile(DatabaseMaker::Kind kind)
{
    static std::map<int, QString> made;
    auto it = made.find(int(kind));
    if (it != made.end())
        return it->second;
    QCryptographicHash hash(QCryptographicHash::Sha1);
    for (const char *script : {"schema.sql", "sample_classifiers.sql", "older_database.sql"})
        hash.addData(DatabaseMaker::builtInScript(QString::fromLatin1(script)).toUtf8());
    const QString folder = QStringLiteral(EVD_TEST_TEMPLATE_DIR);
    QDir().mkpath(folder);
    const QString path = QStringLiteral("%1/template-%2-%3.gdb")
                             .arg(folder)
                             .arg(int(kind))
                             .arg(QString::fromLatin1(hash.result().toHex().left(12)));
    if (!QFile::exists(path)) {
        const QString partial = path + QStringLiteral(".%1.tmp").arg(QCoreApplication::applicationPid());
        QFile::remove(partial);
        DatabaseMaker::create(partial, kind);
        if (!QFile::rename(partial, path)) // another test process made it first
            QFile::remove(partial);
    }
    made[int(kind)] = path;
    return path;
}

} // namespace

TestDatabase::TestDatabase(DatabaseMaker::Kind kind)
{
    m_path = m_dir.filePath(QStringLiteral("bdkolm.gdb"));
    if (!QFile::copy(templateFile(kind), m_path))
        throw std::runtime_error("cannot copy the template database");
    QFile::setPermissions(m_path, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::WriteGroup);
}

void DataModuleTest::SetUp()
{
    db = std::make_unique<TestDatabase>(kind());
    Formats::forceDefaults();
    DM = new TDM;
    DM->IDB->params() = QStringList{QStringLiteral("USER_NAME=sysdba"), QStringLiteral("PASSWORD=quintorez")};
    DM->IDB->setDatabaseName(db->path());
    DM->IDB->open();
}

void DataModuleTest::TearDown()
{
    delete DM;
    DM = nullptr;
    db.reset();
}

namespace {

QString valueText(const QVariant &v)
{
    if (v.typeId() == QMetaType::Double)
        return Formats::floatText(v.toDouble());
    if (v.typeId() == QMetaType::QDateTime)
        return Formats::dateTimeText(v.toDateTime());
    return v.toString();
}

} // namespace

QStringList DataModuleTest::column(const QString &sql)
{
    ReadScope read(DM->IBQ4, sql);
    QStringList out;
    while (read.found()) {
        out << valueText(read.value(0));
        read->next();
    }
    return out;
}

QStringList DataModuleTest::table(const QString &sql)
{
    ReadScope read(DM->IBQ4, sql);
    QStringList out;
    while (read.found()) {
        QStringList row;
        for (int i = 0; i < read->columnCount(); ++i)
            row << valueText(read.value(i));
        out << row.join(u'|');
        read->next();
    }
    return out;
}

QVariant DataModuleTest::scalar(const QString &sql)
{
    ReadScope read(DM->IBQ4, sql);
    return read.found() ? read.value(0) : QVariant();
}

void DataModuleTest::exec(const QString &sql)
{
    DM->execWrite(sql);
}
