#include "data/databasemaker.h"
#include "data/dberror.h"
#include "data/ibdatabase.h"
#include "data/ibquery.h"
#include "data/ibtransaction.h"
#include "data/sqlscript.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

static void initSqlResources()
{
    Q_INIT_RESOURCE(sql);
}

namespace DatabaseMaker {

QString builtInScript(const QString &name)
{
    initSqlResources();
    QFile f(QStringLiteral(":/sql/") + name);
    if (!f.open(QIODevice::ReadOnly))
        throw DbError(QStringLiteral("Missing built-in script %1").arg(name));
    return QString::fromUtf8(f.readAll());
}

void runScript(const QString &path, const QString &script)
{
    IbDatabase db;
    db.params() << QStringLiteral("USER_NAME=SYSDBA") << QStringLiteral("PASSWORD=masterkey");
    db.setDatabaseName(path);
    db.open();
    IbTransaction t(&db);
    IbQuery q(&t);
    for (const QString &stmt : SqlScript::split(script)) {
        t.startTransaction();
        try {
            q.setSql(stmt);
            q.execQuery();
            t.commit();
        } catch (const DbError &e) {
            t.rollback();
            throw DbError(e.message() + QStringLiteral("\n") + stmt.left(200), e.sqlCode());
        }
    }
}

void create(const QString &path, Kind kind)
{
    if (QFileInfo::exists(path))
        throw DbError(QStringLiteral("The database file %1 exists already").arg(path));
    IbDatabase::createDatabase(path, QStringLiteral("SYSDBA"), QStringLiteral("masterkey"));
    if (kind == Kind::Predecessor) {
        // The predecessor's agents and persons have our columns: the two tables of our schema.
        static const QRegularExpression table(
            QStringLiteral("^\\s*(/\\*.*?\\*/\\s*)*create\\s+table\\s+(econ_agent|assured_person)\\b"),
            QRegularExpression::CaseInsensitiveOption | QRegularExpression::DotMatchesEverythingOption);
        QString tables;
        for (const QString &stmt : SqlScript::split(builtInScript(QStringLiteral("schema.sql"))))
            if (table.match(stmt).hasMatch())
                tables += stmt + QStringLiteral(";\n");
        runScript(path, tables);
        return;
    }
    QString script = builtInScript(QStringLiteral("schema.sql"));
    if (kind != Kind::SchemaOnly)
        script += u'\n' + builtInScript(QStringLiteral("sample_classifiers.sql"));
    if (kind == Kind::Older)
        script += u'\n' + builtInScript(QStringLiteral("older_database.sql"));
    runScript(path, script);
}

} // namespace DatabaseMaker
