// Rounding to a number of significant digits, half up on the magnitude.
#include "numlib/real_digits.h"
#include "numlib/vec.h"

void real_round_digits(u64* dst, const u64* a, i32 k) {
    if (k < 0) return real_fail(dst, MP_ERR_DOMAIN);
    const i64 m = real_words();
    real_copy(dst, a);
    const i64 i = k / 19;
    if (i >= m || real_is_zero(dst)) return;
    // Keep 19 (i + 1) - d digits of word i + 1, d = 1 .. 19.
    const int d = static_cast<int>(19 * (i + 1) - k);
    u64 rem;
    u64 q = real_div_pow10(dst[i + 1], d, &rem);
    if (rem >= REAL_POW10[d] / 2) ++q;
    vec_zero(dst + i + 2, m - i - 1);
    dst[i + 1] = q * REAL_POW10[d];  // at most 10^19: q <= 10^(19 - d)
    if (dst[i + 1] < REAL_BASE) {
        if (i == 0 && dst[1] == 0) real_zero(dst, real_sign(dst));  // k = 0 below one half
        return;
    }
    // The kept digits were all nines: carry upward.
    dst[i + 1] = 0;
    for (i64 j = i; j >= 1; --j) {
        if (++dst[j] < REAL_BASE) return;
        dst[j] = 0;
    }
    dst[1] = REAL_TOP;
    real_add_exp(dst, 1);
}

bool real_near_tie(const u64* x, i32 k, u64 margin) {
    const i64 m = real_words();
    const i64 i = k / 19;
    if (k < 0 || i >= m || real_is_zero(x)) return false;
    // The dropped digits: d of word i + 1, then the words below it.
    const int d = static_cast<int>(19 * (i + 1) - k);
    u64 rem;
    real_div_pow10(x[i + 1], d, &rem);
    const u64 half = REAL_POW10[d] / 2;
    if (i + 1 == m) return (rem > half ? rem - half : half - rem) <= margin;
    // Just above the tie: zeros, then at most margin; just below: nines, then
    // at least 10^19 - margin.
    if (rem != half && rem + 1 != half) return false;
    const u64 fill = rem == half ? 0 : REAL_BASE - 1;
    for (i64 j = i + 2; j < m; ++j)
        if (x[j] != fill) return false;
    return rem == half ? x[m] <= margin : REAL_BASE - x[m] <= margin;
}
