// Logarithms against MPFR, near 1 and for exponents far beyond MPFR's
// direct reach, their domain errors and exact cases.
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

class RealLnTest : public NumlibTest {
  protected:
    // A positive argument: near 1 (the hard case), moderate, or with an
    // exponent anywhere in the range.
    std::vector<u64> argument(i64 m) {
        RandomRealOptions opt;
        opt.negative = false;
        opt.zero_percent = 0;
        const i64 kind = rng.range(0, 9);
        if (kind < 3) return near_one(m);
        opt.exp_min = kind < 8 ? -3 : -4000000000000000000;
        opt.exp_max = kind < 8 ? 3 : 4000000000000000000;
        opt.edge_percent = kind < 8 ? 0 : 20;
        return random_real(rng, m, opt);
    }

    // 1 + d or 1 - d for a small random d.
    std::vector<u64> near_one(i64 m) {
        RandomRealOptions opt;
        opt.exp_min = -19 * m + 1;
        opt.exp_max = -1;
        opt.zero_percent = 0;
        const auto d = random_real(rng, m, opt);
        std::vector<u64> x(d.size());
        mp_set_real_words(static_cast<i32>(m));
        real_one(x.data());
        real_round_guard(x.data(), real_add_sub(x.data(), x.data(), d.data(), 0),
                         static_cast<i32>(m));
        return x;
    }
};

// ln x for x = mant 10^e, with (for a small e) the argument taken whole so
// that arguments near 1 keep their relative accuracy.
void log_of(mpfr_ptr v, const u64* x, i64 m, mpfr_prec_t bits) {
    Mpfr a(bits);
    if (std::abs(real_exp_of(x)) <= 3) {
        to_mpfr(a, x, m);
        mpfr_log(v, a, MPFR_RNDN);
        return;
    }
    const i64 e = to_mpfr_scaled(a, x, m);
    mpfr_log(a, a, MPFR_RNDN);
    Mpfr t(bits);
    mpfr_set_ui(t, 10, MPFR_RNDN);
    mpfr_log(t, t, MPFR_RNDN);
    mpfr_mul_si(t, t, e, MPFR_RNDN);
    mpfr_add(v, a, t, MPFR_RNDN);
}

// Bits that absorb the cancellation of a logarithm of an argument near 1.
mpfr_prec_t ln_bits(i64 m) {
    return oracle_bits(2 * 19 * m + 80);
}

// ln x times scale (nullptr: 1).
RealFnReference log_reference(void (*scale)(mpfr_ptr)) {
    return [scale](mpfr_ptr v, const u64* x, i64 m, i64* e10) {
        *e10 = 0;
        Mpfr l(ln_bits(m));
        log_of(l, x, m, ln_bits(m));
        if (scale) {
            Mpfr s(ln_bits(m));
            scale(s);
            mpfr_mul(l, l, s, MPFR_RNDN);
        }
        mpfr_set(v, l, MPFR_RNDN);
    };
}

void inv_ln10(mpfr_ptr s) {
    mpfr_set_ui(s, 10, MPFR_RNDN);
    mpfr_log(s, s, MPFR_RNDN);
    mpfr_ui_div(s, 1, s, MPFR_RNDN);
}

void inv_ln2(mpfr_ptr s) {
    mpfr_const_log2(s, MPFR_RNDN);
    mpfr_ui_div(s, 1, s, MPFR_RNDN);
}

struct LnCase {
    const char* name;
    void (*fn)(u64*, const u64*);
    void (*scale)(mpfr_ptr);
};

TEST_F(RealLnTest, LogarithmsMatchMpfr) {
    const LnCase cases[] = {
        {"real_ln", real_ln, nullptr},
        {"real_log10", real_log10, inv_ln10},
        {"real_log2", real_log2, inv_ln2},
    };
    for (const LnCase& c : cases) {
        RealFnStats stats;
        const RealFnReference ref = log_reference(c.scale);
        for (i64 round = 0; round < test_iterations(400); ++round) {
            const i64 m = fn_test_words(rng, round);
            const auto x = argument(m);
            ASSERT_TRUE(check_unary_case(stats, m, x, c.fn, ref)) << c.name;
        }
        stats.report(c.name);
        EXPECT_GE(stats.far_share(), 0.999) << c.name;
    }
}

