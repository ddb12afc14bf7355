// e^r - 1 for moderate r: the argument is halved s times, the Taylor series
// of the small argument is summed by rectangular splitting (few full products,
// the rest divisions by small integers), and the halvings are undone by
// a -> a (a + 2), which keeps the relative accuracy of small results.
#include <algorithm>
#include <cmath>

#include "numlib/real_fn_impl.h"

namespace {

constexpr i32 kMaxBlock = 64;

// Terms of sum r^k / (k + 1)!, k >= 0, that reach digits digits when
// log10 |r| = lr.
i32 series_terms(double lr, i32 digits) {
    double size = 0.0;  // log10 of r^k / (k + 1)!
    i32 k = 0;
    while (size > -(digits + 2.0) && k < 100000) {
        ++k;
        size += lr - std::log10(static_cast<double>(k + 1));
    }
    return k;
}

// dst = sum over k < n of r^k / (k + 1)! with the powers pw[i] = r^i
// (1 <= i <= j). Blocks of j terms are nested from the last one down: a block
// starting at term k0 is U_0 with U_j = r^j S_next and U_i = r^i + U_(i+1) /
// (k0 + i + 1), whose coefficients are exactly 1 / ((k0 + 1) ... (k0 + i)).
void sum_blocks(u64* dst, u64* const* pw, i32 j, i32 n, u64* u, const u64* one) {
    const i32 blocks = (n + j - 1) / j;
    real_zero(dst, 0);
    for (i32 b = blocks - 1; b >= 0 && mp_err() == 0; --b) {
        const u64 k0 = 1 + static_cast<u64>(b) * static_cast<u64>(j);
        if (b == blocks - 1) {
            real_zero(u, 0);
        } else {
            real_mul_r(u, pw[j], dst);
        }
        for (i32 i = j - 1; i >= 0; --i) {
            real_div_u64_r(u, u, k0 + static_cast<u64>(i) + 1);
            real_add_r(u, u, i == 0 ? one : pw[i]);
        }
        real_copy(dst, u);
    }
}

// Halvings for an argument of log10 |r| = lr at digits digits: enough to make
// the series short, balanced against the one product each halving costs.
i32 halvings(double lr, i32 digits) {
    const double t = std::max(1.0, std::ceil(std::sqrt(static_cast<double>(digits)) / 11.0));
    const double s = std::ceil((lr + t) * 3.3219280948873623);
    return static_cast<i32>(std::clamp(s, 0.0, 60.0));
}

}  // namespace

void real_expm1_core(u64* dst, const u64* r) {
    if (real_is_zero(r)) return real_zero(dst, 0);
    const i32 digits = real_work_digits();
    const double lr = real_approx_log10(r);
    const i32 s = halvings(lr, digits);
    const i32 n = series_terms(lr - 0.30102999566398120 * s, digits);
    const i32 j =
        std::clamp(static_cast<i32>(std::ceil(std::sqrt(static_cast<double>(n)))), 1, kMaxBlock);
    ScratchMark mark;
    u64* pw[kMaxBlock + 1];
    for (i32 i = 1; i <= j; ++i) {
        if (!(pw[i] = real_take(mark))) return real_fail(dst, 0);
    }
    u64* sum = real_take(mark);
    u64* u = real_take(mark);
    u64* one = real_take(mark);
    if (!one) return real_fail(dst, 0);
    real_one(one);
    if (s > 0) {
        real_div_u64_r(pw[1], r, u64{1} << s);
    } else {
        real_copy(pw[1], r);
    }
    for (i32 i = 2; i <= j; ++i) real_mul_r(pw[i], pw[i - 1], pw[1]);
    sum_blocks(sum, pw, j, n, u, one);
    real_mul_r(sum, sum, pw[1]);
    real_add_r(one, one, one);  // 2
    for (i32 i = 0; i < s && mp_err() == 0; ++i) {
        real_add_r(u, sum, one);
        real_mul_r(sum, sum, u);
    }
    if (mp_err() != 0) return real_fail(dst, 0);
    real_copy(dst, sum);
}
