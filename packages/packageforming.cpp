#include "packages/packageforming.h"
#include "data/formats.h"
#include "data/guardedsave.h"
#include "data/helpers.h"
#include "data/readscope.h"
#include "data/sqltext.h"
#include "data/tdm.h"
#include "packages/findopenpackage.h"
#include "platform/progress.h"
#include "platform/userinteraction.h"
#include "records/workspacestate.h"

#include <algorithm>
#include <cmath>
#include <optional>

namespace {

QString wholeText(double v)
{
    return QString::number(qint64(std::llround(v)));
}

QString wholeText(const QVariant &v)
{
    return wholeText(v.toDouble());
}

// The declarations of the year and agent, joined to their persons, with a condition added.
QString declarationsWhere(const QString &columns, const QString &year, const QString &agent)
{
    return QStringLiteral(" select ") + columns
           + QStringLiteral(" from name_account  inner join  assured_person on(ap_id=na_ap)   where na_year=") + year
           + QStringLiteral(" and ap_ea=") + agent;
}

// The year's packages of the agent with their number of declarations, filtered by `having`.
QString packageCounts(const QString &year, const QString &agent, const QString &having)
{
    return declarationsWhere(QStringLiteral("na_pl,count(*) as cnt "), year, agent)
           + QStringLiteral(" group by na_pl having count(*)") + having + QStringLiteral(" order by na_pl ");
}

// Copies the rows of a read on IBQ1 into a scratch record set, fields named as the columns.
void readInto(RecordSet *target, const QString &sql)
{
    ReadScope read(DM->IBQ1, sql);
    CopyToMemTable(read.query(), target, 2);
}

void moveDeclaration(const QString &naId, const QString &package)
{
    DM->execWrite(QStringLiteral("update name_account set na_pl=") + package + QStringLiteral(" where na_id=") + naId);
}

// A declaration into the package FindOpenPackage gives it; on a shared database together, as
// new declarations take their package, so that no package passes its capacity.
void moveToOpenPackage(const QString &naId, const QString &agent)
{
    GuardedSave guard(GuardedSave::Purpose::Operation);
    guard.lockAgent(agent);
    moveDeclaration(naId, QString::number(FindOpenPackage()));
    guard.commit();
}

// What the user reads of steps 2 to 13 while they run.
const char *const kStepNames[] = {
    "Ștergerea declarațiilor fără rânduri lunare",
    "Pachetele agentului devin primare",
    "Ștergerea declarațiilor fără rânduri lunare",
    "Declarațiile netrimise se marchează neîmpachetate",
    "Citirea pachetelor anului",
    "Primul pachet al anului",
    "Împărțirea pachetelor cu peste 50 de declarații",
    "Completarea pachetelor cu mai puțin de 50 de declarații",
    "Declarațiile anului se marchează împachetate",
    "Ștergerea pachetelor rămase goale",
    "Generatorul numerelor de pachet",
    "Verificarea datelor de naștere",
};
constexpr int kLastNamedStep = 13;

const QString kMovesName = QStringLiteral("Mutarea declarațiilor");

class Run
{
public:
    explicit Run(const std::function<void(int)> &stepStarted) : m_stepStarted(stepStarted) { }

    void operator()();

private:
    void step(int n)
    {
        if (m_stepStarted)
            m_stepStarted(n);
        if (n <= kLastNamedStep)
            m_progress.step(n - 1, QString::fromUtf8(kStepNames[n - 2]));
    }
    bool yearHasDeclarations(bool *withoutPackage);
    bool firstPackage();
    void packageTheUnpackaged();
    void splitOverfull();
    void fillUnderfull();
    void resetGenerator();
    bool bornAfterServerDate();

