// The elementary functions against MPFR: one row of the harness table per
// function and argument range (support/real_fn_check.h), the pinned
// arguments of tests/golden/real_functions.txt, and the long tables.
#include "numlib/real_fn.h"

#include <gmp.h>
#include <mpfr.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <tuple>
#include <vector>

#include "numlib/mp_error.h"
#include "numlib/real_factorial_impl.h"
#include "numlib/real_fn_impl.h"
#include "numlib/real_trig_impl.h"
#include "support/golden_runner.h"
#include "support/numlib_fixture.h"
#include "support/real_fn_check.h"

namespace {

void one(mpfr_ptr v, TestRng&) {
    mpfr_set_ui(v, 1, MPFR_RNDN);
}

// ---- exponentials and logarithms ------------------------------------------------

// base^x = 10^(x log10 base) (base 0: e), for any x; the argument keeps the
// digits its integer part takes on top of the result's.
RealRef exp_reference(unsigned long base) {
    return [base](mpfr_ptr v, const RealCase& c, i64* e10) {
        const i64 e = real_is_zero(c.a.data()) ? 0 : std::max<i64>(real_exp_of(c.a.data()), 0);
        Mpfr u(ref_bits(c.m) + 80 + 4 * std::min<i64>(e, 25)), s(u.bits());
        // far beyond the range (10^(10^25) at least): only the side counts
        if (e > 25)
            mpfr_set_d(u, real_sign(c.a.data()) ? -1e30 : 1e30, MPFR_RNDN);
        else
            to_mpfr(u, c.a.data(), c.m);
        mpfr_set_ui(s, base == 0 ? 1 : base, MPFR_RNDN);
        if (base == 0) mpfr_exp(s, s, MPFR_RNDN);
        mpfr_log10(s, s, MPFR_RNDN);
        mpfr_mul(u, u, s, MPFR_RNDN);
        set_pow10(v, e10, u);
    };
}

// Tiny, moderate, large, and huge arguments (results beyond the range); at
// the largest precision an argument near 10^18, which cancels 18 digits of
// k ln 10 in the reduction, more than the guard digits cover.
void exp_argument(TestRng& rng, RealCase& c) {
    static const RealSampler kArgument =
        sample_one_of({sample_real(-60, -2), sample_real(-1, 2), sample_real(-1, 2),
                       sample_real(-1, 2), sample_real(3, 17), sample_real(18, 40, true, 0)});
    c.a = c.m == 527 ? sample_real(17, 18, true, 0)(rng, c.m) : kArgument(rng, c.m);
}

// Bits that absorb the cancellation of a logarithm beside 1.
mpfr_prec_t ln_bits(i64 m) {
    return oracle_bits(2 * 19 * m + 80);
}

// ln x for x = mant 10^e: for a small e the argument taken whole, so that
// arguments beside 1 keep their relative accuracy.
void log_of(mpfr_ptr v, const Real& x, i64 m) {
    Mpfr a(ln_bits(m)), t(ln_bits(m));
    if (std::abs(real_exp_of(x.data())) <= 3 || real_is_zero(x.data())) {
        to_mpfr(a, x.data(), m);
        mpfr_log(v, a, MPFR_RNDN);
        return;
    }
    const i64 e = to_mpfr_scaled(a, x.data(), m);
    mpfr_log(a, a, MPFR_RNDN);
    mpfr_log_ui(t, 10, MPFR_RNDN);
    mpfr_mul_si(t, t, e, MPFR_RNDN);
    mpfr_add(v, a, t, MPFR_RNDN);
}

// ln x divided by ln base (base 0: e).
RealRef log_reference(unsigned long base) {
    return [base](mpfr_ptr v, const RealCase& c, i64*) {
        Mpfr l(ln_bits(c.m)), b(ln_bits(c.m));
        log_of(l, c.a, c.m);
        if (base != 0) {
            mpfr_log_ui(b, base, MPFR_RNDN);
            mpfr_div(l, l, b, MPFR_RNDN);
        }
        mpfr_set(v, l, MPFR_RNDN);
    };
}

// log_b x; NaN for the base 1 or 0.
void logx_reference(mpfr_ptr v, const RealCase& c, i64*) {
    Mpfr lb(ln_bits(c.m)), lx(ln_bits(c.m));
    log_of(lb, c.a, c.m);
    log_of(lx, c.b, c.m);
    mpfr_div(v, lx, lb, MPFR_RNDN);
    if (mpfr_zero_p(lb) || real_is_zero(c.a.data())) mpfr_set_nan(v);
}

// ---- trigonometric functions ------------------------------------------------------

// k pi/4 for a small k, one up to 2^60, or a word times 10^(1 .. 60):
// beside the last, with fewer integer digits than the precision has, the
// fraction cancels up to those digits.
void octant_point(mpfr_ptr v, TestRng& rng) {
    Mpfr k(mpfr_get_prec(v));
    mpfr_set_ui(k, static_cast<unsigned long>(rng.range(1, 16)), MPFR_RNDN);
    if (rng.chance(30)) mpfr_set_ui(k, (rng.word() >> rng.range(4, 63)) | 1, MPFR_RNDN);
    if (rng.chance(30)) {
        mpfr_ui_pow_ui(k, 10, static_cast<unsigned long>(rng.range(1, 60)), MPFR_RNDN);
        mpfr_mul_ui(k, k, rng.word() | 1, MPFR_RNDN);
    }
    mpfr_const_pi(v, MPFR_RNDN);
    mpfr_mul(v, v, k, MPFR_RNDN);
    mpfr_div_2ui(v, v, 2, MPFR_RNDN);
}

// Arguments up to 1.4488e19 (octant counts near 2^64).
Real top_of_range(TestRng& rng, i64 m) {
    Real x = sample_real(19, 19, true, 0)(rng, m);
    x[1] = REAL_TOP + x[1] % (REAL_TOP / 1000 * 448);
    return x;
}

// Beyond word-sized octant counts up to the table's limit; one case in ten
// an integer of m words nearest to a multiple of pi/2 (a convergent of the
// continued fraction of 10^s 2/pi), whose fraction cancels about 19m digits.
void far_trig_argument(TestRng& rng, RealCase& c) {
    static const RealSampler kFar =
        sample_one_of({sample_real(19, 60), sample_real(19, REAL_TRIG_EXP_LIMIT - 1),
                       sample_signed(sample_beside(octant_point, 0))});
    static const std::pair<i64, const char*> kClosest[] = {
        {3, "5.55062716935687362313191648103117386932524696851314055078e96"},
        {4, "4.129368998934059543849530701008954017909802156521498782855944643222087613703e2075"},
        {6,
         "1.73092117957057233170032750217245134014474674763769229303521920284417383284919173"
         "260392929169767776267888509657687e99113"}};
    if (rng.chance(90)) return static_cast<void>(c.a = kFar(rng, c.m));
    const auto& [m, text] = kClosest[rng.range(0, 2)];
    c.m = m;
    c.a = real_of_text(m, text);
}

// f at the exact argument, however many integer digits it has, with twice
// the digits for the functions whose condition number reaches 10^(19m)
// (beside 1 or beside multiples of pi/4).
RealRef exact_reference(MpfrUnaryFn f) {
    return [f](mpfr_ptr v, const RealCase& c, i64*) {
        Mpfr a(oracle_bits(std::max(2 * 19 * c.m + 80, real_exp_of(c.a.data()) + 19 * c.m + 2)));
        to_mpfr(a, c.a.data(), c.m);
        f(v, a, MPFR_RNDN);
    };
}

// x * pi / (to_rad ? k : 1 / k): degrees (k = 180) and grads (200).
template <unsigned long k, bool to_rad>
int mpfr_angle(mpfr_ptr r, mpfr_srcptr x, mpfr_rnd_t rnd) {
    mpfr_const_pi(r, rnd);
    if (!to_rad) mpfr_ui_div(r, k * k, r, rnd);
    mpfr_mul(r, r, x, rnd);
    return mpfr_div_ui(r, r, k, rnd);
}

// atan2 with 0 at the origin (MPFR's +-pi for atan2(+-0, -0) follows a
// signed-zero convention we do not).
void atan2_reference(mpfr_ptr v, const RealCase& c, i64* e10) {
    mpfr_reference(mpfr_atan2)(v, c, e10);
    if (real_is_zero(c.a.data()) && real_is_zero(c.b.data())) mpfr_set_zero(v, 1);
}

// Up to and beyond the precision, where y + sqrt(y^2 +- 1) becomes 2y: the
// switch must come late enough that the neglected 1 / (4 y^2) stays below the
// last digit.
Real beyond_precision(TestRng& rng, i64 m) {
    return sample_real(5 * (m + 1), 19 * (m + 1) + 300, false)(rng, m);
}

// ---- powers and roots -----------------------------------------------------------

// An exact power (square or negated cube) of a short value: its root must
// come out exact.
RealSampler exact_power(int k) {
    return [k](TestRng& rng, i64 m) {
        Mpfr v(128);
        mpfr_set_ui(v, static_cast<unsigned long>(rng.range(1, 999999)), MPFR_RNDN);
        mpfr_pow_ui(v, v, static_cast<unsigned long>(k), MPFR_RNDN);
        if (k == 3) mpfr_neg(v, v, MPFR_RNDN);
        Real x(static_cast<std::size_t>(m + 1));
        from_mpfr(x.data(), m, v, k * rng.range(-60, 60));
        return x;
    };
}

// |x|^y = 10^(y log10 |x|) for x = mant 10^e != 0, as v 10^e10 with 1 <= v < 10.
void pow_abs(mpfr_ptr v, const RealCase& c, mpfr_srcptr y, i64* e10) {
    Mpfr a(ref_bits(c.m) + 140);
    const i64 e = to_mpfr_scaled(a, c.a.data(), c.m);
    mpfr_abs(a, a, MPFR_RNDN);
    mpfr_log10(a, a, MPFR_RNDN);
    mpfr_add_si(a, a, e, MPFR_RNDN);
    mpfr_mul(a, a, y, MPFR_RNDN);
    set_pow10(v, e10, a);
}

bool odd_integer(mpfr_srcptr y) {
    Mpfr half(mpfr_get_prec(y));
    mpfr_div_2ui(half, y, 1, MPFR_RNDN);
    return mpfr_integer_p(y) && !mpfr_integer_p(half);
}

// An exponent or a root's index: the operand y, or the integer n without it.
void operand_or_n(mpfr_ptr out, const Real& y, const RealCase& c) {
    if (y.empty()) return static_cast<void>(mpfr_set_si(out, c.n, MPFR_RNDN));
    to_mpfr(out, y.data(), c.m);
}

// x^y with 0^0 = 1; NaN outside the domain (0 to a negative power, a
// negative base to a non-integral one).
void power_reference(mpfr_ptr v, const RealCase& c, i64* e10) {
    Mpfr y(ref_bits(c.m) + 140);
    operand_or_n(y, c.b, c);
    const u64* x = c.a.data();
    if (mpfr_zero_p(y)) return static_cast<void>(mpfr_set_ui(v, 1, MPFR_RNDN));
    if (real_is_zero(x)) return mpfr_sgn(y.get()) > 0 ? mpfr_set_zero(v, 1) : mpfr_set_nan(v);
    if (real_sign(x) && !mpfr_integer_p(y)) return mpfr_set_nan(v);
    pow_abs(v, c, y, e10);
    if (real_sign(x) && odd_integer(y)) mpfr_neg(v, v, MPFR_RNDN);
}

// The n-th root of x (real_root(n, x): n in a, x in b; real_root_int: x in
// a, n in c.n); a negative x only for odd integers n.
void nth_root_reference(mpfr_ptr v, const RealCase& c, i64* e10) {
    const bool whole = c.b.empty();
    const RealCase x{.m = c.m, .a = whole ? c.a : c.b};
    Mpfr n(ref_bits(c.m) + 140);
    operand_or_n(n, whole ? c.b : c.a, c);
    const u64* xa = x.a.data();
    if (mpfr_zero_p(n) || (real_sign(xa) && !real_is_zero(xa) && !odd_integer(n)))
        return mpfr_set_nan(v);
    if (real_is_zero(xa)) return mpfr_sgn(n.get()) > 0 ? mpfr_set_zero(v, 1) : mpfr_set_nan(v);
    mpfr_ui_div(n, 1, n, MPFR_RNDN);
    pow_abs(v, x, n, e10);
    if (real_sign(xa)) mpfr_neg(v, v, MPFR_RNDN);
}

void root_int(u64* dst, const u64* x, i64 n) {
    real_root_int(dst, n, x);
}

// x and a machine integer, in [-small, small] small_percent of the time,
// else up to the bound.
RealSample with_int(RealSampler x, i64 small, i64 bound, int small_percent = 80) {
    return [=](TestRng& rng, RealCase& c) {
        c.a = x(rng, c.m);
        c.n = rng.chance(small_percent) ? rng.range(-small, small) : rng.range(-bound, bound);
    };
}

// ---- factorial -------------------------------------------------------------------

// First n that takes the series at w working words.
i64 switch_over(i64 w) {
    static constexpr i64 kSmall[10] = {131, 367, 605, 892, 1260, 1629, 2058, 2738, 3524, 4111};
    return w <= 10 ? kSmall[w - 1] : (20 * w + 448) * w - 2334;
}

// Direct products, the switch-over point at the body's m + 1 words, series
// arguments of growing size, and the largest argument within the range; the
// series (its coefficient table grows with the precision) only up to 120
// words.
void factorial_argument(TestRng& rng, RealCase& c) {
    const i64 sw = switch_over(c.m + 1);
    const i64 pick[] = {
        rng.range(0, c.m >= 120 ? 20000 : sw - 1), sw - 1 + rng.range(0, 1),
        sw + rng.range(0, 3 * sw),
        static_cast<i64>(std::pow(10.0, static_cast<double>(rng.range(60, 150)) / 10.0)) + sw,
        250000000000000000LL};
    c.a.resize(static_cast<std::size_t>(c.m + 1));
    real_from_i64(c.a.data(), c.m >= 120 ? pick[0] : pick[rng.range(0, c.m == 2 ? 4 : 3)]);
}

// ---- permutations, combinations, gcd --------------------------------------------

void perm_comb_body(u64* dst, const u64* n, const u64* k, i64 limit, int perm) {
    real_perm_comb(dst, n, k, limit, perm != 0);
}

// P(n, k) or C(n, k) by the guarded call the application uses, with the
// limit c.n.
RealRun perm_comb_run(bool perm) {
    return [perm](const RealCase& c, int) {
        return outcome_of(c.m, [&](u64* d) {
            real_guarded_binary_int(d, c.a.data(), c.b.data(), c.n, perm, perm_comb_body);
        });
    };
}

// n and k: small, with factors beyond a machine word, or long counts (n
// from 10^4 to 10^40, k up to n) that go through ln x!.
template <bool perm>
void perm_comb_operands(TestRng& rng, RealCase& c) {
    Mpz n, k;
    const bool wide = c.m >= 2 && rng.chance(20);
    if (rng.chance(30)) {
        mpz_ui_pow_ui(n, 10, static_cast<unsigned long>(rng.range(4, rng.chance(50) ? 18 : 40)));
        mpz_mul_ui(n, n, static_cast<unsigned long>(rng.range(1, 999)));
        mpz_fdiv_q_ui(k, n, static_cast<unsigned long>(rng.range(1, 1000)));
        if (rng.chance(20)) mpz_set(k, n);
    } else {
        mpz_ui_pow_ui(n, 10, static_cast<unsigned long>(wide ? rng.range(19, 37) : 0));
        mpz_add_ui(n, n, static_cast<unsigned long>(rng.range(0, wide ? 1000 : 100000)));
        mpz_set_ui(k, static_cast<unsigned long>(rng.range(0, perm || wide ? 30 : 300)));
    }
    c.a = real_of_mpz(n, c.m);
    c.b = real_of_mpz(k, c.m);
}

// 10^((lngamma(n + 1) - lngamma(s + 1) [- lngamma(k + 1)]) / ln 10), s = n - k.
template <bool perm>
void perm_comb_reference(mpfr_ptr v, const RealCase& c, i64* e10) {
    Mpz n, k, s;
    integer_of(n, c.a, c.m);
    integer_of(k, c.b, c.m);
    if (mpz_cmp(k, n) > 0) return static_cast<void>(mpfr_set_zero(v, 1));
    mpz_sub(s, n, k);
    const mpfr_prec_t bits = ref_bits(c.m) + 200;
    Mpfr l(bits), t(bits), x(bits);
    auto lngamma_plus_one = [&](mpfr_ptr out, mpz_srcptr z) {
        mpfr_set_z(x, z, MPFR_RNDN);
        mpfr_add_ui(x, x, 1, MPFR_RNDN);
        mpfr_lngamma(out, x, MPFR_RNDN);
    };
    lngamma_plus_one(l, n);
    lngamma_plus_one(t, s);
    mpfr_sub(l, l, t, MPFR_RNDN);
    if (!perm) lngamma_plus_one(t, k), mpfr_sub(l, l, t, MPFR_RNDN);
    mpfr_log_ui(t, 10, MPFR_RNDN);
    mpfr_div(l, l, t, MPFR_RNDN);
    set_pow10(v, e10, l);
}

// n!: exact for small n, else P(n, n) from log Gamma.
void factorial_reference(mpfr_ptr v, const RealCase& c, i64* e10) {
    i64 n = 0;
    real_to_i64(&n, c.a.data(), 0);
    if (n >= 100000) return perm_comb_reference<true>(v, {.m = c.m, .a = c.a, .b = c.a}, e10);
    mpfr_fac_ui(v, static_cast<unsigned long>(n), MPFR_RNDN);
}

// a = g x, b = g y with digits to fill the precision; one case in ten an
// operand that is zero, negative or a fraction.
void gcd_operands(TestRng& rng, RealCase& c) {
    Mpz g, a, b;
    gmp_randstate_t st;
    gmp_randinit_default(st);
    gmp_randseed_ui(st, static_cast<unsigned long>(rng.word()));
    const auto bits = static_cast<i64>(19 * static_cast<double>(c.m) * 3.2);
    mpz_urandomb(g, st, static_cast<mp_bitcnt_t>(rng.range(1, bits / 2)));
    const auto rest = bits - static_cast<i64>(mpz_sizeinbase(g, 2));
    mpz_urandomb(a, st, static_cast<mp_bitcnt_t>(rest));
    mpz_urandomb(b, st, static_cast<mp_bitcnt_t>(rng.range(1, rest)));
    gmp_randclear(st);
    for (Mpz* z : {&g, &a, &b}) mpz_add_ui(*z, *z, 1);
    mpz_mul(a, a, g);
    mpz_mul(b, b, g);
    c.a = real_of_mpz(a, c.m);
    c.b = real_of_mpz(b, c.m);
    Real& bad = rng.chance(50) ? c.a : c.b;
    if (rng.chance(4)) real_zero(bad.data(), 0);
    if (rng.chance(4)) real_negate(bad.data());
    if (rng.chance(4)) real_from_i64(bad.data(), 5), real_add_exp(bad.data(), -1);
}

// gcd(a, b); NaN unless both are positive integers.
void gcd_reference(mpfr_ptr v, const RealCase& c, i64* e10) {
    Mpz a, b;
    for (const Real* x : {&c.a, &c.b})
        if (real_is_zero(x->data()) || real_sign(x->data()) || !real_is_integer(x->data()))
            return static_cast<void>(mpfr_set_nan(v));
    integer_of(a, c.a, c.m);
    integer_of(b, c.b, c.m);
    mpz_gcd(a, a, b);
    set_exact(v, e10, a, 0, 0);
}

RealOutcome gcd_run(const RealCase& c, int) {
    return outcome_of(c.m, [&](u64* d) { real_gcd(d, c.a.data(), c.b.data(), 0); });
}

// ---- the table ---------------------------------------------------------------------

std::vector<RealOp> fn_table() {
    using R = RealSampler;
    using Sample = RealSample;
    // guarded calls: up to 527 words; a pending error stops them (see below)
    auto fn_op = [](const char* name, RealRun run, RealRef ref, Sample s, i64 rounds, i64 small_max,
                    RealRule rule = RealRule::Faithful, int aliases = 1) {
        RealOp op =
            real_op(name, rule, std::move(s), std::move(run), std::move(ref), rounds, aliases);
        op.small_max = small_max;
        op.max_m = 527;
        op.keeps_pending = false;
        return op;
    };
    auto unary = [=](const char* name, RealUnaryFn fn, RealRef ref, Sample s, i64 rounds,
                     i64 small_max = 60, i32 g = 2) {
        return fn_op(name, guarded(fn, g), std::move(ref), std::move(s), rounds, small_max);
    };
    auto binary = [=](const char* name, RealBinaryFn fn, RealRef ref, R a, R b, i64 rounds,
                      i64 small_max) {
        return fn_op(name, guarded(fn), std::move(ref), operands(a, b), rounds, small_max,
                     RealRule::Faithful, 2);
    };
    // the k-th root of x, with k in c.n
    auto root_of = [](int k, R x) {
        return [k, x](TestRng& rng, RealCase& c) {
            c.a = x(rng, c.m);
            c.n = k;
        };
    };
    const R beside_one = sample_signed(sample_beside(one, 0));
    // logarithms: beside 1 (the hard case), moderate, anywhere in the range,
    // and a few outside the domain (zero and negative values)
    const R positive = sample_one_of({sample_beside(one, 0), sample_beside(one, 0),
                                      sample_real(-3, 3, false, 0), sample_real(-3, 3, false, 0),
                                      sample_real(REAL_EXP_MIN, REAL_EXP_MAX, false, 0, 20),
                                      sample_real(-3, 3, true, 5)});
    // trigonometric functions: beside multiples of pi/4, where the reduction
    // cancels up to all digits, tiny, and octant counts up to 2^64
    const Sample trig =
        operands(sample_one_of({sample_signed(sample_beside(octant_point, 0)),
                                sample_real(-3000, -1), sample_real(-1, 18), top_of_range}));
    // inside [-1, 1], with a share outside it
    const Sample unit =
        operands(sample_one_of({sample_signed(sample_beside(one, -1)), sample_real(-1, -1),
                                sample_real(-40, -1), beside_one}));
    // hyperbolic functions: tiny to large (tanh saturated), the series
    // thresholds 0.1 and 0.6 often
    const Sample hyp = operands(sample_one_of(
        {sample_real(-40, 3), sample_real(-1, -1), sample_real(-1, 0), sample_real(2, 4)}));
    // roots: moderate exponents, or any in the range (its ends more often)
    const R root_arg =
        sample_one_of({sample_real(-30, 30), sample_real(-30, 30), sample_real(-30, 30),
                       sample_real(REAL_EXP_MIN, REAL_EXP_MAX, true, 1, 30)});
    // hypot: same exponents half the time, so that the sum of squares carries
    const R side = sample_one_of({sample_real(-25, 25, true, 5), sample_real(0, 0, true, 5)});
    const R plane =
        sample_one_of({sample_real(-2000, 2000, true, 5), sample_real(-40, 40, true, 5)});
    // real powers: mostly positive bases, some of huge exponents (y ln x
    // then carries many integer digits)
    const R base = sample_one_of({sample_real(-20, 20, false, 1), sample_real(-20, 20, false, 1),
                                  sample_real(-1000000000000000, 1000000000000000, false, 0),
                                  sample_real(-3, 3, true, 1)});
    const Sample angle = operands(sample_real(-40, 40));
    std::vector<RealOp> t = {
        unary("exp", real_exp, exp_reference(0), exp_argument, 200),
        unary("exp10", real_exp10, exp_reference(10), exp_argument, 200),
        unary("exp2", real_exp2, exp_reference(2), exp_argument, 200),
        unary("ln", real_ln, log_reference(0), operands(positive), 250),
        unary("log10", real_log10, log_reference(10), operands(positive), 200),
        unary("log2", real_log2, log_reference(2), operands(positive), 200),
        // tiny to large; below -1 outside the domain
        unary("ln1p", real_ln1p, exact_reference(mpfr_log1p),
              operands(sample_one_of({sample_real(-40, -1), sample_real(-1, 5)})), 250),
        binary("logx", real_logx, logx_reference, positive, positive, 120, 12),
        unary("sin", real_sin, exact_reference(mpfr_sin), trig, 150),
        unary("cos", real_cos, exact_reference(mpfr_cos), trig, 150),
        unary("tan", real_tan, exact_reference(mpfr_tan), trig, 150),
        unary("sin_far", real_sin, exact_reference(mpfr_sin), far_trig_argument, 40),
        unary("cos_far", real_cos, exact_reference(mpfr_cos), far_trig_argument, 40),
        unary("tan_far", real_tan, exact_reference(mpfr_tan), far_trig_argument, 40),
        // around the reduction points 0.11 .. 1, tiny to huge
        unary("atan", real_atan, exact_reference(mpfr_atan),
              operands(sample_one_of({beside_one, sample_real(-1, 0), sample_real(-3000, 3000),
                                      sample_real(-40, 40)})),
              200),
        unary("asin", real_asin, exact_reference(mpfr_asin), unit, 120),
        unary("acos", real_acos, exact_reference(mpfr_acos), unit, 120),
        binary("atan2", real_atan2, atan2_reference, plane, plane, 150, 60),
        unary("deg_to_rad", real_deg_to_rad, exact_reference(mpfr_angle<180, true>), angle, 40),
        unary("grad_to_rad", real_grad_to_rad, exact_reference(mpfr_angle<200, true>), angle, 40),
        unary("rad_to_deg", real_rad_to_deg, exact_reference(mpfr_angle<180, false>), angle, 40),
        unary("rad_to_grad", real_rad_to_grad, exact_reference(mpfr_angle<200, false>), angle, 40),
        unary("sinh", real_sinh, exact_reference(mpfr_sinh), hyp, 100),
        unary("cosh", real_cosh, exact_reference(mpfr_cosh), hyp, 100),
        unary("tanh", real_tanh, exact_reference(mpfr_tanh), hyp, 100),
        // asinh: tiny, moderate, and beyond the precision
        unary("asinh", real_asinh, exact_reference(mpfr_asinh),
              operands(sample_one_of(
                  {sample_real(-60, -1), sample_real(-5, 40), sample_signed(beyond_precision)})),
              100),
        // acosh: 1 + d for d tiny to large, huge x, and below 1 outside the domain
        unary("acosh", real_acosh, exact_reference(mpfr_acosh),
              operands(sample_one_of({sample_beside(one, 1), sample_real(0, 40, false),
                                      beyond_precision, sample_real(-3, 0)})),
              100),
        // atanh: tiny, moderate, 1 - d beside 1, and 1 or beyond outside the domain
        unary("atanh", real_atanh, exact_reference(mpfr_atanh),
              operands(sample_one_of({sample_real(-60, -2), sample_real(-1, -1),
                                      sample_signed(sample_beside(one, -1)), sample_real(0, 1)})),
              100),
        // the binary paths serve short mantissas (up to 40 words for sqrt, 16 for cbrt)
        unary("sqrt", real_sqrt, nth_root_reference, root_of(2, root_arg), 300, 70),
        unary("cbrt", real_cbrt, nth_root_reference, root_of(3, root_arg), 300, 70),
        fn_op("sqrt_exact", guarded(real_sqrt), nth_root_reference, root_of(2, exact_power(2)), 100,
              20, RealRule::Rounded, 0),
        fn_op("cbrt_exact", guarded(real_cbrt), nth_root_reference, root_of(3, exact_power(3)), 100,
              20, RealRule::Rounded, 0),
        binary("hypot", real_hypot, mpfr_reference(mpfr_hypot), side, side, 200, 70),
        // bases of any size, exponents small or, with bases near 1, huge: the
        // results reach beyond the range both ways
        fn_op("pow_int", guarded(real_pow_int), power_reference,
              with_int(sample_real(-30, 30, true, 2), 300, 2000000000), 250, 60),
        fn_op("pow_int_near_1", guarded(real_pow_int), power_reference,
              with_int(sample_beside(one, 0), 0, i64{1} << 62, 0), 60, 60),
        fn_op("root_int", guarded(root_int), nth_root_reference,
              with_int(sample_real(-60, 60, true, 2), 40, 1000000, 90), 250, 20),
        binary("pow", real_pow, power_reference, base,
               sample_one_of({sample_real(-5, 2), sample_real(0, 2)}), 200, 15),
        binary("root", real_root, nth_root_reference, sample_real(-2, 1, true, 2),
               sample_real(-20, 20, false, 1), 100, 15),
        unary("factorial", real_factorial, factorial_reference, factorial_argument, 80, 53, 19),
        fn_op("perm", perm_comb_run(true), perm_comb_reference<true>, perm_comb_operands<true>, 150,
              8),
        fn_op("comb", perm_comb_run(false), perm_comb_reference<false>, perm_comb_operands<false>,
              150, 8),
        fn_op("gcd", gcd_run, gcd_reference, gcd_operands, 200, 12, RealRule::Rounded, 0),
    };
    real_op_at(t, "perm").max_m = real_op_at(t, "comb").max_m = 60;
    real_op_at(t, "gcd").max_m = 12;
    return t;
}

class RealFnTest : public NumlibTest, public ::testing::WithParamInterface<RealOp> {};

TEST_P(RealFnTest, MatchesMpfr) {
    check_op(rng, GetParam());
}

INSTANTIATE_TEST_SUITE_P(Table, RealFnTest, ::testing::ValuesIn(fn_table()), real_op_name);

// ---- pinned arguments ------------------------------------------------------------

// The golden rows name an entry of the table and run it the same way.
std::string check_row(const GoldenLine& row) {
    static std::vector<RealOp> table = fn_table();
    const std::string want = row.text(3);
    for (const std::string& words : row.words(1)) {
        const auto r = op_case(real_op_at(table, row.text(0)), std::stoll(words), row.words(2),
                               want == "-" ? nullptr : want.c_str(), std::stoi(row.text(4)));
        if (!r) return row.text(0) + ": " + r.message();
    }
    return "";
}

using RealFnRowsTest = NumlibTest;

TEST_F(RealFnRowsTest, PinnedArguments) {
    golden_run("real_functions.txt", check_row);
}

// A pending error (a stop request) ends long work at once and gives +0.
TEST_F(RealFnRowsTest, APendingErrorGivesZero) {
    Real x = sample_real(-1, 5)(rng, 527);
    x[0] &= ~u64{1};  // positive, so that the logarithms get past their domain check
    for (RealUnaryFn fn : {real_sin, real_cos, real_tan, real_exp, real_ln, real_log10}) {
        mp_set_real_words(527);
        mp_raise(MP_ERR_STOPPED);
        Real out(528, 7);
        real_guarded_unary(out.data(), x.data(), 2, fn);
        EXPECT_EQ(mp_err(), MP_ERR_STOPPED);
        EXPECT_EQ(out, Real(528, 0));
        mp_error.store(0);
    }
}

// ---- long tables -------------------------------------------------------------------

// The long tables hold the digits of pi/4 (from its first fraction digit)
// and 4/pi truncated. (ln 10 and ln 2 beyond the constant table are run by
// the exponentials and logarithms at the largest precision, whose arguments
// multiply their errors by up to 10^19.)
TEST_F(RealFnRowsTest, LongConstantsMatchMpfr) {
    for (const auto& [table, w, quarter] :
         {std::tuple{REAL_PI4_LONG, REAL_PI4_LONG_WORDS, true},
          {REAL_4_OVER_PI_LONG, REAL_4_OVER_PI_LONG_WORDS, false}}) {
        Real x(static_cast<std::size_t>(w + 1));
        std::copy(table, table + w, x.begin() + 1);
        real_set_header(x.data(), quarter ? -1 : 0, 0);
        Mpfr v(oracle_bits(19 * i64{w} + 20));
        mpfr_const_pi(v, MPFR_RNDN);
        quarter ? mpfr_div_2ui(v, v, 2, MPFR_RNDN) : mpfr_ui_div(v, 4, v, MPFR_RNDN);
        const double off = ulps_from(x.data(), w, v);
        EXPECT_TRUE(off > -1 && off <= 0) << off;
    }
}

}  // namespace
