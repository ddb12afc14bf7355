// Powers and roots. Integer powers square and multiply with enough extra
// words to absorb the rounding of up to 2 log2 |n| products; real powers and
// roots go through e^(y ln |x|) with one extra word, since the exponential
// turns absolute errors of its argument into relative errors of the result.
#include <algorithm>

#include "numlib/real_fn.h"
#include "numlib/real_fn_impl.h"
#include "numlib/vec.h"

namespace {

// Copies x (w words) into t at the current, larger precision.
void widen(u64* t, const u64* x, i32 w) {
    vec_copy_fwd(t, x, w + 1);
    real_extend(t, w, mp_real_words);
}

// Rounds t (current precision) into dst at w words.
void narrow(u64* dst, const u64* t, i32 w) {
    vec_copy_fwd(dst, t, w + 1);
    if (mp_real_words > w) real_round_guard(dst, t[w + 1], w);
}

// |x|^e by squaring from the lowest bit; |x| >= 1 keeps every intermediate
// below the result and |x| < 1 keeps them above it, so none leaves the range
// unless the result does.
void pow_bits(u64* acc, u64* base, u64 e) {
    bool first = true;
    while (e != 0 && mp_err() == 0) {
        if (e & 1) {
            if (first) {
                real_copy(acc, base);
            } else {
                real_mul_r(acc, acc, base);
            }
            first = false;
        }
        e >>= 1;
        if (e != 0) real_mul_r(base, base, base);
    }
}

// e^(f(ln |x|)) with one extra word: f scales the logarithm in place.
template <typename Scale>
void exp_of_log(u64* dst, const u64* x, Scale scale) {
    const i32 w = mp_real_words;
    const i32 wide = std::max(w, std::min(w + 1, REAL_FN_LONG_WORDS));
    {
        RealPrecision prec(wide, mp_guard_digits + 19 * (wide - w));
        ScratchMark mark;
        u64* t = real_take(mark);
        if (!t) return real_fail(dst, 0);
        widen(t, x, w);
        t[0] &= ~u64{1};
        real_ln(t, t);
        scale(t);
        real_exp(t, t);
        narrow(dst, t, w);
    }
    if (mp_err() != 0) real_fail(dst, 0);
}

// e^(ln |x| op y) for a real y, op real_mul_r (x^y) or real_div_r (the y-th
// root), negated when negate unless an error left +0.
void exp_of_log_by(u64* dst, const u64* x, const u64* y, void (*op)(u64*, const u64*, const u64*),
                   bool negate) {
    ScratchMark mark;
    u64* v = real_take(mark);
    if (!v) return real_fail(dst, 0);
    real_copy(v, y);
    const i32 w = mp_real_words;
    exp_of_log(dst, x, [v, w, op](u64* t) {
        ScratchMark inner;
        u64* yy = real_take(inner);
        if (!yy) return;
        widen(yy, v, w);
        op(t, t, yy);
    });
    if (negate && mp_err() == 0) real_negate(dst);
}

// Whether x is an integer within i64, into *n.
bool small_integer(const u64* x, i64* n) {
    return real_is_integer(x) && real_to_i64(n, x, REAL_CONV_QUIET);
}

}  // namespace

void real_pow_int(u64* dst, const u64* x, i64 n) {
    if (n == 0) return real_one(dst);
    if (real_is_zero(x)) return real_fail(dst, n > 0 ? 0 : MP_ERR_DOMAIN);
    const i32 w = mp_real_words;
    const u64 e = n < 0 ? u64{0} - static_cast<u64>(n) : static_cast<u64>(n);
    const i32 bits = 64 - __builtin_clzll(e);
    const i32 wide = std::max(w, std::min(w + 1 + bits / 60, REAL_FN_LONG_WORDS));
    {
        RealPrecision prec(wide, mp_guard_digits + 19 * (wide - w));
        ScratchMark mark;
        u64* base = real_take(mark);
        u64* acc = real_take(mark);
        if (!acc) return real_fail(dst, 0);
        widen(base, x, w);
        if (n < 0) real_recip(base, base);
        pow_bits(acc, base, e);
        if (mp_err() != 0) return real_fail(dst, 0);
        narrow(dst, acc, w);
    }
}

void real_pow(u64* dst, const u64* x, const u64* y) {
    if (real_is_zero(y)) return real_one(dst);
    if (real_is_zero(x)) return real_fail(dst, real_sign(y) ? MP_ERR_DOMAIN : 0);
    i64 n = 0;
    if (small_integer(y, &n)) return real_pow_int(dst, x, n);
    const bool integer = real_is_integer(y);
    if (real_sign(x) && !integer) return real_fail(dst, MP_ERR_DOMAIN);
    exp_of_log_by(dst, x, y, real_mul_r, real_sign(x) && !real_is_even(y));
}

void real_root_int(u64* dst, i64 n, const u64* x) {
    if (n == 0) return real_fail(dst, MP_ERR_DOMAIN);
    if (real_is_zero(x)) return real_fail(dst, n > 0 ? 0 : MP_ERR_DOMAIN);
    const bool negative = real_sign(x) != 0;
    if (negative && n % 2 == 0) return real_fail(dst, MP_ERR_DOMAIN);
    if (n == 1) return real_copy(dst, x);
    if (n == -1) return real_recip(dst, x);
    if (n == 2) return real_sqrt(dst, x);
    if (n == 3) return real_cbrt(dst, x);
    const u64 k = n < 0 ? u64{0} - static_cast<u64>(n) : static_cast<u64>(n);
    exp_of_log(dst, x, [k, n](u64* t) {
        real_div_u64_r(t, t, k);
        if (n < 0) real_negate(t);
    });
    if (negative && mp_err() == 0) real_negate(dst);
}

void real_root(u64* dst, const u64* n, const u64* x) {
    if (real_is_zero(n)) return real_fail(dst, MP_ERR_DOMAIN);
    i64 k = 0;
    if (small_integer(n, &k)) return real_root_int(dst, k, x);
    const bool odd = real_is_integer(n) && !real_is_even(n);
    if (real_sign(x) && !odd) return real_fail(dst, MP_ERR_DOMAIN);
    if (real_is_zero(x)) return real_fail(dst, real_sign(n) ? MP_ERR_DOMAIN : 0);
    exp_of_log_by(dst, x, n, real_div_r, real_sign(x) != 0);
}
