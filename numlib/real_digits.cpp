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
    auto at = [&](i64 j) -> u64 { return j >= 0 && j < n ? src[j] : 0; };
    if (s == 0) {
        const u64 spill = words >= 1 ? at(n - words) : 0;
        if (words < n) vec_copy_bwd(dst + words, src, n - words);
        vec_zero(dst, words < n ? words : n);
        return spill;
    }
    // Result word i is the top of source word j = i - words under the low
    // s digits of source word j - 1; each source word is split once.
    const u64 scale = REAL_POW10[19 - s];
    u64 low, unused;
    u64 top = real_div_pow10(at(n - 1 - words), s, &low);
    const u64 spill = real_div_pow10(at(n - words), s, &unused) + low * scale;
    // Downward: word i reads source words at or below i, so an aliased
    // source is read before it is overwritten.
    for (i64 i = n - 1; i >= words; --i) {
        const u64 t = top;
        top = real_div_pow10(at(i - words - 1), s, &low);
        dst[i] = t + low * scale;
    }
    vec_zero(dst, words < n ? words : n);
    return spill;
}

u64 real_digits_shl(u64* dst, const u64* src, i64 n, i64 d, u64 in) {
    const i64 words = d / 19 > n + 1 ? n + 1 : d / 19;
    const int s = static_cast<int>(d % 19);
    // The source extended by in below its last word.
    auto at = [&](i64 j) -> u64 {
        if (j < n) return src[j];
        return j == n ? in : 0;
    };
    if (s == 0) {
        for (i64 i = 0; i < n; ++i) dst[i] = at(i + words);
        return words == 0 ? in : 0;
    }
    // Result word i is the low 19 - s digits of source word i + words over
    // the top s digits of the next one.
    const int cut = 19 - s;
    const u64 scale = REAL_POW10[s];
    u64 low;
    real_div_pow10(at(words), cut, &low);
    // Upward: word i reads source words at or above i.
    for (i64 i = 0; i < n; ++i) {
        u64 next_low;
        const u64 top = real_div_pow10(at(i + words + 1), cut, &next_low);
        dst[i] = low * scale + top;
        low = next_low;
    }
    return words == 0 ? low * scale : 0;
}

i64 real_digits_normalise(u64* a, i64 n, u64* spill) {
    i64 lz = real_digits_lead_zeros(a, n);
    if (lz == 19 * n) lz += real_word_lead_zeros(*spill);
    if (lz == 0 || lz == 19 * n + 19) return lz;
    *spill = real_digits_shl(a, a, n, lz, *spill);
    return lz;
}
