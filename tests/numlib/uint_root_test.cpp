// Square roots and k-th roots against mpz_sqrtrem and mpz_rootrem: value and
// exactness, perfect powers and their neighbours, aliasing and error
// handling.
#include <gmp.h>

#include <cstdint>
#include <string>
#include <vector>

#include "numlib/mp_error.h"
#include "numlib/mp_scratch.h"
#include "numlib/uint.h"
#include "numlib/vec.h"
#include "support/gmp_oracle.h"
#include "support/numlib_fixture.h"

namespace {

class UintRootTest : public NumlibTest {
  protected:
    // Sets a random word count and returns it.
    i64 random_words(i64 max = 2000) {
        const i64 n = rng.word_count(max);
        mp_set_int_words(static_cast<i32>(n));
        return n;
    }

    // An n-word value of random significant length with varied words.
    std::vector<u64> random_value(i64 n) {
        std::vector<u64> a = words(n);
        rng.fill(a.data(), n, rng.range(1, n));
        return a;
    }

    // x^k + delta as an n-word value (delta -1, 0, +1), x random of a bit
    // length that lets the power fit n words; false when it does not fit.
    bool near_power(std::vector<u64>& out, i64 n, u64 k, int delta) {
        const i64 bits = rng.range(1, std::max<i64>(1, 64 * n / static_cast<i64>(k)));
        std::vector<u64> xw = words((bits + 63) / 64);
        rng.fill(xw.data(), static_cast<i64>(xw.size()), static_cast<i64>(xw.size()));
        Mpz x(xw.data(), static_cast<i64>(xw.size())), p;
        mpz_tdiv_r_2exp(x, x, static_cast<mp_bitcnt_t>(bits));
        if (mpz_sgn(x.get()) == 0) mpz_set_ui(x, 2);
        mpz_pow_ui(p, x, k);
        if (delta > 0) mpz_add_ui(p, p, 1);
        if (delta < 0) mpz_sub_ui(p, p, 1);
        if (!p.fits(n)) return false;
        out = p.words(n);
        return true;
    }

    enum class Via { Sqrt, Root, RootUint };

    // Runs the root through the chosen entry point on a, with dst apart from
    // a or aliased to it, sometimes with an error already pending, and checks
    // value, flag, error and scratch.
    void check_root(const std::vector<u64>& a, u64 k, Via via) {
        const i64 n = static_cast<i64>(a.size());
        Mpz ma(a.data(), n), root, rem;
        if (k == 2)
            mpz_sqrtrem(root, rem, ma);
        else
            mpz_rootrem(root, rem, ma, k);
        const bool alias = rng.chance(30);
        const i32 pending = rng.chance(20) ? MP_ERR_DIV_ZERO : 0;
        std::vector<u64> dst = alias ? a : words(n), kw = words(n);
        kw[0] = k;
        const u64* src = alias ? dst.data() : a.data();
        mp_error = pending;
        bool exact = false;
        switch (via) {
            case Via::Sqrt:
                exact = uint_sqrt(dst.data(), src);
                break;
            case Via::Root:
                exact = uint_root(dst.data(), static_cast<i64>(k), src);
                break;
            case Via::RootUint:
                exact = uint_root_uint(dst.data(), kw.data(), src);
                break;
        }
        const auto trace = [&] {
            return "k=" + std::to_string(k) + " a=" + ma.hex() + (alias ? " aliased" : "") +
                   (pending ? " error pending" : "");
        };
        ASSERT_EQ(mp_error, pending) << trace();
        ASSERT_EQ(dst, root.words(n)) << trace();
        ASSERT_EQ(exact, mpz_sgn(rem.get()) == 0) << trace();
        ASSERT_EQ(mp_scratch_top, mp_scratch_base) << trace();
    }

    Via random_via(u64 k) {
        if (k == 2 && rng.chance(50)) return Via::Sqrt;
        return rng.chance(70) ? Via::Root : Via::RootUint;
    }

