// Pollard's rho method with Brent's cycle search and batched gcds, on
// machine words. Finds a factor p of n in about sqrt(p) steps, so it is the
// method for the small and middle factors of a two-word number.
#pragma once

#include "numlib/mp_types.h"

enum class RhoResult { Found, Exhausted, Stopped };

// Looks for a proper factor of the odd composite n (not a prime power of a
// prime below the trial-division bound) in at most budget steps, trying a
// new polynomial x^2 + c when one cycles without a factor. On Found, factor
// holds a proper divisor of n. A stop request is seen within about a
// thousand steps.
RhoResult rho_find_factor(u128 n, u64 budget, u128* factor);
