// Exponentials against MPFR over the whole exponent range (overflow and
// underflow included), hard cases, and the exact integer and fractional parts.
#include <mpfr.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "numlib/mp_error.h"
#include "numlib/real.h"
#include "numlib/real_fn.h"
#include "support/numlib_fixture.h"
#include "support/real_fn_check.h"

namespace {

using RealExpTest = NumlibTest;

// 10^(x * scale) as 10^frac * 10^whole, for any x; scale sets the base's
// log10 (nullptr: base 10). The argument keeps the digits its integer part
// takes on top of the result's.
RealFnReference exp_reference(void (*scale)(mpfr_ptr)) {
    return [scale](mpfr_ptr v, const u64* x, i64 m, i64* e10) {
        const i64 e = real_is_zero(x) ? 0 : std::max<i64>(real_exp_of(x), 0);
        Mpfr u(fn_ref_bits(m) + 80 + 4 * std::min<i64>(e, 25)), k(64), ten(64);
        mpfr_set_prec(k, u.bits());
        if (e <= 25) to_mpfr(u, x, m);
        if (scale && e <= 25) {
            Mpfr s(u.bits());
            scale(s);
            mpfr_mul(u, u, s, MPFR_RNDN);
        }
        mpfr_floor(k, u);
        // far beyond the range (10^(10^25) at least): only the side counts
        if (e > 25 || std::fabs(mpfr_get_d(k, MPFR_RNDN)) > 4.6e18) {
            *e10 = real_sign(x) ? REAL_EXP_MIN - 10 : REAL_EXP_MAX + 10;
            mpfr_set_ui(v, 1, MPFR_RNDN);
            return;
        }
        mpfr_sub(u, u, k, MPFR_RNDN);
        *e10 = mpfr_get_si(k, MPFR_RNDN);
        mpfr_set_ui(ten, 10, MPFR_RNDN);
        mpfr_pow(v, ten, u, MPFR_RNDN);
    };
}

void log10_e(mpfr_ptr s) {
    mpfr_set_ui(s, 1, MPFR_RNDN);
    mpfr_exp(s, s, MPFR_RNDN);
    mpfr_log10(s, s, MPFR_RNDN);
}

void log10_2(mpfr_ptr s) {
    mpfr_set_ui(s, 2, MPFR_RNDN);
    mpfr_log10(s, s, MPFR_RNDN);
}

// Tiny, moderate, large, and huge arguments (results beyond the range).
const RealSampler kArgument =
    sample_one_of({sample_real(-60, -2), sample_real(-1, 2), sample_real(-1, 2), sample_real(-1, 2),
                   sample_real(3, 17), sample_real(18, 40, true, 0)});

TEST_F(RealExpTest, ExponentialsMatchMpfr) {
    check_fn(rng, {"real_exp", real_exp, exp_reference(log10_e), kArgument, 200});
    check_fn(rng, {"real_exp10", real_exp10, exp_reference(nullptr), kArgument, 200});
    check_fn(rng, {"real_exp2", real_exp2, exp_reference(log10_2), kArgument, 200});
}

// At the largest precision an argument near 10^18 cancels 18 digits of
// k ln 10 in the reduction, more than the guard digits cover.
TEST_F(RealExpTest, HugeArgumentsAtTheLargestPrecision) {
    RealFnStats stats;
    const auto x = sample_real(17, 18, true, 0)(rng, 527);
    EXPECT_TRUE(check_unary_case(stats, 527, x, real_exp, exp_reference(log10_e)));
    EXPECT_TRUE(check_unary_case(stats, 527, x, real_exp2, exp_reference(log10_2)));
}

// trunc(x) is x's integer part exactly, and trunc(x) + frac(x) = x with
// |frac(x)| < 1 of x's sign; both may be computed in place.
TEST_F(RealExpTest, TruncAndFracSplitExactly) {
    for (i64 round = 0; round < test_iterations(300); ++round) {
        const i64 m = rng.range(1, 8);
        mp_set_real_words(static_cast<i32>(m));
        auto x = sample_real(-3, 19 * m + 2, true, 3)(rng, m);
        std::vector<u64> t = x, f(x.size()), back(x.size());
        real_frac(f.data(), x.data());
        real_trunc(t.data(), t.data());
        ASSERT_TRUE(real_well_formed(f.data(), m) && real_is_integer(t.data()));
        EXPECT_EQ(real_add_sub(back.data(), t.data(), f.data(), 0), 0u);
        EXPECT_EQ(real_cmp(back.data(), x.data()), 0) << real_text(x.data(), m);
        EXPECT_TRUE(real_is_zero(f.data()) ||
                    (real_exp_of(f.data()) < 0 && real_sign(f.data()) == real_sign(x.data())))
            << real_text(x.data(), m);
        real_frac(x.data(), x.data());
        EXPECT_EQ(x, f);
    }
}

}  // namespace
