// The Weierstrass iteration's first sweeps, in hardware doubles.
#pragma once

#include <vector>

#include "equations/roots.h"
#include "numlib/mp_types.h"

struct DoubleStage {
    bool settled = false;  // the iterates hold the sweeps' result, the last of which settled
    i64 sweeps = 0;        // sweeps run; 0 when unused
};

// Sweeps the iterates z (values at the current words) of the monic equation
// eq in doubles, at most `budget` times, until every step is below 10^-8 of
// its iterate or at the evaluation's noise floor, and writes them back at 17
// digits. Unused, z untouched, where a coefficient or iterate lies beyond
// 10^±20 or a value leaves the range of doubles.
DoubleStage double_sweeps(const poly_equation& eq, std::vector<std::vector<u64>>& z, i64 budget);
