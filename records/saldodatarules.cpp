#include "records/saldodatarules.h"
#include "data/ee.h"
#include "data/formats.h"
#include "data/helpers.h"
#include "data/ibquery.h"
#include "data/readscope.h"
#include "data/tdm.h"
#include "platform/userinteraction.h"
#include "records/contribution.h"
#include "records/insuredcategory.h"
#include "records/ratewindow.h"
#include "records/workspacestate.h"

namespace SaldoDataRules {

namespace {

QString quoted(const QDate &d)
{
    return u'\'' + Formats::dateText(d) + u'\'';
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

} // namespace

QString yearToDateStatement(const QString &declaration, const QString &op, const QString &month,
                            const QString &firstDay, const QString &lastDay, const QString &rowId)
{
    return QStringLiteral("select count(distinct sd_month) as cnt,sum(sd_sum_add) as suma  from saldo_data where sd_na=")
        + declaration + QStringLiteral(" and sd_month") + op + month + QStringLiteral(" and sd_dela_d >=") + firstDay
        + QStringLiteral(" and sd_dela_d<=") + lastDay + QStringLiteral(" and sd_sum_add>0 and sd_id<>") + rowId;
}

QString yearSumStatement(const QString &declaration, const QString &rowId, const QString &firstDay,
                         const QString &lastDay)
{
    return QStringLiteral("select sum(sd_sum_add) as suma , count(distinct sd_month) as cnt from saldo_data where sd_na=")
        + declaration + QStringLiteral(" and sd_id<>") + rowId + QStringLiteral(" and sd_dela_d >=") + firstDay
        + QStringLiteral(" and sd_dela_d<=") + lastDay + QStringLiteral(" and sd_sum_add>0 ");
}

void beforePost(RecordSet &row)
{
    RecordSet *declaration = DM->name_account;
    const WorkspaceState *ws = workspaceState();
    const QString Y = ws ? ws->selectedYear() : QString();
    const int year = Y.trimmed().toInt();
    const bool automatic = !ws || ws->autoCalculation();
    const bool isNew = row.state() == RecordSet::State::Insert;

    Field sdId = row.field(QStringLiteral("sd_id"));
    Field sdNa = row.field(QStringLiteral("sd_na"));
    Field month = row.field(QStringLiteral("sd_month"));
    Field payFund = row.field(QStringLiteral("sd_paym_fond"));
    Field benefit = row.field(QStringLiteral("sd_ill"));
    Field tariffAp = row.field(QStringLiteral("sd_tariff_ap"));
    Field sumAdd = row.field(QStringLiteral("sd_sum_add"));
    Field tariffEa = row.field(QStringLiteral("sd_tariff_ea"));
    Field sumAddEa = row.field(QStringLiteral("sd_sum_add_ea"));
    Field sumRealEa = row.field(QStringLiteral("sd_sum_real_ea"));
    Field pensFund = row.field(QStringLiteral("sd_pens_fund"));
    Field from = row.field(QStringLiteral("sd_dela_d"));
    Field to = row.field(QStringLiteral("sd_pina_d"));
    Field days = row.field(QStringLiteral("sd_zile_n"));
    Field category = row.field(QStringLiteral("sd_ap_category"));
    Field position = row.field(QStringLiteral("sd_position"));
    Field formType = row.field(QStringLiteral("sd_kft_rf"));

    // Tests of the row. A declaration being inserted counts: the automatic completion posts
    // the rows of a new declaration before the declaration's own post completes.
    if (declaration->isEmpty() && declaration->state() != RecordSet::State::Insert)
        throw EE(QStringLiteral("Introduceti datele despre declaratie !"));
    if (isNew)
        sdNa.setValue(declaration->field(QStringLiteral("na_id")).value());
    if (month.isNull())
        throw EE(QStringLiteral("Introduceti luna !"));
    if (formType.isNull() || formType.asInteger() == 0)
        formType.setValue(1);
    if (from.isNull() || to.isNull())
        throw EE(QStringLiteral("Introduceti perioada de munca !"));
    const int m = int(month.asInteger());
    if (m < 1 || m > 12)
        throw EE(QStringLiteral("Introduceti corect luna  !"));

    if (position.asFloat() > 0) {
        bool found = false;
        QString name;
        {
            ReadScope read(DM->IBQ1, QStringLiteral(" select kp_name_ro from k_prof where kp_id=") + position.asString());
            found = read.found();
            name = found ? read.value(0).toString().trimmed().toUpper() : QString();
        }
        if (!found)
            throw EE(QStringLiteral("Asa cod a  profesiei nu este !"));
        if (name.contains(QLatin1String("PROFESIE ANULATA")))
            throw EE(QStringLiteral("Codul profesiei nu poate fi folosit. Profesia este anulata !"));
    }

    if (pensFund.asFloat() == -1)
        discardAndRefuse(row, QStringLiteral("Modificari nu se permit. A fost format deja pachetul electronic. "
                                             "Anulati pachetul pentru a corecta !"));

    const QDate begin = from.asDate();
    const QDate end = to.asDate();
    const double cat = category.asFloat();
    if (!category.isNull() && InsuredCategory::carriesNoAmounts(cat)) {
        // Leave without pay or on maternity: nothing is due, and the period may span months.
        payFund.setValue(0.0);
        benefit.setValue(0.0);
        sumAdd.setValue(0.0);
        sumAddEa.setValue(0.0);
    } else {
        if (begin.month() != end.month())
            throw EE(QStringLiteral("Indicati corect perioada de munca !"));
        if (begin.year() != end.year())
            throw EE(QStringLiteral("Anul perioadei nu este indicat corect !"));
    }
    // Calendar values compared as such, whatever time zone the two values carry.
    const QTime beginTime = from.asDateTime().time(), endTime = to.asDateTime().time();
    if (end < begin || (end == begin && endTime < beginTime))
        throw EE(QStringLiteral("Indicati corect perioada !"));
    if (begin.year() < year - 1 || begin.year() > year + 1)
        throw EE(QStringLiteral("Anul perioadei nu este indicat corect !"));

    // A row without a category can meet no stored row here; its own message follows below.
    if (!category.isNull()) {
        const QString D = quoted(begin), P = quoted(end);
        QString sql = QStringLiteral(" select * from saldo_data where sd_na=") + sdNa.asString()
            + QStringLiteral(" and sd_month=") + month.asString() + QStringLiteral(" and sd_ap_category=")
            + category.asString();
        if (!sdId.isNull())
            sql += QStringLiteral(" and sd_id<>") + sdId.asString();
        sql += QStringLiteral(" and ((sd_pina_d>=") + D + QStringLiteral(" and sd_pina_d<=") + P
            + QStringLiteral(" ) or (sd_dela_d>=") + D + QStringLiteral(" and sd_dela_d<=") + P + QStringLiteral(")")
            + QStringLiteral(" or (sd_dela_d>=") + D + QStringLiteral(" and sd_pina_d<=") + P + QStringLiteral(")")
            + QStringLiteral(" or (sd_dela_d<=") + D + QStringLiteral(" and sd_pina_d>=") + P + QStringLiteral("))");
        bool overlaps = false;
        {
            ReadScope read(DM->IBQ1, sql);
            overlaps = read.found();
        }
        if (overlaps)
            discardAndRefuse(row, QStringLiteral("Asa perioada este deja introdusa !"));
    }

    if (!InsuredCategory::mayBeginBeforeMonth(cat) && begin < QDate(year, m, 1))
        throw EE(QStringLiteral("Indicati corect perioada de munca !"));
    if (category.isNull())
        throw EE(QStringLiteral("Introduceti categoria"));
    if (days.isNull() || (days.asInteger() != 5 && days.asInteger() != 6))
        throw EE(QStringLiteral("Indicati corect zilele lucratoare in saptamina "));
    if (benefit.asFloat() >= 0.01 && payFund.asFloat() >= 0.01 && benefit.asFloat() != payFund.asFloat())
        throw EE(QStringLiteral("Buletinele si salariul se indica in rinduri separate !"));

    bool packaged = false;
    {
        ReadScope read(DM->IBQ1, QStringLiteral("select * from t_pachet where anul=") + Y + QStringLiteral(" and luna_d<=")
                                     + month.asString() + QStringLiteral(" and luna_p>=") + month.asString()
                                     + QStringLiteral(" and ae_rf=")
                                     + DM->econ_agent->field(QStringLiteral("ea_id")).asString());
        packaged = read.found();
    }
    if (packaged)
        discardAndRefuse(row, QStringLiteral("Este deja format pachetul electronic  !"));

    // Identity and amounts.
    if (isNew) {
        sdNa.setValue(declaration->field(QStringLiteral("na_id")).value());
        ReadScope read(DM->IBQ1, QStringLiteral("select * from get_sd_id"));
        sdId.setValue(read.value(QStringLiteral("nRet")));
    }
    const QString D1 = u'\'' + QStringLiteral("01.01.") + QString::number(begin.year()) + u'\'';
    const QString D2 = u'\'' + QStringLiteral("31.12.") + QString::number(begin.year()) + u'\'';
    if (payFund.isNull())
        payFund.setValue(0.0);
    if (benefit.isNull())
        benefit.setValue(0.0);
    if (InsuredCategory::wholePayIsBenefit(cat))
        benefit.setValue(payFund.value());
    if (payFund.asFloat() < 0)
        throw EE(QStringLiteral("Salariul nu poate fi negativ !"));
    if (benefit.asFloat() < 0)
        throw EE(QStringLiteral("Suma buletinului nu poate fi negativa !"));

    // Rate.
    ReadScope rateQuery(DM->IBQ1, RateWindow::statement(QStringLiteral("ktapv_id,ktapv_ktap"), u'"', Y.trimmed(), Y,
                                                        category.asString()));
    const bool rateFound = rateQuery.found();
    if (rateFound) {
        const double rateCategory = rateQuery.value(QStringLiteral("ktapv_ktap")).toDouble();
        const QVariant rateId = rateQuery.value(QStringLiteral("ktapv_id"));
        if (InsuredCategory::rateZeroesContributions(rateCategory)) {
            sumAdd.setValue(0.0);
            sumRealEa.setValue(0.0);
            sumAddEa.setValue(0.0);
        }
        tariffAp.setValue(rateId);
        tariffEa.setValue(rateId);
    }
    rateQuery.end();

    RecordSet *rate = DM->cds1;
    bool rateRead = false;
    if (!tariffAp.isNull()) {
        {
            ReadScope read(DM->IBQ1, QStringLiteral("select * from k_tariff_ap_value  where ktapv_id=") + tariffAp.asString());
            CopyToMemTable(read.query(), rate, 2);
        }
        rateRead = !rate->isEmpty();
    }
    const auto rateField = [rate](const char *name) { return rate->field(QString::fromLatin1(name)); };
    const bool percentRate = rateRead && rateField("ktapv_ea_unit").asString().trimmed() == QLatin1String("P");
    const bool ceilingSet = rateRead && !rateField("ktapv_ap_max").isNull() && rateField("ktapv_ap_max").asFloat() > 1;
    const double ceiling = rateRead ? rateField("ktapv_ap_max").asFloat() : 0;
    const int N = int(declaration->field(QStringLiteral("na_year")).asInteger());

    // Computation.
    if (automatic && rateFound && percentRate) {
        const double B = Contribution::base(payFund.asFloat(), benefit.asFloat(), N, m);
        sumAdd.setValue(Contribution::percent(B, rateField("ktapv_ap_value").asFloat()));
        sumAddEa.setValue(Contribution::percent(B, rateField("ktapv_ea_value").asFloat()));
        if (begin.year() == year && Contribution::ceilingYear(N) && ceilingSet && sumAdd.asFloat() > ceiling) {
            if (year <= 2007) {
                sumAdd.setValue(Round2(ceiling));
            } else {
                const Sums upTo = readSums(
                    yearToDateStatement(sdNa.asString(), QStringLiteral("<="), month.asString(), D1, D2, sdId.asString()));
                const Sums same = readSums(
                    yearToDateStatement(sdNa.asString(), QStringLiteral("="), month.asString(), D1, D2, sdId.asString()));
                const double allowance =
                    Contribution::yearToDateAllowance(upTo.count, ceiling, upTo.sum, same.count != 0);
                if (sumAdd.asFloat() > allowance)
                    sumAdd.setValue(Round2(allowance));
            }
        }
    }
    if (!rateFound)
        throw EE(QStringLiteral("Nu este tarif pentru aceasta categorie in acest an"));

    // Warning.
    if (rateRead && percentRate && year > 2007 && begin.year() == year) {
        const Sums paid = readSums(yearSumStatement(sdNa.asString(), sdId.asString(), D1, D2));
        const Sums same =
            readSums(yearToDateStatement(sdNa.asString(), QStringLiteral("="), month.asString(), D1, D2, sdId.asString()));
        const double months = same.count == 0 ? paid.count + 1 : paid.count;
        // Compared to the cent: a year exactly at its ceiling is not over it, whatever the
        // binary sum of its amounts.
        if (Contribution::ceilingYear(N) && ceilingSet && Round2(paid.sum + sumAdd.asFloat()) > Round2(ceiling * months))
            userInteraction().inform(
                QStringLiteral("Indicati corect suma contributiilor individuale calculate sau efectuati procedura de recalcul "));
    }

    // Fixed yearly amount.
    {
        ReadScope read(DM->IBQ1, RateWindow::statement(QStringLiteral("*"), u'"', Y, Y, category.asString()));
        if (read.found() && automatic && year >= 2006
            && read.value(QStringLiteral("ktapv_ap_unit")).toString().trimmed() == QLatin1String("L")
            && read.value(QStringLiteral("ktapv_ap_value")).toDouble() > 0.01)
            sumAdd.setValue(Round2(read.value(QStringLiteral("ktapv_ap_value")).toDouble() / 12));
    }

    // Write.
    DM->execWrite(BuildInsertOrUpdate(&row, 0, isNew ? 1 : 2));
    rate->close();
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
