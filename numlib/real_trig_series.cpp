// The series of sin, cos and atan by Smith's concurrent summation: with
// y = x^s, the terms c_n x^n (n = sj + i) are added into s sums A_i as
// c_n y^j, where each c_n y^j follows from the previous one by a division by
// a machine word and only a block change needs a full product. The result is
// sum A_i x^i by Horner's rule: about 2 sqrt(terms) full products in all.
#include <algorithm>
#include <cmath>

#include "numlib/real_impl.h"
#include "numlib/real_trig_impl.h"
#include "numlib/vec.h"

namespace {

constexpr i32 MAX_BLOCK = 64;

// Terms the series needs: the first n whose estimated magnitude
// n log10 x - log10(denominator) falls below the working precision, by
// bisection (the magnitude falls monotonically for x < 1).
i64 estimate_terms(double lx, bool factorial) {
    const double limit = -static_cast<double>(trig_work_digits()) - 2;
    auto magnitude = [&](i64 n) {
        const double d = 2.0 * static_cast<double>(n) + 1;
        return static_cast<double>(n) * lx -
               (factorial ? std::lgamma(d + 1) / 2.302585092994046 : std::log10(d));
    };
    i64 lo = 0, hi = 1;
    while (hi < (i64{1} << 24) && magnitude(hi) >= limit) hi *= 2;
    while (hi - lo > 1) {
        const i64 mid = (lo + hi) / 2;
        (magnitude(mid) >= limit ? lo : hi) = mid;
    }
    return hi + 1;
}

i32 block_size(i64 terms) {
    i64 s = static_cast<i64>(std::ceil(std::sqrt(static_cast<double>(terms))));
    return static_cast<i32>(std::clamp<i64>(s, 1, MAX_BLOCK));
}

// dst = x^k, k >= 1, by squaring; dst may not be x.
void power(u64* dst, const u64* x, i32 k) {
    real_copy(dst, x);
    int top = 31 - __builtin_clz(static_cast<unsigned>(k));
    for (int b = top - 1; b >= 0; --b) {
        trig_mul(dst, dst, dst);
        if ((k >> b) & 1) trig_mul(dst, dst, x);
    }
}

// The s sums of one series.
class Sums {
  public:
    Sums(ScratchMark& mark, i32 s) : s_(s), stride_(static_cast<std::size_t>(mp_real_words) + 1) {
        data_ = mark.take(stride_ * static_cast<std::size_t>(s));
        if (data_ == nullptr) return;
        for (i32 i = 0; i < s; ++i) real_zero(at(i), 0);
    }
    bool ok() const { return data_ != nullptr; }
    u64* at(i32 i) { return data_ + stride_ * static_cast<std::size_t>(i); }
    void add(i32 i, const u64* t, int sub) {
        trig_add(at(i), at(i), t, sub);
        if (i + 1 > used_) used_ = i + 1;
    }
    // dst = sum A_i x^i.
    void horner(u64* dst, const u64* x) {
        if (used_ == 0) return real_zero(dst, 0);
        real_copy(dst, at(used_ - 1));
        for (i32 i = used_ - 2; i >= 0; --i) {
            trig_mul(dst, dst, x);
            trig_add(dst, dst, at(i), 0);
        }
    }

  private:
    i32 s_;
    std::size_t stride_;
    u64* data_ = nullptr;
    i32 used_ = 0;
};

// The working precision's stopping bound for a term of estimated log10
// magnitude mag.
bool negligible(double mag) {
    return mag < -static_cast<double>(trig_work_digits()) - 1;
}

}  // namespace

