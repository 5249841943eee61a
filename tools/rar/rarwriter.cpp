#include "rarwriter.h"

#include "crc32.h"
#include "rarerror.h"
#include "rarformat.h"
#include "rarmember.h"
#include "rarreader.h"
#include "windows1250.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

using namespace RarFormat;

namespace {

constexpr qint64 chunkSize = 1 << 20;
constexpr qint64 maxMemberSize = 0xFFFFFFFFll;

QByteArray withHeadCrc(const QByteArray &body)
{
    QByteArray block;
    put16(block, quint16(Crc32::of(body) & 0xFFFF));
    return block + body;
}

// MS-DOS date and time (local time, two-second steps), clamped to the years DOS can hold.
quint32 dosDateTime(const QDateTime &stamp)
{
    QDateTime local = stamp.toLocalTime();
    if (!local.isValid() || local.date().year() < 1980)
        local = QDateTime(QDate(1980, 1, 1), QTime(0, 0));
    if (local.date().year() > 2107)
        local = QDateTime(QDate(2107, 12, 31), QTime(23, 59, 58));
    const QDate d = local.date();
    const QTime t = local.time();
    const quint32 date = quint32(d.year() - 1980) << 9 | quint32(d.month()) << 5 | quint32(d.day());
    const quint32 time = quint32(t.hour()) << 11 | quint32(t.minute()) << 5 | quint32(t.second() / 2);
    return date << 16 | time;
}

bool sameName(const QByteArray &a, const QByteArray &b)
{
    return Windows1250::decode(a).compare(Windows1250::decode(b), Qt::CaseInsensitive) == 0;
}

} // namespace

RarWriter::RarWriter(const QString &archivePath)
    : m_archivePath(archivePath)
{
}

QByteArray RarWriter::mainHeader()
{
    QByteArray body;
    body.append(char(MainHeader));
    put16(body, 0);                // HEAD_FLAGS
    put16(body, mainHeaderSize);   // HEAD_SIZE
    put16(body, 0);                // RESERVED1
    put32(body, 0);                // RESERVED2
    return withHeadCrc(body);
}

QByteArray RarWriter::endOfArchive()
{
    QByteArray body;
    body.append(char(EndOfArchive));
    put16(body, SkipIfUnknown);
    put16(body, baseHeaderSize);
    return withHeadCrc(body);
}

QByteArray RarWriter::fileHeader(const QByteArray &name, quint32 size, quint32 dataCrc,
                                 quint32 dosTime, quint32 attributes)
{
    QByteArray body;
    body.append(char(FileHeader));
    put16(body, LongBlock);
    put16(body, quint16(fileHeaderFixedSize + name.size()));
    put32(body, size);             // PACK_SIZE: stored, so equal to UNP_SIZE
    put32(body, size);             // UNP_SIZE
    body.append(char(hostWin32));
    put32(body, dataCrc);
    put32(body, dosTime);
    body.append(char(versionToExtract));
    body.append(char(methodStore));
    put16(body, quint16(name.size()));
    put32(body, attributes);
    body.append(name);
    return withHeadCrc(body);
}

RarWriter::NewFile *RarWriter::findNew(const QByteArray &name)
{
    for (NewFile &file : m_files)
        if (sameName(file.name, name))
            return &file;
    return nullptr;
}

void RarWriter::addFile(const QString &sourcePath)
{
    const QFileInfo info(sourcePath);
    if (!info.exists())
        throw RarError(RarError::OpenError, QStringLiteral("cannot open %1: no such file").arg(sourcePath));
    if (!info.isFile())
        throw RarError(RarError::OpenError, QStringLiteral("cannot add %1: not a file").arg(sourcePath));

    const QString bare = info.fileName();
    const std::optional<QByteArray> name = Windows1250::encode(bare);
    if (!name)
        throw RarError(RarError::UserError,
                       QStringLiteral("cannot store the name %1: it has characters outside Windows-1250").arg(bare));
    for (const char c : *name)
        if (quint8(c) < 0x20 || QByteArrayView("\\/:*?\"<>|").contains(c))
            throw RarError(RarError::UserError,
                           QStringLiteral("cannot store the name %1: it has characters Windows does not allow").arg(bare));

    if (NewFile *earlier = findNew(*name))
        *earlier = NewFile{sourcePath, *name};
    else
        m_files.append(NewFile{sourcePath, *name});
}

void RarWriter::write(QSaveFile &out, const QByteArray &bytes) const
{
    if (out.write(bytes) != bytes.size())
        throw RarError(RarError::CreateError,
                       QStringLiteral("cannot write %1: %2").arg(m_archivePath, out.errorString()));
}

