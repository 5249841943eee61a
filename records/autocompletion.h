#pragma once
// The monthly rows that the declaration save rule generates when "Completarea automata" is
// ticked: one row per month of a new declaration, or the months an existing one lacks.

namespace AutoCompletion {

// Runs inside the save rule of a new declaration, after its INSERT: checks the category and
// the period and generates one monthly row per month of the period. Not filled in yet.
void completeNewDeclaration();

// Runs inside the save rule of an existing declaration, before its UPDATE: adds a monthly row
// for each month of the period that has none. Not filled in yet.
void fillMissingMonths();

} // namespace AutoCompletion
