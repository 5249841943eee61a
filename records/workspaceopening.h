#pragma once
// The checks made before the persons workspace opens: one economic agent must be chosen, and
// the process must write numbers with a decimal point and dates as dd.mm.yyyy.

#include "platform/clock.h"

#include <QDate>

namespace WorkspaceOpening {

// Loads the only agent when none is loaded, switches to the Romanian layout, checks the
// formats and empties the person, declaration and monthly row sets. Raises EE when a check
// fails; nothing is emptied then.
void prepare(const QDate &today = Clock::today());

} // namespace WorkspaceOpening
