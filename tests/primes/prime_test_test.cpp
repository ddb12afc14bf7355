// Primality tests against GMP's mpz_probab_prime_p (50 rounds), on random
// numbers, random primes and semiprimes, and on the pseudoprime families that
// fool weaker tests; the Jacobi symbol and the strong Lucas test on their own.
#include "primes/prime_test.h"

#include "numlib/mp_error.h"
#include "prime_test_util.h"

namespace {

bool gmp_prime(mpz_srcptr z) {
    return mpz_probab_prime_p(z, 50) != 0;
}

class PrimeProbabilisticTest : public PrimeTest {
  protected:
    void SetUp() override {
        PrimeTest::SetUp();
        mp_set_int_words(65);
    }
    void expect_agrees(mpz_srcptr z) {
        const std::vector<u64> n = value_of(z);
        const bool ours = prime_test_probabilistic(n.data()) == 0;
        ASSERT_EQ(ours, gmp_prime(z)) << mpz_get_str(nullptr, 10, z);  // small leak on failure only
        ASSERT_EQ(mp_err(), 0);
    }
};

}  // namespace

TEST_F(PrimeTest, JacobiSymbolMatchesGmp) {
    for (i64 iter = 0; iter < test_iterations(3000); ++iter) {
        mp_set_int_words(static_cast<i32>(rng.range(1, 20)));
        Mpz a, n;
        random_exact_bits(a, rng.range(1, 64 * mp_int_words));
        random_exact_bits(n, rng.range(1, 64 * mp_int_words));
        mpz_setbit(n, 0);
        if (mpz_cmp_ui(n.get(), 3) < 0) mpz_set_ui(n, 3);
        if (rng.chance(20)) mpz_mul(a, a, n), mpz_fdiv_r_2exp(a, a, 64 * mp_int_words - 1);
        if (rng.chance(10)) mpz_set_ui(a, rng.range(0, 12));
        const std::vector<u64> av = value_of(a), nv = value_of(n);
        ASSERT_EQ(jacobi_symbol(av.data(), nv.data()), mpz_jacobi(a, n))
            << a.hex() << " / " << n.hex();
    }
    mp_set_int_words(1);
    const u64 a = 5, even = 10;
    EXPECT_EQ(jacobi_symbol(&a, &even), 0);
    EXPECT_EQ(mp_err(), MP_ERR_DOMAIN);
}

// Every number up to 20000, the pseudoprime families, then random numbers,
// primes, numbers free of small factors and semiprimes up to 1253 digits.
TEST_F(PrimeProbabilisticTest, VerdictsMatchGmp) {
    Mpz z, p, q;
    for (unsigned long v = 0; v <= 20000; ++v) mpz_set_ui(z, v), expect_agrees(z);
    // The pseudoprimes of weaker tests, and Chernick's Carmichael numbers
    // with three prime factors above 1000.
    for (const char* text : PSEUDOPRIMES) mpz_set_str(z, text, 10), expect_agrees(z);
    for (unsigned long k = 200, found = 0; found < 60; ++found)
        next_chernick(z, k), expect_agrees(z);
    for (i64 iter = 0; iter < test_iterations(300); ++iter) {
        const i64 bits = rng.chance(5) ? 4160 : rng.range(10, 600);
        random_exact_bits(z, rng.range(1, bits));
        switch (iter % 4) {
            case 0:  // arbitrary
                break;
            case 1:  // a prime
                if (bits < 2000 || iter % 40 == 1) mpz_nextprime(z, z);
                break;
            case 2:  // odd, free of small factors: only the Euler and Lucas tests decide
                mpz_setbit(z, 0);
                while (mpz_gcd_ui(nullptr, z, 223092870UL) != 1) mpz_add_ui(z, z, 2);
                break;
            default:  // a product of two primes above 1000
                random_exact_bits(p, rng.range(1, std::min<i64>(bits / 2 + 11, 2070)));
                mpz_add_ui(p, p, 1000);
                mpz_nextprime(p, p);
                mpz_nextprime(q, p);
                mpz_mul(z, p, q);
        }
        if (mpz_sizeinbase(z, 2) > 4160) mpz_fdiv_r_2exp(z, z, 4160);
        expect_agrees(z);
    }
}

TEST_F(PrimeProbabilisticTest, StrongLucasPseudoprimesBelow100000AreExactlyTheKnownOnes) {
    const std::vector<unsigned long> known = {5459,  5777,  10877, 16109, 18971, 22499,
                                              24569, 25199, 40309, 58519, 75077, 97439};
    std::vector<unsigned long> found;
    Mpz z;
    for (unsigned long v = 7; v < 100000; v += 2) {
        if (v % 3 == 0 || v % 5 == 0) continue;
        mpz_set_ui(z, v);
        const std::vector<u64> n = value_of(z);
        const bool passes = lucas_test_strong(n.data()), prime = gmp_prime(z);
        ASSERT_TRUE(passes || !prime) << v;
        if (passes && !prime) found.push_back(v);
    }
    EXPECT_EQ(found, known);
}

TEST_F(PrimeProbabilisticTest, NoWordsIsAnErrorAndComposite) {
    const std::vector<u64> n = value_of("1009");
    mp_int_words = 0;
    EXPECT_EQ(prime_test_probabilistic(n.data()), 1u);
    mp_int_words = 65;
    EXPECT_EQ(mp_err(), MP_ERR_DOMAIN);
}

TEST_F(PrimeTest, ExactTestEndsAtAStopRequest) {
    mp_set_int_words(2);
    const std::vector<u64> n = value_of("170141183460469231731687303715884105727");  // 2^127 - 1
    appError.store(APP_ERR_STOPPED);
    EXPECT_TRUE(prime_test_exact(n.data()));  // answer ignored by callers; it must return at once
}
