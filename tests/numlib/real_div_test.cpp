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
using RealDivTest = NumlibTest;

// The digit integers of a and b (b's made positive) and e_a - e_b.
i64 ratio(Mpz& num, Mpz& den, const u64* a, const u64* b, i64 m) {
    i64 ea, eb;
    real_exact(num, &ea, a, m);
    real_exact(den, &eb, b, m);
    if (real_sign(b)) {
        mpz_neg(num, num);
        mpz_neg(den, den);
    }
    return ea - eb;
}

std::string operands(const u64* a, const u64* b, i64 m) {
    return "m=" + std::to_string(m) + " a=" + real_text(a, m, 60) + " b=" + real_text(b, m, 60);
}

Real real_i64(i64 v) {
    Real x(static_cast<std::size_t>(mp_real_words + 1));
    real_from_i64(x.data(), v);
    return x;
}

// Quotients and reciprocals; the quotient's spill is within 2 units, both
// round to half a unit. Aliased with each operand.
TEST_F(RealDivTest, QuotientAndReciprocalRoundToHalfUnit) {
    RandomRealOptions opt, nonzero;
    opt.exp_min = nonzero.exp_min = -300;
    opt.exp_max = nonzero.exp_max = 300;
    nonzero.zero_percent = 0;
    for (i64 iter = 0; iter < test_iterations(120); ++iter) {
        const i64 m = real_test_words(rng, iter % 40);
        mp_real_words = static_cast<i32>(m);  // 528 is past the setter's range
        const Real a = random_real(rng, m, opt);
        const Real b = rng.chance(5) && !real_is_zero(a.data()) ? a : random_real(rng, m, nonzero);
        Mpz num, den, one;
        const i64 e10 = ratio(num, den, a.data(), b.data(), m);
        Real r(static_cast<std::size_t>(m + 1)), ra = a, rb = b;
        const u64 spill = real_div(r.data(), a.data(), b.data());
        EXPECT_TRUE(spill_and_rounding(r.data(), spill, m, num, den, e10, -2, 2))
            << operands(a.data(), b.data(), m);
        EXPECT_EQ(real_div(ra.data(), ra.data(), b.data()), spill);
        EXPECT_EQ(real_div(rb.data(), a.data(), rb.data()), spill);
        EXPECT_TRUE(ra == r && rb == r) << "aliased quotient differs, m=" << m;
        // 1 / b, in place: (+-1 / |n_b|) 10^-e_b.
        i64 eb;
        real_exact(den, &eb, b.data(), m);
        mpz_set_si(one, mpz_sgn(den.get()));
        mpz_abs(den, den);
        Real rr = b;
        real_recip(rr.data(), rr.data());
        const double d = ulps_from_ratio(rr.data(), m, one, den, -eb);
        EXPECT_TRUE(std::abs(d) <= 0.5 + 1e-9)
            << d << " units off 1/b, " << operands(a.data(), b.data(), m);
        EXPECT_EQ(mp_err(), 0);
        if (HasFailure()) return;
    }
}

TEST_F(RealDivTest, WordQuotientIsExactTruncation) {
    const u64 words[] = {1, 2, 3, 7, 10, 99, 100, 101, REAL_BASE - 1, REAL_BASE, ~u64{0}};
    for (i64 iter = 0; iter < test_iterations(300); ++iter) {
        const i64 m = real_test_words(rng, iter % 40);
        mp_real_words = static_cast<i32>(m);
        const Real a = random_real(rng, m);
        const u64 v =
            rng.chance(50) ? words[rng.range(0, 10)] : (rng.word() >> rng.range(0, 63)) | 1;
        Real r = a;
        const u64 spill = real_div_u64(r.data(), r.data(), v);
        Mpz num, den;
        i64 e;
        real_exact(num, &e, a.data(), m);
        mpz_set_ui(den, v);
        EXPECT_TRUE(spill_and_rounding(r.data(), spill, m, num, den, e, -1, 0))
            << "m=" << m << " v=" << v << " a=" << real_text(a.data(), m, 60);
        if (HasFailure()) return;
    }
}

void divide_and_round(u64* dst, const u64* a, const u64* b) {
    real_round_guard(dst, real_div(dst, a, b), mp_real_words);
}

