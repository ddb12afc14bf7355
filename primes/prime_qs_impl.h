// Shared state of the quadratic sieve's three stages: the factor base and
// polynomials (prime_qs_poly.cpp), sieving and relations (prime_qs.cpp), and
// the linear algebra and square root (prime_qs_solve.cpp).
//
// With a multiplier k, each polynomial is Q(x) = A x^2 + 2 B x + C with
// B^2 = kN mod A and C = (B^2 - kN) / A, so that (A x + B)^2 - kN = A Q(x)
// and (A x + B)^2 = A Q(x) mod N. A relation is an x whose A Q(x) factors
// over the factor base, possibly times one large prime.
#pragma once

#include "numlib/mp_types.h"
#include "primes/prime_montgomery.h"

namespace qs {

constexpr int MAX_FB = 640;      // factor-base primes (index 0 stands for -1, 1 for 2)
constexpr int MAX_A_PRIMES = 12;  // primes in A
constexpr int EXTRA_RELATIONS = 40;
constexpr int MAX_RELATIONS = MAX_FB + EXTRA_RELATIONS;
constexpr int MAX_PARTIALS = 6000;
constexpr int PARTIAL_HASH = 1 << 14;
constexpr int MAX_TERMS = 32;      // distinct factor-base primes of one A Q(x)
constexpr int SIEVE_BYTES = 1 << 16;  // x from -M to M - 1, M = SIEVE_BYTES / 2
constexpr int MATRIX_WORDS = (MAX_RELATIONS + 63) / 64;

// kN in three words (k < 128, N < 2^128).
struct Wide {
    u64 w[3];
};

// One factored A Q(x): y = A x + B mod N, and the factor-base primes of
// A Q(x) with their exponents, times large (1 when there is no large prime).
struct Record {
    u128 y;
    u64 large;
    std::uint16_t terms;
    std::uint16_t index[MAX_TERMS];
    u8 exponent[MAX_TERMS];
};

// A relation: one full record, or two partial records sharing their large prime.
struct Relation {
    i32 first;
    i32 second;  // -1 for a full record
};

struct State {
    u128 n;
    u64 k;
    Wide kn;
    int fb_size;
    int small_skip;  // primes below this index are not sieved
    u32 prime[MAX_FB];
    u8 logp[MAX_FB];
    u32 root[MAX_FB];  // sqrt(kN) mod p
    u32 recip[MAX_FB];  // ceil(2^32 / p): i mod p = i - p ((i recip) >> 32) for i, p < 2^16
    // The current A and its polynomials.
    u64 a;
    int s;
    int a_index[MAX_A_PRIMES];
    u64 b_part[MAX_A_PRIMES];  // B_l: B = sum of +-B_l
    i64 b;
    i128 c;
    u32 soln1[MAX_FB];
    u32 soln2[MAX_FB];
    u32 bainv[MAX_A_PRIMES][MAX_FB];  // 2 B_l / A mod p
    bool in_a[MAX_FB];
    u64 used_a[256];
    int used_a_count;
    u64 rng;
    // Sieve and relations.
    u8 threshold;
    u64 large_bound;
    u8 sieve[SIEVE_BYTES];
    Record full[MAX_RELATIONS];
    int full_count;
    Record partial[MAX_PARTIALS];
    int partial_count;
    i32 partial_hash[PARTIAL_HASH];
    Relation relation[MAX_RELATIONS];
    int relation_count;
    int relations_wanted;
    u64 matrix[MAX_RELATIONS][MATRIX_WORDS * 2];  // columns (primes), then history
};

// Chooses k and the factor base (a larger one for a later attempt); false
// when a factor-base prime divides N (then *factor holds it).
bool setup(State& st, u128 n, int attempt, u128* factor);
// Chooses a new A and sets the first polynomial of it; false when no new A is found.
bool first_polynomial(State& st);
// Moves to polynomial number i (1 .. 2^(s-1) - 1) of the current A.
void next_polynomial(State& st, int i);
// Looks for a split among the relations; true with *factor set.
bool solve(State& st, u128* factor);

}  // namespace qs