    const std::function<void(int)> &m_stepStarted;
    Progress m_progress{QStringLiteral("Formarea pachetelor"), kLastNamedStep - 1};
    const WorkspaceState *m_ws = workspaceState();
    const QString m_year = m_ws ? m_ws->selectedYear() : QString();
    const QString m_agent = DM->econ_agent->field(QStringLiteral("ea_id")).asString();
    const QString m_serverDate = SqlText::quoted(DM->serverDate.date());
    RecordSet *const cds1 = DM->cds1;
    RecordSet *const cds4 = DM->cds4;
};

const QString kDeleteEmptyDeclarations = QStringLiteral(
    "delete from name_account where na_id not in (select sd_na from saldo_data)");

void Run::operator()()
{
    PostPendingEdits();
    std::optional<WaitCursor> wait(std::in_place);

    step(2);
    DM->execWrite(kDeleteEmptyDeclarations);
    step(3);
    DM->execWrite(QStringLiteral("update packlabel set pl_kft_rf=1 where pl_ea=") + m_agent);
    step(4);
    DM->execWrite(kDeleteEmptyDeclarations);
    step(5);
    DM->execWrite(QStringLiteral(" update name_account set na_rest=0   where na_id not in ( select sd_na from "
                                 "saldo_data where sd_pens_fund = -1 )"));
    step(6);
    bool withoutPackage = false;
    if (!yearHasDeclarations(&withoutPackage))
        return;
    step(7);
    // A first package takes every declaration of the year, those without one included.
    if (!firstPackage() && withoutPackage)
        packageTheUnpackaged();
    step(8);
    splitOverfull();
    step(9);
    fillUnderfull();
    step(10);
    DM->execWrite(QStringLiteral(" update name_account set na_rest=1  where na_year=") + m_year
                  + QStringLiteral(" and na_ap in ( select ap_id from assured_person where   ")
                  + QStringLiteral("  ap_ea=") + m_agent + u')');
    step(11);
    // A declaration of any year without a package would make "not in" false for every package,
    // and no empty package would go: such declarations are left out of the list.
    DM->execWrite(QStringLiteral(" delete from packlabel  where pl_year=") + m_year + QStringLiteral(" and pl_ea=")
                  + m_agent
                  + QStringLiteral(" and pl_id not in ( select na_pl from name_account where na_pl is not null) "));
    step(12);
    resetGenerator();
    step(13);
    if (bornAfterServerDate()) {
        wait.reset();
        userInteraction().inform(QStringLiteral("Eroare ! Data nasterii la persoana asigurata mai mare decit ")
                                 + Formats::dateText(DM->serverDate.date()));
    }
    step(14);
    DM->cds5->close();
    cds1->close();
    cds4->close();
    for (IbTransaction *t : {DM->IBT1, DM->IBT2, DM->IBT3, DM->IBT5})
        t->commitIfActive();
}

bool Run::yearHasDeclarations(bool *withoutPackage)
{
    ReadScope read(DM->IBQ1, QStringLiteral(" select distinct na_pl from name_account  inner join  assured_person "
                                            "on(ap_id=na_ap)  where na_year=")
                                 + m_year + QStringLiteral(" and ap_ea=") + m_agent);
    if (!read.found())
        return false;
    for (; !read->eof(); read->next())
        if (read.value(0).isNull())
            *withoutPackage = true;
    return true;
}

// When the agent has no package in the year: one new package holding all its declarations.
bool Run::firstPackage()
{
    {
        ReadScope read(DM->IBQ1, QStringLiteral(" select pl_id from packlabel  where pl_year=") + m_year
                                     + QStringLiteral(" and pl_ea=") + m_agent);
        if (read.found())
            return false;
    }
    QString id;
    {
        ReadScope read(DM->IBQ3, QStringLiteral("select * from get_pl_id"));
        id = wholeText(read.value(QStringLiteral("nRet")));
    }
    DM->execWrite(QStringLiteral("insert into packlabel values(") + id + u',' + m_agent + QStringLiteral(",5,") + m_year
                  + u',' + m_serverDate + QStringLiteral(",1,\"DA\",") + id + u')');
    DM->execWrite(QStringLiteral("update name_account set na_pl=") + id + QStringLiteral(" where  na_year=") + m_year
                  + QStringLiteral(" and na_ap in ( select ap_id from  assured_person ")
                  + QStringLiteral(" where ap_ea=") + m_agent + u')');
    return true;
}

// Declarations of the year that older data left without a package join one as a new
// declaration would; otherwise they would form a group without a number below.
void Run::packageTheUnpackaged()
{
    readInto(cds4, declarationsWhere(QStringLiteral("na_id"), m_year, m_agent)
                       + QStringLiteral(" and na_pl is null order by na_id "));
    Progress moves(kMovesName, cds4->recordCount());
    for (cds4->first(); !cds4->eof(); cds4->next()) {
        moveToOpenPackage(wholeText(cds4->field(QStringLiteral("na_id")).asFloat()), m_agent);
        moves.advance();
    }
}

// The kPackageCapacity declarations with the smallest na_id stay; the rest move one by one.
void Run::splitOverfull()
{
    readInto(cds1, packageCounts(m_year, m_agent, QStringLiteral(">50")));
    qint64 beyond = 0;
    for (cds1->first(); !cds1->eof(); cds1->next())
        beyond += cds1->field(QStringLiteral("cnt")).asInteger() - kPackageCapacity;
    std::optional<Progress> moves;
    if (beyond > 0)
        moves.emplace(kMovesName, beyond);
    for (cds1->first(); !cds1->eof(); cds1->next()) {
        readInto(cds4, declarationsWhere(QStringLiteral("na_id"), m_year, m_agent) + QStringLiteral(" and na_pl=")
                           + wholeText(cds1->field(QStringLiteral("na_pl")).asFloat())
                           + QStringLiteral(" order by na_id "));
        cds4->first();
        for (int kept = 0; kept < kPackageCapacity && !cds4->eof(); ++kept)
            cds4->next();
        for (; !cds4->eof(); cds4->next()) {
            moveToOpenPackage(wholeText(cds4->field(QStringLiteral("na_id")).asFloat()), m_agent);
            if (moves)
                moves->advance();
        }
    }
}

// The under-full package with the smallest number takes the declarations of the later
// packages, smallest na_id first, until it is full or they are all in it.
void Run::fillUnderfull()
{
    const QString underfull = packageCounts(m_year, m_agent, QStringLiteral("<50"));
    readInto(cds1, underfull);
    // Which later packages give their declarations decides the next round, so the moves are
    // counted round by round: the total grows by what each round will move.
    std::optional<Progress> moves;
    while (cds1->recordCount() >= 2) {
        cds1->first();
        const QString package = wholeText(cds1->field(QStringLiteral("na_pl")).asFloat());
        qint64 held = cds1->field(QStringLiteral("cnt")).asInteger();
        readInto(cds4, declarationsWhere(QStringLiteral("na_id"), m_year, m_agent) + QStringLiteral(" and na_pl>")
                           + package + QStringLiteral(" order by na_id "));
        int moved = 0;
        if (!moves)
            moves.emplace(kMovesName);
        moves->setTotal(moves->total() + std::min<qint64>(kPackageCapacity - held, cds4->recordCount()));
        for (cds4->first(); !cds4->eof() && held < kPackageCapacity; cds4->next(), ++held, ++moved) {
            moveDeclaration(wholeText(cds4->field(QStringLiteral("na_id")).asFloat()), package);
            moves->advance();
        }
        if (moved == 0)
            break; // nothing later to take: the list would never change
        readInto(cds1, underfull);
    }
}

void Run::resetGenerator()
{
    QString largest;
    {
        ReadScope read(DM->IBQ4, QStringLiteral(" select  max(pl_id) as pl_id from packlabel "));
        largest = read.value(0).isNull() ? QStringLiteral("0") : wholeText(read.value(0));
    }
    // On a shared database another copy may hold a number it has just taken and not yet
    // stored: the generator is never set back there, so that no number is handed out twice.
    if (GuardedSave::sharedDatabase()) {
        ReadScope read(DM->IBQ4, QStringLiteral("select gen_id(gen_pl_id, 0) from rdb$database"));
        if (read.value(0).toLongLong() >= largest.toLongLong())
            return;
    }
    DM->execWrite(QStringLiteral(" set generator gen_pl_id to ") + largest);
}

bool Run::bornAfterServerDate()
{
    ReadScope read(DM->IBQ4, QStringLiteral(" select  ap_id from assured_person  where ap_birth_dt>") + m_serverDate
                                 + QStringLiteral(" and ap_ea=") + m_agent);
    return read.found();
}

} // namespace

namespace PackageForming {

void run(const std::function<void(int step)> &stepStarted)
{
    Run{stepStarted}();
}

} // namespace PackageForming
