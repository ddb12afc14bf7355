// Powers against GMP: values and overflow around the edge of the word count,
// the exponent given as a uint, powers of two and ten, aliasing and the
// error discipline.
#include <gmp.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "numlib/mp_error.h"
#include "numlib/mp_scratch.h"
#include "numlib/uint.h"
#include "numlib/vec.h"
#include "support/gmp_oracle.h"
#include "support/numlib_fixture.h"

namespace {

using UintPowTest = NumlibTest;
using Words = std::vector<u64>;

// The value, or error 12 and 0 when it needs more than n words.
void expect_value_or_overflow(const Words& got, const Mpz& want, i64 n, const std::string& what) {
    if (want.fits(n)) {
        EXPECT_EQ(mp_err(), 0) << what;
        EXPECT_EQ(got, want.words(n)) << what << " got " << words_hex(got.data(), n);
    } else {
        EXPECT_EQ(mp_err(), MP_ERR_OVERFLOW) << what;
        EXPECT_TRUE(vec_is_zero(got.data(), n)) << what;
    }
}

// A random value of exactly bits bits in n words.
Words random_bits(TestRng& rng, i64 n, i64 bits) {
    Words a(static_cast<std::size_t>(n));
    const i64 len = (bits + 63) / 64;
    rng.fill(a.data(), n, len);
    const unsigned top = static_cast<unsigned>((bits - 1) % 64);
    u64& w = a[static_cast<std::size_t>(len - 1)];
    if (top < 63) w &= (u64{2} << top) - 1;
    w |= u64{1} << top;
    return a;
}

TEST_F(UintPowTest, RandomPowersNearTheWordLimit) {
    for (i64 iter = 0; iter < test_iterations(200); ++iter) {
        const i64 n = rng.word_count();
        mp_set_int_words(static_cast<i32>(n));
        const i64 e = rng.chance(60)   ? rng.range(1, 12)
                      : rng.chance(60) ? rng.range(13, 300)
                                       : rng.range(1, 64 * n);
        // bit lengths around 64n / e put the power on either side of the limit
        const i64 bits = std::clamp<i64>(64 * n / e + rng.range(-2, 1), 2, 64 * n);
        Words a = random_bits(rng, n, bits);
        Mpz want;
        mpz_pow_ui(want, Mpz(a.data(), n), static_cast<unsigned long>(e));
        const std::string what =
            "a=" + words_hex(a.data(), n) + " e=" + std::to_string(e) + " n=" + std::to_string(n);
        mp_error = 0;
        if (rng.chance(50)) {
            uint_pow(a.data(), a.data(), e);  // in place
            expect_value_or_overflow(a, want, n, what + " in place");
        } else {
            Words r = words(n);
            uint_pow(r.data(), a.data(), e);
            expect_value_or_overflow(r, want, n, what);
        }
    }
}

TEST_F(UintPowTest, HardCases) {
    for (i64 n : {1, 2, 65, 2000}) {
        mp_set_int_words(static_cast<i32>(n));
        SCOPED_TRACE("n=" + std::to_string(n));
        struct Case {
            Words a;
            i64 e;
            const char* why;
        };
        Words max_word = words(n), two64 = words(n), three = words(n), top_bit = words(n);
        max_word[0] = ~u64{0};
        if (n > 1) two64[1] = 1;
        three[0] = 3;
        top_bit[static_cast<std::size_t>(n - 1)] = u64{1} << 63;
        // the largest e with 3^e < 2^(64n): only the exact product can tell
        const i64 e3 = static_cast<i64>(64.0 * static_cast<double>(n) / std::log2(3.0));
        const std::vector<Case> cases = {
            {max_word, n, "(2^64 - 1)^n lies just below 2^(64n)"},
            {max_word, n + 1, "one factor more overflows"},
            {two64, n - 1, "2^(64(n-1)) fills the top word"},
            {two64, n, "2^(64n): the cheap bound rejects it"},
            {three, e3, "3^e at the limit"},
            {three, e3 + 1, "3^e just past the limit"},
            {top_bit, 1, "e = 1 copies the largest power of two"},
            {top_bit, 2, "its square does not fit"},
        };
        for (const Case& c : cases) {
            if (n == 1 && c.a == two64) continue;  // 2^64 needs two words
            Mpz want;
            mpz_pow_ui(want, Mpz(c.a.data(), n), static_cast<unsigned long>(c.e));
            Words r = words(n);
            mp_error = 0;
            uint_pow(r.data(), c.a.data(), c.e);
            expect_value_or_overflow(r, want, n, c.why);
        }
    }
}

TEST_F(UintPowTest, ZeroOneAndNegativeExponents) {
    mp_set_int_words(3);
    Words zero = words(3), one = words(3), r = words(3);
    one[0] = 1;
    uint_pow(r.data(), zero.data(), 0);
    EXPECT_TRUE(uint_is_one(r.data())) << "0^0 = 1";
    uint_pow(r.data(), zero.data(), 7);
    EXPECT_TRUE(uint_is_zero(r.data()));
    uint_pow(r.data(), one.data(), i64{1} << 62);
    EXPECT_TRUE(uint_is_one(r.data())) << "1^e never overflows";
    EXPECT_EQ(mp_err(), 0);
    r[0] = 9;
    uint_pow(r.data(), one.data(), -1);
    EXPECT_EQ(mp_err(), MP_ERR_DOMAIN);
    EXPECT_TRUE(uint_is_zero(r.data()));
    mp_error = 0;
    Words two = words(3);
    two[0] = 2;
    uint_pow(r.data(), two.data(), (i64{1} << 62) + 5);  // the bound must not overflow in i64
    EXPECT_EQ(mp_err(), MP_ERR_OVERFLOW);
}

TEST_F(UintPowTest, ExponentAsUint) {
    for (i64 iter = 0; iter < test_iterations(40); ++iter) {
        const i64 n = rng.word_count(40);
        mp_set_int_words(static_cast<i32>(n));
        Words a = words(n), e = words(n), want = words(n), got = words(n);
        a[0] = static_cast<u64>(rng.range(0, 5));
        if (rng.chance(30)) rng.fill(a.data(), n, rng.range(1, n));
        e[0] = static_cast<u64>(rng.range(0, 200));
        mp_error = 0;
        uint_pow(want.data(), a.data(), static_cast<i64>(e[0]));
        const i32 want_err = mp_err();
        mp_error = 0;
        uint_pow_uint(e.data(), a.data(), e.data());  // dst = e
        EXPECT_EQ(mp_err(), want_err);
        EXPECT_EQ(e, want) << "a=" << words_hex(a.data(), n);
    }
    for (i64 n : {1, 3}) {
        mp_set_int_words(static_cast<i32>(n));
        Words e = words(n), r = words(n), a = words(n);
        e[0] = u64{1} << 63;  // the first exponent that is no i64
        if (n > 1 && rng.chance(50)) e[1] = 1;
        for (u64 base : {0, 1, 2}) {
            a[0] = base;
            mp_error = 0;
            r[0] = 5;
            uint_pow_uint(r.data(), a.data(), e.data());
            EXPECT_EQ(mp_err(), base >= 2 ? MP_ERR_OVERFLOW : 0) << base;
            EXPECT_EQ(r[0], base == 1 ? 1u : 0u) << base;
        }
    }
}

// 2^k and 10^k through the i64 and the uint exponent (in place), around the
// largest k that fits, and the exponents they refuse.
TEST_F(UintPowTest, PowersOfTwoAndTen) {
    struct Base {
        unsigned long b;
        void (*pow)(u64*, i64);
        void (*pow_uint)(u64*, const u64*);
    };
    for (Base base : {Base{2, uint_pow2, uint_pow2_uint}, Base{10, uint_pow10, uint_pow10_uint}}) {
        SCOPED_TRACE("base " + std::to_string(base.b));
        for (i64 iter = 0; iter < test_iterations(40); ++iter) {
            const i64 n = rng.word_count();
            mp_set_int_words(static_cast<i32>(n));
            // the largest k with b^k < 2^(64n)
            i64 kmax = static_cast<i64>(64.0 * static_cast<double>(n) /
                                        std::log2(static_cast<double>(base.b))) +
                       1;
            Mpz p;
            for (mpz_ui_pow_ui(p, base.b, static_cast<unsigned long>(kmax)); !p.fits(n);
                 mpz_divexact_ui(p, p, base.b))
                --kmax;
            for (i64 k :
                 {kmax, kmax + 1, rng.range(0, 19), rng.range(20, std::max<i64>(kmax, 20))}) {
                Mpz want;
                mpz_ui_pow_ui(want, base.b, static_cast<unsigned long>(k));
                Words r = words(n), ku = words(n);
                mp_error = 0;
                base.pow(r.data(), k);
                expect_value_or_overflow(r, want, n, "k=" + std::to_string(k));
                mp_error = 0;
                ku[0] = static_cast<u64>(k);
                base.pow_uint(ku.data(), ku.data());
                expect_value_or_overflow(ku, want, n, "k=" + std::to_string(k) + " (uint)");
            }
        }
        mp_set_int_words(2);
        Words r = words(2);
        for (i64 k : {i64{-1}, INT64_MAX}) {
            mp_error = 0;
            r[0] = 1;
            base.pow(r.data(), k);
            EXPECT_EQ(mp_err(), k < 0 ? MP_ERR_DOMAIN : MP_ERR_OVERFLOW) << k;
            EXPECT_TRUE(uint_is_zero(r.data())) << k;
        }
        for (Words kw : {Words{u64{1} << 63, 0}, Words{0, 1}}) {  // k >= 2^63
            mp_error = 0;
            base.pow_uint(r.data(), kw.data());
            EXPECT_EQ(mp_err(), MP_ERR_OVERFLOW);
        }
    }
}

TEST_F(UintPowTest, PendingErrorIsKeptAndDoesNotStopThePower) {
    mp_set_int_words(40);
    Words a = words(40), r = words(40);
    a[0] = 12345;
    Mpz want;
    mpz_ui_pow_ui(want, 12345, 150);
    mp_raise(MP_ERR_DIV_ZERO);
    uint_pow(r.data(), a.data(), 150);
    EXPECT_EQ(mp_err(), MP_ERR_DIV_ZERO);
    EXPECT_EQ(r, want.words(40));
    uint_pow(r.data(), a.data(), 10000);  // overflows: 0, and the pending code stays
    EXPECT_EQ(mp_err(), MP_ERR_DIV_ZERO);
    EXPECT_TRUE(uint_is_zero(r.data()));
}

TEST_F(UintPowTest, ExhaustedScratchGivesZeroAndError30) {
    mp_set_int_words(2000);
    Words a = words(2000), r = words(2000);
    a[0] = 3;
    ScratchMark hog;
    const std::size_t free_words = static_cast<std::size_t>(mp_scratch_end - mp_scratch_top) / 8;
    ASSERT_NE(hog.take(free_words - 3000), nullptr);
    u8* top = mp_scratch_top;
    r[0] = 1;
    uint_pow(r.data(), a.data(), 80000);
    EXPECT_EQ(mp_err(), MP_ERR_INTERNAL);
    EXPECT_TRUE(uint_is_zero(r.data()));
    EXPECT_EQ(mp_scratch_top, top);
}

}  // namespace
