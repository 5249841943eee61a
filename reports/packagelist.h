#pragma once
// The lists of the forms-printing window: the packages of the agent's year with their totals
// (pachet) and the declarations of the current package (rev). Monthly rows of category 150
// count in no total.

#include <QString>

namespace PackageList {

// The package list of an agent and year.
QString statement(const QString &year, const QString &agentId);
// The declarations of a package, numbered by the caller.
QString declarationsStatement(const QString &packageId);

// The year of the persons workspace and the ea_id of the current agent, as statements take them.
QString year();
QString agentId();

// Rebuilds pachet on IBQ4 and stands on its first package; the declaration list stays hidden
// until it is asked for again.
void fill();
// Rebuilds rev for the current package, numbering its rows 1, 2, 3... in the order of na_id.
// Does nothing without a current package, or while pachet is being edited. With
// `toSpreadsheet` the list is exported as well.
void fillDeclarations(bool toSpreadsheet = false);
// Empties both lists, when they are open.
void clear();

} // namespace PackageList
