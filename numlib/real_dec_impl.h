// Between real mantissas (most significant word first) and the decimal
// vectors of dec.h (least significant word first). Not part of the public
// interface.
#pragma once

#include "numlib/real_impl.h"

// {dst, m} = the m mantissa words of x, least significant first.
inline void real_mantissa_to_dec(u64* dst, const u64* x, i64 m) {
    for (i64 i = 0; i < m; ++i) dst[i] = x[m - i];
}

// a + b clamped to the i64 range: exponent arithmetic whose extreme results
// the range rules reject anyway.
inline i64 real_exp_sum(i64 a, i64 b) {
    i64 s;
    if (__builtin_add_overflow(a, b, &s)) return b > 0 ? INT64_MAX : INT64_MIN;
    return s;
}

// Makes dst the real of sign times the top 19m digits of the decimal vector
// {p, len} and returns the next 19 digits (the spill; digits below p[0]
// count as zeros). e_top is the exponent the result would have if p[len - 1]
// had 19 digits; each leading zero digit of {p, len} lowers it by one. The
// range rules apply (then the spill is 0); a zero vector gives a zero with
// the sign. dst may not overlap p.
u64 real_from_dec(u64* dst, const u64* p, i64 len, i64 e_top, int sign);
