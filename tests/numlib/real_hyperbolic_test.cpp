// Hyperbolic functions and their inverses against MPFR, called as the
// application calls them (guarded, g = 2): never more than one unit off in
// the last digit, and correctly rounded two digits earlier.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>

#include "numlib/mp_error.h"
#include "numlib/real.h"
#include "numlib/real_fn.h"
#include "support/mpfr_oracle.h"
#include "support/numlib_fixture.h"

namespace {

using MpfrFn = int (*)(mpfr_ptr, mpfr_srcptr, mpfr_rnd_t);

// Rounding at 19m - 2 digits. The guarded call rounds to 19m digits first,
// which moves a value by up to 0.005 units of the (19m - 2)-th digit, so a
// correct result may round either way that close to a tie: the share that
// must reach 99.9% counts the cases at least 0.006 units from a tie ("far");
// the share of those at least 10^-3 units away ("strict") is reported too.
struct Tally {
    i64 strict = 0, strict_ok = 0, far = 0, far_ok = 0;
    void add(bool ok, bool is_far) {
        ++strict;
        strict_ok += ok;
        far += is_far;
        far_ok += ok && is_far;
    }
};

// y rounded half up on the magnitude to digits significant digits.
DecimalDigits rounded_digits(const u64* y, i64 m, i64 digits) {
    Mpz n;
    i64 e = 0;
    real_exact(n, &e, y, m);
    DecimalDigits d;
    d.sign = mpz_sgn(n.get()) < 0 ? 1 : 0;
    mpz_abs(n, n);
    Mpz unit;
    mpz_ui_pow_ui(unit, 10, static_cast<unsigned long>(19 * m - digits));
    Mpz half;
    mpz_fdiv_q_ui(half, unit, 2);
    mpz_add(n, n, half);
    mpz_tdiv_q(n, n, unit);
    e += 19 * m - digits;
    std::string s(mpz_sizeinbase(n, 10) + 2, '\0');
    mpz_get_str(s.data(), 10, n);
    s.resize(std::char_traits<char>::length(s.c_str()));
    d.exp = e + static_cast<i64>(s.size()) - 1;
    s.resize(static_cast<std::size_t>(digits), '0');  // a carry leaves one zero too many
    d.digits = s;
    return d;
}

class RealHyperbolicTest : public NumlibTest {
  protected:
    // fn(x) at m words through the guarded call, against ref; records the
    // rounding at 19m - 2 digits in tally.
    ::testing::AssertionResult agrees(RealUnaryFn fn, MpfrFn ref, const std::vector<u64>& x, i64 m,
                                      Tally& tally) {
        mp_set_real_words(static_cast<i32>(m));
        mp_error.store(0);
        std::vector<u64> y(static_cast<std::size_t>(m + 1));
        real_guarded_unary(y.data(), x.data(), 2, fn);
        const std::string where = "m=" + std::to_string(m) + " x=" + real_text(x.data(), m);
        if (mp_err() != 0)
            return ::testing::AssertionFailure() << "error " << mp_err() << " for " << where;
        if (!real_well_formed(y.data(), m)) return ::testing::AssertionFailure() << where;
        // exact enough for the condition numbers near 1 (atanh, acosh): up to 10^(19m)
        Mpfr xv(oracle_bits(2 * 19 * m + 80));
        to_mpfr(xv, x.data(), m);
        Mpfr r(oracle_bits(19 * m + 10));
        ref(r, xv, MPFR_RNDN);
        const double u = ulps_from(y.data(), m, r);
        if (mpfr_zero_p(r)) {
            if (real_is_zero(y.data())) return ::testing::AssertionSuccess();
            return ::testing::AssertionFailure() << "not zero for " << where;
        }
        if (!(std::fabs(u) <= 1.0))
            return ::testing::AssertionFailure()
                   << u << " units off (ref " << mpfr_get_d(r, MPFR_RNDN) << ") for " << where
                   << " -> " << real_text(y.data(), m, 60);
        const i64 digits = 19 * m - 2;
        if (digits >= 1 && !near_tie(r, digits)) {
            const DecimalDigits want = correctly_rounded_half_up(r, digits);
            const DecimalDigits got = rounded_digits(y.data(), m, digits);
            const bool ok =
                want.sign == got.sign && want.exp == got.exp && want.digits == got.digits;
            const bool far = !near_tie(r, digits, 0.006);
            tally.add(ok, far);
            if (!ok && far)
                std::printf("misrounded at %lld digits (%.4f units): %s\n",
                            static_cast<long long>(digits), u, where.c_str());
        }
        return ::testing::AssertionSuccess();
    }

