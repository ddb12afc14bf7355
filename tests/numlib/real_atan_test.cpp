// Arctangent, atan2, arcsine, arccosine and the angle conversions against
// MPFR: arguments beside 1 and the reduction points, of any size, and
// outside the domain; hard cases on the axes and at the range ends.
#include <mpfr.h>

#include "numlib/mp_error.h"
#include "numlib/real_fn.h"
#include "support/numlib_fixture.h"
#include "support/real_fn_check.h"

namespace {

using RealAtanTest = NumlibTest;

void one(mpfr_ptr v, TestRng&) {
    mpfr_set_ui(v, 1, MPFR_RNDN);
}

int mpfr_deg_to_rad(mpfr_ptr r, mpfr_srcptr x, mpfr_rnd_t rnd) {
    mpfr_const_pi(r, rnd);
    mpfr_mul(r, r, x, rnd);
    return mpfr_div_ui(r, r, 180, rnd);
}
int mpfr_grad_to_rad(mpfr_ptr r, mpfr_srcptr x, mpfr_rnd_t rnd) {
    mpfr_const_pi(r, rnd);
    mpfr_mul(r, r, x, rnd);
    return mpfr_div_ui(r, r, 200, rnd);
}
int mpfr_rad_to_deg(mpfr_ptr r, mpfr_srcptr x, mpfr_rnd_t rnd) {
    mpfr_const_pi(r, rnd);
    mpfr_ui_div(r, 180, r, rnd);
    return mpfr_mul(r, r, x, rnd);
}
int mpfr_rad_to_grad(mpfr_ptr r, mpfr_srcptr x, mpfr_rnd_t rnd) {
    mpfr_const_pi(r, rnd);
    mpfr_ui_div(r, 200, r, rnd);
    return mpfr_mul(r, r, x, rnd);
}

TEST_F(RealAtanTest, InverseFunctionsMatchMpfr) {
    const RealSampler beside_one = sample_signed(sample_beside(one, 0));
    // around the reduction points 0.11 .. 1, tiny to huge
    check_fn(rng, {"real_atan", real_atan, mpfr_reference(mpfr_atan, true),
                   sample_one_of({beside_one, sample_real(-1, 0), sample_real(-3000, 3000),
                                  sample_real(-40, 40)}),
                   200});
    // inside [-1, 1], with a share outside it
    const RealSampler unit = sample_one_of({sample_signed(sample_beside(one, -1)),
                                            sample_real(-1, -1), sample_real(-40, -1), beside_one});
    check_fn(rng, {"real_asin", real_asin, mpfr_reference(mpfr_asin, true), unit, 120});
    check_fn(rng, {"real_acos", real_acos, mpfr_reference(mpfr_acos, true), unit, 120});
}

TEST_F(RealAtanTest, AngleConversionsMatchMpfr) {
    const RealSampler x = sample_real(-40, 40);
    check_fn(rng, {"real_deg_to_rad", real_deg_to_rad, mpfr_reference(mpfr_deg_to_rad), x, 40});
    check_fn(rng, {"real_grad_to_rad", real_grad_to_rad, mpfr_reference(mpfr_grad_to_rad), x, 40});
    check_fn(rng, {"real_rad_to_deg", real_rad_to_deg, mpfr_reference(mpfr_rad_to_deg), x, 40});
    check_fn(rng, {"real_rad_to_grad", real_rad_to_grad, mpfr_reference(mpfr_rad_to_grad), x, 40});
}

TEST_F(RealAtanTest, Atan2MatchesMpfrInEveryQuadrant) {
    // the origin gives 0 (MPFR's +-pi for atan2(+-0, -0) follows a
    // signed-zero convention we do not)
    const RealFnReference2 ref = [](mpfr_ptr v, const u64* y, const u64* x, i64 m, i64* e10) {
        mpfr_reference(mpfr_atan2)(v, y, x, m, e10);
        if (real_is_zero(x) && real_is_zero(y)) mpfr_set_zero(v, 1);
    };
    const RealSampler side =
        sample_one_of({sample_real(-2000, 2000, true, 5), sample_real(-40, 40, true, 5)});
    check_fn(rng, {"real_atan2", real_atan2, ref, side, side, 150});
}

}  // namespace