// Inside a guarded call the body works to 19m + g digits only; the rounded
// result must still be the correctly rounded quotient.
TEST_F(RealDivTest, GuardedQuotientIsCorrectlyRounded) {
    mp_set_real_words(1);
    Real r(2);
    real_guarded_binary(r.data(), real_i64(1).data(), real_i64(3).data(), 2, divide_and_round);
    EXPECT_TRUE(r[1] == 3333333333333333333ULL && real_exp_of(r.data()) == -1);
    real_guarded_binary(r.data(), real_i64(2).data(), real_i64(3).data(), 2, divide_and_round);
    EXPECT_TRUE(r[1] == 6666666666666666667ULL && real_exp_of(r.data()) == -1);
    RandomRealOptions nonzero;
    nonzero.zero_percent = 0;
    for (i64 iter = 0; iter < test_iterations(60); ++iter) {
        const i64 m = std::min<i64>(real_test_words(rng, iter % 20), 527);
        mp_set_real_words(static_cast<i32>(m));
        const Real a = random_real(rng, m, nonzero), b = random_real(rng, m, nonzero);
        Real q(static_cast<std::size_t>(m + 1));
        real_guarded_binary(q.data(), a.data(), b.data(), 2, divide_and_round);
        Mpz num, den;
        const double d =
            ulps_from_ratio(q.data(), m, num, den, ratio(num, den, a.data(), b.data(), m));
        EXPECT_TRUE(std::abs(d) <= 0.5 + 1e-6)
            << d << " units off, " << operands(a.data(), b.data(), m);
        if (HasFailure()) return;
    }
}

TEST_F(RealDivTest, ErrorsZerosAndExponentRange) {
    for (i32 m : {1, 2, 7, 60}) {
        mp_set_real_words(m);
        Real a = real_i64(5), b = real_i64(-1), z = real_i64(0), r = a;
        real_negate(z.data());
        // Division by zero: error 13 and +0, for each routine.
        real_div(r.data(), a.data(), z.data());
        real_recip(a.data(), z.data());
        real_div_u64(b.data(), b.data(), 0);
        EXPECT_TRUE(real_is_zero(r.data()) && real_is_zero(a.data()) && real_is_zero(b.data()));
        EXPECT_TRUE(real_sign(r.data()) == 0 && real_sign(a.data()) == 0 &&
                    real_sign(b.data()) == 0);
        EXPECT_EQ(mp_err(), MP_ERR_DIV_ZERO);
        mp_error.store(0);
        // A zero dividend: a zero with the quotient's sign, no error.
        a = real_i64(5);
        b = real_i64(-1);
        EXPECT_EQ(real_div(r.data(), z.data(), b.data()), 0U);
        EXPECT_TRUE(real_is_zero(r.data()) && real_sign(r.data()) == 0 && mp_err() == 0);
        // Beyond the range: error 10 and +0; below it: a signed zero.
        real_set_header(a.data(), REAL_EXP_MAX, 0);
        real_set_header(b.data(), REAL_EXP_MIN, 1);
        EXPECT_EQ(real_div(r.data(), b.data(), a.data()), 0U);
        EXPECT_TRUE(real_is_zero(r.data()) && real_sign(r.data()) == 1 && mp_err() == 0);
        EXPECT_EQ(real_div_u64(r.data(), b.data(), 7), 0U);
        EXPECT_TRUE(real_is_zero(r.data()) && real_sign(r.data()) == 1 && mp_err() == 0);
        EXPECT_EQ(real_div(r.data(), a.data(), b.data()), 0U);
        EXPECT_TRUE(real_is_zero(r.data()) && real_sign(r.data()) == 0);
        EXPECT_EQ(mp_err(), MP_ERR_EXP_OVERFLOW);
        mp_error.store(0);
    }
}

// ---- real_divmod -----------------------------------------------------------

// Hard cases, each with its reason.
TEST_F(RealDivTest, DivmodTable) {
    struct Row {
        i64 a, b, q, r;
        int q_sign;  // for q = 0
        i64 limit;
        i32 err;
    };
    const Row rows[] = {
        {7, 2, 3, 1, 0, 0, 0},       // the plain case
        {-7, 2, -3, -1, 1, 0, 0},    // a negative dividend: both negative
        {7, -2, -3, -1, 1, 0, 0},    // a negative divisor: r takes sign(a) xor sign(b)
        {-7, -2, 3, 1, 0, 0, 0},     // both negative: r positive by the same rule
        {1, 3, 0, 1, 0, 0, 0},       // |a| < |b|: r = a
        {1, -2, 0, 1, 1, 0, 0},      // |a| < |b|: r = a with a's sign, q = -0
        {6, 3, 2, 0, 0, 0, 0},       // exact: r is zero
        {12345, 1, 0, 0, 0, 3, 14},  // a quotient of 5 digits past a limit of 3
        {12345, 0, 0, 0, 0, 0, 13},  // division by zero
    };
    for (i32 m : {1, 3}) {
        mp_set_real_words(m);
        for (const Row& row : rows) {
            Real a = real_i64(row.a), b = real_i64(row.b), q = a, r = a;
            // With an error pending, which stays: the routine is isolated.
            if (row.err == 0 && row.b == 3) mp_raise(MP_ERR_SYNTAX);
            real_divmod(q.data(), r.data(), a.data(), b.data(), row.limit);
            const std::string trace = std::to_string(row.a) + " divmod " + std::to_string(row.b);
            EXPECT_EQ(real_cmp_i64(q.data(), row.q), 0) << trace;
            EXPECT_EQ(real_cmp_i64(r.data(), row.r), 0) << trace;
            EXPECT_EQ(real_sign(q.data()), row.q == 0 ? row.q_sign : static_cast<int>(row.q < 0))
                << trace;
            EXPECT_EQ(mp_err(), row.err ? row.err : (row.b == 3 ? MP_ERR_SYNTAX : 0)) << trace;
            mp_error.store(0);
        }
    }
    // The quotient's exponent beyond the range: error 10, both +0.
    Real a = real_i64(5), b = real_i64(3), q = a, r = a;
    real_set_header(a.data(), REAL_EXP_MAX, 0);
    real_set_header(b.data(), REAL_EXP_MIN, 0);
    real_divmod(q.data(), r.data(), a.data(), b.data(), 0);
    EXPECT_TRUE(real_is_zero(q.data()) && real_is_zero(r.data()));
    EXPECT_EQ(mp_err(), MP_ERR_EXP_OVERFLOW);
}

