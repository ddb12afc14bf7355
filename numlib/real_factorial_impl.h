// The coefficient cache of the factorial's asymptotic series (internal).
#pragma once

#include "numlib/mp_types.h"

// Rows the cache holds at most, and the largest row: the widest working
// precision (527 words plus the guard word) with its header.
constexpr i32 REAL_FACTORIAL_ROWS = 3000;
constexpr i32 REAL_FACTORIAL_ROW_WORDS = 529;

// The k-th coefficient (k >= 1) of the Stirling series of ln n!,
// (-1)^(k+1) T_k / ((16^k - 4^k)(2k - 1)) with the tangent numbers T_k, at
// the current precision (mp_real_words + 1 words). The tangent numbers come
// from the boustrophedon triangle, which the cache extends as needed and
// keeps for later calls at the same precision; another precision rebuilds it.
// Returns nullptr on an error: 34 when the triangle would need more than
// REAL_FACTORIAL_ROWS rows. The pointer stays valid until the next call.
const u64* real_factorial_coef(i32 k);

// Forgets the cache (for tests: the next call rebuilds it).
void real_factorial_cache_clear();

// Smallest n whose factorial takes Stirling's series at w working words.
i64 real_factorial_switch_over(i64 w);

// The Stirling series sum_k c_k / x^(2k - 1) of ln x! (the correction to
// (x + 1/2) ln x - x + ln(2 pi) / 2) to the working precision, for x at
// least the switch-over point. sum may not be x.
void real_stirling_sum(u64* sum, const u64* x);

// Permutations (perm) or combinations of the integers n >= k >= 0 with
// s = n - k through ln x!: e^(ln n! - ln s! [- ln k!]), evaluated without
// cancellation. The work depends on the precision only; a result beyond the
// exponent range raises error 10 and gives +0.
void real_perm_comb_gamma(u64* dst, const u64* n, const u64* k, const u64* s, bool perm);
