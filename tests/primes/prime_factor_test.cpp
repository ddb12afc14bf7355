// Factorizations and divisor lists: products and primality checked with GMP,
// divisor lists against brute force, their limit, and the worker's stop.
#include "primes/prime_factor.h"

#include <chrono>
#include <thread>

#include "numlib/mp_error.h"
#include "prime_test_util.h"
#include "primes/prime_factors_worker.h"

namespace {

class FactorTest : public PrimeTest {
  protected:
    void SetUp() override {
        PrimeTest::SetUp();
        mp_set_int_words(2);
    }
    // The factors of z are primes, ascending, and their product is z.
    void check_factorization(mpz_srcptr z) {
        const std::vector<u64> v = value_of(z);
        PrimeFactorList list;
        prime_factorize(list, v.data());
        Mpz product, p, prev;
        mpz_set_ui(product, 1);
        for (i64 i = 0; i < list.count; ++i) {
            p.set(list.primes[i], 2);
            ASSERT_NE(mpz_probab_prime_p(p, 50), 0) << p.hex();
            ASSERT_LT(mpz_cmp(prev, p), 0);
            mpz_set(prev, p);
            for (u64 k = 0; k < list.multiplicities[i]; ++k) mpz_mul(product, product, p);
        }
        ASSERT_EQ(mpz_cmp(product, z), 0) << words_hex(v.data(), 2);
    }
};

}  // namespace

TEST_F(FactorTest, ProductOfPrimeFactorsIsTheNumber) {
    Mpz z, p, q;
    for (unsigned long v = 1; v < 3000; ++v) mpz_set_ui(z, v), check_factorization(z);
    for (i64 iter = 0; iter < test_iterations(300); ++iter) {
        // Small primes with powers, times at most one prime that may be large.
        mpz_set_ui(z, 1);
        while (mpz_sizeinbase(z, 2) < 60) {
            mpz_set_ui(p, static_cast<unsigned long>(rng.range(2, iter % 2 ? 100 : 200000)));
            mpz_nextprime(p, p);
            mpz_pow_ui(p, p, static_cast<unsigned long>(rng.range(1, 4)));
            mpz_mul(z, z, p);
        }
        random_prime(p, static_cast<int>(rng.range(2, 68)));
        mpz_mul(z, z, p);
        if (mpz_sizeinbase(z, 2) > 128) continue;
        check_factorization(z);
    }
    // Two primes of every balance up to 2^128 (the balanced ones take the
    // quadratic sieve), and prime powers.
    for (int small = 2; small <= 64; small += small < 20 ? 1 : 4) {
        random_prime(p, small);
        random_prime(q, static_cast<int>(rng.range(small, 128 - small)));
        mpz_mul(z, p, q);
        check_factorization(z);
    }
    for (int k = 2; k <= 8; ++k) {
        random_prime(p, 128 / k);
        mpz_pow_ui(z, p, static_cast<unsigned long>(k));
        check_factorization(z);
        random_prime(q, 128 / k - 2);
        mpz_divexact(z, z, p);
        mpz_mul(z, z, q);  // p^(k-1) q
        check_factorization(z);
    }
    mp_set_int_words(3);
    PrimeFactorList list;
    const std::vector<u64> v = words(3);
    prime_factorize(list, v.data());
    EXPECT_EQ(list.count, -1);
    EXPECT_EQ(appError.load(), APP_ERR_INTERNAL);
}

TEST_F(FactorTest, DivisorListsMatchBruteForceUpToTheirLimit) {
    std::vector<u64> storage(2 * DIVISOR_LIST_CAPACITY);
    DivisorList list{0, reinterpret_cast<u64(*)[2]>(storage.data())};
    PrimeFactorList factors;
    for (i64 iter = 0; iter < test_iterations(700); ++iter) {
        const u64 n =
            iter < 500 ? static_cast<u64>(iter + 1) : static_cast<u64>(rng.range(1, 999999));
        const u64 v[2] = {n, 0};
        prime_factorize(factors, v);
        divisors_from_factors(list, factors);
        std::vector<u64> expect;
        for (u64 d = 1; d <= n; ++d)
            if (n % d == 0) expect.push_back(d);
        ASSERT_EQ(list.count, static_cast<i64>(expect.size())) << n;
        for (std::size_t i = 0; i < expect.size(); ++i) {
            ASSERT_EQ(list.values[i][0], expect[i]) << n;
            ASSERT_EQ(list.values[i][1], 0u);
        }
    }
    // 2 * 3 * ... * 43: 14 primes, exactly 16384 divisors; with 47 there are 32768.
    const u64 fits[2] = {13082761331670030ULL, 0};
    prime_factorize(factors, fits);
    divisors_from_factors(list, factors);
    ASSERT_EQ(list.count, DIVISOR_LIST_CAPACITY);
    EXPECT_EQ(list.values[list.count - 1][0], fits[0]);
    // The insertion itself refuses a full list.
    list.count = DIVISOR_LIST_CAPACITY;
    divisor_list_insert(list, fits);
    EXPECT_EQ(list.count, -1);
}

// A run of a million numbers streams its lines and ends within a second of
// the stop, without a line for the number at hand: below 2^64 (rho), and
// near 2^128 (rho, the quadratic sieve and the primality certificates).
TEST_F(FactorTest, StopEndsALongFactorRunWithinASecond) {
    for (const u64 high : {u64{0}, ~u64{0} >> 1}) {
        clearErrors();
        const SPrimeFactorCalc calc{0, 0, {~u64{0} - 2000000, high}, 1000000, 0, 10};
        CollectingSink sink;
        prime_factors_start_thread(calc, sink);
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        const auto asked = std::chrono::steady_clock::now();
        raiseAppError(APP_ERR_STOPPED, u"?", u"?");
        ASSERT_TRUE(sink.wait_done(60));
        const double seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - asked).count();
        EXPECT_LT(seconds, 1.0);
        const std::string text = sink.text();
        EXPECT_NE(text.find(" = "), std::string::npos);  // lines came before the stop
        EXPECT_EQ(text.substr(text.size() - 2), "\r\n");
        EXPECT_EQ(appError.load(), APP_ERR_STOPPED);
    }
}
