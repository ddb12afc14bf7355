// Complex numbers: a pair of reals of m = mp_real_words mantissa words each,
// 2m + 2 words in all, the real part at word 0 and the imaginary part at word
// m + 1 (real.h describes one part). A part is zero when its word 1 is 0;
// zero is 0 + 0i with both parts +0.
//
// Whenever the imaginary parts of the operands are zero an operation takes
// the real path: it gives exactly what the real operation gives, with an
// imaginary part of +0. Complex paths form their products and sums with one
// extra word (more for powers), so that each part of a result lies within one
// unit of its last digit, a part much smaller than the modulus of the result
// being judged on the modulus' scale (cancellation in a part is inherent).
// Called inside cplx_guarded_* (or any guarded call) they run at the
// current, already widened precision and leave the rounding to the caller.
//
// Errors: 13 division by zero, 14 invalid root parameters or a negative digit
// count, 16 a non-zero imaginary part where only reals are allowed, 10
// exponent overflow in any part, 30 scratch exhausted. A failing operation
// sets its destination to 0 + 0i. cplx_mul, cplx_div, cplx_recip,
// cplx_pow_int, cplx_root_k and cplx_abs also give 0 + 0i when an error is
// pending at their end (a stop request among them); the first error raised
// stays. Unless a contract says otherwise dst may be the same array as any
// operand.
#pragma once

#include "numlib/mp_types.h"

// ---- layout -----------------------------------------------------------------

// The imaginary part of a value of m mantissa words per part.
inline u64* cplx_im_of(u64* x, i32 m) {
    return x + m + 1;
}
inline const u64* cplx_im_of(const u64* x, i32 m) {
    return x + m + 1;
}
// Words of one value of m mantissa words per part.
inline i32 cplx_value_words(i32 m) {
    return 2 * m + 2;
}

// True when the imaginary part (at the current word count) is zero.
bool cplx_is_real(const u64* x);

// ---- copies and signs -------------------------------------------------------

void cplx_zero(u64* dst);                  // 0 + 0i, both parts +0
void cplx_copy(u64* dst, const u64* src);  // 2m + 2 words
// Copy between precisions, part by part as real_resize (growing zero-fills,
// shrinking rounds half up). dst may overlap src in any way. A count below 1:
// error 30.
void cplx_resize(u64* dst, i32 dst_m, const u64* src, i32 src_m);
void cplx_neg(u64* dst, const u64* a);  // flips both sign bits, zeros too

// ---- arithmetic -------------------------------------------------------------

// Part by part, each rounded half up with its own spill.
void cplx_add(u64* dst, const u64* a, const u64* b);
void cplx_sub(u64* dst, const u64* a, const u64* b);
// a * b. Real operands: the rounded real product, imaginary part +0.
void cplx_mul(u64* dst, const u64* a, const u64* b);
// a * b from three real products, (ac - bd) + ((a + b)(c + d) - ac - bd)i:
// each part within a few units of the last digit of |a| |b| rather than of
// itself, so a part far smaller than the other loses digits. For iterations
// that only need the value as a whole (the root finder).
void cplx_mul3(u64* dst, const u64* a, const u64* b);
// Both parts times v, each rounded; a zero imaginary part stays +0.
void cplx_mul_u64(u64* dst, const u64* a, u64 v);
// a / b; b = 0: error 13. Real operands: the guarded real quotient. The
// divisor is scaled by a power of ten first, so that neither |b|^2 nor the
// numerators leave the exponent range unless the quotient does.
void cplx_div(u64* dst, const u64* a, const u64* b);
// 1 / a; a = 0: error 13. Scaled as cplx_div.
void cplx_recip(u64* dst, const u64* a);
// Integer quotient and exact remainder of real operands (real_divmod on the
// real parts, limit as there), imaginary parts +0. A non-zero imaginary part:
// error 16 and q = r = 0. q or r may be nullptr; q and r must differ.
void cplx_divmod(u64* q, u64* r, const u64* a, const u64* b, i64 limit);
// a^k by squaring and multiplying with extra words for the rounding of up to
// 2 log2 |k| products; k < 0 inverts a first (so a result that underflows is
// a zero, not an overflow of a^|k|). a real or k = 0: the guarded
// real_pow_int on the real part (0^0 = 1; 0^k for k < 0: error 14).
void cplx_pow_int(u64* dst, const u64* a, i64 k);
// The k-th of the |n| n-th roots of a: modulus |a|^(1/n), angle
// (arg a + 2 pi k) / |n| with arg a in (-pi, pi], negated for n < 0. k = 0
// is the principal root, k = 1 .. |n| - 1 follow counter-clockwise (clockwise
// for n < 0). Roots on an axis have exact parts (the 4th roots of 1 are 1, i,
// -1, -i; the square roots of -4 are 2i and -2i). n = 1 gives a, n = -1 1/a.
// Error 14: n = 0, |n| > 2^61, k outside 0 .. |n| - 1, or a = 0 with n < 0
// (a = 0 with n > 0 gives 0).
void cplx_root_k(u64* dst, i64 n, const u64* a, i64 k);
// Both parts rounded half up to k significant digits; k < 0: error 14.
void cplx_round_digits(u64* dst, const u64* a, i32 k);
// |a| (guarded real_hypot, g = 2) as the real part, imaginary part +0.
void cplx_abs(u64* dst, const u64* a);

// ---- guarded calls ------------------------------------------------------------
// As the real guarded calls (real.h): the body runs at m + 1 words on widened
// copies of the operands, with mp_guard_words = 1 and mp_guard_digits = 19 - g,
// and each part of its result is rounded to m words with the extra word as
// spill. They do not nest; the operations above check for an enclosing guard.

using CplxUnaryFn = void (*)(u64* dst, const u64* a);
using CplxBinaryFn = void (*)(u64* dst, const u64* a, const u64* b);

void cplx_guarded_unary(u64* dst, const u64* a, i32 g, CplxUnaryFn fn);
void cplx_guarded_binary(u64* dst, const u64* a, const u64* b, i32 g, CplxBinaryFn fn);
