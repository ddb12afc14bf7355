// Square and cube roots and hypot against MPFR over the whole exponent
// range, with their exact cases and the domain error.
#include <mpfr.h>

#include <string>
#include <vector>

#include "numlib/mp_error.h"
#include "numlib/real.h"
#include "numlib/real_fn.h"
#include "support/mpfr_oracle.h"
#include "support/numlib_fixture.h"
#include "support/real_fn_check.h"

namespace {

class RealSqrtTest : public NumlibTest {
  protected:
    std::vector<u64> argument(i64 m, bool negative) {
        RandomRealOptions opt;
        opt.negative = negative;
        opt.zero_percent = 1;
        const bool wide = rng.chance(20);
        opt.exp_min = wide ? REAL_EXP_MIN : -30;
        opt.exp_max = wide ? REAL_EXP_MAX : 30;
        opt.edge_percent = wide ? 30 : 0;
        return random_real(rng, m, opt);
    }
};

// x^(1/k) for x = mant 10^e: the root of mant 10^(e mod k), times
// 10^floor(e / k).
RealFnReference root_reference(int k) {
    return [k](mpfr_ptr v, const u64* x, i64 m, i64* e10) {
        Mpfr a(fn_ref_bits(m) + 10);
        i64 e = to_mpfr_scaled(a, x, m);
        i64 q = e >= 0 ? e / k : -((-e + k - 1) / k);
        for (i64 i = 0; i < e - q * k; ++i) mpfr_mul_ui(a, a, 10, MPFR_RNDN);
        *e10 = q;
        if (k == 2) {
            mpfr_sqrt(v, a, MPFR_RNDN);
        } else {
            mpfr_cbrt(v, a, MPFR_RNDN);
        }
    };
}

TEST_F(RealSqrtTest, SquareRootMatchesMpfr) {
    RealFnStats stats;
    const RealFnReference ref = root_reference(2);
    for (i64 round = 0; round < test_iterations(500); ++round) {
        const i64 m = fn_test_words(rng, round, 70);
        ASSERT_TRUE(check_unary_case(stats, m, argument(m, false), real_sqrt, ref));
    }
    stats.report("real_sqrt");
    EXPECT_GE(stats.far_share(), 0.999);
}

TEST_F(RealSqrtTest, CubeRootMatchesMpfr) {
    RealFnStats stats;
    const RealFnReference ref = root_reference(3);
    for (i64 round = 0; round < test_iterations(500); ++round) {
        const i64 m = fn_test_words(rng, round, 70);
        ASSERT_TRUE(check_unary_case(stats, m, argument(m, true), real_cbrt, ref));
    }
    stats.report("real_cbrt");
    EXPECT_GE(stats.far_share(), 0.999);
}

TEST_F(RealSqrtTest, HypotMatchesMpfr) {
    RealFnStats stats;
    for (i64 round = 0; round < test_iterations(300); ++round) {
        const i64 m = fn_test_words(rng, round, 70);
        RandomRealOptions opt;
        opt.exp_min = -25;
        opt.exp_max = 25;
        opt.zero_percent = 5;
        const auto a = random_real(rng, m, opt);
        auto b = random_real(rng, m, opt);
        if (rng.chance(30) && !real_is_zero(b.data())) {  // same exponent as a: sums carry
            b[0] = (a[0] & ~u64{1}) | (b[0] & 1);
        }
        const auto ref = [&](mpfr_ptr v, i64* e10) {
            *e10 = 0;
            Mpfr x(fn_ref_bits(m) + 200), y(fn_ref_bits(m) + 200);
            to_mpfr(x, a.data(), m);
            to_mpfr(y, b.data(), m);
            mpfr_hypot(v, x, y, MPFR_RNDN);
        };
        ASSERT_TRUE(check_binary_case(stats, m, a, b, real_hypot, ref));
    }
    stats.report("real_hypot");
    EXPECT_GE(stats.far_share(), 0.999);
}

// Exact roots must come out exact: squares and cubes of random short values.
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

std::vector<u64> value(i64 m, const char* text) {
    if (std::string(text) == "0") return std::vector<u64>(static_cast<std::size_t>(m + 1));
    Mpfr v(fn_ref_bits(m));
    mpfr_set_str(v, text, 10, MPFR_RNDN);
    std::vector<u64> x(static_cast<std::size_t>(m + 1));
    from_mpfr(x.data(), m, v);
    return x;
}

TEST_F(RealSqrtTest, EdgeCasesAndDomain) {
    i32 err = 0;
    EXPECT_TRUE(real_is_zero(guarded_unary(2, value(2, "0"), real_sqrt, &err).data()));
    EXPECT_EQ(err, 0);
    EXPECT_TRUE(real_is_zero(guarded_unary(2, value(2, "-1"), real_sqrt, &err).data()));
    EXPECT_EQ(err, MP_ERR_DOMAIN) << "sqrt of a negative value";
    EXPECT_EQ(guarded_unary(1, value(1, "2"), real_sqrt, &err), value(1, "1.414213562373095049"));
    EXPECT_EQ(guarded_unary(3, value(3, "1e-100"), real_sqrt, &err), value(3, "1e-50"));
    EXPECT_EQ(guarded_unary(2, value(2, "-27"), real_cbrt, &err), value(2, "-3"));
    EXPECT_EQ(guarded_unary(2, value(2, "1e30"), real_cbrt, &err), value(2, "1e10"));
    EXPECT_EQ(err, 0);
    // hypot of the largest value with itself overflows honestly
    mp_set_real_words(2);
    std::vector<u64> big(3), out(3);
    real_special(big.data(), 11);
    mp_error.store(0);
    real_guarded_binary(out.data(), big.data(), big.data(), 2, real_hypot);
    EXPECT_EQ(mp_err(), MP_ERR_EXP_OVERFLOW);
    EXPECT_TRUE(real_is_zero(out.data()));
    // squares far beyond the range, a result within it
    real_set_header(big.data(), REAL_EXP_MAX - 1, 0);
    mp_error.store(0);
    real_guarded_binary(out.data(), big.data(), big.data(), 2, real_hypot);
    EXPECT_EQ(mp_err(), 0);
    EXPECT_EQ(real_exp_of(out.data()), REAL_EXP_MAX);
}

}  // namespace
