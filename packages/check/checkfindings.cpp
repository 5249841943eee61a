#include "packages/check/checkfindings.h"

#include <algorithm>

void CheckFindings::store(PackageMember member, int line, int field, PackageFinding::Severity severity, QString message)
{
    m_result.findings.push_back(
        PackageFinding{PackageMembers::name(member), line, field, severity, std::move(message)});
}

void CheckFindings::finish()
{
    auto &findings = m_result.findings;
    std::stable_sort(findings.begin(), findings.end());
    for (int m = PackageMembers::Count - 1; m >= 0; --m) {
        const Count &count = m_counts[m];
        const int omitted = count.omittedErrors + count.omittedWarnings;
        if (omitted == 0)
            continue;
        m_result.omittedErrors += count.omittedErrors;
        m_result.omittedWarnings += count.omittedWarnings;
        const QString &name = PackageMembers::name(PackageMember(m));
        const auto end = std::find_if(findings.begin(), findings.end(),
                                      [&](const PackageFinding &f) { return PackageMembers::order(f.member) > m; });
        findings.insert(end, PackageFinding{name, 0, 0,
                                            count.omittedErrors ? PackageFinding::Error : PackageFinding::Warning,
                                            QStringLiteral("constatări nearătate: %1 (erori: %2, avertismente: %3); "
                                                           "se arată numai primele %4")
                                                .arg(omitted)
                                                .arg(count.omittedErrors)
                                                .arg(count.omittedWarnings)
                                                .arg(PackageBounds::FindingsPerMember),
                                            true});
    }
}
