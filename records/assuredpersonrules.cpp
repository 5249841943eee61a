#include "records/assuredpersonrules.h"
#include "data/docseries.h"
#include "data/ee.h"
#include "data/formats.h"
#include "data/guardedsave.h"
#include "data/helpers.h"
#include "data/readscope.h"
#include "data/tdm.h"
#include "records/databasequestions.h"
#include "records/detachedhandler.h"
#include "records/workspacestate.h"

namespace AssuredPersonRules {

namespace {

bool empty(const Field &f)
{
    return f.isNull() || f.asString().trimmed().isEmpty();
}

bool numeric(const QString &text)
{
    bool ok = false;
    text.trimmed().toDouble(&ok);
    return ok;
}

bool isNumeral(QChar c)
{
    return c == u'X' || c == u'V' || c == u'I' || c == u'L';
}

void checkDateRange(const Field &f, const QString &message)
{
    if (f.isNull())
        return;
    const QDate d = f.asDate();
    if (d < QDate(1900, 1, 1) || d > QDate(2200, 1, 1))
        throw EE(message);
}

void checkNotFuture(const Field &f, const QDate &today, const QString &message)
{
    if (!f.isNull() && f.asDate() >= today)
        throw EE(message + Formats::dateText(today));
}

void checkNumber(const Field &number, int limit, const QString &lengthMessage)
{
    if (empty(number))
        throw EE(QStringLiteral("Indicati numarul  documentului !"));
    const QString text = number.asString();
    if (limit > 0 && text.size() > limit)
        throw EE(lengthMessage);
    if (!numeric(text))
        throw EE(QStringLiteral("Numarul documentului trebuie sa fie numai din cifre !"));
}

// Refuses a code held by another person of the same agent.
void checkUnique(RecordQuestions &questions, const QString &column, const QString &code, double agentId,
                 double personId, const QString &message)
{
    if (questions.personCodeTaken(column, code, agentId, personId))
        throw EE(message);
}

} // namespace

bool seriesValid(const QString &series)
{
    const QString s = series;
    const int p = int(s.indexOf(u'-')) + 1; // 1-based, 0 when absent
    const int n = int(s.trimmed().size());
    if (s.isEmpty() || !isNumeral(s[0]))
        return false;
    if (p >= 3) {
        for (int i = 2; i <= p - 1; ++i)
            if (!isNumeral(s[i - 1]))
                return false;
        if (p == n)
            return false;
        for (int i = p + 1; i <= n; ++i)
            if (i - 1 >= s.size() || !DocSeries::isSeriesLetter(s[i - 1]))
                return false;
    }
    return true;
}

void check(RecordSet &person, RecordQuestions &questions, bool identify)
{
    Field cpas = person.field(QStringLiteral("ap_cpas"));
    if (empty(cpas))
        throw EE(QStringLiteral("Introduceti CPAS !"));
    if (cpas.asString().trimmed().size() != 11)
        throw EE(QStringLiteral("Introduceti corect CPAS !"));

    const bool inserting = person.state() == RecordSet::State::Insert;
    RecordSet *agent = DM->econ_agent;
    if (inserting) {
        if (!agent->active() || agent->isEmpty())
            throw EE(QStringLiteral("Introduceti datele despre agentul economic !"));
        person.field(QStringLiteral("ap_ea")).setValue(agent->field(QStringLiteral("ea_id")).value());
        if (identify) {
            ReadScope read(DM->IBQ1, QStringLiteral("select * from get_ap_id"));
            person.field(QStringLiteral("ap_id")).setValue(read.value(0));
        }
    }
    if (empty(person.field(QStringLiteral("ap_first_name"))))
        throw EE(QStringLiteral("Introduceti numele !"));
    if (empty(person.field(QStringLiteral("ap_middle_name"))))
        throw EE(QStringLiteral("Introduceti prenumele !"));
    if (empty(person.field(QStringLiteral("ap_sex"))))
        person.field(QStringLiteral("ap_sex")).setValue(QStringLiteral("M"));

    const Field birth = person.field(QStringLiteral("ap_birth_dt"));
    const Field issued = person.field(QStringLiteral("ap_idnp_dt"));
    checkDateRange(birth, QStringLiteral("Data nasterii<\"01.01.1900\" sau Data nasterii>\"01.01.2200\""));
    checkDateRange(issued, QStringLiteral("Data buletinului<\"01.01.1900\" sau Data buletinului>\"01.01.2200\""));
    if (!birth.isNull() && !issued.isNull() && issued.asDate() < birth.asDate())
        throw EE(QStringLiteral("Data nasterii nu poate fi mai mare ca data eliberarii documentului !"));
    const QDate today = DM->serverDate.date();
    checkNotFuture(birth, today, QStringLiteral("Data nasterii nu poate fi mai mare decit data curenta "));
    checkNotFuture(issued, today, QStringLiteral("Data buletinului nu poate fi mai mare decit data curenta "));

    const Field typeField = person.field(QStringLiteral("ap_doc_type"));
    const int type = typeField.isNull() ? -1 : int(typeField.asInteger());
    const QString series = person.field(QStringLiteral("ap_doc_seria")).asString();
    const Field number = person.field(QStringLiteral("ap_doc_number"));
    if (type == 1 && series.size() > 2)
        throw EE(QStringLiteral("Seria  documentului nu mai mult de doua litere !"));
    if ((type == 2 || type == 12) && !seriesValid(series))
        throw EE(QStringLiteral("Seria  documentului este incorecta !"));
    if (type == 1 || type == 3 || type == 13 || type == 21)
        checkNumber(number, 8, QStringLiteral("Numarul documentului nu mai mult de opt cifre !"));
    if (type == 2 || type == 12)
        checkNumber(number, 6, QStringLiteral("Numarul documentului nu mai mult de sase cifre !"));
    if (type == 4)
        checkNumber(number, 0, QString());

    const Field idnp = person.field(QStringLiteral("ap_idnp"));
    if ((type == 1 || type == 12 || type == 13 || type == 14 || type == 21) && empty(idnp))
        throw EE(QStringLiteral("Indicati IDNP !"));
    const double agentId = agent->field(QStringLiteral("ea_id")).asFloat();
    const double personId = person.field(QStringLiteral("ap_id")).asFloat();
    if (!empty(idnp)) {
        if (idnp.asString().size() != 13)
            throw EE(QStringLiteral("IDNP trebuie sa fie din 13 cifre !"));
        if (!numeric(idnp.asString()))
            throw EE(QStringLiteral("IDNP trebuie sa fie numai din cifre !"));
        checkUnique(questions, QStringLiteral("ap_idnp"), idnp.asString(), agentId, personId,
                    QStringLiteral("Persoana cu acest idnp este introdusa deja !"));
    }
    if (cpas.asString().size() != 11)
        throw EE(QStringLiteral("Cpas trebuie sa fie din 11 cifre !"));
    if (!numeric(cpas.asString()))
        throw EE(QStringLiteral("Cpas trebuie sa fie numai din cifre !"));
    checkUnique(questions, QStringLiteral("ap_cpas"), cpas.asString(), agentId, personId,
                QStringLiteral("Persoana cu acest cpas este introdusa deja !"));
}

void beforePost(RecordSet &person)
{
    const bool inserting = person.state() == RecordSet::State::Insert;
    // On a shared database the agent's persons are saved one after another, so that a code
    // another copy has just stored is seen, and a person is changed only as it was read.
    GuardedSave guard;
    if (DM->econ_agent->active() && !DM->econ_agent->isEmpty())
        guard.lockAgent(DM->econ_agent->field(QStringLiteral("ea_id")).asString());
    guard.lockRow(person);
    DatabaseQuestions database;
    check(person, database, true);
    DM->execWrite(BuildInsertOrUpdate(&person, 0, inserting ? 1 : 2));
    guard.commit();
}

void afterScroll(RecordSet &person)
{
    WorkspaceState *ws = workspaceState();
    for (RecordSet *s : {DM->name_account, DM->saldo_data})
        if (s->active())
            s->emptyDataSet();
    if (ws)
        ws->clearFooterSums();
    if (person.isEmpty() || person.state() == RecordSet::State::Insert)
        return;
    const QString year = ws ? ws->selectedYear().trimmed() : QString();
    if (!year.isEmpty()) {
        // Copying in neither checks nor fills the rows: both handlers stay off meanwhile.
        DetachedHandler keepPost(DM->name_account->beforePost);
        DetachedHandler keepInsert(DM->name_account->afterInsert);
        ReadScope read(DM->IBQ1, QStringLiteral("select * from name_account where  na_ap=")
                                     + Formats::floatText(person.field(QStringLiteral("ap_id")).asFloat())
                                     + QStringLiteral(" and na_year=") + year);
        if (read.found())
            CopyToMemTable(read.query(), DM->name_account, 3);
    }
    if (ws)
        ws->resetAutoCompletion(DM->name_account->isEmpty());
    if (!DM->name_account->isEmpty() && ws && ws->activePage() == 2) {
        DetachedHandler keep(DM->saldo_data->beforePost);
        ReadScope read(DM->IBQ1, QStringLiteral("select * from saldo_data where  sd_na=")
                                     + Formats::floatText(DM->name_account->field(QStringLiteral("na_id")).asFloat())
                                     + QStringLiteral(" order by sd_month"));
        CopyToMemTable(read.query(), DM->saldo_data, 3);
    }
}

void attach()
{
    DM->assured_person->beforePost = beforePost;
    DM->assured_person->afterScroll = afterScroll;
}

} // namespace AssuredPersonRules
