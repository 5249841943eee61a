#include "maintenance/payroll/payrollimport.h"
#include "data/concurrencyerror.h"
#include "data/dberror.h"
#include "data/ibdatabase.h"
#include "data/ee.h"
#include "data/formats.h"
#include "data/recordset.h"
#include "data/tdm.h"
#include "data/win1250.h"
#include "maintenance/payroll/payrollfacts.h"
#include "platform/progress.h"
#include "platform/userinteraction.h"
#include "records/assuredpersonrules.h"
#include "records/nameaccountrules.h"
#include "records/saldodatarules.h"
#include "records/yearworkspace.h"

#include <QStringList>

namespace PayrollImport {

namespace {

using Fate = PayrollOutcome::Fate;

// What the save rules say while a row is written goes with its line, rather than into a
// message box for each of a few thousand rows; everything else reaches the interaction in force.
class NoticeKeeper : public UserInteraction
{
public:
    NoticeKeeper() : m_previous(&userInteraction()) { setUserInteraction(this); }
    ~NoticeKeeper() override { setUserInteraction(m_previous); }
    NoticeKeeper(const NoticeKeeper &) = delete;
    NoticeKeeper &operator=(const NoticeKeeper &) = delete;

    bool confirm(const QString &text) override { return m_previous->confirm(text); }
    void inform(const QString &text) override { notices << text.trimmed(); }
    void showError(const QString &text) override { m_previous->showError(text); }
    QString browseFolder(const QString &caption, const QString &start) override
    {
        return m_previous->browseFolder(caption, start);
    }
    QString openFileName(const QString &caption, const QString &start, const QString &filter) override
    {
        return m_previous->openFileName(caption, start, filter);
    }
    void showReport(const Report &report) override { m_previous->showReport(report); }
    void printReport(const Report &report) override { m_previous->printReport(report); }
    bool openDocument(const QString &path) override { return m_previous->openDocument(path); }
    bool windowsCanBeSeen() const override { return m_previous->windowsCanBeSeen(); }
    void beginWait() override { m_previous->beginWait(); }
    void endWait() override { m_previous->endWait(); }
    void progressBegin(const QString &name, qint64 total, bool mayStop) override
    {
        m_previous->progressBegin(name, total, mayStop);
    }
    void progressUpdate(qint64 done, qint64 total, const QString &part) override
    {
        m_previous->progressUpdate(done, total, part);
    }
    bool progressCancelled() override { return m_previous->progressCancelled(); }
    void progressEnd() override { m_previous->progressEnd(); }

    QStringList notices;

private:
    UserInteraction *m_previous;
};

// The person, declaration and category a line's row goes to; the identifiers are pending ones
// (below 0) until the line is written.
struct Plan {
    double person = 0;
    bool newPerson = false;
    double declaration = 0;
    bool newDeclaration = false;
    QVariant category, position; // the declaration's
};

double currentAgent()
{
    RecordSet *agent = DM->econ_agent;
    if (!agent->active() || agent->isEmpty())
        throw EE(QStringLiteral("Introduceti datele despre agentul economic !"));
    return agent->field(QStringLiteral("ea_id")).asFloat();
}

QString idText(double id)
{
    return Formats::floatText(id);
}

QVariant given(const std::optional<int> &v, const QVariant &otherwise)
{
    return v ? QVariant(double(*v)) : otherwise;
}

QVariant given(const std::optional<double> &v)
{
    return v ? QVariant(*v) : QVariant();
}

QVariant date(const QDate &d)
{
    return d.isValid() ? QVariant(d) : QVariant();
}

// One run over the lines: shown beforehand, or written.
class Importer
{
public:
    Importer(const Options &options, bool writing);
    PayrollImportResult go(const std::vector<PayrollLine> &lines);

private:
    Plan decide(const PayrollLine &line, PayrollOutcome &outcome);
    void findPerson(const PayrollLine &line, Plan &plan, PayrollOutcome &outcome);
    void checkNewPerson(const PayrollLine &line, Plan &plan, PayrollOutcome &outcome);
    void useDeclaration(const PayrollLine &line, Plan &plan);
    QVariant rowCategory(const PayrollLine &line, const Plan &plan) const
    {
        return given(line.category, plan.category);
    }
    void write(const PayrollLine &line, Plan &plan, PayrollOutcome &outcome);
    void remember(const PayrollLine &line, const Plan &plan, const PayrollOutcome &outcome);

    void fillPerson(const PayrollLine &line);
    void fillDeclaration(const PayrollLine &line, const Plan &plan, RecordQuestions &questions);
    void fillRow(const PayrollLine &line, const Plan &plan);

