// Real products against exact GMP products: the truncated product with its
// spill, the result after rounding with the spill, multiplication by a
// machine word, aliasing, the exponent range rules.
#include <gmp.h>

#include <string>
#include <vector>

#include "numlib/mp_context.h"
#include "numlib/mp_error.h"
#include "numlib/real.h"
#include "support/mpfr_oracle.h"
#include "support/numlib_fixture.h"
#include "support/real_ratio_oracle.h"

namespace {

using Real = std::vector<u64>;

// Word counts always covered, then random ones; 528 is the body precision
// of a guarded call at 527 words.
const i64 FIXED_WORDS[] = {1, 2, 3, 27, 53, 263, 527, 528};

i64 pick_words(TestRng& rng, i64 iter) {
    if (iter < 8) return FIXED_WORDS[iter];
    return rng.chance(70) ? rng.range(1, 60) : rng.range(1, 528);
}

// Sets the word count, 528 included (the context setter stops at 527).
void set_words(i64 m) {
    mp_real_words = static_cast<i32>(m);
}

// The exact product of a and b as a ratio for ulps_from_ratio.
struct Exact {
    Mpz num, den;
    i64 e10 = 0;
};

void exact_product(Exact& x, const Real& a, const Real& b, i64 m) {
    i64 ea, eb;
    Mpz nb;
    real_exact(x.num, &ea, a.data(), m);
    real_exact(nb, &eb, b.data(), m);
    mpz_mul(x.num, x.num, nb);
    mpz_set_ui(x.den, 1);
    x.e10 = ea + eb;
}

// The exact product and v as a ratio.
void exact_product_u64(Exact& x, const Real& a, u64 v, i64 m) {
    real_exact(x.num, &x.e10, a.data(), m);
    mpz_mul_ui(x.num, x.num, v);
    mpz_set_ui(x.den, 1);
}

// The spill leaves the magnitude of x + spill at most max_short units of
// its last digit below the exact value, never above; rounding with the
// spill then gives the exact value to half a unit (ties as the spill says).
::testing::AssertionResult spill_and_rounding(const Real& r, u64 spill, i64 m, const Exact& x,
                                              double max_short) {
    const Real t = with_spill(r.data(), m, spill);
    const double below =
        -ulps_from_ratio(t.data(), m + 1, x.num, x.den, x.e10) * (real_sign(r.data()) ? -1 : 1);
    if (!(below >= 0 && below <= max_short))
        return ::testing::AssertionFailure() << "result with spill is " << below
                                             << " units short: " << real_text(t.data(), m + 1);
    Real rounded = r;
    real_round_guard(rounded.data(), spill, static_cast<i32>(m));
    const double off = ulps_from_ratio(rounded.data(), m, x.num, x.den, x.e10);
    if (!(std::abs(off) <= 0.5 + 1e-9))
        return ::testing::AssertionFailure() << "rounded result is " << off << " units off";
    return real_well_formed(rounded.data(), m);
}

using RealMulTest = NumlibTest;

// Exact paths (one and two words, the full product) have no shortfall; the
// truncated product falls short by less than m + 1 units of the spill plus
// the digit a normalising shift pulls in.
TEST_F(RealMulTest, ProductRoundsToHalfUnitOfExact) {
    for (i64 iter = 0; iter < test_iterations(120); ++iter) {
        const i64 m = pick_words(rng, iter % 40);
        set_words(m);
        RandomRealOptions opt;
        opt.exp_min = -300;
        opt.exp_max = 300;
        const Real a = random_real(rng, m, opt);
        const Real b = rng.chance(10) ? a : random_real(rng, m, opt);
        Exact x;
        exact_product(x, a, b, m);
        Real r(static_cast<std::size_t>(m + 1));
        const u64 spill = real_mul(r.data(), a.data(), b.data());
        EXPECT_TRUE(spill_and_rounding(r, spill, m, x, 10.0 * static_cast<double>(m) + 10))
            << "m=" << m << " a=" << real_text(a.data(), m, 60)
            << " b=" << real_text(b.data(), m, 60);
        // Aliased with either operand, the same result and spill.
        Real ra = a, rb = b;
        EXPECT_EQ(real_mul(ra.data(), ra.data(), b.data()), spill);
        EXPECT_EQ(real_mul(rb.data(), a.data(), rb.data()), spill);
        EXPECT_TRUE(ra == r && rb == r) << "aliased product differs, m=" << m;
        EXPECT_EQ(mp_err(), 0);
        if (HasFailure()) return;
    }
}

TEST_F(RealMulTest, ZerosSignsAndExponentRange) {
    for (i64 m : {1, 2, 5, 60}) {
        set_words(m);
        RandomRealOptions nonzero;
        nonzero.zero_percent = 0;
        Real a = random_real(rng, m, nonzero), b = random_real(rng, m, nonzero);
        Real r(static_cast<std::size_t>(m + 1));
        // A zero factor gives a zero with the sign of the product.
        Real z(static_cast<std::size_t>(m + 1));
        real_zero(z.data(), 1);
        real_set_header(a.data(), 3, 0);
        EXPECT_EQ(real_mul(r.data(), a.data(), z.data()), 0U);
        EXPECT_TRUE(real_is_zero(r.data()) && real_sign(r.data()) == 1);
        // Beyond the top of the range: error 10 and +0 (spill 0).
        real_set_header(a.data(), REAL_EXP_MAX, 1);
        real_set_header(b.data(), 1, 0);
        EXPECT_EQ(real_mul(r.data(), a.data(), b.data()), 0U);
        EXPECT_TRUE(real_is_zero(r.data()) && real_sign(r.data()) == 0);
        EXPECT_EQ(mp_err(), MP_ERR_EXP_OVERFLOW);
        mp_error.store(0);
        // Below the bottom: a zero with the product's sign, no error.
        real_set_header(a.data(), REAL_EXP_MIN, 1);
        real_set_header(b.data(), -5, 0);
        EXPECT_EQ(real_mul(r.data(), a.data(), b.data()), 0U);
        EXPECT_TRUE(real_is_zero(r.data()) && real_sign(r.data()) == 1);
        EXPECT_EQ(mp_err(), 0);
        // The largest exponents that still fit: e_a + e_b + 1 at the top.
        real_set_header(a.data(), REAL_EXP_MAX / 2, 0);
        real_set_header(b.data(), REAL_EXP_MAX / 2, 1);
        real_mul(r.data(), a.data(), b.data());
        EXPECT_TRUE(!real_is_zero(r.data()) && real_exp_of(r.data()) >= REAL_EXP_MAX - 1);
        EXPECT_EQ(mp_err(), 0) << "m=" << m;
    }
}

TEST_F(RealMulTest, WordProductIsExactTruncation) {
    const u64 words[] = {1, 2, 9, 10, 11, 99, 100, REAL_BASE - 1, REAL_BASE, ~u64{0}};
    for (i64 iter = 0; iter < test_iterations(300); ++iter) {
        const i64 m = pick_words(rng, iter % 40);
        set_words(m);
        const Real a = random_real(rng, m);
        const u64 v = rng.chance(50) ? words[rng.range(0, 9)] : rng.word() >> rng.range(0, 63);
        Real r(static_cast<std::size_t>(m + 1));
        const u64 spill = real_mul_u64(r.data(), a.data(), v);
        if (v == 0 || real_is_zero(a.data())) {
            EXPECT_TRUE(real_is_zero(r.data()) && spill == 0);
            continue;
        }
        // All digits of a v are known: the spill is its exact truncation.
        Exact x;
        exact_product_u64(x, a, v, m);
        EXPECT_TRUE(spill_and_rounding(r, spill, m, x, 1))
            << "m=" << m << " v=" << v << " a=" << real_text(a.data(), m, 60);
        Real ra = a;
        EXPECT_EQ(real_mul_u64(ra.data(), ra.data(), v), spill);
        EXPECT_TRUE(ra == r) << "aliased product differs";
        if (HasFailure()) return;
    }
}

// Routines that run inside other computations must leave the scratch area
// as they found it and compute the same with an error already pending.
TEST_F(RealMulTest, ScratchAndPendingErrorUntouched) {
    for (i64 m : {3, 60, 527}) {
        set_words(m);
        const Real a = random_real(rng, m), b = random_real(rng, m);
        Real r1(static_cast<std::size_t>(m + 1)), r2 = r1;
        const u8* top = mp_scratch_top;
        const u64 s1 = real_mul(r1.data(), a.data(), b.data());
        EXPECT_EQ(mp_scratch_top, top);
        mp_raise(MP_ERR_SYNTAX);
        EXPECT_EQ(real_mul(r2.data(), a.data(), b.data()), s1);
        EXPECT_TRUE(r1 == r2);
        EXPECT_EQ(mp_err(), MP_ERR_SYNTAX);
        mp_error.store(0);
    }
}

}  // namespace
