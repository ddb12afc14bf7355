// Proven primality of two-word numbers. Below 2^64 the Baillie-PSW test is
// exact (prime_bpsw.h). From 2^64 on, a number that passes Baillie-PSW gets
// an n - 1 certificate in the manner of Pocklington and of Brillhart,
// Lehmer and Selfridge (Math. Comp. 29 (1975)):
//
// n - 1 = F R with F completely factored into proven primes q, and
// gcd(F, R) = 1. For each q a witness a with a^(n-1) = 1 and
// gcd(a^((n-1)/q) - 1, n) = 1 shows that every prime p dividing n has
// p = 1 mod F. When R > 1, R has no prime factor up to the bound b (trial
// division), and a witness a with a^(n-1) = 1 and gcd(a^F - 1, n) = 1 adds
// that some prime r > b of R divides p - 1, so p >= F L + 1 with L = b + 1
// (L = 1 when R = 1). Then:
//  - if (F L + 1)^2 > n, every prime factor exceeds sqrt(n): n is prime;
//  - else if (F L + 1)^3 > n, a composite n is p q with p = aF + 1,
//    q = bF + 1, a, b >= L. Writing R = c2 F + c1 (0 <= c1 < F), a + b =
//    c1 + kF and ab = c2 - k for some k >= 0, and (a - L)(b - L) >= 0 bounds
//    k <= (c2 + L^2 - L c1) / (1 + L F). n is prime exactly when for no such
//    k is (c1 + kF)^2 - 4 (c2 - k) the square d^2 of some d < c1 + kF.
#pragma once

#include "numlib/mp_types.h"

constexpr int PROOF_PRIME_SLOTS = 26;
constexpr int PROOF_STEP_SLOTS = 64;  // each step's large prime is below half the last

// One n - 1 certificate. A prime q of F at or above 2^64 is proven by a
// later step of the same certificate.
struct PrimeProofStep {
    u128 n;
    u128 f;       // the factored part of n - 1
    u128 r;       // (n - 1) / f
    u64 bound;    // r has no prime factor up to bound (0 when r = 1)
    u64 witness_r;  // the witness for r (0 when r = 1)
    bool cube;    // the cube-root test decided (else the square-root one)
    int count;
    u128 q[PROOF_PRIME_SLOTS];
    u64 e[PROOF_PRIME_SLOTS];
    u64 witness[PROOF_PRIME_SLOTS];
};

struct PrimeCertificate {
    int steps;
    PrimeProofStep step[PROOF_STEP_SLOTS];
};

enum class ProofResult { Prime, Composite, Stopped };

// Decides whether n is prime, proven. With cert, a certificate of a prime n
// at or above 2^64 is written to it (steps = 0 below 2^64 and for
// composites). Stopped: a stop request ended the factoring of n - 1.
ProofResult prime_prove_u128(u128 n, PrimeCertificate* cert = nullptr);
