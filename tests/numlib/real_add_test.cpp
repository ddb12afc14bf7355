// Addition and subtraction against exact integer arithmetic: the result with
// its spill word must be the exact sum of the larger-exponent operand and the
// other one cut below the spill, truncated to 19 (m + 1) digits; rounded with
// the spill it is within one unit of the last digit of the exact sum.
#include <gmp.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "numlib/mp_error.h"
#include "numlib/real.h"
#include "support/mpfr_oracle.h"
#include "support/numlib_fixture.h"

namespace {

using RealAddTest = NumlibTest;
using Words = std::vector<u64>;

// n * 10^e.
struct Exact {
    Mpz n;
    i64 e = 0;
};

void pow10(mpz_t p, i64 k) {
    mpz_ui_pow_ui(p, 10, static_cast<unsigned long>(k));
}

// Decimal digits of |n|, 0 for 0.
i64 digit_count(const Mpz& n) {
    if (mpz_sgn(n.get()) == 0) return 0;
    i64 d = static_cast<i64>(mpz_sizeinbase(n, 10));
    Mpz p;
    pow10(p, d - 1);
    if (mpz_cmpabs(n, p) < 0) --d;
    return d;
}

// x = x truncated toward zero to a multiple of 10^unit, unit >= x.e.
void truncate_to(Exact& x, i64 unit) {
    if (unit <= x.e) return;
    if (unit - x.e > digit_count(x.n)) {
        mpz_set_ui(x.n, 0);
    } else {
        Mpz p;
        pow10(p, unit - x.e);
        mpz_tdiv_q(x.n, x.n, p);
    }
    x.e = unit;
}

// out = a + b; the exponents must be close enough to align in memory.
void exact_add(Exact& out, const Exact& a, const Exact& b) {
    const i64 e = a.e < b.e ? a.e : b.e;
    Mpz p, t;
    pow10(p, a.e - e);
    mpz_mul(t, a.n, p);
    pow10(p, b.e - e);
    mpz_addmul(t, b.n, p);
    mpz_set(out.n, t);
    out.e = e;
}

bool exact_equal(const Exact& a, const Exact& b) {
    Exact neg, d;
    mpz_neg(neg.n, b.n);
    neg.e = b.e;
    exact_add(d, a, neg);
    return mpz_sgn(d.n.get()) == 0;
}

std::string exact_text(const Exact& x) {
    return x.n.hex() + " * 10^" + std::to_string(x.e);
}

// The value of x (m words) followed by its spill word.
void exact_with_spill(Exact& out, const u64* x, u64 spill, i64 m) {
    Words w(x, x + m + 1);
    w.push_back(spill);
    real_exact(out.n, &out.e, w.data(), m + 1);
}

// What real_add_sub must return: the larger-exponent operand plus the other
// cut to the spill's last digit, truncated to 19 (m + 1) digits.
void expected_sum(Exact& out, const u64* a, const u64* b, int sub, i64 m) {
    Exact x, y;
    real_exact(x.n, &x.e, a, m);
    real_exact(y.n, &y.e, b, m);
    if (sub) mpz_neg(y.n, y.n);
    if (real_is_zero(a) || real_is_zero(b)) {
        const Exact& other = real_is_zero(a) ? y : x;
        mpz_set(out.n, other.n);
        out.e = other.e;
        return;
    }
    const bool a_big = real_exp_of(a) >= real_exp_of(b);
    Exact& big = a_big ? x : y;
    Exact& small = a_big ? y : x;
    truncate_to(small, big.e - 19);
    exact_add(out, big, small);
    const i64 digits = digit_count(out.n);
    if (digits > 19 * (m + 1)) truncate_to(out, out.e + digits - 19 * (m + 1));
}

// A second operand for a: random, of nearby exponent, or one that cancels
// most of a's digits.
Words second_operand(TestRng& rng, const Words& a, i64 m, int* sub) {
    RandomRealOptions opt;
    const int shape = static_cast<int>(rng.range(0, 9));
    if (shape <= 3) {
        const i64 e = real_exp_of(a.data());
        opt.exp_min = e - (shape == 0 ? 19 * m + 40 : 3);
        opt.exp_max = e + (shape == 0 ? 19 * m + 40 : 3);
        return random_real(rng, m, opt);
    }
    if (shape <= 5) {
        opt.exp_min = -4000000000000000000;
        opt.exp_max = 4000000000000000000;
        return random_real(rng, m, opt);
    }
    // Near cancellation: a itself with the sign that cancels, one word moved
    // by one, or the exponent one lower.
    Words b = a;
    *sub = 1;
    if (rng.chance(50)) {
        real_negate(b.data());
        *sub = 0;
    }
    const i64 w = rng.range(1, m);
    if (real_is_zero(b.data())) return b;
    if (shape == 7 && b[w] + 1 < REAL_BASE) ++b[w];
    if (shape == 8 && b[w] > (w == 1 ? REAL_TOP : 0)) --b[w];
    if (shape == 9) real_add_exp(b.data(), -1);
    return b;
}

void check_random_sum(TestRng& rng, i64 m, i32 pending) {
    const Words a = random_real(rng, m, {.exp_min = -60, .exp_max = 60, .zero_percent = 3});
    int sub = static_cast<int>(rng.range(0, 1));
    const Words b = second_operand(rng, a, m, &sub);
    const std::string what = "m=" + std::to_string(m) + " sub=" + std::to_string(sub) +
                             "\n a=" + real_text(a.data(), m, 60) +
                             "\n b=" + real_text(b.data(), m, 60);
    Exact want;
    expected_sum(want, a.data(), b.data(), sub, m);

    // Destination apart or aliased to either operand.
    const int alias = static_cast<int>(rng.range(0, 2));
    Words x = a, y = b, out(static_cast<std::size_t>(m + 1));
    u64* dst = alias == 0 ? out.data() : (alias == 1 ? x.data() : y.data());
    const u64 spill = real_add_sub(dst, x.data(), y.data(), sub);
    ASSERT_EQ(mp_err(), pending) << what;
    ASSERT_TRUE(real_well_formed(dst, m)) << what;
    ASSERT_LT(spill, REAL_BASE) << what;
    Exact got;
    exact_with_spill(got, dst, spill, m);
    ASSERT_TRUE(exact_equal(got, want))
        << what << "\n got " << exact_text(got) << "\n want " << exact_text(want);
    if (mpz_sgn(want.n.get()) == 0 && !real_is_zero(a.data()) && !real_is_zero(b.data())) {
        ASSERT_EQ(dst[0], 0u) << what << " a cancellation gives +0";
    }

    // Rounded with the spill: within one unit of the exact sum.
    const i64 ea = real_exp_of(a.data()), eb = real_exp_of(b.data());
    if ((ea > eb ? ea - eb : eb - ea) > 19 * m + 40) return;
    Exact sum, other;
    real_exact(sum.n, &sum.e, a.data(), m);
    real_exact(other.n, &other.e, b.data(), m);
    if (sub) mpz_neg(other.n, other.n);
    exact_add(sum, sum, other);
    Mpfr exact(std::max<mpfr_prec_t>(64, static_cast<mpfr_prec_t>(mpz_sizeinbase(sum.n, 2))));
    mpfr_set_z(exact, sum.n, MPFR_RNDN);  // exact: enough bits
    real_round_guard(dst, spill, static_cast<i32>(m));
    ASSERT_LE(std::fabs(ulps_from(dst, m, exact, sum.e)), 1.0)
        << what << "\n rounded " << real_text(dst, m, 60);
}

TEST_F(RealAddTest, RandomSumsMatchExactArithmetic) {
    for (i64 iter = 0; iter < test_iterations(3000); ++iter) {
        const i64 m = rng.chance(60) ? rng.range(1, 4)
                                     : (rng.chance(50) ? rng.range(5, 60) : rng.range(1, 528));
        mp_real_words = static_cast<i32>(m);  // 528 is the guarded width
        // Sometimes with an error pending: it stays, and the sum is the same.
        const i32 pending = rng.chance(10) ? MP_ERR_DIV_ZERO : 0;
        mp_error = pending;
        check_random_sum(rng, m, pending);
        if (HasFatalFailure()) return;
    }
}

// Hard cases, all at m = 3 unless noted.
TEST_F(RealAddTest, CarriesCancellationsAndZeros) {
    const i64 m = 3;
    mp_set_real_words(m);
    Words a(m + 1), b(m + 1), r(m + 1);
    // 1 + (-1) = +0, also written as 1 - 1
    real_one(a.data());
    real_one(b.data());
    real_negate(b.data());
    EXPECT_EQ(real_add_sub(r.data(), a.data(), b.data(), 0), 0u);
    EXPECT_EQ(r, Words(m + 1, 0)) << "1 + (-1)";
    real_negate(b.data());
    real_add_sub(r.data(), a.data(), b.data(), 1);
    EXPECT_EQ(r, Words(m + 1, 0)) << "1 - 1";
    // all nines + 10^(-19m + 1): the carry makes 10, exactly
    for (i64 i = 1; i <= m; ++i) a[i] = REAL_BASE - 1;
    real_set_header(a.data(), 0, 0);
    real_one(b.data());
    real_set_exp(b.data(), -19 * m + 1);
    EXPECT_EQ(real_add_sub(r.data(), a.data(), b.data(), 0), 0u);
    EXPECT_EQ(r, (Words{2, REAL_TOP, 0, 0})) << real_text(r.data(), m);
    // 1 - 10^(-19m): a cancellation of one digit pulls the spill up
    real_one(a.data());
    real_set_exp(b.data(), -19 * m);
    EXPECT_EQ(real_add_sub(r.data(), a.data(), b.data(), 1), 0u);
    EXPECT_EQ(r, (Words{static_cast<u64>(-2), REAL_BASE - 1, REAL_BASE - 1, REAL_BASE - 1}))
        << real_text(r.data(), m);
    // 0 - x is -x, whichever zero; x - 0 is x
    real_zero(a.data(), 1);
    real_from_i64(b.data(), 5);
    real_add_sub(r.data(), a.data(), b.data(), 1);
    EXPECT_EQ(real_cmp_i64(r.data(), -5), 0);
    real_add_sub(r.data(), b.data(), a.data(), 0);
    EXPECT_EQ(r, b);
    EXPECT_EQ(mp_err(), 0);
}

TEST_F(RealAddTest, ExponentRangeRules) {
    mp_set_real_words(2);
    Words a(3), b(3), r(3);
    // The largest value doubled overflows: error 10 and +0.
    real_special(a.data(), 11);
    EXPECT_EQ(real_add_sub(r.data(), a.data(), a.data(), 0), 0u);
    EXPECT_EQ(mp_err(), MP_ERR_EXP_OVERFLOW);
    EXPECT_EQ(r, Words(3, 0));
    mp_error = 0;
    // A difference below the smallest exponent is a signed zero, no error:
    // -(1.5 - 1.4) * 10^min.
    a = {0, 1500000000000000000, 0};
    b = {0, 1400000000000000000, 0};
    real_set_header(a.data(), REAL_EXP_MIN, 1);
    real_set_header(b.data(), REAL_EXP_MIN, 1);
    EXPECT_EQ(real_add_sub(r.data(), a.data(), b.data(), 1), 0u);
    EXPECT_EQ(mp_err(), 0);
    EXPECT_TRUE(real_is_zero(r.data()));
    EXPECT_EQ(real_sign(r.data()), 1);
}

}  // namespace
