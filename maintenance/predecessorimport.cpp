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
#include "platform/progress.h"
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

// True when the person was added.
bool takePerson(RecordSet *from, const QVariant &agentId)
{
    const QString cpas = text(from, "ap_cpas").trimmed();
    const QString idnp = text(from, "ap_idnp").trimmed();
    if (cpas.isEmpty() && idnp.isEmpty())
        return false;
    bool present = false;
    if (!cpas.isEmpty())
        present = found(QStringLiteral("select * from assured_person where ap_cpas=") + SqlText::quoted(cpas));
    if (!idnp.isEmpty())
        present = found(QStringLiteral("select * from assured_person where ap_idnp=") + SqlText::quoted(idnp))
                  || present;
    if (present)
        return false;
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
        return true;
    } catch (const EE &) {
        person->cancel();
    } catch (const DbError &) {
        person->cancel();
    }
    return false;
}

// The persons of the predecessor that belong to one of its agents: those the import goes through.
qint64 personsOfAgents(RecordSet *agents, int agentKey, RecordSet *persons, int personAgent)
{
    qint64 n = 0;
    for (int a = 0; a < agents->recordCount(); ++a) {
        const double id = agents->valueAt(a, agentKey).toDouble();
        for (int p = 0; p < persons->recordCount(); ++p)
            if (persons->valueAt(p, personAgent).toDouble() == id)
                ++n;
    }
    return n;
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
        Progress progress(QStringLiteral("Importul din ") + fileName(), 2);
        progress.step(1, QStringLiteral("Citirea bazei de date ") + fileName());
        const bool agents = readPredecessor(path);
        DetachedHandler keepScroll(DM->assured_person->afterScroll);
        if (agents) {
            progress.step(2, QStringLiteral("Agenții economici și persoanele lor"));
            RecordSet *cds = DM->CDS;
            RecordSet *rev = DM->rev;
            const int agentKey = cds->fieldIndex(QStringLiteral("ea_id"));
            const int personAgent = rev->fieldIndex(QStringLiteral("ap_ea"));
            Progress persons(QStringLiteral("Persoanele"), personsOfAgents(cds, agentKey, rev, personAgent),
                             Progress::MayStop);
            qint64 added = 0;
            // Every agent and person is saved on its own: the user may stop between two.
            auto stopIfAsked = [&] {
                if (persons.cancelled())
                    throw EE(QStringLiteral("Importul a fost anulat: %1 au fost parcurse; persoane adăugate: %2.")
                                 .arg(Progress::ofText(persons.done(), persons.total(), QStringLiteral("persoană"),
                                                       QStringLiteral("persoane")),
                                      Progress::number(added)));
            };
            for (cds->first(); !cds->eof(); cds->next()) {
                stopIfAsked();
                takeAgent(cds);
                const QVariant owner = DM->econ_agent->field(QStringLiteral("ea_id")).value();
                const QVariant predecessorId = cds->fieldByIndex(agentKey).value();
                for (rev->first(); !rev->eof(); rev->next())
                    if (rev->fieldByIndex(personAgent).value().toDouble() == predecessorId.toDouble()) {
                        stopIfAsked();
                        if (takePerson(rev, owner))
                            ++added;
                        persons.advance();
                    }
            }
        }
        DM->IBT1->commitIfActive();
    }
    userInteraction().inform(QStringLiteral(" OK"));
}

} // namespace PredecessorImport
