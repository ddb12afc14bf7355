// Decimal floating-point numbers of m = mp_real_words mantissa words.
//
// Layout (m + 1 words): word 0 is the header, 2e + sign, with the decimal
// exponent e a signed value in -(2^62 - 1) .. 2^62 - 1 (read it with an
// arithmetic shift right by one) and the sign in bit 0 (1 = negative);
// words 1..m are base-10^19 digits, most significant first. The value is
// (w1 + w2 10^-19 + w3 10^-38 + ...) * 10^(e - 18): word 1 holds the units
// digit and 18 digits after it. A non-zero value is normalised (word 1 in
// [10^18, 10^19 - 1]); any value whose word 1 is 0 is zero, with exponent 0
// and a sign that may be set.
//
// Range rules for a new exponent e: e >= 2^62 raises error 10 and the value
// becomes +0; e < -(2^62 - 1) makes the value zero with its sign, silently.
//
// A spill word (below 10^19) is the next 19 digits below word m that an
// operation returns instead of rounding; real_round_guard rounds with it.
//
// Errors follow the library's discipline (mp_error.h): first error wins, a
// failed routine's result is +0. Unless a contract says otherwise dst may be
// the same array as any operand.
#pragma once

#include "numlib/mp_types.h"

constexpr u64 REAL_BASE = 10000000000000000000ULL;  // 10^19
constexpr u64 REAL_TOP = 1000000000000000000ULL;    // 10^18, smallest normalised word 1
constexpr i64 REAL_EXP_MAX = (i64{1} << 62) - 1;
constexpr i64 REAL_EXP_MIN = -REAL_EXP_MAX;

// ---- header access ----------------------------------------------------------

inline i64 real_exp_of(const u64* x) {
    return static_cast<i64>(x[0]) >> 1;
}
inline int real_sign(const u64* x) {
    return static_cast<int>(x[0] & 1);
}
inline bool real_is_zero(const u64* x) {
    return x[1] == 0;
}
inline void real_set_header(u64* x, i64 e, int sign) {
    x[0] = (static_cast<u64>(e) << 1) | static_cast<u64>(sign & 1);
}
inline void real_negate(u64* x) {
    x[0] ^= 1;
}

// ---- construction and exponent ---------------------------------------------

void real_zero(u64* dst, int sign);  // header = sign, mantissa 0
void real_one(u64* dst);
void real_copy(u64* dst, const u64* src);
// Keeps the sign and sets the exponent by the range rules.
void real_set_exp(u64* x, i64 e);
// Sets exponent and sign; false when the range rules replaced x by zero.
bool real_set_exp_sign(u64* x, i64 e, int sign);
// Adds k to the exponent: a sum beyond the range is error 10 and +0 (also
// when it would wrap), one below it a signed zero.
void real_add_exp(u64* x, i64 k);
// kind 0: +0; 10: smallest positive; 11: largest; 100: pi (guarded); other:
// error 14 and +0.
void real_special(u64* dst, i32 kind);
void real_pow10(u64* dst, i64 k);  // 10^k (guarded)
// Exact conversions; they return the spill (the last digit of a 20-digit
// value when m = 1), 0 otherwise.
u64 real_from_i64(u64* dst, i64 v);
u64 real_from_u64(u64* dst, u64 v);
// The integer {a, count} (binary words) in decimal, truncated to m words.
// Needs more decimal words than reserved: error 33.
void real_from_uint(u64* dst, i32 count, const u64* a);
// Loads a stored constant {t (u32 in the low half of word 0), header, t - 1
// mantissa words}: copies min(t - 1, m) words and zero-fills the rest.
// t < 2: error 14 and +0.
void real_from_packed(u64* dst, const u64* packed);
// Copy between precisions: growing zero-fills, shrinking rounds half up with
// the first dropped word. A count below 1: error 30.
void real_resize(u64* dst, i32 dst_m, const u64* src, i32 src_m);

