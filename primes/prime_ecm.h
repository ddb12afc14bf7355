// Lenstra's elliptic curve method on Montgomery curves (Suyama's
// parametrization, x-only arithmetic, a baby-step giant-step second stage),
// for the factors of 30 to 45 bits of a two-word number: too large for rho's
// budget, found here in a few curves of a millisecond each, before the
// quadratic sieve's fixed cost.
#pragma once

#include "numlib/mp_types.h"
#include "primes/prime_rho.h"

// Runs up to curves curves on the odd composite n (at least 2^64). Found:
// factor holds a proper divisor. A stop request is seen once per curve.
RhoResult ecm_find_factor(u128 n, int curves, u128* factor);
