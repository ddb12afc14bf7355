// Modular powers against GMP: odd moduli (Montgomery), even ones (2^s times
// an odd part), powers of two, moduli 1 and 2, bases above the modulus, the
// exponent limit, the destination aliased to each operand, and stops.
#include <algorithm>
#include <chrono>
#include <thread>

#include "numlib/mp_error.h"
#include "numlib/mp_scratch.h"
#include "numlib/uint.h"
#include "support/numlib_fixture.h"
#include "support/uint_harness.h"

namespace {

using Ops = std::vector<const Mpz*>;
using Ptrs = std::vector<const u64*>;
using UintPowmodTest = NumlibTest;

UintRun powmod_run(i64 limit) {
    return [limit](u64* dst, const Ptrs& p) {
        uint_powmod(dst, p[0], p[1], p[2], limit);
        return u64{0};
    };
}

UintOracle powmod_oracle(i64 limit) {
    return [limit](UintExpect& want, const Ops& x) {
        const Mpz &base = *x[0], &e = *x[1], &m = *x[2];
        if (mpz_sgn(m.get()) == 0) return want.fail(MP_ERR_DIV_ZERO);
        if (mpz_sgn(e.get()) == 0)
            return mpz_set_ui(want.value, mpz_cmp_ui(m.get(), 1) == 0 ? 0 : 1);
        if (limit != 0 && e.bits() > limit) return want.fail(MP_ERR_DOMAIN);
        mpz_powm(want.value, base, e, m);
    };
}

bool check_powmod(const UintOperands& ops, i64 limit = 0) {
    return check_uint_op("uint_powmod", powmod_run(limit), powmod_oracle(limit), ops);
}

// A modulus of n words: odd, 2^s times an odd part, a power of two, or tiny.
std::vector<u64> random_modulus(TestRng& rng, i64 n) {
    auto m = random_operand(rng, n);
    Mpz v(m.data(), n);
    switch (rng.range(0, 5)) {
        case 0:
        case 1:
            m[0] |= 1;
            return m;
        case 2: {  // 2^s * odd, s up to the free bits above the odd part
            mpz_setbit(v, 0);
            const i64 room = 64 * n - v.bits();
            mpz_mul_2exp(v, v, static_cast<mp_bitcnt_t>(rng.range(std::min<i64>(1, room), room)));
            return v.words(n);
        }
        case 3:
            mpz_set_ui(v, 0);
            mpz_setbit(v, static_cast<mp_bitcnt_t>(rng.range(0, 64 * n - 1)));
            return v.words(n);
        case 4:
            mpz_set_ui(v, static_cast<unsigned long>(rng.range(1, 3)));
            return v.words(n);
        default:
            return m;
    }
}

// An exponent: mostly one or two words (the cost grows with its length),
// sometimes 0, the full n words only for small n.
std::vector<u64> random_exponent(TestRng& rng, i64 n, i64 max_words) {
    const i64 len = rng.chance(5) ? 0 : rng.chance(70) ? 1 : rng.range(1, std::min(n, max_words));
    return random_operand(rng, n, len);
}

TEST_F(UintPowmodTest, MatchesGmp) {
    const i64 rounds = test_iterations(200);
    for (i64 i = 0; i < rounds; ++i) {
        const i64 n = rng.word_count(130);
        mp_set_int_words(static_cast<i32>(n));
        UintOperands ops{random_operand(rng, n), random_exponent(rng, n, n <= 16 ? n : 2),
                         random_modulus(rng, n)};
        if (rng.chance(15))
            ops[1][0] = static_cast<u64>(rng.range(0, 3));  // e = 0 .. 3 (+ high words)
        ASSERT_TRUE(check_powmod(ops));
    }
}

TEST_F(UintPowmodTest, LargeModuliWithShortExponents) {
    for (i64 n : {520, 1039, 2000}) {
        mp_set_int_words(static_cast<i32>(n));
        for (u64 low_bits : {1, 8}) {  // an odd modulus of n words, then 8 times an odd one
            UintOperands ops{random_operand(rng, n), words(n), random_operand(rng, n, n)};
            ops[1][0] = static_cast<u64>(rng.range(2, 11));
            ops[2][0] = (ops[2][0] & ~u64{15}) | low_bits;
            ASSERT_TRUE(check_powmod(ops));
        }
    }
}

// Hard cases, each with its reason; checked at one word and at three.
TEST_F(UintPowmodTest, HardCases) {
    struct Case {
        u64 base, e, m;
        i64 limit;
        const char* why;
    };
    const u64 top = ~u64{0};
    const Case cases[] = {
        {5, 0, 0, 0, "modulus 0 is checked before e = 0: error 13"},
        {5, 0, 1, 0, "e = 0 modulo 1 gives 0"},
        {0, 0, 7, 0, "0^0 = 1"},
        {0, 5, 7, 0, "a base of 0 gives 0"},
        {14, 3, 7, 0, "a multiple of m as base gives 0"},
        {12, 3, 5, 0, "base above the modulus is reduced"},
        {6, 2, 9, 0, "0 mod m from a non-zero base: fully reduced, not m"},
        {6, 3, 24, 0, "0 mod an even m through both halves of the CRT"},
        {3, 5, 1, 0, "modulus 1 gives 0"},
        {3, top, 2, 0, "modulus 2, odd base"},
        {top, top, top, 0, "all-ones words everywhere"},
        {2, 70, u64{1} << 63, 0, "even base to a power >= s vanishes mod 2^s"},
        {3, top, u64{1} << 63, 0, "odd base mod 2^s: the exponent is reduced mod 2^s"},
        {6, 5, 12, 0, "even modulus sharing factors with the base"},
        {3, 1024, 1000, 10, "exponent of 11 bits over a limit of 10: error 14"},
        {3, 1024, 1000, 11, "exponent of 11 bits at a limit of 11"},
        {3, 1, 1000, -1, "a negative limit rejects every exponent"},
        {3, 0, 1000, 1, "e = 0 needs no limit check"},
    };
    for (i64 n : {1, 3}) {
        mp_set_int_words(static_cast<i32>(n));
        for (const Case& c : cases) {
            SCOPED_TRACE(c.why);
            UintOperands ops{words(n), words(n), words(n)};
            ops[0][0] = c.base;
            ops[1][0] = c.e;
            ops[2][0] = c.m;
            EXPECT_TRUE(check_powmod(ops, c.limit));
        }
    }
}

TEST_F(UintPowmodTest, StopRequestEndsTheRunWithZero) {
    // At 2000 words with a 128000-bit exponent the power would take many
    // minutes; a stop from another thread must end it within a product.
    const i64 n = 2000;
    mp_set_int_words(n);
    auto base = random_operand(rng, n, n), e = random_operand(rng, n, n),
         m = random_operand(rng, n, n);
    m[0] |= 1;
    auto dst = words(n);
    dst[0] = 1;
    u8* const top = mp_scratch_top;
    std::thread stopper([] {
        std::this_thread::sleep_for(std::chrono::milliseconds(30));
        mp_error.store(MP_ERR_STOPPED);
    });
    uint_powmod(dst.data(), base.data(), e.data(), m.data(), 0);
    stopper.join();
    EXPECT_EQ(mp_error, MP_ERR_STOPPED);
    EXPECT_EQ(mp_int_words, n);
    EXPECT_EQ(mp_scratch_top, top);
    EXPECT_TRUE(std::all_of(dst.begin(), dst.end(), [](u64 w) { return w == 0; }));

    // A stop already pending gives 0 at once.
    dst[0] = 1;
    m[0] = 7;
    std::fill(m.begin() + 1, m.end(), 0);
    uint_powmod(dst.data(), base.data(), e.data(), m.data(), 0);
    EXPECT_EQ(mp_error, MP_ERR_STOPPED);
    EXPECT_TRUE(std::all_of(dst.begin(), dst.end(), [](u64 w) { return w == 0; }));
}

}  // namespace
