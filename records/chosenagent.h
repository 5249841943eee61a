#pragma once
// Commands run without windows work for one economic agent: the one the database holds, or
// the one named by its FOSK code when it holds several.

#include <QString>

namespace ChosenAgent {

// Reads the agents into econ_agent and makes the agent of `fosk` (the only one when `fosk` is
// empty) its current row. Raises EE when there is none, when several are registered and none
// is named, or when none has the code.
void choose(const QString &fosk);

} // namespace ChosenAgent
