// The prime numbers worker: listings and next primes against primesieve
// over random intervals below 10^12; the texts of every operation of both
// workers in both languages and several bases, and their overflows.
#include "primes/prime_numbers_worker.h"

#include <cmath>
#include <primesieve.hpp>

#include "numlib/mp_error.h"
#include "numlib/num_text.h"
#include "prime_test_util.h"
#include "support/golden_runner.h"

namespace {

// Log-uniform below 10^12, so that small starts come up as often as large ones.
u64 random_start(TestRng& rng) {
    const double e = static_cast<double>(rng.range(0, 12000)) / 1000.0;
    return static_cast<u64>(std::max<i64>(1, std::llround(std::pow(10.0, e)) - rng.range(0, 5)));
}

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

TEST_F(PrimeTest, IntervalsAndNextPrimesMatchPrimesieve) {
    for (i64 iter = 0; iter < test_iterations(40); ++iter) {
        const u64 lo = random_start(rng);
        // Each prime near 10^12 costs about 190,000 trial divisions: short intervals there.
        const u64 size = static_cast<u64>(rng.range(1, lo > 1000000000 ? 400 : 3000));
        const std::string expect = listing(lo, size);
        primesieve::iterator it(lo);  // next_prime() gives the first prime >= lo
        const std::string next = "Next prime number:\r\n" + std::to_string(it.next_prime());
        const std::string start = std::to_string(lo);
        for (u32 method : {PRIME_METHOD_EXACT, PRIME_METHOD_PROBABILISTIC}) {
            ASSERT_EQ(
                numbers_text(method, PRIME_OP_INTERVAL, start.c_str(), static_cast<i64>(size)),
                expect)
                << method;
            ASSERT_EQ(numbers_text(method, PRIME_OP_NEXT, start.c_str(), 0), next) << method;
        }
    }
    EXPECT_EQ(appError.load(), 0u);
}

// The texts of both workers; a run that ends with an application error gives
// "[error CODE INSERT]" after the text.
TEST_F(PrimeTest, TextsOfEveryOperationInEveryBaseAndLanguage) {
    golden_run("primes.txt", [&](const GoldenLine& row) {
        clearErrors();
        const std::vector<std::string> w = row.words(0);
        row.section.ends_with("de") ? ui_texts_german() : ui_texts_english();
        const bool numbers_row = row.section.starts_with("numbers");
        const u32 base = std::atoi(w.at(numbers_row ? 4 : 3).c_str());
        const u32 flags = w.size() > (numbers_row ? 5u : 4u) ? u32{NUM_TEXT_GROUP} : 0;
        std::string got;
        if (numbers_row) {
            const u32 method = w[0] == "exact"      ? u32{PRIME_METHOD_EXACT}
                               : w[0] == "probable" ? u32{PRIME_METHOD_PROBABILISTIC}
                                                    : std::atoi(w[0].c_str());
            const u32 op = w.at(1) == "interval" ? PRIME_OP_INTERVAL
                           : w[1] == "next"      ? PRIME_OP_NEXT
                                                 : PRIME_OP_TEST;
            got =
                numbers_text(method, op, w.at(2).c_str(), std::atoll(w.at(3).c_str()), base, flags);
        } else {
            got = factors_text(w[0] != "factors", w[0] == "count", w.at(1).c_str(),
                               std::atoi(w.at(2).c_str()), base, flags);
        }
        if (appError.load() != 0)
            got += "[error " + std::to_string(appError.load()) + " " + text_to_utf8(appErrorText1) +
                   "]";
        if (mp_err() != 0) got += " mp_err " + std::to_string(mp_err());
        return got == row.text(1) ? std::string() : "got " + got;
    });
}
