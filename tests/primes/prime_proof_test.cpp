// The exact test below 2^128 and its n - 1 proofs from 2^64 on against GMP
// (50 rounds) and the PARI-proven table, on random numbers of every bit
// length, pseudoprimes, Carmichael numbers and primes whose n - 1 has two
// large prime factors.
#include "primes/prime_proof.h"

#include <memory>

#include "prime_test_util.h"
#include "primes/prime_test.h"
#include "support/golden_runner.h"

namespace {

class PrimeProofTest : public PrimeTest {
  protected:
    void SetUp() override {
        PrimeTest::SetUp();
        mp_set_int_words(2);
    }
    // The exact verdict and, from 2^64 on, the proof agree with expect.
    void expect_verdict(mpz_srcptr z, bool expect) {
        const std::vector<u64> v = value_of(z);
        ASSERT_EQ(prime_test_exact(v.data()), expect) << mpz_get_str(nullptr, 10, z);
        if (mpz_sizeinbase(z, 2) <= 64) return;
        const u128 n = u128{v[1]} << 64 | v[0];
        ASSERT_EQ(prime_prove_u128(n, cert.get()) == ProofResult::Prime, expect);
        ASSERT_TRUE(!expect || (cert->steps >= 1 && cert->step[0].n == n));
    }
    void expect_gmp_verdict(mpz_srcptr z) { expect_verdict(z, mpz_probab_prime_p(z, 50) != 0); }
    std::unique_ptr<PrimeCertificate> cert = std::make_unique<PrimeCertificate>();
};

}  // namespace

TEST_F(PrimeProofTest, VerdictsMatchGmpInEveryBitLength) {
    SCOPED_TRACE(test_seed_text());
    Mpz z, p, q;
    for (int bits = 2; bits <= 128; ++bits) {
        for (i64 iter = 0; iter < test_iterations(2); ++iter) {
            random_exact_bits(z, bits);
            expect_gmp_verdict(z);  // arbitrary
            if (bits < 3) continue;
            random_prime(z, bits);
            expect_gmp_verdict(z);  // prime
            if (bits < 8) continue;
            random_prime(p, bits / 2);
            random_prime(q, bits - bits / 2);
            mpz_mul(z, p, q);
            if (mpz_sizeinbase(z, 2) <= 128) expect_gmp_verdict(z);  // two primes of equal size
        }
    }
    // The largest primes below 2^64 and 2^128, and their neighbours.
    for (int bits : {64, 128}) {
        mpz_set_ui(z, 0);
        mpz_setbit(z, static_cast<mp_bitcnt_t>(bits));
        for (int i = 0; i < 12; ++i) mpz_sub_ui(z, z, 1), expect_gmp_verdict(z);
    }
}

TEST_F(PrimeProofTest, VerdictsMatchThePariTable) {
    Mpz z;
    golden_run("prime_pari.txt", [&](const GoldenLine& row) -> std::string {
        SCOPED_TRACE(row.where());
        const std::string verdict = row.text(1);
        if (mpz_set_str(z, row.text(0).c_str(), 10) != 0) return "not a number";
        if (verdict != "prime" && verdict != "composite") return "verdict " + verdict;
        expect_verdict(z, verdict == "prime");
        return "";
    });
}

TEST_F(PrimeProofTest, PseudoprimesAndHardNMinusOne) {
    Mpz z;
    for (const char* text : PSEUDOPRIMES) {
        mpz_set_str(z, text, 10);
        if (mpz_sizeinbase(z, 2) <= 128) expect_verdict(z, false);
    }
    // Chernick's Carmichael numbers, the last half beyond 2^64.
    unsigned long k = 1;
    for (int found = 0; found < 30; ++found) {
        if (found == 15) k = std::max(k, 300000UL);
        next_chernick(z, k);
        expect_verdict(z, false);
    }
    // Primes n = 2 p q + 1 whose n - 1 has two large prime factors.
    Mpz p, q;
    for (int found = 0; found < 3;) {
        random_prime(p, 60 + found);
        random_prime(q, 63);
        mpz_mul(z, p, q);
        mpz_mul_2exp(z, z, 1);
        mpz_add_ui(z, z, 1);
        if (mpz_probab_prime_p(z, 50) == 0) continue;
        expect_verdict(z, true);
        ++found;
    }
}
