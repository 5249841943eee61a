#include "packages/check/packagearchive.h"
#include "data/win1250.h"
#include "packages/check/packagebounds.h"
#include "tools/rar/rarformat.h"

#include <QFile>
#include <QFileInfo>

#include <archive.h>
#include <archive_entry.h>
#include <zlib.h>

#include <algorithm>
#include <climits>
#include <memory>

using namespace RarFormat;

namespace {

// File header flags beyond those our archiver writes.
const quint16 FileEncrypted = 0x0004, FileSolid = 0x0010, FileDictionary = 0x00E0, FileUnicodeName = 0x0200;
const quint16 MainFirstVolume = 0x0100;

// Kinds of file that a package may arrive in by mistake, by their first bytes.
struct Kind {
    QByteArray signature;
    int offset;
    const char *name; // for a compression or an encoding; null for another archive format
    enum { Archive, Compressed, Encoded, Program, Rar5 } what;
};

const std::vector<Kind> &kinds()
{
    static const std::vector<Kind> all = {
        {QByteArray(rar5Marker, sizeof rar5Marker), 0, nullptr, Kind::Rar5},
        {QByteArray("PK\x03\x04"), 0, nullptr, Kind::Archive},
        {QByteArray("PK\x05\x06"), 0, nullptr, Kind::Archive},
        {QByteArray("PK\x07\x08"), 0, nullptr, Kind::Archive},
        {QByteArray("7z\xBC\xAF\x27\x1C"), 0, nullptr, Kind::Archive},
        {QByteArray("MSCF\0\0\0\0", 8), 0, nullptr, Kind::Archive},
        {QByteArray("ustar"), 257, nullptr, Kind::Archive},
        {QByteArray("070701"), 0, nullptr, Kind::Archive},
        {QByteArray("070702"), 0, nullptr, Kind::Archive},
        {QByteArray("070707"), 0, nullptr, Kind::Archive},
        {QByteArray("\xC7\x71"), 0, nullptr, Kind::Archive},
        {QByteArray("\x71\xC7"), 0, nullptr, Kind::Archive},
        {QByteArray("-lh"), 2, nullptr, Kind::Archive},
        {QByteArray("!<arch>\n"), 0, nullptr, Kind::Archive},
        {QByteArray("xar!"), 0, nullptr, Kind::Archive},
        {QByteArray("CD001"), 0x8001, nullptr, Kind::Archive},
        {QByteArray("\x1F\x8B"), 0, "gzip", Kind::Compressed},
        {QByteArray("\x1F\x9D"), 0, "compress", Kind::Compressed},
        {QByteArray("BZh"), 0, "bzip2", Kind::Compressed},
        {QByteArray("\xFD"
                    "7zXZ\0",
                    6),
         0, "xz", Kind::Compressed},
        {QByteArray("\x5D\0\0", 3), 0, "lzma", Kind::Compressed},
        {QByteArray("LZIP"), 0, "lzip", Kind::Compressed},
        {QByteArray("\x28\xB5\x2F\xFD"), 0, "zstd", Kind::Compressed},
        {QByteArray("\x04\x22\x4D\x18"), 0, "lz4", Kind::Compressed},
        {QByteArray("\x02\x21\x4C\x18"), 0, "lz4", Kind::Compressed},
        {QByteArray("\x89LZO\0\r\n\x1A\n", 9), 0, "lzop", Kind::Compressed},
        {QByteArray("LRZI"), 0, "lrzip", Kind::Compressed},
        {QByteArray("GRZipII"), 0, "grzip", Kind::Compressed},
        {QByteArray("begin-base64 "), 0, "base64", Kind::Encoded},
        {QByteArray("begin "), 0, "uuencode", Kind::Encoded},
        {QByteArray("MZ"), 0, nullptr, Kind::Program},
        {QByteArray("\x7F"
                    "ELF"),
         0, nullptr, Kind::Program},
    };
    return all;
}

QString memberName(const QByteArray &raw, bool unicode)
{
    QByteArray name = raw;
    const int zero = name.indexOf('\0'); // a Unicode form of the name follows the plain one
    if (zero >= 0)
        name.truncate(zero);
    QString text = unicode && zero < 0 ? QString::fromUtf8(name) : Win1250::decode(name);
    return text.replace(u'\\', u'/');
}

QString sizeText(qint64 bytes)
{
    return QString::number(bytes);
}

} // namespace

