#pragma once
// An electronic package is read back the way the receiving side reads it, so that whatever it
// would reject is listed before the archive leaves the office: its members, the form of every
// line and field, the totals, and the codes and rates against the classifiers when a database
// is open. The rules are in packages/check/, a file per family: packagestructure (members,
// lines, separator, line ends, field counts), fieldformats, packagesums (sums and the totals
// across the members) and classifierchecks.

#include "packages/packageclassifiers.h"

#include <QByteArray>
#include <QString>
#include <utility>
#include <vector>

// One thing wrong with a package: where it is and what it is. Line and field count from 1;
// 0 means the whole member (or line); an empty member means the archive itself.
struct PackageFinding {
    enum Severity { Error, Warning };

    QString member;
    int line = 0;
    int field = 0;
    Severity severity = Error;
    QString message;
    // A note that stands for the findings of its member left out of the list (there is a
    // bound on how many are listed); its severity is that of the worst of them.
    bool note = false;

    // "REV5_NA, rîndul 12, cîmpul 8: codul personal trebuie să aibă 13 cifre"
    QString text() const;
    // Members in the order of the package (archive, REV5_T, REV5_IP, REV5_NA, REV5_SD), then
    // line, field, errors before warnings, message.
    bool operator<(const PackageFinding &other) const;
};

class PackageCheck
{
public:
    struct Result {
        // Sorted; a member's note on the findings left out comes last among its own.
        std::vector<PackageFinding> findings;
        bool readable = true; // false: the archive could not be read at all
        // The findings counted but not listed.
        int omittedErrors = 0, omittedWarnings = 0;
        // Every error and warning found, listed or not.
        int errors() const;
        int warnings() const;
        // Warnings alone leave a package clean.
        bool clean() const { return readable && errors() == 0; }
    };
    using Members = std::vector<std::pair<QString, QByteArray>>;

    // Reads the archive at `path` and checks it. `classifiers` may be null (no database):
    // the checks of codes and rates are then skipped. Only a plain RAR archive is read, no
    // larger than a package can be (packages/check/packagebounds.h); a file of another kind
    // gets one finding that names its kind.
    static Result checkArchive(const QString &path, const PackageClassifiers *classifiers = nullptr);

    // Checks members already read; `archiveName` is the file name the year, period, form type
    // and agent are taken from. A member larger than a package's is not read (unreadable).
    static Result checkMembers(const QString &archiveName, const Members &members,
                               const PackageClassifiers *classifiers = nullptr);

    // Reads the members of an archive as checkArchive() does: the bytes of the package's
    // members, the names of the others with no bytes. False, with the reason in `error`, when
    // the file is no RAR archive or cannot be read.
    static bool readArchive(const QString &path, Members *members, QString *error, bool *isRar = nullptr);
};
