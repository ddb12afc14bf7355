// Inline helpers of the decimal kernels (not part of the public interface).
#pragma once

#include "numlib/dec.h"

// 10^19 has its top bit set, so it is its own normalised divisor for the
// Möller-Granlund division by an invariant word; this is its reciprocal
// floor((2^128 - 1) / 10^19) - 2^64.
constexpr u64 DEC_BASE_RECIP = 0xD83C94FB6D2AC34AULL;

// (hi * 2^64 + lo) / B for hi < B; the remainder goes to *rem. Two products
// instead of a hardware division.
inline u64 dec_div_base(u64 hi, u64 lo, u64* rem) {
    const u128 est = static_cast<u128>(hi) * DEC_BASE_RECIP + ((static_cast<u128>(hi) << 64) | lo);
    u64 q = static_cast<u64>(est >> 64) + 1;
    u64 r = lo - q * DEC_BASE;
    if (r > static_cast<u64>(est)) {
        --q;
        r += DEC_BASE;
    }
    if (r >= DEC_BASE) {
        ++q;
        r -= DEC_BASE;
    }
    *rem = r;
    return q;
}

// A 128-bit value split into decimal words: v = *hi * B + returned word,
// for v < B^2 (so *hi < B).
inline u64 dec_split(u128 v, u64* hi) {
    u64 lo;
    *hi = dec_div_base(static_cast<u64>(v >> 64), static_cast<u64>(v), &lo);
    return lo;
}

// {dst, zeros + n} = {src, n} B^zeros: zero words, then a copy. dst does
// not overlap src. For the short vectors of the Newton steps, where a call
// to a library copy costs more than the copy.
inline void dec_place(u64* dst, i64 zeros, const u64* src, i64 n) {
    for (i64 i = 0; i < zeros; ++i) dst[i] = 0;
    for (i64 i = 0; i < n; ++i) dst[zeros + i] = src[i];
}
