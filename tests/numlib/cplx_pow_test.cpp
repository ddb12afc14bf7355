// Complex integer powers, k-th roots and moduli against MPC and MPFR at
// higher precision (accuracy rule in support/mpc_oracle.h), called directly
// and inside a guarded call, and the real path.
#include <cmath>
#include <string>
#include <vector>

#include "numlib/cplx.h"
#include "numlib/mp_error.h"
#include "numlib/real.h"
#include "numlib/real_fn.h"
#include "support/mpc_oracle.h"
#include "support/numlib_fixture.h"

namespace {

using Cplx = std::vector<u64>;
using CplxPowTest = NumlibTest;

Cplx cplx_new(i64 m) {
    return Cplx(static_cast<std::size_t>(2 * m + 2));
}

Cplx cplx_int(i64 re, i64 im) {
    Cplx z = cplx_new(mp_real_words);
    real_from_i64(z.data(), re);
    real_from_i64(cplx_im_of(z.data(), mp_real_words), im);
    return z;
}

i64 test_words(TestRng& rng, i64 round) {
    static const i64 fixed[] = {1, 2, 3, 27, 53};
    return round < 5 ? fixed[round] : rng.range(1, 12);
}

// The integer parameters of a guarded call (a function pointer cannot carry
// them).
i64 g_n = 0, g_k = 0;
void pow_fn(u64* dst, const u64* a) {
    cplx_pow_int(dst, a, g_k);
}
void root_fn(u64* dst, const u64* a) {
    cplx_root_k(dst, g_n, a, g_k);
}

// fn(a) at m words, directly or guarded, with no error.
::testing::AssertionResult run_checked(CplxStats& stats, CplxUnaryFn fn, const Cplx& a, i64 m,
                                       bool guarded, mpc_srcptr want) {
    mp_set_real_words(static_cast<i32>(m));
    Cplx r = cplx_new(m);
    mp_error.store(0);
    if (guarded) {
        cplx_guarded_unary(r.data(), a.data(), 2, fn);
    } else {
        fn(r.data(), a.data());
    }
    const i32 err = mp_err();
    mp_error.store(0);
    if (err != 0) return ::testing::AssertionFailure() << "error " << err;
    return check_cplx_result(stats, r.data(), m, want);
}

// The k-th n-th root: modulus |a|^(1/n), angle (arg a + 2 pi k)/|n|, negated
// for n < 0.
void root_reference(mpc_ptr out, mpc_srcptr a, i64 n, i64 k) {
    const mpfr_prec_t bits = mpfr_get_prec(mpc_realref(out)) + 128;
    Mpfr r(bits), phi(bits), pi(bits), c(bits), s(bits);
    mpc_abs(r, a, MPFR_RNDN);
    mpfr_log(r, r, MPFR_RNDN);
    mpfr_div_si(r, r, static_cast<long>(n), MPFR_RNDN);
    mpfr_exp(r, r, MPFR_RNDN);
    mpc_arg(phi, a, MPFR_RNDN);
    mpfr_const_pi(pi, MPFR_RNDN);
    mpfr_mul_si(pi, pi, 2, MPFR_RNDN);
    mpfr_mul_si(pi, pi, static_cast<long>(k), MPFR_RNDN);
    mpfr_add(phi, phi, pi, MPFR_RNDN);
    mpfr_div_si(phi, phi, static_cast<long>(n < 0 ? -n : n), MPFR_RNDN);
    if (n < 0) mpfr_neg(phi, phi, MPFR_RNDN);
    mpfr_sin_cos(s, c, phi, MPFR_RNDN);
    mpfr_mul(mpc_realref(out), r, c, MPFR_RNDN);
    mpfr_mul(mpc_imagref(out), r, s, MPFR_RNDN);
}

// Integer powers of random values, with small exponents of either sign and
// large ones on values near the unit circle; roots for random n and k,
// including degrees up to 2^61.
TEST_F(CplxPowTest, PowersAndRootsMatchMpc) {
    CplxStats pow_stats, root_stats;
    RandomCplxOptions opt;
    opt.exp_min = -3;
    opt.exp_max = 3;
    opt.zero_percent = 0;
    const i64 rounds = test_iterations(30);
    for (i64 round = 0; round < rounds + 1; ++round) {
        const i64 m = round < rounds ? test_words(rng, round) : 527;
        const i64 cases = m == 527 ? 1 : 6;
        mp_set_real_words(static_cast<i32>(m));
        for (i64 c = 0; c < cases; ++c) {
            Cplx a = random_cplx(rng, m, opt);
            Mpc va(cplx_ref_bits(m)), want(cplx_ref_bits(m));
            to_mpc(va, a.data(), m);
            // Powers: |k| up to 40, or up to 2^62 of a value of modulus near 1.
            g_k = rng.range(-40, 40);
            if (rng.chance(25)) {
                g_k = rng.range(-(i64{1} << 62), i64{1} << 62);
                // On the unit circle: (3 + 4i) / 5 = 0.6 + 0.8i.
                a = cplx_int(6, 8);
                real_add_exp(a.data(), -1);
                real_add_exp(a.data() + m + 1, -1);
                to_mpc(va, a.data(), m);
            }
            mpc_pow_si(want, va, static_cast<long>(g_k), MPC_RNDNN);
            for (bool guarded : {false, true}) {
                EXPECT_TRUE(run_checked(pow_stats, pow_fn, a, m, guarded, want))
                    << "pow k=" << g_k << (guarded ? " guarded" : "") << " m=" << m
                    << " a=" << cplx_text(a.data(), m);
            }
            // Roots.
            const i64 big = rng.chance(20) ? i64{1} << rng.range(20, 61) : 0;
            g_n = big ? big : rng.range(2, 12);
            if (rng.chance(30)) g_n = -g_n;
            g_k = rng.range(0, (g_n < 0 ? -g_n : g_n) - 1);
            root_reference(want, va, g_n, g_k);
            for (bool guarded : {false, true}) {
                EXPECT_TRUE(run_checked(root_stats, root_fn, a, m, guarded, want))
                    << "root n=" << g_n << " k=" << g_k << (guarded ? " guarded" : "") << " m=" << m
                    << " a=" << cplx_text(a.data(), m);
            }
            if (HasFailure()) return;
        }
    }
    pow_stats.report("cplx_pow_int");
    root_stats.report("cplx_root_k");
}

// Moduli of random values against MPC.
TEST_F(CplxPowTest, ModulusMatchesMpc) {
    CplxStats stats;
    for (i64 round = 0; round < test_iterations(40); ++round) {
        const i64 m = round == 39 ? 527 : test_words(rng, round % 10);
        const Cplx a = random_cplx(rng, m);
        Mpc va(cplx_ref_bits(m)), want(cplx_ref_bits(m));
        to_mpc(va, a.data(), m);
        mpc_abs(want.re(), va, MPFR_RNDN);
        mpfr_set_zero(want.im(), 1);
        EXPECT_TRUE(run_checked(stats, cplx_abs, a, m, false, want))
            << "m=" << m << " a=" << cplx_text(a.data(), m);
        if (HasFailure()) return;
    }
    stats.report("cplx_abs");
}

// Real values take the real path: the guarded real power, the real root.
TEST_F(CplxPowTest, RealValuesGiveRealResults) {
    RandomRealOptions opt;
    opt.zero_percent = 0;
    opt.negative = false;
    for (i64 iter = 0; iter < test_iterations(30); ++iter) {
        const i64 m = test_words(rng, iter % 8);
        mp_set_real_words(static_cast<i32>(m));
        Cplx a = cplx_new(m), r = cplx_new(m);
        random_real(rng, a.data(), m, opt);
        const i64 k = rng.range(-30, 30);
        std::vector<u64> want(static_cast<std::size_t>(m + 1));
        cplx_pow_int(r.data(), a.data(), k);
        g_k = k;
        real_guarded_unary(want.data(), a.data(), 2,
                           [](u64* d, const u64* x) { real_pow_int(d, x, g_k); });
        EXPECT_TRUE(std::equal(want.begin(), want.end(), r.begin())) << "k=" << k;
        EXPECT_TRUE(real_is_zero(r.data() + m + 1));
        cplx_root_k(r.data(), 2, a.data(), 0);
        real_guarded_unary(want.data(), a.data(), 3, real_sqrt);
        EXPECT_TRUE(std::equal(want.begin(), want.end(), r.begin()));
        EXPECT_TRUE(real_is_zero(r.data() + m + 1));
        EXPECT_EQ(mp_err(), 0);
        if (HasFailure()) return;
    }
}

}  // namespace
