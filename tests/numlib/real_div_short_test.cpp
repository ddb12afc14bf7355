// Quotients of short mantissas, which real_div forms by long division: the
// result and its spill are the exact truncation of the quotient's digits.
// Random operands of every short length, and quotients that come within a
// unit of a whole number at every step, where a quotient word's estimate
// from the top words is one off and the remainder's sign corrects it.
#include <gmp.h>

#include <algorithm>
#include <string>
#include <vector>

#include "numlib/mp_error.h"
#include "numlib/real.h"
#include "numlib/real_div_impl.h"
#include "support/gmp_oracle.h"
#include "support/numlib_fixture.h"

namespace {

using Real = std::vector<u64>;

// The mantissa's 19m digits as an integer.
void mantissa_int(mpz_ptr z, const u64* x, i64 m) {
    mpz_set_ui(z, 0);
    for (i64 i = 1; i <= m; ++i) {
        mpz_mul_ui(z, z, 1000000000ULL);
        mpz_mul_ui(z, z, 10000000000ULL);
        mpz_add_ui(z, z, x[i]);
    }
}

// A real with the mantissa integer z (19m digits, leading digit non-zero).
Real real_of_int(mpz_srcptr z, i64 m, i64 e, int sign) {
    Real x(static_cast<std::size_t>(m + 1));
    Mpz rest;
    mpz_set(rest, z);
    for (i64 i = m; i >= 1; --i)
        x[static_cast<std::size_t>(i)] = mpz_fdiv_q_ui(rest, rest, REAL_BASE);
    real_set_header(x.data(), e, sign);
    return x;
}

class RealDivShortTest : public NumlibTest {
  protected:
    // real_div(a, b) against the first 19(m + 1) digits of the exact
    // quotient: m result words and the spill, truncated.
    void check(const Real& a, const Real& b, i64 m) {
        mp_set_real_words(static_cast<i32>(m));
        Real r(static_cast<std::size_t>(m + 1));
        const u64 spill = real_div(r.data(), a.data(), b.data());
        Mpz num, den, q;
        mantissa_int(num, a.data(), m);
        mantissa_int(den, b.data(), m);
        const bool below_one = mpz_cmp(num, den) < 0;
        mpz_ui_pow_ui(q, 10, static_cast<unsigned long>(19 * (m + 1) - (below_one ? 0 : 1)));
        mpz_mul(q, q, num);
        mpz_fdiv_q(q, q, den);
        const u64 want_spill = mpz_fdiv_q_ui(q, q, REAL_BASE);
        const i64 e = real_exp_of(a.data()) - real_exp_of(b.data()) - (below_one ? 1 : 0);
        const Real want = real_of_int(q, m, e, real_sign(a.data()) ^ real_sign(b.data()));
        EXPECT_EQ(r, want) << operands(a, b, m);
        EXPECT_EQ(spill, want_spill) << operands(a, b, m);
        EXPECT_EQ(mp_err(), 0);
    }

    static std::string operands(const Real& a, const Real& b, i64 m) {
        return "m=" + std::to_string(m) + " a=" + words_hex(a.data(), m + 1) +
               " b=" + words_hex(b.data(), m + 1);
    }

    // A mantissa of varied words: random, 0, B - 1, 10^18.
    Real mantissa(i64 m) {
        Real x(static_cast<std::size_t>(m + 1));
        for (i64 i = 1; i <= m; ++i) {
            const i64 kind = rng.range(0, 9);
            x[static_cast<std::size_t>(i)] = kind == 0   ? 0
                                             : kind == 1 ? REAL_BASE - 1
                                             : kind == 2 ? REAL_TOP
                                                         : rng.word() % REAL_BASE;
        }
        if (x[1] < REAL_TOP) x[1] = REAL_TOP + rng.word() % (REAL_BASE - REAL_TOP);
        real_set_header(x.data(), rng.range(-40, 40), static_cast<int>(rng.range(0, 1)));
        return x;
    }
};

// Operands at the ends of the word range come often: 10^18 0 ... 0 scales
// the divisor by 9 before dividing, B - 1 words not at all, and a top word
// of B - 1 over 10^18 gives a first digit of 9.
TEST_F(RealDivShortTest, RandomQuotientsAreExactTruncations) {
    for (i64 iter = 0; iter < test_iterations(3000); ++iter) {
        const i64 m = 1 + iter % REAL_DIV_SHORT_MAX;
        Real a = mantissa(m), b = mantissa(m);
        for (Real* x : {&a, &b}) {
            if (!rng.chance(15)) continue;
            const bool low = rng.chance(50);
            std::fill(x->begin() + 1, x->end(), low ? 0 : REAL_BASE - 1);
            (*x)[1] = low ? REAL_TOP : REAL_BASE - 1;
        }
        check(a, b, m);
        if (iter % 8 == 0) check(a, a, m);  // exactly 1
    }
}

TEST_F(RealDivShortTest, QuotientsNextToWholeNumbers) {
    // a = floor(b t / 10^j) + delta: a / b is t / 10^j to within a unit of
    // a's last digit, so every quotient word after t's digits is 0 or B - 1
    // and the remainder stays next to 0 or to b.
    Mpz bi, ai, t, p;
    for (i64 iter = 0; iter < test_iterations(600); ++iter) {
        const i64 m = 1 + iter % REAL_DIV_SHORT_MAX;
        const Real b = mantissa(m);
        mantissa_int(bi, b.data(), m);
        mpz_set_ui(t, 1 + rng.word() % 9999999999ULL);
        mpz_mul(p, bi, t);
        // Keep 19m digits.
        const auto digits = static_cast<i64>(mpz_sizeinbase(p, 10));
        mpz_ui_pow_ui(ai, 10, static_cast<unsigned long>(digits - 19 * m));
        mpz_fdiv_q(ai, p, ai);
        if (mpz_sizeinbase(ai, 10) > static_cast<std::size_t>(19 * m)) mpz_fdiv_q_ui(ai, ai, 10);
        const i64 delta = rng.range(-1, 1);
        if (delta < 0) mpz_sub_ui(ai, ai, 1);
        if (delta > 0) mpz_add_ui(ai, ai, 1);
        Mpz lo, hi;
        mpz_ui_pow_ui(lo, 10, static_cast<unsigned long>(19 * m - 1));
        mpz_ui_pow_ui(hi, 10, static_cast<unsigned long>(19 * m));
        if (mpz_cmp(ai, lo) < 0 || mpz_cmp(ai, hi) >= 0) continue;
        check(real_of_int(ai, m, rng.range(-5, 5), 0), b, m);
    }
}

}  // namespace
