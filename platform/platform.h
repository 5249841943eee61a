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
// files and the exports. Today the program folder; tests may point it elsewhere.
QString dataFolder();
void setDataFolder(const QString &folder);
// The path of `name` in dataFolder(), matched without regard to case.
QString inDataFolder(const QString &name);

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
