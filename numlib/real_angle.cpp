// Conversions between radians, degrees and gradians: pi/4 corresponds to 45
// degrees and to 50 gradians.
#include "numlib/real_const.h"
#include "numlib/real_fn.h"
#include "numlib/real_impl.h"
#include "numlib/real_trig_impl.h"

namespace {

// dst = x / units * pi/4.
void to_radians(u64* dst, const u64* x, u64 units) {
    ScratchMark mark;
    u64* c = mark.take(static_cast<std::size_t>(mp_real_words) + 1);
    if (c == nullptr) return real_fail(dst, 0);
    real_const(c, REAL_CONST_PI_4);
    trig_div_u64(dst, x, units);
    trig_mul(dst, dst, c);
    if (mp_err()) real_fail(dst, 0);
}

// dst = x * units * 4/pi.
void from_radians(u64* dst, const u64* x, u64 units) {
    ScratchMark mark;
    u64* c = mark.take(static_cast<std::size_t>(mp_real_words) + 1);
    if (c == nullptr) return real_fail(dst, 0);
    real_const(c, REAL_CONST_4_OVER_PI);
    trig_mul_u64(c, c, units);
    trig_mul(dst, x, c);
    if (mp_err()) real_fail(dst, 0);
}

}  // namespace

void real_deg_to_rad(u64* dst, const u64* x) {
    to_radians(dst, x, 45);
}
void real_grad_to_rad(u64* dst, const u64* x) {
    to_radians(dst, x, 50);
}
void real_rad_to_deg(u64* dst, const u64* x) {
    from_radians(dst, x, 45);
}
void real_rad_to_grad(u64* dst, const u64* x) {
    from_radians(dst, x, 50);
}
