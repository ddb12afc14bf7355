// Comparisons and digit tests against exact integer arithmetic on the
// decimal values: x = n * 10^e with n and e from the MPFR oracle.
#include <gmp.h>

#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "numlib/mp_error.h"
#include "numlib/real.h"
#include "numlib/real_impl.h"
#include "support/mpfr_oracle.h"
#include "support/numlib_fixture.h"

namespace {

using RealCmpTest = NumlibTest;
using Words = std::vector<u64>;

constexpr u64 kPow18 = 1000000000000000000ULL;

// -1/0/+1 comparing x with y (or their magnitudes); exponents within a few
// hundred thousand of each other, or decided by the exponents.
int exact_cmp(const u64* x, const u64* y, i64 m, bool magnitude) {
    Mpz nx, ny, p;
    i64 ex, ey;
    real_exact(nx, &ex, x, m);
    real_exact(ny, &ey, y, m);
    if (magnitude) {
        mpz_abs(nx, nx);
        mpz_abs(ny, ny);
    }
    if (mpz_sgn(nx.get()) != mpz_sgn(ny.get()) || mpz_sgn(nx.get()) == 0)
        return mpz_sgn(nx.get()) > mpz_sgn(ny.get())
                   ? 1
                   : (mpz_sgn(nx.get()) < mpz_sgn(ny.get()) ? -1 : 0);
    const i64 e = ex < ey ? ex : ey;
    if ((ex > ey ? ex - ey : ey - ex) > 100000) {
        // Far apart exponents: the larger one wins on magnitude.
        const int c = (ex + static_cast<i64>(mpz_sizeinbase(nx, 10))) >
                              (ey + static_cast<i64>(mpz_sizeinbase(ny, 10)))
                          ? 1
                          : -1;
        return mpz_sgn(nx.get()) < 0 ? -c : c;
    }
    mpz_ui_pow_ui(p, 10, static_cast<unsigned long>(ex - e));
    mpz_mul(nx, nx, p);
    mpz_ui_pow_ui(p, 10, static_cast<unsigned long>(ey - e));
    mpz_mul(ny, ny, p);
    const int c = mpz_cmp(nx, ny);
    return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

// A pair that often shares exponent and leading words.
void random_pair(TestRng& rng, i64 m, Words& a, Words& b) {
    a = random_real(rng, m, {.exp_min = -3, .exp_max = 3, .zero_percent = 5, .edge_percent = 5});
    b = a;
    switch (rng.range(0, 4)) {
        case 0:
            b = random_real(rng, m, {.exp_min = -3, .exp_max = 3, .zero_percent = 5});
            break;
        case 1:
            real_negate(b.data());
            break;
        case 2: {
            const i64 w = rng.range(1, m);
            if (!real_is_zero(b.data()) && b[w] + 1 < 10000000000000000000ULL) ++b[w];
            break;
        }
        case 3:
            if (!real_is_zero(b.data())) real_add_exp(b.data(), rng.chance(50) ? 1 : -1);
            break;
        default:
            break;  // equal
    }
    if (rng.chance(50)) std::swap(a, b);
}

TEST_F(RealCmpTest, CompareMatchesExactValues) {
    for (i64 iter = 0; iter < test_iterations(3000); ++iter) {
        const i64 m = rng.chance(70) ? rng.range(1, 4) : rng.range(1, 527);
        mp_set_real_words(static_cast<i32>(m));
        Words a, b;
        random_pair(rng, m, a, b);
        const std::string what =
            "a=" + real_text(a.data(), m, 60) + " b=" + real_text(b.data(), m, 60);
        ASSERT_EQ(real_cmp(a.data(), b.data()), exact_cmp(a.data(), b.data(), m, false)) << what;
        ASSERT_EQ(real_cmp_abs(a.data(), b.data()), exact_cmp(a.data(), b.data(), m, true)) << what;
    }
}

// An i64 near the edges that matter: powers of ten, the i64 limits, small values.
i64 random_i64(TestRng& rng) {
    switch (rng.range(0, 3)) {
        case 0:
            return static_cast<i64>(rng.word());
        case 1:
            return rng.range(-20, 20);
        case 2: {
            const i64 p = static_cast<i64>(std::vector<u64>{1, 10, 1000, kPow18}[rng.range(0, 3)]);
            return (rng.chance(50) ? p : -p) + rng.range(-1, 1);
        }
        default:
            return rng.chance(50) ? std::numeric_limits<i64>::min() + rng.range(0, 1)
                                  : std::numeric_limits<i64>::max() - rng.range(0, 1);
    }
}

TEST_F(RealCmpTest, CompareWithMachineIntegerIsExact) {
    for (i64 iter = 0; iter < test_iterations(4000); ++iter) {
        const i64 m = rng.range(1, 4);
        mp_set_real_words(static_cast<i32>(m));
        const i64 v = random_i64(rng);
        Words x(static_cast<std::size_t>(m + 1)), y(static_cast<std::size_t>(m + 1));
        // x: v itself, v with a low word changed, or a random value.
        real_from_i64(x.data(), rng.chance(80) ? v : random_i64(rng));
        if (rng.chance(30) && m >= 2 && !real_is_zero(x.data()))
            x[static_cast<std::size_t>(m)] = rng.range(1, 5);
        if (rng.chance(10)) x = random_real(rng, m, {.exp_min = -2, .exp_max = 20});
        real_from_i64(y.data(), v);  // exact for m >= 2; m = 1 may drop nothing: v < 10^19
        ASSERT_EQ(real_cmp_i64(x.data(), v), exact_cmp(x.data(), y.data(), m, false))
            << "x=" << real_text(x.data(), m) << " v=" << v;
    }
}

TEST_F(RealCmpTest, AbsAtLeastComparesWithNineDigits) {
    for (i64 iter = 0; iter < test_iterations(4000); ++iter) {
        const i64 m = rng.range(1, 3);
        mp_set_real_words(static_cast<i32>(m));
        Words x = random_real(rng, m, {.exp_min = -2, .exp_max = 2, .zero_percent = 5});
        // d9 from x's own top nine digits, moved by at most one, or random.
        u64 d9 = real_is_zero(x.data()) ? 123456789 : x[1] / 10000000000ULL;
        d9 = rng.chance(70) ? d9 + static_cast<u64>(rng.range(-1, 1))
                            : 100000000 + rng.word() % 900000000;
        if (d9 < 100000000) d9 = 100000000;
        if (d9 > 999999999) d9 = 999999999;
        const i64 e = real_exp_of(x.data()) + rng.range(-1, 1);
        // threshold = d9 * 10^(e - 8) as an m-word real (exact: 9 digits)
        Words t(static_cast<std::size_t>(m + 1));
        real_from_u64(t.data(), d9);
        real_set_exp(t.data(), e);
        const bool want = exact_cmp(x.data(), t.data(), m, true) >= 0;
        ASSERT_EQ(real_abs_at_least(x.data(), d9, e), want)
            << "x=" << real_text(x.data(), m) << " d9=" << d9 << " e=" << e;
        ASSERT_EQ(mp_err(), 0);
    }
}

TEST_F(RealCmpTest, AbsAtLeastEdgeRows) {
    mp_set_real_words(1);
    Words x(2);
    real_zero(x.data(), 1);
    EXPECT_TRUE(real_abs_at_least(x.data(), 0, 5));           // |x| >= 0 always
    EXPECT_FALSE(real_abs_at_least(x.data(), 100000000, 0));  // 0 >= 1: no
    real_from_i64(x.data(), -15);
    EXPECT_TRUE(real_abs_at_least(x.data(), 150000000, 1));
    EXPECT_FALSE(real_abs_at_least(x.data(), 150000001, 1));
    EXPECT_EQ(mp_err(), 0);
    EXPECT_FALSE(real_abs_at_least(x.data(), 99999999, 1));  // not nine digits
    EXPECT_EQ(mp_err(), MP_ERR_DOMAIN);
    mp_error = 0;
    EXPECT_FALSE(real_abs_at_least(x.data(), 1000000000, 1));
    EXPECT_EQ(mp_err(), MP_ERR_DOMAIN);
}

// Integer and parity from the exact value n * 10^e.
void exact_digits(const u64* x, i64 m, bool* integer, bool* even) {
    Mpz n, p, q, r;
    i64 e;
    real_exact(n, &e, x, m);
    mpz_abs(n, n);
    if (e >= 0) {
        *integer = true;
        *even = e > 0 || mpz_even_p(n.get());
        return;
    }
    mpz_ui_pow_ui(p, 10, static_cast<unsigned long>(-e));
    mpz_tdiv_qr(q, r, n, p);
    *integer = mpz_sgn(r.get()) == 0;
    *even = mpz_even_p(q.get());
}

TEST_F(RealCmpTest, IntegerAndEvenMatchExactDigits) {
    for (i64 iter = 0; iter < test_iterations(3000); ++iter) {
        const i64 m = rng.chance(70) ? rng.range(1, 4) : rng.range(5, 60);
        mp_set_real_words(static_cast<i32>(m));
        Words x = random_real(rng, m, {.exp_min = -3, .exp_max = 19 * m + 2, .zero_percent = 3});
        if (rng.chance(50) && !real_is_zero(x.data()) && real_exp_of(x.data()) >= 0) {
            // Clear the digits below the units, with a chance of one left.
            const i64 e = real_exp_of(x.data());
            for (i64 pos = e + 1; pos >= 0 && pos < 19 * m; ++pos) {
                const i64 w = 1 + pos / 19;
                const u64 unit = REAL_POW10[18 - pos % 19];
                x[w] -= (x[w] / unit % 10) * unit;
            }
            if (rng.chance(20)) x[static_cast<std::size_t>(m)] |= 1;
        }
        bool integer, even;
        exact_digits(x.data(), m, &integer, &even);
        const std::string what = "x=" + real_text(x.data(), m, 80);
        ASSERT_EQ(real_is_integer(x.data()), integer) << what;
        ASSERT_EQ(real_is_even(x.data()), even) << what;
    }
}

}  // namespace
