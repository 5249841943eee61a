#pragma once
// The classifier updates of the main menu: the rate, category and form-type tables and the
// profession table take the rows of the classifier files placed in the program folder.

#include <QString>

class RecordSet;

// Merges the classifier file named after the set (its name followed by ".cds", found in the
// program folder without regard to case) into the table of the same name, one select and one
// insert or update per row, each committed on its own; the set is left holding the file's
// rows. No file: nothing happens. A file that cannot be read is refused (EE naming it) before
// anything is written; a statement that fails (an insert only when no update can stand in for
// it, as in a file of the key alone) stops the merge with the database's message and the number
// of rows merged before it. The rows are counted as progress; the user may stop the merge
// between two rows, which ends it as a failure would (EE saying how many were merged).
void ApplyClassifierFile(RecordSet *set, int keyIndex);

namespace ClassifierUpdate {

// Where the classifier file of a table is looked for.
QString filePath(const QString &table);

// "Actualizare &tarife": categories, rates and form types, the in-memory classifiers reloaded
// (also when the update stops part-way, so that they show what the tables hold).
void updateTariffs();
// "Actualizare &profesii": the warning, the withdrawal of the professions the file no longer
// holds (renamed, and deleted unless a declaration or a monthly row names them), then the file's
// professions. The user may stop between two professions withdrawn or two rows merged; the
// professions in memory are then read again from the table.
void updateProfessions();

// The messages of the updates.
QString durationWarning(); // "Actualizarea poate dura in jur de 10 min. !"
QString withdrawnPrefix(); // "PROFESIE ANULATA "

} // namespace ClassifierUpdate
