// Prime factorization of numbers below 2^128 (prime_split.h), and the
// sorted list of all divisors built from the factorization.
#pragma once

#include "numlib/mp_types.h"

constexpr int PRIME_FACTOR_SLOTS = 26;  // distinct primes of any n < 2^128
constexpr i64 DIVISOR_LIST_CAPACITY = 16384;
constexpr i64 DIVISOR_LEVEL_CAPACITY = 4096;  // divisors with the same number of prime factors

struct PrimeFactorList {
    i64 count;                          // distinct primes, or -1 when they did not fit the slots
    u64 primes[PRIME_FACTOR_SLOTS][2];  // ascending, two words, low word first
    u64 multiplicities[PRIME_FACTOR_SLOTS];
};

struct DivisorList {
    i64 count;         // -1 after an overflow of the list or of a level
    u64 (*values)[2];  // DIVISOR_LIST_CAPACITY slots, ascending
};

// Fills list with the prime factors of the two-word n (empty for n < 2).
// Requires mp_int_words = 2; otherwise count = -1 and application error 9000.
// A stop request ends the factorization early, with an incomplete list that
// the caller must ignore.
void prime_factorize(PrimeFactorList& list, const u64* n);

// Puts value into the sorted list after its last entry that is not larger.
// A full list (or count -1) becomes count -1.
void divisor_list_insert(DivisorList& list, const u64* value);

// Fills list with every divisor of the number whose factorization is
// factors, ascending; { 1 } for an empty factorization. count = -1 when
// factors.count is -1, when there are more than 16384 divisors or more than
// 4096 with the same number of prime factors (counted with multiplicity),
// or when a multiplicity exceeds 255. Needs mp_int_words = 2; temporaries
// come from the library scratch area.
void divisors_from_factors(DivisorList& list, const PrimeFactorList& factors);
