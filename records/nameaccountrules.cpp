#include "records/nameaccountrules.h"
#include "data/ee.h"
#include "data/formats.h"
#include "data/guardedsave.h"
#include "data/helpers.h"
#include "data/readscope.h"
#include "data/tdm.h"
#include "packages/findopenpackage.h"
#include "records/autocompletion.h"
#include "records/databasequestions.h"
#include "records/insuredcategory.h"
#include "records/workspacestate.h"

namespace NameAccountRules {

namespace {

QString selectedYear()
{
    const WorkspaceState *ws = workspaceState();
    return ws ? ws->selectedYear() : QString();
}

bool autoCompletionTicked()
{
    const WorkspaceState *ws = workspaceState();
    return ws && ws->autoCompletion();
}

QString withoutBlanks(QString text)
{
    return text.remove(u' ');
}

// The person the declaration belongs to: the current row of assured_person.
QString personId()
{
    RecordSet *person = DM->assured_person;
    if (!person->active())
        return {};
    return person->field(QStringLiteral("ap_id")).asString();
}

// The function must be a code of k_prof, which the database enforces: a code missing there is
// refused before anything is written (a new declaration would otherwise get its package
// first). A code of 0 means no function and is stored empty.
void checkFunction(RecordSet &na, RecordQuestions &questions)
{
    Field position = na.field(QStringLiteral("na_position"));
    if (position.isNull())
        return;
    if (position.asFloat() == 0) {
        position.clear();
        return;
    }
    if (!questions.professionName(position.asString()))
        throw EE(QStringLiteral("Asa cod a  profesiei nu este !"));
}

void setDate(RecordSet &set, const char *field, const QString &text)
{
    // A year list without a choice gives no date rather than a failing insertion.
    const QDate d = Formats::parseDate(text);
    if (d.isValid())
        set.field(QString::fromLatin1(field)).setValue(d);
}

} // namespace

void afterInsert(RecordSet &na)
{
    DatabaseQuestions database;
    fillNew(na, personId(), database);
}

void fillNew(RecordSet &na, const QString &person, RecordQuestions &questions)
{
    na.field(QStringLiteral("na_wb_in_ea")).setValue(QStringLiteral("N"));
    na.field(QStringLiteral("na_is_pens")).setValue(QStringLiteral("N"));
    na.field(QStringLiteral("na_kft_rf")).setValue(1);
    na.field(QStringLiteral("na_ap_category")).setValue(InsuredCategory::Employee);

    const QString year = withoutBlanks(selectedYear());
    setDate(na, "na_period_begin", QStringLiteral("01.01.") + year);
    setDate(na, "na_period_end", QStringLiteral("31.12.") + year);

    if (person.isEmpty())
        return;
    if (const auto latest = questions.latestDeclaration(person)) {
        na.field(QStringLiteral("na_position")).setValue(latest->position);
        na.field(QStringLiteral("na_ap_category")).setValue(latest->category);
    }
}

void check(RecordSet &na, const QString &person, RecordQuestions &questions)
{
    const QString year = selectedYear();

    na.field(QStringLiteral("na_kft_rf")).setValue(1);
    if (na.field(QStringLiteral("na_rest")).isNull())
        na.field(QStringLiteral("na_rest")).setValue(0.0);
    if (na.field(QStringLiteral("na_public")).asString() == QLatin1String("N"))
        na.field(QStringLiteral("na_public_d")).clear();
    if (!na.field(QStringLiteral("na_public_d")).isNull()) {
        na.field(QStringLiteral("na_public")).setValue(QStringLiteral("V"));
        if (na.field(QStringLiteral("na_public_d")).asDate().year() != withoutBlanks(year).toInt())
            throw EE(QStringLiteral(" Introduceti corect data serviciului public !"));
    } else {
        na.field(QStringLiteral("na_public")).setValue(QStringLiteral("N"));
    }
    checkFunction(na, questions);

    if (na.state() == RecordSet::State::Insert && questions.declarationExists(person, year)) {
        na.cancel();
        throw EE(QStringLiteral(" Pentru aceasta persoana este deja declaratie pentru acest an !"));
    }
}

void save(RecordSet &na, const QString &person)
{
    const QString year = selectedYear();
    if (na.state() == RecordSet::State::Insert) {
        {
            // On a shared database the agent's new declarations are saved one after another:
            // the person's declaration of the year and the newest package's count are read as
            // the other copies left them, and the package is taken together with the insert.
            GuardedSave guard;
            if (DM->econ_agent->active() && !DM->econ_agent->isEmpty())
                guard.lockAgent(DM->econ_agent->field(QStringLiteral("ea_id")).asString());
            DatabaseQuestions database;
            check(na, person, database);
            // FindOpenPackage ends its own reads: IBT1 has nothing left to commit afterwards.
            na.field(QStringLiteral("na_pl")).setValue(double(FindOpenPackage()));
            na.field(QStringLiteral("na_ap")).setAsString(person);
            na.field(QStringLiteral("na_year")).setAsString(year.trimmed());

            {
                ReadScope read(DM->IBQ1, QStringLiteral("select * from get_na_id"));
                na.field(QStringLiteral("na_id")).setValue(read.value(QStringLiteral("nRet")));
            }

            DM->execWrite(BuildInsertOrUpdate(&na, 0, 1));
            guard.commit();
        }
        if (autoCompletionTicked())
            AutoCompletion::completeNewDeclaration(na, year);
        return;
    }

    DatabaseQuestions database;
    check(na, person, database);
    if (autoCompletionTicked())
        AutoCompletion::fillMissingMonths(na, year);
    // A declaration is changed only as it was read.
    GuardedSave guard;
    guard.lockRow(na);
    DM->execWrite(BuildInsertOrUpdate(&na, 0, 2));
    guard.commit();
}

void beforePost(RecordSet &na)
{
    save(na, personId());
}

void attach()
{
    DM->name_account->afterInsert = afterInsert;
    DM->name_account->beforePost = beforePost;
}

} // namespace NameAccountRules
