// Real quotients, reciprocals and integer division against exact GMP
// arithmetic: the quotient's spill and its rounding, the reciprocal's
// rounding, division by a machine word, the guard digits of a guarded call,
// errors and the range rules, and real_divmod's truncated quotient, exact
// remainder and sign rules.
#include <gmp.h>

#include <cmath>
#include <string>
#include <vector>

#include "numlib/mp_context.h"
#include "numlib/mp_error.h"
#include "numlib/real.h"
#include "support/mpfr_oracle.h"
#include "support/numlib_fixture.h"
#include "support/real_ratio_oracle.h"

namespace {

using Real = std::vector<u64>;

const i64 FIXED_WORDS[] = {1, 2, 3, 27, 53, 263, 527, 528};

i64 pick_words(TestRng& rng, i64 iter) {
    if (iter < 8) return FIXED_WORDS[iter];
    return rng.chance(70) ? rng.range(1, 60) : rng.range(1, 528);
}

// 528 is the body precision of a guarded call; the context setter stops at 527.
void set_words(i64 m) {
    mp_real_words = static_cast<i32>(m);
}

struct Ratio {
    Mpz num, den;
    i64 e10 = 0;
};

// a / b (b non-zero) as num / den * 10^e10 with den > 0.
void exact_quotient(Ratio& x, const u64* a, const u64* b, i64 m) {
    i64 ea, eb;
    real_exact(x.num, &ea, a, m);
    real_exact(x.den, &eb, b, m);
    if (mpz_sgn(x.den.get()) < 0) {
        mpz_neg(x.den, x.den);
        mpz_neg(x.num, x.num);
    }
    x.e10 = ea - eb;
}

// x + spill at m + 1 words lies within [lo, hi] units of its last digit from
// the exact value (on the magnitude: positive means above), and rounding with
// the spill gives the exact value to half a unit.
::testing::AssertionResult spill_and_rounding(const Real& r, u64 spill, i64 m, const Ratio& x,
                                              double lo, double hi) {
    const Real t = with_spill(r.data(), m, spill);
    const double off =
        ulps_from_ratio(t.data(), m + 1, x.num, x.den, x.e10) * (real_sign(r.data()) ? -1 : 1);
    if (!(off >= lo && off <= hi))
        return ::testing::AssertionFailure() << "result with spill is " << off
                                             << " units off: " << real_text(t.data(), m + 1, 60);
    Real rounded = r;
    real_round_guard(rounded.data(), spill, static_cast<i32>(m));
    const double d = ulps_from_ratio(rounded.data(), m, x.num, x.den, x.e10);
    if (!(std::abs(d) <= 0.5 + 1e-9))
        return ::testing::AssertionFailure() << "rounded result is " << d << " units off";
    return real_well_formed(rounded.data(), m);
}

std::string operands(const Real& a, const Real& b, i64 m) {
    return "m=" + std::to_string(m) + " a=" + real_text(a.data(), m, 60) +
           " b=" + real_text(b.data(), m, 60);
}

using RealDivTest = NumlibTest;

TEST_F(RealDivTest, QuotientRoundsToHalfUnitOfExact) {
    RandomRealOptions opt;
    opt.exp_min = -300;
    opt.exp_max = 300;
    RandomRealOptions nonzero = opt;
    nonzero.zero_percent = 0;
    for (i64 iter = 0; iter < test_iterations(120); ++iter) {
        const i64 m = pick_words(rng, iter % 40);
        set_words(m);
        const Real a = random_real(rng, m, opt);
        const Real b = rng.chance(5) && !real_is_zero(a.data()) ? a : random_real(rng, m, nonzero);
        Ratio x;
        exact_quotient(x, a.data(), b.data(), m);
        Real r(static_cast<std::size_t>(m + 1));
        const u64 spill = real_div(r.data(), a.data(), b.data());
        EXPECT_TRUE(spill_and_rounding(r, spill, m, x, -2, 2)) << operands(a, b, m);
        Real ra = a, rb = b;
        EXPECT_EQ(real_div(ra.data(), ra.data(), b.data()), spill);
        EXPECT_EQ(real_div(rb.data(), a.data(), rb.data()), spill);
        EXPECT_TRUE(ra == r && rb == r) << "aliased quotient differs, m=" << m;
        EXPECT_EQ(mp_err(), 0);
        if (HasFailure()) return;
    }
}

TEST_F(RealDivTest, ReciprocalRoundsToHalfUnit) {
    RandomRealOptions opt;
    opt.zero_percent = 0;
    opt.exp_min = -1000;
    opt.exp_max = 1000;
    for (i64 iter = 0; iter < test_iterations(120); ++iter) {
        const i64 m = pick_words(rng, iter % 40);
        set_words(m);
        const Real a = random_real(rng, m, opt);
        Ratio x;
        real_exact(x.den, &x.e10, a.data(), m);
        mpz_set_si(x.num, mpz_sgn(x.den.get()));
        mpz_abs(x.den, x.den);
        x.e10 = -x.e10;
        Real r = a;  // aliased
        real_recip(r.data(), r.data());
        const double d = ulps_from_ratio(r.data(), m, x.num, x.den, x.e10);
        EXPECT_TRUE(std::abs(d) <= 0.5 + 1e-9 && real_well_formed(r.data(), m))
            << d << " units off, m=" << m << " a=" << real_text(a.data(), m, 60);
        if (HasFailure()) return;
    }
}

TEST_F(RealDivTest, WordQuotientIsExactTruncation) {
    const u64 words[] = {1, 2, 3, 7, 10, 99, 100, 101, REAL_BASE - 1, REAL_BASE, ~u64{0}};
    for (i64 iter = 0; iter < test_iterations(300); ++iter) {
        const i64 m = pick_words(rng, iter % 40);
        set_words(m);
        const Real a = random_real(rng, m);
        const u64 v =
            rng.chance(50) ? words[rng.range(0, 10)] : (rng.word() >> rng.range(0, 63)) | 1;
        Real r = a;
        const u64 spill = real_div_u64(r.data(), r.data(), v);
        if (real_is_zero(a.data())) {
            EXPECT_TRUE(real_is_zero(r.data()) && spill == 0);
            continue;
        }
        Ratio x;
        real_exact(x.num, &x.e10, a.data(), m);
        mpz_set_ui(x.den, v);
        EXPECT_TRUE(spill_and_rounding(r, spill, m, x, -1, 0))
            << "m=" << m << " v=" << v << " a=" << real_text(a.data(), m, 60);
        if (HasFailure()) return;
    }
}

void divide_and_round(u64* dst, const u64* a, const u64* b) {
    const u64 spill = real_div(dst, a, b);
    real_round_guard(dst, spill, mp_real_words);
}

// Inside a guarded call the body works to 19m + g digits only; the rounded
// result must still be the correctly rounded quotient.
TEST_F(RealDivTest, GuardedQuotientIsCorrectlyRounded) {
    mp_set_real_words(1);
    Real one(2), two(2), three(2), r(2);
    real_from_i64(one.data(), 1);
    real_from_i64(two.data(), 2);
    real_from_i64(three.data(), 3);
    real_guarded_binary(r.data(), one.data(), three.data(), 2, divide_and_round);
    EXPECT_EQ(r[1], 3333333333333333333ULL);
    EXPECT_EQ(real_exp_of(r.data()), -1);
    real_guarded_binary(r.data(), two.data(), three.data(), 2, divide_and_round);
    EXPECT_EQ(r[1], 6666666666666666667ULL);
    EXPECT_EQ(real_exp_of(r.data()), -1);
    RandomRealOptions nonzero;
    nonzero.zero_percent = 0;
    for (i64 iter = 0; iter < test_iterations(60); ++iter) {
        const i64 m = iter < 8 ? std::min<i64>(FIXED_WORDS[iter], 527) : rng.range(1, 40);
        mp_set_real_words(static_cast<i32>(m));
        const Real a = random_real(rng, m, nonzero), b = random_real(rng, m, nonzero);
        Real q(static_cast<std::size_t>(m + 1));
        real_guarded_binary(q.data(), a.data(), b.data(), 2, divide_and_round);
        Ratio x;
        exact_quotient(x, a.data(), b.data(), m);
        const double d = ulps_from_ratio(q.data(), m, x.num, x.den, x.e10);
        EXPECT_TRUE(std::abs(d) <= 0.5 + 1e-6) << d << " units off, " << operands(a, b, m);
        if (HasFailure()) return;
    }
}

TEST_F(RealDivTest, ErrorsZerosAndExponentRange) {
    RandomRealOptions nonzero;
    nonzero.zero_percent = 0;
    for (i64 m : {1, 2, 7, 60}) {
        set_words(m);
        Real a = random_real(rng, m, nonzero), b = random_real(rng, m, nonzero);
        Real z(static_cast<std::size_t>(m + 1)), r = a;
        real_zero(z.data(), 1);
        // Division by zero: error 13 and +0, for each routine.
        EXPECT_EQ(real_div(r.data(), a.data(), z.data()), 0U);
        EXPECT_TRUE(real_is_zero(r.data()) && real_sign(r.data()) == 0);
        EXPECT_EQ(mp_err(), MP_ERR_DIV_ZERO);
        mp_error.store(0);
        r = a;
        real_recip(r.data(), z.data());
        EXPECT_TRUE(real_is_zero(r.data()) && real_sign(r.data()) == 0);
        EXPECT_EQ(mp_err(), MP_ERR_DIV_ZERO);
        mp_error.store(0);
        r = a;
        EXPECT_EQ(real_div_u64(r.data(), a.data(), 0), 0U);
        EXPECT_TRUE(real_is_zero(r.data()) && mp_err() == MP_ERR_DIV_ZERO);
        mp_error.store(0);
        // A zero dividend: a zero with the quotient's sign, no error.
        real_set_header(b.data(), 4, 0);
        EXPECT_EQ(real_div(r.data(), z.data(), b.data()), 0U);
        EXPECT_TRUE(real_is_zero(r.data()) && real_sign(r.data()) == 1 && mp_err() == 0);
        // Beyond the range: error 10 and +0; below it: a signed zero.
        real_set_header(a.data(), REAL_EXP_MAX, 0);
        real_set_header(b.data(), REAL_EXP_MIN, 1);
        EXPECT_EQ(real_div(r.data(), a.data(), b.data()), 0U);
        EXPECT_TRUE(real_is_zero(r.data()) && real_sign(r.data()) == 0);
        EXPECT_EQ(mp_err(), MP_ERR_EXP_OVERFLOW);
        mp_error.store(0);
        EXPECT_EQ(real_div(r.data(), b.data(), a.data()), 0U);
        EXPECT_TRUE(real_is_zero(r.data()) && real_sign(r.data()) == 1 && mp_err() == 0);
        real_one(b.data());  // 1e-(2^62 - 1) / 7 is below the range
        real_set_header(b.data(), REAL_EXP_MIN, 1);
        EXPECT_EQ(real_div_u64(r.data(), b.data(), 7), 0U);
        EXPECT_TRUE(real_is_zero(r.data()) && real_sign(r.data()) == 1 && mp_err() == 0);
    }
}

// ---- real_divmod -----------------------------------------------------------

void set_i64(Real& x, i64 v) {
    x.assign(static_cast<std::size_t>(mp_real_words + 1), 0);
    real_from_i64(x.data(), v);
}

// The expected quotient and remainder of a / b: q truncated toward zero to
// 19m significant digits (qnum 10^qexp), r exact (rnum 10^rexp), signs as
// real_divmod gives them.
struct DivmodWant {
    Mpz qnum, rnum;
    i64 qexp = 0, rexp = 0;
    int qsign = 0, rsign = 0;
};

void expected_divmod(DivmodWant& w, const u64* a, const u64* b, i64 m) {
    Mpz na, nb, t, p;
    i64 ea, eb;
    real_exact(na, &ea, a, m);
    real_exact(nb, &eb, b, m);
    w.qsign = real_sign(a) ^ real_sign(b);
    mpz_abs(na, na);
    mpz_abs(nb, nb);
    w.rexp = eb;
    if (real_cmp_abs(a, b) < 0) {
        mpz_set_ui(w.qnum, 0);
        mpz_set(w.rnum, na);
        w.rexp = ea;
        w.rsign = real_sign(a);
        return;
    }
    w.rsign = w.qsign;
    const i64 delta = ea - eb;  // >= 0 here
    // The remainder from a modular power, the quotient from 19m + 25 digits of it.
    mpz_set_ui(t, 10);
    mpz_set_ui(p, static_cast<unsigned long>(delta));
    mpz_powm(t, t, p, nb);
    mpz_mul(t, t, na);
    mpz_mod(w.rnum, t, nb);
    const i64 lead = static_cast<i64>(mpz_sizeinbase(na.get(), 10)) -
                     static_cast<i64>(mpz_sizeinbase(nb.get(), 10));
    const i64 k = std::min<i64>(delta, 19 * m + 25 - lead);
    mpz_ui_pow_ui(p, 10, static_cast<unsigned long>(k));
    mpz_mul(t, na, p);
    mpz_tdiv_q(w.qnum, t, nb);
    w.qexp = delta - k;
    // Cut to 19m significant digits (toward zero); sizeinbase may count one
    // digit too many.
    i64 digits = static_cast<i64>(mpz_sizeinbase(w.qnum.get(), 10));
    mpz_ui_pow_ui(p, 10, static_cast<unsigned long>(digits - 1));
    if (mpz_cmp(w.qnum, p) < 0) --digits;
    const i64 drop = digits - 19 * m;
    if (drop > 0) {
        mpz_ui_pow_ui(p, 10, static_cast<unsigned long>(drop));
        mpz_tdiv_q(w.qnum, w.qnum, p);
        w.qexp += drop;
    }
}

::testing::AssertionResult holds(const u64* x, i64 m, const Mpz& num, i64 e10, int sign) {
    Mpz den, signed_num;
    mpz_set_ui(den, 1);
    mpz_set(signed_num, num);
    if (sign) mpz_neg(signed_num, signed_num);
    const double d = ulps_from_ratio(x, m, signed_num, den, e10);
    if (d != 0 || real_sign(x) != sign)
        return ::testing::AssertionFailure()
               << real_text(x, m, 60) << " is " << d << " units from " << (sign ? "-" : "")
               << num.hex() << " (hex) * 10^" << e10;
    return real_well_formed(x, m);
}

// Hard cases, each with its reason.
TEST_F(RealDivTest, DivmodTable) {
    struct Row {
        i64 a, b, q, r;
        bool q_negative;  // for q = 0
    };
    const Row rows[] = {
        {7, 2, 3, 1, false},    // the plain case
        {-7, 2, -3, -1, true},  // a negative dividend: both negative
        {7, -2, -3, -1, true},  // a negative divisor: r takes sign(a) xor sign(b)
        {-7, -2, 3, 1, false},  // both negative: r positive by the same rule
        {1, 3, 0, 1, false},    // |a| < |b|: r = a
        {1, -2, 0, 1, true},    // |a| < |b|: r = a with a's sign, q = -0
        {6, 3, 2, 0, false},    // exact: r is zero
        {12345, 1, 12345, 0, false},
    };
    Real a, b, q, r;
    for (i64 m : {1, 3}) {
        mp_set_real_words(static_cast<i32>(m));
        for (const Row& row : rows) {
            set_i64(a, row.a);
            set_i64(b, row.b);
            q = a;
            r = a;
            real_divmod(q.data(), r.data(), a.data(), b.data(), 0);
            EXPECT_EQ(real_cmp_i64(q.data(), row.q), 0) << row.a << " / " << row.b;
            EXPECT_EQ(real_cmp_i64(r.data(), row.r), 0) << row.a << " % " << row.b;
            if (row.q == 0) {
                EXPECT_EQ(real_sign(q.data()), row.q_negative ? 1 : 0);
            }
            EXPECT_EQ(mp_err(), 0);
        }
        // A quotient of 5 digits with a limit of 3: error 14, both +0.
        set_i64(a, 12345);
        set_i64(b, 1);
        real_divmod(q.data(), r.data(), a.data(), b.data(), 3);
        EXPECT_TRUE(real_is_zero(q.data()) && real_is_zero(r.data()));
        EXPECT_EQ(mp_err(), MP_ERR_DOMAIN);
        mp_error.store(0);
        // Division by zero: error 13, both +0.
        set_i64(b, 0);
        real_divmod(q.data(), r.data(), a.data(), b.data(), 0);
        EXPECT_TRUE(real_is_zero(q.data()) && real_is_zero(r.data()));
        EXPECT_EQ(mp_err(), MP_ERR_DIV_ZERO);
        mp_error.store(0);
        // The quotient's exponent beyond the range: error 10, both +0.
        set_i64(a, 5);
        set_i64(b, 3);
        real_set_header(a.data(), REAL_EXP_MAX, 0);
        real_set_header(b.data(), REAL_EXP_MIN, 0);
        real_divmod(q.data(), r.data(), a.data(), b.data(), 0);
        EXPECT_TRUE(real_is_zero(q.data()) && real_is_zero(r.data()));
        EXPECT_EQ(mp_err(), MP_ERR_EXP_OVERFLOW);
        mp_error.store(0);
    }
}

TEST_F(RealDivTest, DivmodMatchesGmp) {
    RandomRealOptions nonzero;
    nonzero.zero_percent = 0;
    for (i64 iter = 0; iter < test_iterations(150); ++iter) {
        const i64 m = pick_words(rng, iter % 30);
        set_words(m);
        Real a = random_real(rng, m), b = random_real(rng, m, nonzero);
        // Exponent gaps: around the precision, small, negative, or far beyond it.
        i64 delta;
        switch (rng.range(0, 4)) {
            case 0:
                delta = 19 * m + rng.range(-3, 3);
                break;
            case 1:
                delta = rng.range(-2, 40);
                break;
            case 2:
                delta = rng.range(0, 19 * m + 60);
                break;
            case 3:
                delta = rng.range(19 * m, 20000);
                break;
            default:
                delta = rng.range(1, 1000000000000000LL);
        }
        const i64 eb = rng.range(-50, 50);
        real_set_header(b.data(), eb, real_sign(b.data()));
        if (!real_is_zero(a.data())) real_set_header(a.data(), eb + delta, real_sign(a.data()));
        if (rng.chance(10)) real_copy(a.data(), b.data());  // a quotient of exactly 1
        DivmodWant w;
        if (!real_is_zero(a.data())) expected_divmod(w, a.data(), b.data(), m);
        Real q(static_cast<std::size_t>(m + 1)), r = q;
        // Aliased either way round, or apart.
        Real qa = a, rb = b;
        const int alias = static_cast<int>(rng.range(0, 2));
        u64* qp = alias == 1 ? qa.data() : q.data();
        u64* rp = alias == 1 ? rb.data() : r.data();
        if (alias == 2) {
            qp = rb.data();
            rp = qa.data();
        }
        real_divmod(qp, rp, qa.data(), rb.data(), 0);
        EXPECT_EQ(mp_err(), 0);
        const std::string trace = operands(a, b, m) + " delta=" + std::to_string(delta);
        if (real_is_zero(a.data())) {
            EXPECT_TRUE(real_is_zero(qp) && real_is_zero(rp)) << trace;
            continue;
        }
        EXPECT_TRUE(holds(qp, m, w.qnum, w.qexp, w.qsign)) << "quotient of " << trace;
        EXPECT_TRUE(holds(rp, m, w.rnum, w.rexp, w.rsign)) << "remainder of " << trace;
        if (HasFailure()) return;
    }
}

TEST_F(RealDivTest, DivmodIsIsolatedFromPendingError) {
    mp_set_real_words(2);
    Real a, b, q(3), r(3);
    set_i64(a, -1000003);
    set_i64(b, 10);
    mp_raise(MP_ERR_SYNTAX);
    real_divmod(q.data(), nullptr, a.data(), b.data(), 0);
    EXPECT_EQ(real_cmp_i64(q.data(), -100000), 0);
    real_divmod(nullptr, r.data(), a.data(), b.data(), 0);
    EXPECT_EQ(real_cmp_i64(r.data(), -3), 0);
    // Its own error still zeroes the results; the pending one stays.
    real_divmod(q.data(), r.data(), a.data(), b.data(), 2);
    EXPECT_TRUE(real_is_zero(q.data()) && real_is_zero(r.data()));
    EXPECT_EQ(mp_err(), MP_ERR_SYNTAX);
}

}  // namespace
