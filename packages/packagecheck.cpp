#include "packages/packagecheck.h"
#include "data/ee.h"
#include "packages/check/checkfindings.h"
#include "packages/check/classifierchecks.h"
#include "packages/check/fieldformats.h"
#include "packages/check/packagearchive.h"
#include "packages/check/packagebounds.h"
#include "packages/check/packagename.h"
#include "packages/check/packagestructure.h"
#include "packages/check/packagesums.h"

#include <QFileInfo>

#include <algorithm>

namespace {

PackageCheck::Result unreadable(const QString &why)
{
    PackageCheck::Result result;
    result.readable = false;
    result.findings.push_back(PackageFinding{QString(), 0, 0, PackageFinding::Error, why});
    return result;
}

// Every rule family over the members; an EE when the package is too large to be read.
void checkAll(CheckFindings &findings, const QString &archiveName, const PackageCheck::Members &members,
              const QSet<QString> &unread, const PackageClassifiers *classifiers)
{
    const PackageName name(archiveName, findings);
    PackageStructure structure(findings);
    FieldFormats formats(findings, name);
    PackageSums sums(findings, structure);
    ClassifierChecks codes(findings, name, classifiers);
    structure.run(members, unread, {&formats, &sums, &codes});
}

} // namespace

QString PackageFinding::text() const
{
    QString where = member.isEmpty() ? QStringLiteral("Arhiva") : member;
    if (line > 0)
        where += QStringLiteral(", rîndul %1").arg(line);
    if (field > 0)
        where += QStringLiteral(", cîmpul %1").arg(field);
    return where + QStringLiteral(": ") + message;
}

bool PackageFinding::operator<(const PackageFinding &o) const
{
    const int a = PackageMembers::order(member), b = PackageMembers::order(o.member);
    if (a != b)
        return a < b;
    if (member != o.member)
        return member < o.member;
    if (line != o.line)
        return line < o.line;
    if (field != o.field)
        return field < o.field;
    if (severity != o.severity)
        return severity < o.severity;
    return message < o.message;
}

int PackageCheck::Result::errors() const
{
    return omittedErrors + int(std::count_if(findings.begin(), findings.end(), [](const PackageFinding &f) {
               return !f.note && f.severity == PackageFinding::Error;
           }));
}

int PackageCheck::Result::warnings() const
{
    return omittedWarnings + int(std::count_if(findings.begin(), findings.end(), [](const PackageFinding &f) {
               return !f.note && f.severity == PackageFinding::Warning;
           }));
}

bool PackageCheck::readArchive(const QString &path, Members *members, QString *error, bool *isRar)
{
    const PackageArchive archive(path);
    if (isRar)
        *isRar = archive.isRar();
    if (!archive.readable() || !archive.isRar()) {
        *error = archive.readable() ? archive.findings().front().second : archive.why();
        return false;
    }
    *members = archive.members();
    return true;
}

PackageCheck::Result PackageCheck::checkMembers(const QString &archiveName, const Members &members,
                                                const PackageClassifiers *classifiers)
{
    for (const auto &[name, bytes] : members)
        if (const qint64 bound = PackageBounds::memberBytes(name); bound && bytes.size() > bound)
            return unreadable(QStringLiteral("membrul %1 are %2 octeți, mai mult decît poate avea un fișier al "
                                             "pachetului electronic (cel mult %3)")
                                  .arg(name)
                                  .arg(bytes.size())
                                  .arg(bound));
    Result result;
    CheckFindings findings(result);
    try {
        checkAll(findings, archiveName, members, {}, classifiers);
    } catch (const EE &e) {
        return unreadable(e.message());
    }
    findings.finish();
    return result;
}

PackageCheck::Result PackageCheck::checkArchive(const QString &path, const PackageClassifiers *classifiers)
{
    const PackageArchive archive(path);
    if (!archive.readable())
        return unreadable(archive.why());
    Result result;
    CheckFindings findings(result);
    for (const auto &[member, message] : archive.findings())
        findings.add(member, 0, 0, message);
    const QString name = QFileInfo(path).fileName();
    try {
        if (archive.isRar())
            checkAll(findings, name, archive.members(), archive.unread(), classifiers);
        else
            PackageName(name, findings); // another kind of file: nothing in it is read
    } catch (const EE &e) {
        return unreadable(e.message());
    }
    findings.finish();
    return result;
}
