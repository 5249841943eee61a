#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

class QFile;
class QSaveFile;
struct RarMember;

// Writes a RAR 4 archive whose members are stored (method "store"), keeping the members of an
// archive that already exists; the archive appears only complete, through a temporary file.
class RarWriter
{
public:
    explicit RarWriter(const QString &archivePath);

    // Queues `sourcePath` to be stored under its bare file name, replacing an earlier member
    // of the same name (names compare as on Windows, without regard to case).
    // Throws RarError when the file is missing or its name cannot be stored.
    void addFile(const QString &sourcePath);

    // Writes the archive: the earlier members (replaced ones in their place), then the new
    // files, in the order added. The target is replaced only once everything is on disk.
    // Throws RarError; the target is then left as it was.
    void commit();

    // The bytes of a stored member's file header, HEAD_CRC included.
    static QByteArray fileHeader(const QByteArray &name, quint32 size, quint32 dataCrc,
                                 quint32 dosTime, quint32 attributes);
    static QByteArray mainHeader();
    static QByteArray endOfArchive();

private:
    struct NewFile
    {
        QString sourcePath;
        QByteArray name;
        bool written = false;
    };

    NewFile *findNew(const QByteArray &name);
    void writeNew(QSaveFile &out, const NewFile &file) const;
    void copyMember(QSaveFile &out, QFile &archive, const RarMember &member) const;
    void write(QSaveFile &out, const QByteArray &bytes) const;

    QString m_archivePath;
    QList<NewFile> m_files;
};
