#pragma once
// "Recalcul": the individual contributions of a declaration's monthly rows computed again in
// month order, each row held to the year-to-date ceiling with the rows already recomputed.

namespace Recalculation {

// Recomputes sd_sum_add of the rows of the current monthly row's declaration with a pay fund,
// dated in the selected year, for declarations of 2004 to 2016. A pending monthly row is
// posted first (its refusal ends the command). Each row is written and committed before the
// next is read. Rows with a yearly amount ("L"), a rate below 0.01 or no rate are left as they
// are. The rows are counted as progress. Returns false when there was nothing to do (another
// year, or no monthly row).
bool run();

} // namespace Recalculation
