// Construction, exponent range rules and rounding with a spill word.
#include "numlib/real_impl.h"
#include "numlib/vec.h"

const u64 REAL_POW10[20] = {1ULL,
                            10ULL,
                            100ULL,
                            1000ULL,
                            10000ULL,
                            100000ULL,
                            1000000ULL,
                            10000000ULL,
                            100000000ULL,
                            1000000000ULL,
                            10000000000ULL,
                            100000000000ULL,
                            1000000000000ULL,
                            10000000000000ULL,
                            100000000000000ULL,
                            1000000000000000ULL,
                            10000000000000000ULL,
                            100000000000000000ULL,
                            1000000000000000000ULL,
                            10000000000000000000ULL};

void real_zero(u64* dst, int sign) {
    dst[0] = static_cast<u64>(sign & 1);
    vec_zero(dst + 1, real_words());
}

void real_one(u64* dst) {
    real_zero(dst, 0);
    dst[1] = REAL_TOP;
}

void real_copy(u64* dst, const u64* src) {
    vec_copy_fwd(dst, src, real_words() + 1);
}

bool real_set_exp_sign(u64* x, i64 e, int sign) {
    if (e > REAL_EXP_MAX) {
        real_fail(x, MP_ERR_EXP_OVERFLOW);
        return false;
    }
    if (e < REAL_EXP_MIN) {
        real_zero(x, sign);
        return false;
    }
    if (real_is_zero(x)) e = 0;
    real_set_header(x, e, sign);
    return true;
}

void real_set_exp(u64* x, i64 e) {
    real_set_exp_sign(x, e, real_sign(x));
}

void real_add_exp(u64* x, i64 k) {
    if (real_is_zero(x)) return;
    i64 e;
    if (__builtin_add_overflow(real_exp_of(x), k, &e)) {
        if (k > 0) return real_fail(x, MP_ERR_EXP_OVERFLOW);
        return real_zero(x, real_sign(x));
    }
    real_set_exp(x, e);
}

void real_round_guard(u64* x, u64 spill, i32 words) {
    if (spill < REAL_BASE / 2 || real_is_zero(x)) return;
    for (i32 i = words; i >= 1; --i) {
        if (++x[i] < REAL_BASE) return;
        x[i] = 0;
    }
    // The carry left word 1: the mantissa was all nines.
    x[1] = REAL_TOP;
    real_add_exp(x, 1);
}
