// Arctangent and the functions built on it: atan2, asin and acos.
#include <algorithm>
#include <cmath>

#include "numlib/real_const.h"
#include "numlib/real_fn.h"
#include "numlib/real_impl.h"
#include "numlib/real_trig_impl.h"

namespace {

// Reduction points p (as 100 p) with the constants arctan p and the upper
// ends of the argument ranges they serve; below 0.11 no reduction, from
// 0.8217 on p = 1 with arctan 1 = pi/4.
struct AtanPoint {
    double below;
    u64 p100;
    i32 constant;
};
constexpr AtanPoint ATAN_POINTS[] = {{0.3066, 20, REAL_CONST_ATAN0_2},
                                     {0.5385, 42, REAL_CONST_ATAN0_42},
                                     {0.8217, 67, REAL_CONST_ATAN0_67},
                                     {2.0, 100, REAL_CONST_PI_4}};

// Halvings of the reduced argument before the series, by the working digits:
// each costs a square root and a quotient and saves a third of a digit per
// term. Measured on x86-64: none below about 200 digits, and near
// 0.25 sqrt(digits) above (25 at 10,000 digits; 0.06 and 0.45 cost a fifth
// more).
i32 atan_halvings(i64 digits) {
    return digits < 200 ? 0 : static_cast<i32>(std::sqrt(static_cast<double>(digits)) * 0.25);
}

// atan t for 0 <= t <= 1: t' = (t - p) / (1 + p t) brings the argument below
// about 0.11, then atan t = arctan p + t' * series(t'^2).
void atan_unit(u64* dst, const u64* t, u64* tmp, u64* x2) {
    const double v = real_is_zero(t) ? 0.0 : std::pow(10.0, trig_log10_abs(t));
    const AtanPoint* point = nullptr;
    if (v >= 0.11)
        for (const AtanPoint& pt : ATAN_POINTS)
            if (v < pt.below) {
                point = &pt;
                break;
            }
    if (point == nullptr) {
        real_copy(tmp, t);
    } else {
        // (100 t - 100 p) / (100 + 100 p t): exact integers 100 p.
        trig_mul_u64(x2, t, 100);
        real_from_u64(tmp, point->p100);
        trig_add(x2, x2, tmp, 1);
        trig_mul_u64(tmp, t, point->p100);
        real_from_u64(dst, 100);
        trig_add(tmp, tmp, dst, 0);
        trig_div(tmp, x2, tmp);
    }
    // Halvings atan u = 2 atan(u / (1 + sqrt(1 + u^2))) shorten the series.
    const i32 k = atan_halvings(trig_work_digits());
    for (i32 i = 0; i < k && mp_err() == 0; ++i) {
        trig_mul(x2, tmp, tmp);
        real_one(dst);
        trig_add(x2, x2, dst, 0);
        real_sqrt(x2, x2);
        trig_add(x2, x2, dst, 0);
        trig_div(tmp, tmp, x2);
    }
    trig_mul(x2, tmp, tmp);
    real_atan_series(dst, x2);
    trig_mul(dst, dst, tmp);
    for (i32 left = k; left > 0; left -= 60) trig_mul_u64(dst, dst, u64{1} << std::min(left, 60));
    if (point != nullptr) {
        real_const(tmp, point->constant);
        trig_add(dst, dst, tmp, 0);
    }
}

// dst = atan x for any x; dst may be x.
void atan_any(u64* dst, const u64* x) {
    const int sign = real_sign(x);
    if (real_is_zero(x)) return real_zero(dst, sign);
    ScratchMark mark;
    const std::size_t words = static_cast<std::size_t>(mp_real_words) + 1;
    u64* t = mark.take(3 * words);
    if (t == nullptr) return real_fail(dst, 0);
    u64* tmp = t + words;
    u64* x2 = tmp + words;
    real_copy(t, x);
    real_set_header(t, real_exp_of(x), 0);
    const bool invert = real_cmp_i64(t, 1) > 0;
    if (invert) real_recip(t, t);
    atan_unit(dst, t, tmp, x2);
    if (invert) {
        // atan |x| = pi/2 - atan(1/|x|)
        real_const(tmp, REAL_CONST_PI_2);
        trig_add(dst, tmp, dst, 1);
    }
    if (mp_err()) return real_fail(dst, 0);
    if (sign) real_negate(dst);
}

// dst = k pi/2 (k = 1, 2) with the given sign.
void half_pi_multiple(u64* dst, int k, int sign) {
    real_const(dst, REAL_CONST_PI_2);
    if (k == 2) trig_mul_u64(dst, dst, 2);
    if (sign) real_negate(dst);
}

}  // namespace

