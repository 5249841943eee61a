#include "app/connection.h"
#include "data/dberror.h"
#include "data/ee.h"
#include "data/formats.h"
#include "data/helpers.h"
#include "data/readscope.h"
#include "data/tdm.h"
#include "maintenance/databasearchive.h"
#include "maintenance/databaserestore.h"
#include "records/assuredpersonrules.h"
#include "records/econagentrules.h"
#include "records/nameaccountrules.h"
#include "records/saldodatarules.h"
#include "platform/platform.h"
#include "platform/userinteraction.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace Connection {

namespace {

void openDatabase(const QString &user, const QString &password)
{
    const DatabaseLocation location = databaseLocation(); // an unusable evidenta.ini stops here
    IbDatabase *db = DM->IDB;
    if (db->connected())
        db->close();
    db->params().clear();
    db->params() << QStringLiteral("USER_NAME=") + user.trimmed() << QStringLiteral("PASSWORD=") + password.trimmed();
    db->setDatabaseName(location.connectionName());
    // The waits for a server and for what other copies of the program hold there.
    db->setConnectTimeout(location.onServer() ? location.connectTimeout() : 0);
    db->setLockTimeout(location.onServer() ? location.lockTimeout() : 0);
    db->open();
}

void loadClassifiers()
{
    for (RecordSet *s : DM->recordSets())
        if (s->name().startsWith(QLatin1String("k_")))
            LoadClassifier(s);
}

void prepareRecordSets()
{
    for (RecordSet *s : {DM->econ_agent, DM->assured_person, DM->name_account, DM->Temp}) {
        s->close();
        s->createDataSet();
        s->emptyDataSet();
    }
    DM->Temp->append();

    DM->declareFormTypes();
    DM->k_form_type->createDataSet();
    DM->cl_form_type->createDataSet();
    auto add = [](RecordSet *s, int id, const QString &name) {
        s->append();
        s->field(QStringLiteral("kft_id")).setValue(id);
        s->field(QStringLiteral("kft_name_ro")).setValue(name);
        s->post();
    };
    add(DM->k_form_type, 1, QStringLiteral("Primară"));
    add(DM->cl_form_type, 1, QStringLiteral("Primară"));
    add(DM->cl_form_type, 3, QStringLiteral("De corectare"));
    DM->k_form_type->first();
    DM->cl_form_type->first();

    DM->saldo_data->close();
    DM->saldo_data->createDataSet();
    DM->saldo_data->emptyDataSet();

    // The record rules hang on the record sets from now on.
    EconAgentRules::attach();
    AssuredPersonRules::attach();
    NameAccountRules::attach();
    SaldoDataRules::attach();
}

void readServerDate()
{
    ReadScope read(DM->IBQ1, QStringLiteral(" select * from get_data"));
    DM->serverDate = read.found() ? read.value(0).toDateTime() : QDateTime();
}

// Runs the statement unless the probe succeeds; a failing statement is rolled back silently.
void createWhenMissing(const QString &probe, const QString &statement)
{
    try {
        ReadScope read(DM->IBQ3, probe);
        return;
    } catch (const DbError &) {
    }
    DM->IBT2->commitIfActive();
    DM->IBT2->startTransaction();
    try {
        DM->IBQ2->close();
        DM->IBQ2->clearSql();
        DM->IBQ2->addSql(statement);
        DM->IBQ2->execQuery();
        DM->IBT2->commit();
        DM->IBQ2->close();
    } catch (const DbError &) {
        DM->IBT2->rollback();
    }
}

void correctTerritorialOffices()
{
    {
        ReadScope read(DM->IBQ3, QStringLiteral("select * from k_adm_area2 where kaa2_id in(0,99)"));
        if (!read.found())
            return;
    }
    DM->execWrite(QStringLiteral("delete from k_adm_area2 where kaa2_id in(0,99) "));
    const std::pair<int, const char *> names[] = {
        {91, "CHIŞINĂU, CENTRU"},   {92, "CHIŞINĂU, RIŞCANI"},  {93, "CHIŞINĂU, BUIUCANI"},
        {94, "CHIŞINĂU, BOTANICA"}, {95, "CHIŞINĂU, CIOCANA"},
    };
    for (const auto &[id, name] : names)
        DM->execWrite(QStringLiteral("update k_adm_area2 set kaa2_name_ro='%1' where kaa2_id=%2")
                          .arg(QString::fromUtf8(name))
                          .arg(id));
    DM->k_adm_area2->close();
    LoadClassifier(DM->k_adm_area2);
}

} // namespace

