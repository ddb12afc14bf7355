// Integer and fractional parts. Both are exact: the integer part clears the
// digits below the units position, the fraction is the difference.
#include "numlib/real_fn.h"
#include "numlib/real_fn_impl.h"

void real_trunc(u64* dst, const u64* x) {
    const i32 m = mp_real_words;
    const i64 e = real_exp_of(x);
    if (real_is_zero(x) || e >= 19 * static_cast<i64>(m) - 1) return real_copy(dst, x);
    if (e < 0) return real_zero(dst, real_sign(x));
    real_copy(dst, x);
    const i64 keep = e + 1;  // digits from the top, 1 .. 19m - 1
    const i32 word = static_cast<i32>(keep / 19) + 1;
    const int digits = static_cast<int>(keep % 19);
    i32 first_clear = word;
    if (digits != 0) {
        const u64 unit = REAL_POW10[19 - digits];
        dst[word] -= dst[word] % unit;
        first_clear = word + 1;
    }
    for (i32 i = first_clear; i <= m; ++i) dst[i] = 0;
}

void real_frac(u64* dst, const u64* x) {
    ScratchMark mark;
    u64* t = real_take(mark);
    if (!t) return real_fail(dst, 0);
    real_trunc(t, x);
    const u64 spill = real_add_sub(dst, x, t, 1);
    if (spill != 0) mp_raise(MP_ERR_INTERNAL);  // the difference is exact
}
