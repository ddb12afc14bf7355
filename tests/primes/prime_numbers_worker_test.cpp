// The prime numbers worker: listings and next primes against primesieve
// over random intervals below 10^12, the texts of every operation in both
// languages and several bases, and overflow.
#include "primes/prime_numbers_worker.h"

#include <cmath>
#include <primesieve.hpp>

#include "numlib/mp_error.h"
#include "numlib/num_text.h"
#include "prime_test_util.h"
#include "support/golden_runner.h"

namespace {

class PrimeNumbersTest : public PrimeTest {
  protected:
    std::string run(u32 method, u32 op, const char* start, i64 size, u32 base = 10, u32 flags = 0) {
        mp_set_int_words(method == PRIME_METHOD_EXACT ? 2 : 65);
        const std::vector<u64> n = value_of(start);
        SPrimeNumberCalc calc{method, op,  n.data(), op == PRIME_OP_INTERVAL ? size : 2147483647,
                              flags,  base};
        CollectingSink sink;
        prime_numbers_worker(calc, sink);
        EXPECT_EQ(sink.done_calls(), 1);
        return sink.text();
    }
    // Log-uniform below 10^12, so that small starts come up as often as large ones.
    u64 random_start() {
        const double e = static_cast<double>(rng.range(0, 12000)) / 1000.0;
        return static_cast<u64>(
            std::max<i64>(1, std::llround(std::pow(10.0, e)) - rng.range(0, 5)));
    }
};

std::string listing(u64 lo, u64 size) {
    std::vector<u64> primes;
    primesieve::generate_primes(lo, lo + size - 1, &primes);
    std::string s = "Prime numbers from " + std::to_string(lo) + " to " +
                    std::to_string(lo + size - 1) + ":\r\n{ ";
    for (std::size_t i = 0; i < primes.size(); ++i)
        s += (i > 0 ? ", " : "") + std::to_string(primes[i]);
    return s + " }\r\nNumber of prime numbers: " + std::to_string(primes.size()) + "\r\n";
}

}  // namespace

TEST_F(PrimeNumbersTest, IntervalsAndNextPrimesMatchPrimesieve) {
    for (i64 iter = 0; iter < test_iterations(40); ++iter) {
        const u64 lo = random_start();
        // Each prime near 10^12 costs about 190,000 trial divisions: short intervals there.
        const u64 size = static_cast<u64>(rng.range(1, lo > 1000000000 ? 400 : 3000));
        const std::string expect = listing(lo, size);
        primesieve::iterator it(lo);  // next_prime() gives the first prime >= lo
        const std::string next = "Next prime number:\r\n" + std::to_string(it.next_prime());
        const std::string start = std::to_string(lo);
        for (u32 method : {PRIME_METHOD_EXACT, PRIME_METHOD_PROBABILISTIC}) {
            ASSERT_EQ(run(method, PRIME_OP_INTERVAL, start.c_str(), static_cast<i64>(size)), expect)
                << method;
            ASSERT_EQ(run(method, PRIME_OP_NEXT, start.c_str(), 0), next) << method;
        }
    }
    EXPECT_EQ(appError.load(), 0u);
}

TEST_F(PrimeNumbersTest, TextsOfEveryOperation) {
    const auto check_row = [&](const GoldenLine& row) {
        const std::vector<std::string> w = row.words(0);
        row.section.ends_with("de") ? ui_texts_german() : ui_texts_english();
        const u32 op = w.at(1) == "interval" ? PRIME_OP_INTERVAL
                       : w.at(1) == "next"   ? PRIME_OP_NEXT
                                             : PRIME_OP_TEST;
        const std::string got =
            run(w.at(0) == "exact" ? PRIME_METHOD_EXACT : PRIME_METHOD_PROBABILISTIC, op,
                w.at(2).c_str(), std::atoll(w.at(3).c_str()), std::atoi(w.at(4).c_str()),
                w.size() > 5 ? u32{NUM_TEXT_GROUP} : 0);
        if (appError.load() != 0) return "error " + std::to_string(appError.load());
        return got == row.text(1) ? std::string() : "got " + got;
    };
    golden_run("primes.txt", check_row, "numbers");
}

TEST_F(PrimeNumbersTest, OverflowAndUnknownMethod) {
    // The last odd candidate below 2^128 steps past the top: no trailer, error 3000.
    const std::string text =
        run(PRIME_METHOD_EXACT, PRIME_OP_INTERVAL, "340282366920938463463374607431768211455", 3);
    EXPECT_EQ(text.find("Number of"), std::string::npos);
    EXPECT_EQ(appError.load(), APP_ERR_PRIME_OVERFLOW);
    EXPECT_EQ(mp_err(), 0);
    clearErrors();
    EXPECT_EQ(run(7, PRIME_OP_TEST, "5", 0), "");
}
