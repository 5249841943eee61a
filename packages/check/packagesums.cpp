#include "packages/check/packagesums.h"
#include "data/helpers.h"
#include "packages/check/checkfindings.h"
#include "packages/check/packagestructure.h"
#include "packages/check/packagevalues.h"
#include "packages/packagefiles.h"
#include "records/insuredcategory.h"

using namespace PackageValues;

namespace {

const PackageMember Sd = PackageMember::Sd, Ip = PackageMember::Ip, Na = PackageMember::Na, T = PackageMember::T;

std::optional<qint64> category(const FileLine &l)
{
    return l.field(5).empty() ? std::nullopt : wholeNumber(l.field(5));
}

// Whether a written figure is `exact` in the money format.
bool shows(double written, double exact)
{
    return Round2(exact) == written;
}

} // namespace

PackageSums::Written PackageSums::written(const FileLine &l, int first)
{
    Written w;
    for (int k = 0; k < 4; ++k) {
        const auto v = l.money(first + k);
        w.amountsUsable = w.amountsUsable && v.has_value();
        w.amounts[k] = v.value_or(0);
    }
    const auto total = l.money(first + 4);
    w.totalUsable = total.has_value();
    w.total = total.value_or(0);
    return w;
}

PackageAmounts PackageSums::taken(const Written &w, const PackageAmounts *sums)
{
    PackageAmounts out = w.amounts;
    if (sums)
        for (int k = 0; k < 4; ++k)
            if (shows(w.amounts[k], (*sums)[k]))
                out[k] = (*sums)[k];
    return out;
}

void PackageSums::checkTotal(PackageMember m, const FileLine &l, int first, const Written &w, double expected)
{
    if (w.usable() && !shows(w.total, expected))
        m_findings.add(m, l.number, first + 4, [&] {
            return QStringLiteral("contribuția totală (%1) trebuie să fie suma cîmpurilor %2 și %3 (%4)")
                .arg(text(l.field(first + 4)))
                .arg(first + 2)
                .arg(first + 3)
                .arg(PackageFiles::moneyText(expected));
        });
}

void PackageSums::checkAmounts(PackageMember m, const FileLine &l, int first, const Written &w,
                               const PackageAmounts &sums, const QString &against)
{
    for (int k = 0; k < 4; ++k)
        if (!shows(w.amounts[k], sums[k]))
            m_findings.add(m, l.number, first + k, [&] {
                return QStringLiteral("%1 (%2) nu corespunde %3")
                    .arg(amountName(k), text(l.field(first + k)),
                         against.arg(PackageFiles::moneyText(sums[k]),
                                     m == Sd && k == 0 ? QStringLiteral(", fără categoria 150") : QString()));
            });
}

void PackageSums::categoryRules(const FileLine &l, qint64 category, const PackageAmounts &a)
{
    if (a.payFund < 0)
        m_findings.add(Sd, l.number, 9, QStringLiteral("fondul de remunerare nu poate fi negativ"));
    if (a.ill < 0)
        m_findings.add(Sd, l.number, 10, QStringLiteral("suma indemnizațiilor nu poate fi negativă"));
    if (InsuredCategory::carriesNoAmounts(double(category))) {
        for (int k = 0; k < 4; ++k)
            if (a[k] != 0)
                m_findings.add(Sd, l.number, 9 + k, [&] {
                    return QStringLiteral("categoria %1 nu are sume: %2 trebuie să fie 0.00")
                        .arg(category)
                        .arg(amountName(k));
                });
        return;
    }
    if (InsuredCategory::wholePayIsBenefit(double(category))) {
        if (a.ill != a.payFund)
            m_findings.add(Sd, l.number, 10, [&] {
                return QStringLiteral("la categoria %1 tot fondul de remunerare este indemnizație: suma "
                                      "indemnizațiilor trebuie să fie %2")
                    .arg(category)
                    .arg(text(l.field(9)));
            });
    } else if (cents(a.payFund) >= 1 && cents(a.ill) >= 1 && a.payFund != a.ill) {
        m_findings.add(Sd, l.number, 10, QStringLiteral("indemnizațiile și salariul se indică în rînduri separate"));
    }
}

void PackageSums::sdBegin(const SdDeclaration &)
{
    m_rows = PackageAmounts();
    m_rowsUsable = true;
}

void PackageSums::sdRow(const FileLine &l, const SdDeclaration &)
{
    const Written w = written(l, 9);
    const PackageAmounts &a = w.amounts;
    checkTotal(Sd, l, 9, w, PackageAmounts::rowTotal(a.individual, a.employer));
    if (!w.usable()) {
        m_rowsUsable = false;
        return;
    }
    const auto cat = category(l);
    if (cat)
        categoryRules(l, *cat, a);
    m_rows.addRow(a.payFund, a.ill, a.individual, a.employer, cat.value_or(0));
}

