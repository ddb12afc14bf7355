// The table of trial primes with their inverses modulo 2^128.
#include "primes/prime_trial.h"

#include <array>

#include "primes/prime_montgomery.h"

namespace {

constexpr int TRIAL_PRIME_COUNT = 563;  // odd primes below 4096

struct Table {
    std::array<TrialPrime, TRIAL_PRIME_COUNT> entries{};
    Table() {
        std::array<bool, TRIAL_PRIME_LIMIT> composite{};
        int count = 0;
        for (u32 p = 3; p < TRIAL_PRIME_LIMIT; p += 2) {
            if (composite[p]) continue;
            for (u32 m = p * p; m < TRIAL_PRIME_LIMIT; m += 2 * p) composite[m] = true;
            // Newton's iteration on the two-word inverse, from the one-word one.
            u128 inv = inverse_mod_2_64(p);
            inv *= 2 - u128{p} * inv;
            entries[static_cast<std::size_t>(count++)] = TrialPrime{p, inv, U128_TOP / p};
        }
    }
};

const Table& table() {
    static const Table t;
    return t;
}

}  // namespace

const TrialPrime* trial_primes() {
    return table().entries.data();
}

int trial_prime_count() {
    return TRIAL_PRIME_COUNT;
}
