// Fuzz target: the members of an electronic package, checked as they come out of an archive.
// The input is the archive's name and the members REV5_T, REV5_IP, REV5_NA and REV5_SD, each
// ended by a NUL byte (more parts are members of other names), so that the mutations reach
// the lines and fields rather than the archive format.

#include "packages/packagecheck.h"
#include "tests/fuzz/fuzzclassifiers.h"

#include <QByteArray>
#include <QList>

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const PackageClassifiers classifiers = fuzzClassifiers();
    static const char *const names[] = {"REV5_T", "REV5_IP", "REV5_NA", "REV5_SD"};
    const QList<QByteArray> parts = QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)).split('\0');
    PackageCheck::Members members;
    for (qsizetype i = 1; i < parts.size(); ++i)
        members.emplace_back(i <= 4 ? QString::fromLatin1(names[i - 1]) : QStringLiteral("REV5_X%1").arg(i), parts[i]);
    const QString archiveName = QString::fromLatin1(parts.value(0));
    PackageCheck::checkMembers(archiveName, members);
    PackageCheck::checkMembers(archiveName, members, &classifiers);
    return 0;
}
