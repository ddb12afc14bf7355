// Complete factorization of two-word numbers into proven primes: trial
// division by the primes below 4096, then Pollard-Brent rho for the small
// factors, a few curves of the elliptic curve method for the middle ones and
// the self-initialising quadratic sieve for the cofactors whose smallest
// factor is large. Every prime reported is proven
// (Baillie-PSW below 2^64, an n - 1 certificate above).
#pragma once

#include "numlib/mp_types.h"

constexpr int FACTORIZATION_SLOTS = 32;  // more than the 26 distinct primes of any n < 2^128

struct Factorization128 {
    int count;
    u128 prime[FACTORIZATION_SLOTS];  // ascending once factor_u128 returns Done
    u64 exponent[FACTORIZATION_SLOTS];
};

enum class FactorStatus { Done, Stopped };

// Factors n (n < 2 gives no primes). Stopped (a stop request) leaves a
// partial, unsorted list.
FactorStatus factor_u128(u128 n, Factorization128& out);
