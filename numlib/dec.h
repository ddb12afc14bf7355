// Decimal word-vector kernels: {pointer, count} arrays of base-10^19 words
// ("decimal words", each below B = 10^19), least significant word first, as
// in vec.h. A real mantissa (most significant word first) is reversed into
// this order before it meets these kernels. Kernels never read the context,
// never raise errors and never allocate; one that needs temporaries takes a
// scratch pointer whose size in words its *_scratch function gives. Counts
// are at least 1 unless a contract says otherwise. "r may equal a" means
// exact equality, not partial overlap. Comparisons and lengths use vec_cmp
// and vec_len, which order decimal words as they order binary ones.
#pragma once

#include "numlib/mp_types.h"

constexpr u64 DEC_BASE = 10000000000000000000ULL;  // 10^19

// ---- addition and subtraction -------------------------------------------

// {r, n} = {a, n} + {b, n}; returns the carry (0 or 1). r may equal a or b.
u64 dec_add_n(u64* r, const u64* a, const u64* b, i64 n);
// {r, n} = {a, n} - {b, n}; returns the borrow (0 or 1). r may equal a or b.
u64 dec_sub_n(u64* r, const u64* a, const u64* b, i64 n);
// {r, an} = {a, an} + {b, bn}, an >= bn >= 0; returns the carry. r may equal a.
u64 dec_add(u64* r, const u64* a, i64 an, const u64* b, i64 bn);
// {r, an} = {a, an} - {b, bn}, an >= bn >= 0; returns the borrow. r may equal a.
u64 dec_sub(u64* r, const u64* a, i64 an, const u64* b, i64 bn);
// {r, n} = {a, n} + v, v < B; returns the carry. r may equal a. n may be 0.
u64 dec_add_1(u64* r, const u64* a, i64 n, u64 v);
// {r, n} = {a, n} - v, v < B; returns the borrow. r may equal a. n may be 0.
u64 dec_sub_1(u64* r, const u64* a, i64 n, u64 v);
// {r, n} = B^n - {a, n} for a non-zero {a, n} (the ten's complement). r may
// equal a.
void dec_negate(u64* r, const u64* a, i64 n);

// ---- one-word multiplication and division --------------------------------

// {r, n} = {a, n} * v for any v; returns the carry, which is below v and so
// may exceed one decimal word. r may equal a.
u64 dec_mul_word(u64* r, const u64* a, i64 n, u64 v);
// {q, n} = {a, n} / v for any v != 0; returns the remainder. q may equal a.
u64 dec_divmod_word(u64* q, const u64* a, i64 n, u64 v);

// ---- products -------------------------------------------------------------

// Column (product-scanning) schoolbook multiplication with 192-bit column
// sums, keeping the words from k up: {dst, la + lb - k} = floor({a, la} *
// {b, lb} / B^k), 0 <= k < la + lb, la, lb >= 1. Only the columns from k - 1
// up are formed, so for k >= 2 the result may fall short of the exact value
// by up to min(la, lb) units of its lowest word, never exceed it; k <= 1
// gives it exactly. A square (a == b, la == lb) forms each cross product
// once from DEC_SQR_COLUMNS_MIN words. dst overlaps neither operand.
void dec_mul_high(u64* dst, const u64* a, i64 la, const u64* b, i64 lb, i64 k);

// Product {dst, la + lb} = {a, la} * {b, lb}, la >= lb >= 1: schoolbook
// below DEC_KARATSUBA_MIN words, else Karatsuba's method, with operands much
// longer than the other cut into pieces. dst overlaps neither operand; a may
// equal b. scratch holds dec_mul_scratch(la, lb) words. The threshold was
// measured on x86-64: the decimal sums and the column splits make a
// Karatsuba step pay only from about 40 words; 40 to 64 are within a few per
// cent of each other.
constexpr i64 DEC_KARATSUBA_MIN = 48;
i64 dec_mul_scratch(i64 la, i64 lb);
void dec_mul(u64* dst, const u64* a, i64 la, const u64* b, i64 lb, u64* scratch);

// Square {dst, 2n} = {a, n}^2: the product's columns below
// DEC_SQR_COLUMNS_MIN words, then columns that form each cross product once,
// from DEC_SQR_KARATSUBA_MIN words Karatsuba's method (three squares).
// dec_mul passes a square (a == b, la == lb) here. dst does not overlap a;
// scratch holds dec_mul_scratch(n, n) words. Measured on x86-64: the square
// costs 0.75 to 0.85 of the product from 32 words on; below about 24 the
// doubling of each column costs more than the products it saves.
constexpr i64 DEC_SQR_COLUMNS_MIN = 24;
constexpr i64 DEC_SQR_KARATSUBA_MIN = 64;
void dec_sqr(u64* dst, const u64* a, i64 n, u64* scratch);

// Words k .. end - 1 of {a, la} * {b, lb}, 0 <= k < end <= la + lb, for a
// caller that needs only part of a product: by columns from k - 1 while the
// shorter operand is below DEC_MUL_PART_FULL_MIN words (then short by up to
// min(la, lb) units of word k, as dec_mul_high), else from the full product,
// exactly. buf holds la + lb words and receives the words at buf + k (the
// return value); other words of buf are left undefined. buf overlaps
// neither operand. scratch holds dec_mul_scratch(la, lb) words. Half a
// product by columns beats the full Karatsuba product at every real
// precision: measured on x86-64 with the assembly column sums, it costs 0.5
// of it at 40 to 100 words, 0.6 to 0.7 at 264 and 0.8 to 0.85 at 400 to 528
// words (a Toom-3 step does not pay below 528 words either: the full product
// with it cost 1.1 to 1.3 times as much there).
constexpr i64 DEC_MUL_PART_FULL_MIN = 1000;
// The same for a square: half the columns of a square cost 0.6 to 0.7 of
// the full square there.
constexpr i64 DEC_SQR_PART_FULL_MIN = 1000;
const u64* dec_mul_part(u64* buf, const u64* a, i64 la, const u64* b, i64 lb, i64 k, i64 end,
                        u64* scratch);

// ---- reciprocal and division ----------------------------------------------

// Reciprocal by Newton's iteration, doubling the precision per step from a
// one-word start: {x, n + 1} approximates B^(n + nd) / {d, nd} for a
// normalised divisor (top word at least 10^18, so the quotient lies in
// (B^n, 10 B^n]). When nd <= n the error is below 2 units of x's lowest
// word; when nd > n only the top n words of d are used (the error grows by
// up to 10 B^-n relative). n >= 1, nd >= 1; x overlaps nothing. scratch
// holds dec_recip_scratch(n) words.
i64 dec_recip_scratch(i64 n);
void dec_recip(u64* x, const u64* d, i64 nd, i64 n, u64* scratch);
// As dec_recip to a relative error below 10^-digits only (digits <= 19n - 2, the
// error of the words of d left out included), in fewer steps when digits is
// well below 19n.
void dec_recip_digits(u64* x, const u64* d, i64 nd, i64 n, i64 digits, u64* scratch);

// Division with the divisor's reciprocal x = dec_recip(d, nb, nb): {q, na -
// nb + 1} = floor({a, na} / {d, nb}) and {r, nb} the remainder, for a
// normalised d (top word at least 10^18) and nb <= na <= 2 nb. q or r may
// be nullptr when not wanted; they overlap nothing. scratch holds
// dec_divrem_recip_scratch(na, nb) words.
i64 dec_divrem_recip_scratch(i64 na, i64 nb);
void dec_divrem_recip(u64* q, u64* r, const u64* a, i64 na, const u64* d, i64 nb, const u64* x,
                      u64* scratch);
