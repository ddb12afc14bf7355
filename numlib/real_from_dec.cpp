// A real from the top digits of a decimal vector.
#include "numlib/real_dec_impl.h"
#include "numlib/real_digits.h"
#include "numlib/vec.h"

u64 real_from_dec(u64* dst, const u64* p, i64 len, i64 e_top, int sign) {
    const i64 m = real_words();
    const i64 t = vec_top_nonzero(p, len);
    if (t < 0) {
        real_zero(dst, sign);
        return 0;
    }
    auto word = [&](i64 i) { return i >= 0 ? p[i] : 0; };
    for (i64 j = 0; j < m; ++j) dst[1 + j] = word(t - j);
    u64 spill = word(t - m);
    const int z = real_word_lead_zeros(p[t]);
    if (z > 0) {
        u64 unused;
        spill = real_digits_shl(dst + 1, dst + 1, m, z, spill) +
                real_div_pow10(word(t - m - 1), 19 - z, &unused);
    }
    i64 e;
    if (__builtin_sub_overflow(e_top, 19 * (len - 1 - t) + z, &e)) e = INT64_MIN;
    return real_set_exp_sign(dst, e, sign) ? spill : 0;
}
