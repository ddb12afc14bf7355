// gcd, lcm and the modular inverse against GMP: random word counts up to
// 2000, operands sharing a factor or dividing one another, Fibonacci pairs
// (every quotient 1, the longest Euclid run), the destination aliased to each
// operand, errors and a pending error.
#include <algorithm>

#include "numlib/mp_error.h"
#include "numlib/uint.h"
#include "support/numlib_fixture.h"
#include "support/uint_harness.h"

namespace {

using Ops = std::vector<const Mpz*>;
using Ptrs = std::vector<const u64*>;
using UintGcdTest = NumlibTest;

void gcd_oracle(UintExpect& want, const Ops& x) {
    if (mpz_sgn(x[0]->get()) == 0 || mpz_sgn(x[1]->get()) == 0) return want.fail(MP_ERR_DOMAIN);
    mpz_gcd(want.value, *x[0], *x[1]);
}

void lcm_oracle(UintExpect& want, const Ops& x) {
    if (mpz_sgn(x[0]->get()) == 0 || mpz_sgn(x[1]->get()) == 0) return want.fail(MP_ERR_DOMAIN);
    mpz_lcm(want.value, *x[0], *x[1]);
    want.fail_unless_fits();
}

void mulinv_oracle(UintExpect& want, const Ops& x) {
    const Mpz& a = *x[0];
    const Mpz& m = *x[1];
    if (mpz_cmp_ui(m.get(), 2) < 0) return want.fail(MP_ERR_DOMAIN);
    if (mpz_cmp_ui(a.get(), 1) == 0) return mpz_set_ui(want.value, 1);
    if (mpz_sgn(a.get()) == 0) return want.fail(MP_ERR_DIV_ZERO);
    if (!mpz_invert(want.value, a, m)) want.fail(MP_ERR_OVERFLOW);
}

// Two n-word operands of the shapes that matter to Euclid's algorithm.
UintOperands gcd_operands(TestRng& rng, i64 n) {
    UintOperands ops{random_operand(rng, n), random_operand(rng, n)};
    const int shape = static_cast<int>(rng.range(0, 5));
    Mpz a(ops[0].data(), n), b(ops[1].data(), n);
    if (shape == 0 && mpz_sgn(b.get()) != 0) {  // a common factor: a = g x, b = g y
        const auto g = random_operand(rng, n, rng.range(1, std::max<i64>(1, n / 2)));
        Mpz gz(g.data(), n);
        mpz_tdiv_q_2exp(a, a, static_cast<mp_bitcnt_t>(gz.bits()));
        mpz_tdiv_q_2exp(b, b, static_cast<mp_bitcnt_t>(gz.bits()));
        mpz_mul(a, a, gz);
        mpz_mul(b, b, gz);
    } else if (shape == 1 && mpz_sgn(a.get()) != 0) {  // b divides a
        mpz_tdiv_q_2exp(b, b, static_cast<mp_bitcnt_t>(rng.range(0, a.bits())));
        if (mpz_sgn(b.get()) == 0) mpz_set_ui(b, 3);
        mpz_fdiv_q(a, a, b);
        mpz_mul(a, a, b);
        if (mpz_sgn(a.get()) == 0) mpz_set(a, b);
    } else if (shape == 2) {  // equal, or next to each other
        ops[1] = near_operand(rng, ops[0]);
        return ops;
    } else if (shape == 3) {  // powers of two times a small odd factor
        mpz_set_ui(a, static_cast<unsigned long>(rng.range(1, 99)));
        mpz_set_ui(b, static_cast<unsigned long>(rng.range(1, 99)));
        mpz_mul_2exp(a, a, static_cast<mp_bitcnt_t>(rng.range(0, 64 * n - 8)));
        mpz_mul_2exp(b, b, static_cast<mp_bitcnt_t>(rng.range(0, 64 * n - 8)));
    } else {
        return ops;
    }
    return {a.words(n), b.words(n)};
}

// Consecutive Fibonacci numbers near the top of n words, times a factor g.
UintOperands fibonacci_pair(i64 n, unsigned long g) {
    Mpz a, b;
    unsigned long k = static_cast<unsigned long>(64 * n * 1.44) - 8;
    do {
        mpz_fib2_ui(b, a, k--);
        mpz_mul_ui(a, a, g);
        mpz_mul_ui(b, b, g);
    } while (!b.fits(n));
    return {b.words(n), a.words(n)};
}

TEST_F(UintGcdTest, GcdAndLcmMatchGmp) {
    const i64 rounds = test_iterations(150);
    for (i64 i = 0; i < rounds; ++i) {
        const i64 n = rng.word_count();
        mp_set_int_words(static_cast<i32>(n));
        const auto ops = gcd_operands(rng, n);
        ASSERT_TRUE(check_uint_op("uint_gcd", uint_run(uint_gcd), gcd_oracle, ops));
        ASSERT_TRUE(check_uint_op("uint_lcm", uint_run(uint_lcm), lcm_oracle, ops));
    }
}

TEST_F(UintGcdTest, FibonacciPairsTakeTheLongestRun) {
    for (i64 n : {1, 2, 3, 65, 2000}) {
        mp_set_int_words(static_cast<i32>(n));
        for (unsigned long g : {1UL, 6UL}) {
            const auto ops = fibonacci_pair(n, g);
            ASSERT_TRUE(check_uint_op("uint_gcd", uint_run(uint_gcd), gcd_oracle, ops));
            ASSERT_TRUE(check_uint_op("uint_mulinv", uint_run(uint_mulinv), mulinv_oracle, ops));
        }
    }
}

TEST_F(UintGcdTest, MulinvMatchesGmp) {
    const i64 rounds = test_iterations(150);
    for (i64 i = 0; i < rounds; ++i) {
        const i64 n = rng.word_count();
        mp_set_int_words(static_cast<i32>(n));
        auto ops = gcd_operands(rng, n);
        if (rng.chance(40) && ops[1][0] % 2 == 0) ops[1][0] |= 1;  // more coprime pairs
        ASSERT_TRUE(check_uint_op("uint_mulinv", uint_run(uint_mulinv), mulinv_oracle, ops));
    }
}

// Hard cases, each with its reason; checked at one word and at 40 words.
TEST_F(UintGcdTest, HardCases) {
    struct Case {
        u64 a, b;
        const char* why;
    };
    const Case cases[] = {
        {0, 5, "zero operand: error 14 (mulinv: error 13)"},
        {5, 0, "zero second operand: error 14 for all three"},
        {3, 7, "the inverse of 3 mod 7 is 5"},
        {2, 4, "no inverse: error 12"},
        {9, 1, "modulus 1: error 14"},
        {1, 1, "modulus 1 beats a = 1"},
        {1, 10, "a = 1 gives 1 at once"},
        {10, 10, "a = m: not coprime"},
        {30, 10, "a a multiple of m: error 12"},
        {11, 10, "a > m, a = 1 mod m"},
        {~u64{0}, ~u64{0} - 1, "largest word pair, quotient 1"},
        {~u64{0}, 2, "single-word divisor of a huge quotient"},
        {u64{1} << 63, 3, "n = 1: lcm just above 2^64, error 12"},
        {(u64{1} << 62) + 1, 2, "n = 1: lcm just below 2^64"},
    };
    for (i64 n : {1, 40}) {
        mp_set_int_words(static_cast<i32>(n));
        for (const Case& c : cases) {
            SCOPED_TRACE(c.why);
            auto a = std::vector<u64>(static_cast<std::size_t>(n)), b = a;
            a[0] = c.a;
            b[0] = c.b;
            EXPECT_TRUE(check_uint_op("uint_gcd", uint_run(uint_gcd), gcd_oracle, {a, b}));
            EXPECT_TRUE(check_uint_op("uint_lcm", uint_run(uint_lcm), lcm_oracle, {a, b}));
            EXPECT_TRUE(check_uint_op("uint_mulinv", uint_run(uint_mulinv), mulinv_oracle, {a, b}));
        }
    }
}

TEST_F(UintGcdTest, StopRequestGivesZero) {
    mp_set_int_words(100);
    const auto ops = fibonacci_pair(100, 1);
    auto dst = words(100);
    for (auto op : {uint_gcd, uint_lcm, uint_mulinv}) {
        dst[0] = 7;
        mp_error = MP_ERR_STOPPED;
        op(dst.data(), ops[0].data(), ops[1].data());
        EXPECT_EQ(mp_error, MP_ERR_STOPPED);
        EXPECT_TRUE(std::all_of(dst.begin(), dst.end(), [](u64 w) { return w == 0; }));
    }
}

}  // namespace
