#include "packages/check/packagesums.h"
#include "packages/check/checkfindings.h"
#include "packages/check/packagestructure.h"
#include "packages/check/packagevalues.h"
#include "records/insuredcategory.h"

using namespace PackageValues;

namespace {

const PackageMember Sd = PackageMember::Sd, Ip = PackageMember::Ip, Na = PackageMember::Na, T = PackageMember::T;

const QString AmountNames[4] = {QStringLiteral("fondul de remunerare"), QStringLiteral("suma indemnizațiilor"),
                                QStringLiteral("contribuția individuală"), QStringLiteral("contribuția angajatorului")};

std::optional<qint64> category(const FileLine &l)
{
    return l.field(5).empty() ? std::nullopt : wholeNumber(l.field(5));
}

} // namespace

bool PackageSums::amounts(PackageMember m, const FileLine &l, int first, Amounts *a)
{
    bool ok = true;
    for (int k = 0; k < 4; ++k) {
        const auto c = money(l.field(first + k));
        ok = ok && c.has_value();
        a->v[k] = c.value_or(0);
    }
    const auto total = money(l.field(first + 4));
    if (ok && total && *total != a->v[2] + a->v[3])
        m_findings.add(m, l.number, first + 4, [&] {
            return QStringLiteral("contribuția totală (%1) trebuie să fie suma cîmpurilor %2 și %3 (%4)")
                .arg(centsText(*total))
                .arg(first + 2)
                .arg(first + 3)
                .arg(centsText(a->v[2] + a->v[3]));
        });
    return ok && total.has_value();
}

void PackageSums::categoryRules(const FileLine &l, qint64 category, const Amounts &a)
{
    if (a.v[0] < 0)
        m_findings.add(Sd, l.number, 9, QStringLiteral("fondul de remunerare nu poate fi negativ"));
    if (a.v[1] < 0)
        m_findings.add(Sd, l.number, 10, QStringLiteral("suma indemnizațiilor nu poate fi negativă"));
    if (InsuredCategory::carriesNoAmounts(double(category))) {
        for (int k = 0; k < 4; ++k)
            if (a.v[k] != 0)
                m_findings.add(Sd, l.number, 9 + k, [&] {
                    return QStringLiteral("categoria %1 nu are sume: %2 trebuie să fie 0.00")
                        .arg(category)
                        .arg(AmountNames[k]);
                });
        return;
    }
    if (InsuredCategory::wholePayIsBenefit(double(category))) {
        if (a.v[1] != a.v[0])
            m_findings.add(Sd, l.number, 10, [&] {
                return QStringLiteral("la categoria %1 tot fondul de remunerare este indemnizație: suma "
                                      "indemnizațiilor trebuie să fie %2")
                    .arg(category)
                    .arg(centsText(a.v[0]));
            });
    } else if (a.v[0] >= 1 && a.v[1] >= 1 && a.v[0] != a.v[1]) {
        m_findings.add(Sd, l.number, 10, QStringLiteral("indemnizațiile și salariul se indică în rînduri separate"));
    }
}

void PackageSums::sdBegin(const SdDeclaration &)
{
    m_rows = Amounts();
    m_rowsUsable = true;
}

void PackageSums::sdRow(const FileLine &l, const SdDeclaration &)
{
    Amounts a;
    if (!amounts(Sd, l, 9, &a)) {
        m_rowsUsable = false;
        return;
    }
    const auto cat = category(l);
    if (cat)
        categoryRules(l, *cat, a);
    if (!cat || InsuredCategory::countsInPayFundTotal(double(*cat)))
        m_rows.v[0] += a.v[0];
    for (int k = 1; k < 4; ++k)
        m_rows.v[k] += a.v[k];
}

void PackageSums::count(const SdDeclaration &d, const Amounts &sums, int line)
{
    Package &p = m_sdPackages[d.package];
    if (p.firstLine == 0)
        p.firstLine = line;
    ++p.declarations;
    p.sums += sums;
}

void PackageSums::sdEnd(const SdDeclaration &d, const FileLine *total)
{
    // A declaration is counted in its package with the sums of its total line, or of its rows
    // when the total line is missing.
    if (!total) {
        count(d, m_rows, d.lastLine);
        return;
    }
    Amounts a;
    const bool usable = amounts(Sd, *total, 9, &a);
    if (usable && m_rowsUsable)
        for (int k = 0; k < 4; ++k)
            if (a.v[k] != m_rows.v[k])
                m_findings.add(Sd, total->number, 9 + k, [&] {
                    return QStringLiteral("%1 (%2) nu corespunde sumei rîndurilor declarației (%3)%4")
                        .arg(AmountNames[k], centsText(a.v[k]), centsText(m_rows.v[k]),
                             k == 0 ? QStringLiteral(", fără categoria 150") : QString());
                });
    count(d, usable ? a : m_rows, total->number);
}

void PackageSums::ipLine(const FileLine &l)
{
    const auto package = wholeNumber(l.field(1));
    const auto declarations = wholeNumber(l.field(2));
    Amounts a;
    const bool usable = amounts(Ip, l, 3, &a);
    m_ipSumsUsable = m_ipSumsUsable && usable;
    m_ipSums += a;
    if (!package || m_ipPackages.contains(*package))
        return; // a package number given twice is reported once, by the structure
    m_ipPackages.insert(*package);
    if (!m_sdRead)
        return;
    const Package p = m_sdPackages.value(*package);
    if (declarations && *declarations != p.declarations)
        m_findings.add(Ip, l.number, 2, [&] {
            return QStringLiteral("numărul declarațiilor (%1) nu este egal cu numărul declarațiilor pachetului din "
                                  "REV5_SD (%2)")
                .arg(*declarations)
                .arg(p.declarations);
        });
    if (usable)
        for (int k = 0; k < 4; ++k)
            if (a.v[k] != p.sums.v[k])
                m_findings.add(Ip, l.number, 3 + k, [&] {
                    return QStringLiteral("%1 (%2) nu corespunde sumei rîndurilor totale ale pachetului din REV5_SD "
                                          "(%3)")
                        .arg(AmountNames[k], centsText(a.v[k]), centsText(p.sums.v[k]));
                });
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
    Amounts a;
    if (amounts(T, l, 10, &a) && m_ipUsable)
        for (int k = 0; k < 4; ++k)
            if (a.v[k] != m_ipSums.v[k])
                m_findings.add(T, l.number, 10 + k, [&] {
                    return QStringLiteral("%1 (%2) nu corespunde sumei din REV5_IP (%3)")
                        .arg(AmountNames[k], centsText(a.v[k]), centsText(m_ipSums.v[k]));
                });
}
