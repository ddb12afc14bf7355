// Elementary functions of real values. Each reduces its argument with exact
// or stored constants, then sums a series or iterates Newton's method until
// the working precision of 19 * mp_real_words - mp_guard_digits digits is
// reached. The application calls them inside a guarded call (real.h) with
// g = 2, the factorial with g = 19, so they run with one extra word and the
// caller rounds once.
//
// Series stopping rule: add terms while no error is pending, the term is
// non-zero and exponent(sum) - exponent(term) < 19 m - mp_guard_digits - 1.
//
// Domain violations raise error 14 and give +0; an exponential that
// overflows raises 10 and gives +0; underflow gives +0 silently. dst may be
// the same array as any operand.
#pragma once

#include "numlib/mp_types.h"

// ---- roots and powers ---------------------------------------------------------

void real_sqrt(u64* dst, const u64* x);            // x >= 0
void real_cbrt(u64* dst, const u64* x);            // all x
void real_pow_int(u64* dst, const u64* x, i64 n);  // x != 0 or n > 0; 0^0 = 1
void real_pow(u64* dst, const u64* x,
              const u64* y);  // x < 0 only for integer y; x = 0 only for y > 0
void real_root(u64* dst, const u64* n, const u64* x);  // n != 0; x < 0 only for an odd integer n
void real_root_int(u64* dst, i64 n,
                   const u64* x);  // n != 0; x < 0 only for odd n; x = 0 only for n > 0
void real_hypot(u64* dst, const u64* a, const u64* b);

// ---- exponentials and logarithms --------------------------------------------

// 10^u for u = x * the constant-table entry idx (REAL_CONST_INV_LN10: e^x,
// REAL_CONST_LOG10_2: 2^x), or u = x for REAL_EXP_UNSCALED.
constexpr i32 REAL_EXP_UNSCALED = -1;
void real_exp_core(u64* dst, const u64* x, i32 idx);
void real_exp(u64* dst, const u64* x);
void real_exp10(u64* dst, const u64* x);
void real_exp2(u64* dst, const u64* x);
void real_ln(u64* dst, const u64* x);                  // x > 0
void real_log10(u64* dst, const u64* x);               // x > 0
void real_log2(u64* dst, const u64* x);                // x > 0
void real_logx(u64* dst, const u64* b, const u64* x);  // x > 0, b > 0, b != 1
void real_ln1p(u64* dst, const u64* x);                // x > -1

// ---- trigonometric functions (radians) ----------------------------------------

void real_sin(u64* dst, const u64* x);
void real_cos(u64* dst, const u64* x);
void real_tan(u64* dst, const u64* x);
void real_asin(u64* dst, const u64* x);  // -1 <= x <= 1
void real_acos(u64* dst, const u64* x);  // -1 <= x <= 1
void real_atan(u64* dst, const u64* x);
void real_atan2(u64* dst, const u64* y, const u64* x);  // the argument of the point (x, y)
void real_deg_to_rad(u64* dst, const u64* x);
void real_grad_to_rad(u64* dst, const u64* x);
void real_rad_to_deg(u64* dst, const u64* x);
void real_rad_to_grad(u64* dst, const u64* x);

// ---- hyperbolic functions -----------------------------------------------------

void real_sinh(u64* dst, const u64* x);
void real_cosh(u64* dst, const u64* x);
void real_tanh(u64* dst, const u64* x);
void real_asinh(u64* dst, const u64* x);
void real_acosh(u64* dst, const u64* x);  // x >= 1
void real_atanh(u64* dst, const u64* x);  // -1 < x < 1

// ---- integer functions --------------------------------------------------------

// x! for a non-negative integer x within i64 (else error 14); direct product
// below the switch-over point, asymptotic series above it (cache full: 34).
void real_factorial(u64* dst, const u64* x);
// Integral non-negative n, k (else error 14); as uint_perm_comb.
void real_perm_comb(u64* dst, const u64* n, const u64* k, i64 limit, bool perm);
// gcd and lcm of positive integers (else error 14) by Euclid's algorithm on
// exact remainders; limit > 0 bounds the quotient digits of each division
// step (error 14 beyond it), so that a pair such as (10^9000000, 3) ends at
// once instead of after a long run.
void real_gcd(u64* dst, const u64* a, const u64* b, i64 limit);
void real_lcm(u64* dst, const u64* a, const u64* b, i64 limit);
void real_trunc(u64* dst, const u64* x);  // toward zero
void real_frac(u64* dst, const u64* x);   // x - trunc(x)
void real_pow2(u64* dst, i64 k);          // exact 2^k
