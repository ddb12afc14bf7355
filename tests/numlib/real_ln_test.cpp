// Logarithms against MPFR: beside 1, moderate, and with exponents anywhere
// in the range (far beyond MPFR's direct reach), with hard cases.
#include <mpfr.h>

#include <cstdlib>
#include <vector>

#include "numlib/mp_error.h"
#include "numlib/real.h"
#include "numlib/real_const.h"
#include "numlib/real_fn.h"
#include "numlib/real_fn_impl.h"
#include "support/numlib_fixture.h"
#include "support/real_fn_check.h"

namespace {

using RealLnTest = NumlibTest;

// Bits that absorb the cancellation of a logarithm beside 1.
mpfr_prec_t ln_bits(i64 m) {
    return oracle_bits(2 * 19 * m + 80);
}

// ln x for x = mant 10^e: for a small e the argument taken whole, so that
// arguments beside 1 keep their relative accuracy.
void log_of(mpfr_ptr v, const u64* x, i64 m) {
    Mpfr a(ln_bits(m)), t(ln_bits(m));
    if (std::abs(real_exp_of(x)) <= 3 || real_is_zero(x)) {
        to_mpfr(a, x, m);
        mpfr_log(v, a, MPFR_RNDN);
        return;
    }
    const i64 e = to_mpfr_scaled(a, x, m);
    mpfr_log(a, a, MPFR_RNDN);
    mpfr_set_ui(t, 10, MPFR_RNDN);
    mpfr_log(t, t, MPFR_RNDN);
    mpfr_mul_si(t, t, e, MPFR_RNDN);
    mpfr_add(v, a, t, MPFR_RNDN);
}

// ln x divided by ln base (base 0: e).
RealFnReference log_reference(unsigned long base) {
    return [base](mpfr_ptr v, const u64* x, i64 m, i64* e10) {
        *e10 = 0;
        Mpfr l(ln_bits(m)), b(ln_bits(m));
        log_of(l, x, m);
        if (base != 0) {
            mpfr_set_ui(b, base, MPFR_RNDN);
            mpfr_log(b, b, MPFR_RNDN);
            mpfr_div(l, l, b, MPFR_RNDN);
        }
        mpfr_set(v, l, MPFR_RNDN);
    };
}

const RealSampler kBesideOne =
    sample_beside([](mpfr_ptr v, TestRng&) { mpfr_set_ui(v, 1, MPFR_RNDN); }, 0);
// Beside 1 (the hard case), moderate, anywhere in the range, and a few
// outside the domain (zero and negative values).
const RealSampler kPositive = sample_one_of(
    {kBesideOne, kBesideOne, sample_real(-3, 3, false, 0), sample_real(-3, 3, false, 0),
     sample_real(REAL_EXP_MIN, REAL_EXP_MAX, false, 0, 20), sample_real(-3, 3, true, 5)});

TEST_F(RealLnTest, LogarithmsMatchMpfr) {
    check_fn(rng, {"real_ln", real_ln, log_reference(0), kPositive, 250});
    check_fn(rng, {"real_log10", real_log10, log_reference(10), kPositive, 200});
    check_fn(rng, {"real_log2", real_log2, log_reference(2), kPositive, 200});
}

TEST_F(RealLnTest, Ln1pMatchesMpfr) {
    // tiny to large; below -1 outside the domain
    check_fn(rng, {"real_ln1p", real_ln1p, mpfr_reference(mpfr_log1p, true),
                   sample_one_of({sample_real(-40, -1), sample_real(-1, 5)}), 250});
}

TEST_F(RealLnTest, LogxMatchesMpfr) {
    const RealFnReference2 ref = [](mpfr_ptr v, const u64* b, const u64* x, i64 m, i64* e10) {
        *e10 = 0;
        Mpfr lb(ln_bits(m)), lx(ln_bits(m));
        log_of(lb, b, m);
        log_of(lx, x, m);
        mpfr_div(v, lx, lb, MPFR_RNDN);
        if (mpfr_zero_p(lb) || real_is_zero(b)) mpfr_set_nan(v);  // base 1 or 0
    };
    check_fn(rng, {"real_logx", real_logx, ref, kPositive, kPositive, 120, 12});
}

// ln 10 and ln 2 beyond the table, which the largest precisions subtract
// up to 10^19 times over: the two words beyond the table must be right to
// far below a unit of the table's last word (1,000 units of the last).
TEST_F(RealLnTest, LongLogarithmConstantsMatchMpfr) {
    constexpr i64 w = REAL_FN_LONG_WORDS;
    std::vector<u64> x(w + 1);
    for (const i32 idx : {REAL_CONST_LN10, REAL_CONST_LN2}) {
        {
            RealPrecision prec(w, 0);
            real_ln_const(x.data(), idx);
        }
        Mpfr v(oracle_bits(19 * w + 40));
        mpfr_set_ui(v, idx == REAL_CONST_LN2 ? 2 : 10, MPFR_RNDN);
        mpfr_log(v, v, MPFR_RNDN);
        EXPECT_TRUE(real_near(x.data(), w, v, 1000.0)) << idx;
    }
}

}  // namespace
