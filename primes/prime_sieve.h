// The primes of an interval below 2^64 by a segmented sieve of Eratosthenes
// over the integers coprime to 30 (one bit each, prime_wheel30.h), in
// segments the size of the first-level cache, with the multiples of the
// primes from 7 to 53 copied in from periodic patterns. It sieves with the primes up to
// sqrt(hi), or, for a short interval high up, only up to a bound that
// follows its length, and then proves each survivor with Baillie-PSW, which
// is exact below 2^64.
#pragma once

#include <cstddef>
#include <functional>

#include "numlib/mp_types.h"

enum class PrimeSieveResult {
    Done,     // every prime of the interval was delivered
    Stopped,  // emit returned false or a stop was requested; nothing was sent after that
    NoRoom,   // the library scratch area cannot hold the tables; nothing was sent
};

// Calls emit with the primes p, lo <= p <= hi, in ascending order, a batch
// at a time; emit returns false to end the run. The tables (at most about
// 1.5 MB) come from the library scratch area and are released before return;
// nothing is raised when they do not fit.
PrimeSieveResult prime_sieve_interval(u64 lo, u64 hi,
                                      const std::function<bool(const u64*, std::size_t)>& emit);

// The number of primes in [lo, hi] into *count. A stop request is seen
// once per segment (about a million integers).
PrimeSieveResult prime_sieve_count(u64 lo, u64 hi, u64* count);
