// Square and cube roots and hypot against MPFR over the whole exponent range,
// exact roots, and hard cases.
#include <mpfr.h>

#include <vector>

#include "numlib/mp_error.h"
#include "numlib/real.h"
#include "numlib/real_fn.h"
#include "support/numlib_fixture.h"
#include "support/real_fn_check.h"

namespace {

using RealSqrtTest = NumlibTest;

// x^(1/k) for x = mant 10^e: the root of mant 10^(e mod k), times
// 10^floor(e / k); NaN for a negative x under an even root.
RealFnReference root_reference(int k) {
    return [k](mpfr_ptr v, const u64* x, i64 m, i64* e10) {
        Mpfr a(fn_ref_bits(m) + 10);
        const i64 e = to_mpfr_scaled(a, x, m);
        const i64 q = e >= 0 ? e / k : -((-e + k - 1) / k);
        for (i64 i = 0; i < e - q * k; ++i) mpfr_mul_ui(a, a, 10, MPFR_RNDN);
        *e10 = q;
        if (k == 2) mpfr_sqrt(v, a, MPFR_RNDN);
        if (k == 3) mpfr_cbrt(v, a, MPFR_RNDN);
    };
}

// Moderate exponents, or any in the range (its ends more often).
const RealSampler kArgument =
    sample_one_of({sample_real(-30, 30), sample_real(-30, 30), sample_real(-30, 30),
                   sample_real(REAL_EXP_MIN, REAL_EXP_MAX, true, 1, 30)});

TEST_F(RealSqrtTest, RootsMatchMpfr) {
    // the binary path serves short mantissas (up to 40 words for sqrt, 16 for cbrt)
    check_fn(rng, {"real_sqrt", real_sqrt, root_reference(2), kArgument, 300, 70});
    check_fn(rng, {"real_cbrt", real_cbrt, root_reference(3), kArgument, 300, 70});
}

TEST_F(RealSqrtTest, HypotMatchesMpfr) {
    // same exponents half the time: the sum of squares carries
    const RealSampler side =
        sample_one_of({sample_real(-25, 25, true, 5), sample_real(0, 0, true, 5)});
    check_fn(rng, {"real_hypot", real_hypot, mpfr_reference(mpfr_hypot), side, side, 200, 70});
}

// Exact roots must come out exact: squares and cubes of short values.
TEST_F(RealSqrtTest, ExactRootsAreExact) {
    for (i64 round = 0; round < test_iterations(100); ++round) {
        const i64 m = rng.range(1, 20);
        mp_set_real_words(static_cast<i32>(m));
        std::vector<u64> r(static_cast<std::size_t>(m + 1)), p(r.size());
        real_from_u64(r.data(), static_cast<u64>(rng.range(1, 999999)));
        real_add_exp(r.data(), rng.range(-200, 200));
        real_round_guard(p.data(), real_mul(p.data(), r.data(), r.data()), static_cast<i32>(m));
        i32 err = 0;
        EXPECT_EQ(guarded_unary(m, p, real_sqrt, &err), r) << real_text(p.data(), m);
        real_round_guard(p.data(), real_mul(p.data(), p.data(), r.data()), static_cast<i32>(m));
        real_negate(p.data());
        real_negate(r.data());
        EXPECT_EQ(guarded_unary(m, p, real_cbrt, &err), r) << real_text(p.data(), m);
        EXPECT_EQ(err, 0);
    }
}

}  // namespace
