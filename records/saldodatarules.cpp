#include "records/saldodatarules.h"
#include "data/concurrencyerror.h"
#include "data/ee.h"
#include "data/guardedsave.h"
#include "data/helpers.h"
#include "data/readscope.h"
#include "data/sqltext.h"
#include "data/tdm.h"
#include "platform/userinteraction.h"
#include "records/contribution.h"
#include "records/databasequestions.h"
#include "records/insuredcategory.h"
#include "records/raterow.h"
#include "records/ratewindow.h"
#include "records/workspacestate.h"

namespace SaldoDataRules {

namespace {

// The row being saved, its fields, and what the stages of the rule work out in turn.
struct MonthlyRow {
    MonthlyRow(RecordSet &row, RecordSet &declaration);

    RecordSet &row;
    RecordSet *declaration;
    QString Y;      // the selected year as the year list writes it
    int year;       // the same as a number
    bool automatic; // "&Calcularea automata"
    bool isNew;

    Field sdId, sdNa, month, payFund, benefit, tariffAp, sumAdd, tariffEa, sumAddEa, sumRealEa, pensFund, from, to,
        days, category, position, formType;

    int m = 0;        // the month, once it is known to be given
    QDate begin, end; // the period, once it is known to be given
    double cat = 0;   // the category, 0 while empty
    QString D1, D2;   // quoted first and last day of the period's year

