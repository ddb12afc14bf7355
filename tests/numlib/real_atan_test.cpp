// Arctangent, atan2, arcsine, arccosine and the angle conversions against
// MPFR: random arguments of all sizes, arguments near 1 and near the
// reduction points, and a short table of edge cases.
#include <string>

#include "numlib/mp_context.h"
#include "numlib/mp_error.h"
#include "numlib/real_fn.h"
#include "support/mpfr_oracle.h"
#include "support/numlib_fixture.h"
#include "support/trig_check.h"

namespace {

class RealAtanTest : public NumlibTest {
  protected:
    // 1 - 10^-d (or 1 + 10^-d when above), d up to the full precision, times
    // a random 9-digit perturbation.
    std::vector<u64> near_one(i64 m, bool above) {
        Mpfr v(trig_ref_bits(m, 40)), d(64);
        mpfr_set_ui(d, static_cast<unsigned long>(rng.range(1, 999999999)), MPFR_RNDN);
        mpfr_div_ui(d, d, 1000000000UL, MPFR_RNDN);
        Mpfr p(64);
        mpfr_ui_pow_ui(p, 10, static_cast<unsigned long>(rng.range(1, 19 * m)), MPFR_RNDN);
        mpfr_div(d, d, p, MPFR_RNDN);
        mpfr_set_ui(v, 1, MPFR_RNDN);
        if (above)
            mpfr_add(v, v, d, MPFR_RNDN);
        else
            mpfr_sub(v, v, d, MPFR_RNDN);
        return trig_from_mpfr(v, m);
    }

    // Random signs; kind 0: near 1, 1: around the reduction points 0.1..1,
    // 2: any size (exponent -3000..3000), 3: moderate (-40..40).
    std::vector<u64> argument(i64 m, int kind, bool inside_unit) {
        std::vector<u64> x;
        if (kind == 0) {
            x = near_one(m, !inside_unit && rng.chance(50));
        } else {
            RandomRealOptions opt;
            opt.zero_percent = 1;
            opt.exp_min = kind == 1 ? -1 : kind == 2 ? -3000 : -40;
            opt.exp_max = inside_unit ? -1 : kind == 1 ? 0 : kind == 2 ? 3000 : 40;
            x = random_real(rng, m, opt);
        }
        if (rng.chance(50)) real_negate(x.data());
        return x;
    }

