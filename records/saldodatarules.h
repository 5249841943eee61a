#pragma once
// The rules of a monthly row: the checks against the declaration, the classifiers and the
// formed electronic packages, and the computation of the contributions before the row is written.

#include <QString>

class RecordSet;
class RecordQuestions;

namespace SaldoDataRules {

// Installs the save rule (beforePost) and the calculated field (onCalcFields) on
// DM->saldo_data. Copying rows into the record set detaches the save rule (DetachedHandler).
void attach();

// Save rule: raises EE with the failing check's message (after discarding the row's pending
// changes where the row may not be saved at all), or gives a new row its identifier, computes
// its contributions when automatic calculation is on and writes it with INSERT or UPDATE. May
// show the over-ceiling warning, which never stops the save.
void beforePost(RecordSet &row);
// The save rule for a row of `declaration`; beforePost is save(row, *DM->name_account).
void save(RecordSet &row, RecordSet &declaration);
// The checks of the save rule for a row of `declaration`, in the rule's order, with the
// database's answers from `questions`: the tests of the row, the amounts and whether the
// category has a rate for the year. Raises EE as the save rule does (discarding the row's
// pending changes where it does); fetches no identifier, computes nothing and writes nothing.
// The row keeps what the checks set (a default form type, the amounts a category zeroes).
void check(RecordSet &row, RecordSet &declaration, RecordQuestions &questions);

// sd_paym_fond_calc: 0 for category 150, whose pay fund the grid's sum leaves out; otherwise
// the pay fund.
void calcFields(RecordSet &row);

// The year-to-date reads of the ceiling: the months up to the row's month (op "<=") or the
// row's month alone (op "="), other rows of the declaration with a contribution.
QString yearToDateStatement(const QString &declaration, const QString &op, const QString &month,
                            const QString &firstDay, const QString &lastDay, const QString &rowId);
// The contributions of the year already stored for the declaration, for the warning.
QString yearSumStatement(const QString &declaration, const QString &rowId, const QString &firstDay,
                         const QString &lastDay);

// What the year-to-date ceiling still allows a row (Contribution::yearToDateAllowance) from
// the two reads above on IBQ3: the months up to the row's month, then the row's month alone.
double readYearToDateAllowance(const QString &declaration, const QString &month, const QString &firstDay,
                               const QString &lastDay, const QString &rowId, double ceiling);

} // namespace SaldoDataRules