void real_trig_series(u64* sin_over_r, u64* cos_out, const u64* x) {
    if (real_is_zero(x)) {
        if (sin_over_r) real_one(sin_over_r);
        if (cos_out) real_one(cos_out);
        return;
    }
    if (real_exp_of(x) >= 0) {  // the callers reduce far below 1
        if (sin_over_r) real_fail(sin_over_r, MP_ERR_INTERNAL);
        if (cos_out) real_fail(cos_out, MP_ERR_INTERNAL);
        return;
    }
    const double lx = trig_log10_abs(x);
    const i32 s = block_size(estimate_terms(lx, true));
    ScratchMark mark;
    Sums sums_sin(mark, sin_over_r ? s : 0), sums_cos(mark, cos_out ? s : 0);
    u64* y = mark.take(3 * (static_cast<std::size_t>(mp_real_words) + 1));
    if (y == nullptr || (sin_over_r && !sums_sin.ok()) || (cos_out && !sums_cos.ok())) {
        if (sin_over_r) real_fail(sin_over_r, 0);
        if (cos_out) real_fail(cos_out, 0);
        return;
    }
    // cur = (-1)^n y^j / (2n + 1 - c)! with c = 1 for the cosine alone; with
    // both series the cosine's term is the sine's times 2n + 1.
    const int c = sin_over_r ? 0 : 1;
    u64* cur = y + mp_real_words + 1;
    u64* t = cur + mp_real_words + 1;
    power(y, x, s);
    real_one(cur);
    for (i64 n = 0; mp_err() == 0; ++n) {
        const i32 i = static_cast<i32>(n % s);
        if (i == 0 && n > 0) trig_mul(cur, cur, y);
        const double mag = static_cast<double>(real_exp_of(cur)) + 1 + i * lx +
                           (c == 0 && cos_out ? real_word_digits(static_cast<u64>(2 * n + 1)) : 0);
        if (real_is_zero(cur) || negligible(mag)) break;
        if (sin_over_r) sums_sin.add(i, cur, 0);
        if (cos_out && c == 0) {
            trig_mul_u64(t, cur, static_cast<u64>(2 * n + 1));
            sums_cos.add(i, t, 0);
        } else if (cos_out) {
            sums_cos.add(i, cur, 0);
        }
        trig_div_u64(cur, cur, static_cast<u64>((2 * n + 2 - c) * (2 * n + 3 - c)));
        real_negate(cur);
    }
    if (sin_over_r) sums_sin.horner(sin_over_r, x);
    if (cos_out) sums_cos.horner(cos_out, x);
    if (mp_err()) {
        if (sin_over_r) real_fail(sin_over_r, 0);
        if (cos_out) real_fail(cos_out, 0);
    }
}

void real_atan_series(u64* dst, const u64* x) {
    if (real_is_zero(x)) return real_one(dst);
    if (real_exp_of(x) >= 0) return real_fail(dst, MP_ERR_INTERNAL);  // reduced far below 1
    const double lx = trig_log10_abs(x);
    const i32 s = block_size(estimate_terms(lx, false));
    ScratchMark mark;
    Sums sums(mark, s);
    u64* y = mark.take(3 * (static_cast<std::size_t>(mp_real_words) + 1));
    if (y == nullptr || !sums.ok()) return real_fail(dst, 0);
    u64* base = y + mp_real_words + 1;  // (-1)^(sj) y^j
    u64* t = base + mp_real_words + 1;
    power(y, x, s);
    real_one(base);
    for (i64 n = 0; mp_err() == 0; ++n) {
        const i32 i = static_cast<i32>(n % s);
        if (i == 0 && n > 0) {
            trig_mul(base, base, y);
            if (s & 1) real_negate(base);
        }
        if (real_is_zero(base) || negligible(static_cast<double>(real_exp_of(base)) + 1 + i * lx))
            break;
        trig_div_u64(t, base, static_cast<u64>(2 * n + 1));
        sums.add(i, t, i & 1);
    }
    sums.horner(dst, x);
    if (mp_err()) real_fail(dst, 0);
}

void real_versine_series(u64* dst, const u64* x) {
    real_one(dst);
    trig_div_u64(dst, dst, 2);
    if (real_is_zero(x)) return;
    if (real_exp_of(x) >= 0) return real_fail(dst, MP_ERR_INTERNAL);  // reduced far below 1
    const double lx = trig_log10_abs(x);
    const i32 s = block_size(estimate_terms(lx, true));
    ScratchMark mark;
    Sums sums(mark, s);
    u64* y = mark.take(2 * (static_cast<std::size_t>(mp_real_words) + 1));
    if (y == nullptr || !sums.ok()) return real_fail(dst, 0);
    // cur = (-1)^n y^j / (2n + 2)!
    u64* cur = y + mp_real_words + 1;
    power(y, x, s);
    real_copy(cur, dst);
    for (i64 n = 0; mp_err() == 0; ++n) {
        const i32 i = static_cast<i32>(n % s);
        if (i == 0 && n > 0) trig_mul(cur, cur, y);
        if (real_is_zero(cur) || negligible(static_cast<double>(real_exp_of(cur)) + 1 + i * lx))
            break;
        sums.add(i, cur, 0);
        trig_div_u64(cur, cur, static_cast<u64>((2 * n + 3) * (2 * n + 4)));
        real_negate(cur);
    }
    sums.horner(dst, x);
    if (mp_err()) real_fail(dst, 0);
}
