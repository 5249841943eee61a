#pragma once
// "&Nou" of the menu "&Salariul": a declaration is usually filled month by month, and the
// months after its last row are created here in one go, each checked and written by the
// monthly-row save rule as if the user had typed it.

namespace RemainingMonths {

// On the page "Salariul" with a declaration shown: appends to saldo_data one row for every
// month after the last row's month up to December (January to December without rows) and
// posts each. A row the save rule refuses stays pending unseen; the next month's append posts
// it again and that refusal stops the filling. Raises EE before anything is appended when the
// declaration has no category. Elsewhere, or with nothing left to fill, does nothing.
void fill();

} // namespace RemainingMonths
