// Sine, cosine and tangent: octant reduction to |r| <= pi/4, then the sine and
// cosine series of r, combined by the octant's symmetry.
#include <algorithm>
#include <cmath>

#include "numlib/real_fn.h"
#include "numlib/real_fn_impl.h"
#include "numlib/real_trig_impl.h"

namespace {

enum TrigKind { TRIG_SIN, TRIG_COS, TRIG_TAN };

// Halvings of the reduced argument before the series, by the working digits:
// each costs a product on the way back and shortens the series. Measured on
// x86-64: the series alone is fastest below about 60 digits, and from 0.17 to
// 0.5 sqrt(digits) halvings are within a few per cent of each other (25 at
// 10,000 digits take a third less time than none, 100 take more).
i32 trig_halvings(i64 digits) {
    return digits < 60 ? 0 : static_cast<i32>(std::sqrt(static_cast<double>(digits)) * 0.3);
}

// sin r and cos r (either may be nullptr) from v = 1 - cos(r / 2^k) by its
// series, doubled back k times by 1 - cos 2t = 2 v (2 - v), which keeps v's
// relative accuracy; then cos r = 1 - v and |sin r| = sqrt(v (2 - v)).
void sin_cos_halved(u64* s, u64* c, const u64* r, i32 k) {
    ScratchMark mark;
    u64* t = real_take(mark);
    u64* v = real_take(mark);
    u64* x = real_take(mark);
    if (!x) {
        if (s) real_fail(s, 0);
        if (c) real_fail(c, 0);
        return;
    }
    real_copy(t, r);
    for (i32 left = k; left > 0; left -= 60) trig_div_u64(t, t, u64{1} << std::min(left, 60));
    trig_mul(x, t, t);
    real_versine_series(v, x);
    trig_mul(v, v, x);
    // 2 v (2 - v) = 4v - 2v^2: a square and a sum (v < 1 keeps 4v exact).
    for (i32 i = 0; i < k && mp_err() == 0; ++i) {
        trig_mul(t, v, v);
        trig_mul_u64(v, v, 2);
        trig_add(v, v, t, 1);
        trig_mul_u64(v, v, 2);
    }
    if (c) {
        real_one(c);
        trig_add(c, c, v, 1);
    }
    if (s) {
        real_from_u64(t, 2);
        trig_add(t, t, v, 1);
        trig_mul(t, v, t);
        real_sqrt(s, t);
        if (real_sign(r)) real_negate(s);
    }
}

// Octants 1, 2, 5 and 6 exchange the roles of sin r and cos r.
bool swapped(int octant) {
    return ((octant + 1) & 2) != 0;
}

// The value of sin y, cos y or tan y for the reduced r of octant o, from
// s = sin r and c = cos r (only the ones the kind needs are set).
void combine(u64* dst, TrigKind kind, int o, const u64* s, const u64* c) {
    const bool swap = swapped(o);
    if (kind == TRIG_TAN) {
        if (swap) {
            trig_div(dst, c, s);
            real_negate(dst);
        } else {
            trig_div(dst, s, c);
        }
        return;
    }
    const bool take_sin = (kind == TRIG_SIN) != swap;
    real_copy(dst, take_sin ? s : c);
    const bool negative = kind == TRIG_SIN ? (o >= 3 && o <= 6) : (o >= 1 && o <= 4);
    if (negative) real_negate(dst);
}

void trig(u64* dst, const u64* x, TrigKind kind) {
    // A pending error (a stop request among them) gives +0 on every path.
    if (mp_err()) return real_fail(dst, 0);
    const int x_sign = real_sign(x);
    if (real_is_zero(x)) {
        if (kind == TRIG_COS) return real_one(dst);
        return real_zero(dst, x_sign);
    }
    ScratchMark mark;
    const std::size_t words = static_cast<std::size_t>(mp_real_words) + 1;
    u64* r = mark.take(4 * words);
    if (r == nullptr) return real_fail(dst, 0);
    u64* r2 = r + words;
    u64* s = r2 + words;
    u64* c = s + words;
    real_copy(r, x);
    real_set_header(r, real_exp_of(x), 0);
    const int o = real_trig_reduce(r, r);
    if (o < 0) return real_fail(dst, 0);
    const bool swap = swapped(o);
    const bool need_sin = kind == TRIG_TAN || ((kind == TRIG_SIN) != swap);
    const bool need_cos = kind == TRIG_TAN || ((kind == TRIG_SIN) == swap);
    const i32 k = trig_halvings(trig_work_digits());
    if (k > 0) {
        sin_cos_halved(need_sin ? s : nullptr, need_cos ? c : nullptr, r, k);
    } else {
        trig_mul(r2, r, r);
        real_trig_series(need_sin ? s : nullptr, need_cos ? c : nullptr, r2);
        if (need_sin) trig_mul(s, s, r);
    }
    combine(dst, kind, o, s, c);
    if (mp_err()) return real_fail(dst, 0);
    if (kind != TRIG_COS && x_sign) real_negate(dst);
    if (real_is_zero(dst)) real_zero(dst, kind == TRIG_COS ? 0 : x_sign);
}

}  // namespace

void real_sin(u64* dst, const u64* x) {
    trig(dst, x, TRIG_SIN);
}
void real_cos(u64* dst, const u64* x) {
    trig(dst, x, TRIG_COS);
}
void real_tan(u64* dst, const u64* x) {
    trig(dst, x, TRIG_TAN);
}
