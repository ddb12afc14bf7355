// The prime tools against their references in the same run: the exact test
// against GMP's probabilistic one, factoring against FLINT's fmpz_factor,
// counting and listing against primesieve (one thread), and the
// probabilistic test against GMP's.
#include <gmp.h>

#include <algorithm>
#include <charconv>
#include <chrono>
#include <cstdio>
#include <flint/fmpz.h>
#include <flint/fmpz_factor.h>
#include <primesieve.hpp>
#include <random>
#include <vector>

#include "app/app_error.h"
#include "bench/bench_harness.h"
#include "numlib/mp_context.h"
#include "numlib/mp_error.h"
#include "primes/prime_factor.h"
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

// A value as GMP's and as two words.
struct Number {
    mpz_t z;
    u64 w[2];
};

// count random primes of bits bits, or products of two primes of a and b bits.
std::vector<Number>* make_numbers(int count, int a, int b) {
    auto* out = new std::vector<Number>(static_cast<std::size_t>(count));
    std::mt19937_64 gen(12345u + static_cast<unsigned>(a * 131 + b));
    mpz_t p, q;
    mpz_inits(p, q, nullptr);
    auto prime = [&](mpz_t r, int bits) {
        do {
            mpz_set_ui(r, gen());
            mpz_mul_2exp(r, r, 64);
            mpz_add_ui(r, r, gen());
            mpz_fdiv_r_2exp(r, r, static_cast<mp_bitcnt_t>(bits));
            mpz_setbit(r, static_cast<mp_bitcnt_t>(bits - 1));
            mpz_nextprime(r, r);
        } while (mpz_sizeinbase(r, 2) != static_cast<std::size_t>(bits));
    };
    for (Number& n : *out) {
        mpz_init(n.z);
        prime(p, a);
        if (b > 0) {
            prime(q, b);
            mpz_mul(n.z, p, q);
        } else {
            mpz_set(n.z, p);
        }
        n.w[0] = n.w[1] = 0;
        mpz_export(n.w, nullptr, -1, sizeof(u64), 0, 0, n.z);
    }
    mpz_clears(p, q, nullptr);
    return out;
}

const std::vector<Number>& primes_38_digits() {
    static const std::vector<Number>* numbers = make_numbers(20, 126, 0);  // 10^37 < p < 2^126
    return *numbers;
}

void test_exact(const std::vector<Number>& numbers) {
    clearErrors();
    mp_set_int_words(2);
    for (const Number& n : numbers) our_verdict = prime_test_exact(n.w) ? 0 : 1;
}

void factor_ours(const Number& n) {
    clearErrors();
    mp_set_int_words(2);
    PrimeFactorList list;
    prime_factorize(list, n.w);
    our_verdict = static_cast<u32>(list.count);
}

void factor_flint(const std::vector<Number>& numbers) {
    fmpz_t f;
    fmpz_init(f);
    for (const Number& n : numbers) {
        fmpz_factor_t fac;
        fmpz_factor_init(fac);
        fmpz_set_mpz(f, n.z);
        fmpz_factor(fac, f);
        gmp_verdict = static_cast<int>(fac->num);
        fmpz_factor_clear(fac);
    }
    fmpz_clear(f);
}

// Median and worst time of our factorization, one number at a time.
void factor_detail(const std::vector<Number>& numbers) {
    std::vector<double> ms;
    for (const Number& n : numbers) {
        const auto t0 = std::chrono::steady_clock::now();
        factor_ours(n);
        ms.push_back(std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count() * 1e3);
    }
    std::sort(ms.begin(), ms.end());
    std::printf("%-40s median %.2f ms, worst %.2f ms over %zu numbers\n", "", ms[ms.size() / 2],
                ms.back(), ms.size());
}

BenchCase factor_case(const char* name, int a, int b) {
    const std::vector<Number>* numbers = make_numbers(20, a, b);
    return BenchCase{name,
                     [numbers] {
                         for (const Number& n : *numbers) factor_ours(n);
                     },
                     [numbers] { factor_flint(*numbers); }, [numbers] { factor_detail(*numbers); }};
}

// The exact method over [from, from + size - 1] on the calling thread.
void run_exact(u64 from, i64 size, u32 operation) {
    clearErrors();
    mp_set_int_words(2);
    const u64 n[2] = {from, 0};
    const SPrimeNumberCalc calc{PRIME_METHOD_EXACT, operation, n, size, 0, 10};
    CountingSink sink;
    prime_numbers_worker(calc, sink);
}

// primesieve's list of the primes, formatted as the page text is.
void list_reference(u64 from, u64 to) {
    std::vector<u64> primes;
    primesieve::generate_primes(from, to, &primes);
    std::vector<char> text(primes.size() * 24 + 16);
    char* at = text.data();
    for (u64 p : primes) {
        *at++ = ',';
        *at++ = ' ';
        at = std::to_chars(at, text.data() + text.size(), p).ptr;
    }
    gmp_verdict = static_cast<int>(at - text.data());
}

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

// The numbers of a case are made when the case first runs, not when the
// cases are listed, so a filtered run does not pay for them.
const BenchRegistration prime_cases([](std::function<void(BenchCase)> add) {
    primesieve::set_num_threads(1);
    add(BenchCase{"primes exact test 38-digit primes", [] { test_exact(primes_38_digits()); },
                  [] {
                      for (const Number& n : primes_38_digits()) gmp_verdict = mpz_probab_prime_p(n.z, 25);
                  }});
    add(factor_case("primes factor 128-bit 64x64 (FLINT)", 64, 64));
    add(factor_case("primes factor 128-bit 40x88 (FLINT)", 40, 88));
    const u64 e12 = 1000000000000;
    add(BenchCase{"primes exact count 1..1e9", [] { run_exact(1, 1000000000, PRIME_OP_COUNT); },
                  [] { gmp_verdict = static_cast<int>(primesieve::count_primes(1, 1000000000)); }});
    add(BenchCase{"primes exact list 1e12..1e12+1e8", [=] { run_exact(e12, 100000000, PRIME_OP_INTERVAL); },
                  [=] { list_reference(e12, e12 + 100000000 - 1); }});
    add(BenchCase{"primes probabilistic test 1253 digits",
                  [] {
                      mp_error = 0;
                      mp_set_int_words(65);
                      our_verdict = prime_test_probabilistic(prime_1253().words.data());
                  },
                  [] { gmp_verdict = mpz_probab_prime_p(prime_1253().z, 1); }});
});

}  // namespace
