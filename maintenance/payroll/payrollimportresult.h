#pragma once
// The lines of a payroll import with their fates, and what is said of them as a whole: the
// counts above the list, the summary after the import, and where a database error or the user
// stopped it.

#include "maintenance/payroll/payrolloutcome.h"

#include <QString>
#include <vector>

struct PayrollImportResult {
    std::vector<PayrollOutcome> outcomes; // the lines in the order of the file
    bool imported = false;                // written, not only shown beforehand
    QString stoppedBy;                    // the database error that stopped the import
    int stoppedAt = 0;                    // the line it stopped at
    int cancelledAt = 0;                  // the line before which the user stopped the import

    int count(PayrollOutcome::Fate fate) const;
    int refused() const { return count(PayrollOutcome::Fate::Refused); }
    // The lines whose rows were written.
    std::vector<int> writtenLines() const;
    // Every line was imported or was there already, and nothing stopped the import.
    bool clean() const { return refused() == 0 && stoppedBy.isEmpty() && cancelledAt == 0; }

    // "Rînduri: 12; rînduri noi: 7; persoane noi: 1; există deja: 2; refuzate: 2"
    QString counts() const;
    // What the import did: the counts, the lines written when it was stopped, and the
    // notices of the save rule with their lines.
    QString summary() const;
};

// Lines as the user reads them: "2-5, 7, 9-11".
QString lineRanges(const std::vector<int> &lines);