QString databasePath()
{
    return Platform::inDataFolder(QStringLiteral("bdkolm.gdb"));
}

QString prepareDataFolder()
{
    return Platform::prepareDataFolder({QStringLiteral("bdkolm.gdb")});
}

DatabaseLocation databaseLocation()
{
    return DatabaseLocation::configured(Platform::inDataFolder(DatabaseLocation::settingsFileName()), databasePath());
}

bool isServerDatabase()
{
    try {
        return databaseLocation().onServer();
    } catch (const EE &) {
        return false;
    }
}

QString databaseShown()
{
    try {
        return databaseLocation().connectionName();
    } catch (const EE &e) {
        return e.message();
    }
}

void upgradeSchema()
{
    createWhenMissing(QStringLiteral("select pachet_id from t_pachet where pachet_id=1"),
                      QStringLiteral(" CREATE TABLE t_pachet (pachet_id integer not null,  nume varchar(80) not null, "
                                     "pachet_d date not null,  anul smallint not null , luna_d smallint not null, "
                                     "luna_p smallint not null, ae_rf integer, cimp1 integer , cimp2 varchar(50), "
                                     "cimp3 decimal(15,2), PRIMARY KEY (pachet_id)) "));
    createWhenMissing(QStringLiteral("select sd_kft_rf from saldo_data where sd_id=1"),
                      QStringLiteral(" alter table saldo_data add sd_kft_rf smallint default 1 not null "));
    correctTerritorialOffices();
}

bool reconnect(const QString &user, const QString &password, const Hooks &hooks)
{
    if (!DM->IDB->lost())
        return false;
    openDatabase(user, password);
    readServerDate();
    if (hooks.menuConnected)
        hooks.menuConnected();
    return true;
}

void connect(const QString &user, const QString &password, const Hooks &hooks, const QDate &today)
{
    // After a lost connection only the connection is made again: what is on the screen stays.
    if (reconnect(user, password, hooks))
        return;
    // The record sets are part of the program: nothing to install before they are used.
    // A lost or damaged database file is explained, and an archive offered in its place.
    DatabaseRestore::openOrOfferRestore(isServerDatabase() ? QString() : databasePath(),
                                        [&] { openDatabase(user, password); });
    DatabaseArchive::endInterruptedBackup(DM->IDB->databaseName());
    loadClassifiers();
    prepareRecordSets();
    readServerDate();
    if (hooks.menuConnected)
        hooks.menuConnected();
    Formats::forceDefaults();
    Platform::activateKeyboardLayout(QStringLiteral("00000409"));
    DatabaseArchive::makeDailyArchive(DM->IDB->databaseName(), today);
    DM->IBT3->commitIfActive();
    DM->IBT2->commitIfActive();
    if (!DatabaseArchive::archiverPresent())
        userInteraction().inform(DatabaseArchive::missingArchiverMessage());
    const QFileInfo program(QCoreApplication::applicationFilePath());
    if (program.exists() && hooks.versionText)
        hooks.versionText(QStringLiteral("    v") + Formats::dateText(program.lastModified().date()));
    upgradeSchema();
}

void connectToRead(const QString &user, const QString &password)
{
    openDatabase(user, password);
    loadClassifiers();
    prepareRecordSets();
    readServerDate();
    Formats::forceDefaults();
}

void close()
{
    if (!DM)
        return;
    DM->cancelPendingEdits();
    for (IbQuery *q : {DM->IBQ1, DM->IBQ2, DM->IBQ3, DM->IBQ4, DM->IBQ5})
        q->close();
    DM->IDB->close();
}

} // namespace Connection