// ---- comparison and tests --------------------------------------------------

int real_cmp(const u64* a, const u64* b);  // -1/0/+1 by value; zeros are equal
int real_cmp_abs(const u64* a, const u64* b);
int real_cmp_i64(const u64* a, i64 v);  // exact
// |x| >= (d9 / 10^8) * 10^e for a 9-digit d9 (d9 < 10^8: error 14); for x = 0
// true only when d9 = 0.
bool real_abs_at_least(const u64* x, u64 d9, i64 e);
bool real_is_integer(const u64* x);  // no non-zero digit below the units digit
bool real_is_even(const u64* x);     // units digit even; true for |x| < 1

// ---- arithmetic -------------------------------------------------------------

// a + b, or a - b when sub is 1; returns the spill.
u64 real_add_sub(u64* dst, const u64* a, const u64* b, int sub);
// Rounds x half up on the magnitude at mantissa word `words` with the spill.
void real_round_guard(u64* x, u64 spill, i32 words);
// Truncated product: the top m + 1 words of the mantissa product; returns
// word m + 1 as the spill.
u64 real_mul(u64* dst, const u64* a, const u64* b);
u64 real_mul_u64(u64* dst, const u64* a, u64 v);
// 1/a by Newton's iteration. a = 0: error 13, +0.
void real_recip(u64* dst, const u64* a);
u64 real_div(u64* dst, const u64* a, const u64* b);  // b = 0: error 13
u64 real_div_u64(u64* dst, const u64* a, u64 v);     // v = 0: error 13
// Integer quotient truncated toward zero and exact remainder; q or r may be
// nullptr. b = 0: error 13; limit > 0 and a quotient of more than limit
// digits: error 14.
void real_divmod(u64* q, u64* r, const u64* a, const u64* b, i64 limit);
// Rounds half up to k significant digits (k = 0: to a power of ten or 0).
void real_round_digits(u64* dst, const u64* a, i32 k);
// True when the digits of x below its k-th significant one lie within margin
// units of x's last digit of one half of the k-th digit's unit: rounding to
// k digits could go either way for a value that close to x. False for zero
// and when k keeps every digit.
bool real_near_tie(const u64* x, i32 k, u64 margin);

// Conversion flags.
enum : u32 {
    REAL_CONV_QUIET = 1,     // no error on failure
    REAL_CONV_TRUNCATE = 2,  // drop a fraction instead of failing
    REAL_CONV_ABS = 4,       // real_to_u64: accept a negative value, give its magnitude
};
bool real_to_i64(i64* out, const u64* x, u32 flags);
bool real_to_u64(u64* out, const u64* x, u32 flags);
// The integer part into count binary words; too large: error 12.
void real_to_uint(u64* dst, i32 count, const u64* x);

// ---- guarded calls ----------------------------------------------------------
// A guarded call runs its body at m + 1 words (operands widened with a zero
// word), with mp_guard_words = 1 and mp_guard_digits = 19 - g, then rounds the
// result to m words with the extra word as spill. Guarded calls do not nest.

using RealUnaryFn = void (*)(u64* dst, const u64* a);
using RealBinaryFn = void (*)(u64* dst, const u64* a, const u64* b);
using RealBinaryIntFn = void (*)(u64* dst, const u64* a, const u64* b, i64 k, int v);

void real_guarded_unary(u64* dst, const u64* a, i32 g, RealUnaryFn fn);
void real_guarded_binary(u64* dst, const u64* a, const u64* b, i32 g, RealBinaryFn fn);
// With mp_guard_digits = 0.
void real_guarded_binary_int(u64* dst, const u64* a, const u64* b, i64 k, int v,
                             RealBinaryIntFn fn);
// A unary body with a machine-integer parameter, such as real_pow_int.
using RealIntFn = void (*)(u64* dst, const u64* a, i64 k);
void real_guarded_int(u64* dst, const u64* a, i64 k, i32 g, RealIntFn fn);
