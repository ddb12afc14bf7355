// Factorials, permutations and combinations against GMP: values and overflow
// at the edge of the word count (including combinations whose value fits
// while the step-wise product j * C does not), the loop limit, huge
// operands, aliasing, and a stop request.
#include <gmp.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "numlib/mp_error.h"
#include "numlib/uint.h"
#include "support/numlib_fixture.h"
#include "support/uint_harness.h"

namespace {

using UintCombTest = NumlibTest;
using Words = std::vector<u64>;
using Ops = std::vector<const Mpz*>;
using Ptrs = std::vector<const u64*>;

Words small_words(i64 n, u64 v) {
    Words w(static_cast<std::size_t>(n));
    w[0] = v;
    return w;
}

// The largest v with v! < 2^(64n).
u64 largest_factorial(i64 n) {
    u64 v = 1;
    while (std::lgamma(static_cast<double>(v) + 2.0) / std::log(2.0) <
           64.0 * static_cast<double>(n))
        ++v;
    Mpz f;
    for (mpz_fac_ui(f, v + 1); f.fits(n); mpz_fac_ui(f, ++v + 1)) {
    }
    for (mpz_fac_ui(f, v); !f.fits(n); mpz_fac_ui(f, --v)) {
    }
    return v;
}

// a!, error 12 when it does not fit (a beyond 10^6 never does here).
void factorial_oracle(UintExpect& want, const Ops& v) {
    if (!mpz_fits_ulong_p(*v[0]) || mpz_get_ui(*v[0]) > 1000000) return want.fail(MP_ERR_OVERFLOW);
    mpz_fac_ui(want.value, mpz_get_ui(*v[0]));
    want.fail_unless_fits();
}

// Up to the largest factorial that fits and one past it, and arguments of
// more than a word, decided from their size alone.
TEST_F(UintCombTest, FactorialsMatchGmp) {
    for (i64 iter = 0; iter < test_iterations(30); ++iter) {
        const i64 n = rng.word_count();
        mp_set_int_words(static_cast<i32>(n));
        const u64 vmax = largest_factorial(n);
        for (u64 v : {vmax, vmax + 1, static_cast<u64>(rng.range(0, static_cast<i64>(vmax))),
                      static_cast<u64>(rng.range(0, 60))})
            ASSERT_TRUE(check_uint_op("uint_factorial " + std::to_string(v),
                                      uint_run(uint_factorial), factorial_oracle,
                                      {small_words(n, v)}));
    }
    mp_set_int_words(3);
    for (Words a : {Words{~u64{0}, 0, 0}, Words{0, 1, 0}, Words{5, 0, 7}})
        EXPECT_TRUE(
            check_uint_op("uint_factorial", uint_run(uint_factorial), factorial_oracle, {a}));
}

TEST_F(UintCombTest, FactorialStopsOnAStopRequest) {
    mp_set_int_words(2000);
    Words a = small_words(2000, 10000), r = words(2000);
    Mpz want;
    mpz_fac_ui(want, 10000);
    ASSERT_TRUE(want.fits(2000));
    std::thread stopper([] {
        std::this_thread::sleep_for(std::chrono::microseconds(300));
        mp_error.store(MP_ERR_STOPPED);
    });
    uint_factorial(r.data(), a.data());
    stopper.join();
    EXPECT_EQ(mp_err(), MP_ERR_STOPPED);
    // stopped part-way the result is 0; a request that came too late leaves the value
    EXPECT_TRUE(uint_is_zero(r.data()) || r == want.words(2000));
    uint_factorial(r.data(), a.data());  // the request is still pending
    EXPECT_TRUE(uint_is_zero(r.data()));
}

// What the step-wise evaluation gives: *err and the value (0 on error).
void expected_perm_comb(Mpz& want, i32* err, const Mpz& big_n, const Mpz& k, i64 limit, bool perm,
                        i64 n) {
    *err = 0;
    mpz_set_ui(want, 0);
    if (mpz_cmp(big_n, k) < 0) return;
    Mpz t, j;
    mpz_sub(t, big_n, k);
    mpz_set(j, perm || mpz_cmp(k, t) <= 0 ? k.get() : t.get());
    if (limit >= 1 && mpz_cmp_ui(j.get(), static_cast<unsigned long>(limit)) > 0) {
        *err = MP_ERR_DOMAIN;
        return;
    }
    // beyond this j! (perm) or C(2j, j) (comb) alone needs more than 128000 bits
    if (!mpz_fits_ulong_p(j) || mpz_get_ui(j) > 200000) {
        *err = MP_ERR_OVERFLOW;
        return;
    }
    const unsigned long jj = mpz_get_ui(j);
    Mpz c, last;
    // C(N, j) = C(N, min(k, N - k)); for perm N - k may be the smaller, and then it is small
    mpz_bin_ui(c, big_n, mpz_cmp_ui(t.get(), jj) < 0 ? mpz_get_ui(t) : jj);
    if (perm) {
        Mpz f;
        mpz_fac_ui(f, jj);
        mpz_mul(c, c, f);
        mpz_set(last, c);
    } else {
        mpz_mul_ui(last, c, jj);
    }
    if (!last.fits(n)) {
        *err = MP_ERR_OVERFLOW;
        return;
    }
    mpz_set(want, c);
}

// uint_perm_comb against the step-wise evaluation, dst in every placement.
void check_perm_comb(const Mpz& big_n, const Mpz& k, i64 limit, bool perm, i64 n) {
    const UintRun run = [limit, perm](u64* d, const Ptrs& p) {
        uint_perm_comb(d, p[0], p[1], limit, perm);
        return u64{0};
    };
    const UintOracle oracle = [&](UintExpect& want, const Ops& v) {
        i32 err = 0;
        expected_perm_comb(want.value, &err, *v[0], *v[1], limit, perm, n);
        if (err) want.fail(err);
    };
    ASSERT_TRUE(
        check_uint_op(std::string(perm ? "perm" : "comb") + " limit=" + std::to_string(limit), run,
                      oracle, {big_n.words(n), k.words(n)}));
}

TEST_F(UintCombTest, RandomPermutationsAndCombinations) {
    for (i64 iter = 0; iter < test_iterations(300); ++iter) {
        // near the limit the cost of the big-j shapes grows with the word count
        const i64 shape = rng.range(0, 4);
        const i64 n = rng.word_count(shape >= 3 ? 300 : 2000);
        mp_set_int_words(static_cast<i32>(n));
        Mpz big_n, k;
        switch (shape) {
            case 0:  // small operands, k sometimes above n
                mpz_set_ui(big_n, static_cast<unsigned long>(rng.range(0, 3000)));
                mpz_set_ui(k, static_cast<unsigned long>(
                                  rng.range(0, static_cast<i64>(mpz_get_ui(big_n)) + 2)));
                break;
            case 1: {  // long n, k or n - k small
                Words w = words(n);
                rng.fill(w.data(), n, rng.range(1, n));
                big_n.set(w.data(), n);
                mpz_set_ui(k, static_cast<unsigned long>(rng.range(0, 40)));
                if (rng.chance(40) && mpz_cmp(big_n, k) >= 0) mpz_sub(k, big_n, k);
                break;
            }
            case 2:  // n near 2^64: factors on both sides of the word boundary
                mpz_set_ui(big_n, rng.word() | (u64{1} << 63));
                if (n > 1 && rng.chance(50)) {
                    mpz_set_ui(big_n, static_cast<unsigned long>(rng.range(0, 60)));
                    mpz_setbit(big_n, 64);
                }
                mpz_set_ui(k, static_cast<unsigned long>(rng.range(0, 60)));
                break;
            case 3: {  // n beyond the prime sieve, j up to where C(n, j) stops fitting
                mpz_set_ui(big_n, static_cast<unsigned long>(rng.range(1 << 22, 1 << 26)));
                mpz_set_ui(k, static_cast<unsigned long>(rng.range(0, 8 * n)));
                break;
            }
            default: {  // C(N, N/2) around the limit: the largest loop counts that fit
                const i64 big = 64 * n + rng.range(-40, 40);
                mpz_set_ui(big_n, static_cast<unsigned long>(std::max<i64>(big, 2)));
                mpz_set_ui(
                    k, static_cast<unsigned long>(std::max<i64>(big / 2 + rng.range(-3, 3), 0)));
            }
        }
        const i64 limit = rng.chance(20)   ? rng.range(1, 100)
                          : rng.chance(50) ? 0
                                           : -rng.range(1, 5);
        ASSERT_NO_FATAL_FAILURE(check_perm_comb(big_n, k, limit, rng.chance(50), n));
    }
}

// The largest N with weight(N) < 2^(64n), from a start below it.
void raise_to_limit(Mpz& big_n, i64 n, const std::function<void(Mpz&, const Mpz&)>& weight) {
    Mpz w, next;
    for (;;) {
        mpz_add_ui(next, big_n, 1);
        weight(w, next);
        if (!w.fits(n)) return;
        mpz_set(big_n, next);
    }
}

// At the largest N for which the step-wise product still fits, the value;
// at N + 1, error 12. For combinations that N is below the one where C(N, j)
// itself stops fitting: the last step j * C(N, j) is what overflows.
TEST_F(UintCombTest, StepwiseProductsAtTheLimit) {
    for (i64 iter = 0; iter < test_iterations(60); ++iter) {
        const i64 n = rng.word_count();
        mp_set_int_words(static_cast<i32>(n));
        const bool perm = iter % 2 == 1;
        const unsigned long j = static_cast<unsigned long>(
            perm ? rng.range(2, 30) : rng.range(2, std::min<i64>(40, 16 * n)));
        // a start below the limit: j * C(N, j) < N^j / (j - 1)! and N(N-1)...(N-j+1) < N^j
        Mpz big_n, f;
        mpz_fac_ui(f, perm ? 1 : j - 1);
        mpz_mul_2exp(big_n, f, static_cast<mp_bitcnt_t>(64 * n));
        mpz_root(big_n, big_n, j);
        mpz_sub_ui(big_n, big_n, 1);
        if (mpz_cmp_ui(big_n.get(), j) < 0) mpz_set_ui(big_n, j);
        raise_to_limit(big_n, n, [j, perm](Mpz& w, const Mpz& x) {
            Mpz g;
            mpz_bin_ui(w, x, j);
            mpz_fac_ui(g, perm ? j : 1);
            mpz_mul(w, w, g);
            if (!perm) mpz_mul_ui(w, w, j);
        });
        Mpz past, c, k, k_sym;
        mpz_add_ui(past, big_n, 1);
        mpz_bin_ui(c, past, j);
        ASSERT_TRUE(perm || c.fits(n)) << "C(N + 1, j) itself fits: the case under test";
        mpz_set_ui(k, j);
        mpz_sub_ui(k_sym, past, j);
        check_perm_comb(big_n, k, 0, perm, n);  // at the limit: the value
        check_perm_comb(past, k, 0, perm, n);   // one further: error 12
        if (!perm) check_perm_comb(past, k_sym, 0, false, n);
    }
}

// Loop counts no random operand reaches: decided without running the loop.
TEST_F(UintCombTest, HugeLoopCounts) {
    mp_set_int_words(4);
    struct Case {
        Words n, k;
        i64 limit;
        bool perm;
        i32 err;
        const char* why;
    };
    const Case cases[] = {
        {{0, 0, 1 << 20, 0}, {0, 0, 1 << 19, 0}, 0, false, MP_ERR_OVERFLOW, "2^147 factors"},
        {{0, 0, 1 << 20, 0}, {0, 0, 1 << 19, 0}, 5, false, MP_ERR_DOMAIN, "the limit comes first"},
        {{0, 64, 0, 0}, {0, 1, 0, 0}, 0, true, MP_ERR_OVERFLOW, "2^64 factors for perm"},
    };
    for (const Case& c : cases) {
        Words r = small_words(4, 77);
        mp_error = 0;
        uint_perm_comb(r.data(), c.n.data(), c.k.data(), c.limit, c.perm);
        EXPECT_EQ(mp_err(), c.err) << c.why;
        EXPECT_EQ(r, words(4)) << c.why;
    }
}

}  // namespace
