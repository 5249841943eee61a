#pragma once
// Forming the electronic package from the command line, for accountants who form the packages
// of several agents at the end of a month and for scripts: the same operation as the menu on
// the program's database, without a window and without the copy to removable media.

#include <QString>
#include <QStringList>
#include <functional>

class QTextStream;

namespace ElectronicPackageCommand {

// What the command line asks for.
struct Request {
    int year = 0;
    QString periodCode; // T00, T01..T04, L01..L12
    int item = -1;      // the period's place in the dialog's list for the year
    int formType = 1;
    QString agent;      // ea_fosk; empty: the only agent
    bool progress = false; // the steps printed on standard error as they begin
};

// The arguments after "--pachet-electronic": AN PERIOADA [--tip 1|3] [--agent COD_FOSK]
// [--progres].
// False, with the reason in `error`, when they cannot be used.
bool parse(const QStringList &arguments, Request *request, QString *error);

// The usage lines, in Romanian.
QString usage();

// Runs the operation on the connected database: finds the agent, forms the packages of the
// year, checks, writes, archives, files, registers and marks. Returns the path of the filed
// archive, or nothing when the period has no packages to send (the notice "Nu sint date !"
// went through the user interaction). Refusals are EE; an agent that cannot be chosen too.
QString run(const Request &request);

// The whole command: parse, run on the connected database, print. Exit status 0 (the archive's
// path on `out`), 1 (the refusal on `err`) or 2 (the usage on `err`). `connect` opens the
// database once the command line has been found usable.
int main(const QStringList &arguments, QTextStream &out, QTextStream &err, const std::function<void()> &connect);

} // namespace ElectronicPackageCommand
