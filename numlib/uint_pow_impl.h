// Helpers shared by powers, logarithms, factorials and binomials (not part of
// the public interface).
#pragma once

#include <cmath>

#include "numlib/uint_impl.h"

// {dst, cap} = {a, la}^e for e >= 1 and a non-zero {a, la} of significant
// length la. cap must be at least ceil(bitlen(a) * e / 64) + 2 words (room
// for the last product before its top word is known to be zero). dst
// overlaps nothing. Returns the significant length of the power, or 0 when
// the scratch area ran out (error 30) or an error appeared meanwhile (a stop
// request): callers that must not stop on a pending error isolate first.
i64 uint_pow_into(u64* dst, i64 cap, const u64* a, i64 la, u64 e);

// -1, 0, +1 comparing {x, lx} with {y, ly}, both of significant length
// (0 for a zero value).
inline int vec_cmp_len(const u64* x, i64 lx, const u64* y, i64 ly) {
    if (lx != ly) return lx < ly ? -1 : 1;
    return lx == 0 ? 0 : vec_cmp(x, y, lx);
}

// log2 of a non-zero {a, len}, from its top 64 bits: the absolute error is a
// few units of 1e-16 times the bit length, far below what the integer
// estimates built on it need.
inline double vec_log2_approx(const u64* a, i64 len) {
    const i64 top = vec_top_nonzero(a, len);
    if (top <= 0) return std::log2(static_cast<double>(a[0]));
    const unsigned lz = static_cast<unsigned>(__builtin_clzll(a[top]));
    u64 head = a[top] << lz;
    if (lz) head |= a[top - 1] >> (64 - lz);
    return static_cast<double>(64 * top - static_cast<i64>(lz)) +
           std::log2(static_cast<double>(head));
}
