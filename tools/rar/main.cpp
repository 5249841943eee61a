// rar: the command-line archiver run by the program.
//
//   rar a [-ep] ARCHIVE FILE...   add the files (stored under their bare names) to the archive,
//                                 creating it, or rewriting it with its earlier members
//   rar m [-ep] ARCHIVE FILE...   the same, then delete the files once the archive is written
//   rar t ARCHIVE                 test the archive: every member's data against its CRC
//
// Switches may stand anywhere before a "--". Exit code 0 on success; otherwise one line on
// standard error and the code of the failure (see RarError).

#include "crc32.h"
#include "rarerror.h"
#include "rarformat.h"
#include "rarreader.h"
#include "rarwriter.h"

#include <QFile>
#include <QStringList>

#include <cstdio>

namespace {

struct CommandLine
{
    QString command;
    QString archive;
    QStringList files;
};

CommandLine parse(int argc, char **argv)
{
    CommandLine line;
    QStringList positional;
    bool switchesEnded = false;
    for (int i = 1; i < argc; ++i) {
        const QString arg = QFile::decodeName(argv[i]);
        if (!switchesEnded && arg == QLatin1String("--")) {
            switchesEnded = true;
        } else if (!switchesEnded && arg.startsWith(QLatin1Char('-')) && arg.size() > 1) {
            // Members are always stored under their bare names, so "-ep" asks for what is done anyway.
            if (arg.compare(QLatin1String("-ep"), Qt::CaseInsensitive) != 0)
                throw RarError(RarError::UserError, QStringLiteral("unknown switch %1").arg(arg));
        } else {
            positional.append(arg);
        }
    }
    if (positional.isEmpty())
        throw RarError(RarError::UserError, QStringLiteral("usage: rar a|m [-ep] ARCHIVE FILE... | rar t ARCHIVE"));
    line.command = positional.takeFirst().toLower();
    if (line.command != QLatin1String("a") && line.command != QLatin1String("m") && line.command != QLatin1String("t"))
        throw RarError(RarError::UserError, QStringLiteral("unknown command %1").arg(line.command));
    if (line.command == QLatin1String("t") ? positional.size() != 1 : positional.size() < 2)
        throw RarError(RarError::UserError, QStringLiteral("usage: rar a|m [-ep] ARCHIVE FILE... | rar t ARCHIVE"));
    line.archive = positional.takeFirst();
    line.files = positional;
    return line;
}

// Reads every member's data and compares it with the CRC its header carries. Only stored
// members can be read so; the archiver writes no other kind.
void test(const QString &path)
{
    using namespace RarFormat;
    QFile in(path);
    if (!in.open(QIODevice::ReadOnly))
        throw RarError(RarError::OpenError, QStringLiteral("%1 cannot be opened: %2").arg(path, in.errorString()));
    for (const RarMember &member : RarReader::readMembers(in, path)) {
        const QString name = QString::fromLatin1(member.name);
        if (quint8(member.header[25]) != methodStore)
            throw RarError(RarError::Fatal,
                           QStringLiteral("%1: %2 is packed; only stored members can be tested").arg(path, name));
        in.seek(member.dataOffset);
        Crc32 crc;
        for (qint64 left = member.dataSize; left > 0;) {
            const QByteArray chunk = in.read(qMin<qint64>(left, 1 << 20));
            if (chunk.isEmpty())
                throw RarError(RarError::Fatal, QStringLiteral("%1: the archive is truncated").arg(path));
            crc.update(chunk);
            left -= chunk.size();
        }
        if (crc.value() != u32(member.header, 16))
            throw RarError(RarError::Fatal, QStringLiteral("%1: %2 fails its CRC check").arg(path, name));
    }
}

void run(const CommandLine &line)
{
    if (line.command == QLatin1String("t")) {
        test(line.archive);
        return;
    }
    RarWriter writer(line.archive);
    for (const QString &file : line.files)
        writer.addFile(file);
    writer.commit();

    if (line.command == QLatin1String("m")) {
        for (const QString &file : line.files) {
            QFile source(file);
            if (source.exists() && !source.remove())
                throw RarError(RarError::Fatal, QStringLiteral("%1 is archived but cannot be deleted: %2")
                                                    .arg(file, source.errorString()));
        }
    }
}

} // namespace

int main(int argc, char **argv)
{
    try {
        run(parse(argc, argv));
        return 0;
    } catch (const RarError &error) {
        std::fprintf(stderr, "rar: %s\n", error.what());
        return error.exitCode();
    } catch (const std::exception &error) {
        std::fprintf(stderr, "rar: %s\n", error.what());
        return RarError::Fatal;
    }
}
