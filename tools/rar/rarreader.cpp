#include "rarreader.h"

#include "crc32.h"
#include "rarerror.h"
#include "rarformat.h"

#include <QIODevice>

using namespace RarFormat;

namespace {

QByteArray readExactly(QIODevice &in, qint64 size, const QString &archive)
{
    const QByteArray bytes = in.read(size);
    if (bytes.size() != size)
        throw RarError(RarError::Fatal, QStringLiteral("%1: the archive is truncated").arg(archive));
    return bytes;
}

// Reads the rest of a block whose first seven bytes are `base` and checks its HEAD_CRC.
QByteArray readCheckedHeader(QIODevice &in, const QByteArray &base, const QString &archive)
{
    const int size = u16(base, 5);
    if (size < baseHeaderSize)
        throw RarError(RarError::Fatal, QStringLiteral("%1: a block header is damaged").arg(archive));
    const QByteArray header = base + readExactly(in, size - baseHeaderSize, archive);
    if (quint16(Crc32::of(header.mid(2)) & 0xFFFF) != u16(header, 0))
        throw RarError(RarError::Fatal, QStringLiteral("%1: a block header fails its CRC check").arg(archive));
    return header;
}

} // namespace

QList<RarMember> RarReader::readMembers(QIODevice &in, const QString &archive)
{
    in.seek(0);
    const QByteArray start = in.read(8);
    if (start.startsWith(QByteArray(rar5Marker, sizeof rar5Marker)))
        throw RarError(RarError::Fatal, QStringLiteral("%1: RAR 5 archives are not supported").arg(archive));
    if (!start.startsWith(QByteArray(marker, markerSize)))
        throw RarError(RarError::Fatal, QStringLiteral("%1: not a RAR archive").arg(archive));
    in.seek(markerSize);

    const QByteArray mainBase = readExactly(in, baseHeaderSize, archive);
    if (quint8(mainBase[2]) != MainHeader)
        throw RarError(RarError::Fatal, QStringLiteral("%1: the archive header is missing").arg(archive));
    readCheckedHeader(in, mainBase, archive);
    const quint16 mainFlags = u16(mainBase, 3);
    if (mainFlags & (MainVolume | MainSolid | MainEncryptedHeaders | MainLocked))
        throw RarError(RarError::Fatal,
                       QStringLiteral("%1: volumes, solid, locked and header-encrypted archives cannot be updated")
                           .arg(archive));

    QList<RarMember> members;
    const qint64 fileSize = in.size();
    while (in.pos() < fileSize) {
        const qint64 blockStart = in.pos();
        const QByteArray base = readExactly(in, baseHeaderSize, archive);
        const quint8 type = quint8(base[2]);
        const quint16 flags = u16(base, 3);
        if (type == EndOfArchive)
            break;

        if (type != FileHeader) {
            // Comments, recovery records and other service blocks are not carried over.
            qint64 size = u16(base, 5);
            if (flags & LongBlock)
                size += u32(readExactly(in, 4, archive), 0);
            if (size < baseHeaderSize || blockStart + size > fileSize)
                throw RarError(RarError::Fatal, QStringLiteral("%1: a block is damaged").arg(archive));
            in.seek(blockStart + size);
            continue;
        }

        RarMember member;
        member.header = readCheckedHeader(in, base, archive);
        const QByteArray &h = member.header;
        const int nameOffset = fileHeaderFixedSize + ((flags & FileLarge) ? 8 : 0);
        if (h.size() < nameOffset)
            throw RarError(RarError::Fatal, QStringLiteral("%1: a file header is damaged").arg(archive));
        if (flags & (FileSplitBefore | FileSplitAfter))
            throw RarError(RarError::Fatal, QStringLiteral("%1: members split across volumes cannot be updated").arg(archive));
        const int nameSize = u16(h, 26);
        if (nameOffset + nameSize > h.size())
            throw RarError(RarError::Fatal, QStringLiteral("%1: a file header is damaged").arg(archive));
        member.name = h.mid(nameOffset, nameSize);
        const int zero = member.name.indexOf('\0');  // a Unicode name follows the plain one
        if (zero >= 0)
            member.name.truncate(zero);
        member.dataSize = u32(h, 7);
        if (flags & FileLarge)
            member.dataSize += qint64(u32(h, 32)) << 32;
        member.dataOffset = in.pos();
        if (member.dataOffset + member.dataSize > fileSize)
            throw RarError(RarError::Fatal, QStringLiteral("%1: the archive is truncated").arg(archive));
        in.seek(member.dataOffset + member.dataSize);
        members.append(member);
    }
    return members;
}