void RarWriter::copyMember(QSaveFile &out, QFile &archive, const RarMember &member) const
{
    write(out, member.header);
    archive.seek(member.dataOffset);
    for (qint64 left = member.dataSize; left > 0;) {
        const QByteArray chunk = archive.read(qMin(left, chunkSize));
        if (chunk.isEmpty())
            throw RarError(RarError::Fatal, QStringLiteral("cannot read %1: %2").arg(m_archivePath, archive.errorString()));
        write(out, chunk);
        left -= chunk.size();
    }
}

void RarWriter::writeNew(QSaveFile &out, const NewFile &file) const
{
    QFile source(file.sourcePath);
    if (!source.open(QIODevice::ReadOnly))
        throw RarError(RarError::OpenError, QStringLiteral("cannot open %1: %2").arg(file.sourcePath, source.errorString()));
    const QFileInfo info(source);
    if (info.size() > maxMemberSize)
        throw RarError(RarError::UserError,
                       QStringLiteral("cannot add %1: members over 4 GiB are not supported").arg(file.sourcePath));
    const quint32 dosTime = dosDateTime(info.lastModified());
    const quint32 attributes = attrArchive | ((info.permissions() & QFile::WriteOwner) ? 0 : attrReadOnly);

    // The header goes first with a provisional size and CRC and is rewritten once the data
    // has passed, so the stored CRC always describes the bytes actually written.
    const qint64 headerAt = out.pos();
    write(out, fileHeader(file.name, 0, 0, dosTime, attributes));
    Crc32 crc;
    qint64 total = 0;
    while (!source.atEnd()) {
        const QByteArray chunk = source.read(chunkSize);
        if (chunk.isEmpty() && !source.atEnd())
            throw RarError(RarError::Fatal, QStringLiteral("cannot read %1: %2").arg(file.sourcePath, source.errorString()));
        total += chunk.size();
        if (total > maxMemberSize)
            throw RarError(RarError::UserError,
                           QStringLiteral("cannot add %1: members over 4 GiB are not supported").arg(file.sourcePath));
        crc.update(chunk);
        write(out, chunk);
    }
    const qint64 end = out.pos();
    if (!out.seek(headerAt))
        throw RarError(RarError::CreateError, QStringLiteral("cannot write %1: %2").arg(m_archivePath, out.errorString()));
    write(out, fileHeader(file.name, quint32(total), crc.value(), dosTime, attributes));
    if (!out.seek(end))
        throw RarError(RarError::CreateError, QStringLiteral("cannot write %1: %2").arg(m_archivePath, out.errorString()));
}

void RarWriter::commit()
{
    for (NewFile &file : m_files)
        file.written = false;
    const QFileInfo target(m_archivePath);
    for (const NewFile &file : m_files)
        if (target.exists() && QFileInfo(file.sourcePath).canonicalFilePath() == target.canonicalFilePath())
            throw RarError(RarError::UserError, QStringLiteral("cannot add the archive %1 to itself").arg(m_archivePath));

    QFile existing(m_archivePath);
    QList<RarMember> members;
    if (target.exists()) {
        if (!target.isFile())
            throw RarError(RarError::CreateError, QStringLiteral("cannot write %1: not a file").arg(m_archivePath));
        if (!existing.open(QIODevice::ReadOnly))
            throw RarError(RarError::OpenError,
                           QStringLiteral("cannot open %1: %2").arg(m_archivePath, existing.errorString()));
        members = RarReader::readMembers(existing, m_archivePath);
    }

    QSaveFile out(m_archivePath);
    if (!out.open(QIODevice::WriteOnly))
        throw RarError(RarError::CreateError, QStringLiteral("cannot create %1: %2").arg(m_archivePath, out.errorString()));

    write(out, QByteArray(marker, markerSize));
    write(out, mainHeader());
    for (const RarMember &member : members) {
        if (NewFile *replacement = findNew(member.name)) {
            if (!replacement->written) {
                writeNew(out, *replacement);
                replacement->written = true;
            }
            continue;
        }
        copyMember(out, existing, member);
    }
    for (NewFile &file : m_files) {
        if (!file.written) {
            writeNew(out, file);
            file.written = true;
        }
    }
    write(out, endOfArchive());

    if (!out.commit())
        throw RarError(RarError::CreateError, QStringLiteral("cannot write %1: %2").arg(m_archivePath, out.errorString()));
}
