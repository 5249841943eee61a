#pragma once
// A formed electronic package locks the months it carries. Annulling it lifts the sent marks,
// turns a monthly correction package's rows back into primary rows, removes the package from
// the registry t_pachet and deletes its archive from the folder "Primara".

#include <QString>

class RecordSet;

namespace PackageAnnulment {

// "PRIMAR", "DE CORECTARE" or "NEDETERMINAT" by characters 14 to 16 of the archive name.
QString packageType(const QString &name);

// Gives the set the fields of t_pachet, in the table's column order, and the calculated "tip".
void declareRegistry(RecordSet *set);

// Fills the set with the registry rows of the current agent and the selected year, oldest
// first. With none, no row of that year may stay marked as sent: the marks are cleared.
void loadRegistry(RecordSet *set);

// The database part of annulCurrent: the question and the transaction, the row leaves the set.
// Returns the name of the package annulled, empty when none was.
QString annul(RecordSet *set);
// Makes sure the folder "Primara" exists and deletes the archive of that name from it, found
// without regard to case (nothing for an empty name). EE when it cannot be deleted.
void deleteArchive(const QString &name);

// "Anularea pachetului" on the set's current row. Asks first; the database changes run in one
// transaction, the row leaves the set, and the archive is deleted from "Primara" (EE when it
// cannot be). With an empty set the year's marks are cleared without a question. Returns the
// name of the package annulled, empty when none was.
QString annulCurrent(RecordSet *set);

// The statements, as they are executed.
QString clearYearMarksStatement(const QString &year, const QString &agent);
QString resetPackagedStatement();

} // namespace PackageAnnulment
