#pragma once
// The import of a payroll file from the command line, for an office that brings the pay of
// several agents in at the end of a month, or a script that checks a file before it is sent:
// the same reading and rules as the window, the refused lines printed one a line.

#include <QString>
#include <QStringList>
#include <functional>

class QTextStream;

namespace PayrollImportCommand {

// What the command line asks for.
struct Request {
    QString path;
    int year = 0;
    QString agent;           // ea_fosk; empty: the only agent
    bool checkOnly = false;  // --verifica-doar: nothing is written
    bool addPersons = false; // --persoane-noi
};

// The arguments after "--import-salarii": FISIER AN [--agent COD_FOSK] [--verifica-doar]
// [--persoane-noi]. False, with the reason in `error`, when they cannot be used.
bool parse(const QStringList &arguments, Request *request, QString *error);

// The usage lines, in Romanian.
QString usage();

// The whole command: parse, read the file, connect (`connect` is told whether the command will
// write), choose the agent, take the columns as the agent's files are taken, show or import the
// lines. One line "rîndul N: ..." on `out` for each refused line, the counts (and after an
// import what was done) on `err`. Exit status 0 when every line was imported or was there
// already, 1 when lines were refused or the import could not be done, 2 when the command line
// cannot be used or the file cannot be read or has no columns to import.
int main(const QStringList &arguments, QTextStream &out, QTextStream &err,
         const std::function<void(bool writing)> &connect);

} // namespace PayrollImportCommand
