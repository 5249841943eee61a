#include "packages/packageperiod.h"
#include "data/ee.h"

namespace {

constexpr int kMonthlyFrom = 2015; // months and form types are chosen from this year on
constexpr int kQuarterlyFrom = 2013;
constexpr int kWholeYearItem = 12;

void setRange(PackagePeriod &p, const QString &code, int from, int to)
{
    p.PeriodCode = code;
    p.PeriodFilter = QStringLiteral(" and sd_month between %1 and %2 ").arg(from).arg(to);
    p.MonthFrom = QString::number(from);
    p.MonthTo = QString::number(to);
}

} // namespace

QStringList PackagePeriod::periodCaptions(int year)
{
    if (year >= kMonthlyFrom)
        return {QStringLiteral("Ianuarie"),  QStringLiteral("Februarie"), QStringLiteral("Martie"),
                QStringLiteral("Aprilie"),   QStringLiteral("Mai"),       QStringLiteral("Iunie"),
                QStringLiteral("Iulie"),     QStringLiteral("August"),    QStringLiteral("Septembrie"),
                QStringLiteral("Octombrie"), QStringLiteral("Noiembrie"), QStringLiteral("Decembrie"),
                QStringLiteral("Anul intreg")};
    if (year >= kQuarterlyFrom)
        return {QStringLiteral("Trim. I"), QStringLiteral("Trim. II"), QStringLiteral("Trim. III"),
                QStringLiteral("Trim. IV"), QStringLiteral("Anul intreg")};
    return {QStringLiteral("Anul intreg")};
}

QList<QPair<int, QString>> PackagePeriod::formTypes(int year)
{
    QList<QPair<int, QString>> types{{1, QStringLiteral("Primară")}};
    if (year >= kMonthlyFrom)
        types.append({3, QStringLiteral("De corectare")});
    return types;
}

void PackagePeriod::choose(int year, int item, const QVariant &formType)
{
    if (formType.isNull() || !formType.isValid())
        throw EE(QStringLiteral("Indicati Declaratii !"));
    const qint64 type = qRound64(formType.toDouble());
    if (year >= kMonthlyFrom && item == kWholeYearItem && type != 1)
        throw EE(QStringLiteral("Declaratia anuala poate fi numai primara !"));

    *this = PackagePeriod();
    if (year < kQuarterlyFrom) {
        setRange(*this, QStringLiteral("T00"), 1, 12);
    } else if (year < kMonthlyFrom) {
        if (item >= 0 && item < 4)
            setRange(*this, QStringLiteral("T0%1").arg(item + 1), item * 3 + 1, item * 3 + 3);
        else if (item == 4)
            setRange(*this, QStringLiteral("T00"), 1, 12);
    } else {
        if (item >= 0 && item < kWholeYearItem) {
            const int month = item + 1;
            PeriodCode = QStringLiteral("L%1").arg(month, 2, 10, QLatin1Char('0'));
            PeriodFilter = QStringLiteral(" and sd_month=%1 ").arg(month);
            MonthFrom = MonthTo = QString::number(month);
        } else if (item == kWholeYearItem) {
            setRange(*this, QStringLiteral("T00"), 1, 12);
        }
        PeriodFilter += QStringLiteral(" and sd_kft_rf=") + QString::number(type);
    }
}