PackageArchive::PackageArchive(const QString &path)
{
    const QFileInfo info(path);
    if (!info.exists()) {
        refuse(QStringLiteral("fișierul „%1” nu există").arg(path));
        return;
    }
    if (!info.isFile()) {
        refuse(QStringLiteral("„%1” nu este un fișier").arg(path));
        return;
    }
    if (info.size() > PackageBounds::ArchiveBytes) {
        refuse(QStringLiteral("arhiva are %1 octeți, mai mult decît poate avea un pachet electronic (cel mult %2)")
                   .arg(sizeText(info.size()), sizeText(PackageBounds::ArchiveBytes)));
        return;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        refuse(QStringLiteral("fișierul nu poate fi deschis (%1)").arg(file.errorString()));
        return;
    }
    QByteArray start = file.read(0x8001 + 5);
    file.close();
    if (!recognise(start))
        return;
    if (walk(path, info.size()))
        readMembers(path);
}

bool PackageArchive::refuse(const QString &why)
{
    m_readable = false;
    m_why = why;
    m_members.clear();
    m_unread.clear();
    return false;
}

bool PackageArchive::recognise(const QByteArray &start)
{
    if (start.startsWith(QByteArray(marker, markerSize))) {
        m_rar = true;
        return true;
    }
    if (start.isEmpty())
        return refuse(QStringLiteral("fișierul este gol"));
    for (const Kind &k : kinds()) {
        if (start.mid(k.offset, k.signature.size()) != k.signature)
            continue;
        QString what;
        switch (k.what) {
        case Kind::Rar5:
            what = QStringLiteral("arhiva este în formatul RAR 5; un pachet electronic este o arhivă RAR 4, cum o "
                                  "formează programul");
            break;
        case Kind::Archive:
            what = QStringLiteral("arhiva nu este în formatul RAR");
            break;
        case Kind::Compressed:
            what = QStringLiteral("fișierul este comprimat cu %1, nu este o arhivă RAR; se trimite arhiva RAR "
                                  "însăși, fără altă comprimare")
                       .arg(QLatin1String(k.name));
            break;
        case Kind::Encoded:
            what = QStringLiteral("fișierul este codat cu %1, nu este o arhivă RAR; se trimite arhiva RAR însăși, "
                                  "necodată")
                       .arg(QLatin1String(k.name));
            break;
        case Kind::Program:
            what = QStringLiteral("fișierul este un program (poate o arhivă care se despachetează singură), nu o "
                                  "arhivă RAR");
            break;
        }
        m_findings.emplace_back(PackageMember::Archive, what);
        return false;
    }
    return refuse(QStringLiteral("fișierul nu poate fi citit ca arhivă (nu începe cu semnătura unei arhive RAR)"));
}

