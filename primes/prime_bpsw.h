// The Baillie-PSW test on machine words: a strong probable-prime test to
// base 2 followed by a strong Lucas test with Selfridge's parameters
// (P = 1, Q = (1 - D)/4, D the first of 5, -7, 9, -11, ... with (D/n) = -1).
//
// Below 2^64 this test is exact. Feitsma and Galway enumerated every base-2
// Fermat pseudoprime below 2^64 (J. Feitsma, "The pseudoprimes below 2^64",
// 2009-2013; W. Galway's independent search confirmed the count), and
// Gilchrist checked that none of them passes the strong Lucas test
// (J. Gilchrist, 2013; see also Baillie, Fiori, Wagstaff, "Strengthening
// the Baillie-PSW primality test", Math. Comp. 90 (2021)). Every strong
// pseudoprime to base 2 is a Fermat pseudoprime to base 2, so the
// enumeration covers the strong test we run here. (The probabilistic
// method's Euler test to base 2 is weaker than the strong test; this file
// does not rely on it.)
#pragma once

#include "numlib/mp_types.h"

// Exact primality of any 64-bit n.
bool bpsw_is_prime_u64(u64 n);

// The Baillie-PSW verdict for any n below 2^128: exact below 2^64, a
// probable prime above (no composite is known to pass).
bool bpsw_is_probable_prime(u128 n);
