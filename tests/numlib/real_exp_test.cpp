// Exponentials against MPFR, their range errors, and the exact integer and
// fractional parts.
#include <gmp.h>
#include <mpfr.h>

#include <vector>

#include "numlib/mp_error.h"
#include "numlib/real.h"
#include "numlib/real_fn.h"
#include "support/mpfr_oracle.h"
#include "support/numlib_fixture.h"
#include "support/real_fn_check.h"

namespace {

class RealExpTest : public NumlibTest {
  protected:
    // An argument whose exponential stays in range: tiny, moderate or large.
    std::vector<u64> argument(i64 m) {
        RandomRealOptions opt;
        opt.zero_percent = 1;
        const i64 kind = rng.range(0, 9);
        opt.exp_min = kind < 2 ? -60 : (kind < 8 ? -1 : 3);
        opt.exp_max = kind < 2 ? -2 : (kind < 8 ? 2 : 17);
        return random_real(rng, m, opt);
    }
};

// 10^(x * scale) for scale = log10 of the base (nullptr: base 10).
RealFnReference exp_reference(void (*scale)(mpfr_ptr)) {
    return [scale](mpfr_ptr v, const u64* x, i64 m, i64* e10) {
        Mpfr u(fn_ref_bits(m) + 70);
        to_mpfr(u, x, m);
        if (scale) {
            Mpfr s(u.bits());
            scale(s);
            mpfr_mul(u, u, s, MPFR_RNDN);
        }
        Mpfr k(u.bits());
        mpfr_floor(k, u);
        mpfr_sub(u, u, k, MPFR_RNDN);
        *e10 = mpfr_get_si(k, MPFR_RNDN);
        Mpfr ten(u.bits());
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

struct ExpCase {
    const char* name;
    void (*fn)(u64*, const u64*);
    void (*scale)(mpfr_ptr);
};

const ExpCase kExpCases[] = {
    {"real_exp", real_exp, log10_e},
    {"real_exp10", real_exp10, nullptr},
    {"real_exp2", real_exp2, log10_2},
};

TEST_F(RealExpTest, ExponentialsMatchMpfr) {
    for (const ExpCase& c : kExpCases) {
        RealFnStats stats;
        const RealFnReference ref = exp_reference(c.scale);
        for (i64 round = 0; round < test_iterations(400); ++round) {
            const i64 m = fn_test_words(rng, round);
            const auto x = argument(m);
            ASSERT_TRUE(check_unary_case(stats, m, x, c.fn, ref)) << c.name;
        }
        stats.report(c.name);
        EXPECT_GE(stats.far_share(), 0.999) << c.name;
    }
}

// At the largest precision an argument near 10^18 cancels 18 digits of
// k ln 10 in the reduction, more than the guard digits cover.
TEST_F(RealExpTest, HugeArgumentsAtTheLargestPrecision) {
    RealFnStats stats;
    for (const ExpCase& c : {kExpCases[0], kExpCases[2]}) {
        RandomRealOptions opt;
        opt.exp_min = 17;
        opt.exp_max = 18;
        opt.zero_percent = 0;
        const auto x = random_real(rng, 527, opt);
        ASSERT_TRUE(check_unary_case(stats, 527, x, c.fn, exp_reference(c.scale))) << c.name;
    }
}

std::vector<u64> from_text_value(i64 m, const char* text) {
    Mpfr v(fn_ref_bits(m));
    mpfr_set_str(v, text, 10, MPFR_RNDN);
    std::vector<u64> x(static_cast<std::size_t>(m + 1));
    from_mpfr(x.data(), m, v);
    return x;
}

struct EdgeCase {
    const char* why;
    void (*fn)(u64*, const u64*);
    const char* arg;
    const char* want;  // nullptr: zero
    i32 err;
};

TEST_F(RealExpTest, EdgeCases) {
    const EdgeCase cases[] = {
        {"exp(0) is exactly 1", real_exp, "0", "1", 0},
        {"overflow is error 10", real_exp, "1e20", nullptr, MP_ERR_EXP_OVERFLOW},
        {"underflow is a silent zero", real_exp, "-1e20", nullptr, 0},
        {"one past the largest exponent", real_exp10, "4611686018427387904", nullptr,
         MP_ERR_EXP_OVERFLOW},
        {"10^2.5", real_exp10, "2.5", "316.22776601683793319988935444327185337195551393252", 0},
        {"integer powers of ten are exact", real_exp10, "-7", "1e-7", 0},
        {"integer powers of two are exact after rounding", real_exp2, "64", "18446744073709551616",
         0},
        {"2^-1", real_exp2, "-1", "0.5", 0},
        {"tiny argument keeps its digits", real_exp, "1e-40",
         "1.0000000000000000000000000000000000000001", 0},
    };
    for (const EdgeCase& c : cases) {
        for (i64 m : {1, 2}) {
            i32 err = 0;
            const auto x = from_text_value(m, c.arg);
            const auto out = guarded_unary(m, x, c.fn, &err);
            EXPECT_EQ(err, c.err) << c.why;
            if (!c.want) {
                EXPECT_TRUE(real_is_zero(out.data())) << c.why << ": " << real_text(out.data(), m);
                continue;
            }
            Mpfr v(fn_ref_bits(m));
            mpfr_set_str(v, c.want, 10, MPFR_RNDN);
            EXPECT_TRUE(real_is_rounded(out.data(), m, v)) << c.why << " at m = " << m;
        }
    }
}

// The integer part of x, truncated toward zero, from its exact digits.
void integer_part(Mpz& n, const u64* x, i64 m) {
    i64 e = 0;
    real_exact(n, &e, x, m);
    Mpz p;
    mpz_ui_pow_ui(p, 10, static_cast<unsigned long>(e < 0 ? -e : e));
    if (e < 0) {
        mpz_tdiv_q(n, n, p);
    } else {
        mpz_mul(n, n, p);
    }
}

// trunc(x) is x's integer part exactly (checked in integers), and
// trunc(x) + frac(x) = x with |frac(x)| < 1.
TEST_F(RealExpTest, TruncAndFracSplitExactly) {
    for (i64 round = 0; round < test_iterations(300); ++round) {
        const i64 m = rng.range(1, 8);
        mp_set_real_words(static_cast<i32>(m));
        RandomRealOptions opt;
        opt.exp_min = -3;
        opt.exp_max = 19 * m + 2;
        opt.zero_percent = 3;
        auto x = random_real(rng, m, opt);
        std::vector<u64> t(x.size()), f(x.size());
        real_trunc(t.data(), x.data());
        real_frac(f.data(), x.data());
        ASSERT_TRUE(real_well_formed(f.data(), m));
        Mpz n, tn;
        integer_part(n, x.data(), m);
        integer_part(tn, t.data(), m);
        ASSERT_EQ(mpz_cmp(n, tn), 0) << real_text(x.data(), m);
        std::vector<u64> back(x.size());
        const u64 spill = real_add_sub(back.data(), t.data(), f.data(), 0);
        EXPECT_EQ(spill, 0u);
        EXPECT_EQ(real_cmp(back.data(), x.data()), 0) << real_text(x.data(), m);
        EXPECT_TRUE(real_is_zero(f.data()) || real_exp_of(f.data()) < 0);
        EXPECT_TRUE(real_is_zero(f.data()) || real_sign(f.data()) == real_sign(x.data()));
        real_frac(x.data(), x.data());  // aliased
        EXPECT_EQ(x, f);
    }
}

}  // namespace
