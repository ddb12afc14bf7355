// Internals of the decimal products (not part of the public interface).
#pragma once

#include "numlib/dec_impl.h"
#include "numlib/vec.h"

// Karatsuba needs both upper halves non-empty; the balance rule (3 la <= 4
// lb) guarantees it from DEC_KARATSUBA_MIN words on.
static_assert(DEC_KARATSUBA_MIN >= 6 && DEC_SQR_KARATSUBA_MIN >= DEC_KARATSUBA_MIN);

inline bool dec_mul_is_balanced(i64 la, i64 lb) {
    return 3 * la <= 4 * lb;
}

// Words k .. end - 1 of the product, k < end <= la + lb: {dst, end - k} =
// floor({a, la} * {b, lb} / B^k) mod B^(end - k), from the columns k - 1 ..
// end - 1 only (short as dec_mul_high's result, before the reduction).
void dec_mul_columns(u64* dst, const u64* a, i64 la, const u64* b, i64 lb, i64 k, i64 end);

// One Karatsuba step, recursing through dec_mul: la >= lb > (la + 1) / 2;
// scratch as dec_mul's.
void dec_mul_karatsuba(u64* dst, const u64* a, i64 la, const u64* b, i64 lb, u64* scratch);

// One Karatsuba step of a square, recursing through dec_sqr: n >= 2; scratch
// as dec_mul's.
void dec_sqr_karatsuba(u64* dst, const u64* a, i64 n, u64* scratch);
