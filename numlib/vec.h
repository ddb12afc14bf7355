// Word-vector kernels: {pointer, count} arrays of 64-bit words, least
// significant word first. Kernels never read the context, never raise errors
// and never allocate; a kernel that needs temporaries takes a scratch pointer
// whose size in words its *_scratch function gives. Counts are at least 1
// unless a contract says otherwise. Overlap rules are stated per kernel;
// "r may equal a" means exact equality, not partial overlap. The sanitizer
// build asserts both (numlib/vec_contract.h). Arguments come in one order:
// destinations, then each input followed by its count (one count after the
// inputs that share it), then single words and shift counts, then scratch.
#pragma once

#include <cassert>

#include "numlib/mp_types.h"

// ---- moves, fills, scans ------------------------------------------------

void vec_copy_fwd(u64* dst, const u64* src, i64 count);  // ascending; dst <= src if overlapping
void vec_copy_bwd(u64* dst, const u64* src, i64 count);  // descending; dst >= src if overlapping
void vec_zero(u64* dst, i64 count);                      // count may be 0

// Index of the lowest non-zero word; bit 63 set in the result when all are 0.
i64 vec_find_nonzero(const u64* a, i64 count);
// Index of the highest non-zero word, -1 when all are 0 (count may be 0).
i64 vec_top_nonzero(const u64* a, i64 count);
// Significant length: index of the highest non-zero word plus one.
inline i64 vec_len(const u64* a, i64 count) {
    return vec_top_nonzero(a, count) + 1;
}
inline bool vec_is_zero(const u64* a, i64 count) {
    return vec_top_nonzero(a, count) < 0;
}
// Bit length of {a, count}: index of the highest set bit plus one, 0 for zero.
i64 vec_bit_length(const u64* a, i64 count);

// -1, 0, +1 comparing {a, n} with {b, n} from the top.
int vec_cmp(const u64* a, const u64* b, i64 n);

// ---- addition and subtraction -------------------------------------------

// {r, n} = {a, n} + {b, n}; returns the carry. r may equal a or b. n may be 0.
u64 vec_add_n(u64* r, const u64* a, const u64* b, i64 n);
// {r, n} = {a, n} - {b, n}; returns the borrow. r may equal a or b. n may be 0.
u64 vec_sub_n(u64* r, const u64* a, const u64* b, i64 n);
// {r, an} = {a, an} + {b, bn}, an >= bn >= 0; returns the carry. r may equal a.
u64 vec_add(u64* r, const u64* a, i64 an, const u64* b, i64 bn);
// {r, an} = {a, an} - {b, bn}, an >= bn >= 0; returns the borrow. r may equal a.
u64 vec_sub(u64* r, const u64* a, i64 an, const u64* b, i64 bn);
// {r, n} = {a, n} + v; returns the carry. r may equal a. n may be 0.
u64 vec_add_1(u64* r, const u64* a, i64 n, u64 v);
// {r, n} = {a, n} - v; returns the borrow. r may equal a. n may be 0.
u64 vec_sub_1(u64* r, const u64* a, i64 n, u64 v);

// ---- shifts (1 <= cnt <= 63) --------------------------------------------

// {r, n} = {a, n} << cnt; returns the bits shifted out (in the low bits).
// Works from the top down: r >= a if overlapping.
u64 vec_lshift(u64* r, const u64* a, i64 n, unsigned cnt);
// {r, n} = {a, n} >> cnt; returns the bits shifted out (in the high bits).
// Works from the bottom up: r <= a if overlapping.
u64 vec_rshift(u64* r, const u64* a, i64 n, unsigned cnt);

// ---- multiplication -----------------------------------------------------

// {r, n} = {a, n} * v; returns the carry word. r may equal a. n may be 0.
u64 vec_mul_word(u64* r, const u64* a, i64 n, u64 v);
// {r, n} += {a, n} * v; returns the carry word. r and a must not overlap.
// n may be 0.
u64 vec_addmul_word(u64* r, const u64* a, i64 n, u64 v);
// {r, n} -= {a, n} * v; returns the borrow word. r and a must not overlap.
// n may be 0.
u64 vec_submul_word(u64* r, const u64* a, i64 n, u64 v);

// Schoolbook product: {dst, la + lb} += {a, la} * {b, lb} into a zeroed dst,
// one multiply-accumulate row per word of a. dst overlaps neither operand.
void vec_mul_rows(u64* dst, const u64* a, i64 la, const u64* b, i64 lb);

// Product {dst, la + lb} = {a, la} * {b, lb}, la >= lb >= 1, by the fastest
// method for the sizes. dst overlaps neither operand; a may equal b.
// scratch holds vec_mul_scratch(la, lb) words.
i64 vec_mul_scratch(i64 la, i64 lb);
void vec_mul(u64* dst, const u64* a, i64 la, const u64* b, i64 lb, u64* scratch);

// Square {dst, 2n} = {a, n}^2. dst does not overlap a.
// scratch holds vec_sqr_scratch(n) words.
i64 vec_sqr_scratch(i64 n);
void vec_sqr(u64* dst, const u64* a, i64 n, u64* scratch);

