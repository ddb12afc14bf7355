// Primality tests on unsigned integers of mp_int_words words: the exact
// test, and the probabilistic test (trial
// division by the primes below 1000, Euler tests to bases 2 and 3, and a
// strong Lucas test with Selfridge's parameters; together with the base-2
// test this is the Baillie-PSW test, which has no known counterexample).
//
// Failures are raised in mp_error (first error wins); temporaries come from
// the library scratch area and are released before return. A stop request is
// any pending application error (appError non-zero).
#pragma once

#include "numlib/mp_types.h"

// True when the user (or an earlier failure) asked the running computation to end.
bool prime_stop_requested();

// a mod v for the mp_int_words-word a and v != 0 (no quotient is formed).
u64 uint_rem_u64(const u64* a, u64 v);

// The Jacobi symbol (a/n): +1, -1, or 0 when a and n share a factor. n must be
// odd and at least 3 (otherwise error 14 and 0). The operands are not changed.
int jacobi_symbol(const u64* a, const u64* n);

// Euler test to base 2: 2^((n-1)/2) = (2/n) mod n. n odd and > 1.
bool euler_test_base2(const u64* n);

// Euler-Jacobi test to base 3: 3^((n-1)/2) = (3/n) mod n, failing when 3
// divides n. n odd and >= 3.
bool euler_test_base3(const u64* n);

// Strong Lucas probable-prime test with P = 1 and Q = (1 - D)/4, D the first
// of 5, -7, 9, -11, ... with (D/n) = -1. A perfect square fails. n odd, not
// divisible by 3 or 5, and > 5.
bool lucas_test_strong(const u64* n);

// 0 when n passes as prime, 1 when n is composite or below 2. Numbers up to
// 1008 are looked up in the small-prime table. mp_int_words = 0: error 14
// and 1. Deterministic: the same n always gets the same answer.
u32 prime_test_probabilistic(const u64* n);

// True when n is prime, proven. Below 2^20 by trial division along the
// wheel; up to 2^128 by prime_prove_u128 (Baillie-PSW below 2^64, an n - 1
// certificate above); a longer n by trial division up to floor(sqrt(n)),
// which must then fit one word (else error 14: n counts as prime, the
// caller sees the error). A stop request ends the test early with true; the
// caller must then ignore the answer.
bool prime_test_exact(const u64* n);
