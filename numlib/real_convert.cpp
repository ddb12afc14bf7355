// Conversions between reals and machine integers, binary integers, packed
// constants and other precisions.
#include "numlib/real_digits.h"
#include "numlib/real_radix.h"
#include "numlib/uint_pow_impl.h"
#include "numlib/vec.h"

namespace {

// Rounds the dst_m-word value x half up with spill. Unlike real_round_guard
// it does not depend on mp_real_words.
void round_words(u64* x, i64 words, u64 spill) {
    if (spill < REAL_BASE / 2 || x[1] == 0) return;
    for (i64 i = words; i >= 1; --i) {
        if (++x[i] < REAL_BASE) return;
        x[i] = 0;
    }
    x[1] = REAL_TOP;
    const i64 e = real_exp_of(x) + 1;
    if (e > REAL_EXP_MAX) {
        mp_raise(MP_ERR_EXP_OVERFLOW);
        x[0] = 0;
        vec_zero(x + 1, words);
        return;
    }
    real_set_header(x, e, real_sign(x));
}

// The magnitude of the integer part of x when it has at most 20 digits;
// false when it has more or does not fit a u64.
bool int_part_u64(const u64* x, u64* out) {
    *out = 0;
    if (real_is_zero(x)) return true;
    const i64 e = real_exp_of(x);
    if (e < 0) return true;
    if (e > 19) return false;
    u64 unused;
    if (e < 19) {
        *out = real_div_pow10(x[1], 18 - static_cast<int>(e), &unused);
        return true;
    }
    // 20 digits: all of word 1 and the top digit of word 2.
    const u64 next = real_words() >= 2 ? real_div_pow10(x[2], 18, &unused) : 0;
    const u128 v = static_cast<u128>(x[1]) * 10 + next;
    if (v >> 64) return false;
    *out = static_cast<u64>(v);
    return true;
}

// Common failure of the machine-integer conversions.
bool conversion_failed(u32 flags) {
    if (!(flags & REAL_CONV_QUIET)) mp_raise(MP_ERR_DOMAIN);
    return false;
}

// {acc, cap} = the integer of the base-10^19 words {w, k}, most significant
// first, times 10^j after reading the top j digits of w[k] (j < 19). Horner's
// rule; returns the significant length.
i64 dec_to_bin(u64* acc, i64 cap, const u64* w, i64 k, int j) {
    vec_zero(acc, cap);
    i64 len = 0;
    auto step = [&](u64 scale, u64 digits) {
        if (len == 0) {
            if (digits) acc[len++] = digits;
            return;
        }
        if (const u64 carry = vec_mul_word(acc, acc, len, scale)) acc[len++] = carry;
        if (vec_add_1(acc, acc, len, digits)) acc[len++] = 1;
    };
    for (i64 i = 0; i < k; ++i) step(REAL_BASE, w[i]);
    if (j > 0) {
        u64 unused;
        step(REAL_POW10[j], real_div_pow10(w[k], 19 - j, &unused));
    }
    return len;
}

}  // namespace

u64 real_from_u64(u64* dst, u64 v) {
    real_zero(dst, 0);
    if (v == 0) return 0;
    const int digits = v >= REAL_BASE ? 20 : real_word_digits(v);
    if (digits <= 19) {
        dst[1] = v * REAL_POW10[19 - digits];
        real_set_header(dst, digits - 1, 0);
        return 0;
    }
    // Twenty digits: the last one goes to word 2, or to the spill.
    dst[1] = v / 10;
    const u64 last = (v % 10) * REAL_POW10[18];
    real_set_header(dst, 19, 0);
    if (real_words() == 1) return last;
    dst[2] = last;
    return 0;
}

u64 real_from_i64(u64* dst, i64 v) {
    const u64 mag = v < 0 ? 0 - static_cast<u64>(v) : static_cast<u64>(v);
    const u64 spill = real_from_u64(dst, mag);
    if (v < 0) real_negate(dst);
    return spill;
}

void real_from_uint(u64* dst, i32 count, const u64* a) {
    if (count < 0) return real_fail(dst, MP_ERR_INTERNAL);
    const i64 m = real_words();
    const i64 n = vec_len(a, count);
    if (n == 0) return real_zero(dst, 0);
    const i64 k = real_dec_words_for(n);
    ScratchMark mark;
    // The decimal words, then room for m + 1 more so that the words after
    // the first non-zero one can always be read.
    u64* dec = mark.take(static_cast<std::size_t>(k + m + 1));
    if (!dec) return real_fail(dst, 0);
    vec_zero(dec + k, m + 1);
    if (!real_bin_to_dec(dec, k, a, n, m + 1))
        return real_fail(dst, mp_err() ? 0 : MP_ERR_DECIMAL_WORDS);
    i64 first = 0;
    while (dec[first] == 0) ++first;
    const int lz = real_word_lead_zeros(dec[first]);
    real_digits_shl(dst + 1, dec + first, m, lz, dec[first + m]);
    real_set_header(dst, 19 * (k - first) - lz - 1, 0);
}

