// The arithmetic of the reals against exact GMP values, through the harness
// table (support/real_fn_check.h): sums, products and quotients with their
// spill words, reciprocals, integer quotients and remainders, machine
// integers, rounding to digits, precision changes, integer and fractional
// parts, powers of two and ten, comparisons and digit tests, machine and
// binary integers to reals and back; packed constants.
#include <gmp.h>
#include <mpfr.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <string>
#include <tuple>
#include <vector>

#include "numlib/mp_error.h"
#include "numlib/real_div_impl.h"
#include "numlib/real_fn.h"
#include "numlib/real_impl.h"
#include "support/numlib_fixture.h"
#include "support/real_fn_check.h"
#include "support/text_helpers.h"

namespace {

// The exact value n * 10^e of an m-word real.
struct Exact {
    Mpz n;
    i64 e = 0;
    Exact(const Real& x, i64 m) { real_exact(n, &e, x.data(), m); }
};

using RawFn = std::function<u64(const RealCase& c, u64* dst, const u64* a, const u64* b)>;

// An operation on copies of the operands, its destination apart (alias 0)
// or on a copy of a (1) or b (2); the error raised is taken, or -1 when the
// run writes past the m + 1 words of a destination apart.
RealRun raw(RawFn f) {
    return [f](const RealCase& c, int alias) {
        Real a = c.a, b = c.b.empty() ? c.a : c.b, out(static_cast<std::size_t>(c.m + 2), 7);
        u64* dst = alias == 1 ? a.data() : (alias == 2 ? b.data() : out.data());
        RealOutcome r;
        r.spill = f(c, dst, a.data(), b.data());
        r.x.assign(dst, dst + c.m + 1);
        r.err = out.back() != 7 ? -1 : mp_err();
        mp_error.store(0);
        return r;
    };
}
RealRun raw(u64 (*f)(u64*, const u64*, const u64*)) {
    return raw([f](const RealCase&, u64* d, const u64* a, const u64* b) { return f(d, a, b); });
}
RealRun raw(u64 (*f)(u64*, const u64*, u64)) {
    return raw([f](const RealCase& c, u64* d, const u64* a, const u64*) {
        return f(d, a, static_cast<u64>(c.n));
    });
}
RealRun raw(void (*f)(u64*, const u64*)) {
    return raw([f](const RealCase&, u64* d, const u64* a, const u64*) {
        f(d, a);
        return u64{0};
    });
}

// A comparison's or a test's answer as the result.
RealRun answer(std::function<i64(const RealCase& c)> f) {
    return raw([f](const RealCase& c, u64* d, const u64*, const u64*) {
        real_from_i64(d, f(c));
        return u64{0};
    });
}
RealRun answer(int (*f)(const u64*, const u64*)) {
    return answer([f](const RealCase& c) { return f(c.a.data(), c.b.data()); });
}
RealRun answer(bool (*f)(const u64*)) {
    return answer([f](const RealCase& c) { return f(c.a.data()); });
}

// A machine integer c.n, signed or not, as an m-word real and its spill.
u64 from_i64(const RealCase& c, u64* d, const u64*, const u64*) {
    return real_from_i64(d, c.n);
}
u64 from_u64(const RealCase& c, u64* d, const u64*, const u64*) {
    return real_from_u64(d, static_cast<u64>(c.n));
}

void int_operand(TestRng& rng, RealCase& c) {
    c.n = static_cast<i64>(rng.chance(50) ? rng.word() : rng.word() >> rng.range(1, 63));
}

RealRef int_reference(bool is_signed) {
    return [is_signed](mpfr_ptr v, const RealCase& c, i64* e10) {
        Mpz n;
        if (is_signed) mpz_set_si(n, c.n);
        if (!is_signed) mpz_set_ui(n, static_cast<u64>(c.n));
        set_exact(v, e10, n, 0, 0);
    };
}

// x near or past the limits of i64 and u64, integral or not; the flags of
// the conversion to a machine integer in c.n.
void machine_operands(TestRng& rng, RealCase& c) {
    c.n = rng.range(0, 7);
    c.a = random_real(rng, c.m, {.exp_min = -2, .exp_max = rng.chance(5) ? 400 : 21});
    if (!rng.chance(40)) return;
    Mpz z;
    mpz_setbit(z, rng.chance(50) ? 63 : 64);
    mpz_add_ui(z, z, 2);
    mpz_sub_ui(z, z, static_cast<unsigned long>(rng.range(0, 4)));
    if (rng.chance(50)) mpz_neg(z, z);
    c.a = real_of_mpz(z, c.m);
}

// The machine integer x converts to, as a real with its spill. A refusal
// gives 0 and error 14; with the quiet flag it raises nothing, and the
// outcome reports it as 14 (an error raised as -1). Error -1 too when the
// conversion's answer disagrees with its error.
template <bool is_signed>
RealOutcome to_machine(const RealCase& c, int) {
    bool ok = false;
    u64 spill = 0;
    RealOutcome r = outcome_of(c.m, [&](u64* d) {
        const auto flags = static_cast<u32>(c.n);
        i64 si = 0;
        u64 ui = 0;
        ok = is_signed ? real_to_i64(&si, c.a.data(), flags) : real_to_u64(&ui, c.a.data(), flags);
        spill = is_signed ? real_from_i64(d, si) : real_from_u64(d, ui);
    });
    r.spill = spill;
    const bool quiet = c.n & REAL_CONV_QUIET;
    if (r.err == MP_ERR_DOMAIN && (ok || quiet)) r.err = -1;
    if (r.err == 0 && !ok) r.err = quiet ? MP_ERR_DOMAIN : -1;
    return r;
}

// The integer part of x (u64: of |x| with the flag REAL_CONV_ABS), when x
// is integral or the flags truncate, and it fits; else NaN.
template <bool is_signed>
void machine_reference(mpfr_ptr v, const RealCase& c, i64* e10) {
    Exact a(c.a, c.m);
    Mpz ip, p;
    integer_of(ip, c.a, c.m);
    mpz_ui_pow_ui(p, 10, static_cast<unsigned long>(a.e < 0 ? -a.e : 0));
    const bool integral = mpz_divisible_p(a.n, p);
    if (!is_signed && (c.n & REAL_CONV_ABS)) mpz_abs(ip, ip);
    const bool fits =
        is_signed ? mpz_fits_slong_p(ip) : mpz_sgn(ip.get()) >= 0 && mpz_fits_ulong_p(ip);
    if (!fits || !(integral || (c.n & REAL_CONV_TRUNCATE)))
        return static_cast<void>(mpfr_set_nan(v));
    set_exact(v, e10, ip, 0, 0);
}

// A count of binary words around the conversions' thresholds and limits.
i64 binary_count(TestRng& rng) {
    const i64 counts[] = {rng.range(1, 4), rng.range(5, 60), rng.range(61, 700),
                          rng.range(1900, 2100)};
    return counts[rng.range(0, 3)];
}

// Binary words, some short, some a power of ten or one less (nines and
// zeros at the cut).
void uint_operand(TestRng& rng, RealCase& c) {
    const i64 count = binary_count(rng), len = rng.chance(10) ? rng.range(0, count) : count;
    c.w.resize(static_cast<std::size_t>(count));
    rng.fill(c.w.data(), count, len);
    if (!rng.chance(20) || len == 0) return;
    Mpz z;
    mpz_ui_pow_ui(z, 10, static_cast<unsigned long>(rng.range(1, len * 19)));
    if (rng.chance(50)) mpz_sub_ui(z, z, 1);
    if (z.fits(count)) z.store(c.w.data(), count);
}

// The binary integer truncated to 19m digits.
void from_uint_reference(mpfr_ptr v, const RealCase& c, i64* e10) {
    std::string digits = mpz_digits(Mpz(c.w.data(), static_cast<i64>(c.w.size())), 10);
    const i64 cut = std::max<i64>(static_cast<i64>(digits.size()) - 19 * c.m, 0);
    digits.resize(digits.size() - static_cast<std::size_t>(cut));
    Mpz t;
    mpz_set_str(t, digits.c_str(), 10);
    set_exact(v, e10, t, cut, 0);
}

// x with exponents up to and just past what c.n binary words hold.
void to_uint_operands(TestRng& rng, RealCase& c) {
    c.n = binary_count(rng);
    const i64 limit = c.n * 64 * 30103 / 100000;
    c.a = random_real(
        rng, c.m, {.exp_min = -2, .exp_max = rng.chance(50) ? limit + 1 : 40, .zero_percent = 3});
}

// The c.n words of the integer part of |x| as a real; error -1 when the
// run writes past them or they hold more digits than an m-word real.
RealOutcome to_uint(const RealCase& c, int) {
    std::vector<u64> w(static_cast<std::size_t>(c.n + 1), 7);
    RealOutcome r =
        outcome_of(c.m, [&](u64*) { real_to_uint(w.data(), static_cast<i32>(c.n), c.a.data()); });
    const Mpz z(w.data(), c.n);
    r.x = real_of_mpz(z, c.m);
    const std::size_t digits = mpz_digits(z, 10).find_last_not_of('0') + 1;
    if (w.back() != 7 || digits > static_cast<std::size_t>(19 * c.m)) r.err = -1;
    return r;
}

// The integer part of |x|; NaN when it does not fit c.n words.
void to_uint_reference(mpfr_ptr v, const RealCase& c, i64* e10) {
    Mpz ip;
    integer_of(ip, c.a, c.m);
    mpz_abs(ip, ip);
    if (!ip.fits(c.n)) return static_cast<void>(mpfr_set_nan(v));
    set_exact(v, e10, ip, 0, 0);
}

// ---- sums ---------------------------------------------------------------------------

// A second operand for a: random, of nearby exponent, of any exponent, or
// one that cancels most of a's digits (a with the sign that cancels, one
// word moved by one, or the exponent one lower), in either order. c.n is 1
// for a - b. The comparisons take the pairs too.
void sum_operands(TestRng& rng, RealCase& c) {
    const i64 m = c.m;
    c.a =
        random_real(rng, m, {.exp_min = -60, .exp_max = 60, .zero_percent = 3, .edge_percent = 3});
    c.n = rng.range(0, 1);
    const int shape = static_cast<int>(rng.range(0, 9));
    const i64 e = real_exp_of(c.a.data()), reach = shape == 0 ? 19 * m + 40 : 3;
    if (shape <= 3) {
        c.b = random_real(rng, m,
                          {.exp_min = std::max(e - reach, REAL_EXP_MIN),
                           .exp_max = std::min(e + reach, REAL_EXP_MAX)});
        return;
    }
    if (shape <= 5) {
        c.b =
            random_real(rng, m, {.exp_min = -4000000000000000000, .exp_max = 4000000000000000000});
        return;
    }
    c.b = c.a;
    c.n = 1;
    if (rng.chance(50)) {
        real_negate(c.b.data());
        c.n = 0;
    }
    const auto w = static_cast<std::size_t>(rng.range(1, m));
    if (real_is_zero(c.b.data())) return;
    if (shape == 7 && c.b[w] + 1 < REAL_BASE) ++c.b[w];
    if (shape == 8 && c.b[w] > (w == 1 ? REAL_TOP : 0)) --c.b[w];
    if (shape == 9) real_add_exp(c.b.data(), -1);
    if (rng.chance(50)) std::swap(c.a, c.b);
}

// a +- b; with a zero operand the other one (0 - x is -x, whichever zero);
// past 19m + 40 digits apart the larger one stands for the sum.
void sum_reference(mpfr_ptr v, const RealCase& c, i64* e10) {
    Exact a(c.a, c.m), b(c.b, c.m);
    const int sb = real_sign(c.b.data()) ^ static_cast<int>(c.n);
    if (c.n) mpz_neg(b.n, b.n);
    if (real_is_zero(c.a.data())) return set_exact(v, e10, b.n, b.e, sb);
    if (real_is_zero(c.b.data())) return set_exact(v, e10, a.n, a.e, real_sign(c.a.data()));
    const i64 ea = real_exp_of(c.a.data()), eb = real_exp_of(c.b.data());
    if (std::max(ea - eb, eb - ea) > 19 * c.m + 40) {
        const Exact& big = ea > eb ? a : b;
        return set_exact(v, e10, big.n, big.e, 0);
    }
    Exact& low = a.e < b.e ? a : b;
    const Exact& high = a.e < b.e ? b : a;
    Mpz p;
    mpz_ui_pow_ui(p, 10, static_cast<unsigned long>(high.e - low.e));
    mpz_addmul(low.n, high.n, p);
    set_exact(v, e10, low.n, low.e, 0);
}

// ---- products and quotients ---------------------------------------------------------

void product_reference(mpfr_ptr v, const RealCase& c, i64* e10) {
    Exact a(c.a, c.m), b(c.b, c.m);
    mpz_mul(a.n, a.n, b.n);
    set_exact(v, e10, a.n, a.e + b.e, real_sign(c.a.data()) ^ real_sign(c.b.data()));
}

// a / b, or 1 / a for the reciprocal (no b); NaN for a zero divisor.
void quotient_reference(mpfr_ptr v, const RealCase& c, i64* e10) {
    const bool recip = c.b.empty();
    Exact a(c.a, c.m), b(recip ? c.a : c.b, c.m);
    if (mpz_sgn(b.n.get()) == 0) return static_cast<void>(mpfr_set_nan(v));
    if (recip) {
        mpz_set_ui(a.n, 1);
        a.e = 0;
    }
    if (mpz_sgn(b.n.get()) < 0) {
        mpz_neg(a.n, a.n);
        mpz_neg(b.n, b.n);
    }
    const int sign = real_sign(c.a.data()) ^ (recip ? 0 : real_sign(c.b.data()));
    set_ratio(v, e10, a.n, b.n, a.e - b.e, sign);
}

// a times or over the machine word c.n; NaN for a division by 0.
RealRef word_reference(bool divide) {
    return [divide](mpfr_ptr v, const RealCase& c, i64* e10) {
        Exact a(c.a, c.m);
        Mpz w;
        mpz_set_ui(w, static_cast<u64>(c.n));
        if (divide && c.n == 0) return static_cast<void>(mpfr_set_nan(v));
        if (!divide) {
            mpz_mul(a.n, a.n, w);
            mpz_set_ui(w, 1);
        }
        set_ratio(v, e10, a.n, w, a.e, real_sign(c.a.data()));
    };
}

// a and a machine word: small, around powers of ten, 2^64 - 1, or random.
void word_operands(TestRng& rng, RealCase& c) {
    static const u64 words[] = {0,         1,      2, 3, 7, 9, 10, 11, 99, 100, 101, REAL_BASE - 1,
                                REAL_BASE, ~u64{0}};
    c.a = random_real(rng, c.m, {.exp_min = -300, .exp_max = 300, .edge_percent = 3});
    c.n =
        static_cast<i64>(rng.chance(50) ? words[rng.range(0, 13)] : rng.word() >> rng.range(0, 63));
}

// Mantissas of short quotients, which real_div forms by long division: words
// often 0, 10^19 - 1 or 10^18; a third of the dividends next to b t / 10^j
// for a whole t, where every quotient word after t's digits is 0 or B - 1
// and a word's estimate from the top words is one off.
void short_operands(TestRng& rng, RealCase& c) {
    const i64 m = c.m;
    auto mantissa = [&] {
        Real x(static_cast<std::size_t>(m + 1));
        const int fill = static_cast<int>(rng.range(0, 12));  // all B - 1, 10^18 0 .. 0, or mixed
        for (i64 i = 1; i <= m; ++i) {
            const i64 kind = fill < 2 ? fill : rng.range(0, 9);
            x[static_cast<std::size_t>(i)] = kind == 0   ? REAL_BASE - 1
                                             : kind == 1 ? (i == 1 ? REAL_TOP : 0)
                                             : kind == 2 ? REAL_TOP
                                                         : rng.word() % REAL_BASE;
        }
        if (x[1] < REAL_TOP) x[1] = REAL_TOP + rng.word() % (REAL_BASE - REAL_TOP);
        real_set_header(x.data(), rng.range(-40, 40), static_cast<int>(rng.range(0, 1)));
        return x;
    };
    c.a = mantissa();
    c.b = rng.chance(10) ? c.a : mantissa();
    if (!rng.chance(33)) return;
    Exact b(c.b, m);
    Mpz t, lo;
    mpz_abs(b.n, b.n);
    mpz_mul_ui(b.n, b.n, 1 + rng.word() % 9999999999ULL);
    mpz_ui_pow_ui(t, 10, mpz_sizeinbase(b.n, 10) - static_cast<std::size_t>(19 * m));
    mpz_fdiv_q(b.n, b.n, t);
    if (mpz_sizeinbase(b.n, 10) > static_cast<std::size_t>(19 * m)) mpz_fdiv_q_ui(b.n, b.n, 10);
    mpz_add_ui(b.n, b.n, 1);
    mpz_sub_ui(b.n, b.n, static_cast<unsigned long>(rng.range(0, 2)));
    mpz_ui_pow_ui(lo, 10, static_cast<unsigned long>(19 * m - 1));
    if (mpz_cmp(b.n, lo) < 0 || mpz_sizeinbase(b.n, 10) > static_cast<std::size_t>(19 * m)) return;
    for (i64 i = m; i >= 1; --i)
        c.a[static_cast<std::size_t>(i)] = mpz_fdiv_q_ui(b.n, b.n, REAL_BASE);
}

void divide_and_round(u64* dst, const u64* a, const u64* b) {
    real_round_guard(dst, real_div(dst, a, b), mp_real_words);
}

// ---- integer quotients --------------------------------------------------------------

// Operands whose exponents lie 19m +- 3, 0 .. 40, 0 .. 19m + 60, 19m .. 20000
// or up to 10^15 apart; one case in ten a quotient of exactly 1, one in
// fifty a zero divisor. c.n: 0 for the quotient, 1 for the remainder.
void divmod_operands(TestRng& rng, RealCase& c) {
    const i64 m = c.m;
    c.n = rng.range(0, 1);
    c.a = random_real(rng, m, {.zero_percent = 0});
    c.b = random_real(rng, m, {.zero_percent = 0});
    const i64 gaps[] = {19 * m + rng.range(-3, 3), rng.range(-2, 40), rng.range(0, 19 * m + 60),
                        rng.range(19 * m, 20000), rng.range(1, 1000000000000000LL)};
    const i64 eb = rng.range(-50, 50);
    real_set_header(c.b.data(), eb, real_sign(c.b.data()));
    real_set_header(c.a.data(), eb + gaps[rng.range(0, 4)], real_sign(c.a.data()));
    if (rng.chance(10)) c.a = c.b;
    if (rng.chance(2)) real_zero(c.b.data(), 0);
}

// q = |a| / |b| truncated toward zero to 19m digits (c.n = 0), or r = |a|
// mod |b| exactly, from a modular power of ten (c.n = 1); both take the
// sign of a xor b, and r = a when |a| < |b|.
void divmod_reference(mpfr_ptr v, const RealCase& c, i64* e10) {
    if (real_is_zero(c.b.data())) return static_cast<void>(mpfr_set_nan(v));
    Exact a(c.a, c.m), b(c.b, c.m);
    const int sign = real_sign(c.a.data()) ^ real_sign(c.b.data());
    mpz_abs(a.n, a.n);
    mpz_abs(b.n, b.n);
    const i64 gap = a.e - b.e;
    Mpz p, q;
    if (real_cmp_abs(c.a.data(), c.b.data()) < 0) {  // q = 0, r = a
        if (c.n == 0) mpz_set_ui(a.n, 0);
        if (real_sign(c.a.data())) mpz_neg(a.n, a.n);
        return set_exact(v, e10, a.n, a.e, sign);
    }
    if (c.n) {
        mpz_set_ui(p, static_cast<unsigned long>(gap));
        mpz_set_ui(q, 10);
        mpz_powm(q, q, p, b.n);
        mpz_mul(q, q, a.n);
        mpz_mod(q, q, b.n);
        if (sign) mpz_neg(q, q);
        return set_exact(v, e10, q, b.e, 0);
    }
    // 19m + 40 digits of the quotient, then cut to 19m toward zero.
    const i64 k = std::min<i64>(gap, 19 * c.m + 40);
    mpz_ui_pow_ui(p, 10, static_cast<unsigned long>(k));
    mpz_mul(q, a.n, p);
    mpz_tdiv_q(q, q, b.n);
    i64 cut = 0;
    for (mpz_ui_pow_ui(p, 10, static_cast<unsigned long>(19 * c.m)); mpz_cmp(q, p) >= 0; ++cut)
        mpz_tdiv_q_ui(q, q, 10);
    if (sign) mpz_neg(q, q);
    set_exact(v, e10, q, gap - k + cut, sign);
}

// ---- rounding and parts --------------------------------------------------------------

// a rounded half up on the magnitude to k = c.n significant digits (k = 0:
// to a power of ten or zero); NaN for k < 0.
void round_reference(mpfr_ptr v, const RealCase& c, i64* e10) {
    Exact a(c.a, c.m);
    if (c.n < 0) return static_cast<void>(mpfr_set_nan(v));
    const i64 drop = 19 * c.m - c.n;
    if (drop <= 0 || mpz_sgn(a.n.get()) == 0) return set_exact(v, e10, a.n, a.e, 0);
    Mpz p, r;
    const bool negative = mpz_sgn(a.n.get()) < 0;
    mpz_abs(a.n, a.n);
    mpz_ui_pow_ui(p, 10, static_cast<unsigned long>(drop));
    mpz_tdiv_qr(a.n, r, a.n, p);
    mpz_mul_2exp(r, r, 1);
    if (mpz_cmp(r, p) >= 0) mpz_add_ui(a.n, a.n, 1);
    if (negative) mpz_neg(a.n, a.n);
    set_exact(v, e10, a.n, a.e + drop, 0);
}

// The integer part of a toward zero, or the fraction.
RealRef part_reference(bool fraction) {
    return [fraction](mpfr_ptr v, const RealCase& c, i64* e10) {
        Exact a(c.a, c.m);
        if (a.e >= 0) {
            if (fraction) mpz_set_ui(a.n, 0);
            return set_exact(v, e10, a.n, a.e, 0);
        }
        Mpz p, q;
        mpz_ui_pow_ui(p, 10, static_cast<unsigned long>(-a.e));
        (fraction ? mpz_tdiv_r : mpz_tdiv_q)(q, a.n, p);
        set_exact(v, e10, q, fraction ? a.e : 0, 0);
    };
}

// 2^k for k = c.n: random, around the exponent where the digits of 2^|k|
// or 5^|k| outgrow m + 2 words (and real_pow2 stops forming them exactly),
// the ties of the hard list, and anywhere in the i64 range.
void pow2_exponent(TestRng& rng, RealCase& c) {
    static const std::pair<i64, i64> kTies[] = {
        {1, 64},       // 20 digits, the last one rounds up
        {1, -28},      // 5^28 has 20 digits ending in 5: a tie, rounds up
        {2, -55},      // 5^55, 5^82: ties at two and three words
        {3, -82},      //
        {528, -14353}  // 5^14353 has 10033 digits: a tie at the table precision
    };
    const bool negative = rng.chance(50);
    const i64 edge =
        static_cast<i64>(19.0 * static_cast<double>(c.m + 2) / std::log10(negative ? 5.0 : 2.0));
    c.n =
        rng.chance(40) ? (edge + rng.range(-2, 2)) * (negative ? -1 : 1) : rng.range(-20000, 20000);
    if (rng.chance(5)) std::tie(c.m, c.n) = kTies[rng.range(0, 4)];
    if (rng.chance(5)) c.n = static_cast<i64>(rng.word() >> rng.range(0, 40));
}

// 2^k exactly, or as 10^(k log10 2) beyond 2^(+-100000).
void pow2_reference(mpfr_ptr v, const RealCase& c, i64* e10) {
    if (c.n >= -100000 && c.n <= 100000)
        return static_cast<void>(mpfr_set_ui_2exp(v, 1, c.n, MPFR_RNDN));
    Mpfr u(ref_bits(c.m) + 80);
    mpfr_set_ui(u, 2, MPFR_RNDN);
    mpfr_log10(u, u, MPFR_RNDN);
    mpfr_mul_si(u, u, c.n, MPFR_RNDN);
    set_pow10(v, e10, u);
}

// A run of the destination alone.
RealRun bounded(std::function<void(const RealCase& c, u64* dst)> f) {
    return raw([f](const RealCase& c, u64* d, const u64*, const u64*) {
        f(c, d);
        return u64{0};
    });
}

// 10^k for k = c.n anywhere in the exponent range and one past its ends.
void pow10_exponent(TestRng& rng, RealCase& c) {
    c.n = rng.chance(50) ? rng.range(-100, 100) : REAL_EXP_MAX - rng.range(-1, 3);
    if (rng.chance(50)) c.n = -c.n;
}

void pow10_reference(mpfr_ptr v, const RealCase& c, i64* e10) {
    mpfr_set_ui(v, 1, MPFR_RNDN);
    *e10 = c.n;
}

// ---- comparisons and tests -------------------------------------------------------

// x and an i64 near the edges that matter (powers of ten, the i64 limits,
// small values) in c.n and, exactly, in b; x is c.n itself, with a low word
// changed, or random.
void i64_operands(TestRng& rng, RealCase& c) {
    auto pick = [&] {
        const i64 p = static_cast<i64>(std::vector<u64>{1, 10, 1000, REAL_TOP}[rng.range(0, 3)]);
        const i64 shapes[] = {
            static_cast<i64>(rng.word()), rng.range(-20, 20),
            (rng.chance(50) ? p : -p) + rng.range(-1, 1),
            rng.chance(50) ? LONG_MIN + rng.range(0, 1) : LONG_MAX - rng.range(0, 1)};
        return shapes[rng.range(0, 3)];
    };
    c.n = pick();
    c.a.resize(static_cast<std::size_t>(c.m + 1));
    c.b = c.a;
    real_from_i64(c.a.data(), rng.chance(80) ? c.n : pick());
    real_from_i64(c.b.data(), c.n);
    if (rng.chance(30) && c.m >= 2 && !real_is_zero(c.a.data())) c.a.back() = rng.range(1, 5);
    if (rng.chance(10)) c.a = random_real(rng, c.m, {.exp_min = -2, .exp_max = 20});
}

// x and the threshold d9 * 10^(e - 8) in b, d9 of nine digits from x's own
// top digits moved by at most one, or random.
void threshold_operands(TestRng& rng, RealCase& c) {
    c.a = random_real(rng, c.m, {.exp_min = -2, .exp_max = 2, .zero_percent = 5});
    const i64 top =
        real_is_zero(c.a.data()) ? 123456789 : static_cast<i64>(c.a[1] / 10000000000ULL);
    const i64 d9 = rng.chance(70) ? top + rng.range(-1, 1) : rng.range(100000000, 999999999);
    c.b.resize(c.a.size());
    real_from_i64(c.b.data(), std::clamp<i64>(d9, 100000000, 999999999));
    real_set_exp(c.b.data(), real_exp_of(c.a.data()) + rng.range(-1, 1));
}

// Values with digits up to past the precision, half of them with the digits
// below the units cleared (some with one left).
void integral_operands(TestRng& rng, RealCase& c) {
    c.a = random_real(rng, c.m, {.exp_min = -3, .exp_max = 19 * c.m + 2, .zero_percent = 3});
    const i64 e = real_exp_of(c.a.data());
    if (!rng.chance(50) || real_is_zero(c.a.data()) || e < 0) return;
    for (i64 pos = e + 1; pos < 19 * c.m; ++pos) {
        u64& w = c.a[static_cast<std::size_t>(1 + pos / 19)];
        const u64 unit = REAL_POW10[18 - pos % 19];
        w -= (w / unit % 10) * unit;
    }
    if (rng.chance(20)) c.a.back() |= 1;
}

// The sign of a - b (of |a| - |b|), as the result; at_least: 1 when it is
// not negative, else 0.
RealRef difference_sign(bool magnitude, bool at_least = false) {
    return [=](mpfr_ptr v, const RealCase& c, i64* e10) {
        RealCase d{.m = c.m, .a = c.a, .b = c.b, .n = 1};
        if (magnitude) real_set_header(d.a.data(), real_exp_of(d.a.data()), 0);
        if (magnitude) real_set_header(d.b.data(), real_exp_of(d.b.data()), 0);
        sum_reference(v, d, e10);
        const int s = mpfr_sgn(v);
        mpfr_set_si(v, at_least ? s >= 0 : s, MPFR_RNDN);
        *e10 = 0;
    };
}

// 1 when x is an integer (even: its units digit even), else 0.
RealRef integral(bool even) {
    return [even](mpfr_ptr v, const RealCase& c, i64* e10) {
        part_reference(!even)(v, c, e10);
        bool yes = mpfr_zero_p(v);
        if (even) {
            mpfr_div_2ui(v, v, 1, MPFR_RNDN);
            yes = yes || *e10 > 0 || mpfr_integer_p(v);
        }
        mpfr_set_ui(v, yes, MPFR_RNDN);
        *e10 = 0;
    };
}

// ---- the table ---------------------------------------------------------------------

u64 divmod(const RealCase& c, u64* dst, const u64* a, const u64* b) {
    Real other(static_cast<std::size_t>(c.m + 1));
    real_divmod(c.n ? other.data() : dst, c.n ? dst : other.data(), a, b, 0);
    return 0;
}

u64 add_sub(const RealCase& c, u64* dst, const u64* a, const u64* b) {
    return real_add_sub(dst, a, b, static_cast<int>(c.n));
}

u64 round_digits(const RealCase& c, u64* dst, const u64* a, const u64*) {
    real_round_digits(dst, a, static_cast<i32>(c.n));
    return 0;
}

void rounding_operands(TestRng& rng, RealCase& c) {
    c.a = random_real(rng, c.m, {.zero_percent = 3, .edge_percent = 3});
    c.n = rng.chance(80) ? rng.range(0, 19 * c.m + 2) : 19 * rng.range(0, c.m);
    if (rng.chance(2)) c.n = -1;
}

// a at c.n words, resized to m.
void resize_operands(TestRng& rng, RealCase& c) {
    c.n = rng.range(1, 528);
    c.a = random_real(rng, c.n, {.zero_percent = 3, .edge_percent = 3});
}

void resize_reference(mpfr_ptr v, const RealCase& c, i64* e10) {
    Exact a(c.a, c.n);
    set_exact(v, e10, a.n, a.e, 0);
}

std::vector<RealOp> arith_table() {
    const RealSampler wide = sample_real(-300, 300, true, 2, 3);
    const RealRule spill = RealRule::Spill, exact = RealRule::Rounded;
    const RealSampler nonzero = sample_real(-40, 40, true, 0);
    // rows: rounds, alias forms and for a spill its window [lo, hi]
    std::vector<RealOp> t = {
        // the larger-exponent operand plus the other cut below the spill
        // (a unit of the spill, or ten after a one-digit cancellation), truncated
        real_op("add_sub", spill, sum_operands, raw(add_sub), sum_reference, 2000, 2, -2, 10),
        // the exact paths (one and two words, from 400 words) fall short by
        // nothing, the truncated product by m units of the spill, 10m + 9
        // after a normalising shift
        real_op("mul", spill, operands(wide, wide), raw(real_mul), product_reference, 150, 2, -9,
                0),
        real_op("mul_u64", spill, word_operands, raw(real_mul_u64), word_reference(false), 300, 1,
                -1, 0),
        real_op("div", spill, operands(wide, sample_real(-300, 300, true, 1, 3)), raw(real_div),
                quotient_reference, 150, 2, -2, 2),
        real_op("div_short", spill, short_operands, raw(real_div), quotient_reference, 2000, 2, -1,
                0),
        real_op("div_u64", spill, word_operands, raw(real_div_u64), word_reference(true), 300, 1,
                -1, 0),
        real_op("recip", spill, operands(wide), raw(real_recip), quotient_reference, 150, 1, 0, 0),
        // exact with the spill (the last digit of a 20-digit value at one word)
        real_op("from_i64", spill, int_operand, raw(from_i64), int_reference(true), 3000, 0, -0.5,
                0),
        real_op("from_u64", spill, int_operand, raw(from_u64), int_reference(false), 3000, 0, -0.5,
                0),
        real_op("to_i64", spill, machine_operands, to_machine<true>, machine_reference<true>, 2000,
                0, -0.5, 0),
        real_op("to_u64", spill, machine_operands, to_machine<false>, machine_reference<false>,
                2000, 0, -0.5, 0),
        // inside a guarded call the body works to 19m + g digits only; the
        // rounded result must still be the correctly rounded quotient
        real_op("div_guarded", spill, operands(nonzero, nonzero), guarded(divide_and_round),
                quotient_reference, 60, 2, 0, 0),
        real_op("divmod", exact, divmod_operands, raw(divmod), divmod_reference, 300, 2),
        real_op("round_digits", exact, rounding_operands, raw(round_digits), round_reference, 2000),
        real_op("trunc", exact, integral_operands, raw(real_trunc), part_reference(false), 300),
        real_op("frac", exact, integral_operands, raw(real_frac), part_reference(true), 300),
        real_op("from_uint", exact, uint_operand, bounded([](const RealCase& c, u64* d) {
                    real_from_uint(d, static_cast<i32>(c.w.size()), c.w.data());
                }),
                from_uint_reference, 300, 0),
        real_op("to_uint", exact, to_uint_operands, to_uint, to_uint_reference, 400, 0),
        // growing zero-fills, shrinking rounds with the first dropped word
        real_op("resize", exact, resize_operands, bounded([](const RealCase& c, u64* d) {
                    real_resize(d, static_cast<i32>(c.m), c.a.data(), static_cast<i32>(c.n));
                }),
                resize_reference, 2000, 0),
        real_op("pow2", exact, pow2_exponent,
                bounded([](const RealCase& c, u64* d) { real_pow2(d, c.n); }), pow2_reference, 300,
                0),
        real_op("pow10", exact, pow10_exponent,
                bounded([](const RealCase& c, u64* d) { real_pow10(d, c.n); }), pow10_reference,
                300, 0),
        real_op("cmp", exact, sum_operands, answer(real_cmp), difference_sign(false), 3000, 0),
        real_op("cmp_abs", exact, sum_operands, answer(real_cmp_abs), difference_sign(true), 3000,
                0),
        real_op("cmp_i64", exact, i64_operands,
                answer([](const RealCase& c) -> i64 { return real_cmp_i64(c.a.data(), c.n); }),
                difference_sign(false), 4000, 0),
        real_op("abs_at_least", exact, threshold_operands, answer([](const RealCase& c) -> i64 {
                    return real_abs_at_least(c.a.data(), c.b[1] / 10000000000ULL,
                                             real_exp_of(c.b.data()));
                }),
                difference_sign(true, true), 4000, 0),
        real_op("is_integer", exact, integral_operands, answer(real_is_integer), integral(false),
                3000, 0),
        real_op("is_even", exact, integral_operands, answer(real_is_even), integral(true), 3000, 0),
    };
    real_op_at(t, "mul").lo_per_word = -10;
    for (const char* name : {"div", "div_u64", "recip", "divmod"})
        real_op_at(t, name).domain_error = MP_ERR_DIV_ZERO;
    real_op_at(t, "to_uint").domain_error = MP_ERR_OVERFLOW;
    real_op_at(t, "div_short").small_max = real_op_at(t, "div_short").max_m = REAL_DIV_SHORT_MAX;
    RealOp& guarded_div = real_op_at(t, "div_guarded");
    guarded_div.tol = 0.5 + 1e-6;
    guarded_div.max_m = 527;
    guarded_div.keeps_pending = false;
    // a pending error (a stop request) ends these
    real_op_at(t, "pow2").keeps_pending = false;
    real_op_at(t, "pow10").keeps_pending = false;
    for (const char* name : {"trunc", "frac", "cmp_i64", "abs_at_least", "from_i64", "from_u64"})
        real_op_at(t, name).small_max = 8;
    for (const char* name : {"to_i64", "to_u64"})
        real_op_at(t, name).small_max = real_op_at(t, name).max_m = 3;
    return t;
}

class RealArithTest : public NumlibTest, public ::testing::WithParamInterface<RealOp> {};

TEST_P(RealArithTest, MatchesExactValues) {
    check_op(rng, GetParam());
}

INSTANTIATE_TEST_SUITE_P(Table, RealArithTest, ::testing::ValuesIn(arith_table()), real_op_name);

// ---- what the generators do not reach ----------------------------------------------

using RealArithRowsTest = NumlibTest;

// Integer quotients: a zero quotient keeps the sign; a quotient of 5 digits
// past a limit of 3.
TEST_F(RealArithRowsTest, DivmodZeroSignAndLimit) {
    mp_set_real_words(2);
    Real a(3), b(3), q(3), r(3);
    for (const auto& [x, y, limit] : {std::tuple{1, -2, 0}, {12345, 1, 3}}) {
        real_from_i64(a.data(), x);
        real_from_i64(b.data(), y);
        real_divmod(q.data(), r.data(), a.data(), b.data(), limit);
        EXPECT_EQ(real_cmp_i64(q.data(), 0), 0) << x;
        EXPECT_EQ(real_cmp_i64(r.data(), limit ? 0 : x), 0) << x;
        EXPECT_EQ(real_sign(q.data()), limit ? 0 : 1) << x;
        EXPECT_EQ(mp_err(), limit ? 14 : 0) << x;
    }
}

// Packed constants: a count t, then t words (the header and the mantissa).
TEST_F(RealArithRowsTest, PackedConstants) {
    mp_set_real_words(3);
    Real x(4, 9);
    const u64 two_words[] = {3, 4, REAL_TOP + 5, 6};  // t = 3: header and two words
    real_from_packed(x.data(), two_words);
    EXPECT_EQ(x, (Real{4, REAL_TOP + 5, 6, 0}));
    const u64 long_one[] = {
        u64{6} | (u64{0xABCD} << 32), 0, REAL_TOP, 1, 2, 3, 4};  // high half ignored
    real_from_packed(x.data(), long_one);
    EXPECT_EQ(x, (Real{0, REAL_TOP, 1, 2}));
    EXPECT_EQ(mp_err(), 0);
    const u64 empty[] = {1, 4};
    real_from_packed(x.data(), empty);
    EXPECT_EQ(mp_err(), MP_ERR_DOMAIN);
    EXPECT_EQ(x, Real(4, 0));
}

}  // namespace