    u64 random_k() {
        if (rng.chance(40)) return 2;
        return static_cast<u64>(rng.chance(70) ? rng.range(3, 12) : rng.range(13, 200));
    }
};

// Random values, and perfect powers x^k with their neighbours x^k - 1 and
// x^k + 1; square roots at every size, higher roots mostly below 300 words.
TEST_F(UintRootTest, RootsMatchGmp) {
    for (i64 iter = 0; iter < test_iterations(800); ++iter) {
        const u64 k = random_k();
        const i64 n = random_words(k == 2 || rng.chance(20) ? 2000 : 300);
        std::vector<u64> a = random_value(n);
        if (rng.chance(60) && !near_power(a, n, k, static_cast<int>(rng.range(-1, 1)))) continue;
        ASSERT_NO_FATAL_FAILURE(check_root(a, k, random_via(k)));
    }
}

// Every small one-word value and the largest ones: short roots, which come
// straight from the floating-point estimate.
TEST_F(UintRootTest, OneWordValues) {
    for (u64 k = 1; k <= 13; ++k)
        for (u64 i = 0; i < 600; ++i)
            for (u64 v : {i, ~u64{0} - i})
                ASSERT_NO_FATAL_FAILURE(check_root({v}, k, random_via(k)));
}

// Roots of few bits: k near the bit length L of a, and far beyond it.
TEST_F(UintRootTest, RootWithLargeK) {
    for (i64 iter = 0; iter < test_iterations(60); ++iter) {
        const i64 n = random_words();
        const std::vector<u64> a = random_value(n);
        const i64 bits = Mpz(a.data(), n).bits();
        for (i64 k :
             {bits / 40 + 2, bits / 3 + 2, bits - 1, bits, bits + 1, i64{1} << 40, INT64_MAX})
            if (k >= 2) {
                ASSERT_NO_FATAL_FAILURE(
                    check_root(a, static_cast<u64>(k), random_via(static_cast<u64>(k))));
            }
    }
}

// The square-root kernel: s^2 + r = a with r <= 2s, and nothing written
// past s, a or the scratch words its scratch function asks for.
TEST_F(UintRootTest, SqrtKernelStaysInItsBuffers) {
    constexpr u64 CANARY = 0x5AFE5AFE5AFE5AFEULL;
    for (i64 iter = 0; iter < test_iterations(40); ++iter) {
        const i64 n = rng.word_count(1000);
        std::vector<u64> a(static_cast<std::size_t>(2 * n + 2), CANARY),
            s(static_cast<std::size_t>(n + 2), CANARY);
        std::vector<u64> scratch(static_cast<std::size_t>(vec_sqrtrem_scratch(n) + 2), CANARY);
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

TEST_F(UintRootTest, RootUintWithHugeK) {
    mp_set_int_words(3);
    const std::vector<u64> big_ks[] = {{u64{1} << 63, 0, 0}, {~u64{0}, 0, 0}, {0, 1, 0}, {5, 0, 9}};
    for (u64 a0 : {u64{0}, u64{1}, u64{2}, ~u64{0}}) {
        for (const auto& k : big_ks) {
            const std::vector<u64> a = {a0, 0, a0 == ~u64{0} ? 3u : 0u};
            std::vector<u64> dst = words(3);
            const bool exact = uint_root_uint(dst.data(), k.data(), a.data());
            EXPECT_EQ(dst, (std::vector<u64>{a0 ? 1u : 0u, 0, 0})) << a0;
            EXPECT_EQ(exact, a0 <= 1) << a0;
            EXPECT_EQ(mp_error, 0);
        }
    }
    // Below 2^63 k is an ordinary root.
    const std::vector<u64> k5 = {5, 0, 0}, a = {0, 0, 1};  // 2^128 = (2^25.6)^5
    std::vector<u64> dst = words(3);
    EXPECT_FALSE(uint_root_uint(dst.data(), k5.data(), a.data()));
    EXPECT_EQ(dst[0], 50859008u);  // floor(2^25.6)
}

// An index below 1 is error 14 with a zero result; a pending error wins
// over it (the random checks above cover pending errors on ordinary roots).
TEST_F(UintRootTest, IndexBelowOneIsADomainError) {
    mp_set_int_words(4);
    const std::vector<u64> a = random_value(4);
    for (i64 k : {0, -3}) {
        for (i32 pending : {i32{0}, i32{MP_ERR_OVERFLOW}}) {
            std::vector<u64> dst = a;
            mp_error = pending;
            EXPECT_TRUE(uint_root(dst.data(), k, a.data())) << k;
            EXPECT_EQ(mp_error, pending ? pending : MP_ERR_DOMAIN) << k;
            EXPECT_EQ(dst, words(4)) << k;
        }
    }
}

// With the scratch area nearly used up the roots fail cleanly with error 30.
TEST_F(UintRootTest, ScratchExhausted) {
    mp_set_int_words(2000);
    std::vector<u64> a = words(2000);
    rng.fill(a.data(), 2000, 2000);
    ScratchMark hog;
    const std::size_t avail =
        static_cast<std::size_t>(mp_scratch_end - mp_scratch_top) / sizeof(u64);
    ASSERT_NE(hog.take(avail - 1000), nullptr);
    for (i64 k : {2, 3, 100}) {
        std::vector<u64> dst(2000, 5);
        mp_error = 0;
        EXPECT_FALSE(uint_root(dst.data(), k, a.data())) << k;
        EXPECT_EQ(mp_error, MP_ERR_INTERNAL) << k;
        EXPECT_EQ(dst, words(2000)) << k;
    }
}

}  // namespace
