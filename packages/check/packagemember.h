#pragma once
// The members of an electronic package in the order the package lists them, the archive itself
// first: the findings sort by it, and each rule names its member without spelling it out.

#include <QString>

enum class PackageMember { Archive, T, Ip, Na, Sd };

namespace PackageMembers {

inline constexpr int Count = 5;

// "REV5_T", "REV5_IP", "REV5_NA", "REV5_SD"; empty for the archive.
const QString &name(PackageMember member);
// The position of a member named in a finding: the archive, REV5_T, REV5_IP, REV5_NA,
// REV5_SD, then any other name.
int order(const QString &member);

} // namespace PackageMembers
