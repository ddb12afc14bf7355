// The factorial's coefficient cache, permutations and combinations, and the
// gcd of integral reals, against MPFR and GMP (the factorial itself is a row
// of real_fn_test.cpp).
#include <cmath>
#include <cstdio>
#include <string>

#include "numlib/mp_error.h"
#include "numlib/real.h"
#include "numlib/real_factorial_impl.h"
#include "numlib/real_fn.h"
#include "support/numlib_fixture.h"
#include "support/real_fn_check.h"

namespace {

std::string dec(mpz_srcptr v) {
    std::string s(mpz_sizeinbase(v, 10) + 2, '\0');
    mpz_get_str(s.data(), 10, v);
    s.resize(std::char_traits<char>::length(s.c_str()));
    return s;
}

// real_perm_comb in the shape of a guarded binary call with an integer.
void perm_comb_body(u64* dst, const u64* n, const u64* k, i64 limit, int perm) {
    real_perm_comb(dst, n, k, limit, perm != 0);
}

class RealFactorialTest : public NumlibTest {
  protected:
    std::vector<u64> real_of(i64 v, i64 m) {
        std::vector<u64> x(static_cast<std::size_t>(m + 1));
        mp_set_real_words(static_cast<i32>(m));
        real_from_i64(x.data(), v);
        return x;
    }
};

TEST_F(RealFactorialTest, FullCacheRaises34AndKeepsItsRows) {
    mp_set_real_words(1);
    real_factorial_cache_clear();
    ASSERT_NE(real_factorial_coef(REAL_FACTORIAL_ROWS / 2), nullptr);
    EXPECT_EQ(mp_err(), 0);
    EXPECT_EQ(real_factorial_coef(REAL_FACTORIAL_ROWS / 2 + 1), nullptr);
    EXPECT_EQ(mp_err(), MP_ERR_CACHE_FULL);
    mp_error.store(0);
    // the built rows stay usable
    const u64* c = real_factorial_coef(1);
    ASSERT_NE(c, nullptr);
    Mpfr want(100);
    mpfr_set_ui(want, 1, MPFR_RNDN);
    mpfr_div_ui(want, want, 12, MPFR_RNDN);
    EXPECT_LE(std::fabs(ulps_from(c, 1, want)), 1.0);
    real_factorial_cache_clear();
}

// ---- permutations, combinations, gcd --------------------------------------------

class RealPermCombTest : public RealFactorialTest {
  protected:
    // An integer as a real, rounded half up to 19m digits.
    std::vector<u64> real_of_mpz(mpz_srcptr v, i64 m) {
        Mpfr f(static_cast<mpfr_prec_t>(mpz_sizeinbase(v, 2) + 2));
        mpfr_set_z(f, v, MPFR_RNDN);
        std::vector<u64> x(static_cast<std::size_t>(m + 1));
        from_mpfr(x.data(), m, f);
        return x;
    }
};

TEST_F(RealPermCombTest, AgreesWithGmp) {
    for (i64 round = 0; round < test_iterations(300); ++round) {
        const i64 m = rng.range(1, 8);
        const bool perm = rng.chance(50);
        Mpz n, k, want;
        const bool wide = m >= 2 && rng.chance(20);  // factors beyond a machine word
        mpz_set_ui(n, static_cast<unsigned long>(rng.range(0, wide ? 1000 : 100000)));
        if (wide) {
            Mpz big;
            mpz_ui_pow_ui(big, 10, static_cast<unsigned long>(rng.range(19, 37)));
            mpz_add(n, n, big);
        }
        mpz_set_ui(k, static_cast<unsigned long>(rng.range(0, perm || wide ? 30 : 300)));
        if (mpz_cmp(k, n) > 0)
            mpz_set_ui(want, 0);
        else if (perm) {
            mpz_set_ui(want, 1);
            for (unsigned long i = 0; mpz_cmp_ui(k.get(), i) > 0; ++i) {
                Mpz f;
                mpz_sub_ui(f, n, i);
                mpz_mul(want, want, f);
            }
        } else {
            mpz_bin_ui(want, n, mpz_get_ui(k));
        }
        mp_set_real_words(static_cast<i32>(m));
        const auto a = real_of_mpz(n, m), b = real_of_mpz(k, m);
        std::vector<u64> y(a.size());
        mp_error.store(0);
        real_guarded_binary_int(y.data(), a.data(), b.data(), 0, perm, perm_comb_body);
        const std::string where =
            std::string(perm ? "P(" : "C(") + dec(n) + "," + dec(k) + ") m=" + std::to_string(m);
        ASSERT_EQ(mp_err(), 0) << where;
        Mpfr r(static_cast<mpfr_prec_t>(mpz_sizeinbase(want, 2) + 2));
        mpfr_set_z(r, want, MPFR_RNDN);
        // exact while the value fits the digits, within a unit otherwise
        if (mpz_sizeinbase(want, 10) < static_cast<std::size_t>(19 * m))
            ASSERT_TRUE(real_is_rounded(y.data(), m, r)) << where;
        else
            ASSERT_TRUE(real_near(y.data(), m, r, 1.0)) << where;
    }
}

// Counts too long for the step-wise product go through ln x!: against
// log10 of the exact value from MPFR's log-gamma, within a unit, or error 10
// when the value leaves the exponent range (decided before any long loop).
TEST_F(RealPermCombTest, LongCountsAgreeWithLogGamma) {
    for (i64 round = 0; round < test_iterations(40); ++round) {
        const i64 m = round < 2 ? 27 + 26 * round : rng.range(1, 8);
        const bool perm = rng.chance(50);
        // n from 10^4 to 10^40 (digits beyond a word half the time), k up to n.
        Mpz n, k, s;
        mpz_ui_pow_ui(n, 10, static_cast<unsigned long>(rng.range(4, rng.chance(50) ? 18 : 40)));
        mpz_mul_ui(n, n, static_cast<unsigned long>(rng.range(1, 999)));
        mpz_fdiv_q_ui(k, n, static_cast<unsigned long>(rng.range(1, 1000)));
        if (rng.chance(20)) mpz_set(k, n);
        mpz_sub(s, n, k);
        if (mpz_cmp_ui(perm ? k.get() : (mpz_cmp(k, s) < 0 ? k.get() : s.get()), 500 * (m + 1)) <=
            0)
            continue;  // the step-wise product, tested above
        mp_set_real_words(static_cast<i32>(m));
        const auto a = real_of_mpz(n, m), b = real_of_mpz(k, m);
        std::vector<u64> y(a.size());
        mp_error.store(0);
        real_guarded_binary_int(y.data(), a.data(), b.data(), 0, perm, perm_comb_body);
        const std::string where =
            std::string(perm ? "P(" : "C(") + dec(n) + "," + dec(k) + ") m=" + std::to_string(m);
        // log10 of the value: (lngamma(n + 1) - lngamma(s + 1) [- lngamma(k + 1)]) / ln 10
        const mpfr_prec_t bits = ref_bits(m) + 200;
        Mpfr l(bits), t(bits), x(bits), v(ref_bits(m));
        auto lngamma_plus_one = [&](mpfr_ptr out, mpz_srcptr z) {
            mpfr_set_z(x, z, MPFR_RNDN);
            mpfr_add_ui(x, x, 1, MPFR_RNDN);
            mpfr_lngamma(out, x, MPFR_RNDN);
        };
        lngamma_plus_one(l, n);
        lngamma_plus_one(t, s);
        mpfr_sub(l, l, t, MPFR_RNDN);
        if (!perm) {
            lngamma_plus_one(t, k);
            mpfr_sub(l, l, t, MPFR_RNDN);
        }
        mpfr_log_ui(t, 10, MPFR_RNDN);
        mpfr_div(l, l, t, MPFR_RNDN);
        const i64 e10 = mpfr_get_si(l, MPFR_RNDD);
        if (e10 > REAL_EXP_MAX) {
            EXPECT_TRUE(mp_err() == MP_ERR_EXP_OVERFLOW && real_is_zero(y.data())) << where;
        } else {
            mpfr_sub_si(l, l, e10, MPFR_RNDN);
            mpfr_exp10(v, l, MPFR_RNDN);
            ASSERT_EQ(mp_err(), 0) << where;
            ASSERT_TRUE(real_near(y.data(), m, v, 1.0, e10)) << where;
        }
    }
    // The first argument's count alone would run for hours; both overflow.
    for (const char* c : {"npr(98e31;5515818122855733843)", "ncr(1e30;5e18)", "ncr(4e19;2e19)"}) {
        const bool perm = c[1] == 'p';
        const std::string args(c + 4);
        const auto comma = args.find(';');
        const auto a = real_of_text(3, args.substr(0, comma).c_str());
        const auto b = real_of_text(3, args.substr(comma + 1, args.size() - comma - 2).c_str());
        std::vector<u64> y(a.size());
        mp_error.store(0);
        mp_set_real_words(3);
        real_guarded_binary_int(y.data(), a.data(), b.data(), 0, perm, perm_comb_body);
        EXPECT_EQ(mp_err(), MP_ERR_EXP_OVERFLOW) << c;
        real_guarded_binary_int(y.data(), a.data(), b.data(), 1000000, perm, perm_comb_body);
        EXPECT_EQ(mp_err(), MP_ERR_EXP_OVERFLOW) << c << " keeps the first error";
        mp_error.store(0);
        real_guarded_binary_int(y.data(), a.data(), b.data(), 1000000, perm, perm_comb_body);
        EXPECT_EQ(mp_err(), MP_ERR_DOMAIN) << c << " beyond the limit";
    }
}

TEST_F(RealPermCombTest, DomainLimitAndEmptyCases) {
    const i64 m = 2;
    const auto n = real_of(10, m), k = real_of(3, m), half = real_of(5, m), neg = real_of(-3, m);
    auto frac = half;
    real_add_exp(frac.data(), -1);  // 0.5
    std::vector<u64> y(n.size());
    struct Case {
        const char* what;
        const std::vector<u64>& a;
        const std::vector<u64>& b;
        i64 limit;
        i32 error;
        i64 value;
    };
    const Case cases[] = {
        {"C(10, 3)", n, k, 0, 0, 120},
        {"C(3, 10) is 0 without error", k, n, 0, 0, 0},
        {"a limit below the loop count", n, k, 2, MP_ERR_DOMAIN, 0},
        {"a limit that suffices", n, k, 3, 0, 120},
        {"a fraction", n, frac, 0, MP_ERR_DOMAIN, 0},
        {"a negative argument", neg, k, 0, MP_ERR_DOMAIN, 0},
    };
    for (const Case& c : cases) {
        mp_error.store(0);
        real_guarded_binary_int(y.data(), c.a.data(), c.b.data(), c.limit, 0, perm_comb_body);
        EXPECT_EQ(mp_err(), c.error) << c.what;
        EXPECT_EQ(real_cmp_i64(y.data(), c.value), 0) << c.what;
    }
}

TEST_F(RealPermCombTest, GcdAgreesWithGmp) {
    for (i64 round = 0; round < test_iterations(200); ++round) {
        const i64 m = rng.range(1, 12);
        // a = g x, b = g y with digits to fill the precision
        Mpz g, a, b, want;
        gmp_randstate_t st;
        gmp_randinit_default(st);
        gmp_randseed_ui(st, static_cast<unsigned long>(rng.word()));
        const auto digits_bits = static_cast<mp_bitcnt_t>(19 * m * 3.2);
        mpz_urandomb(g, st,
                     static_cast<mp_bitcnt_t>(rng.range(1, static_cast<i64>(digits_bits) / 2)));
        mpz_add_ui(g, g, 1);
        const auto rest = digits_bits - mpz_sizeinbase(g, 2);
        mpz_urandomb(a, st, rest);
        mpz_urandomb(b, st, static_cast<mp_bitcnt_t>(rng.range(1, static_cast<i64>(rest))));
        mpz_add_ui(a, a, 1);
        mpz_add_ui(b, b, 1);
        mpz_mul(a, a, g);
        mpz_mul(b, b, g);
        gmp_randclear(st);
        mpz_gcd(want, a, b);
        mp_set_real_words(static_cast<i32>(m));
        const auto x = real_of_mpz(a, m), y = real_of_mpz(b, m);
        std::vector<u64> r(x.size());
        mp_error.store(0);
        real_gcd(r.data(), x.data(), y.data(), 0);
        ASSERT_EQ(mp_err(), 0);
        Mpfr wv(static_cast<mpfr_prec_t>(mpz_sizeinbase(want, 2) + 2));
        mpfr_set_z(wv, want, MPFR_RNDN);
        ASSERT_TRUE(real_is_rounded(r.data(), m, wv)) << "gcd(" << dec(a) << ", " << dec(b) << ")";
    }
}

TEST_F(RealPermCombTest, GcdRejectsZeroNegativeAndFractions) {
    const i64 m = 2;
    const auto six = real_of(6, m), zero = real_of(0, m), neg = real_of(-4, m);
    auto frac = six;
    real_add_exp(frac.data(), -1);
    std::vector<u64> r(six.size());
    for (const std::vector<u64>* bad :
         std::initializer_list<const std::vector<u64>*>{&zero, &neg, &frac}) {
        mp_error.store(0);
        real_gcd(r.data(), six.data(), bad->data(), 0);
        EXPECT_EQ(mp_err(), MP_ERR_DOMAIN);
        EXPECT_TRUE(real_is_zero(r.data()));
        mp_error.store(0);
        real_gcd(r.data(), bad->data(), six.data(), 0);
        EXPECT_EQ(mp_err(), MP_ERR_DOMAIN);
    }
}

}  // namespace
