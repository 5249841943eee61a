#pragma once
// From 2015 a month may be declared twice, first with primary rows and then with correction
// rows. The entries "Primara" and "De corectare" of the salary page switch the rows of one
// month of the declaration between the two form types.

#include <QVariant>

#include <optional>

namespace FormTypeMarks {

enum FormType { Primary = 1, Correction = 3 };

// On the page "Salariul" with a current monthly row: gives every row of that row's month of
// the declaration the form type. A pending change of the row is saved first. Raises EE (and
// drops the row's pending changes) when a formed electronic package covers the month. Returns
// the sd_id of the row to make current again once the page is reloaded, or nothing when
// nothing was written (another page, no row, or the row has that form type already).
std::optional<QVariant> mark(int formType);

} // namespace FormTypeMarks