void real_from_packed(u64* dst, const u64* packed) {
    const i64 t = static_cast<u32>(packed[0]);
    if (t < 2) return real_fail(dst, MP_ERR_DOMAIN);
    const i64 m = real_words();
    const i64 words = t - 1 < m ? t - 1 : m;
    dst[0] = packed[1];
    vec_copy_fwd(dst + 1, packed + 2, words);
    vec_zero(dst + 1 + words, m - words);
}

void real_resize(u64* dst, i32 dst_m, const u64* src, i32 src_m) {
    if (dst_m < 1 || src_m < 1) {
        mp_raise(MP_ERR_INTERNAL);
        if (dst_m >= 0) vec_zero(dst, dst_m + 1);
        return;
    }
    if (dst_m >= src_m) {
        vec_copy_fwd(dst, src, src_m + 1);
        vec_zero(dst + src_m + 1, dst_m - src_m);
        return;
    }
    const u64 spill = src[dst_m + 1];
    vec_copy_fwd(dst, src, dst_m + 1);
    round_words(dst, dst_m, spill);
}

bool real_to_i64(i64* out, const u64* x, u32 flags) {
    *out = 0;
    u64 mag;
    if (!(flags & REAL_CONV_TRUNCATE) && !real_is_integer(x)) return conversion_failed(flags);
    if (!int_part_u64(x, &mag)) return conversion_failed(flags);
    const bool neg = real_sign(x) && mag != 0;
    if (mag > (neg ? u64{1} << 63 : (u64{1} << 63) - 1)) return conversion_failed(flags);
    *out = neg ? static_cast<i64>(0 - mag) : static_cast<i64>(mag);
    return true;
}

bool real_to_u64(u64* out, const u64* x, u32 flags) {
    *out = 0;
    u64 mag;
    if (!(flags & REAL_CONV_TRUNCATE) && !real_is_integer(x)) return conversion_failed(flags);
    if (!int_part_u64(x, &mag)) return conversion_failed(flags);
    if (real_sign(x) && mag != 0 && !(flags & REAL_CONV_ABS)) return conversion_failed(flags);
    *out = mag;
    return true;
}

void real_to_uint(u64* dst, i32 count, const u64* x) {
    if (count < 1) return mp_raise(MP_ERR_INTERNAL);
    vec_zero(dst, count);
    const i64 e = real_exp_of(x);
    if (real_is_zero(x) || e < 0) return;
    const i64 m = real_words(), digits = e + 1;
    // 10^(digits - 1) >= 2^(64 count) once digits - 1 >= 19.27 count.
    if ((digits - 1) * 100 >= 1927 * static_cast<i64>(count)) return mp_raise(MP_ERR_OVERFLOW);
    const i64 kept = digits < 19 * m ? digits : 19 * m;  // digits taken from the mantissa
    const i64 scale = digits - kept;                     // zeros after them
    ScratchMark mark;
    const i64 cap = (kept * 3322) / 64000 + 2;  // bits of 10^kept over 64, rounded up
    u64* acc = mark.take(static_cast<std::size_t>(cap));
    if (!acc) return;
    i64 len = dec_to_bin(acc, cap, x + 1, kept / 19, static_cast<int>(kept % 19));
    if (scale > 0) {
        // Room for uint_pow_into: 4 bits of 10 per factor, two spare words.
        const i64 pcap = (4 * scale + 63) / 64 + 2;
        u64* pw = mark.take(static_cast<std::size_t>(pcap));
        u64* prod = mark.take(static_cast<std::size_t>(len + pcap));
        if (!pw || !prod) return;
        const u64 ten = 10;
        i64 lp;
        {
            MpIsolate iso;  // a pending error must not cut the power short
            lp = uint_pow_into(pw, pcap, &ten, 1, static_cast<u64>(scale));
        }
        if (lp == 0 || !uint_mul_into(prod, acc, len, pw, lp, mark)) return;
        acc = prod;
        len = vec_len(prod, len + lp);
    }
    if (len > count) return mp_raise(MP_ERR_OVERFLOW);
    vec_copy_fwd(dst, acc, len);
}
