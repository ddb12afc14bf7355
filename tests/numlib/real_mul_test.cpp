// Real products against exact GMP products: the truncated product's spill
// and its rounding, multiplication by a machine word, aliasing, the scratch
// area and a pending error, and the exponent range rules.
#include <gmp.h>

#include <vector>

#include "numlib/mp_context.h"
#include "numlib/mp_error.h"
#include "numlib/real.h"
#include "support/mpfr_oracle.h"
#include "support/numlib_fixture.h"
#include "support/real_ratio_oracle.h"

namespace {

using Real = std::vector<u64>;
using RealMulTest = NumlibTest;

// The exact paths (one and two words, the full product from 400 words) have
// no shortfall; the truncated product falls short of the exact one by less
// than m units of the spill, or 10m + 9 after a normalising shift.
TEST_F(RealMulTest, ProductRoundsToHalfUnitOfExact) {
    RandomRealOptions opt;
    opt.exp_min = -300;
    opt.exp_max = 300;
    for (i64 iter = 0; iter < test_iterations(120); ++iter) {
        const i64 m = real_test_words(rng, iter % 40);
        mp_real_words = static_cast<i32>(m);  // 528 is past the setter's range
        const Real a = random_real(rng, m, opt);
        const Real b = rng.chance(10) ? a : random_real(rng, m, opt);
        Mpz num, nb, one;
        i64 ea, eb;
        real_exact(num, &ea, a.data(), m);
        real_exact(nb, &eb, b.data(), m);
        mpz_mul(num, num, nb);
        mpz_set_ui(one, 1);
        // With an error pending (which stays) and aliased with either operand.
        const bool pending = rng.chance(20);
        if (pending) mp_raise(MP_ERR_SYNTAX);
        const u8* top = mp_scratch_top;
        Real r(static_cast<std::size_t>(m + 1)), ra = a, rb = b;
        const u64 spill = real_mul(r.data(), a.data(), b.data());
        EXPECT_TRUE(spill_and_rounding(r.data(), spill, m, num, one, ea + eb, -10.0 * m - 9, 0))
            << "m=" << m << " a=" << real_text(a.data(), m, 60)
            << " b=" << real_text(b.data(), m, 60);
        EXPECT_EQ(real_mul(ra.data(), ra.data(), b.data()), spill);
        EXPECT_EQ(real_mul(rb.data(), a.data(), rb.data()), spill);
        EXPECT_TRUE(ra == r && rb == r) << "aliased product differs, m=" << m;
        EXPECT_EQ(mp_scratch_top, top);
        EXPECT_EQ(mp_err(), pending ? MP_ERR_SYNTAX : 0);
        mp_error.store(0);
        if (HasFailure()) return;
    }
}

TEST_F(RealMulTest, WordProductIsExactTruncation) {
    const u64 words[] = {1, 2, 9, 10, 11, 99, 100, REAL_BASE - 1, REAL_BASE, ~u64{0}};
    for (i64 iter = 0; iter < test_iterations(300); ++iter) {
        const i64 m = real_test_words(rng, iter % 40);
        mp_real_words = static_cast<i32>(m);
        const Real a = random_real(rng, m);
        const u64 v = rng.chance(50) ? words[rng.range(0, 9)] : rng.word() >> rng.range(0, 63);
        Real r = a;
        const u64 spill = real_mul_u64(r.data(), r.data(), v);
        if (v == 0 || real_is_zero(a.data())) {
            EXPECT_TRUE(real_is_zero(r.data()) && spill == 0);
            continue;
        }
        // Every digit of a v is formed: the spill is its exact truncation.
        Mpz num, one;
        i64 e;
        real_exact(num, &e, a.data(), m);
        mpz_mul_ui(num, num, v);
        mpz_set_ui(one, 1);
        EXPECT_TRUE(spill_and_rounding(r.data(), spill, m, num, one, e, -1, 0))
            << "m=" << m << " v=" << v << " a=" << real_text(a.data(), m, 60);
        if (HasFailure()) return;
    }
}

TEST_F(RealMulTest, ZerosSignsAndExponentRange) {
    RandomRealOptions nonzero;
    nonzero.zero_percent = 0;
    for (i64 m : {1, 2, 5, 60}) {
        mp_set_real_words(static_cast<i32>(m));
        Real a = random_real(rng, m, nonzero), b = random_real(rng, m, nonzero);
        Real r(static_cast<std::size_t>(m + 1)), z = r;
        // A zero factor: a zero with the product's sign.
        real_zero(z.data(), 1);
        real_set_header(a.data(), 3, 0);
        EXPECT_EQ(real_mul(r.data(), a.data(), z.data()), 0U);
        EXPECT_TRUE(real_is_zero(r.data()) && real_sign(r.data()) == 1);
        // e_a + e_b + 1 at the top of the range still fits.
        real_set_header(a.data(), REAL_EXP_MAX / 2, 0);
        real_set_header(b.data(), REAL_EXP_MAX / 2, 1);
        real_mul(r.data(), a.data(), b.data());
        EXPECT_TRUE(real_exp_of(r.data()) >= REAL_EXP_MAX - 1 && real_sign(r.data()) == 1);
        EXPECT_EQ(mp_err(), 0);
        // Below the range: a zero with the sign, silently; above: error 10, +0.
        real_set_header(a.data(), REAL_EXP_MIN, 0);
        real_set_header(b.data(), -5, 1);
        EXPECT_EQ(real_mul(r.data(), a.data(), b.data()), 0U);
        EXPECT_TRUE(real_is_zero(r.data()) && real_sign(r.data()) == 1 && mp_err() == 0);
        real_set_header(a.data(), REAL_EXP_MAX, 1);
        real_set_header(b.data(), 1, 0);
        EXPECT_EQ(real_mul(r.data(), a.data(), b.data()), 0U);
        EXPECT_TRUE(real_is_zero(r.data()) && real_sign(r.data()) == 0);
        EXPECT_EQ(mp_err(), MP_ERR_EXP_OVERFLOW);
        mp_error.store(0);
    }
}

}  // namespace
