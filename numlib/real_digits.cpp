// Decimal digit shifts of base-10^19 vectors. A shift by d digits is a move
// by d / 19 whole words and a split of every word at 10^(d mod 19).
#include "numlib/real_digits.h"

#include "numlib/vec.h"

const u64 REAL_POW10_RECIP[20] = {
    0,
    static_cast<u64>((static_cast<u128>(1) << 64) / 10ULL),
    static_cast<u64>((static_cast<u128>(1) << 64) / 100ULL),
    static_cast<u64>((static_cast<u128>(1) << 64) / 1000ULL),
    static_cast<u64>((static_cast<u128>(1) << 64) / 10000ULL),
    static_cast<u64>((static_cast<u128>(1) << 64) / 100000ULL),
    static_cast<u64>((static_cast<u128>(1) << 64) / 1000000ULL),
    static_cast<u64>((static_cast<u128>(1) << 64) / 10000000ULL),
    static_cast<u64>((static_cast<u128>(1) << 64) / 100000000ULL),
    static_cast<u64>((static_cast<u128>(1) << 64) / 1000000000ULL),
    static_cast<u64>((static_cast<u128>(1) << 64) / 10000000000ULL),
    static_cast<u64>((static_cast<u128>(1) << 64) / 100000000000ULL),
    static_cast<u64>((static_cast<u128>(1) << 64) / 1000000000000ULL),
    static_cast<u64>((static_cast<u128>(1) << 64) / 10000000000000ULL),
    static_cast<u64>((static_cast<u128>(1) << 64) / 100000000000000ULL),
    static_cast<u64>((static_cast<u128>(1) << 64) / 1000000000000000ULL),
    static_cast<u64>((static_cast<u128>(1) << 64) / 10000000000000000ULL),
    static_cast<u64>((static_cast<u128>(1) << 64) / 100000000000000000ULL),
    static_cast<u64>((static_cast<u128>(1) << 64) / 1000000000000000000ULL),
    static_cast<u64>((static_cast<u128>(1) << 64) / 10000000000000000000ULL),
};

i64 real_digits_lead_zeros(const u64* a, i64 n) {
    for (i64 i = 0; i < n; ++i)
        if (a[i] != 0) return 19 * i + real_word_lead_zeros(a[i]);
    return 19 * n;
}

u64 real_digits_shr(u64* dst, const u64* src, i64 n, i64 d) {
    // Beyond n + 1 words nothing of src reaches dst or the spill.
    const i64 words = d / 19 > n + 1 ? n + 1 : d / 19;
    const int s = static_cast<int>(d % 19);
    // Word j of src moved down by whole words, 0 outside src.
    auto moved = [&](i64 i) -> u64 {
        const i64 j = i - words;
        return j >= 0 && j < n ? src[j] : 0;
    };
    // Word i of the result: the top of moved(i) under the bottom of moved(i - 1).
    auto word = [&](i64 i) -> u64 {
        if (s == 0) return moved(i);
        u64 unused, above_low;
        const u64 top = real_div_pow10(moved(i), s, &unused);
        real_div_pow10(moved(i - 1), s, &above_low);
        return top + above_low * REAL_POW10[19 - s];
    };
    const u64 spill = word(n);
    // Word i reads source words at or below index i: go downward, so an
    // aliased source is read before it is overwritten.
    for (i64 i = n - 1; i >= 0; --i) dst[i] = word(i);
    return spill;
}

u64 real_digits_shl(u64* dst, const u64* src, i64 n, i64 d, u64 in) {
    const i64 words = d / 19 > n + 1 ? n + 1 : d / 19;
    const int s = static_cast<int>(d % 19);
    // Word j of the source extended by in, moved up by whole words.
    auto moved = [&](i64 i) -> u64 {
        const i64 j = i + words;
        if (j < n) return src[j];
        return j == n ? in : 0;
    };
    auto word = [&](i64 i) -> u64 {
        if (s == 0) return moved(i);
        u64 low, unused;
        real_div_pow10(moved(i), 19 - s, &low);
        return low * REAL_POW10[s] + real_div_pow10(moved(i + 1), 19 - s, &unused);
    };
    const u64 rest = word(n);
    // Word i reads source words at or above index i: go upward.
    for (i64 i = 0; i < n; ++i) dst[i] = word(i);
    return rest;
}

i64 real_digits_normalise(u64* a, i64 n, u64* spill) {
    i64 lz = real_digits_lead_zeros(a, n);
    if (lz == 19 * n) lz += real_word_lead_zeros(*spill);
    if (lz == 0 || lz == 19 * n + 19) return lz;
    *spill = real_digits_shl(a, a, n, lz, *spill);
    return lz;
}