TEST_F(RealLnTest, Ln1pMatchesMpfr) {
    RealFnStats stats;
    const RealFnReference ref = [](mpfr_ptr v, const u64* x, i64 m, i64* e10) {
        *e10 = 0;
        Mpfr a(ln_bits(m));
        to_mpfr(a, x, m);
        mpfr_log1p(v, a, MPFR_RNDN);
    };
    for (i64 round = 0; round < test_iterations(400); ++round) {
        const i64 m = fn_test_words(rng, round);
        RandomRealOptions opt;
        opt.zero_percent = 1;
        opt.exp_min = -40;
        opt.exp_max = 5;
        auto x = random_real(rng, m, opt);
        if (real_sign(x.data()) && real_exp_of(x.data()) >= 0) x[0] ^= 1;  // keep x > -1
        ASSERT_TRUE(check_unary_case(stats, m, x, real_ln1p, ref));
    }
    stats.report("real_ln1p");
    EXPECT_GE(stats.far_share(), 0.999);
}

TEST_F(RealLnTest, LogxMatchesMpfr) {
    RealFnStats stats;
    for (i64 round = 0; round < test_iterations(150); ++round) {
        const i64 m = fn_test_words(rng, round, 12);
        const auto b = argument(m);
        const auto x = argument(m);
        mp_set_real_words(static_cast<i32>(m));
        if (real_cmp_i64(b.data(), 1) == 0) continue;
        const auto ref = [&](mpfr_ptr v, i64* e10) {
            *e10 = 0;
            Mpfr lb(ln_bits(m)), lx(ln_bits(m));
            log_of(lb, b.data(), m, ln_bits(m));
            log_of(lx, x.data(), m, ln_bits(m));
            mpfr_div(v, lx, lb, MPFR_RNDN);
        };
        ASSERT_TRUE(check_binary_case(stats, m, b, x, real_logx, ref));
    }
    stats.report("real_logx");
}

std::vector<u64> value(i64 m, const char* text) {
    if (std::string(text) == "0") return std::vector<u64>(static_cast<std::size_t>(m + 1));
    Mpfr v(fn_ref_bits(m));
    mpfr_set_str(v, text, 10, MPFR_RNDN);
    std::vector<u64> x(static_cast<std::size_t>(m + 1));
    from_mpfr(x.data(), m, v);
    return x;
}

TEST_F(RealLnTest, EdgeCasesAndDomain) {
    struct Case {
        const char* why;
        void (*fn)(u64*, const u64*);
        const char* arg;
        const char* want;  // nullptr: zero
        i32 err;
    };
    const Case cases[] = {
        {"ln 1 is 0", real_ln, "1", nullptr, 0},
        {"ln 0 is a domain error", real_ln, "0", nullptr, MP_ERR_DOMAIN},
        {"ln -1 is a domain error", real_ln, "-1", nullptr, MP_ERR_DOMAIN},
        {"log10 1000 is exactly 3", real_log10, "1000", "3", 0},
        {"log10 of a tiny power of ten", real_log10, "1e-300", "-300", 0},
        {"log2 1024 is 10", real_log2, "1024", "10", 0},
        {"ln1p(-1) is a domain error", real_ln1p, "-1", nullptr, MP_ERR_DOMAIN},
        {"ln1p of a tiny value keeps it", real_ln1p, "1e-50",
         "9."
         "99999999999999999999999999999999999999999999999995000000000000000000000000000000000000000"
         "000000000033333333e-51",
         0},
    };
    for (const Case& c : cases) {
        for (i64 m : {1, 4}) {
            i32 err = 0;
            const auto out = guarded_unary(m, value(m, c.arg), c.fn, &err);
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
    mp_set_real_words(2);
    const auto one = value(2, "1");
    const auto two = value(2, "2");
    std::vector<u64> out(3);
    real_guarded_binary(out.data(), one.data(), two.data(), 2, real_logx);
    EXPECT_EQ(mp_err(), MP_ERR_DOMAIN) << "base 1";
    EXPECT_TRUE(real_is_zero(out.data()));
}

}  // namespace
