// Sine, cosine and tangent: octant reduction to |r| <= pi/4, then the sine and
// cosine series of r, combined by the octant's symmetry.
#include "numlib/real_fn.h"
#include "numlib/real_impl.h"
#include "numlib/real_trig_impl.h"

namespace {

enum TrigKind { TRIG_SIN, TRIG_COS, TRIG_TAN };

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
    trig_mul(r2, r, r);
    real_trig_series(need_sin ? s : nullptr, need_cos ? c : nullptr, r2);
    if (need_sin) trig_mul(s, s, r);
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
