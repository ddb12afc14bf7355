// The prime factors worker: the factorization or the divisor list of each
// number of a run of consecutive numbers below 2^128, streamed to a sink.
#pragma once

#include "numlib/mp_types.h"
#include "primes/prime_factor.h"
#include "primes/prime_output.h"

struct SPrimeFactorCalc {
    u8 divisors;        // 1 = divisor lists, 0 = prime factors
    u8 show_count;      // 1 = the number of divisors after each divisor list
    u64 number[2];      // the first number, >= 1, low word first
    i32 interval_size;  // numbers to treat, 1 .. 1000000
    u32 format_flags;   // NUM_TEXT_GROUP or 0
    u32 base;           // 2, 8, 10 or 16
};

// Runs the whole computation on the calling thread (mp_int_words must be 2)
// and ends with sink.done(). One line per number: "360 = 2^3 * 3^2 * 5" or
// "D 12 = { 1, 2, 3, 4, 6, 12 }  [6]". Ends early on a stop request (9003,
// nothing printed for the number at hand), on a library error (3100 unless
// mapped to 9003, 9002 or 9000), or at a number with too many factors or
// divisors (3101 with the number as its insert).
void prime_factors_worker(const SPrimeFactorCalc& calc, PrimeOutputSink& sink);

// Starts prime_factors_worker on a detached thread with a copy of calc.
void prime_factors_start_thread(const SPrimeFactorCalc& calc, PrimeOutputSink& sink);
