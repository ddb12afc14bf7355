// Sine, cosine and tangent against MPFR: random arguments over the reducible
// range, arguments beside multiples of pi/4 (where the reduction cancels up
// to all digits), tiny ones, and a short table of edge cases.
#include <cmath>
#include <string>

#include "numlib/mp_context.h"
#include "numlib/mp_error.h"
#include "numlib/real_fn.h"
#include "numlib/real_trig_impl.h"
#include "support/mpfr_oracle.h"
#include "support/numlib_fixture.h"
#include "support/trig_check.h"

namespace {

using MpfrUnary = int (*)(mpfr_ptr, mpfr_srcptr, mpfr_rnd_t);

struct TrigFn {
    const char* name;
    RealUnaryFn ours;
    MpfrUnary reference;
};
const TrigFn TRIG_FNS[] = {
    {"sin", real_sin, mpfr_sin}, {"cos", real_cos, mpfr_cos}, {"tan", real_tan, mpfr_tan}};

class RealTrigTest : public NumlibTest {
  protected:
    // k pi/4, rounded to m words, moved by a random relative offset of
    // 10^-1 .. 10^-(19m + 5) (or not at all).
    std::vector<u64> near_octant_boundary(i64 m) {
        u64 k = static_cast<u64>(rng.range(1, 16));
        if (rng.chance(40)) k = rng.word() >> rng.range(4, 63);
        if (k == 0) k = 1;
        Mpfr v(trig_ref_bits(m, 19 * m + 40));
        mpfr_const_pi(v, MPFR_RNDN);
        mpfr_mul_ui(v, v, k, MPFR_RNDN);
        mpfr_div_2ui(v, v, 2, MPFR_RNDN);
        if (rng.chance(70)) {
            Mpfr d(64);
            mpfr_set_ui(d, static_cast<unsigned long>(rng.range(1, 999999)), MPFR_RNDN);
            mpfr_mul(d, d, v, MPFR_RNDN);
            Mpfr p(64);
            mpfr_ui_pow_ui(p, 10, static_cast<unsigned long>(rng.range(7, 19 * m + 10)), MPFR_RNDN);
            mpfr_div(d, d, p, MPFR_RNDN);
            if (rng.chance(50)) mpfr_neg(d, d, MPFR_RNDN);
            mpfr_add(v, v, d, MPFR_RNDN);
        }
        if (rng.chance(50)) mpfr_neg(v, v, MPFR_RNDN);
        return trig_from_mpfr(v, m);
    }

