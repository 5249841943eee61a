#pragma once
// The search behind the code lookup dialog: profession or category codes found by a word in
// their names on IBQ5, and the chosen code written into the declaration or the monthly row.

#include <QString>

class RecordSet;

namespace CodeLookup {

// 2 profession of the declaration, 3 profession of the monthly row, 4 category of the
// declaration, 5 category of the monthly row.
bool validMode(int mode);
RecordSet *targetSet(int mode);      // name_account or saldo_data; nullptr for other modes
QString targetField(int mode);

// The search statement for a trimmed keyword; "" when the mode needs a keyword and has none.
QString statement(int mode, const QString &keyword);

// Runs the search on IBQ5 (its transaction restarted) and copies the rows (cod, nume) into
// results; IBQ5 stays open until finish(). An empty keyword of a profession search only shows
// "Introduceti cuvintul cheie pentru cautare " and returns false.
bool search(int mode, const QString &keyword, RecordSet *results);

// Puts the target set into edit and writes the integer code of the current result row (0 when
// the search found nothing). Raises the record set's error when no search ran yet.
void choose(int mode, RecordSet *results);

// Ends the search's read, then commits IBT5 if still active and closes IBQ5: every way out of
// the dialog ends with it.
void finish();

} // namespace CodeLookup
