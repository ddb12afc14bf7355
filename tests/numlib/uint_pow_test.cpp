// Powers against GMP: values and overflow around the edge of the word count
// (the exponent as a machine integer and as a uint), powers of two and ten,
// the exponents that are refused and an exhausted scratch area.
#include <gmp.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "numlib/mp_error.h"
#include "numlib/mp_scratch.h"
#include "numlib/uint.h"
#include "numlib/vec.h"
#include "support/numlib_fixture.h"
#include "support/uint_harness.h"

namespace {

using UintPowTest = NumlibTest;
using Words = std::vector<u64>;
using Ops = std::vector<const Mpz*>;
using Ptrs = std::vector<const u64*>;

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

// a^e, or error 12 when it does not fit; e is the second operand's low word
// when e < 0.
UintOracle pow_oracle(i64 e) {
    return [e](UintExpect& want, const Ops& v) {
        const u64 ee = e >= 0 ? static_cast<u64>(e) : mpz_get_ui(*v[1]);
        mpz_pow_ui(want.value, *v[0], ee);
        want.fail_unless_fits();
    };
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
        const Words a = random_bits(rng, n, bits);
        const std::string name = "uint_pow e=" + std::to_string(e);
        const UintRun run = [e](u64* d, const Ptrs& p) {
            uint_pow(d, p[0], e);
            return u64{0};
        };
        ASSERT_TRUE(check_uint_op(name, run, pow_oracle(e), {a}));
        if (iter % 4 != 0) continue;
        Words ew(static_cast<std::size_t>(n));
        ew[0] = static_cast<u64>(e);
        ASSERT_TRUE(
            check_uint_op("uint_pow_uint", uint_run(uint_pow_uint), pow_oracle(-1), {a, ew}));
    }
}

TEST_F(UintPowTest, ZeroOneAndRefusedExponents) {
    mp_set_int_words(3);
    Words zero = words(3), one = words(3), two = words(3), r = words(3);
    one[0] = 1;
    two[0] = 2;
    uint_pow(r.data(), zero.data(), 0);
    EXPECT_TRUE(uint_is_one(r.data())) << "0^0 = 1";
    uint_pow(r.data(), one.data(), i64{1} << 62);
    EXPECT_TRUE(uint_is_one(r.data())) << "1^e never overflows";
    EXPECT_EQ(mp_err(), 0);
    r[0] = 9;
    uint_pow(r.data(), one.data(), -1);
    EXPECT_EQ(mp_err(), MP_ERR_DOMAIN);
    EXPECT_TRUE(uint_is_zero(r.data()));
    mp_error = 0;
    uint_pow(r.data(), two.data(), (i64{1} << 62) + 5);  // the bound must not overflow in i64
    EXPECT_EQ(mp_err(), MP_ERR_OVERFLOW);
    // e >= 2^63 is no i64: 1 for a base of 1, 0 for 0, overflow above
    for (i64 n : {1, 3}) {
        mp_set_int_words(static_cast<i32>(n));
        Words e = words(n), a = words(n);
        e[0] = u64{1} << 63;
        if (n > 1) e[1] = 1;
        for (u64 base : {0, 1, 2}) {
            a[0] = base;
            mp_error = 0;
            r.assign(static_cast<std::size_t>(n), 5);
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
                const Words w = want.fits(n) ? want.words(n) : words(n);
                const i32 err = want.fits(n) ? 0 : MP_ERR_OVERFLOW;
                Words r = words(n), ku = words(n);
                mp_error = 0;
                base.pow(r.data(), k);
                EXPECT_EQ(mp_err(), err) << k;
                EXPECT_EQ(r, w) << k;
                mp_error = 0;
                ku[0] = static_cast<u64>(k);
                base.pow_uint(ku.data(), ku.data());
                EXPECT_EQ(mp_err(), err) << k << " (uint)";
                EXPECT_EQ(ku, w) << k << " (uint)";
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
