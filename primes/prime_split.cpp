// The factoring strategy: trial division, rho, the elliptic curve method,
// the quadratic sieve, and the primality proof of every factor found.
#include "primes/prime_split.h"

#include <algorithm>

#include "primes/prime_bpsw.h"
#include "primes/prime_ecm.h"
#include "primes/prime_montgomery.h"
#include "primes/prime_proof.h"
#include "primes/prime_qs.h"
#include "primes/prime_rho.h"
#include "primes/prime_trial.h"

namespace {

// Rho steps spent on a cofactor above 2^64 before the quadratic sieve takes
// over: enough for factors up to about 2^28, whose rho time stays below the
// sieve's.
constexpr u64 RHO_BUDGET_LARGE = u64{1} << 14;
constexpr u64 RHO_UNLIMITED = ~u64{0};
// Curves of the elliptic curve method tried before the quadratic sieve
// (about a millisecond each; 16 find most factors of up to 42 bits, and
// cost a balanced 128-bit semiprime about half its sieve time more).
constexpr int ECM_CURVES = 16;

void add_prime(Factorization128& out, u128 p, u64 e) {
    for (int i = 0; i < out.count; ++i) {
        if (out.prime[i] == p) {
            out.exponent[i] += e;
            return;
        }
    }
    if (out.count == FACTORIZATION_SLOTS) return;  // cannot happen below 2^128
    out.prime[out.count] = p;
    out.exponent[out.count] = e;
    ++out.count;
}

struct Composite {
    u128 value;
    u64 multiplicity;
};

// Work list of composites still to split; at most one entry per prime factor.
struct WorkList {
    Composite item[130];
    int size = 0;
    void push(u128 v, u64 m) { item[size++] = Composite{v, m}; }
};

// A proper factor of the composite c, which has no prime factor below 4096.
RhoResult split(u128 c, u128* factor) {
    for (int k = 2; k <= 10; ++k) {
        const u128 r = iroot_u128(c, k);
        if (r < TRIAL_PRIME_LIMIT) break;
        u128 power = 1;
        for (int i = 0; i < k; ++i) power *= r;
        if (power == c) {
            *factor = r;
            return RhoResult::Found;
        }
    }
    if (c >> 64 == 0) return rho_find_factor(c, RHO_UNLIMITED, factor);
    RhoResult result = rho_find_factor(c, RHO_BUDGET_LARGE, factor);
    if (result != RhoResult::Exhausted) return result;
    result = ecm_find_factor(c, ECM_CURVES, factor);
    if (result != RhoResult::Exhausted) return result;
    const QsResult qs = qs_find_factor(c, factor);
    if (qs == QsResult::Found) return RhoResult::Found;
    if (qs == QsResult::Stopped) return RhoResult::Stopped;
    return rho_find_factor(c, RHO_UNLIMITED, factor);
}

// Whether c is prime, proven; Stopped when the proof was interrupted.
ProofResult prime_status(u128 c) {
    if (!bpsw_is_probable_prime(c)) return ProofResult::Composite;
    if (c >> 64 == 0) return ProofResult::Prime;
    return prime_prove_u128(c);
}

// Ascending primes, each exponent moving with its prime (at most 26 entries).
void sort_primes(Factorization128& out) {
    for (int i = 1; i < out.count; ++i) {
        for (int j = i; j > 0 && out.prime[j - 1] > out.prime[j]; --j) {
            std::swap(out.prime[j - 1], out.prime[j]);
            std::swap(out.exponent[j - 1], out.exponent[j]);
        }
    }
}

}  // namespace

FactorStatus factor_u128(u128 n, Factorization128& out) {
    out.count = 0;
    if (n < 2) return FactorStatus::Done;
    int twos = 0;
    while ((n & 1) == 0) {
        n >>= 1;
        ++twos;
    }
    if (twos > 0) add_prime(out, 2, static_cast<u64>(twos));
    const u32 tried = trial_divide(&n, TRIAL_PRIME_LIMIT - 1,
                                   [&](u32 p, u64 e) { add_prime(out, p, e); });
    WorkList work;
    if (n > 1 && n < u128{tried + 2} * (tried + 2)) {
        add_prime(out, n, 1);  // no factor up to its square root
    } else if (n > 1) {
        work.push(n, 1);
    }
    while (work.size > 0) {
        const Composite c = work.item[--work.size];
        const ProofResult status = prime_status(c.value);
        if (status == ProofResult::Stopped) return FactorStatus::Stopped;
        if (status == ProofResult::Prime) {
            add_prime(out, c.value, c.multiplicity);
            continue;
        }
        u128 g = 0;
        const RhoResult found = split(c.value, &g);
        if (found != RhoResult::Found) return FactorStatus::Stopped;
        work.push(g, c.multiplicity);
        work.push(c.value / g, c.multiplicity);
    }
    sort_primes(out);
    return FactorStatus::Done;
}
