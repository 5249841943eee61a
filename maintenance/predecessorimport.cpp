#include "maintenance/predecessorimport.h"
#include "data/dberror.h"
#include "data/ee.h"
#include "data/helpers.h"
#include "data/ibdatabase.h"
#include "data/ibquery.h"
#include "data/ibtransaction.h"
#include "data/readscope.h"
#include "data/sqltext.h"
#include "data/tdm.h"
#include "platform/platform.h"
#include "platform/userinteraction.h"
#include "records/detachedhandler.h"

#include <QFileInfo>

namespace PredecessorImport {

namespace {

const char *const kAgentFields[]
    = {"ea_fosk",      "ea_idno",          "ea_full_name", "ea_director_name", "ea_accountant_name",
       "ea_kaa2_fosk", "ea_receiving_usr", "ea_cod"};
const char *const kPersonFields[] = {"ap_birth_dt",  "ap_cpas",        "ap_doc_number", "ap_doc_seria", "ap_doc_type",
                                     "ap_ea",        "ap_first_name",  "ap_idnp",       "ap_idnp_dt",   "ap_idnp_who",
                                     "ap_last_name", "ap_middle_name", "ap_sex"};

QString text(RecordSet *set, const char *field)
{
    return set->field(QString::fromLatin1(field)).asString();
}

bool found(const QString &sql)
{
    ReadScope read(DM->IBQ1, sql);
    const bool f = read.found();
    read.end();
    return f;
}

// Reads the predecessor's agents into CDS and its persons into rev, on a connection of its
// own that is closed again on every way out. False when it holds no agent.
bool readPredecessor(const QString &path)
{
    IbDatabase other;
    other.params() = DM->IDB->params();
    other.setDatabaseName(path);
    IbTransaction transaction(&other);
    transaction.setReadOnly(true);
    IbQuery query(&transaction);
    other.open();
    bool agents = false;
    try {
        {
            ReadScope read(&query, QStringLiteral(" select * from econ_agent order by ea_id"));
            agents = read.found();
            if (agents)
                CopyToMemTable(&query, DM->CDS, 2);
            read.end();
        }
        if (agents) {
            ReadScope read(&query, QStringLiteral(" select * from assured_person order by ap_id "));
            CopyToMemTable(&query, DM->rev, 2);
            read.end();
        }
    } catch (...) {
        try {
            other.close();
        } catch (...) { }
        throw;
    }
    other.close();
    return agents;
}

// Makes the program's copy of the predecessor's current agent the current row of econ_agent.
void takeAgent(RecordSet *from)
{
    RecordSet *agent = DM->econ_agent;
    const QString idno = text(from, "ea_idno").trimmed();
    {
        ReadScope read(DM->IBQ1, QStringLiteral("select * from econ_agent where ea_idno=") + SqlText::quoted(idno));
        if (read.found()) {
            DetachedHandler keep(agent->beforePost);
            CopyToMemTable(read.query(), agent, 3);
            read.end();
            return;
        }
        read.end();
    }
    DM->IBT1->commitIfActive();
    agent->append();
    try {
        for (const char *f : kAgentFields)
            agent->field(QString::fromLatin1(f)).setAsString(text(from, f));
        agent->post();
    } catch (...) {
        // The refused agent is not left half-entered in the agent list.
        agent->cancel();
        throw;
    }
}

void takePerson(RecordSet *from, const QVariant &agentId)
{
    const QString cpas = text(from, "ap_cpas").trimmed();
    const QString idnp = text(from, "ap_idnp").trimmed();
    if (cpas.isEmpty() && idnp.isEmpty())
        return;
    bool present = false;
    if (!cpas.isEmpty())
        present = found(QStringLiteral("select * from assured_person where ap_cpas=") + SqlText::quoted(cpas));
    if (!idnp.isEmpty())
        present = found(QStringLiteral("select * from assured_person where ap_idnp=") + SqlText::quoted(idnp))
                  || present;
    if (present)
        return;
    RecordSet *person = DM->assured_person;
    person->append();
    try {
        for (const char *f : kPersonFields) {
            Field target = person->field(QString::fromLatin1(f));
            if (qstrcmp(f, "ap_ea") == 0)
                target.setValue(agentId);
            else
                target.setAsString(text(from, f));
        }
        person->post();
    } catch (const EE &) {
        person->cancel();
    } catch (const DbError &) {
        person->cancel();
    }
}

} // namespace

QString fileName()
{
    return QStringLiteral("BDPEL.GDB");
}

QString missingFileMessage()
{
    return QStringLiteral(" Lipseste fisierul  \"") + fileName() + u'"';
}

void run()
{
    const QString path = Platform::inDataOrProgramFolder(fileName());
    if (!QFileInfo::exists(path)) {
        userInteraction().inform(missingFileMessage());
        return;
    }
    {
        WaitCursor wait;
        const bool agents = readPredecessor(path);
        DetachedHandler keepScroll(DM->assured_person->afterScroll);
        if (agents) {
            RecordSet *cds = DM->CDS;
            RecordSet *rev = DM->rev;
            const int agentKey = cds->fieldIndex(QStringLiteral("ea_id"));
            const int personAgent = rev->fieldIndex(QStringLiteral("ap_ea"));
            for (cds->first(); !cds->eof(); cds->next()) {
                takeAgent(cds);
                const QVariant owner = DM->econ_agent->field(QStringLiteral("ea_id")).value();
                const QVariant predecessorId = cds->fieldByIndex(agentKey).value();
                for (rev->first(); !rev->eof(); rev->next())
                    if (rev->fieldByIndex(personAgent).value().toDouble() == predecessorId.toDouble())
                        takePerson(rev, owner);
            }
        }
        DM->IBT1->commitIfActive();
    }
    userInteraction().inform(QStringLiteral(" OK"));
}

} // namespace PredecessorImport
