// Integer and real powers and roots against MPFR, with the sign and domain
// rules of negative bases and zero.
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

class RealPowTest : public NumlibTest {};

// 10^(y log10 |x|) for x = mant 10^e, returned as v 10^e10 with 1 <= v < 10;
// negated when odd.
void pow_reference(mpfr_ptr v, const u64* x, const mpfr_t y, i64 m, i64* e10, bool odd) {
    const mpfr_prec_t bits = fn_ref_bits(m) + 140;
    Mpfr a(bits), u(bits), k(bits), ten(bits);
    const i64 e = to_mpfr_scaled(a, x, m);
    mpfr_abs(a, a, MPFR_RNDN);
    mpfr_log10(a, a, MPFR_RNDN);
    mpfr_add_si(a, a, e, MPFR_RNDN);
    mpfr_mul(u, a, y, MPFR_RNDN);
    mpfr_floor(k, u);
    mpfr_sub(u, u, k, MPFR_RNDN);
    *e10 = mpfr_get_si(k, MPFR_RNDN);
    mpfr_set_ui(ten, 10, MPFR_RNDN);
    mpfr_pow(v, ten, u, MPFR_RNDN);
    if (odd) mpfr_neg(v, v, MPFR_RNDN);
}

// Shared state of the integer-argument entries, which the guarded protocol
// cannot pass.
i64 g_int = 0;
void pow_int_fn(u64* dst, const u64* x) {
    real_pow_int(dst, x, g_int);
}
void root_int_fn(u64* dst, const u64* x) {
    real_root_int(dst, g_int, x);
}

std::vector<u64> base(TestRng& rng, i64 m, i64 emax) {
    RandomRealOptions opt;
    opt.zero_percent = 0;
    opt.exp_min = -emax;
    opt.exp_max = emax;
    return random_real(rng, m, opt);
}

TEST_F(RealPowTest, IntegerPowersMatchMpfr) {
    RealFnStats stats;
    for (i64 round = 0; round < test_iterations(400); ++round) {
        const i64 m = fn_test_words(rng, round);
        const bool large = rng.chance(20);
        g_int = large ? rng.range(-1000000000, 1000000000) : rng.range(-300, 300);
        const auto x = base(rng, m, large ? 0 : 30);
        const auto ref = [&](mpfr_ptr v, const u64* a, i64 mm, i64* e10) {
            if (g_int == 0) {
                *e10 = 0;
                mpfr_set_ui(v, 1, MPFR_RNDN);
                return;
            }
            Mpfr y(64);
            mpfr_set_si(y, g_int, MPFR_RNDN);
            pow_reference(v, a, y, mm, e10, real_sign(a) && (g_int % 2 != 0));
        };
        if (large && real_exp_of(x.data()) == 0) continue;  // |x| near 1 only, else overflow
        ASSERT_TRUE(check_unary_case(stats, m, x, pow_int_fn, ref)) << "n = " << g_int;
    }
    stats.report("real_pow_int");
    EXPECT_GE(stats.far_share(), 0.999);
}

TEST_F(RealPowTest, RealPowersMatchMpfr) {
    RealFnStats stats;
    for (i64 round = 0; round < test_iterations(250); ++round) {
        const i64 m = fn_test_words(rng, round, 15);
        auto x = base(rng, m, 20);
        x[0] &= ~u64{1};
        RandomRealOptions opt;
        opt.exp_min = -5;
        opt.exp_max = 2;
        opt.zero_percent = 0;
        const auto y = random_real(rng, m, opt);
        const auto ref = [&](mpfr_ptr v, i64* e10) {
            Mpfr yy(fn_ref_bits(m) + 140);
            to_mpfr(yy, y.data(), m);
            pow_reference(v, x.data(), yy, m, e10, false);
        };
        ASSERT_TRUE(check_binary_case(stats, m, x, y, real_pow, ref));
    }
    stats.report("real_pow");
    EXPECT_GE(stats.far_share(), 0.999);
}

TEST_F(RealPowTest, RootsMatchMpfr) {
    RealFnStats stats;
    for (i64 round = 0; round < test_iterations(300); ++round) {
        const i64 m = fn_test_words(rng, round, 15);
        do {
            g_int = rng.range(-40, 40);
        } while (g_int == 0);
        auto x = base(rng, m, 60);
        if (g_int % 2 == 0) x[0] &= ~u64{1};
        const auto ref = [&](mpfr_ptr v, const u64* a, i64 mm, i64* e10) {
            Mpfr y(fn_ref_bits(mm) + 140);
            mpfr_set_si(y, g_int, MPFR_RNDN);
            mpfr_ui_div(y, 1, y, MPFR_RNDN);
            pow_reference(v, a, y, mm, e10, real_sign(a) != 0);
        };
        ASSERT_TRUE(check_unary_case(stats, m, x, root_int_fn, ref)) << "n = " << g_int;
    }
    stats.report("real_root_int");
    EXPECT_GE(stats.far_share(), 0.999);
}