    std::vector<u64> argument(i64 m, int kind) {
        RandomRealOptions opt;
        opt.zero_percent = 0;
        if (kind == 0) return near_octant_boundary(m);
        opt.exp_min = kind == 1 ? -3000 : kind == 2 ? -1 : 19;
        opt.exp_max = kind == 1 ? -1 : kind == 2 ? 18 : 19;
        auto x = random_real(rng, m, opt);
        // the top of the range: 1e19 .. 1.448e19, octant counts near 2^64
        if (kind == 3) x[1] = REAL_TOP + x[1] % (REAL_TOP / 1000 * 448);
        return x;
    }
};

TEST_F(RealTrigTest, AgreesWithMpfrOverTheReducibleRange) {
    for (const TrigFn& fn : TRIG_FNS) {
        TrigAccuracy acc(fn.name);
        for (i64 round = 0; round < test_iterations(150); ++round) {
            const i64 m = trig_test_words(rng, round);
            const int kind = static_cast<int>(round % 4);
            const auto x = argument(m, kind);
            i32 err = 0;
            const auto got = trig_guarded(fn.ours, x, m, &err);
            const std::string inputs = "x = " + real_text(x.data(), m);
            ASSERT_EQ(err, 0) << fn.name << " " << inputs;
            Mpfr xv(trig_ref_bits(m, 19 * m + 40)), ref(trig_ref_bits(m, 0));
            to_mpfr(xv, x.data(), m);
            fn.reference(ref, xv, MPFR_RNDN);
            ASSERT_TRUE(acc.check(got.data(), m, ref, inputs));
        }
        acc.finish();
    }
}

TEST_F(RealTrigTest, ArgumentsWhoseOctantExceedsAU64AreDomainErrors) {
    // 2^64 pi/4 = 1.4488038916...e19: the octant count stops fitting a u64
    for (const TrigFn& fn : TRIG_FNS) {
        for (i64 m : {1, 4}) {
            for (const char* text : {"1.4488e19", "1.5e19", "3e25", "-2e19"}) {
                Mpfr v(200);
                mpfr_set_str(v, text, 10, MPFR_RNDN);
                i32 err = 0;
                const auto got = trig_guarded(fn.ours, trig_from_mpfr(v, m), m, &err);
                const bool fits = std::string(text) == "1.4488e19";
                EXPECT_EQ(err, fits ? 0 : MP_ERR_DOMAIN) << fn.name << "(" << text << ")";
                if (!fits) {
                    EXPECT_TRUE(real_is_zero(got.data()) && real_sign(got.data()) == 0);
                }
            }
        }
    }
}

TEST_F(RealTrigTest, APendingErrorStopsTheWorkAndGivesZero) {
    const i64 m = 527;
    RandomRealOptions opt;
    opt.exp_min = -1;
    opt.exp_max = 5;
    const auto x = random_real(rng, m, opt);
    for (const TrigFn& fn : TRIG_FNS) {
        mp_set_real_words(m);
        mp_raise(MP_ERR_STOPPED);
        std::vector<u64> out(m + 1, 7);
        real_guarded_unary(out.data(), x.data(), 2, fn.ours);
        EXPECT_EQ(mp_err(), MP_ERR_STOPPED) << fn.name;
        EXPECT_TRUE(real_is_zero(out.data()) && real_sign(out.data()) == 0) << fn.name;
        mp_error.store(0);
    }
}

TEST_F(RealTrigTest, EdgeCases) {
    const i64 m = 3;
    auto run = [&](RealUnaryFn fn, const char* text, i32* err) {
        Mpfr v(400);
        mpfr_set_str(v, text, 10, MPFR_RNDN);
        return trig_guarded(fn, trig_from_mpfr(v, m), m, err);
    };
    i32 err = 0;
    auto z = run(real_sin, "0", &err);
    EXPECT_TRUE(real_is_zero(z.data()) && err == 0);  // sin 0 = 0
    std::vector<u64> neg_zero(static_cast<std::size_t>(m + 1));
    real_set_header(neg_zero.data(), 0, 1);
    z = trig_guarded(real_sin, neg_zero, m, &err);
    EXPECT_TRUE(real_is_zero(z.data()) && real_sign(z.data()) == 1);  // sin -0 keeps the sign
    z = trig_guarded(real_tan, neg_zero, m, &err);
    EXPECT_TRUE(real_is_zero(z.data()) && real_sign(z.data()) == 1);
    z = run(real_cos, "0", &err);
    EXPECT_EQ(real_cmp_i64(z.data(), 1), 0);  // cos 0 = 1 exactly
    EXPECT_EQ(err, 0);
    // pi itself (rounded to 57 digits): sin and tan are the rounding error of
    // pi, about 1e-57, and must come out with all digits
    Mpfr pi(trig_ref_bits(m, 200)), ref(trig_ref_bits(m, 0));
    mpfr_const_pi(pi, MPFR_RNDN);
    const auto x = trig_from_mpfr(pi, m);
    to_mpfr(pi, x.data(), m);
    mpfr_sin(ref, pi, MPFR_RNDN);
    z = trig_guarded(real_sin, x, m, &err);
    EXPECT_TRUE(real_near(z.data(), m, ref, 1.0));
    mpfr_cos(ref, pi, MPFR_RNDN);
    z = trig_guarded(real_cos, x, m, &err);
    EXPECT_TRUE(real_near(z.data(), m, ref, 1.0));  // -1 from below
}

TEST_F(RealTrigTest, LongPiTableIsPiOverFour) {
    Mpfr pi(oracle_bits(19 * REAL_PI4_LONG_WORDS + 20));
    mpfr_const_pi(pi, MPFR_RNDN);
    mpfr_div_2ui(pi, pi, 2, MPFR_RNDN);
    const i64 digits = 19 * REAL_PI4_LONG_WORDS;
    mpfr_exp_t e = 0;
    char* s = mpfr_get_str(nullptr, &e, 10, static_cast<std::size_t>(digits), pi, MPFR_RNDZ);
    ASSERT_EQ(e, 0);
    std::string table;
    for (u64 w : REAL_PI4_LONG) {
        std::string t = std::to_string(w);
        table += std::string(19 - t.size(), '0') + t;
    }
    EXPECT_EQ(table, std::string(s));
    mpfr_free_str(s);
}

}  // namespace
