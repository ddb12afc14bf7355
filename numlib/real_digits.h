// Decimal digit operations on base-10^19 vectors stored most significant word
// first, as in a real mantissa: {a, n} means a[0] .. a[n - 1] with a[0] on
// top, every word below 10^19. These are kernels: explicit sizes, no context,
// no errors.
#pragma once

#include "numlib/real_impl.h"

// floor(2^64 / 10^k) for k = 1 .. 19 (entry 0 is unused).
extern const u64 REAL_POW10_RECIP[20];

// w / 10^k and *rem = w mod 10^k, for 0 <= k <= 19 and any w.
inline u64 real_div_pow10(u64 w, int k, u64* rem) {
    if (k == 0) {
        *rem = 0;
        return w;
    }
    const u64 d = REAL_POW10[k];
    // The reciprocal is short by less than one, so the estimate is exact or
    // one too small.
    u64 q = static_cast<u64>((static_cast<u128>(w) * REAL_POW10_RECIP[k]) >> 64);
    u64 r = w - q * d;
    // Branch-free: the correction is data-dependent and unpredictable.
    const u64 fix = r >= d;
    *rem = r - (fix ? d : 0);
    return q + fix;
}

// Leading zero digits of one word below 10^19 (19 for 0).
inline int real_word_lead_zeros(u64 w) {
    return 19 - real_word_digits(w);
}

// Leading zero digits of {a, n}: 19 per zero word on top plus those of the
// first non-zero word; 19n when every word is 0. n >= 0.
i64 real_digits_lead_zeros(const u64* a, i64 n);

// {dst, n} = {src, n} moved d >= 0 digits toward the bottom, zeros entering
// at the top. Returns the next 19 digits below dst[n - 1] (the spill word);
// digits further down are dropped. dst may equal src. n >= 1; any d (from
// 19n + 19 on, everything is 0).
u64 real_digits_shr(u64* dst, const u64* src, i64 n, i64 d);

// {dst, n} = {src, n} moved d >= 0 digits toward the top; the digits entering
// at the bottom are those of the word in (the 19 digits below src[n - 1]),
// then zeros. Digits leaving the top are lost. Returns what is left of in
// below dst[n - 1]: (in * 10^d) mod 10^19 for d < 19, else 0. dst may equal
// src. n >= 1.
u64 real_digits_shl(u64* dst, const u64* src, i64 n, i64 d, u64 in);

// Normalises {a, n} with the spill word *spill below it: moves it toward the
// top by its leading zero digits, pulling digits from *spill, which keeps what
// is left of it. Returns the shift in digits (19n + 19 when a and *spill are
// all 0, and then nothing is changed).
i64 real_digits_normalise(u64* a, i64 n, u64* spill);
