// Building the n - 1 certificate: split n - 1 far enough, find the
// witnesses, decide by the square-root or the cube-root condition.
#include "primes/prime_proof.h"

#include "primes/prime_bpsw.h"
#include "primes/prime_montgomery.h"
#include "primes/prime_rho.h"
#include "primes/prime_split.h"
#include "primes/prime_test.h"
#include "primes/prime_trial.h"

namespace {

// Rho steps tried on the unfactored part of n - 1, doubled after each
// fruitless run up to the last, after which the part is factored completely
// (by the quadratic sieve when its factors are large); each factor found
// raises F.
constexpr u64 RHO_BUDGET_FIRST = u64{1} << 12;
constexpr u64 RHO_BUDGET_LAST = u64{1} << 16;
// The cube-root test scans at most this many k.
constexpr u128 CUBE_SCAN_LIMIT = 1024;
// Witnesses are tried from 2 on; a prime n has many among the first few.
constexpr u64 WITNESS_LIMIT = 1 << 16;

bool is_large(u128 v) {
    return v >> 64 != 0;
}

void add_factor(PrimeProofStep& s, u128 q, u64 e) {
    s.q[s.count] = q;
    s.e[s.count] = e;
    ++s.count;
    for (u64 i = 0; i < e; ++i) s.f *= q;
}

// Moves the prime p with all its powers from r into F.
void move_prime(PrimeProofStep& s, u128* r, u128 p) {
    u64 e = 0;
    while (*r % p == 0) {
        *r /= p;
        ++e;
    }
    add_factor(s, p, e);
}

// k_max of the cube-root test, or -1 when the test does not apply (too many
// k to scan, or values beyond two words).
i64 cube_scan_length(u128 n, u128 f, u128 r, u128 l) {
    if (f > U128_TOP / l) return -1;
    const u128 g = f * l + 1;
    if (g >> 43 == 0 && g * g <= n / g) return -1;  // (F L + 1)^3 <= n
    const u128 c1 = r % f, c2 = r / f;
    const u128 num = c2 + l * l, sub = l * c1;
    if (num < sub) return 0;
    const u128 k_max = (num - sub) / (1 + l * f);
    if (k_max > CUBE_SCAN_LIMIT || (k_max + 1) * f >= u128{1} << 63) return -1;
    return static_cast<i64>(k_max);
}

// L of the certificate: the least prime factor R can have.
u128 least_r_factor(const PrimeProofStep& s) {
    return u128{s.bound} + 1;
}

// True when F is large enough for the square-root or the cube-root test.
bool enough(const PrimeProofStep& s, u128 r) {
    if (r == 1) return true;
    const u128 l = least_r_factor(s);
    if (s.f > U128_TOP / l) return true;
    if (s.f * l + 1 > isqrt_u128(s.n)) return true;
    return cube_scan_length(s.n, s.f, r, l) >= 0;
}

// Factors r completely into F (r's primes all proven by the factoring).
bool factor_rest(PrimeProofStep& s, u128* r) {
    Factorization128 parts;
    if (factor_u128(*r, parts) == FactorStatus::Stopped) return false;
    for (int i = 0; i < parts.count; ++i) move_prime(s, r, parts.prime[i]);
    return true;
}

// Splits n - 1 until F is large enough. Stopped or Composite (a large
// cofactor that failed its proof is split instead, so only Stopped ends it).
ProofResult split_n_minus_1(PrimeProofStep& s) {
    u128 r = s.n - 1;
    s.f = 1;
    int twos = 0;
    while ((r & 1) == 0) {
        r >>= 1;
        ++twos;
    }
    add_factor(s, 2, static_cast<u64>(twos));
    const u32 tried = trial_divide(&r, TRIAL_PRIME_LIMIT - 1, [&](u32 p, u64 e) { add_factor(s, p, e); });
    s.bound = tried;
    if (r > 1 && r < u128{tried + 2} * (tried + 2)) add_factor(s, r, 1), r = 1;
    u64 budget = RHO_BUDGET_FIRST;
    while (!enough(s, r)) {
        if (bpsw_is_probable_prime(r)) {
            const ProofResult pr = is_large(r) ? prime_prove_u128(r) : ProofResult::Prime;
            if (pr == ProofResult::Stopped) return pr;
            if (pr == ProofResult::Prime) {
                add_factor(s, r, 1);
                r = 1;
                break;
            }
        }
        u128 g = 0;
        const RhoResult found = rho_find_factor(r, budget, &g);
        if (found == RhoResult::Stopped) return ProofResult::Stopped;
        if (found == RhoResult::Exhausted && budget < RHO_BUDGET_LAST) {
            budget *= 2;
            continue;
        }
        if (found == RhoResult::Exhausted) {
            if (!factor_rest(s, &r)) return ProofResult::Stopped;
            break;
        }
        Factorization128 parts;
        if (factor_u128(g, parts) == FactorStatus::Stopped) return ProofResult::Stopped;
        for (int i = 0; i < parts.count; ++i) move_prime(s, &r, parts.prime[i]);
    }
    s.r = r;
    if (r == 1) s.bound = 0;
    return ProofResult::Prime;
}

// A witness for the exponent (n - 1) / d: a^(n-1) = 1 and
// gcd(a^((n-1)/d) - 1, n) = 1. 0 when n shows itself composite.
u64 find_witness(const Mont128& ring, u128 exponent) {
    const u128 n = ring.modulus();
    for (u64 a = 2; a < WITNESS_LIMIT; ++a) {
        const u128 am = ring.to(a);
        if (mont_pow(ring, am, n - 1) != ring.one()) return 0;
        const u128 y = mont_pow(ring, am, exponent);
        if (y == ring.one()) continue;
        return gcd_u128(ring.from(y) - 1, n) == 1 ? a : 0;
    }
    return 0;
}

// The cube-root test's scan: true when no k gives a factorization.
bool cube_scan_finds_none(const PrimeProofStep& s) {
    const u128 l = least_r_factor(s);
    const i64 k_max = cube_scan_length(s.n, s.f, s.r, l);
    const u128 c1 = s.r % s.f, c2 = s.r / s.f;
    for (i64 k = 0; k <= k_max && static_cast<u128>(k) <= c2; ++k) {
        const u128 sum = c1 + static_cast<u128>(k) * s.f;
        const u128 four_t = 4 * (c2 - static_cast<u128>(k));
        if (sum * sum < four_t) continue;
        const u128 disc = sum * sum - four_t;
        if (is_square_u128(disc) && isqrt_u128(disc) < sum) return false;
    }
    return true;
}

// Witnesses and the final condition for a step whose F is large enough.
ProofResult conclude(PrimeProofStep& s) {
    const Mont128 ring(s.n);
    for (int i = 0; i < s.count; ++i) {
        if (prime_stop_requested()) return ProofResult::Stopped;
        s.witness[i] = find_witness(ring, (s.n - 1) / s.q[i]);
        if (s.witness[i] == 0) return ProofResult::Composite;
    }
    s.witness_r = 0;
    s.cube = false;
    if (s.r == 1) return ProofResult::Prime;
    s.witness_r = find_witness(ring, s.f);
    if (s.witness_r == 0) return ProofResult::Composite;
    const u128 l = least_r_factor(s);
    if (s.f > U128_TOP / l || s.f * l + 1 > isqrt_u128(s.n)) return ProofResult::Prime;
    s.cube = true;
    return cube_scan_finds_none(s) ? ProofResult::Prime : ProofResult::Composite;
}

ProofResult prove(u128 n, PrimeCertificate* cert) {
    PrimeProofStep s{};
    s.n = n;
    ProofResult result = split_n_minus_1(s);
    if (result != ProofResult::Prime) return result;
    result = conclude(s);
    if (result != ProofResult::Prime || cert == nullptr) return result;
    if (cert->steps == PROOF_STEP_SLOTS) return ProofResult::Prime;  // cannot happen: n halves per step
    cert->step[cert->steps++] = s;
    for (int i = 0; i < s.count; ++i) {
        if (is_large(s.q[i]) && prove(s.q[i], cert) == ProofResult::Stopped) return ProofResult::Stopped;
    }
    return ProofResult::Prime;
}

}  // namespace

ProofResult prime_prove_u128(u128 n, PrimeCertificate* cert) {
    if (cert != nullptr) cert->steps = 0;
    if (!bpsw_is_probable_prime(n)) return ProofResult::Composite;
    if (!is_large(n)) return ProofResult::Prime;
    const ProofResult result = prove(n, cert);
    if (result != ProofResult::Prime && cert != nullptr) cert->steps = 0;
    return result;
}