void PackageSums::sdEnd(const SdDeclaration &d, const FileLine *total)
{
    // A declaration is counted in its package with the sums of its total line, or of its rows
    // when the total line is missing or has an amount that is not money.
    Package &p = m_sdPackages[d.package];
    ++p.declarations;
    if (!total) {
        p.firstLine = p.firstLine ? p.firstLine : d.lastLine;
        p.sums.add(m_rows);
        return;
    }
    p.firstLine = p.firstLine ? p.firstLine : total->number;
    const Written w = written(*total, 9);
    const PackageAmounts sums = taken(w, m_rowsUsable ? &m_rows : nullptr);
    checkTotal(Sd, *total, 9, w, sums.total());
    if (w.usable() && m_rowsUsable)
        checkAmounts(Sd, *total, 9, w, m_rows, QStringLiteral("sumei rîndurilor declarației (%1)%2"));
    p.sums.add(w.usable() ? sums : m_rows);
}

void PackageSums::ipLine(const FileLine &l)
{
    const auto package = wholeNumber(l.field(1));
    const auto declarations = wholeNumber(l.field(2));
    const Written w = written(l, 3);
    const Package *sd = nullptr;
    if (m_sdRead && package)
        if (const auto it = m_sdPackages.constFind(*package); it != m_sdPackages.cend())
            sd = &*it;
    const PackageAmounts sums = taken(w, sd ? &sd->sums : nullptr);
    checkTotal(Ip, l, 3, w, sums.total());
    m_ipSumsUsable = m_ipSumsUsable && w.usable();
    m_ipSums.addRounded(sums);
    if (!package || m_ipPackages.contains(*package))
        return; // a package number given twice is reported once, by the structure
    m_ipPackages.insert(*package);
    if (!m_sdRead)
        return;
    const Package p = sd ? *sd : Package();
    if (declarations && *declarations != p.declarations)
        m_findings.add(Ip, l.number, 2, [&] {
            return QStringLiteral("numărul declarațiilor (%1) nu este egal cu numărul declarațiilor pachetului din "
                                  "REV5_SD (%2)")
                .arg(*declarations)
                .arg(p.declarations);
        });
    if (w.usable())
        checkAmounts(Ip, l, 3, w, p.sums, QStringLiteral("sumei rîndurilor totale ale pachetului din REV5_SD (%1)%2"));
}

void PackageSums::ipDone()
{
    if (m_sdRead)
        for (auto it = m_sdPackages.cbegin(); it != m_sdPackages.cend(); ++it)
            if (it.key() >= 0 && !m_ipPackages.contains(it.key()))
                m_findings.add(Sd, it->firstLine, 2,
                               [&] { return QStringLiteral("pachetul %1 nu are rînd în REV5_IP").arg(it.key()); });
    m_ipUsable = m_ipSumsUsable;
    if (!m_ipUsable)
        m_ipPackages.clear();
}

void PackageSums::naLine(const FileLine &l)
{
    const auto id = wholeNumber(l.field(1));
    const auto package = wholeNumber(l.field(2));
    if (id && m_sdRead) {
        const auto it = m_structure.sdDeclarations().constFind(*id);
        if (it == m_structure.sdDeclarations().cend())
            m_findings.add(Na, l.number, 1,
                           [&] { return QStringLiteral("declarația %1 nu are rînduri în REV5_SD").arg(*id); });
        else if (package && it->package != *package)
            m_findings.add(Na, l.number, 2, [&] {
                return QStringLiteral("numărul pachetului %1 diferă de cel din REV5_SD (%2)")
                    .arg(*package)
                    .arg(it->package);
            });
    }
    if (package && m_ipUsable && !m_ipPackages.contains(*package))
        m_findings.add(Na, l.number, 2,
                       [&] { return QStringLiteral("pachetul %1 nu are rînd în REV5_IP").arg(*package); });
}

void PackageSums::naDone()
{
    if (!m_sdRead)
        return;
    const auto &sd = m_structure.sdDeclarations();
    for (auto it = sd.cbegin(); it != sd.cend(); ++it)
        if (!m_structure.naDeclarations().contains(it.key()))
            m_findings.add(Sd, it->line, 1,
                           [&] { return QStringLiteral("declarația %1 nu are rînd în REV5_NA").arg(it.key()); });
}

void PackageSums::tLine(const FileLine &l, int ipLines)
{
    const auto packages = wholeNumber(l.field(9));
    if (packages && ipLines >= 0 && *packages != ipLines)
        m_findings.add(T, l.number, 9, [&] {
            return QStringLiteral("numărul pachetelor (%1) nu este egal cu numărul rîndurilor din REV5_IP (%2)")
                .arg(*packages)
                .arg(ipLines);
        });
    const Written w = written(l, 10);
    checkTotal(T, l, 10, w, taken(w, m_ipUsable ? &m_ipSums : nullptr).total());
    if (w.usable() && m_ipUsable)
        checkAmounts(T, l, 10, w, m_ipSums, QStringLiteral("sumei din REV5_IP (%1)%2"));
}
