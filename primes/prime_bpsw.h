// The Baillie-PSW test on machine words: a strong probable-prime test to
// base 2 followed by a strong Lucas test with Selfridge's parameters
// (P = 1, Q = (1 - D)/4, D the first of 5, -7, 9, -11, ... with (D/n) = -1).
//
// Below 2^64 this test is exact. Feitsma enumerated every base-2 Fermat
// pseudoprime below 2^64 (J. Feitsma, "The pseudoprimes below 2^64",
// 2009-2013, confirmed by W. Galway's independent search), and Gilchrist
// ran the Baillie-PSW test over that list and found none that passes it
// (J. Gilchrist, 2013; cited in Baillie, Fiori, Wagstaff, "Strengthening
// the Baillie-PSW primality test", Math. Comp. 90 (2021)). That test is the
// one here: the strong test to base 2, then the strong Lucas test with
// Selfridge's parameters. Every strong pseudoprime to base 2 is a Fermat
// pseudoprime to base 2, so a composite passing here would be on the list.
// (The probabilistic method's Euler test to base 2 is weaker than the
// strong test, which is why the exact test does not use it.)
#pragma once

#include "numlib/mp_types.h"

// Exact primality of any 64-bit n.
bool bpsw_is_prime_u64(u64 n);

// The Baillie-PSW verdict for any n below 2^128: exact below 2^64, a
// probable prime above (no composite is known to pass).
bool bpsw_is_probable_prime(u128 n);
