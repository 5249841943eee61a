#include "records/autocompletion.h"
#include "data/ee.h"
#include "data/readscope.h"
#include "data/recordset.h"
#include "data/tdm.h"
#include "records/newmonthrow.h"
#include "records/ratewindow.h"

namespace AutoCompletion {

namespace {

QString text(RecordSet &declaration, const char *field)
{
    return declaration.field(QString::fromLatin1(field)).asString();
}

// A new row of the month with the values every generated row shares.
void appendMonth(RecordSet &declaration, int year, int month)
{
    RecordSet *rows = DM->saldo_data;
    rows->append();
    NewMonthRow::fill(*rows, declaration, year, month);
}

} // namespace

void completeNewDeclaration(RecordSet &declaration, const QString &year)
{
    const int Y = year.trimmed().toInt();
    if (declaration.field(QStringLiteral("na_ap_category")).isNull())
        throw EE(QStringLiteral("Introduceti categoria persoanei asigurate !"));
    // An empty date lies outside the year as well.
    const QDate begin = declaration.field(QStringLiteral("na_period_begin")).asDate();
    const QDate end = declaration.field(QStringLiteral("na_period_end")).asDate();
    const QDate first(Y, 1, 1), last(Y, 12, 31);
    for (const QDate &d : {begin, end})
        if (!d.isValid() || d < first || d > last)
            throw EE(QStringLiteral("Data perioadei nu este din anul de dare de seama !"));
    if (end < begin)
        throw EE(QStringLiteral("Introduceti corect perioada !"));

    const QString category = text(declaration, "na_ap_category");
    RecordSet *rows = DM->saldo_data;
    for (int m = begin.month(); m <= end.month(); ++m) {
        appendMonth(declaration, Y, m);
        // The rate read has ended (IBT1 committed, IBQ1 closed) before the post, whose save
        // rule reads on IBQ1 again.
        NewMonthRow::takeRate(*rows, Y, category);
        try {
            rows->post();
        } catch (const EE &) {
            rows->cancel();
        }
    }
}

void fillMissingMonths(RecordSet &declaration, const QString &year)
{
    const int Y = year.trimmed().toInt();
    const QDate begin = declaration.field(QStringLiteral("na_period_begin")).asDate();
    const QDate end = declaration.field(QStringLiteral("na_period_end")).asDate();
    if (!begin.isValid() || !end.isValid())
        return;

    const QString id = text(declaration, "na_id");
    const QString category = text(declaration, "na_ap_category");
    RecordSet *rows = DM->saldo_data;
    for (int m = begin.month(); m <= end.month(); ++m) {
        {
            ReadScope stored(DM->IBQ1, QStringLiteral("select * from saldo_data where sd_na=") + id
                                           + QStringLiteral(" and sd_month=") + QString::number(m));
            if (stored.found())
                continue;
        }
        appendMonth(declaration, Y, m);
        // Without a category there is no rate to look for; the monthly-row rule then refuses
        // the row with its own message rather than the server with a syntax error.
        if (!category.isEmpty()) {
            ReadScope rate(DM->IBQ1, RateWindow::statement(QStringLiteral("ktapv_id"), u'"', year, year, category));
            if (rate.found()) {
                const QVariant rateId = rate.value(QStringLiteral("ktapv_id"));
                rows->field(QStringLiteral("sd_tariff_ap")).setValue(rateId);
                rows->field(QStringLiteral("sd_tariff_ea")).setValue(rateId);
            }
        }
        // Both reads have ended (IBT1 committed, IBQ1 closed) before the post, whose save rule
        // reads on IBQ1 again. A refusal refuses the declaration; the row stays being inserted.
        rows->post();
    }
}

} // namespace AutoCompletion
