#include "packages/packagecheck.h"
#include "packages/check/checkfindings.h"
#include "packages/check/classifierchecks.h"
#include "packages/check/fieldformats.h"
#include "packages/check/packagename.h"
#include "packages/check/packagestructure.h"
#include "packages/check/packagesums.h"

#include <QFile>
#include <QFileInfo>

#include <archive.h>
#include <archive_entry.h>

#include <algorithm>

namespace {

// A member larger than this is no package file; it is not read into memory.
const qint64 LargestMember = qint64(512) * 1024 * 1024;

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
    return int(std::count_if(findings.begin(), findings.end(),
                             [](const PackageFinding &f) { return f.severity == PackageFinding::Error; }));
}

int PackageCheck::Result::warnings() const
{
    return int(findings.size()) - errors();
}

bool PackageCheck::readArchive(const QString &path, Members *members, QString *error, bool *isRar)
{
    struct archive *a = archive_read_new();
    // RAR (both generations), and the archive kinds a package might arrive in by mistake, so
    // that those are named as foreign. Not libarchive's readers of plain text (mtree, raw).
    archive_read_support_filter_all(a);
    archive_read_support_format_rar(a);
    archive_read_support_format_rar5(a);
    archive_read_support_format_zip(a);
    archive_read_support_format_7zip(a);
    archive_read_support_format_tar(a);
    archive_read_support_format_cpio(a);
    archive_read_support_format_cab(a);
    archive_read_support_format_lha(a);
    archive_read_support_format_iso9660(a);
    auto fail = [&](const QString &why) {
        *error = why;
        archive_read_free(a);
        return false;
    };
    auto reason = [&] {
        const char *s = archive_error_string(a);
        return s ? QString::fromLocal8Bit(s) : QStringLiteral("eroare necunoscută");
    };
    if (isRar)
        *isRar = false;
    if (!QFileInfo(path).isFile())
        return fail(QStringLiteral("fișierul „%1” nu există").arg(path));
    if (archive_read_open_filename(a, QFile::encodeName(path).constData(), 1 << 16) != ARCHIVE_OK)
        return fail(QStringLiteral("fișierul nu poate fi citit ca arhivă (%1)").arg(reason()));
    struct archive_entry *entry = nullptr;
    for (;;) {
        const int r = archive_read_next_header(a, &entry);
        if (r == ARCHIVE_EOF)
            break;
        if (r < ARCHIVE_WARN)
            return fail(QStringLiteral("arhiva este deteriorată (%1)").arg(reason()));
        if (isRar)
            *isRar = (archive_format(a) & ARCHIVE_FORMAT_BASE_MASK) == ARCHIVE_FORMAT_RAR
                     || archive_format(a) == ARCHIVE_FORMAT_RAR_V5;
        const char *name = archive_entry_pathname(entry);
        QString memberName = name ? QString::fromLocal8Bit(name) : QString();
        if (archive_entry_filetype(entry) == AE_IFDIR)
            memberName += u'/';
        const la_int64_t size = archive_entry_size_is_set(entry) ? archive_entry_size(entry) : 0;
        if (size > LargestMember)
            return fail(QStringLiteral("membrul „%1” are %2 octeți, prea mulți pentru un fișier al pachetului")
                            .arg(memberName)
                            .arg(size));
        QByteArray bytes;
        bytes.reserve(qsizetype(size));
        char buffer[1 << 16];
        for (;;) {
            const la_ssize_t n = archive_read_data(a, buffer, sizeof buffer);
            if (n == 0)
                break;
            if (n < 0)
                return fail(QStringLiteral("membrul „%1” nu poate fi citit; arhiva este deteriorată (%2)")
                                .arg(memberName, reason()));
            if (bytes.size() + n > LargestMember)
                return fail(
                    QStringLiteral("membrul „%1” este prea mare pentru un fișier al pachetului").arg(memberName));
            bytes.append(buffer, qsizetype(n));
        }
        members->emplace_back(memberName, std::move(bytes));
    }
    archive_read_free(a);
    return true;
}

PackageCheck::Result PackageCheck::checkMembers(const QString &archiveName, const Members &members,
                                                const PackageClassifiers *classifiers)
{
    Result result;
    CheckFindings findings(result);
    const PackageName name(archiveName, findings);
    PackageStructure structure(findings);
    FieldFormats formats(findings, name);
    PackageSums sums(findings, structure);
    ClassifierChecks codes(findings, name, classifiers);
    structure.run(members, {&formats, &sums, &codes});
    std::stable_sort(result.findings.begin(), result.findings.end());
    return result;
}

PackageCheck::Result PackageCheck::checkArchive(const QString &path, const PackageClassifiers *classifiers)
{
    Members members;
    QString error;
    bool rar = false;
    if (!readArchive(path, &members, &error, &rar)) {
        Result result;
        result.readable = false;
        result.findings.push_back(PackageFinding{QString(), 0, 0, PackageFinding::Error, error});
        return result;
    }
    Result result = checkMembers(QFileInfo(path).fileName(), members, classifiers);
    if (!rar && !members.empty()) {
        result.findings.push_back(
            PackageFinding{QString(), 0, 0, PackageFinding::Error, QStringLiteral("arhiva nu este în formatul RAR")});
        std::stable_sort(result.findings.begin(), result.findings.end());
    }
    return result;
}