    using MpfrUnary = int (*)(mpfr_ptr, mpfr_srcptr, mpfr_rnd_t);
    void accuracy(const char* name, RealUnaryFn ours, MpfrUnary reference, bool inside_unit,
                  i64 rounds) {
        TrigAccuracy acc(name);
        for (i64 round = 0; round < test_iterations(rounds); ++round) {
            const i64 m = trig_test_words(rng, round);
            const auto x = argument(m, static_cast<int>(round % 4), inside_unit);
            i32 err = 0;
            const auto got = trig_guarded(ours, x, m, &err);
            const std::string inputs = "x = " + real_text(x.data(), m);
            ASSERT_EQ(err, 0) << name << " " << inputs;
            // x just beside 1 cancels up to all its digits in 1 - x
            Mpfr xv(trig_ref_bits(m, 19 * m + 40)), ref(trig_ref_bits(m, 0));
            to_mpfr(xv, x.data(), m);
            reference(ref, xv, MPFR_RNDN);
            ASSERT_TRUE(acc.check(got.data(), m, ref, inputs));
        }
        acc.finish();
    }
};

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

TEST_F(RealAtanTest, AtanAgreesWithMpfr) {
    accuracy("atan", real_atan, mpfr_atan, false, 200);
}
TEST_F(RealAtanTest, AsinAgreesWithMpfr) {
    accuracy("asin", real_asin, mpfr_asin, true, 120);
}
TEST_F(RealAtanTest, AcosAgreesWithMpfr) {
    accuracy("acos", real_acos, mpfr_acos, true, 120);
}

TEST_F(RealAtanTest, AngleConversionsAgreeWithMpfr) {
    accuracy("deg_to_rad", real_deg_to_rad, mpfr_deg_to_rad, false, 40);
    accuracy("grad_to_rad", real_grad_to_rad, mpfr_grad_to_rad, false, 40);
    accuracy("rad_to_deg", real_rad_to_deg, mpfr_rad_to_deg, false, 40);
    accuracy("rad_to_grad", real_rad_to_grad, mpfr_rad_to_grad, false, 40);
}

TEST_F(RealAtanTest, Atan2AgreesWithMpfrInEveryQuadrant) {
    TrigAccuracy acc("atan2");
    for (i64 round = 0; round < test_iterations(150); ++round) {
        const i64 m = trig_test_words(rng, round);
        RandomRealOptions opt;
        opt.zero_percent = 5;
        opt.exp_min = round % 2 ? -40 : -2000;
        opt.exp_max = round % 2 ? 40 : 2000;
        const auto y = random_real(rng, m, opt);
        auto x = rng.chance(20) ? y : random_real(rng, m, opt);
        if (rng.chance(30)) real_negate(x.data());
        i32 err = 0;
        const auto got = trig_guarded(real_atan2, y, x, m, &err);
        const std::string inputs =
            "y = " + real_text(y.data(), m) + ", x = " + real_text(x.data(), m);
        ASSERT_EQ(err, 0) << inputs;
        Mpfr yv(trig_ref_bits(m, 40)), xv(trig_ref_bits(m, 40)), ref(trig_ref_bits(m, 0));
        to_mpfr(yv, y.data(), m);
        to_mpfr(xv, x.data(), m);
        mpfr_atan2(ref, yv, xv, MPFR_RNDN);
        // the origin gives 0 (MPFR's +-pi for atan2(+-0, -0) follows a
        // signed-zero convention we do not)
        if ((real_is_zero(x.data()) && real_is_zero(y.data())) || mpfr_zero_p(ref)) {
            ASSERT_TRUE(real_is_zero(got.data())) << inputs;
            continue;
        }
        ASSERT_TRUE(acc.check(got.data(), m, ref, inputs));
    }
    acc.finish();
}

TEST_F(RealAtanTest, Atan2ResultMayBeEitherOperand) {
    for (i64 round = 0; round < test_iterations(20); ++round) {
        const i64 m = trig_test_words(rng, round + 7);
        mp_set_real_words(static_cast<i32>(m));
        const auto y = random_real(rng, m), x = random_real(rng, m);
        std::vector<u64> apart(m + 1), on_y = y, on_x = x;
        real_atan2(apart.data(), y.data(), x.data());
        real_atan2(on_y.data(), on_y.data(), x.data());
        real_atan2(on_x.data(), y.data(), on_x.data());
        EXPECT_EQ(on_y, apart) << real_text(y.data(), m) << ", " << real_text(x.data(), m);
        EXPECT_EQ(on_x, apart) << real_text(y.data(), m) << ", " << real_text(x.data(), m);
    }
    EXPECT_EQ(mp_err(), 0);
}

// The edge cases: name, function, argument(s), reference (pi multiples as
// "pi*k/d"), expected error.
TEST_F(RealAtanTest, EdgeCases) {
    const i64 m = 2;
    auto value = [&](const char* text) {
        Mpfr v(300);
        mpfr_set_str(v, text, 10, MPFR_RNDN);
        return trig_from_mpfr(v, m);
    };
    auto pi_times = [&](Mpfr& r, long k, unsigned long d) {
        mpfr_const_pi(r, MPFR_RNDN);
        mpfr_mul_si(r, r, k, MPFR_RNDN);
        mpfr_div_ui(r, r, d, MPFR_RNDN);
    };
    struct Case {
        const char* why;
        RealUnaryFn fn;
        const char* x;
        long k;  // expected k pi / d
        unsigned long d;
        i32 err;
    };
    const Case cases[] = {
        {"atan 1 is pi/4", real_atan, "1", 1, 4, 0},
        {"atan -1 is -pi/4", real_atan, "-1", -1, 4, 0},
        {"asin 1 is pi/2", real_asin, "1", 1, 2, 0},
        {"asin -1 is -pi/2", real_asin, "-1", -1, 2, 0},
        {"acos -1 is pi", real_acos, "-1", 1, 1, 0},
        {"acos 1 is 0", real_acos, "1", 0, 1, 0},
        {"acos 0 is pi/2", real_acos, "0", 1, 2, 0},
        {"deg_to_rad 180 is pi", real_deg_to_rad, "180", 1, 1, 0},
        {"grad_to_rad -200 is -pi", real_grad_to_rad, "-200", -1, 1, 0},
        {"asin 1.1 is outside the domain", real_asin, "1.1", 0, 1, MP_ERR_DOMAIN},
        {"acos -1.0000001 is outside the domain", real_acos, "-1.0000001", 0, 1, MP_ERR_DOMAIN},
    };
    for (const Case& c : cases) {
        i32 err = 0;
        const auto got = trig_guarded(c.fn, value(c.x), m, &err);
        EXPECT_EQ(err, c.err) << c.why;
        Mpfr ref(trig_ref_bits(m, 0));
        pi_times(ref, c.k, c.d);
        if (c.k == 0)
            EXPECT_TRUE(real_is_zero(got.data())) << c.why;
        else
            EXPECT_TRUE(real_near(got.data(), m, ref, 1.0)) << c.why;
    }
    // atan2 on the axes; y = -0 on the negative x axis is the lower side
    struct Case2 {
        const char* why;
        const char* y;
        const char* x;
        bool y_neg_zero;
        long k;
        unsigned long d;
    };
    const Case2 cases2[] = {
        {"atan2(0, -1) is pi", "0", "-1", false, 1, 1},
        {"atan2(-0, -1) is -pi", "0", "-1", true, -1, 1},
        {"atan2(0, 0) is 0", "0", "0", false, 0, 1},
        {"atan2(1, 0) is pi/2", "1", "0", false, 1, 2},
        {"atan2(-3, 0) is -pi/2", "-3", "0", false, -1, 2},
        {"atan2(5, 5) is pi/4", "5", "5", false, 1, 4},
        {"atan2(-5, -5) is -3pi/4", "-5", "-5", false, -3, 4},
    };
    for (const Case2& c : cases2) {
        i32 err = 0;
        auto y = value(c.y);
        if (c.y_neg_zero) real_set_header(y.data(), 0, 1);
        const auto got = trig_guarded(real_atan2, y, value(c.x), m, &err);
        EXPECT_EQ(err, 0) << c.why;
        Mpfr ref(trig_ref_bits(m, 0));
        pi_times(ref, c.k, c.d);
        if (c.k == 0)
            EXPECT_TRUE(real_is_zero(got.data())) << c.why;
        else
            EXPECT_TRUE(real_near(got.data(), m, ref, 1.0)) << c.why;
    }
}

TEST_F(RealAtanTest, ExtremeExponentsNeitherOverflowNorLoseTheValue) {
    const i64 m = 2;
    std::vector<u64> huge(m + 1), tiny(m + 1);
    mp_set_real_words(m);
    real_special(huge.data(), 11);
    real_special(tiny.data(), 10);
    i32 err = 0;
    Mpfr half_pi(trig_ref_bits(m, 0));
    mpfr_const_pi(half_pi, MPFR_RNDN);
    mpfr_div_2ui(half_pi, half_pi, 1, MPFR_RNDN);
    auto got = trig_guarded(real_atan, huge, m, &err);  // pi/2
    EXPECT_EQ(err, 0);
    EXPECT_TRUE(real_near(got.data(), m, half_pi, 1.0));
    got = trig_guarded(real_atan2, huge, tiny, m, &err);  // y/x would overflow
    EXPECT_EQ(err, 0);
    EXPECT_TRUE(real_near(got.data(), m, half_pi, 1.0));
    got = trig_guarded(real_atan, tiny, m, &err);  // atan x = x at the bottom of the range
    EXPECT_EQ(err, 0);
    EXPECT_EQ(got, tiny);
    got = trig_guarded(real_atan2, tiny, huge, m, &err);  // y/x underflows: a zero, no error
    EXPECT_EQ(err, 0);
    EXPECT_TRUE(real_is_zero(got.data()));
    got = trig_guarded(real_deg_to_rad, tiny, m, &err);  // underflow: zero without error
    EXPECT_EQ(err, 0);
    EXPECT_TRUE(real_is_zero(got.data()));
    got = trig_guarded(real_rad_to_deg, huge, m, &err);  // overflow: error 10 and +0
    EXPECT_EQ(err, MP_ERR_EXP_OVERFLOW);
    EXPECT_TRUE(real_is_zero(got.data()) && real_sign(got.data()) == 0);
}

}  // namespace
