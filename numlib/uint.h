// Unsigned integers of exactly n = mp_int_words 64-bit words, word 0 least
// significant. Every result has the operands' length: a result that does not
// fit raises an error and becomes 0, it never wraps. Unless a contract says
// otherwise the destination may be the same array as any operand. Errors
// follow the library's discipline (mp_error.h): the first error raised wins,
// the result of a failed routine is 0, nothing is thrown.
//
// Error codes: 12 result does not fit or has no value, 13 zero divisor or
// modulus, 14 argument outside the domain, 30 internal (scratch exhausted,
// forbidden overlap).
#pragma once

#include "numlib/mp_types.h"

// ---- basics ---------------------------------------------------------------

void uint_zero(u64* dst);
void uint_set_u64(u64* dst, u64 v);
void uint_from_i64(u64* dst, i64 v);  // v < 0: error 14, dst = 0
void uint_copy(u64* dst, const u64* src);
void uint_move(u64* dst, const u64* src, i64 count);  // memmove semantics
// Copies between word counts. A count below 1: error 30 (dst zeroed when
// dst_words >= 1). Growing zero-fills;
// shrinking needs the dropped words to be 0, else error 12 and dst = 0.
void uint_resize(u64* dst, i32 dst_words, const u64* src, i32 src_words);
bool uint_is_zero(const u64* a);
bool uint_is_one(const u64* a);
int uint_cmp(const u64* a, const u64* b);      // -1, 0, +1
int uint_cmp_u64(const u64* a, u64 v);         // -1, 0, +1
i32 uint_bit_length(i32 count, const u64* a);  // of the lowest count words
// The larger significant length of a and b within the lowest count words
// (count 0 = n), at least 1.
i32 uint_top_words(i32 count, const u64* a, const u64* b);
// Bit index outside the value: error 14, no change. value 1 sets, others clear.
void uint_set_bit(u64* dst, u32 bit, int value);
int uint_get_bit(const u64* a, u32 bit);  // outside the value: error 14, 0
// True and out = a if a < 2^63; else false and out = 0, no error.
bool uint_to_i64(i64* out, const u64* a);
// True and out = a if a < 2^64; else out = 0, false and error 14 unless quiet.
bool uint_to_u64(u64* out, const u64* a, bool quiet);

// ---- arithmetic -----------------------------------------------------------

void uint_add(u64* dst, const u64* a, const u64* b);  // carry out: error 12
void uint_add_u64(u64* dst, const u64* a, u64 v);     // carry out: error 12
void uint_sub(u64* dst, const u64* a, const u64* b);  // a < b: error 12
void uint_dec(u64* dst, const u64* a);                // a = 0: error 12
void uint_mul(u64* dst, const u64* a, const u64* b);  // too long: error 12
// The product into 2n words; dst must not overlap a or b (error 30).
void uint_mul_full(u64* dst, const u64* a, const u64* b);
void uint_mul_u64(u64* dst, const u64* a, u64 v);  // carry out: error 12
// q = a / b, r = a mod b; q or r may be nullptr, and may equal a or b.
// b = 0: error 13, q and r = 0.
void uint_divmod(u64* q, u64* r, const u64* a, const u64* b);
// q = a / v, *r = a mod v. v = 0: error 13, q = 0, *r = 0.
void uint_divmod_u64(u64* q, u64* r, const u64* a, u64 v);
// q = a / b; true when the remainder is 0. b = 0 (error 13) or a failed
// division gives q = 0 and false.
bool uint_div_exact(u64* q, const u64* a, const u64* b);

// ---- powers, roots, logarithms -------------------------------------------

// a^e. e < 0: error 14; e = 0 gives 1 (also for a = 0); too large: error 12.
void uint_pow(u64* dst, const u64* a, i64 e);
// e as a uint: below 2^63 as uint_pow; otherwise 1 for a = 1, 0 for a = 0,
// error 12 for a >= 2.
void uint_pow_uint(u64* dst, const u64* a, const u64* e);
// floor(sqrt(a)); true when a is a perfect square (0 gives 0 and true).
bool uint_sqrt(u64* dst, const u64* a);
// floor(a^(1/k)); true when exact. k = 1 copies; k < 1: error 14, dst = 0, true.
bool uint_root(u64* dst, i64 k, const u64* a);
// k as a uint: below 2^63 as uint_root; otherwise 1 for a >= 1 else 0, exact
// when a <= 1.
bool uint_root_uint(u64* dst, const u64* k, const u64* a);
// 2^k. k < 0: error 14; k >= 64n: error 12.
void uint_pow2(u64* dst, i64 k);
void uint_pow2_uint(u64* dst, const u64* k);  // k >= 2^63: error 12
// 10^k. k < 0: error 14; too large: error 12.
void uint_pow10(u64* dst, i64 k);
void uint_pow10_uint(u64* dst, const u64* k);  // k >= 2^63: error 12
// floor(log_base(a)); true when a is an exact power of base.
// a = 0 or base < 2: error 12, dst = 0, false.
bool uint_log_floor(u64* dst, const u64* base, const u64* a);
bool uint_log2_floor(u64* dst, const u64* a);  // a = 0: error 12, dst = 0
bool uint_log10_floor(u64* dst, const u64* a);

// ---- combinatorics and number theory --------------------------------------
// gcd, lcm, powmod and mulinv give 0 at once when an error is already pending
// (it stays), and their loops stop when one arrives (a stop request).

// a!; a must fit a u64, and the result n words, else error 12. Polls mp_error
// between partial products: an error pending or arriving (a stop request)
// gives 0 for a >= 2.
void uint_factorial(u64* dst, const u64* a);
// perm: n!/(n-k)!; else n!/(k!(n-k)!). n < k gives 0. With j the loop count
// (k for perm, min(k, n-k) for comb), limit >= 1 and j > limit: error 14.
// A combination whose j-fold multiple does not fit raises error 12, as the
// step-wise product-then-divide evaluation would.
void uint_perm_comb(u64* dst, const u64* n, const u64* k, i64 limit, bool perm);
void uint_gcd(u64* dst, const u64* a, const u64* b);  // a or b = 0: error 14
// (a / gcd) * b. a or b = 0: error 14; too large: error 12.
void uint_lcm(u64* dst, const u64* a, const u64* b);
// base^e mod m. m = 0: error 13; e = 0 gives 1 (0 when m = 1); limit != 0 and
// bit length of e > limit: error 14.
void uint_powmod(u64* dst, const u64* base, const u64* e, const u64* m, i64 limit);
// x with a*x = 1 (mod m), 0 < x < m. m < 2: error 14; a = 0: error 13;
// a and m not coprime: error 12; dst = 0 on error.
void uint_mulinv(u64* dst, const u64* a, const u64* m);
