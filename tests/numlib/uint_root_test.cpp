// Square roots and k-th roots against mpz_sqrtrem and mpz_rootrem: value and
// exactness through each entry point, perfect powers and their neighbours,
// indices near and far beyond the bit length, the kernel's buffers, and the
// refusals.
#include <gmp.h>

#include <cstdint>
#include <string>
#include <vector>

#include "numlib/mp_error.h"
#include "numlib/mp_scratch.h"
#include "numlib/uint.h"
#include "numlib/vec.h"
#include "support/numlib_fixture.h"
#include "support/uint_harness.h"

namespace {

using Words = std::vector<u64>;
using Ops = std::vector<const Mpz*>;
using Ptrs = std::vector<const u64*>;

class UintRootTest : public NumlibTest {
  protected:
    i64 random_words(i64 max = 2000) {
        const i64 n = rng.word_count(max);
        mp_set_int_words(static_cast<i32>(n));
        return n;
    }

    Words random_value(i64 n) { return random_operand(rng, n, rng.range(1, n)); }

    // x^k + delta as an n-word value (delta -1, 0, +1), x random of a bit
    // length that lets the power fit n words; false when it does not fit.
    bool near_power(Words& out, i64 n, u64 k, int delta) {
        const i64 bits = rng.range(1, std::max<i64>(1, 64 * n / static_cast<i64>(k)));
        Mpz x(random_operand(rng, (bits + 63) / 64, (bits + 63) / 64).data(), (bits + 63) / 64), p;
        mpz_tdiv_r_2exp(x, x, static_cast<mp_bitcnt_t>(bits));
        if (mpz_sgn(x.get()) == 0) mpz_set_ui(x, 2);
        mpz_pow_ui(p, x, k);
        if (delta > 0) mpz_add_ui(p, p, 1);
        if (delta < 0) mpz_sub_ui(p, p, 1);
        if (!p.fits(n)) return false;
        out = p.words(n);
        return true;
    }

    // The k-th root of a through uint_sqrt (k = 2, sometimes), uint_root or
    // uint_root_uint, in every placement of the destination.
    bool check_root(const Words& a, u64 k) {
        const int via = k == 2 && rng.chance(50) ? 0 : rng.chance(70) ? 1 : 2;
        const UintRun run = [k, via](u64* d, const Ptrs& p) {
            if (via == 0) return u64{uint_sqrt(d, p[0])};
            if (via == 1) return u64{uint_root(d, static_cast<i64>(k), p[0])};
            Words kw(static_cast<std::size_t>(mp_int_words));
            kw[0] = k;
            return u64{uint_root_uint(d, kw.data(), p[0])};
        };
        const UintOracle oracle = [k](UintExpect& want, const Ops& v) {
            Mpz rem;
            mpz_rootrem(want.value, rem, *v[0], k);
            want.ret = mpz_sgn(rem.get()) == 0;
        };
        return check_uint_op("root k=" + std::to_string(k) + " via " + std::to_string(via), run,
                             oracle, {a});
    }