std::vector<u64> value(i64 m, const char* text) {
    if (std::string(text) == "0") return std::vector<u64>(static_cast<std::size_t>(m + 1));
    Mpfr v(fn_ref_bits(m));
    mpfr_set_str(v, text, 10, MPFR_RNDN);
    std::vector<u64> x(static_cast<std::size_t>(m + 1));
    from_mpfr(x.data(), m, v);
    return x;
}

// Runs fn(a, b) at m = 2 through the guarded protocol; the error into *err.
std::vector<u64> binary(void (*fn)(u64*, const u64*, const u64*), const char* a, const char* b,
                        i32* err) {
    mp_set_real_words(2);
    std::vector<u64> out(3);
    mp_error.store(0);
    real_guarded_binary(out.data(), value(2, a).data(), value(2, b).data(), 2, fn);
    *err = mp_err();
    mp_error.store(0);
    return out;
}

TEST_F(RealPowTest, EdgeCasesAndDomain) {
    i32 err = 0;
    g_int = 0;
    EXPECT_EQ(guarded_unary(2, value(2, "0"), pow_int_fn, &err), value(2, "1")) << "0^0 = 1";
    g_int = -1;
    EXPECT_TRUE(real_is_zero(guarded_unary(2, value(2, "0"), pow_int_fn, &err).data()));
    EXPECT_EQ(err, MP_ERR_DOMAIN) << "0^-1";
    g_int = -2;
    EXPECT_EQ(guarded_unary(2, value(2, "2"), pow_int_fn, &err), value(2, "0.25"));
    g_int = 3;
    EXPECT_EQ(guarded_unary(2, value(2, "-8"), root_int_fn, &err), value(2, "-2"));
    EXPECT_EQ(err, 0);
    g_int = 2;
    EXPECT_TRUE(real_is_zero(guarded_unary(2, value(2, "-4"), root_int_fn, &err).data()));
    EXPECT_EQ(err, MP_ERR_DOMAIN) << "even root of a negative value";
    g_int = 5;
    EXPECT_EQ(guarded_unary(2, value(2, "-32"), root_int_fn, &err), value(2, "-2"));
    g_int = 2000000000;  // 10^(2 10^18 * 1.5 digits) leaves the range
    auto huge = value(2, "1");
    real_set_header(huge.data(), 3000000000, 0);
    EXPECT_TRUE(real_is_zero(guarded_unary(2, huge, pow_int_fn, &err).data()));
    EXPECT_EQ(err, MP_ERR_EXP_OVERFLOW);
    g_int = -2000000000;  // its reciprocal underflows: a silent zero, not an overflow
    EXPECT_TRUE(real_is_zero(guarded_unary(2, huge, pow_int_fn, &err).data()));
    EXPECT_EQ(err, 0);

    EXPECT_TRUE(
        real_is_zero(binary(real_pow, "-8", "0.3333333333333333333333333333", &err).data()));
    EXPECT_EQ(err, MP_ERR_DOMAIN) << "non-integer power of a negative base";
    EXPECT_EQ(binary(real_pow, "-2", "3", &err), value(2, "-8"));
    EXPECT_EQ(binary(real_pow, "0", "2.5", &err), value(2, "0"));
    EXPECT_EQ(err, 0);
    binary(real_pow, "0", "-2.5", &err);
    EXPECT_EQ(err, MP_ERR_DOMAIN) << "0 to a negative power";
    EXPECT_EQ(binary(real_pow, "7", "0", &err), value(2, "1"));
    EXPECT_EQ(binary(real_root, "3", "-27", &err), value(2, "-3"));
    EXPECT_EQ(binary(real_root, "0.5", "3", &err), value(2, "9")) << "root of index 1/2 squares";
    EXPECT_EQ(err, 0);
    binary(real_root, "0", "5", &err);
    EXPECT_EQ(err, MP_ERR_DOMAIN) << "root of index 0";
    binary(real_root, "2.5", "-5", &err);
    EXPECT_EQ(err, MP_ERR_DOMAIN) << "non-integer root of a negative value";
}

}  // namespace
