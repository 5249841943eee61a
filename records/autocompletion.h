#pragma once
// The monthly rows that the declaration save rule generates when "Completarea automata" is
// ticked: one row per month of a new declaration, or the months an existing one lacks.

#include <QString>

class RecordSet;

namespace AutoCompletion {

// Runs inside the save rule of a new declaration, after its INSERT: refuses a declaration
// without category or with a period outside the year or reversed (EE; the declaration stays
// stored), then appends and posts one monthly row per month of the period, each covering its
// whole month. A row the monthly-row rule refuses is dropped without a word.
void completeNewDeclaration(RecordSet &declaration, const QString &year);

// Runs inside the save rule of an existing declaration, before its UPDATE: appends and posts a
// monthly row for each month of the period that has none. A refused row refuses the
// declaration with its message; the rows of earlier months stay stored. A period with an
// empty date has no months.
void fillMissingMonths(RecordSet &declaration, const QString &year);

} // namespace AutoCompletion
