// Resizing, reduction, special values, the hard cases of the rational
// routines that random operands rarely reach (rat_ops_test.cpp has the
// random ones) and operands that break the layout's rules.
#include "numlib/mp_error.h"
#include "numlib/rat.h"
#include "numlib/uint.h"
#include "support/numlib_fixture.h"
#include "support/rat_harness.h"

namespace {

using Words = std::vector<u64>;

using RatBasicTest = NumlibTest;

// num/den at the current word count (den > 0).
Words rat(i64 num, u64 den = 1) {
    Mpq q;
    mpq_set_si(q, num, den);
    return q.words(mp_int_words);
}

TEST_F(RatBasicTest, ResizeRoundTripsAndRejectsWhatDoesNotFit) {
    for (i64 i = 0; i < test_iterations(200); ++i) {
        const i64 n = rng.range(1, 40), m = rng.range(1, 40);
        mp_set_int_words(static_cast<i32>(n));
        const Words a = random_rat(rng, n);
        const Mpq va(a.data(), n);
        Words b(static_cast<std::size_t>(2 * m + 1), 0x5555), back(a.size(), 0x5555);
        rat_resize(b.data(), static_cast<i32>(m), a.data(), static_cast<i32>(n));
        if (!va.fits(m)) {
            EXPECT_EQ(mp_err(), MP_ERR_OVERFLOW);
            mp_set_int_words(static_cast<i32>(m));
            EXPECT_EQ(b, rat(0));
            mp_error = 0;
            continue;
        }
        rat_resize(back.data(), static_cast<i32>(n), b.data(), static_cast<i32>(m));
        ASSERT_EQ(mp_err(), 0);
        ASSERT_EQ(back, a) << "n=" << n << " m=" << m << " " << va.text();
    }
    // Overlapping arrays and zero counts are refused without touching src.
    mp_set_int_words(2);
    Words x = rat(-7, 3), y = rat(5);
    rat_resize(x.data() + 1, 1, x.data(), 2);
    EXPECT_EQ(mp_err(), MP_ERR_INTERNAL);
    mp_error = 0;
    rat_resize(y.data(), 0, x.data(), 2);
    EXPECT_EQ(mp_err(), MP_ERR_INTERNAL);
    EXPECT_EQ(y, rat(5));
}

// The hard cases at one word per part.
TEST_F(RatBasicTest, HardCases) {
    mp_set_int_words(1);
    Words d(3, 0x77), k = rat(0);
    rat_special(d.data(), 10);
    EXPECT_EQ(mp_err(), 0);
    EXPECT_EQ(d, rat(1, ~u64{0})) << "the smallest positive value";
    rat_special(d.data(), 5);
    EXPECT_EQ(mp_err(), MP_ERR_DOMAIN) << "kinds 1 to 9 are not rational specials";
    EXPECT_EQ(d, rat(0));
    mp_error = 0;
    // n = -1 never overflows: the closed form ends it
    k[1] = (u64{1} << 63) - 1;
    rat_perm_comb(d.data(), rat(-1).data(), k.data(), 0, false);
    EXPECT_EQ(mp_err(), 0);
    EXPECT_EQ(d, rat(-1));
}

// Operands that break the layout's rules (zero denominators, parts not in
// lowest terms, stray sign bits) give some value or an error, never a crash,
// a write outside the destination or a lost scratch top.
TEST_F(RatBasicTest, MalformedOperandsAreHandledSafely) {
    for (i64 n : {1, 2, 5}) {
        mp_set_int_words(static_cast<i32>(n));
        const std::size_t size = static_cast<std::size_t>(2 * n + 1);
        for (i64 i = 0; i < test_iterations(300); ++i) {
            Words a(size), b(size), d(size + 2, 0x1234), e(size + 2, 0x1234);
            for (Words* x : {&a, &b})
                for (u64& w : *x) w = rng.chance(30) ? 0 : rng.structured_word();
            const i64 limit = rng.range(0, 4);
            u8* const top = mp_scratch_top;
            u64 out = 0;
            rat_add_sub(d.data() + 1, a.data(), b.data(), rng.chance(50));
            rat_mul_div(d.data() + 1, a.data(), b.data(), rng.chance(50));
            rat_mul_u64(d.data() + 1, a.data(), b[1]);
            rat_div_u64(d.data() + 1, a.data(), b[1]);
            rat_inv(d.data() + 1, a.data());
            rat_divmod(d.data() + 1, e.data() + 1, a.data(), b.data());
            rat_pow_int(d.data() + 1, a.data(), static_cast<i64>(b[1] % 7) - 3);
            rat_pow(d.data() + 1, a.data(), b.data());
            rat_root(d.data() + 1, b.data(), a.data());
            rat_apply_int(d.data() + 1, a.data(), uint_pow2_uint);
            rat_log_exact(d.data() + 1, a.data(), uint_log10_floor);
            rat_perm_comb(d.data() + 1, a.data(), b.data(), limit, rng.chance(50));
            rat_to_u64(&out, a.data(), static_cast<u32>(b[1] & 7));
            rat_cmp_abs(a.data(), b.data());
            rat_cmp_i64(a.data(), static_cast<i64>(b[1]));
            rat_reduce(a.data() + 1, a.data() + 1 + n);
            mp_error = 0;
            ASSERT_EQ(mp_scratch_top, top);
            ASSERT_EQ(d.front(), 0x1234u);
            ASSERT_EQ(d.back(), 0x1234u);
            ASSERT_EQ(e.back(), 0x1234u);
        }
    }
}

}  // namespace
