#pragma once
// New numbers for the packages of a year: the user types them beside the current ones, equal
// numbers merge the later package into the earlier one up to 50 declarations, and packages
// already in a formed electronic package keep theirs.

#include <QString>

class RecordSet;

namespace PackageRenumbering {

// Whether some monthly row of the package is marked as sent.
QString sentStatement(const QString &packageId);
// The declarations of a package of the agent's year: counted, or listed.
QString countStatement(const QString &agentId, const QString &year, const QString &packageId);
QString declarationsStatement(const QString &agentId, const QString &year, const QString &packageId);

// Gives cds_pnr its fields (pl_nr_old, pl_nr_new, pl_id, pl_pe, pl_nd), keeps it in the order
// of the new numbers and attaches the row check.
void declare(RecordSet *cds_pnr);
// One row per package of pachet, the new number equal to the current one.
void load(RecordSet *cds_pnr, RecordSet *pachet);
// The row check: a sent package keeps its number ("Este format pachetul electronic.
// Modificari nu se permit."); the edit is cancelled.
void checkRow(RecordSet &cds_pnr);
// "&Memorizare": merges and numbers the packages row by row in the order of the new numbers.
// A refusal stops at its row; the rows before it stay saved.
void save(RecordSet *cds_pnr);

} // namespace PackageRenumbering
