#pragma once
// An electronic package archive taken the way the receiving side takes it: a plain RAR archive
// in the RAR 4 format (as our archiver writes it), no larger than a package can be, neither a
// volume nor locked, solid or protected by a password, the bytes of each member matching the
// checksum stored for them. A file in another archive or compression format is named as such
// and not opened: only the RAR reader of libarchive is enabled, with no filter, so that no
// program is ever started for it. Only the package's members are read, each within its bound;
// other members are listed by name and skipped.

#include "packages/check/packagemember.h"
#include "packages/packagecheck.h"

#include <QSet>
#include <QString>

#include <utility>
#include <vector>

class PackageArchive
{
public:
    explicit PackageArchive(const QString &path);

    // False when the file cannot be read as an archive at all (missing, damaged, too large,
    // of no kind known); why() then says why.
    bool readable() const { return m_readable; }
    const QString &why() const { return m_why; }
    // The file is a RAR 4 archive; when false (and readable) it is of another kind that
    // findings() names, and there are no members.
    bool isRar() const { return m_rar; }

    // What is wrong with the archive as an archive: its kind, flags, checksums.
    const std::vector<std::pair<PackageMember, QString>> &findings() const { return m_findings; }
    // The members in the archive's order: the bytes of each member of the package; other
    // names, and a member given again, without their bytes.
    const PackageCheck::Members &members() const { return m_members; }
    // Members of the package that are there but could not be read (a password, another volume).
    const QSet<QString> &unread() const { return m_unread; }

private:
    // A file header of the archive.
    struct Entry {
        QString name;
        quint64 packedSize = 0, size = 0;
        quint32 crc = 0;
        quint16 flags = 0;
        bool directory = false;
    };

    bool refuse(const QString &why);
    bool recognise(const QByteArray &start);
    bool walk(const QString &path, qint64 fileSize);
    bool readMembers(const QString &path);

    bool m_readable = true;
    bool m_rar = false;
    QString m_why;
    std::vector<std::pair<PackageMember, QString>> m_findings;
    std::vector<Entry> m_entries;
    bool m_readData = true; // false when the members cannot be read one by one (volumes, encrypted headers)
    PackageCheck::Members m_members;
    QSet<QString> m_unread;
};
