// The factorial's series coefficients against exact ones: T_k / ((16^k -
// 4^k)(2k - 1)) with the tangent numbers T_k from GMP, for every k whose
// triangle rows still hold exact integers at the precision, up to the
// largest precision, and a precision change in the middle.
#include <gmp.h>

#include <cmath>
#include <vector>

#include "numlib/mp_error.h"
#include "numlib/real_factorial_impl.h"
#include "support/mpfr_oracle.h"
#include "support/numlib_fixture.h"

namespace {

// want = (-1)^(k+1) T_k / ((16^k - 4^k)(2k - 1)) at want's precision.
void exact_coef(mpfr_ptr want, mpz_srcptr t, i64 k) {
    Mpz den, p4;
    mpz_ui_pow_ui(den, 16, static_cast<unsigned long>(k));
    mpz_ui_pow_ui(p4, 4, static_cast<unsigned long>(k));
    mpz_sub(den, den, p4);
    mpz_mul_ui(den, den, static_cast<unsigned long>(2 * k - 1));
    Mpfr d(mpfr_get_prec(want));
    mpfr_set_z(want, t, MPFR_RNDN);
    mpfr_set_z(d, den, MPFR_RNDN);
    mpfr_div(want, want, d, MPFR_RNDN);
    if (k % 2 == 0) mpfr_neg(want, want, MPFR_RNDN);
}

class RealFactorialCoefTest : public NumlibTest {
  protected:
    void TearDown() override {
        real_factorial_cache_clear();
        NumlibTest::TearDown();
    }

    // T_1 .. T_count from the recurrence of the zigzag numbers' triangle,
    // computed independently: T_k = E_{2k-1}, E_{n+1} = sum C(n, i) E_i
    // E_{n-i} / 2 (n >= 1).
    static std::vector<Mpz> tangent_numbers(i64 count) {
        const i64 n_max = 2 * count;
        std::vector<Mpz> e(static_cast<std::size_t>(n_max));
        mpz_set_ui(e[0], 1);
        if (n_max > 1) mpz_set_ui(e[1], 1);
        Mpz sum, c, t;
        for (i64 n = 1; n + 1 < n_max; ++n) {
            mpz_set_ui(sum, 0);
            for (i64 i = 0; i <= n; ++i) {
                mpz_bin_uiui(c, static_cast<unsigned long>(n), static_cast<unsigned long>(i));
                mpz_mul(t, e[static_cast<std::size_t>(i)], e[static_cast<std::size_t>(n - i)]);
                mpz_addmul(sum, c, t);
            }
            mpz_fdiv_q_2exp(e[static_cast<std::size_t>(n + 1)], sum, 1);
        }
        std::vector<Mpz> tk(static_cast<std::size_t>(count));
        for (i64 k = 1; k <= count; ++k)
            mpz_set(tk[static_cast<std::size_t>(k - 1)], e[static_cast<std::size_t>(2 * k - 1)]);
        return tk;
    }

    // Checks coefficients 1 .. count at w working words (w + 1 row words).
    void check(i32 w, const std::vector<Mpz>& tk, i64 count) {
        mp_real_words = w;  // a guarded body's precision may be 528
        Mpfr want(oracle_bits(19 * w + 20));
        for (i64 k = 1; k <= count; ++k) {
            const u64* c = real_factorial_coef(static_cast<i32>(k));
            ASSERT_NE(c, nullptr) << "w=" << w << " k=" << k;
            exact_coef(want, tk[static_cast<std::size_t>(k - 1)], k);
            // The denominator rounds once it outgrows the words, the
            // quotient rounds: two units at most.
            EXPECT_LE(std::fabs(ulps_from(c, w, want)), 2.0) << "w=" << w << " k=" << k;
        }
        EXPECT_EQ(mp_err(), 0);
    }

    // The largest k whose triangle (2k rows) holds integers of at most
    // 19w - 3 digits: the zigzag numbers E_n bound every entry of row n.
    static i64 exact_count(i32 w, const std::vector<Mpz>& tk) {
        i64 k = 0;
        while (k < static_cast<i64>(tk.size()) &&
               mpz_sizeinbase(tk[static_cast<std::size_t>(k)], 10) + 3 <=
                   static_cast<std::size_t>(19 * w))
            ++k;
        return k - 1;
    }
};

TEST_F(RealFactorialCoefTest, CoefficientsAreExactWhileTheRowsAre) {
    const std::vector<Mpz> tk = tangent_numbers(300);
    for (const i32 w : {2, 9, 40, 2}) check(w, tk, exact_count(w, tk));
}

TEST_F(RealFactorialCoefTest, CoefficientsAtTheLargestPrecision) {
    const std::vector<Mpz> tk = tangent_numbers(300);
    check(MP_CONST_WORDS, tk, 300);
}

TEST_F(RealFactorialCoefTest, RowsPastTheExactRangeKeepTheCoefficientsClose) {
    // At 2 words the triangle outgrows 38 digits near row 30: later
    // coefficients come from rounded rows; they stay within a relative
    // 10^-30 of the exact ones.
    const std::vector<Mpz> tk = tangent_numbers(120);
    mp_real_words = 2;
    Mpfr want(200), got(200);
    for (i64 k = 1; k <= 120; ++k) {
        const u64* c = real_factorial_coef(static_cast<i32>(k));
        ASSERT_NE(c, nullptr) << k;
        exact_coef(want, tk[static_cast<std::size_t>(k - 1)], k);
        to_mpfr(got, c, 2);
        mpfr_sub(got, got, want, MPFR_RNDN);
        mpfr_div(got, got, want, MPFR_RNDN);
        EXPECT_LT(std::fabs(mpfr_get_d(got, MPFR_RNDN)), 1e-30) << k;
    }
}

}  // namespace