// The blocks of the archive, headers checked against their checksums, without their data.
bool PackageArchive::walk(const QString &path, qint64 fileSize)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return refuse(QStringLiteral("fișierul nu poate fi deschis (%1)").arg(file.errorString()));
    auto damaged = [&](const QString &why) { return refuse(QStringLiteral("arhiva este deteriorată: ") + why); };
    qint64 at = markerSize;
    bool first = true;
    while (at < fileSize) {
        if (!file.seek(at))
            return damaged(file.errorString());
        const QByteArray base = file.read(baseHeaderSize);
        if (base.size() < baseHeaderSize)
            return damaged(QStringLiteral("se încheie în mijlocul unui antet"));
        const quint8 type = quint8(base[2]);
        const quint16 flags = u16(base, 3);
        const int size = u16(base, 5);
        if (size < baseHeaderSize)
            return damaged(QStringLiteral("antetul de la octetul %1 are o mărime imposibilă").arg(at));
        const QByteArray header = base + file.read(size - baseHeaderSize);
        if (header.size() < size)
            return damaged(QStringLiteral("se încheie în mijlocul unui antet"));
        if (quint16(crc32(0, reinterpret_cast<const Bytef *>(header.constData()) + 2, uInt(size - 2)) & 0xFFFF)
            != u16(header, 0))
            return damaged(QStringLiteral("antetul de la octetul %1 nu corespunde sumei sale de control").arg(at));
        if (first && type != MainHeader)
            return damaged(QStringLiteral("lipsește antetul arhivei"));
        first = false;

        qint64 data = 0;
        if (type == MainHeader) {
            if (flags & (MainVolume | MainFirstVolume))
                m_findings.emplace_back(PackageMember::Archive,
                                        QStringLiteral("arhiva este un volum al unei arhive în mai multe părți; "
                                                       "pachetul electronic este o singură arhivă"));
            if (flags & MainLocked)
                m_findings.emplace_back(PackageMember::Archive,
                                        QStringLiteral("arhiva este blocată (locked); pachetul electronic este o "
                                                       "arhivă RAR obișnuită"));
            if (flags & MainSolid)
                m_findings.emplace_back(PackageMember::Archive,
                                        QStringLiteral("arhiva este solidă (solid); pachetul electronic este o "
                                                       "arhivă RAR obișnuită"));
            if (flags & MainVolume)
                m_readData = false;
            if (flags & MainEncryptedHeaders) {
                m_findings.emplace_back(PackageMember::Archive,
                                        QStringLiteral("arhiva este protejată cu parolă și antetele ei sînt criptate; "
                                                       "membrii ei nu pot fi citiți"));
                m_readData = false;
                for (int m = int(PackageMember::T); m < PackageMembers::Count; ++m)
                    m_unread.insert(PackageMembers::name(PackageMember(m)));
                return true;
            }
        } else if (type == FileHeader) {
            const int nameAt = fileHeaderFixedSize + ((flags & FileLarge) ? 8 : 0);
            if (size < nameAt || nameAt + u16(header, 26) > size)
                return damaged(QStringLiteral("antetul de la octetul %1 este incomplet").arg(at));
            Entry e;
            e.flags = flags;
            e.packedSize = u32(header, 7);
            e.size = u32(header, 11);
            if (flags & FileLarge) {
                e.packedSize += quint64(u32(header, 32)) << 32;
                e.size += quint64(u32(header, 36)) << 32;
            }
            e.crc = u32(header, 16);
            e.directory = (flags & FileDictionary) == FileDictionary;
            e.name = memberName(header.mid(nameAt, u16(header, 26)), flags & FileUnicodeName);
            if (e.directory)
                e.name += u'/';
            data = qint64(e.packedSize);
            if (m_entries.size() == size_t(PackageBounds::Members))
                return refuse(QStringLiteral("arhiva are mai mult de %1 de membri, mai mulți decît poate avea un "
                                             "pachet electronic")
                                  .arg(PackageBounds::Members));
            m_entries.push_back(e);
        } else if (type == EndOfArchive) {
            break;
        } else if (flags & LongBlock) {
            data = u32(header, 7);
        }
        if (data < 0 || at + size + data > fileSize)
            return damaged(QStringLiteral("se încheie în mijlocul unui membru"));
        at += size + data;
    }

    // What the file headers say of the members.
    QSet<QString> seen;
    for (const Entry &e : m_entries) {
        const qint64 bound = PackageBounds::memberBytes(e.name);
        if (!bound || e.directory || seen.contains(e.name))
            continue;
        seen.insert(e.name);
        if (e.size > quint64(bound))
            return refuse(
                QStringLiteral("membrul %1 are %2 octeți, mai mult decît poate avea un fișier al pachetului "
                               "electronic (cel mult %3)")
                    .arg(e.name, sizeText(qint64(std::min<quint64>(e.size, quint64(LLONG_MAX)))), sizeText(bound)));
        const PackageMember m = PackageMember(PackageMembers::order(e.name));
        if (e.flags & (FileSplitBefore | FileSplitAfter)) {
            m_findings.emplace_back(m, QStringLiteral(
                                           "membrul continuă în alt volum al arhivei și nu poate fi citit din ea"));
            m_readData = false;
        }
        if (e.flags & FileEncrypted)
            m_findings.emplace_back(m, QStringLiteral("membrul este protejat cu parolă și nu poate fi citit"));
        if ((e.flags & FileSolid) && !(e.flags & FileEncrypted)) {
            m_findings.emplace_back(m, QStringLiteral("membrul este comprimat solid, împreună cu cei dinaintea lui; "
                                                      "pachetul electronic este o arhivă RAR obișnuită"));
            m_readData = false; // a member that needs those before it: none is read alone
        }
    }
    return true;
}

