#pragma once
// Everything that depends on the operating system sits behind these calls: the program
// folder, files named without regard to case, starting programs and keyboard layouts.

#include <QString>
#include <QStringList>

namespace Platform {

// The folder of the running program, with no trailing separator. Tests may point it elsewhere.
QString programFolder();
void setProgramFolder(const QString &folder);
// programFolder() + "/" + name.
QString inProgramFolder(const QString &name);

// The folder where the program keeps the user's data: the database, the archives, the package
// files and the exports. The program folder when the user may write there (a build folder, a
// copy of the program); otherwise, as installed, the user's own folder "evidenta" in the
// desktop's data folder (~/.local/share/evidenta, or $XDG_DATA_HOME/evidenta). Tests may
// point it elsewhere.
QString dataFolder();
void setDataFolder(const QString &folder);
// The path of `name` in dataFolder(), matched without regard to case.
QString inDataFolder(const QString &name);
// True when the user may write into the folder. A folder that grants no write permission to
// anyone counts as read-only even for the administrator, whom the file system would let write.
bool folderWritable(const QString &folder);
// Makes the data folder ready at start: creates it, and when it is not the program folder,
// copies there each of the `delivered` files of the program folder that it does not hold yet.
// A copy takes its name only once complete, and never replaces a file of that name. Returns
// the problem in the user's words, empty when there is none.
QString prepareDataFolder(const QStringList &delivered);
// The path of `name` in the data folder when it is there, else in the program folder when it
// is there (files the user may bring, or that came with the program), else in the data folder.
QString inDataOrProgramFolder(const QString &name);

// The path of `name` in `folder`, matching the name without regard to case; when no such file
// exists, folder + "/" + name.
QString findFileNoCase(const QString &folder, const QString &name);
bool fileExistsNoCase(const QString &folder, const QString &name);
// Gives the file `from` the name `to` in one step, replacing a file of that name: a reader sees
// the old file or the new one, never neither. False when the two are on different file systems
// or the rename fails.
bool replaceFile(const QString &from, const QString &to);

// Starts the program with its arguments, each passed as one argument whatever blanks it holds,
// and waits for it without a time limit. 0 when it ran and ended with exit code 0, else 1.
int runAndWait(const QString &program, const QStringList &arguments, const QString &workingFolder = {});

// Keyboard layouts by their conventional identifiers: "00000409" (English, United States) and
// "00000418" (Romanian).
void activateKeyboardLayout(const QString &id);
QString activeKeyboardLayout();

} // namespace Platform
