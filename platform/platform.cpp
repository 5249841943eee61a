#include "platform/platform.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

#include <cstdio>
#ifdef Q_OS_WIN
#include <windows.h>
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
    return dataFolderOverride().isEmpty() ? programFolder() : dataFolderOverride();
}

void setDataFolder(const QString &folder)
{
    dataFolderOverride() = folder;
}

QString inDataFolder(const QString &name)
{
    return findFileNoCase(dataFolder(), name);
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