// The data of the package's members through libarchive, with its RAR reader alone.
bool PackageArchive::readMembers(const QString &path)
{
    QSet<QString> taken;
    auto wanted = [&](const Entry &e) {
        return !e.directory && PackageBounds::memberBytes(e.name) && !taken.contains(e.name);
    };
    if (!m_readData) {
        for (const Entry &e : m_entries) {
            if (wanted(e)) {
                taken.insert(e.name);
                m_unread.insert(e.name);
            }
            m_members.emplace_back(e.name, QByteArray());
        }
        return true;
    }

    const std::unique_ptr<struct archive, int (*)(struct archive *)> a(archive_read_new(), archive_read_free);
    archive_read_support_format_rar(a.get());
    auto reason = [&] {
        const char *s = archive_error_string(a.get());
        return s ? QString::fromLocal8Bit(s) : QStringLiteral("eroare necunoscută");
    };
    if (archive_read_open_filename(a.get(), QFile::encodeName(path).constData(), 1 << 16) != ARCHIVE_OK)
        return refuse(QStringLiteral("arhiva nu poate fi citită (%1)").arg(reason()));
    for (const Entry &e : m_entries) {
        struct archive_entry *entry = nullptr;
        const int r = archive_read_next_header(a.get(), &entry);
        if (r == ARCHIVE_EOF)
            return refuse(QStringLiteral("arhiva este deteriorată: membrul %1 nu poate fi găsit").arg(e.name));
        if (r < ARCHIVE_WARN)
            return refuse(QStringLiteral("arhiva este deteriorată (%1)").arg(reason()));
        if (!wanted(e) || (e.flags & FileEncrypted)) {
            if (wanted(e))
                m_unread.insert(e.name); // named by the walk
            taken.insert(e.name);
            m_members.emplace_back(e.name, QByteArray());
            if (archive_read_data_skip(a.get()) < ARCHIVE_WARN)
                return refuse(QStringLiteral("arhiva este deteriorată (%1)").arg(reason()));
            continue;
        }
        taken.insert(e.name);
        const qint64 bound = PackageBounds::memberBytes(e.name);
        QByteArray bytes;
        bytes.reserve(qsizetype(e.size));
        uLong crc = crc32(0, nullptr, 0);
        char buffer[1 << 16];
        for (;;) {
            const la_ssize_t n = archive_read_data(a.get(), buffer, sizeof buffer);
            if (n == 0)
                break;
            if (n < 0)
                return refuse(
                    QStringLiteral("membrul %1 nu poate fi citit; arhiva este deteriorată (%2)").arg(e.name, reason()));
            if (bytes.size() + n > bound)
                return refuse(QStringLiteral("membrul %1 are mai mult decît poate avea un fișier al pachetului "
                                             "electronic (cel mult %2 octeți)")
                                  .arg(e.name, sizeText(bound)));
            crc = crc32(crc, reinterpret_cast<const Bytef *>(buffer), uInt(n));
            bytes.append(buffer, qsizetype(n));
        }
        if (quint32(crc) != e.crc || quint64(bytes.size()) != e.size)
            m_findings.emplace_back(PackageMember(PackageMembers::order(e.name)),
                                    QStringLiteral("conținutul membrului nu corespunde sumei de control (CRC) din "
                                                   "arhivă: membrul este deteriorat"));
        m_members.emplace_back(e.name, std::move(bytes));
    }
    return true;
}
