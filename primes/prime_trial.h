// Trial division of two-word numbers by the odd primes below 4096, by
// multiplication with each prime's inverse modulo 2^128 (m is a multiple of
// p exactly when m * p^-1 mod 2^128 <= (2^128 - 1) / p), so no division is
// done until a prime is known to divide.
#pragma once

#include "numlib/mp_types.h"

constexpr u32 TRIAL_PRIME_LIMIT = 4096;

struct TrialPrime {
    u32 p;
    u128 inverse;  // p^-1 mod 2^128
    u128 limit;    // (2^128 - 1) / p
};

// The odd primes below TRIAL_PRIME_LIMIT, ascending, built on first use.
const TrialPrime* trial_primes();
int trial_prime_count();

inline bool trial_divides(const TrialPrime& t, u128 m) {
    return m * t.inverse <= t.limit;
}

// Removes every odd prime p <= max_prime (max_prime < TRIAL_PRIME_LIMIT)
// from *m, calling found(p, exponent) for each one in ascending order.
// Stops early once p^2 > *m, since the rest is then 1 or a prime. Returns
// the last prime tried: *m has no odd prime factor up to it.
template <class Found>
u32 trial_divide(u128* m, u32 max_prime, Found found) {
    const TrialPrime* table = trial_primes();
    u32 last = 2;
    for (int i = 0; i < trial_prime_count() && table[i].p <= max_prime; ++i) {
        const TrialPrime& t = table[i];
        if (u128{t.p} * t.p > *m) return last;
        last = t.p;
        if (!trial_divides(t, *m)) continue;
        u64 e = 0;
        do {
            *m *= t.inverse;  // exact division
            ++e;
        } while (trial_divides(t, *m));
        found(t.p, e);
    }
    return last;
}