    // Word counts: the fixed ones first, then mostly small ones.
    i64 word_count(i64 round) {
        static constexpr i64 kFixed[] = {1, 2, 3, 27, 53, 263, 527};
        if (round < 7) return kFixed[round];
        return rng.chance(4) ? rng.range(54, 527) : rng.range(1, 53);
    }

    std::vector<u64> random_arg(i64 m, i64 exp_min, i64 exp_max, bool negative = true) {
        RandomRealOptions opt;
        opt.exp_min = exp_min;
        opt.exp_max = exp_max;
        opt.negative = negative;
        opt.zero_percent = 0;
        return random_real(rng, m, opt);
    }

    // 1 + d or 1 - d at m words.
    static std::vector<u64> one_plus(const std::vector<u64>& d, i64 m, int sub) {
        std::vector<u64> one(static_cast<std::size_t>(m + 1)), r(one.size());
        real_one(one.data());
        real_round_guard(r.data(), real_add_sub(r.data(), one.data(), d.data(), sub),
                         static_cast<i32>(m));
        return r;
    }

    void report(const char* name, const Tally& t) {
        const double far = t.far ? static_cast<double>(t.far_ok) / t.far : 1.0;
        const double strict = t.strict ? static_cast<double>(t.strict_ok) / t.strict : 1.0;
        std::printf(
            "%s: correctly rounded %lld of %lld far from a tie (%.4f), %lld of %lld "
            "beyond 1e-3 units (%.4f)\n",
            name, static_cast<long long>(t.far_ok), static_cast<long long>(t.far), far,
            static_cast<long long>(t.strict_ok), static_cast<long long>(t.strict), strict);
        RecordProperty(std::string(name) + "_rounded_far", std::to_string(far));
        RecordProperty(std::string(name) + "_rounded_strict", std::to_string(strict));
        EXPECT_GE(t.far_ok, t.far - t.far / 1000) << name;
    }