    int declarationYear() const { return int(declaration->field(QStringLiteral("na_year")).asInteger()); }
};

MonthlyRow::MonthlyRow(RecordSet &r, RecordSet &d)
    : row(r), declaration(&d), isNew(r.state() == RecordSet::State::Insert), sdId(r.field(QStringLiteral("sd_id"))),
      sdNa(r.field(QStringLiteral("sd_na"))), month(r.field(QStringLiteral("sd_month"))),
      payFund(r.field(QStringLiteral("sd_paym_fond"))), benefit(r.field(QStringLiteral("sd_ill"))),
      tariffAp(r.field(QStringLiteral("sd_tariff_ap"))), sumAdd(r.field(QStringLiteral("sd_sum_add"))),
      tariffEa(r.field(QStringLiteral("sd_tariff_ea"))), sumAddEa(r.field(QStringLiteral("sd_sum_add_ea"))),
      sumRealEa(r.field(QStringLiteral("sd_sum_real_ea"))), pensFund(r.field(QStringLiteral("sd_pens_fund"))),
      from(r.field(QStringLiteral("sd_dela_d"))), to(r.field(QStringLiteral("sd_pina_d"))),
      days(r.field(QStringLiteral("sd_zile_n"))), category(r.field(QStringLiteral("sd_ap_category"))),
      position(r.field(QStringLiteral("sd_position"))), formType(r.field(QStringLiteral("sd_kft_rf")))
{
    const WorkspaceState *ws = workspaceState();
    Y = ws ? ws->selectedYear() : QString();
    year = Y.trimmed().toInt();
    automatic = !ws || ws->autoCalculation();
}

// Reads one statement on IBQ3 in IBT3 (the ceiling reads): the values of the first row.
struct Sums {
    double count = 0;
    double sum = 0;
};

Sums readSums(const QString &sql)
{
    ReadScope read(DM->IBQ3, sql);
    Sums s;
    if (read.found()) {
        s.count = read.value(QStringLiteral("cnt")).toDouble();
        s.sum = read.value(QStringLiteral("suma")).toDouble(); // null when no row: 0
    }
    return s;
}

// Discards the row's pending changes (a new row disappears, an edited one returns to its
// stored values) and refuses the save.
[[noreturn]] void discardAndRefuse(RecordSet &row, const QString &message)
{
    row.cancel();
    throw EE(message);
}

// ---------------------------------------------------------------- tests of the row

void checkEntries(MonthlyRow &r)
{
    // A declaration being inserted counts: the automatic completion posts the rows of a new
    // declaration before the declaration's own post completes.
    if (r.declaration->isEmpty() && r.declaration->state() != RecordSet::State::Insert)
        throw EE(QStringLiteral("Introduceti datele despre declaratie !"));
    if (r.isNew)
        r.sdNa.setValue(r.declaration->field(QStringLiteral("na_id")).value());
    if (r.month.isNull())
        throw EE(QStringLiteral("Introduceti luna !"));
    if (r.formType.isNull() || r.formType.asInteger() == 0)
        r.formType.setValue(1);
    if (r.from.isNull() || r.to.isNull())
        throw EE(QStringLiteral("Introduceti perioada de munca !"));
    r.m = int(r.month.asInteger());
    if (r.m < 1 || r.m > 12)
        throw EE(QStringLiteral("Introduceti corect luna  !"));
}

void checkFunction(const MonthlyRow &r, RecordQuestions &questions)
{
    if (r.position.asFloat() <= 0)
        return;
    const std::optional<QString> found = questions.professionName(r.position.asString());
    if (!found)
        throw EE(QStringLiteral("Asa cod a  profesiei nu este !"));
    if (found->trimmed().toUpper().contains(QLatin1String("PROFESIE ANULATA")))
        throw EE(QStringLiteral("Codul profesiei nu poate fi folosit. Profesia este anulata !"));
}

void checkNotSent(MonthlyRow &r)
{
    if (r.pensFund.asFloat() == -1)
        discardAndRefuse(r.row, QStringLiteral("Modificari nu se permit. A fost format deja pachetul electronic. "
                                               "Anulati pachetul pentru a corecta !"));
}

void checkPeriod(MonthlyRow &r)
{
    r.begin = r.from.asDate();
    r.end = r.to.asDate();
    r.cat = r.category.asFloat();
    if (!r.category.isNull() && InsuredCategory::carriesNoAmounts(r.cat)) {
        r.payFund.setValue(0.0);
        r.benefit.setValue(0.0);
        r.sumAdd.setValue(0.0);
        r.sumAddEa.setValue(0.0);
    } else {
        if (r.begin.month() != r.end.month())
            throw EE(QStringLiteral("Indicati corect perioada de munca !"));
        if (r.begin.year() != r.end.year())
            throw EE(QStringLiteral("Anul perioadei nu este indicat corect !"));
    }
    // Calendar values compared as such, whatever time zone the two values carry.
    const QTime beginTime = r.from.asDateTime().time(), endTime = r.to.asDateTime().time();
    if (r.end < r.begin || (r.end == r.begin && endTime < beginTime))
        throw EE(QStringLiteral("Indicati corect perioada !"));
    if (r.begin.year() < r.year - 1 || r.begin.year() > r.year + 1)
        throw EE(QStringLiteral("Anul perioadei nu este indicat corect !"));
}

void checkOverlap(MonthlyRow &r, RecordQuestions &questions)
{
    // A row without a category can meet no stored row here; its own message follows below.
    if (r.category.isNull())
        return;
    if (questions.periodTaken(r.sdNa.asString(), r.month.asString(), r.category.asString(), r.sdId.asString(), r.begin,
                              r.end))
        discardAndRefuse(r.row, QStringLiteral("Asa perioada este deja introdusa !"));
}

void checkStartDaysAndAmounts(const MonthlyRow &r)
{
    if (!InsuredCategory::mayBeginBeforeMonth(r.cat) && r.begin < QDate(r.year, r.m, 1))
        throw EE(QStringLiteral("Indicati corect perioada de munca !"));
    if (r.category.isNull())
        throw EE(QStringLiteral("Introduceti categoria"));
    if (r.days.isNull() || (r.days.asInteger() != 5 && r.days.asInteger() != 6))
        throw EE(QStringLiteral("Indicati corect zilele lucratoare in saptamina "));
    const double b = r.benefit.asFloat(), p = r.payFund.asFloat();
    if (b >= 0.01 && p >= 0.01 && b != p)
        throw EE(QStringLiteral("Buletinele si salariul se indica in rinduri separate !"));
}

void checkPackageFormed(MonthlyRow &r, RecordQuestions &questions)
{
    if (questions.packageFormed(r.Y, r.month.asString()))
        discardAndRefuse(r.row, QStringLiteral("Este deja format pachetul electronic  !"));
}

void testRow(MonthlyRow &r, RecordQuestions &questions)
{
    checkEntries(r);
    checkFunction(r, questions);
    checkNotSent(r);
    checkPeriod(r);
    checkOverlap(r, questions);
    checkStartDaysAndAmounts(r);
    checkPackageFormed(r, questions);
}

// ---------------------------------------------------------------- identity and amounts

void assignIdentity(MonthlyRow &r)
{
    if (!r.isNew)
        return;
    r.sdNa.setValue(r.declaration->field(QStringLiteral("na_id")).value());
    ReadScope read(DM->IBQ1, QStringLiteral("select * from get_sd_id"));
    r.sdId.setValue(read.value(QStringLiteral("nRet")));
}

void prepareAmounts(MonthlyRow &r)
{
    r.D1 = SqlText::quoted(QStringLiteral("01.01.") + QString::number(r.begin.year()));
    r.D2 = SqlText::quoted(QStringLiteral("31.12.") + QString::number(r.begin.year()));
    if (r.payFund.isNull())
        r.payFund.setValue(0.0);
    if (r.benefit.isNull())
        r.benefit.setValue(0.0);
    if (InsuredCategory::wholePayIsBenefit(r.cat))
        r.benefit.setValue(r.payFund.value());
    if (r.payFund.asFloat() < 0)
        throw EE(QStringLiteral("Salariul nu poate fi negativ !"));
    if (r.benefit.asFloat() < 0)
        throw EE(QStringLiteral("Suma buletinului nu poate fi negativa !"));
}

// ---------------------------------------------------------------- rate

// The rate row of the category valid over the whole selected year: both rate identifiers of
// the row point at it. False when there is none.
bool findRate(MonthlyRow &r, RecordQuestions &questions)
{
    const std::optional<RecordQuestions::Rate> rate = questions.rate(r.Y, r.category.asString());
    if (!rate)
        return false;
    if (InsuredCategory::rateZeroesContributions(rate->category)) {
        r.sumAdd.setValue(0.0);
        r.sumRealEa.setValue(0.0);
        r.sumAddEa.setValue(0.0);
    }
    r.tariffAp.setValue(rate->id);
    r.tariffEa.setValue(rate->id);
    return true;
}

[[noreturn]] void refuseWithoutRate()
{
    throw EE(QStringLiteral("Nu este tarif pentru aceasta categorie in acest an"));
}

// The rate row the row points at, now or from an earlier save.
RateRow readRate(const MonthlyRow &r)
{
    return r.tariffAp.isNull() ? RateRow() : RateRow::read(r.tariffAp.asString());
}

// ---------------------------------------------------------------- computation

void compute(MonthlyRow &r, const RateRow &rate)
{
    const double B = Contribution::base(r.payFund.asFloat(), r.benefit.asFloat(), r.declarationYear(), r.m);
    r.sumAdd.setValue(Contribution::percent(B, rate.individualValue()));
    r.sumAddEa.setValue(Contribution::percent(B, rate.employerValue()));
    if (r.begin.year() != r.year || !Contribution::ceilingYear(r.declarationYear()) || !rate.ceilingSet()
        || !(r.sumAdd.asFloat() > rate.ceiling()))
        return;
    if (!Contribution::yearToDateCeiling(r.year)) {
        r.sumAdd.setValue(Round2(rate.ceiling()));
        return;
    }
    const double allowance = readYearToDateAllowance(r.sdNa.asString(), r.month.asString(), r.D1, r.D2,
                                                     r.sdId.asString(), rate.ceiling());
    r.sumAdd.setValue(Contribution::withinAllowance(r.sumAdd.asFloat(), allowance));
}

// ---------------------------------------------------------------- warning

// Whether the contributions of the year pass the ceiling: the warning is shown once the row is
// written, so that no question waits on the user while the save holds its rows.
bool overCeiling(const MonthlyRow &r, const RateRow &rate)
{
    if (!rate.percentage() || !Contribution::yearToDateCeiling(r.year) || r.begin.year() != r.year)
        return false;
    const Sums paid = readSums(yearSumStatement(r.sdNa.asString(), r.sdId.asString(), r.D1, r.D2));
    const Sums same = readSums(
        yearToDateStatement(r.sdNa.asString(), QStringLiteral("="), r.month.asString(), r.D1, r.D2, r.sdId.asString()));
    const double months = Contribution::monthsWithRow(paid.count, same.count != 0);
    return Contribution::ceilingYear(r.declarationYear()) && rate.ceilingSet()
           && Contribution::yearOverCeiling(paid.sum, r.sumAdd.asFloat(), rate.ceiling(), months);
}

// ---------------------------------------------------------------- fixed yearly amount

void applyYearlyAmount(MonthlyRow &r)
{
    ReadScope read(DM->IBQ1, RateWindow::statement(QStringLiteral("*"), u'"', r.Y, r.Y, r.category.asString()));
    if (read.found() && r.automatic && Contribution::yearlyAmountYear(r.year)
        && read.value(QStringLiteral("ktapv_ap_unit")).toString().trimmed() == QLatin1String("L")
        && read.value(QStringLiteral("ktapv_ap_value")).toDouble() > 0.01)
        r.sumAdd.setValue(Contribution::monthlyShare(read.value(QStringLiteral("ktapv_ap_value")).toDouble()));
}

// ---------------------------------------------------------------- write

void write(MonthlyRow &r)
{
    DM->execWrite(BuildInsertOrUpdate(&r.row, 0, r.isNew ? 1 : 2));
    DM->cds1->close();
}

} // namespace

QString yearToDateStatement(const QString &declaration, const QString &op, const QString &month,
                            const QString &firstDay, const QString &lastDay, const QString &rowId)
{
    return QStringLiteral(
               "select count(distinct sd_month) as cnt,sum(sd_sum_add) as suma  from saldo_data where sd_na=")
           + declaration + QStringLiteral(" and sd_month") + op + month + QStringLiteral(" and sd_dela_d >=") + firstDay
           + QStringLiteral(" and sd_dela_d<=") + lastDay + QStringLiteral(" and sd_sum_add>0 and sd_id<>") + rowId;
}

QString yearSumStatement(const QString &declaration, const QString &rowId, const QString &firstDay,
                         const QString &lastDay)
{
    return QStringLiteral(
               "select sum(sd_sum_add) as suma , count(distinct sd_month) as cnt from saldo_data where sd_na=")
           + declaration + QStringLiteral(" and sd_id<>") + rowId + QStringLiteral(" and sd_dela_d >=") + firstDay
           + QStringLiteral(" and sd_dela_d<=") + lastDay + QStringLiteral(" and sd_sum_add>0 ");
}

double readYearToDateAllowance(const QString &declaration, const QString &month, const QString &firstDay,
                               const QString &lastDay, const QString &rowId, double ceiling)
{
    const Sums upTo = readSums(yearToDateStatement(declaration, QStringLiteral("<="), month, firstDay, lastDay, rowId));
    const Sums same = readSums(yearToDateStatement(declaration, QStringLiteral("="), month, firstDay, lastDay, rowId));
    return Contribution::yearToDateAllowance(upTo.count, ceiling, upTo.sum, same.count != 0);
}

void check(RecordSet &row, RecordSet &declaration, RecordQuestions &questions)
{
    MonthlyRow r(row, declaration);
    testRow(r, questions);
    prepareAmounts(r);
    if (!findRate(r, questions))
        refuseWithoutRate();
}

void save(RecordSet &row, RecordSet &declaration)
{
    // On a shared database the rows of a declaration are saved one after another, each checked
    // against the rows stored at that moment, and an existing row only as it was read.
    GuardedSave guard;
    if (!guard.lock(QStringLiteral("name_account"), QStringLiteral("na_id"),
                    declaration.active() ? declaration.field(QStringLiteral("na_id")).asString() : QString()))
        throw ConcurrencyError(ConcurrencyError::Kind::TargetGone, row.name(), DM->IDB->lockTimeout());
    guard.lockRow(row);
    DatabaseQuestions database;
    MonthlyRow r(row, declaration);
    testRow(r, database);
    assignIdentity(r);
    prepareAmounts(r);
    const bool rateFound = findRate(r, database);
    const RateRow rate = readRate(r);
    if (r.automatic && rateFound && rate.percentage())
        compute(r, rate);
    if (!rateFound)
        refuseWithoutRate();
    const bool warn = overCeiling(r, rate);
    applyYearlyAmount(r);
    write(r);
    guard.commit();
    if (warn)
        userInteraction().inform(QStringLiteral(
            "Indicati corect suma contributiilor individuale calculate sau efectuati procedura de recalcul "));
}

void beforePost(RecordSet &row)
{
    save(row, *DM->name_account);
}

void calcFields(RecordSet &row)
{
    Field total = row.field(QStringLiteral("sd_paym_fond_calc"));
    if (InsuredCategory::countsInPayFundTotal(row.field(QStringLiteral("sd_ap_category")).asFloat()))
        total.setValue(row.field(QStringLiteral("sd_paym_fond")).value());
    else
        total.setValue(0.0);
}

void attach()
{
    DM->saldo_data->beforePost = beforePost;
    DM->saldo_data->onCalcFields = calcFields;
}

} // namespace SaldoDataRules