    u64 random_k() {
        if (rng.chance(40)) return 2;
        return static_cast<u64>(rng.chance(70) ? rng.range(3, 12) : rng.range(13, 200));
    }
};

// Random values, and perfect powers x^k with their neighbours x^k - 1 and
// x^k + 1; square roots at every size, higher roots mostly below 300 words.
TEST_F(UintRootTest, RootsMatchGmp) {
    for (i64 iter = 0; iter < test_iterations(500); ++iter) {
        const u64 k = random_k();
        const i64 n = random_words(k == 2 || rng.chance(20) ? 2000 : 300);
        Words a = random_value(n);
        if (rng.chance(60) && !near_power(a, n, k, static_cast<int>(rng.range(-1, 1)))) continue;
        ASSERT_TRUE(check_root(a, k));
    }
}

// Every small one-word value and the largest ones: short roots, which come
// straight from the floating-point estimate.
TEST_F(UintRootTest, OneWordValues) {
    mp_set_int_words(1);
    for (u64 k = 1; k <= 13; ++k)
        for (u64 i = 0; i < 600; i += 1 + i / 50)
            for (u64 v : {i, ~u64{0} - i}) ASSERT_TRUE(check_root({v}, k));
}

// Roots of few bits: k near the bit length L of a, and far beyond it.
TEST_F(UintRootTest, RootWithLargeK) {
    for (i64 iter = 0; iter < test_iterations(60); ++iter) {
        const i64 n = random_words();
        const Words a = random_value(n);
        const i64 bits = Mpz(a.data(), n).bits();
        for (i64 k :
             {bits / 40 + 2, bits / 3 + 2, bits - 1, bits, bits + 1, i64{1} << 40, INT64_MAX})
            if (k >= 2) {
                ASSERT_TRUE(check_root(a, static_cast<u64>(k)));
            }
    }
}

// The square-root kernel: s^2 + r = a with r <= 2s, and nothing written
// past s, a or the scratch words its scratch function asks for.
TEST_F(UintRootTest, SqrtKernelStaysInItsBuffers) {
    constexpr u64 CANARY = 0x5AFE5AFE5AFE5AFEULL;
    for (i64 iter = 0; iter < test_iterations(40); ++iter) {
        const i64 n = rng.word_count(1000);
        Words a(static_cast<std::size_t>(2 * n + 2), CANARY),
            s(static_cast<std::size_t>(n + 2), CANARY);
        Words scratch(static_cast<std::size_t>(vec_sqrtrem_scratch(n) + 2), CANARY);
        rng.fill(a.data(), 2 * n, 2 * n);
        a[static_cast<std::size_t>(2 * n - 1)] |= u64{1} << rng.range(62, 63);
        const Mpz ma(a.data(), 2 * n);
        const u64 rem_top = vec_sqrtrem(s.data(), a.data(), n, scratch.data());
        Mpz root(s.data(), n), rem(a.data(), n), check;
        if (rem_top) mpz_setbit(rem, static_cast<mp_bitcnt_t>(64 * n));
        mpz_mul(check, root, root);
        mpz_add(check, check, rem);
        ASSERT_EQ(mpz_cmp(check, ma), 0) << ma.hex();
        mpz_mul_2exp(check, root, 1);
        ASSERT_LE(mpz_cmp(rem, check), 0) << ma.hex();
        for (const auto* v : {&a, &s, &scratch})
            ASSERT_TRUE(v->end()[-1] == CANARY && v->end()[-2] == CANARY)
                << "overrun, " << ma.hex();
    }
}

// An index of 2^63 or more: the root is 1 for every a >= 1.
TEST_F(UintRootTest, RootUintWithHugeK) {
    mp_set_int_words(3);
    for (u64 a0 : {u64{0}, u64{1}, u64{2}, ~u64{0}}) {
        for (const Words& k : {Words{u64{1} << 63, 0, 0}, Words{0, 1, 0}, Words{5, 0, 9}}) {
            const Words a = {a0, 0, a0 == ~u64{0} ? 3u : 0u};
            Words dst = words(3);
            const bool exact = uint_root_uint(dst.data(), k.data(), a.data());
            EXPECT_EQ(dst, (Words{a0 ? 1u : 0u, 0, 0})) << a0;
            EXPECT_EQ(exact, a0 <= 1) << a0;
            EXPECT_EQ(mp_error, 0);
        }
    }
}

// An index below 1 is error 14 with a zero result, and so is an exhausted
// scratch area (error 30).
TEST_F(UintRootTest, Refusals) {
    mp_set_int_words(2000);
    const Words a = random_operand(rng, 2000, 2000);
    for (i64 k : {0, -3}) {
        Words dst = a;
        mp_error = 0;
        EXPECT_TRUE(uint_root(dst.data(), k, a.data())) << k;
        EXPECT_EQ(mp_error, MP_ERR_DOMAIN) << k;
        EXPECT_EQ(dst, words(2000)) << k;
    }
    ScratchMark hog;
    const std::size_t avail =
        static_cast<std::size_t>(mp_scratch_end - mp_scratch_top) / sizeof(u64);
    ASSERT_NE(hog.take(avail - 1000), nullptr);
    for (i64 k : {2, 3, 100}) {
        Words dst(2000, 5);
        mp_error = 0;
        EXPECT_FALSE(uint_root(dst.data(), k, a.data())) << k;
        EXPECT_EQ(mp_error, MP_ERR_INTERNAL) << k;
        EXPECT_EQ(dst, words(2000)) << k;
    }
}

}  // namespace