    i64 rounds(i64 base) { return test_iterations(base); }
};

TEST_F(RealHyperbolicTest, SinhCoshTanhAgreeWithMpfr) {
    Tally ts, tc, tt;
    for (i64 round = 0; round < rounds(90); ++round) {
        const i64 m = word_count(round);
        SCOPED_TRACE("round " + std::to_string(round));
        // tiny to large; around the series thresholds 0.1 and 0.6 more often
        auto x = rng.chance(30) ? random_arg(m, -1, -1) : random_arg(m, -40, 3);
        ASSERT_TRUE(agrees(real_sinh, mpfr_sinh, x, m, ts));
        ASSERT_TRUE(agrees(real_cosh, mpfr_cosh, x, m, tc));
        ASSERT_TRUE(agrees(real_tanh, mpfr_tanh, x, m, tt));
    }
    report("sinh", ts);
    report("cosh", tc);
    report("tanh", tt);
}

TEST_F(RealHyperbolicTest, TanhSaturatesBeyondItsLimit) {
    Tally t;
    for (i64 m : {1, 2, 5, 40}) {
        // the limit is taken at the body's m + 1 words
        const i64 limit = 19 * (m + 1) * 295 / 256;
        for (i64 v : {limit - 1, limit, limit + 1, 4 * limit}) {
            mp_set_real_words(static_cast<i32>(m));
            std::vector<u64> x(static_cast<std::size_t>(m + 1));
            real_from_i64(x.data(), -v);
            ASSERT_TRUE(agrees(real_tanh, mpfr_tanh, x, m, t));
        }
    }
}

TEST_F(RealHyperbolicTest, InverseFunctionsAgreeWithMpfr) {
    Tally ts, tc, tt;
    for (i64 round = 0; round < rounds(90); ++round) {
        const i64 m = word_count(round);
        SCOPED_TRACE("round " + std::to_string(round));
        const i64 shape = rng.range(0, 3);
        // asinh: all magnitudes, including beyond the precision
        auto x = shape == 0   ? random_arg(m, 19 * (m + 1), 19 * (m + 1) + 300)
                 : shape == 1 ? random_arg(m, -60, -1)
                              : random_arg(m, -5, 40);
        ASSERT_TRUE(agrees(real_asinh, mpfr_asinh, x, m, ts));
        // acosh: 1 + d for d from tiny to large, and huge x
        auto d = shape == 0 ? random_arg(m, -60, -1, false) : random_arg(m, -5, 40, false);
        auto c =
            shape == 3 ? random_arg(m, 19 * (m + 1), 19 * (m + 1) + 300, false) : one_plus(d, m, 0);
        ASSERT_TRUE(agrees(real_acosh, mpfr_acosh, c, m, tc));
        // atanh: tiny, moderate, and 1 - d close to 1
        const i64 near = -std::min<i64>(40, 19 * m - 2);  // 1 - d stays below 1
        auto a = shape == 0   ? random_arg(m, -60, -2)
                 : shape == 1 ? random_arg(m, -1, -1)
                              : one_plus(random_arg(m, near, -2, false), m, 1);
        if (shape >= 2 && rng.chance(50)) real_negate(a.data());
        ASSERT_TRUE(agrees(real_atanh, mpfr_atanh, a, m, tt));
    }
    report("asinh", ts);
    report("acosh", tc);
    report("atanh", tt);
}

TEST_F(RealHyperbolicTest, AliasedDestinationGivesTheSameResult) {
    // the bodies as a guarded call runs them: m + 1 words, 17 guard digits
    const i64 m = 5;
    mp_set_real_words(m);
    mp_guard_digits = 17;
    for (RealUnaryFn fn : {real_sinh, real_cosh, real_tanh, real_asinh, real_atanh}) {
        const auto x = random_arg(m, -3, -1);
        auto t = x;
        std::vector<u64> y(x.size());
        fn(y.data(), x.data());
        fn(t.data(), t.data());
        EXPECT_EQ(t, y) << real_text(x.data(), m);
    }
    mp_guard_digits = 0;
}

struct EdgeCase {
    const char* what;
    RealUnaryFn fn;
    i64 arg, shift;  // the argument arg * 10^shift
    i32 error;       // expected error, 0 = none
    i64 value;       // expected exact value when error = 0
};

TEST_F(RealHyperbolicTest, EdgeCases) {
    const EdgeCase cases[] = {
        {"atanh of 1 is outside the domain", real_atanh, 1, 0, MP_ERR_DOMAIN, 0},
        {"atanh of -1 is outside the domain", real_atanh, -1, 0, MP_ERR_DOMAIN, 0},
        {"acosh of 0.5 is outside the domain", real_acosh, 5, -1, MP_ERR_DOMAIN, 0},
        {"acosh of -2 is outside the domain", real_acosh, -2, 0, MP_ERR_DOMAIN, 0},
        {"acosh of 1 is exactly 0", real_acosh, 1, 0, 0, 0},
        {"cosh of 0 is exactly 1", real_cosh, 0, 0, 0, 1},
        {"sinh of 0 is 0", real_sinh, 0, 0, 0, 0},
        {"tanh of 0 is 0", real_tanh, 0, 0, 0, 0},
        {"asinh of 0 is 0", real_asinh, 0, 0, 0, 0},
        {"atanh of 0 is 0", real_atanh, 0, 0, 0, 0},
        {"tanh saturates far out", real_tanh, -100000, 0, 0, -1},
        {"sinh overflows the exponent range", real_sinh, 2, 19, MP_ERR_EXP_OVERFLOW, 0},
        {"cosh overflows the exponent range", real_cosh, -2, 19, MP_ERR_EXP_OVERFLOW, 0},
    };
    for (const EdgeCase& c : cases) {
        for (i64 m : {1, 3}) {
            mp_set_real_words(static_cast<i32>(m));
            mp_error.store(0);
            std::vector<u64> x(static_cast<std::size_t>(m + 1)), y(x.size()), want(x.size());
            real_from_i64(x.data(), c.arg);
            real_add_exp(x.data(), c.shift);
            real_guarded_unary(y.data(), x.data(), 2, c.fn);
            EXPECT_EQ(mp_err(), c.error) << c.what;
            real_from_i64(want.data(), c.value);
            EXPECT_EQ(real_cmp(y.data(), want.data()), 0)
                << c.what << ": " << real_text(y.data(), m);
            if (c.error != 0) {
                EXPECT_EQ(y[0], 0u) << c.what << ": a failed result is +0";
            }
        }
    }
}

}  // namespace
