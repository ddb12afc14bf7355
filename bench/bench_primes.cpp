// The prime numbers worker against primesieve (listing and counting with the
// exact method) and the probabilistic test against GMP's, in the same run.
#include <gmp.h>

#include <primesieve.hpp>
#include <vector>

#include "bench/bench_harness.h"
#include "formula/app_error.h"
#include "numlib/mp_context.h"
#include "numlib/mp_error.h"
#include "primes/prime_numbers_worker.h"
#include "primes/prime_test.h"

namespace {

// Verdicts are stored so that no call can be dropped (GMP declares its test pure).
volatile int gmp_verdict = 0;
volatile u32 our_verdict = 0;

// Takes the pieces without keeping them: the worker still formats each prime.
class CountingSink : public PrimeOutputSink {
  public:
    void append(const char16_t* text) override {
        while (*text++ != 0) ++chars_;
    }
    void done() override {}
    u64 chars() const { return chars_; }

  private:
    u64 chars_ = 0;
};

// A prime of 1253 digits, the largest size of the probabilistic method, in
// GMP's form and in 65 words.
struct Prime1253 {
    Prime1253() : words(65, 0) {
        mpz_init(z);
        mpz_ui_pow_ui(z, 10, 1252);
        mpz_mul_ui(z, z, 17);
        mpz_fdiv_q_ui(z, z, 10);
        mpz_nextprime(z, z);
        mpz_export(words.data(), nullptr, -1, sizeof(u64), 0, 0, z);
    }
    ~Prime1253() { mpz_clear(z); }
    mpz_t z;
    std::vector<u64> words;
};

const Prime1253& prime_1253() {
    static const Prime1253 prime;
    return prime;
}

// The exact method over [from, from + size - 1] on the calling thread.
void list_exact(u64 from, i64 size) {
    clearErrors();
    mp_set_int_words(2);
    const u64 n[2] = {from, 0};
    const SPrimeNumberCalc calc{PRIME_METHOD_EXACT, PRIME_OP_INTERVAL, n, size, 0, 10};
    CountingSink sink;
    prime_numbers_worker(calc, sink);
}

const BenchRegistration prime_cases([](std::function<void(BenchCase)> add) {
    const u64 billion = 1000000000;
    add(BenchCase{"primes exact list 1e9..1e9+1e7", [=] { list_exact(billion, 10000001); },
                  [=] {
                      std::vector<u64> primes;
                      primesieve::generate_primes(billion, billion + 10000000, &primes);
                      gmp_verdict = static_cast<int>(primes.size());
                  }});
    add(BenchCase{"primes exact count 1..1e8", [] { list_exact(1, 100000000); },
                  [] { gmp_verdict = static_cast<int>(primesieve::count_primes(1, 100000000)); }});

    // The prime is found when the case first runs, not when the cases are
    // listed, so a filtered run does not pay for it.
    add(BenchCase{"primes probabilistic test 1253 digits",
                  [] {
                      mp_error = 0;
                      mp_set_int_words(65);
                      our_verdict = prime_test_probabilistic(prime_1253().words.data());
                  },
                  [] { gmp_verdict = mpz_probab_prime_p(prime_1253().z, 1); }});
});

}  // namespace
