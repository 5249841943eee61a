#pragma once
// The program's entries for scripts and batch work: options given on the command line run an
// operation without windows and end with an exit status instead of starting the program.

#include <QStringList>
#include <QTextStream>
#include <optional>

namespace CommandLine {

// Whether the arguments (without the program name) ask for a command-line run: the first one
// is an option that starts with "--". Other arguments are left to the windows.
bool wanted(const QStringList &arguments);

// Runs the option: 0 success or a clean package, 1 a refusal or findings, 2 an unusable
// command line or an input that cannot be read. Results go to `out`, messages to `err`.
int run(const QStringList &arguments, QTextStream &out, QTextStream &err);

// The usage text of --help.
QString usage();

} // namespace CommandLine
