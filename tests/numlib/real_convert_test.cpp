// Conversions against GMP: machine integers both ways with the flag rules,
// binary integers to decimal (truncated to the precision) and back (the
// integer part, or error 12), and packed constants.
#include <gmp.h>

#include <limits>
#include <string>
#include <vector>

#include "numlib/mp_error.h"
#include "numlib/mp_scratch.h"
#include "numlib/real.h"
#include "support/gmp_oracle.h"
#include "support/mpfr_oracle.h"
#include "support/numlib_fixture.h"
#include "support/real_fn_check.h"
#include "support/text_helpers.h"

namespace {

using RealConvertTest = NumlibTest;
using Words = Real;

// The m-word real whose digits are the first 19m of |z| (truncated).
Words truncated_real(mpz_srcptr z, i64 m) {
    Words x(static_cast<std::size_t>(m + 1));
    if (mpz_sgn(z) == 0) return x;
    std::string digits = mpz_digits(z, 10);
    if (digits[0] == '-') digits.erase(0, 1);
    const i64 exp = static_cast<i64>(digits.size()) - 1;
    if (static_cast<i64>(digits.size()) > 19 * m) digits.resize(static_cast<std::size_t>(19 * m));
    real_from_digits(x.data(), m, {.sign = mpz_sgn(z) < 0, .digits = digits, .exp = exp});
    return x;
}

// ---- machine integers --------------------------------------------------------

TEST_F(RealConvertTest, ToMachineIntegersMatchTheExactIntegerPart) {
    for (i64 iter = 0; iter < test_iterations(4000); ++iter) {
        const i64 m = rng.range(1, 3);
        mp_set_real_words(static_cast<i32>(m));
        Words x = random_real(rng, m, {.exp_min = -2, .exp_max = rng.chance(5) ? 400 : 21});
        if (rng.chance(40)) {
            // Integers near the limits of i64 and u64.
            Mpz z;
            mpz_setbit(z, rng.chance(50) ? 63 : 64);
            mpz_add_ui(z, z, 2);
            mpz_sub_ui(z, z, static_cast<unsigned long>(rng.range(0, 4)));
            if (rng.chance(50)) mpz_neg(z, z);
            x = truncated_real(z, m);
        }
        const u32 flags = static_cast<u32>(rng.range(0, 7));
        Mpz ip, ex, p;
        i64 e;
        integer_of(ip, x, m);
        real_exact(ex, &e, x.data(), m);
        mpz_ui_pow_ui(p, 10, static_cast<unsigned long>(e < 0 ? -e : 0));
        const bool usable = mpz_divisible_p(ex, p) || (flags & REAL_CONV_TRUNCATE);
        const std::string what = real_text(x.data(), m) + " flags=" + std::to_string(flags);
        // The conversions give 0 and, unless quiet, error 14 when refused.
        const auto expect = [&](bool ok, bool got, u64 value, u64 want) {
            ASSERT_EQ(got, ok) << what;
            ASSERT_EQ(value, ok ? want : 0) << what;
            ASSERT_EQ(mp_err(), ok || (flags & REAL_CONV_QUIET) ? 0 : MP_ERR_DOMAIN) << what;
            mp_error = 0;
        };
        i64 si;
        const bool si_ok = usable && mpz_fits_slong_p(ip);
        const bool si_got = real_to_i64(&si, x.data(), flags);
        expect(si_ok, si_got, static_cast<u64>(si), static_cast<u64>(mpz_get_si(ip)));
        mpz_abs(p, ip);
        u64 ui;
        const bool ui_ok =
            usable && mpz_fits_ulong_p(p) && (mpz_sgn(ip.get()) >= 0 || (flags & REAL_CONV_ABS));
        const bool ui_got = real_to_u64(&ui, x.data(), flags);
        expect(ui_ok, ui_got, ui, mpz_get_ui(p));
    }
}

// ---- binary integers -----------------------------------------------------------

// A count of binary words around the conversion's thresholds and limits.
i64 random_count(TestRng& rng) {
    const i64 counts[] = {rng.range(1, 4), rng.range(5, 60), rng.range(61, 700),
                          rng.range(1900, 2100)};
    return counts[rng.range(0, 3)];
}

TEST_F(RealConvertTest, FromUintIsTheTruncatedDecimal) {
    for (i64 iter = 0; iter < test_iterations(300); ++iter) {
        const i64 m = rng.chance(50) ? rng.range(1, 4) : rng.range(5, 528);
        mp_real_words = static_cast<i32>(m);
        const i64 count = random_count(rng);
        Words a(static_cast<std::size_t>(count));
        const i64 len = rng.chance(10) ? rng.range(0, count) : count;
        rng.fill(a.data(), count, len);
        if (rng.chance(20) && len > 0) {
            // Powers of ten and their neighbours put nines and zeros at the cut.
            Mpz z;
            mpz_ui_pow_ui(z, 10, static_cast<unsigned long>(rng.range(1, len * 19)));
            if (rng.chance(50)) mpz_sub_ui(z, z, 1);
            if (z.fits(count)) z.store(a.data(), count);
        }
        const Mpz z(a.data(), count);
        const Words want = truncated_real(z, m);
        Words x(static_cast<std::size_t>(m + 1), 7);
        real_from_uint(x.data(), static_cast<i32>(count), a.data());
        ASSERT_EQ(mp_err(), 0);
        ASSERT_EQ(x, want) << "m=" << m << " a=" << z.hex();
    }
}

TEST_F(RealConvertTest, ToUintIsTheIntegerPartOrError12) {
    for (i64 iter = 0; iter < test_iterations(400); ++iter) {
        const i64 m = rng.chance(50) ? rng.range(1, 4) : rng.range(5, 527);
        mp_set_real_words(static_cast<i32>(m));
        const i64 count = random_count(rng);
        // exponents up to and just past what count words can hold
        const i64 limit = count * 64 * 30103 / 100000;
        Words x = random_real(
            rng, m, {.exp_min = -2, .exp_max = rng.chance(50) ? limit + 1 : 40, .zero_percent = 3});
        Mpz ip;
        integer_of(ip, x, m);
        mpz_abs(ip, ip);
        Words out(static_cast<std::size_t>(count) + 1, 7);
        real_to_uint(out.data(), static_cast<i32>(count), x.data());
        SCOPED_TRACE("x=" + real_text(x.data(), m, 80) + " count=" + std::to_string(count));
        ASSERT_EQ(out[static_cast<std::size_t>(count)], 7u);
        out.pop_back();
        if (!ip.fits(count)) {
            ASSERT_EQ(mp_err(), MP_ERR_OVERFLOW);
            ASSERT_EQ(out, Words(static_cast<std::size_t>(count), 0));
            mp_error = 0;
            continue;
        }
        ASSERT_EQ(mp_err(), 0);
        ASSERT_EQ(out, ip.words(count));
    }
}

// At the largest sizes the scratch top comes back, and a pending error
// neither stops nor changes the conversions.
TEST_F(RealConvertTest, LargestSizesKeepScratchAndPendingError) {
    mp_set_real_words(527);
    Words a(2000), back(2000), x(528), want(528);
    rng.fill(a.data(), 2000, 2000);
    real_from_uint(want.data(), 2000, a.data());
    u8* top = mp_scratch_top;
    mp_error = MP_ERR_STOPPED;
    real_from_uint(x.data(), 2000, a.data());
    real_to_uint(back.data(), 2000, x.data());
    EXPECT_EQ(mp_scratch_top, top);
    EXPECT_EQ(mp_err(), MP_ERR_STOPPED);
    EXPECT_EQ(x, want);
    mp_error = 0;
    real_to_uint(a.data(), 2000, x.data());
    EXPECT_EQ(back, a);
}

TEST_F(RealConvertTest, PackedConstants) {
    mp_set_real_words(3);
    Words x(4, 9);
    const u64 two_words[] = {3, 4, REAL_TOP + 5, 6};  // t = 3: header and two words
    real_from_packed(x.data(), two_words);
    EXPECT_EQ(x, (Words{4, REAL_TOP + 5, 6, 0}));
    const u64 long_one[] = {
        u64{6} | (u64{0xABCD} << 32), 0, REAL_TOP, 1, 2, 3, 4};  // high half ignored
    real_from_packed(x.data(), long_one);
    EXPECT_EQ(x, (Words{0, REAL_TOP, 1, 2}));
    EXPECT_EQ(mp_err(), 0);
    const u64 empty[] = {1, 4};
    real_from_packed(x.data(), empty);
    EXPECT_EQ(mp_err(), MP_ERR_DOMAIN);
    EXPECT_EQ(x, Words(4, 0));
}

}  // namespace
