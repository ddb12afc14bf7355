// Operations on a value of the current number type (mp_num_type: real,
// cplx, uint or rat), for callers that work on "a number" without knowing
// which kind it is, and conversion of a value between any two types and word
// counts.
//
// Every operation reads mp_num_type once. Any other type raises error 3 and
// leaves the destination untouched. Each routine otherwise behaves as the
// routine of the type it dispatches to: same rounding, aliasing and errors,
// with the real functions run as guarded calls (real.h) the way the
// application calls them.
#pragma once

#include "numlib/mp_types.h"

void num_copy(u64* dst, const u64* src);
// |a|: real and rat clear the sign, cplx gives the modulus (imaginary part +0),
// uint copies.
void num_abs(u64* dst, const u64* a);
// a / v, rounded for real and cplx; v = 0: error 13. uint: error 3.
void num_div_u64(u64* dst, const u64* a, u64 v);
// a^b. real: guarded real_pow (g = 3). cplx: b must be real (else error 16
// and 0); a real a gives the guarded real power, otherwise b must be an
// integer (else error 14) and cplx_pow_int is used. uint: uint_pow_uint.
// rat: rat_pow.
void num_pow(u64* dst, const u64* a, const u64* b);
// a^k: guarded real_pow_int, cplx_pow_int, uint_pow or rat_pow_int.
void num_pow_int(u64* dst, const u64* a, i64 k);
// 10^k, exact wherever the type can hold it.
void num_pow10(u64* dst, i64 k);
// The logarithm of x to the base b. real: guarded real_logx (g = 3). cplx:
// both operands real (else error 16), then as real. uint: uint_log_floor.
// rat: exact only: b an integer >= 2 and x a positive integer or a unit
// fraction 1/d (else error 14), and the logarithm an integer (else 18).
void num_logx(u64* dst, const u64* b, const u64* x);
// Rounds half up to k significant digits (real, cplx); k < 0: error 14 and
// 0. uint and rat: error 3.
void num_round_digits(u64* dst, const u64* a, i32 k);
// v in the current type; uint: v < 0 is error 14 and 0.
void num_from_i64(u64* dst, i64 v);
// The value as an i64 when it is an integer in range (a cplx value must be
// real); false and *out = 0 otherwise, without raising an error.
bool num_to_i64(i64* out, const u64* a);

// Converts src (src_words words of type src_type) into dst (dst_words words of
// type dst_type). Words are mantissa words for real and cplx, integer words
// for uint and rat. Isolated: on failure dst is zero of its type and an
// error pending before the call stays. Errors: 3 unknown type, 14 a value the
// target type cannot represent (a fraction into an integer type, a negative
// value into uint, a non-zero imaginary part into a real type), 12 too long
// for dst_words, 1 a word count outside its range. The word counts of the
// context are restored before it returns. dst and src must not overlap.
void num_convert(u64* dst, i32 dst_words, i32 dst_type, const u64* src, i32 src_words,
                 i32 src_type);
