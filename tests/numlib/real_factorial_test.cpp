// The factorial's series coefficients against exact ones and their cache
// (the factorial itself is a row of real_fn_test.cpp).
#include <gmp.h>

#include <cmath>
#include <vector>

#include "numlib/mp_error.h"
#include "numlib/real.h"
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

// T_k at index k = 1 .. count, by the in-place recurrence of Brent and
// Zimmermann (independent of the triangle the library builds).
std::vector<Mpz> tangent_numbers(std::size_t count) {
    std::vector<Mpz> t(count + 1);
    mpz_set_ui(t[1], 1);
    for (std::size_t k = 2; k <= count; ++k) mpz_mul_ui(t[k], t[k - 1], k - 1);
    for (std::size_t k = 2; k <= count; ++k)
        for (std::size_t j = k; j <= count; ++j) {
            mpz_mul_ui(t[j], t[j], j - k + 2);
            mpz_addmul_ui(t[j], t[j - 1], j - k);
        }
    return t;
}

class RealFactorialTest : public NumlibTest {
  protected:
    void TearDown() override {
        real_factorial_cache_clear();
        NumlibTest::TearDown();
    }
};

// Coefficient k at w working words (w + 1 row words) for every k whose
// triangle (2k rows) holds integers of at most 19w - 3 digits (the zigzag
// numbers E_n bound every entry of row n), all 300 at the largest precision,
// and a precision change in the middle: the denominator rounds once it
// outgrows the words, the quotient rounds: two units at most.
TEST_F(RealFactorialTest, CoefficientsAreExactWhileTheRowsAre) {
    const std::vector<Mpz> tk = tangent_numbers(300);
    for (const i32 w : {2, 9, 40, 2, MP_CONST_WORDS}) {
        mp_real_words = w;  // a guarded body's precision may be 528
        Mpfr want(oracle_bits(19 * w + 20));
        for (std::size_t k = 1; k < tk.size(); ++k) {
            const bool last =
                k + 1 == tk.size() || mpz_sizeinbase(tk[k + 1], 10) + 3 > 19 * std::size_t(w);
            if (w < MP_CONST_WORDS && last) break;
            const u64* c = real_factorial_coef(static_cast<i32>(k));
            ASSERT_NE(c, nullptr) << "w=" << w << " k=" << k;
            exact_coef(want, tk[k], static_cast<i64>(k));
            EXPECT_LE(std::fabs(ulps_from(c, w, want)), 2.0) << "w=" << w << " k=" << k;
        }
    }
    EXPECT_EQ(mp_err(), 0);
}

TEST_F(RealFactorialTest, FullCacheRaises34AndKeepsItsRows) {
    mp_set_real_words(1);
    real_factorial_cache_clear();
    ASSERT_NE(real_factorial_coef(REAL_FACTORIAL_ROWS / 2), nullptr);
    EXPECT_EQ(mp_err(), 0);
    EXPECT_EQ(real_factorial_coef(REAL_FACTORIAL_ROWS / 2 + 1), nullptr);
    EXPECT_EQ(mp_err(), MP_ERR_CACHE_FULL);
    mp_error.store(0);
    const u64* c = real_factorial_coef(1);  // the built rows stay usable: 1/12
    ASSERT_NE(c, nullptr);
    EXPECT_TRUE(real_exp_of(c) == -2 && !real_sign(c));
    EXPECT_LE(c[1] - 8333333333333333332ULL, 2u) << c[1];
}

}  // namespace
