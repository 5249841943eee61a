#include "records/econagentrules.h"
#include "data/ee.h"
#include "data/guardedsave.h"
#include "data/helpers.h"
#include "data/readscope.h"
#include "data/tdm.h"
#include "platform/userinteraction.h"

namespace EconAgentRules {

namespace {

bool blank(const Field &f)
{
    return f.isNull() || f.asString().trimmed().isEmpty();
}

// Ends a deletion however it went: the write transaction committed, its query closed.
struct WriteSequenceEnd {
    ~WriteSequenceEnd()
    {
        try {
            DM->IBT2->commitIfActive();
            DM->IBQ2->close();
        } catch (...) {
        }
    }
};

} // namespace

void attach()
{
    DM->econ_agent->beforePost = &beforePost;
}

void beforePost(RecordSet &agent)
{
    // On a shared database the agent is changed only as it was read.
    GuardedSave guard;
    guard.lockRow(agent);
    if (agent.field(QStringLiteral("ea_kaa2_fosk")).isNull())
        throw EE(QStringLiteral("Indicati sectorul !"));

    const bool inserting = agent.state() == RecordSet::State::Insert;
    if (inserting) {
        // The identifier is taken now and stays taken even if a later check refuses the row.
        ReadScope read(DM->IBQ1, QStringLiteral("select * from get_ea_id"));
        agent.field(QStringLiteral("ea_id")).setValue(read.value(0));
    }

    if (agent.field(QStringLiteral("ea_fosk")).asString().trimmed().size() != 7)
        throw EE(QStringLiteral("Codul FOSK trebuie sa fie din 7 cifre"));

    Field code = agent.field(QStringLiteral("ea_cod"));
    if (blank(code))
        code.setValue(QStringLiteral("0"));

    for (int i = 0; i < agent.fieldCount(); ++i) {
        const FieldDef &d = agent.fieldDef(i);
        if (d.kind == FieldKind::Data && d.required && blank(agent.fieldByIndex(i)))
            throw EE(QStringLiteral("Field '%1' must have a value").arg(d.name));
    }

    DM->execWrite(BuildInsertOrUpdate(&agent, 0, inserting ? 1 : 2));
    guard.commit();
}

void loadAll()
{
    RecordSet *agent = DM->econ_agent;
    ReadScope read(DM->IBQ1, QStringLiteral("select * from econ_agent order by ea_id "));
    agent->beforePost = nullptr;
    try {
        CopyToMemTable(read.query(), agent, 3);
    } catch (...) {
        attach();
        throw;
    }
    attach();
}

DeleteResult deleteCurrent()
{
    RecordSet *agent = DM->econ_agent;
    if (!agent->active() || agent->isEmpty())
        return DeleteResult::NothingToDelete;
    if (!userInteraction().confirm(QStringLiteral("Confirmati stergerea datelor despre agentul economic ?")))
        return DeleteResult::Declined;
    if (agent->state() == RecordSet::State::Insert) {
        // A new row not saved yet has nothing in the database: deleting it discards it.
        agent->cancel();
        return DeleteResult::Deleted;
    }

    WriteSequenceEnd end;
    const QString id = agent->field(QStringLiteral("ea_id")).asString();
    bool hasPersons = false;
    {
        ReadScope read(DM->IBQ1, QStringLiteral(" select ap_ea from assured_person where ap_ea=") + id);
        hasPersons = read.found();
    }
    if (hasPersons) {
        userInteraction().inform(QStringLiteral("La aceast agent economic sint persoane asigurate introduse  "));
        return DeleteResult::HasPersons;
    }
    DM->execWrite(QStringLiteral(" delete from packlabel where pl_ea=") + id);
    DM->execWrite(QStringLiteral(" delete from econ_agent where ea_id=") + id);
    agent->deleteRecord();
    return DeleteResult::Deleted;
}

} // namespace EconAgentRules
