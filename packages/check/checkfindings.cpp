#include "packages/check/checkfindings.h"

void CheckFindings::store(PackageMember member, int line, int field, PackageFinding::Severity severity, QString message)
{
    m_result.findings.push_back(
        PackageFinding{PackageMembers::name(member), line, field, severity, std::move(message)});
}
