// Exact distances between reals and rational references, for operations
// whose exact result is a ratio of the operands' digit integers: products
// (n / 1), quotients (n_a / n_b), reciprocals (1 / n). Everything is done
// in integer arithmetic; only the final distance is rounded to a double.
#pragma once

#include "support/gmp_oracle.h"

// (x - num / den * 10^e10) in units of the last of x's 19m digits; den
// non-zero. +-infinity when x is zero and the reference is not, or when the
// two lie more than 10^6 decimal places apart; 0 when both are zero.
double ulps_from_ratio(const u64* x, i64 m, const Mpz& num, const Mpz& den, i64 e10);

// x with its spill word as one real of m + 1 words (header, m words, spill).
std::vector<u64> with_spill(const u64* x, i64 m, u64 spill);
