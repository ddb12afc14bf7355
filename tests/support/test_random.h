// Reproducible randomness for tests: the seed comes from VELMARIX_TEST_SEED
// (a fresh one is drawn and reported otherwise); VELMARIX_TEST_ITERATIONS
// multiplies the iteration counts for long soak runs.
#pragma once

#include <random>
#include <string>

#include "numlib/mp_types.h"

u64 test_seed();
// base * the iteration multiplier (at least 1).
i64 test_iterations(i64 base);
// "VELMARIX_TEST_SEED=<seed>", for SCOPED_TRACE so every failure names its seed.
std::string test_seed_text();

class TestRng {
  public:
    explicit TestRng(u64 seed = test_seed()) : gen_(seed) {}
    u64 word() { return gen_(); }
    // Uniform in [lo, hi].
    i64 range(i64 lo, i64 hi) { return std::uniform_int_distribution<i64>(lo, hi)(gen_); }
    bool chance(int percent) { return range(1, 100) <= percent; }
    // A word count from 1 to max, weighted towards 1, 2, 65, 520, 1039, 2000
    // (those above max are skipped) and their neighbours.
    i64 word_count(i64 max = 2000);
    // A word of varied structure: random, 0, all ones, one bit, a small value.
    u64 structured_word();
    // Fills {dst, n}: the lowest len words random (structured), the top of
    // them non-zero, the rest 0.
    void fill(u64* dst, i64 n, i64 len);

  private:
    std::mt19937_64 gen_;
};
