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

TEST_F(RealAtanTest, HardCases) {
    const char* pi = "3.14159265358979323846264338327950288419716939937510582...";
    const char* half_pi = "1.57079632679489661923132169163975144209858469968755291...";
    const char* minus_half_pi = "-1.57079632679489661923132169163975144209858469968755291...";
    const struct {
        const char* why;
        RealUnaryFn fn;
        const char* x;
        const char* want;
        i32 err;
    } cases[] = {
        {"atan 1 is pi/4", real_atan, "1",
         "0.785398163397448309615660845819875721049292349843776...", 0},
        {"asin -1 is -pi/2", real_asin, "-1", minus_half_pi, 0},
        {"acos -1 is pi", real_acos, "-1", pi, 0},
        {"acos 1 is exactly 0", real_acos, "1", "0", 0},
        {"acos 0 is pi/2", real_acos, "0", half_pi, 0},
        {"asin beyond 1 is outside the domain", real_asin, "1.0000000000000000001", nullptr,
         MP_ERR_DOMAIN},
        {"atan of the largest value is pi/2", real_atan, "9.99e4611686018427387903", half_pi, 0},
        {"atan of the smallest value is itself", real_atan, "1e-4611686018427387903",
         "1e-4611686018427387903", 0},
        {"deg_to_rad of the smallest value underflows silently", real_deg_to_rad,
         "1e-4611686018427387903", "0", 0},
        {"rad_to_deg of the largest value overflows", real_rad_to_deg, "9.99e4611686018427387903",
         nullptr, MP_ERR_EXP_OVERFLOW},
    };
    for (const auto& c : cases) EXPECT_TRUE(fn_case(c.fn, 2, c.x, c.want, c.err)) << c.why;
    const struct {
        const char* why;
        const char* y;
        const char* x;
        const char* want;
    } cases2[] = {
        {"atan2(0, -1) is pi", "0", "-1", pi},
        {"atan2(-0, -1) is -pi: the lower side", "-0", "-1",
         "-3.14159265358979323846264338327950288419716939937510582..."},
        {"atan2(0, 0) is 0", "0", "0", "0"},
        {"atan2(-3, 0) is -pi/2", "-3", "0", minus_half_pi},
        {"atan2 of the largest over the smallest: y/x would overflow", "9.99e4611686018427387903",
         "1e-4611686018427387903", half_pi},
        {"the smallest over the largest: y/x underflows to zero", "1e-4611686018427387903",
         "9.99e4611686018427387903", "0"},
    };
    for (const auto& c : cases2) EXPECT_TRUE(fn_case(real_atan2, 2, c.y, c.x, c.want, 0)) << c.why;
}

}  // namespace
