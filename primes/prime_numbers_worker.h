// The prime numbers worker: lists and counts the primes of an interval,
// finds the next prime, or tests one number, exactly (proven, two words) or
// probabilistically (Baillie-PSW, 65 words), and streams its output to a
// sink.
#pragma once

#include "numlib/mp_types.h"
#include "primes/prime_output.h"

enum : u32 { PRIME_METHOD_EXACT = 1, PRIME_METHOD_PROBABILISTIC = 2 };
// PRIME_OP_COUNT counts the primes of the interval as PRIME_OP_INTERVAL
// does, and prints only the count line ("Number of prime numbers: 4").
enum : u32 { PRIME_OP_INTERVAL = 1, PRIME_OP_NEXT = 2, PRIME_OP_TEST = 3, PRIME_OP_COUNT = 4 };

// The sizes the methods take, as the prime numbers page labels them: the
// exact method works on two words (every number below 2^128, which has 38
// or 39 digits), the probabilistic one on 65 words.
constexpr int PRIME_EXACT_DIGITS_MIN = 38;
constexpr int PRIME_EXACT_DIGITS_MAX = 39;
constexpr int PRIME_PROBABILISTIC_DIGITS_MAX = 1253;

struct SPrimeNumberCalc {
    u32 method;         // PRIME_METHOD_*; any other value: nothing but done()
    u32 operation;      // PRIME_OP_*
    const u64* number;  // n >= 1, mp_int_words words, valid until done()
    i64 interval_size;  // 1 .. 2147483647 (the caller sets the maximum for next and test)
    u32 format_flags;   // NUM_TEXT_GROUP or 0
    u32 base;           // 2, 8, 10 or 16
};

// Runs the whole computation on the calling thread and ends with sink.done().
// A stop request (appError set to 9003 from any thread) ends it early without
// verdict or trailer. A pending library error is folded into the application
// error at the end: 35 gives 9003, 20 gives 9002, 30 gives 9000, any other
// 3000 ("Overflow in prime number calculation!").
void prime_numbers_worker(const SPrimeNumberCalc& calc, PrimeOutputSink& sink);

// Starts prime_numbers_worker on a detached thread with a copy of calc.
void prime_numbers_start_thread(const SPrimeNumberCalc& calc, PrimeOutputSink& sink);
