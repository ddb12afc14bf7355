// Powers of two: against exact GMP powers where they can be formed, against
// MPFR's 10^(k log10 2) at the far ends of the i64 range.
#include <climits>
#include <cmath>

#include "numlib/mp_error.h"
#include "numlib/real.h"
#include "numlib/real_fn.h"
#include "support/mpfr_oracle.h"
#include "support/numlib_fixture.h"

namespace {

constexpr u64 CANARY = 0x5A5A5A5A5A5A5A5AULL;

class RealPow2Test : public NumlibTest {
  protected:
    // 2^k at m words (528: a guarded call's precision), checking the word
    // after the result is left alone.
    std::vector<u64> pow2(i64 k, i32 m) {
        mp_real_words = m;
        std::vector<u64> x(static_cast<std::size_t>(m + 2), CANARY);
        real_pow2(x.data(), k);
        EXPECT_EQ(x.back(), CANARY) << "k " << k << " m " << m;
        x.pop_back();
        return x;
    }

    // About the exponent at which the digits of 2^|k| or 5^|k| outgrow m + 2
    // words (real_pow2 stops forming them exactly there).
    static i64 method_edge(i64 m, bool negative) {
        return static_cast<i64>(19.0 * static_cast<double>(m + 2) /
                                std::log10(negative ? 5.0 : 2.0));
    }
};

// Whether x (m words) is 2^k rounded half up to 19m digits. With b^j = 2^k or
// 5^-k, x * 10^max(0, -k) = n 10^e must equal b^j (e <= 0) or lie within half
// a unit 10^e of it, a tie rounded up.
::testing::AssertionResult is_rounded_power(const std::vector<u64>& x, i64 m, i64 k) {
    auto failure = [&] {
        return ::testing::AssertionFailure()
               << "2^" << k << " at m = " << m << ": " << real_text(x.data(), m, 60);
    };
    if (!real_well_formed(x.data(), m) || real_is_zero(x.data()) || real_sign(x.data()))
        return failure() << " is not a positive real";
    Mpz n, want, scale, diff;
    i64 e = 0;
    real_exact(n, &e, x.data(), m);
    if (k >= 0) {
        mpz_ui_pow_ui(want, 2, static_cast<unsigned long>(k));
    } else {
        mpz_ui_pow_ui(want, 5, static_cast<unsigned long>(-k));
        e -= k;
    }
    mpz_ui_pow_ui(scale, 10, static_cast<unsigned long>(e < 0 ? -e : e));
    if (e <= 0) {
        mpz_mul(diff, want, scale);
        if (mpz_cmp(diff, n) != 0) return failure() << " is not exact";
        return ::testing::AssertionSuccess();
    }
    mpz_mul(diff, n, scale);
    mpz_sub(diff, want, diff);
    mpz_mul_2exp(diff, diff, 1);  // 2 (b^j - n 10^e) in [-10^e, 10^e)
    mpz_neg(scale, scale);
    const bool low = mpz_cmp(diff, scale) < 0;
    mpz_neg(scale, scale);
    if (low || mpz_cmp(diff, scale) >= 0)
        return failure() << " is off by " << mpz_get_d(diff) / 2 / mpz_get_d(scale)
                         << " units of its last digit";
    return ::testing::AssertionSuccess();
}

TEST_F(RealPow2Test, MatchesExactPowersOnBothSidesOfTheMethodEdge) {
    for (i64 round = 0; round < test_iterations(300); ++round) {
        const i32 m = round % 10 == 0 ? (round % 20 == 0 ? 527 : 528)
                                      : static_cast<i32>(rng.range(1, round % 3 ? 4 : 40));
        i64 k = rng.range(-20000, 20000);
        if (rng.chance(40)) {
            const bool negative = rng.chance(50);
            k = (method_edge(m, negative) + rng.range(-2, 2)) * (negative ? -1 : 1);
        }
        ASSERT_TRUE(is_rounded_power(pow2(k, m), m, k));
    }
    EXPECT_EQ(mp_err(), 0);
}

TEST_F(RealPow2Test, HardCases) {
    const struct {
        i32 m;
        i64 k;
    } cases[] = {
        {1, 0},        {1, 1}, {1, -1},  // 1, 2, 0.5
        {1, 63},                         // 19 digits: the longest exact power of two at one word
        {1, 64},                         // 20 digits, the last one rounds up
        {1, -27},                        // 5^27 has 19 digits: exact
        {1, -28},                        // 5^28 has 20 digits ending in 5: a tie, rounds up
        {2, -55},                        // 5^55 has 39 digits: a tie at two words
        {3, -82},                        // 5^82 has 58 digits: a tie at three words
        {528, -14353},                   // 5^14353 has 10033 digits: a tie at the table precision
    };
    for (const auto& c : cases) EXPECT_TRUE(is_rounded_power(pow2(c.k, c.m), c.m, c.k));
}

TEST_F(RealPow2Test, FarPowersAreCorrectlyRoundedAgainstMpfr) {
    std::vector<i64> ks = {LONG_MAX,
                           LONG_MIN,
                           LONG_MIN + 1,
                           i64{1} << 62,
                           -(i64{1} << 62),
                           1000000000000000000,
                           -999999999999999999,
                           123456789,
                           -987654321};
    for (int i = 0; i < 6; ++i) ks.push_back(static_cast<i64>(rng.word()));
    for (const i32 m : {1, 2, 3, 19, 528}) {
        const mpfr_prec_t bits = oracle_bits(19 * m + 80);
        Mpfr lg(bits), f(bits), whole(bits), v(oracle_bits(19 * m + 40));
        mpfr_set_ui(lg, 2, MPFR_RNDN);
        mpfr_log10(lg, lg, MPFR_RNDN);
        for (const i64 k : ks) {
            // 2^k = 10^frac * 10^whole with frac = k log10 2 - whole in [0, 1)
            mpfr_mul_si(f, lg, k, MPFR_RNDN);
            mpfr_floor(whole, f);
            mpfr_sub(f, f, whole, MPFR_RNDN);
            mpfr_exp10(v, f, MPFR_RNDN);
            const i64 e10 = mpfr_get_si(whole, MPFR_RNDN);
            if (near_tie(v, 19 * m, 1e-6, e10)) continue;
            const auto x = pow2(k, m);
            EXPECT_TRUE(real_well_formed(x.data(), m));
            EXPECT_TRUE(real_is_rounded(x.data(), m, v, e10)) << "k " << k;
        }
    }
    EXPECT_EQ(mp_err(), 0);
}

TEST_F(RealPow2Test, AFarPowerGivesZeroWhenAStopIsRequested) {
    mp_raise(MP_ERR_STOPPED);
    const auto x = pow2(LONG_MAX, 30);
    EXPECT_EQ(x, std::vector<u64>(31, 0));
    EXPECT_EQ(mp_err(), MP_ERR_STOPPED);
}

}  // namespace
