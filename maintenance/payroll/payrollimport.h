#pragma once
// Monthly pay brought in from a payroll program's export: each line of the file becomes a
// monthly row of the current agent's person for the year, through the same rules that guard a
// typed row, and what will happen to every line is shown before anything is written.

#include "maintenance/payroll/payrollimportresult.h"
#include "maintenance/payroll/payrollline.h"

#include <vector>

namespace PayrollImport {

struct Options {
    int year = 0;
    // "Adaugă persoanele care lipsesc": a person found neither by CPAS nor by IDNP is added
    // when the line gives the family and given name, a code and the birth date.
    bool addPersons = false;
};

// What importing the lines would do, line by line, for the current row of econ_agent and the
// year: each line's person and fate, the lines above it taken as written. Nothing is written.
// Raises EE without an agent; database errors reach the caller.
PayrollImportResult preview(const std::vector<PayrollLine> &lines, const Options &options);

// Writes the lines that are not refused, each whole or not at all: the person through the
// person's save rule when it is to be added, the declaration of the year through the
// declaration's rules when the person has none (the whole year, the line's category and
// function, primary form), and the monthly row through its save rule (contributions computed
// as when typed, the automatic calculation of the workspace honoured). The checks of all
// three run before the first of them writes. A database error stops the import; the result
// says where and which lines were written. The lines are counted as progress (in the preview
// too); the user may stop the import between two lines, and the result then says before which
// line it stopped and which lines were written.
PayrollImportResult run(const std::vector<PayrollLine> &lines, const Options &options);

} // namespace PayrollImport
