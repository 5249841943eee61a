#include "packages/check/packagemember.h"

namespace PackageMembers {

const QString &name(PackageMember member)
{
    static const QString names[Count] = {QString(), QStringLiteral("REV5_T"), QStringLiteral("REV5_IP"),
                                         QStringLiteral("REV5_NA"), QStringLiteral("REV5_SD")};
    return names[int(member)];
}

int order(const QString &member)
{
    for (int i = 0; i < Count; ++i)
        if (member == name(PackageMember(i)))
            return i;
    return Count;
}

} // namespace PackageMembers