// q = |a| / |b| truncated toward zero to 19m digits, r = |a| mod |b| exactly
// (from a modular power of ten, so gaps of 10^15 digits are cheap to check).
TEST_F(RealDivTest, DivmodMatchesGmp) {
    RandomRealOptions nonzero;
    nonzero.zero_percent = 0;
    for (i64 iter = 0; iter < test_iterations(150); ++iter) {
        const i64 m = real_test_words(rng, iter % 30);
        mp_real_words = static_cast<i32>(m);
        Real a = random_real(rng, m, nonzero), b = random_real(rng, m, nonzero);
        // The exponent gap: around the precision, small, up to 20000, or huge.
        const i64 gaps[] = {19 * m + rng.range(-3, 3), rng.range(-2, 40), rng.range(0, 19 * m + 60),
                            rng.range(19 * m, 20000), rng.range(1, 1000000000000000LL)};
        const i64 delta = gaps[rng.range(0, 4)], eb = rng.range(-50, 50);
        real_set_header(b.data(), eb, real_sign(b.data()));
        real_set_header(a.data(), eb + delta, real_sign(a.data()));
        if (rng.chance(10)) a = b;  // a quotient of exactly 1
        Mpz na, nb, qw, rw, p;
        i64 ea, e;
        real_exact(na, &ea, a.data(), m);
        real_exact(nb, &e, b.data(), m);
        mpz_abs(na, na);
        mpz_abs(nb, nb);
        const bool small = real_cmp_abs(a.data(), b.data()) < 0;
        const int sign = real_sign(a.data()) ^ real_sign(b.data());
        const i64 gap = ea - e;
        i64 qexp = 0;
        if (small) {
            mpz_set(rw, na);
            e = ea;
        } else {
            mpz_set_ui(p, static_cast<unsigned long>(gap));
            mpz_set_ui(rw, 10);
            mpz_powm(rw, rw, p, nb);
            mpz_mul(rw, rw, na);
            mpz_mod(rw, rw, nb);
            // 19m + 40 digits of the quotient, then cut to 19m toward zero.
            const i64 k = std::min<i64>(gap, 19 * m + 40);
            mpz_ui_pow_ui(p, 10, static_cast<unsigned long>(k));
            mpz_mul(qw, na, p);
            mpz_tdiv_q(qw, qw, nb);
            qexp = gap - k;
        }
        Real q(static_cast<std::size_t>(m + 1)), r = q, qa = a, rb = b;
        const int alias = static_cast<int>(rng.range(0, 2));
        u64* qp = alias == 0 ? q.data() : (alias == 1 ? qa.data() : rb.data());
        u64* rp = alias == 0 ? r.data() : (alias == 1 ? rb.data() : qa.data());
        real_divmod(qp, rp, qa.data(), rb.data(), 0);
        const std::string trace = operands(a.data(), b.data(), m) + " gap=" + std::to_string(gap);
        // q: the reference cut at the unit of q's last digit.
        Mpz one, nq;
        mpz_set_ui(one, 1);
        if (small ? real_sign(a.data()) : sign) mpz_neg(rw, rw);
        if (!small && sign) mpz_neg(qw, qw);
        i64 eq;
        real_exact(nq, &eq, qp, m);
        if (!small && eq > qexp) {
            mpz_ui_pow_ui(p, 10, static_cast<unsigned long>(eq - qexp));
            mpz_tdiv_q(qw, qw, p);
            mpz_mul(qw, qw, p);
        }
        EXPECT_EQ(ulps_from_ratio(qp, m, qw, one, qexp), 0) << "quotient of " << trace;
        EXPECT_TRUE(small ? real_sign(qp) == sign : true);
        EXPECT_EQ(ulps_from_ratio(rp, m, rw, one, e), 0) << "remainder of " << trace;
        EXPECT_EQ(mp_err(), 0);
        if (HasFailure()) return;
    }
}

}  // namespace
