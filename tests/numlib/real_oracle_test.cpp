// The MPFR oracle itself: every real test leans on its rounding and distances.
#include <cmath>

#include "numlib/real.h"
#include "support/mpfr_oracle.h"
#include "support/numlib_fixture.h"

namespace {

class RealOracleTest : public NumlibTest {};

TEST_F(RealOracleTest, RandomRealsSurviveTheRoundTripThroughMpfr) {
    for (i64 round = 0; round < test_iterations(60); ++round) {
        const i64 m = round < 4 ? (round < 2 ? 1 : 528) : rng.range(1, 40);
        RandomRealOptions opt;
        opt.zero_percent = 5;
        opt.edge_percent = 10;
        const auto x = random_real(rng, m, opt);
        ASSERT_TRUE(real_well_formed(x.data(), m));
        Mpfr v(oracle_bits(19 * m));
        const i64 e = to_mpfr_scaled(v, x.data(), m);
        std::vector<u64> back(static_cast<std::size_t>(m + 1));
        from_mpfr(back.data(), m, v, e);
        ASSERT_EQ(back, x) << real_text(x.data(), m);
        // the binary value is off by far less than a unit
        ASSERT_LT(std::fabs(ulps_from(x.data(), m, v, e)), 1e-15) << real_text(x.data(), m);
        if (!real_is_zero(x.data()) && x[m] < REAL_BASE - 1000) {
            auto y = x;
            const u64 d = static_cast<u64>(rng.range(1, 999));
            y[m] += d;
            const double want = real_sign(x.data()) ? -static_cast<double>(d) : d;
            ASSERT_NEAR(ulps_from(y.data(), m, v, e), want, 1e-9) << real_text(x.data(), m);
            ASSERT_FALSE(real_near(y.data(), m, v, d - 0.5, e));
            ASSERT_FALSE(real_is_rounded(y.data(), m, v, e));
        }
        if (std::abs(real_exp_of(x.data())) < 1000) {
            to_mpfr(v, x.data(), m);
            ASSERT_TRUE(real_is_rounded(x.data(), m, v));
        }
    }
}

TEST_F(RealOracleTest, RoundsExactTiesUpOnTheMagnitude) {
    Mpfr v(200);
    mpfr_set_d(v, -1.25, MPFR_RNDN);  // an exact tie at two digits
    const DecimalDigits d = correctly_rounded_half_up(v, 2);
    EXPECT_EQ(d.sign, 1);
    EXPECT_EQ(d.digits, "13");
    EXPECT_TRUE(near_tie(v, 2));
    mpfr_set_d(v, 9.5, MPFR_RNDN);  // the carry makes a new leading digit
    const DecimalDigits c = correctly_rounded_half_up(v, 1, 7);
    EXPECT_EQ(c.digits, "1");
    EXPECT_EQ(c.exp, 8);
    mpfr_set_d(v, 1.2, MPFR_RNDN);  // 1.19999999999999995559...: far from a tie
    EXPECT_FALSE(near_tie(v, 2));
    EXPECT_EQ(correctly_rounded_half_up(v, 17).digits, "12000000000000000");
}

TEST_F(RealOracleTest, MeasuresDistancesInUnitsOfTheLastDigit) {
    std::vector<u64> x = {0, REAL_TOP};
    real_set_header(x.data(), 1, 0);  // 10, its last digit worth 10^-17 at m = 1
    Mpfr v(300);
    mpfr_set_str(v, "9.99999999999999999", 10, MPFR_RNDN);  // one unit below, next decade down
    EXPECT_NEAR(ulps_from(x.data(), 1, v), 1.0, 1e-9);
    mpfr_set_str(v, "10.0000000000000000325", 10, MPFR_RNDN);
    EXPECT_NEAR(ulps_from(x.data(), 1, v), -3.25, 1e-9);
    EXPECT_NEAR(ulps_from(x.data(), 1, v, -1), 9.0e17, 1e3);  // v / 10 = 1.00...
    EXPECT_TRUE(std::isinf(ulps_from(x.data(), 1, v, 40)));
    mpfr_set_zero(v, 1);
    EXPECT_TRUE(std::isinf(ulps_from(x.data(), 1, v)));
    x[1] = 0;
    x[0] = 0;
    EXPECT_EQ(ulps_from(x.data(), 1, v), 0.0);
}

}  // namespace
