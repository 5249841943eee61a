#pragma once
// The order in which Romanian readers expect names: Ă after A, Â after Ă, Î after I, Ş after S
// and Ţ after T, capitals and small letters alike. Lists sorted for the user to read use it;
// orders that a statement gives stay as the database returns them.

#include <QString>

namespace RomanianOrder {

// Negative, zero or positive as a comes before, with or after b.
int compare(const QString &a, const QString &b);

// Whether the system's collation (ICU) knows Romanian; when it does not, compare() falls
// back to its own table of the letters above.
bool collatorAvailable();

// The fallback on its own: letters compared without case, each Romanian letter right after
// its base letter, everything else by its code.
int fallbackCompare(const QString &a, const QString &b);

} // namespace RomanianOrder
