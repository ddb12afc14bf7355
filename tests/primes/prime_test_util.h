// Shared set-up of the prime tests: a fresh library and application error
// state per test, English texts, conversions to and from GMP, and a sink
// that collects a worker's output.
#pragma once

#include <gmp.h>
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "app/app_error.h"
#include "app/ui_texts.h"
#include "numlib/mp_context.h"
#include "primes/prime_factors_worker.h"
#include "primes/prime_numbers_worker.h"
#include "primes/prime_output.h"
#include "support/gmp_oracle.h"
#include "support/numlib_fixture.h"
#include "textbuf/text_utf8.h"

class CollectingSink : public PrimeOutputSink {
  public:
    void append(const char16_t* text) override { text_ += text; }
    void done() override { done_.fetch_add(1); }
    // The output as UTF-8.
    std::string text() const { return text_to_utf8(text_); }
    int done_calls() const { return done_.load(); }
    // Waits up to seconds for done(); true when it came.
    bool wait_done(int seconds) const {
        for (int i = 0; i < seconds * 100 && done_.load() == 0; ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return done_.load() != 0;
    }

  private:
    std::u16string text_;
    std::atomic<int> done_{0};
};

class PrimeTest : public NumlibTest {
  protected:
    void SetUp() override {
        NumlibTest::SetUp();
        clearErrors();
        ui_texts_english();
    }
    void TearDown() override {
        clearErrors();
        ui_texts_english();
        NumlibTest::TearDown();
    }

    // z as a value of mp_int_words words (z must fit).
    static std::vector<u64> value_of(mpz_srcptr z) {
        std::vector<u64> v(static_cast<std::size_t>(mp_int_words));
        mpz_export(v.data(), nullptr, -1, 8, 0, 0, z);
        return v;
    }
    static std::vector<u64> value_of(const char* decimal) {
        Mpz z;
        mpz_set_str(z, decimal, 10);
        return value_of(z);
    }
    // The prime numbers worker's text from start (decimal), in the word count of the method.
    std::string numbers_text(u32 method, u32 op, const char* start, i64 size, u32 base = 10,
                             u32 flags = 0) {
        mp_set_int_words(method == PRIME_METHOD_EXACT ? 2 : 65);
        const std::vector<u64> n = value_of(start);
        if (op == PRIME_OP_NEXT || op == PRIME_OP_TEST) size = 2147483647;
        CollectingSink sink;
        prime_numbers_worker(SPrimeNumberCalc{method, op, n.data(), size, flags, base}, sink);
        EXPECT_EQ(sink.done_calls(), 1);
        return sink.text();
    }
    // The prime factors worker's text from start (decimal): the factors, or with
    // divisors the divisor lists, with count their number too.
    std::string factors_text(bool divisors, bool count, const char* start, i32 size, u32 base = 10,
                             u32 flags = 0) {
        mp_set_int_words(2);
        const std::vector<u64> n = value_of(start);
        CollectingSink sink;
        prime_factors_worker(SPrimeFactorCalc{divisors, count, {n[0], n[1]}, size, flags, base},
                             sink);
        EXPECT_EQ(sink.done_calls(), 1);
        return sink.text();
    }
    // A random value of exactly bits bits.
    void random_exact_bits(Mpz& z, i64 bits) {
        mpz_set_ui(z, 0);
        for (i64 i = 0; i < bits; i += 64) mpz_mul_2exp(z, z, 64), mpz_add_ui(z, z, rng.word());
        mpz_fdiv_r_2exp(z, z, static_cast<mp_bitcnt_t>(bits));
        mpz_setbit(z, static_cast<mp_bitcnt_t>(bits - 1));
    }
    // A random prime of exactly bits bits (at least 2).
    void random_prime(Mpz& z, i64 bits) {
        do {
            random_exact_bits(z, bits);
            mpz_nextprime(z, z);
        } while (static_cast<i64>(mpz_sizeinbase(z, 2)) != bits);
    }
};

inline constexpr const char* PSEUDOPRIMES[] = {
    // Euler to bases 2 and 3, strong tests to the first 5, 7, 8, 9 or 12 prime bases
    "25326001", "3215031751", "2152302898747", "3474749660383", "341550071728321",
    "3825123056546413051", "318665857834031151167461", "3317044064679887385961981",
    // and the Lucas tests' own, up to 46 digits
    "5459", "5777", "10877", "4181", "1195068768795265792518361315725116351898245581"};

// Chernick's Carmichael number (6k+1)(12k+1)(18k+1) of the first k >= from
// that makes all three factors prime; k is where the next search starts.
inline void next_chernick(Mpz& n, unsigned long& k) {
    Mpz a, b, c;
    for (;; ++k) {
        mpz_set_ui(a, 6 * k + 1);
        mpz_set_ui(b, 12 * k + 1);
        mpz_set_ui(c, 18 * k + 1);
        if (mpz_probab_prime_p(a, 30) && mpz_probab_prime_p(b, 30) && mpz_probab_prime_p(c, 30))
            break;
    }
    mpz_mul(n, a, b);
    mpz_mul(n, n, c);
    ++k;
}
