#include "platform/platform.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryFile>

#include <cerrno>
#include <cstdio>
#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace {

QString &folderOverride()
{
    static QString f;
    return f;
}

QString &dataFolderOverride()
{
    static QString f;
    return f;
}

QString &currentLayout()
{
    static QString id;
    return id;
}

} // namespace

namespace Platform {

QString programFolder()
{
    if (!folderOverride().isEmpty())
        return folderOverride();
    return QCoreApplication::instance() ? QCoreApplication::applicationDirPath() : QDir::currentPath();
}

void setProgramFolder(const QString &folder)
{
    folderOverride() = folder;
}

QString inProgramFolder(const QString &name)
{
    return findFileNoCase(programFolder(), name);
}

QString dataFolder()
{
    if (!dataFolderOverride().isEmpty())
        return dataFolderOverride();
    const QString program = programFolder();
    if (folderWritable(program))
        return program;
    const QString base = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (base.isEmpty())
        return program;
    return QDir::cleanPath(base + QStringLiteral("/evidenta"));
}

void setDataFolder(const QString &folder)
{
    dataFolderOverride() = folder;
}

QString inDataFolder(const QString &name)
{
    return findFileNoCase(dataFolder(), name);
}

bool folderWritable(const QString &folder)
{
    const QFileInfo info(folder);
    if (!info.isDir() || !info.isWritable())
        return false;
    return (info.permissions() & (QFile::WriteOwner | QFile::WriteGroup | QFile::WriteOther)) != 0;
}

namespace {

// Copies `from` into the folder as `name` through a temporary file of the folder; the complete
// copy takes the name without replacing a file that has it by then (another start's copy).
bool copyWhole(const QString &from, const QString &folder, const QString &name)
{
    QFile source(from);
    if (!source.open(QIODevice::ReadOnly))
        return false;
    QTemporaryFile part(QDir(folder).filePath(QStringLiteral(".") + name + QStringLiteral(".XXXXXX")));
    if (!part.open())
        return false;
    QByteArray chunk;
    while (!(chunk = source.read(1 << 20)).isEmpty())
        if (part.write(chunk) != chunk.size())
            return false;
    if (source.error() != QFileDevice::NoError || !part.flush())
        return false;
    const QString target = QDir(folder).filePath(name);
#ifdef Q_OS_WIN
    part.close();
    if (QFileInfo::exists(target))
        return true;
    part.setAutoRemove(false);
    if (QFile::rename(part.fileName(), target))
        return true;
    QFile::remove(part.fileName());
    return QFileInfo::exists(target);
#else
    if (::fsync(part.handle()) != 0)
        return false;
    // A hard link gives the name only when no file has it; the temporary name goes with `part`.
    if (::link(QFile::encodeName(part.fileName()).constData(), QFile::encodeName(target).constData()) == 0)
        return true;
    return errno == EEXIST;
#endif
}

} // namespace

QString prepareDataFolder(const QStringList &delivered)
{
    const QString data = dataFolder();
    if (!QDir().mkpath(data))
        return QStringLiteral("Dosarul de date \"%1\" nu poate fi creat !").arg(QDir::toNativeSeparators(data));
    const QString program = programFolder();
    if (QFileInfo(data).canonicalFilePath() == QFileInfo(program).canonicalFilePath())
        return {};
    for (const QString &name : delivered) {
        if (fileExistsNoCase(data, name) || !fileExistsNoCase(program, name))
            continue;
        if (!copyWhole(findFileNoCase(program, name), data, name))
            return QStringLiteral("Fisierul \"%1\" nu poate fi copiat in dosarul \"%2\" !")
                .arg(QDir::toNativeSeparators(findFileNoCase(program, name)), QDir::toNativeSeparators(data));
    }
    return {};
}

QString inDataOrProgramFolder(const QString &name)
{
    const QString data = inDataFolder(name);
    if (QFileInfo::exists(data))
        return data;
    const QString program = inProgramFolder(name);
    return QFileInfo::exists(program) ? program : data;
}

QString findFileNoCase(const QString &folder, const QString &name)
{
    QDir dir(folder);
    const QString exact = dir.filePath(name);
    if (QFileInfo::exists(exact))
        return exact;
    const QStringList entries = dir.entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden);
    for (const QString &e : entries)
        if (e.compare(name, Qt::CaseInsensitive) == 0)
            return dir.filePath(e);
    return exact;
}

bool fileExistsNoCase(const QString &folder, const QString &name)
{
    return QFileInfo::exists(findFileNoCase(folder, name));
}

bool replaceFile(const QString &from, const QString &to)
{
#ifdef Q_OS_WIN
    return MoveFileExW(reinterpret_cast<LPCWSTR>(QDir::toNativeSeparators(from).utf16()),
                       reinterpret_cast<LPCWSTR>(QDir::toNativeSeparators(to).utf16()),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
#else
    return std::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0;
#endif
}

int runAndWait(const QString &program, const QStringList &arguments, const QString &workingFolder)
{
    QProcess p;
    p.setProcessChannelMode(QProcess::ForwardedChannels);
    p.setInputChannelMode(QProcess::ForwardedInputChannel);
    if (!workingFolder.isEmpty())
        p.setWorkingDirectory(workingFolder);
    p.start(program, arguments);
    if (!p.waitForStarted(-1))
        return 1;
    if (!p.waitForFinished(-1))
        return 1;
    if (p.exitStatus() != QProcess::NormalExit)
        return 1;
    return p.exitCode() == 0 ? 0 : 1;
}

void activateKeyboardLayout(const QString &id)
{
    // Desktop keyboard layouts belong to the session; the program only records which layout it
    // wants, so that a window can show it and the session's own switcher is not overridden.
    currentLayout() = id;
}

QString activeKeyboardLayout()
{
    return currentLayout();
}

} // namespace Platform
