#pragma once
// How large an electronic package can be, so that reading one takes bounded time and memory
// whatever the file holds. The sizes are those of the largest package the program forms, with
// a margin: a whole year of 50 000 declarations (ten times the agent of the benchmarks, and
// several times the staff of the largest employers), each with two rows in every month (pay
// and a benefit apart) and its total line, at the widest the writer makes the lines (ten-digit
// identifiers, six-digit function codes, amounts up to 9 999 999 999.99: 128 bytes a line of
// REV5_SD, 300 bytes a line of REV5_NA):
//   REV5_SD  50 000 x 25 x 128 bytes = 160 MB            -> 192 MiB
//   REV5_NA  50 000 x 300 bytes      = 15 MB             -> 32 MiB
//   REV5_IP  a line per package, at worst one a declaration: 50 000 x 90 bytes -> 8 MiB
//   REV5_T   one line of at most 512 bytes               -> 64 KiB
// The archive can be no larger than its members and their headers, and holds four members
// (a thousand, counting what may have been packed with them by mistake). Beyond these, a
// package has at most 100 000 declarations and packages, and a declaration at most 500
// monthly rows.

#include <QString>
#include <QtGlobal>

namespace PackageBounds {

inline constexpr qint64 KiB = 1024, MiB = 1024 * KiB;
inline constexpr qint64 SdBytes = 192 * MiB;
inline constexpr qint64 NaBytes = 32 * MiB;
inline constexpr qint64 IpBytes = 8 * MiB;
inline constexpr qint64 TBytes = 64 * KiB;
inline constexpr qint64 ArchiveBytes = SdBytes + NaBytes + IpBytes + TBytes + MiB;

inline constexpr int Members = 1000;
inline constexpr int Declarations = 100000;
inline constexpr int Packages = 100000;
inline constexpr int RowsPerDeclaration = 500;

// Findings listed for one member (or the archive); the rest are counted.
inline constexpr int FindingsPerMember = 1000;

// The bound of a member of the package by its name; 0 for any other name.
inline qint64 memberBytes(const QString &name)
{
    return name == QLatin1String("REV5_SD")   ? SdBytes
           : name == QLatin1String("REV5_NA") ? NaBytes
           : name == QLatin1String("REV5_IP") ? IpBytes
           : name == QLatin1String("REV5_T")  ? TBytes
                                              : 0;
}

} // namespace PackageBounds
