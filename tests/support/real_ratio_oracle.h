// Exact distances between reals and rational references, for operations
// whose exact result is a ratio of the operands' digit integers: products
// (n / 1), quotients (n_a / n_b), reciprocals (1 / n). Everything is done
// in integer arithmetic; only the final distance is rounded to a double.
#pragma once

#include <gtest/gtest.h>

#include "support/gmp_oracle.h"
#include "support/test_random.h"

// (x - num / den * 10^e10) in units of the last of x's 19m digits; den
// non-zero. +-infinity when x is zero and the reference is not, or when the
// two lie more than 10^6 decimal places apart; 0 when both are zero.
double ulps_from_ratio(const u64* x, i64 m, const Mpz& num, const Mpz& den, i64 e10);

// x and its spill word as one real of m + 1 words lie within [lo, hi] units
// of the last digit from num / den * 10^e10 (on the magnitude: positive is
// above), and x rounded with the spill is within half a unit of it.
::testing::AssertionResult spill_and_rounding(const u64* x, u64 spill, i64 m, const Mpz& num,
                                              const Mpz& den, i64 e10, double lo, double hi);

// Word counts for iteration iter: 1, 2, 3, 27, 53, 263, 527 and 528 (a
// guarded body at 527) first, then random ones, mostly short.
i64 real_test_words(TestRng& rng, i64 iter);
