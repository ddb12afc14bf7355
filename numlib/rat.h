// Exact fractions of n = mp_int_words words per part.
//
// Layout (2n + 1 words): word 0 holds the sign in bit 0 (1 = negative, the
// other bits 0); words 1..n the numerator and words n+1..2n the denominator,
// each a uint of n words. Every value is in lowest terms with a non-zero
// denominator, so equal values have equal words: zero is 0/1 with sign 0 and
// an integer has denominator 1. Operands are assumed to be in this form;
// malformed ones give some value or an error, never a crash.
//
// Intermediate products are formed at double width and reduced before they
// are narrowed back to n words, so a result fits (and error 12 is raised)
// exactly when its lowest-terms form fits.
//
// Errors follow the library's discipline (mp_error.h). The arithmetic
// routines are isolated: they run whatever error is pending, put a pending
// error back afterwards, and leave their result 0/1 when they fail
// themselves. Codes: 12 result does not fit, 13 division by zero, 14 argument
// outside the domain, 18 result not rational, 30 scratch exhausted or a bad
// conversion. Unless a contract says otherwise dst may be the same array as
// any operand.
#pragma once

#include "numlib/mp_context.h"

// ---- layout -----------------------------------------------------------------

inline u64* rat_num(u64* x) {
    return x + 1;
}
inline const u64* rat_num(const u64* x) {
    return x + 1;
}
inline u64* rat_den(u64* x) {
    return x + 1 + mp_int_words;
}
inline const u64* rat_den(const u64* x) {
    return x + 1 + mp_int_words;
}
inline int rat_sign(const u64* x) {
    return static_cast<int>(x[0] & 1);
}

// ---- construction and conversion ----------------------------------------------

void rat_zero(u64* dst);                  // 0/1, sign 0
void rat_copy(u64* dst, const u64* src);  // 2n + 1 words
void rat_from_i64(u64* dst, i64 v);       // v/1 with the sign of v
void rat_from_u64(u64* dst, u64 v);       // v/1
// Copies between word counts (each part src_words -> dst_words). A count below
// 1 or overlapping arrays: error 30 (dst becomes 0/1 when dst_words >= 1).
// Shrinking needs both parts to fit, else error 12 and 0/1.
void rat_resize(u64* dst, i32 dst_words, const u64* src, i32 src_words);

// Flags of rat_to_u64.
enum : u32 {
    RAT_TO_U64_QUIET = 1,  // fail without raising an error
    RAT_TO_U64_FLOOR = 2,  // accept a non-integer, giving floor(|num| / den)
    RAT_TO_U64_ABS = 4,    // accept a negative value, giving its magnitude
};
// The magnitude of x as a u64. Fails (false, *out = 0, error 14 unless
// RAT_TO_U64_QUIET) when x is not an integer without RAT_TO_U64_FLOOR, is
// negative and non-zero without RAT_TO_U64_ABS, or does not fit 64 bits.
bool rat_to_u64(u64* out, const u64* x, u32 flags);

// kind 0: 0/1; 10: the smallest positive value 1/(2^64n - 1); 11: the largest
// value (2^64n - 1)/1; any other kind: error 14 and 0/1.
void rat_special(u64* dst, i32 kind);

// Brings the n-word num/den to lowest terms in place. A zero numerator makes
// the denominator 1. A zero denominator under a non-zero numerator is error
// 13 and gives 0/1. num and den must not overlap.
void rat_reduce(u64* num, u64* den);

// ---- comparison ---------------------------------------------------------------

int rat_cmp_abs(const u64* a, const u64* b);  // |a| against |b|: -1, 0, +1
int rat_cmp_i64(const u64* a, i64 v);         // a against v: -1, 0, +1

// ---- arithmetic (isolated; dst 0/1 on error) --------------------------------

// a + b, or a - b when sub. Too long: error 12.
void rat_add_sub(u64* dst, const u64* a, const u64* b, bool sub);
// a * b, or a / b when div. Too long: error 12. Dividing a non-zero a by 0:
// error 13; 0 / 0 gives 0 without error.
void rat_mul_div(u64* dst, const u64* a, const u64* b, bool div);
void rat_mul_u64(u64* dst, const u64* a, u64 v);  // a * v; too long: error 12
// a / v; too long: error 12; v = 0: error 13 unless a = 0 (then 0).
void rat_div_u64(u64* dst, const u64* a, u64 v);
void rat_inv(u64* dst, const u64* a);  // 1 / a; a = 0: error 13
// Integer division of rationals: q = trunc(a / b) (denominator 1) and r of
// magnitude |a| - |q| |b| < |b|, both with the sign sign(a) XOR sign(b) when
// non-zero. So a = q b + r for b > 0 and a = q b - r for b < 0 (7 by -2
// gives q = -3, r = -1; -7 by -2 gives q = 3, r = 1), as real_divmod does.
// q or r may be nullptr; each may equal a or b; q and r must be different
// arrays. b = 0: error 13; a part too long: error 12; q and r 0/1 on error.
void rat_divmod(u64* q, u64* r, const u64* a, const u64* b);

// ---- powers, roots, logarithms (isolated; dst 0/1 on error) -----------------

// a^k; a^0 = 1 (also for a = 0); a negative k inverts (0^k, k < 0: error 13).
// Too long: error 12.
void rat_pow_int(u64* dst, const u64* a, i64 k);
// a^b for b = p/q. q = 1: as rat_pow_int (with any p of n words). q > 1: a
// negative non-zero a is error 14; the exact q-th roots of numerator and
// denominator (else error 18) raised to p; a negative b inverts (0: error 13).
void rat_pow(u64* dst, const u64* a, const u64* b);
// The b-th root of a for an index b = p/q: b = 0 is error 14. q = 1: a
// negative a needs an odd p (else error 14); the exact p-th roots of
// numerator and denominator (else error 18). q > 1: a negative non-zero a is
// error 14; the exact p-th roots raised to q. A negative b inverts (0: error
// 13). The result has a's sign.
void rat_root(u64* dst, const u64* b, const u64* a);

using RatIntFn = void (*)(u64* dst, i64 k);          // e.g. uint_pow10
using RatUintFn = void (*)(u64* dst, const u64* k);  // e.g. uint_pow2_uint
using RatLogFn = bool (*)(u64* dst, const u64* a);   // e.g. uint_log10_floor

// fn(|k|) over 1, inverted when k < 0 (a zero fn result then is error 13).
// k = INT64_MIN: error 12. Errors of fn are kept.
void rat_from_int_fn(u64* dst, i64 k, RatIntFn fn);
// fn(|a|) for an integer a (else error 18), inverted when a < 0 (a zero fn
// result then is error 13). Errors of fn are kept.
void rat_apply_int(u64* dst, const u64* a, RatUintFn fn);
// An exact integer logarithm through fn, which returns whether it was exact:
// a must be positive (else error 14); an integer a gives fn(a), a unit
// fraction 1/d gives -fn(d); any other fraction or an inexact logarithm is
// error 18.
void rat_log_exact(u64* dst, const u64* a, RatLogFn fn);

// ---- combinatorics (isolated; dst 0/1 on error) -------------------------------

// Permutations n (n-1) ... (n-k+1) (perm), or combinations: that product over
// k!. k must be a non-negative integer below 2^63 (else error 14). A
// non-negative integer n gives uint_perm_comb's result, with its limit rule.
// Any other n gives the product for any k, formed factor by factor; there
// limit >= 1 with k > limit is error 14. Too long: error 12.
void rat_perm_comb(u64* dst, const u64* n, const u64* k, i64 limit, bool perm);
