// The primes of an interval below 2^40 by a segmented sieve of Eratosthenes
// over the odd numbers: the fast path of the exact interval listing, giving
// the same primes as trial division along the wheel.
#pragma once

#include <functional>

#include "numlib/mp_types.h"

// Intervals must end below this bound, so that the sieving primes stay below
// 2^20 and their tables small.
constexpr u64 PRIME_SIEVE_LIMIT = u64{1} << 40;

enum class PrimeSieveResult {
    Done,     // every prime of the interval went to emit
    Stopped,  // emit returned false; nothing was sent after that
    NoRoom,   // the library scratch area cannot hold the tables; emit was never called
};

// Calls emit with each prime p, lo <= p <= hi, in ascending order; emit
// returns false to end the run. Needs lo <= hi < PRIME_SIEVE_LIMIT. The
// tables (at most about 1 MB) come from the library scratch area and are
// released before return; nothing is raised when they do not fit.
PrimeSieveResult prime_sieve_interval(u64 lo, u64 hi, const std::function<bool(u64)>& emit);