// ---- division -----------------------------------------------------------

// 128-by-64-bit division: (hi:lo) / d with hi < d; returns the quotient.
inline u64 udiv_128(u64 hi, u64 lo, u64 d, u64* rem) {
    assert(hi < d);
    u64 q, r;
    __asm__("divq %4" : "=a"(q), "=d"(r) : "a"(lo), "d"(hi), "rm"(d));
    *rem = r;
    return q;
}

// {q, n} = {a, n} / v and *r = the remainder, from the top word down.
// v != 0. q may equal a; r is no word of q. n may be 0.
void vec_divmod_word(u64* q, u64* r, const u64* a, i64 n, u64 v);

// Restoring shift-subtract division, one quotient bit per step: {q, count} =
// {a, count} / {b, count} and {r, count} the remainder, where abits and bbits
// are the bit lengths of a and b, abits >= bbits >= 1. q and r overlap
// nothing.
void vec_divmod_bits(u64* q, u64* r, const u64* a, const u64* b, i64 count, i64 abits, i64 bbits);

// Long division: {q, na - nb + 1} = {a, na} / {b, nb} and {r, nb} the
// remainder, where na >= nb >= 1 and b[nb - 1] != 0. q or r may be nullptr
// when not wanted. q and r overlap neither operand nor each other.
// scratch holds vec_divrem_scratch(na, nb) words.
i64 vec_divrem_scratch(i64 na, i64 nb);
void vec_divrem(u64* q, u64* r, const u64* a, i64 na, const u64* b, i64 nb, u64* scratch);

// Divisor words from which vec_divrem divides and conquers; below it, one
// quotient word per step.
constexpr i64 VEC_DIV_DC_THRESHOLD = 32;

// In-place division by a normalised divisor (top bit of v[nv - 1] set),
// nu >= nv >= 1: {u, nu} = Q * {v, nv} + R, where Q = {q, nu - nv} plus the
// returned word (0 or 1) times 2^(64 (nu - nv)), and R replaces {u, nv}; the
// words of u above nv are left undefined. q overlaps neither u nor v.
// vec_div_schoolbook takes one quotient word per step and needs no scratch;
// vec_div_norm picks the method and needs vec_div_norm_scratch(nu, nv) words.
u64 vec_div_schoolbook(u64* q, u64* u, i64 nu, const u64* v, i64 nv);
i64 vec_div_norm_scratch(i64 nu, i64 nv);
u64 vec_div_norm(u64* q, u64* u, i64 nu, const u64* v, i64 nv, u64* scratch);

// ---- square root ----------------------------------------------------------

// Square root with remainder of a normalised {a, 2n} (a[2n - 1] >= 2^62), by
// recursive halving: {s, n} = floor(sqrt(a)) and a - s^2 = {a, n} plus the
// returned word (0 or 1) times 2^(64n); the words of a above n are left
// undefined. s does not overlap a. scratch holds vec_sqrtrem_scratch(n) words.
i64 vec_sqrtrem_scratch(i64 n);
u64 vec_sqrtrem(u64* s, u64* a, i64 n, u64* scratch);

// ---- number theory: Lehmer gcd steps, Montgomery and Hensel reduction ---

// A Lehmer reduction matrix: (a, b) = M (a', b') with non-negative entries
// and determinant +1 (det_positive) or -1, a product of [[q, 1], [1, 0]].
struct GcdMatrix {
    u64 m00, m01, m10, m11;
    bool det_positive;
};

// The Euclid quotient steps on the leading 128 bits of {a, n} >= {b, n}
// (a[n - 1] != 0) that leave M^-1 (a, b) positive whatever the lower bits
// are, as one matrix in *m. False (and the identity) when not one step
// qualifies, e.g. when b is much shorter than a.
bool vec_gcd_matrix(GcdMatrix* m, const u64* a, const u64* b, i64 n);

// {ra, n} = first and {rb, n} = second component of M^-1 ({a, n}, {b, n}).
// False when a result would be negative, which a matrix from
// vec_gcd_matrix for these operands never gives. ra and rb overlap nothing.
bool vec_gcd_reduce(u64* ra, u64* rb, const u64* a, const u64* b, i64 n, const GcdMatrix& m);

// -1/m0 mod 2^64 for odd m0.
u64 vec_mont_inverse(u64 m0);

// Montgomery reduction: {r, k} = {t, 2k} / B^k mod m (B = 2^64), fully
// reduced, for t < m B^k and odd {m, k}; minv = vec_mont_inverse(m[0]).
// t is destroyed; r may equal t or t + k, and overlaps nothing else.
void vec_redc(u64* r, u64* t, const u64* m, i64 k, u64 minv);

// Hensel division: {q, k} = {a, k} / {m, mk} mod B^k for odd m. a is
// destroyed; q may equal a and overlaps nothing else.
void vec_hensel_div(u64* q, u64* a, i64 k, const u64* m, i64 mk);
