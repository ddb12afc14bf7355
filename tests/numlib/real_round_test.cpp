// Rounding to k significant digits and precision changes, against the exact
// decimal value rounded half up on the magnitude with GMP.
#include <gmp.h>

#include <string>
#include <vector>

#include "numlib/mp_error.h"
#include "numlib/real.h"
#include "support/mpfr_oracle.h"
#include "support/numlib_fixture.h"

namespace {

using RealRoundTest = NumlibTest;
using Words = std::vector<u64>;

// The m-word x rounded half up on the magnitude to k significant digits,
// as an m-word real (k = 0: to a power of ten or zero). False on overflow.
bool exact_round(Words& out, const u64* x, i64 m, i64 k) {
    out.assign(x, x + m + 1);
    if (real_is_zero(x) || k >= 19 * m) return true;
    Mpz n, p, q, r;
    i64 e;
    real_exact(n, &e, x, m);
    const int sign = mpz_sgn(n.get()) < 0;
    mpz_abs(n, n);
    mpz_ui_pow_ui(p, 10, static_cast<unsigned long>(19 * m - k));
    mpz_tdiv_qr(q, r, n, p);
    mpz_mul_2exp(r, r, 1);
    if (mpz_cmp(r, p) >= 0) mpz_add_ui(q, q, 1);
    if (mpz_sgn(q.get()) == 0) {
        real_set_header(out.data(), 0, sign);
        for (i64 i = 1; i <= m; ++i) out[static_cast<std::size_t>(i)] = 0;
        return true;
    }
    // q * 10^(e + 19m - k): its leading digit becomes the units digit.
    char* s = mpz_get_str(nullptr, 10, q);
    const std::string digits = s;
    void (*freefunc)(void*, std::size_t);
    mp_get_memory_functions(nullptr, nullptr, &freefunc);
    freefunc(s, digits.size() + 1);
    const i64 exp10 = e + 19 * m - k + static_cast<i64>(digits.size()) - 1;
    if (exp10 > REAL_EXP_MAX) return false;
    real_from_digits(out.data(), m, {.sign = sign, .digits = digits, .exp = exp10});
    return true;
}

TEST_F(RealRoundTest, RoundDigitsMatchesExactHalfUp) {
    for (i64 iter = 0; iter < test_iterations(3000); ++iter) {
        const i64 m = rng.chance(70) ? rng.range(1, 4) : rng.range(5, 527);
        mp_set_real_words(static_cast<i32>(m));
        const Words a = random_real(rng, m, {.zero_percent = 3, .edge_percent = 3});
        const i64 k = rng.chance(80) ? rng.range(0, 19 * m + 2) : 19 * rng.range(0, m);
        Words want;
        const bool fits = exact_round(want, a.data(), m, k);
        Words r = a;
        u64* dst = r.data();  // aliased half the time
        Words out(static_cast<std::size_t>(m + 1));
        if (rng.chance(50)) dst = out.data();
        real_round_digits(dst, r.data(), static_cast<i32>(k));
        const std::string what = "a=" + real_text(a.data(), m, 80) + " k=" + std::to_string(k);
        if (!fits) {
            ASSERT_EQ(mp_err(), MP_ERR_EXP_OVERFLOW) << what;
            ASSERT_EQ(Words(dst, dst + m + 1), Words(static_cast<std::size_t>(m + 1), 0)) << what;
            mp_error = 0;
            continue;
        }
        ASSERT_EQ(mp_err(), 0) << what;
        ASSERT_EQ(Words(dst, dst + m + 1), want) << what << "\n got " << real_text(dst, m, 80)
                                                 << "\n want " << real_text(want.data(), m, 80);
    }
}

TEST_F(RealRoundTest, RoundDigitsRows) {
    mp_set_real_words(1);
    Words x(2), r(2), want(2);
    struct Row {
        const char* digits;  // of a positive value d.ddd * 10^exp
        i64 exp;
        i32 k;
        const char* want_digits;
        i64 want_exp;
    };
    const Row rows[] = {
        {"25", 0, 1, "3", 0},                                      // a tie rounds up
        {"996", 0, 2, "1", 1},                                     // the carry adds a digit
        {"49", -2, 0, "0", 0},                                     // 0.049: below one half of 0.1
        {"51", -2, 0, "1", -1},                                    // 0.051 becomes 0.1
        {"5", 3, 0, "1", 4},                                       // 5000 to 0 digits is 10^4
        {"1234567890123456789", 0, 19, "1234567890123456789", 0},  // all digits kept
    };
    for (const Row& row : rows) {
        real_from_digits(x.data(), 1, {.sign = 0, .digits = row.digits, .exp = row.exp});
        real_from_digits(want.data(), 1,
                         {.sign = 0, .digits = row.want_digits, .exp = row.want_exp});
        real_round_digits(r.data(), x.data(), row.k);
        EXPECT_EQ(r, want) << row.digits << "e" << row.exp << " k=" << row.k << " got "
                           << real_text(r.data(), 1);
    }
    // A negative value rounded to zero keeps its sign; k < 0 is error 14.
    real_from_digits(x.data(), 1, {.sign = 1, .digits = "3", .exp = -1});
    real_round_digits(r.data(), x.data(), 0);
    EXPECT_EQ(r, (Words{1, 0}));
    EXPECT_EQ(mp_err(), 0);
    real_round_digits(r.data(), x.data(), -1);
    EXPECT_EQ(mp_err(), MP_ERR_DOMAIN);
    EXPECT_EQ(r, (Words{0, 0}));
}

TEST_F(RealRoundTest, ResizeZeroFillsOrRoundsWithTheFirstDroppedWord) {
    for (i64 iter = 0; iter < test_iterations(2000); ++iter) {
        const i64 sm = rng.range(1, 528), dm = rng.chance(50) ? rng.range(1, 528) : rng.range(1, 4);
        const Words a = random_real(rng, sm, {.zero_percent = 3, .edge_percent = 3});
        const std::string what = "a=" + real_text(a.data(), sm, 80) + " to " + std::to_string(dm);
        Words want(static_cast<std::size_t>(dm + 1));
        bool fits = true;
        if (dm >= sm) {
            std::copy(a.begin(), a.end(), want.begin());
        } else {
            Words r;
            fits = exact_round(r, a.data(), sm, 19 * dm);
            std::copy(r.begin(), r.begin() + dm + 1, want.begin());
        }
        // Into a larger buffer: nothing past dm + 1 words may be written.
        Words out(static_cast<std::size_t>(dm + 3), 7);
        real_resize(out.data(), static_cast<i32>(dm), a.data(), static_cast<i32>(sm));
        ASSERT_EQ(out[dm + 1], 7u) << what;
        out.resize(static_cast<std::size_t>(dm + 1));
        if (!fits) {
            ASSERT_EQ(mp_err(), MP_ERR_EXP_OVERFLOW) << what;
            ASSERT_EQ(out, Words(static_cast<std::size_t>(dm + 1), 0)) << what;
            mp_error = 0;
            continue;
        }
        ASSERT_EQ(mp_err(), 0) << what;
        ASSERT_EQ(out, want) << what << "\n got " << real_text(out.data(), dm, 80);
    }
    Words x(3, 5);
    real_resize(x.data(), 0, x.data(), 2);
    EXPECT_EQ(mp_err(), MP_ERR_INTERNAL);
    EXPECT_EQ(x, (Words{0, 5, 5}));  // only the header of a 0-word value
}

}  // namespace
