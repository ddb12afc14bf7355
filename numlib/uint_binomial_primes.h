// Binomial coefficients from prime factorisations (not part of the public
// interface).
#pragma once

#include "numlib/uint_impl.h"

// Largest n that uint_binomial_by_primes takes: its sieve of the odd numbers
// up to n takes n / 128 words of scratch.
constexpr u64 UINT_BINOMIAL_SIEVE_MAX = u64{1} << 22;

// C(n, k) for k <= n <= UINT_BINOMIAL_SIEVE_MAX, known to have at most
// max_bits bits, into scratch taken from mark; *len its significant length,
// 0 when stopped or out of scratch (error 30, also raised when max_bits was
// too small).
u64* uint_binomial_by_primes(u64 n, u64 k, i64 max_bits, i64* len, ScratchMark& mark);
