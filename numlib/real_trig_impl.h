// Internals shared by the trigonometric routines: the long pi/4 table of the
// argument reduction and the series evaluators.
#pragma once

#include "numlib/mp_context.h"
#include "numlib/real.h"

// pi/4 beyond the 528 words of the constant table: reducing an argument
// close to a multiple of pi/4 cancels up to about as many digits as the
// precision has, so the reduction needs twice the largest working precision.
constexpr i32 REAL_PI4_LONG_WORDS = 1064;
extern const u64 REAL_PI4_LONG[REAL_PI4_LONG_WORDS];

// 4/pi far beyond the constant table, for arguments whose octant count does
// not fit a word: their reduction reads the digits of 4/pi from about the
// argument's exponent on, two to three working precisions deep. The table
// covers every precision for arguments below 10^REAL_TRIG_EXP_LIMIT.
constexpr i32 REAL_4_OVER_PI_LONG_WORDS = 6400;
extern const u64 REAL_4_OVER_PI_LONG[REAL_4_OVER_PI_LONG_WORDS];
constexpr i64 REAL_TRIG_EXP_LIMIT = 100000;

// Reduces y >= 0 (an m + 1 word real) to r = y - q pi/4 with |r| <= pi/4
// (a little more when the estimate of q is off by one near an octant
// boundary) and returns the octant q mod 8. r is good to a unit or two of its
// last word whatever the size of y; y of 10^REAL_TRIG_EXP_LIMIT or more
// raises error 14 (result -1, r = +0). r may be y.
int real_trig_reduce(u64* r, const u64* y);

// The even series in x = r^2 of the trigonometric functions, summed at the
// working precision (x >= 0, small): when want_sin, sin_over_r =
// sum (-1)^n x^n / (2n + 1)!; when want_cos, cos_out = sum (-1)^n x^n / (2n)!.
// Either output may be nullptr when not wanted; neither may be x.
void real_trig_series(u64* sin_over_r, u64* cos_out, const u64* x);

// The versine series sum (-1)^n x^n / (2n + 2)! in x = r^2 (x >= 0, small),
// so that 1 - cos r = x * result without cancellation. dst may not be x.
void real_versine_series(u64* dst, const u64* x);

// The arctangent series sum (-1)^n x^n / (2n + 1) in x = t^2 (0 <= x < 1,
// small), so that atan t = t * result. dst may not be x.
void real_atan_series(u64* dst, const u64* x);

// ---- rounded arithmetic at the current precision -------------------------------
// The real layer returns spill words; these round with them at once.

inline void trig_mul(u64* dst, const u64* a, const u64* b) {
    real_round_guard(dst, real_mul(dst, a, b), mp_real_words);
}
inline void trig_div(u64* dst, const u64* a, const u64* b) {
    real_round_guard(dst, real_div(dst, a, b), mp_real_words);
}
inline void trig_add(u64* dst, const u64* a, const u64* b, int sub) {
    real_round_guard(dst, real_add_sub(dst, a, b, sub), mp_real_words);
}
inline void trig_mul_u64(u64* dst, const u64* a, u64 v) {
    real_round_guard(dst, real_mul_u64(dst, a, v), mp_real_words);
}
inline void trig_div_u64(u64* dst, const u64* a, u64 v) {
    real_round_guard(dst, real_div_u64(dst, a, v), mp_real_words);
}

// Digits the series and iterations must make exact.
inline i64 trig_work_digits() {
    return 19 * i64{mp_real_words} - mp_guard_digits;
}

// log10 |x| to about 15 digits; x non-zero.
double trig_log10_abs(const u64* x);