void real_atan(u64* dst, const u64* x) {
    atan_any(dst, x);
}

void real_atan2(u64* dst, const u64* y, const u64* x) {
    const int ys = real_sign(y);
    if (real_is_zero(x)) {
        if (real_is_zero(y)) return real_zero(dst, 0);
        return half_pi_multiple(dst, 1, ys);
    }
    ScratchMark mark;
    const std::size_t words = static_cast<std::size_t>(mp_real_words) + 1;
    u64* q = mark.take(2 * words);
    if (q == nullptr) return real_fail(dst, 0);
    u64* c = q + words;
    const bool negative_x = real_sign(x) != 0;
    if (real_cmp_abs(y, x) <= 0) {
        // |y/x| <= 1: atan(y/x), moved by pi into the left half-plane.
        trig_div(q, y, x);
        atan_any(q, q);
        if (negative_x) {
            half_pi_multiple(c, 2, ys);
            trig_add(q, q, c, 0);
        }
    } else {
        // Steep points: sign(y) pi/2 - atan(x/y), with no overflow of y/x.
        trig_div(q, x, y);
        atan_any(q, q);
        half_pi_multiple(c, 1, ys);
        trig_add(q, c, q, 1);
    }
    if (mp_err()) return real_fail(dst, 0);
    real_copy(dst, q);
}

namespace {

// |x| compared with 1: -1, 0 or +1.
int cmp_abs_one(const u64* x) {
    const int c = real_cmp_i64(x, real_sign(x) ? -1 : 1);
    return real_sign(x) ? -c : c;
}

// Temporaries *a = 1 - x and *b = 1 + x from mark, exact near |x| = 1 where
// asin and acos need them most; false (dst = +0, error 30 raised) when the
// scratch area is exhausted.
bool one_minus_plus(ScratchMark& mark, u64* dst, const u64* x, u64** a, u64** b) {
    const std::size_t words = static_cast<std::size_t>(mp_real_words) + 1;
    *a = mark.take(3 * words);
    if (*a == nullptr) {
        real_fail(dst, 0);
        return false;
    }
    *b = *a + words;
    u64* one = *b + words;
    real_one(one);
    trig_add(*a, one, x, 1);
    trig_add(*b, one, x, 0);
    return true;
}

}  // namespace

void real_asin(u64* dst, const u64* x) {
    const int c = cmp_abs_one(x);
    if (c > 0) return real_fail(dst, MP_ERR_DOMAIN);
    if (c == 0) return half_pi_multiple(dst, 1, real_sign(x));
    if (real_is_zero(x)) return real_zero(dst, real_sign(x));
    ScratchMark mark;
    u64 *a, *b;
    if (!one_minus_plus(mark, dst, x, &a, &b)) return;
    // x / sqrt((1 - x)(1 + x))
    trig_mul(a, a, b);
    real_sqrt(a, a);
    trig_div(a, x, a);
    atan_any(dst, a);
}

void real_acos(u64* dst, const u64* x) {
    const int c = cmp_abs_one(x);
    if (c > 0) return real_fail(dst, MP_ERR_DOMAIN);
    if (c == 0) return real_sign(x) ? half_pi_multiple(dst, 2, 0) : real_zero(dst, 0);
    ScratchMark mark;
    u64 *a, *b;
    if (!one_minus_plus(mark, dst, x, &a, &b)) return;
    // 2 atan(sqrt((1 - x) / (1 + x)))
    trig_div(a, a, b);
    real_sqrt(a, a);
    atan_any(dst, a);
    trig_mul_u64(dst, dst, 2);
    if (mp_err()) real_fail(dst, 0);
}