    Options m_options;
    bool m_writing;
    YearWorkspace m_workspace;
    double m_agent;
    PayrollFacts m_facts;
    RecordSet m_person{QStringLiteral("assured_person")};
    RecordSet m_declaration{QStringLiteral("name_account")};
    RecordSet m_row{QStringLiteral("saldo_data")};
};

Importer::Importer(const Options &options, bool writing)
    : m_options(options), m_writing(writing), m_workspace(options.year, YearWorkspace::calculationInForce()),
      m_agent(currentAgent()), m_facts(m_agent, options.year)
{
    DM->declareAssuredPerson(&m_person);
    DM->declareNameAccount(&m_declaration);
    DM->declareSaldoData(&m_row);
    for (RecordSet *s : {&m_person, &m_declaration, &m_row})
        s->createDataSet();
}

// What stopped the import. A row another copy holds is told as an operation's stop, to be
// run again: the save's own text speaks of typing left on the screen, which an import has not.
QString stopText(const DbError &e)
{
    const auto *held = dynamic_cast<const ConcurrencyError *>(&e);
    if (held && held->kind() == ConcurrencyError::Kind::RecordBusy)
        return ConcurrencyError::describe(ConcurrencyError::Kind::Busy, held->table(), DM->IDB->lockTimeout());
    return e.message();
}

PayrollImportResult Importer::go(const std::vector<PayrollLine> &lines)
{
    WaitCursor wait;
    PayrollImportResult result;
    result.imported = m_writing;
    result.outcomes.reserve(lines.size());
    // Each line is written whole or not at all: the user may stop the import between two.
    Progress progress(m_writing ? QStringLiteral("Importul salariilor") : QStringLiteral("Verificarea rîndurilor"),
                      qint64(lines.size()), m_writing ? Progress::MayStop : Progress::Runs);
    for (const PayrollLine &line : lines) {
        if (progress.cancelled()) {
            result.cancelledAt = line.line;
            break;
        }
        PayrollOutcome outcome;
        outcome.line = line.line;
        outcome.cpas = line.cpas;
        outcome.idnp = line.idnp;
        outcome.month = line.month;
        outcome.payFund = line.payFund;
        outcome.sickPay = line.sickPay;
        try {
            const Plan plan = decide(line, outcome);
            if (outcome.fate != Fate::Present) {
                Plan done = plan;
                if (m_writing)
                    write(line, done, outcome);
                remember(line, done, outcome);
            }
        } catch (const EE &e) {
            outcome.fate = Fate::Refused;
            outcome.message = e.message();
        } catch (const DbError &e) {
            if (!m_writing)
                throw;
            result.stoppedBy = stopText(e);
            result.stoppedAt = line.line;
            result.outcomes.push_back(outcome);
            break;
        }
        result.outcomes.push_back(outcome);
        progress.step(qint64(result.outcomes.size()));
    }
    return result;
}

// The checks of the person, declaration and row rules for the line, the lines above it taken
// as written: the fate, or EE with the refusal.
Plan Importer::decide(const PayrollLine &line, PayrollOutcome &outcome)
{
    if (!line.refusal.isEmpty())
        throw EE(line.refusal);
    Plan plan;
    findPerson(line, plan, outcome);
    useDeclaration(line, plan);
    const QVariant category = rowCategory(line, plan);
    if (!plan.newDeclaration && !category.isNull()
        && m_facts.rowPresent(plan.declaration, line.month, category.toDouble(), line.from, line.to, line.days)) {
        outcome.fate = Fate::Present;
        return plan;
    }
    m_row.emptyDataSet();
    m_row.append();
    fillRow(line, plan);
    SaldoDataRules::check(m_row, m_declaration, m_facts);
    m_row.cancel();
    outcome.fate = plan.newPerson ? Fate::NewPerson : Fate::NewRow;
    return plan;
}

void Importer::findPerson(const PayrollLine &line, Plan &plan, PayrollOutcome &outcome)
{
    const PayrollFacts::Person *byCpas = line.cpas.isEmpty() ? nullptr : m_facts.personByCpas(line.cpas);
    const PayrollFacts::Person *byIdnp = line.idnp.isEmpty() ? nullptr : m_facts.personByIdnp(line.idnp);
    if (byCpas && byIdnp && byCpas->id != byIdnp->id)
        throw EE(QStringLiteral("CPAS %1 și IDNP %2 sînt ale unor persoane diferite").arg(line.cpas, line.idnp));
    const PayrollFacts::Person *person = byCpas ? byCpas : byIdnp;
    if (!person) {
        checkNewPerson(line, plan, outcome);
        return;
    }
    outcome.person = person->name;
    // A code of the line that the person does not hold points at someone else's data.
    if (!byCpas && !line.cpas.isEmpty() && !person->cpas.isEmpty())
        throw EE(QStringLiteral("Persoana cu IDNP %1 are CPAS %2, nu %3").arg(line.idnp, person->cpas, line.cpas));
    if (!byIdnp && !line.idnp.isEmpty() && !person->idnp.isEmpty())
        throw EE(QStringLiteral("Persoana cu CPAS %1 are IDNP %2, nu %3").arg(line.cpas, person->idnp, line.idnp));
    plan.person = person->id;
}

void Importer::checkNewPerson(const PayrollLine &line, Plan &plan, PayrollOutcome &outcome)
{
    if (line.cpas.isEmpty() && line.idnp.isEmpty())
        throw EE(QStringLiteral("Rîndul nu indică nici CPAS, nici IDNP"));
    const QString who = line.cpas.isEmpty() ? QStringLiteral("Persoana cu IDNP %1").arg(line.idnp)
                                            : QStringLiteral("Persoana cu CPAS %1").arg(line.cpas);
    if (!m_options.addPersons)
        throw EE(who + QStringLiteral(" nu este înregistrată"));
    QStringList missing;
    if (line.familyName.trimmed().isEmpty())
        missing << QStringLiteral("numele");
    if (line.givenName.trimmed().isEmpty())
        missing << QStringLiteral("prenumele");
    if (!line.birthDate.isValid())
        missing << QStringLiteral("data nașterii");
    if (!missing.isEmpty())
        throw EE(who + QStringLiteral(" nu este înregistrată; pentru a o adăuga lipsesc: ") + missing.join(u", "));
    // The database refuses what its code page cannot hold; the line says so beforehand.
    for (const QString &text : {line.familyName, line.givenName, line.patronymic})
        Win1250::encodeOrThrow(text.trimmed().toUpper());

    m_person.emptyDataSet();
    m_person.append();
    fillPerson(line);
    plan.person = m_facts.pendingId();
    m_person.field(QStringLiteral("ap_id")).setValue(plan.person);
    AssuredPersonRules::check(m_person, m_facts, false);
    m_person.cancel();
    plan.newPerson = true;
    outcome.person = (line.familyName.trimmed() + u' ' + line.givenName.trimmed()).toUpper();
}

// The person's declaration of the year as the row's rule reads it; a new one, checked by the
// declaration's rules, when the person has none.
void Importer::useDeclaration(const PayrollLine &line, Plan &plan)
{
    m_declaration.emptyDataSet();
    m_declaration.append();
    const PayrollFacts::Declaration *stored = plan.newPerson ? nullptr : m_facts.declarationOfYear(plan.person);
    if (stored) {
        plan.declaration = stored->id;
        plan.category = stored->category;
        plan.position = stored->position;
        m_declaration.field(QStringLiteral("na_id")).setValue(stored->id);
        m_declaration.field(QStringLiteral("na_ap")).setValue(plan.person);
        m_declaration.field(QStringLiteral("na_year")).setValue(m_options.year);
        m_declaration.field(QStringLiteral("na_ap_category")).setValue(stored->category);
        m_declaration.field(QStringLiteral("na_position")).setValue(stored->position);
        m_declaration.post();
        return;
    }
    fillDeclaration(line, plan, m_facts);
    NameAccountRules::check(m_declaration, idText(plan.person), m_facts);
    plan.newDeclaration = true;
    plan.declaration = m_facts.pendingId();
    m_declaration.field(QStringLiteral("na_id")).setValue(plan.declaration);
    m_declaration.field(QStringLiteral("na_year")).setValue(m_options.year);
    plan.category = m_declaration.field(QStringLiteral("na_ap_category")).value();
    plan.position = m_declaration.field(QStringLiteral("na_position")).value();
}

// Writes the line whole: the person and the declaration it needs, then the row. Should a rule
// refuse what its checks above let through, what was made for the line is deleted again.
void Importer::write(const PayrollLine &line, Plan &plan, PayrollOutcome &outcome)
{
    double madePerson = 0, madeDeclaration = 0;
    auto undo = [&] {
        if (madeDeclaration)
            DM->execWrite(QStringLiteral("delete from name_account where na_id=") + idText(madeDeclaration));
        if (madePerson)
            DM->execWrite(QStringLiteral("delete from assured_person where ap_id=") + idText(madePerson));
    };
    try {
        if (plan.newPerson) {
            m_person.emptyDataSet();
            m_person.append();
            fillPerson(line);
            AssuredPersonRules::beforePost(m_person);
            m_person.post();
            plan.person = madePerson = m_person.field(QStringLiteral("ap_id")).asFloat();
        }
        if (plan.newDeclaration) {
            DatabaseQuestions database;
            m_declaration.emptyDataSet();
            m_declaration.append();
            fillDeclaration(line, plan, database);
            NameAccountRules::save(m_declaration, idText(plan.person));
            m_declaration.post();
            plan.declaration = madeDeclaration = m_declaration.field(QStringLiteral("na_id")).asFloat();
        }
        m_row.emptyDataSet();
        m_row.append();
        fillRow(line, plan);
        {
            NoticeKeeper notices;
            SaldoDataRules::save(m_row, m_declaration);
            outcome.notice = notices.notices.join(u'\n');
        }
        m_row.post();
        outcome.written = true;
    } catch (const EE &) {
        undo();
        throw;
    } catch (const DbError &) {
        try {
            undo();
        } catch (const DbError &) {
            // the first error is the one reported
        }
        throw;
    }
}

// What the line adds, for the lines below it.
void Importer::remember(const PayrollLine &line, const Plan &plan, const PayrollOutcome &outcome)
{
    if (plan.newPerson)
        m_facts.addPerson({plan.person, line.cpas.trimmed(), line.idnp.trimmed(), outcome.person});
    if (plan.newDeclaration)
        m_facts.addDeclaration({plan.declaration, plan.person, m_options.year,
                                m_declaration.field(QStringLiteral("na_ap_category")).value(),
                                m_declaration.field(QStringLiteral("na_position")).value()});
    const double rowId = outcome.written ? m_row.field(QStringLiteral("sd_id")).asFloat() : 0;
    m_facts.addRow(plan.declaration, rowId, line.month, rowCategory(line, plan).toDouble(), line.from, line.to,
                   line.days);
}

void Importer::fillPerson(const PayrollLine &line)
{
    // Names in capitals, as the page "Date" takes them.
    auto set = [this](const char *field, const QVariant &v) { m_person.field(QString::fromLatin1(field)).setValue(v); };
    set("ap_cpas", line.cpas.trimmed());
    set("ap_idnp", line.idnp.trimmed());
    set("ap_first_name", line.familyName.trimmed().toUpper());
    set("ap_middle_name", line.givenName.trimmed().toUpper());
    set("ap_last_name", line.patronymic.trimmed().toUpper());
    set("ap_birth_dt", date(line.birthDate));
    set("ap_sex", QStringLiteral("M"));
}

// A new declaration as the insertion rule starts it, with the line's category and function.
void Importer::fillDeclaration(const PayrollLine &line, const Plan &plan, RecordQuestions &questions)
{
    NameAccountRules::fillNew(m_declaration, plan.newPerson && plan.person < 0 ? QString() : idText(plan.person),
                              questions);
    if (line.category)
        m_declaration.field(QStringLiteral("na_ap_category")).setValue(double(*line.category));
    if (line.function)
        m_declaration.field(QStringLiteral("na_position")).setValue(double(*line.function));
}

// The row as the grid of the page "Salariul" would hold it typed: a line with only sickness
// benefit is a benefit row, whose pay fund is the benefit.
void Importer::fillRow(const PayrollLine &line, const Plan &plan)
{
    auto set = [this](const char *field, const QVariant &v) { m_row.field(QString::fromLatin1(field)).setValue(v); };
    set("sd_month", line.month != 0 ? QVariant(line.month) : QVariant());
    set("sd_dela_d", date(line.from));
    set("sd_pina_d", date(line.to));
    set("sd_zile_n", line.days);
    set("sd_paym_fond", given(line.payFund ? line.payFund : line.sickPay));
    set("sd_ill", given(line.sickPay));
    set("sd_ap_category", rowCategory(line, plan));
    set("sd_position", given(line.function, plan.position));
    set("sd_kft_rf", line.formType);
    if (!m_workspace.autoCalculation()) {
        set("sd_sum_add", given(line.individual));
        set("sd_sum_add_ea", given(line.employer));
    }
}

} // namespace

PayrollImportResult preview(const std::vector<PayrollLine> &lines, const Options &options)
{
    return Importer(options, false).go(lines);
}

PayrollImportResult run(const std::vector<PayrollLine> &lines, const Options &options)
{
    return Importer(options, true).go(lines);
}

} // namespace PayrollImport
