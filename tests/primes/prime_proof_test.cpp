// The exact test below 2^128 against GMP (50 rounds) and the PARI-proven
// table, and every n - 1 certificate recomputed by an independent checker
// written with GMP.
#include "primes/prime_proof.h"

#include <memory>

#include "prime_test_util.h"
#include "primes/prime_test.h"
#include "support/golden_runner.h"

namespace {

u128 to_u128(mpz_srcptr z) {
    Mpz copy;
    mpz_set(copy, z);
    const std::vector<u64> w = copy.words(2);
    return u128{w[1]} << 64 | w[0];
}

void set_u128(Mpz& z, u128 v) {
    const u64 w[2] = {static_cast<u64>(v), static_cast<u64>(v >> 64)};
    z.set(w, 2);
}

// The cube-root condition: no k in the certificate's range gives
// (c1 + kF)^2 - 4 (c2 - k) = d^2 with d < c1 + kF.
bool cube_scan_clean(mpz_srcptr f, mpz_srcptr r, mpz_srcptr l) {
    Mpz c1, c2, num, den, k_max, s, t, disc, d;
    mpz_fdiv_qr(c2, c1, r, f);
    mpz_mul(num, l, l);
    mpz_add(num, num, c2);
    mpz_submul(num, l, c1);
    if (mpz_sgn(num.get()) < 0) return true;
    mpz_mul(den, l, f);
    mpz_add_ui(den, den, 1);
    mpz_fdiv_q(k_max, num, den);
    EXPECT_LE(mpz_cmp_ui(k_max.get(), 100000), 0);  // the checker's own bound on work
    for (unsigned long k = 0; mpz_cmp_ui(k_max.get(), k) >= 0 && mpz_cmp_ui(c2.get(), k) >= 0; ++k) {
        mpz_set(s, c1);
        mpz_addmul_ui(s, f, k);
        mpz_sub_ui(t, c2, k);
        mpz_mul(disc, s, s);
        mpz_submul_ui(disc, t, 4);
        if (mpz_sgn(disc.get()) < 0 || !mpz_perfect_square_p(disc)) continue;
        mpz_sqrt(d, disc);
        if (mpz_cmp(d, s) < 0) return false;
    }
    return true;
}

// a^(n-1) = 1 and gcd(a^e - 1, n) = 1.
bool witness_holds(mpz_srcptr n, u64 a, mpz_srcptr e) {
    Mpz base, n1, x, g;
    mpz_set_ui(base, a);
    mpz_sub_ui(n1, n, 1);
    mpz_powm(x, base, n1, n);
    if (mpz_cmp_ui(x.get(), 1) != 0) return false;
    mpz_powm(x, base, e, n);
    mpz_sub_ui(x, x, 1);
    mpz_gcd(g, x, n);
    return mpz_cmp_ui(g.get(), 1) == 0;
}

// One step of the certificate; large primes of F are looked up among the steps.
void check_step(const PrimeCertificate& cert, const PrimeProofStep& st) {
    Mpz n, f, r, q, n1, e, prod, g, l, bound;
    set_u128(n, st.n);
    set_u128(f, st.f);
    set_u128(r, st.r);
    mpz_sub_ui(n1, n, 1);
    mpz_mul(prod, f, r);
    ASSERT_EQ(mpz_cmp(prod, n1), 0) << n.hex();
    mpz_gcd(g, f, r);
    ASSERT_EQ(mpz_cmp_ui(g.get(), 1), 0);
    mpz_set_ui(prod, 1);
    for (int i = 0; i < st.count; ++i) {
        set_u128(q, st.q[i]);
        for (u64 k = 0; k < st.e[i]; ++k) mpz_mul(prod, prod, q);
        if (mpz_sizeinbase(q, 2) <= 64) {
            ASSERT_NE(mpz_probab_prime_p(q, 50), 0) << q.hex();
        } else {
            bool proven = false;
            for (int j = 0; j < cert.steps; ++j) proven = proven || cert.step[j].n == st.q[i];
            ASSERT_TRUE(proven) << q.hex();
        }
        mpz_divexact(e, n1, q);
        ASSERT_TRUE(witness_holds(n, st.witness[i], e)) << n.hex() << " q " << q.hex();
    }
    ASSERT_EQ(mpz_cmp(prod, f), 0);
    if (st.r == 1) return;
    for (unsigned long p = 2; p <= st.bound; ++p) {
        mpz_set_ui(g, p);
        if (mpz_probab_prime_p(g, 10) != 0) {
            ASSERT_FALSE(mpz_divisible_ui_p(r, p)) << p;
        }
    }
    ASSERT_TRUE(witness_holds(n, st.witness_r, f));
    mpz_set_ui(l, st.bound + 1);
    mpz_mul(g, f, l);
    mpz_add_ui(g, g, 1);  // every prime factor of n is at least F L + 1
    mpz_mul(prod, g, g);
    if (mpz_cmp(prod, n) > 0) return;
    ASSERT_TRUE(st.cube);
    mpz_mul(prod, prod, g);
    ASSERT_GT(mpz_cmp(prod, n), 0);
    ASSERT_TRUE(cube_scan_clean(f, r, l)) << n.hex();
}

class PrimeProofTest : public PrimeTest {
  protected:
    void SetUp() override {
        PrimeTest::SetUp();
        mp_set_int_words(2);
    }
    // The exact verdict agrees with expect; a prime from 2^64 on has a valid certificate.
    void expect_verdict(mpz_srcptr z, bool expect) {
        const std::vector<u64> v = value_of(z);
        ASSERT_EQ(prime_test_exact(v.data()), expect) << mpz_get_str(nullptr, 10, z);
        if (mpz_sizeinbase(z, 2) <= 64) return;
        const ProofResult r = prime_prove_u128(to_u128(z), cert.get());
        ASSERT_EQ(r == ProofResult::Prime, expect);
        if (!expect) return;
        ASSERT_GE(cert->steps, 1);
        ASSERT_TRUE(cert->step[0].n == to_u128(z));
        for (int i = 0; i < cert->steps; ++i) check_step(*cert, cert->step[i]);
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
        for (int i = 0; i < 12; ++i) {
            mpz_sub_ui(z, z, 1);
            expect_gmp_verdict(z);
        }
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
    // Composites that pass strong tests to many bases, or Lucas tests.
    Mpz z;
    for (const char* text : {"3215031751", "2152302898747", "3474749660383", "341550071728321",
                             "3825123056546413051", "318665857834031151167461",
                             "3317044064679887385961981",
                             "5459", "5777", "10877", "4181", "25326001"}) {
        mpz_set_str(z, text, 10);
        expect_verdict(z, false);
    }
    // Chernick's Carmichael numbers (6k+1)(12k+1)(18k+1), some beyond 2^64.
    Mpz a, b, c;
    for (unsigned long k = 1, found = 0; found < 30; ++k) {
        if (found == 15 && k < 300000) k = 300000;  // the next ones lie beyond 2^64
        mpz_set_ui(a, 6 * k + 1);
        mpz_set_ui(b, 12 * k + 1);
        mpz_set_ui(c, 18 * k + 1);
        if (!mpz_probab_prime_p(a, 30) || !mpz_probab_prime_p(b, 30) || !mpz_probab_prime_p(c, 30))
            continue;
        mpz_mul(z, a, b);
        mpz_mul(z, z, c);
        expect_verdict(z, false);
        ++found;
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
