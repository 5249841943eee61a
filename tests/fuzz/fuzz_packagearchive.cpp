// Fuzz target: an electronic package archive received from someone else. The bytes are written
// to a file named like a package and checked as "--verifica" checks it, with and without the
// classifiers; whatever the bytes, the check ends with its findings.

#include "packages/packagecheck.h"
#include "tests/fuzz/fuzzclassifiers.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    // In memory when there is a folder for it: the target writes a file per input.
    static QTemporaryDir folder(QDir(QStringLiteral("/dev/shm")).exists() ? QStringLiteral("/dev/shm/evd-fuzz-XXXXXX")
                                                                          : QDir::tempPath() + "/evd-fuzz-XXXXXX");
    static const QString path = folder.filePath(QStringLiteral("REV5_1234567_00101_2012T00.RAR"));
    static const PackageClassifiers classifiers = fuzzClassifiers();
    {
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
            std::abort();
        f.write(reinterpret_cast<const char *>(data), qint64(size));
    }
    const PackageCheck::Result bare = PackageCheck::checkArchive(path);
    const PackageCheck::Result checked = PackageCheck::checkArchive(path, &classifiers);
    // An archive that cannot be read says why.
    if ((!bare.readable && bare.findings.empty()) || (!checked.readable && checked.findings.empty()))
        std::abort();
    return 0;
}
