#include "packages/check/classifierchecks.h"
#include "packages/check/checkfindings.h"
#include "packages/check/packagename.h"
#include "packages/check/packagevalues.h"
#include "packages/packageclassifiers.h"
#include "packages/packagefiles.h"
#include "records/contribution.h"
#include "records/insuredcategory.h"

#include <cmath>
#include <cstdlib>

using namespace PackageValues;

namespace {

const PackageMember Sd = PackageMember::Sd, Na = PackageMember::Na;

} // namespace

void ClassifierChecks::sdRow(const FileLine &l, const SdDeclaration &)
{
    if (!m_classifiers)
        return;
    if (!l.field(4).empty()) {
        const auto function = wholeNumber(l.field(4));
        if (function && *function > 0) {
            if (!m_classifiers->knowsFunction(*function))
                m_findings.add(Sd, l.number, 4, [&] {
                    return QStringLiteral("codul funcției %1 nu există în clasificator").arg(*function);
                });
            else if (m_classifiers->functionCancelled(*function))
                m_findings.add(Sd, l.number, 4, [&] {
                    return QStringLiteral("funcția %1 este anulată și nu poate fi folosită").arg(*function);
                });
        }
    }
    if (l.field(5).empty())
        return;
    const auto category = wholeNumber(l.field(5));
    if (!category)
        return;
    if (!m_classifiers->knowsCategory(*category))
        m_findings.add(Sd, l.number, 5,
                       [&] { return QStringLiteral("categoria %1 nu există în clasificator").arg(*category); });

    const auto month = wholeNumber(l.field(3));
    if (!month || *month < 1 || *month > 12)
        return;
    PackageAmounts a;
    for (int k = 0; k < 4; ++k) {
        const auto v = l.money(9 + k);
        if (!v)
            return;
        a[k] = *v;
    }
    if (!l.money(13))
        return;
    const auto from = l.field(7).empty() ? std::nullopt : date(l.field(7));
    rates(l, *category, int(*month), from.value_or(QDate()), a);
}

void ClassifierChecks::rates(const FileLine &l, qint64 category, int month, const QDate &from,
                             const PackageAmounts &amounts)
{
    if (!m_name.valid() || InsuredCategory::carriesNoAmounts(double(category)))
        return;
    const int year = m_name.year();
    const auto rate = m_classifiers->rate(category, year);
    if (!rate) {
        m_findings.warn(Sd, l.number, 5, [&] {
            return QStringLiteral("nu există tarif pentru categoria %1 în anul %2").arg(category).arg(year);
        });
        return;
    }
    // The amounts in cents: the rules compare to the cent.
    const qint64 a[4] = {cents(amounts.payFund), cents(amounts.ill), cents(amounts.individual),
                         cents(amounts.employer)};
    if (InsuredCategory::rateZeroesContributions(double(category))) {
        for (int k : {2, 3})
            if (a[k] != 0)
                m_findings.warn(Sd, l.number, 9 + k, [&] {
                    return QStringLiteral("pentru categoria %1 %2 trebuie să fie 0.00")
                        .arg(category)
                        .arg(amountName(k));
                });
        return;
    }
    const double base = Contribution::base(amounts.payFund, amounts.ill, year, month);
    // Whether the product is formed in extended or in double precision is the computing
    // program's choice, and a half cent may fall either way: a cent apart is no finding.
    auto differs = [](qint64 written, double expected) {
        return std::llabs(written - qint64(std::llround(expected * 100))) > 1;
    };
    if (rate->employerUnit == QLatin1String("P")) {
        const double expected = Contribution::percent(base, rate->employerValue);
        if (differs(a[3], expected))
            m_findings.warn(Sd, l.number, 12, [&] {
                return QStringLiteral("contribuția angajatorului %1 nu corespunde tarifului de %2% al categoriei %3 "
                                      "în anul %4 (%5)")
                    .arg(text(l.field(12)))
                    .arg(Contribution::wholeRate(rate->employerValue))
                    .arg(category)
                    .arg(year)
                    .arg(PackageFiles::moneyText(expected));
            });
    }
    if (rate->individualUnit == QLatin1String("L") && Contribution::yearlyAmountYear(year)
        && rate->individualValue > 0.01) {
        const double expected = Contribution::monthlyShare(rate->individualValue);
        if (differs(a[2], expected))
            m_findings.warn(Sd, l.number, 11, [&] {
                return QStringLiteral("contribuția individuală %1 nu este a douăsprezecea parte din suma anuală a "
                                      "categoriei %2 în anul %3 (%4)")
                    .arg(text(l.field(11)))
                    .arg(category)
                    .arg(year)
                    .arg(PackageFiles::moneyText(expected));
            });
        return;
    }
    if (rate->employerUnit != QLatin1String("P"))
        return;
    const double expected = Contribution::percent(base, rate->individualValue);
    const qint64 expectedCents = std::llround(expected * 100);
    // Under a ceiling the contribution may be cut below the rate, never raised above it.
    const bool ceiling = Contribution::ceilingYear(year) && rate->ceiling && *rate->ceiling > 1 && from.isValid()
                         && from.year() == year;
    if (ceiling ? a[2] > expectedCents + 1 : differs(a[2], expected))
        m_findings.warn(Sd, l.number, 11, [&] {
            return QStringLiteral(
                       "contribuția individuală %1 nu corespunde tarifului de %2% al categoriei %3 în anul %4 (%5)")
                .arg(text(l.field(11)))
                .arg(Contribution::wholeRate(rate->individualValue))
                .arg(category)
                .arg(year)
                .arg(PackageFiles::moneyText(expected));
        });
}

void ClassifierChecks::naLine(const FileLine &l)
{
    if (!m_classifiers || l.field(9).empty())
        return;
    const auto docType = wholeNumber(l.field(9));
    if (docType && *docType != 0 && !m_classifiers->knowsDocumentType(*docType))
        m_findings.add(Na, l.number, 9,
                       [&] { return QStringLiteral("tipul de document %1 nu există în clasificator").arg(*docType); });
}
