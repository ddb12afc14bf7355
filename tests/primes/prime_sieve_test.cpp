// The segmented sieve against primesieve, and the interval listing by the
// sieve against the listing by trial division (forced by a full scratch area).
#include "primes/prime_sieve.h"

#include <chrono>
#include <primesieve.hpp>
#include <thread>

#include "numlib/mp_context.h"
#include "prime_sink_util.h"
#include "prime_test_util.h"
#include "primes/prime_numbers_worker.h"

namespace {

class PrimeSieveTest : public PrimeTest {
  protected:
    std::vector<u64> sieve(u64 lo, u64 hi) {
        std::vector<u64> out;
        const PrimeSieveResult r = prime_sieve_interval(lo, hi, [&](u64 p) {
            out.push_back(p);
            return true;
        });
        EXPECT_EQ(r, PrimeSieveResult::Done);
        return out;
    }
    std::string list(u64 lo, i64 size) {
        mp_set_int_words(2);
        const u64 n[2] = {lo, 0};
        const SPrimeNumberCalc calc{PRIME_METHOD_EXACT, PRIME_OP_INTERVAL, n, size, 0, 10};
        CollectingSink sink;
        prime_numbers_worker(calc, sink);
        return sink.text();
    }
};

std::vector<u64> reference(u64 lo, u64 hi) {
    std::vector<u64> primes;
    primesieve::generate_primes(lo, hi, &primes);
    return primes;
}

}  // namespace

TEST_F(PrimeSieveTest, IntervalsMatchPrimesieve) {
    SCOPED_TRACE(test_seed_text());
    const u64 top = PRIME_SIEVE_LIMIT - 1;
    // Hard cases: the smallest numbers, a square of a sieving prime at either end,
    // several segments, the end of the sieve's range.
    const std::pair<u64, u64> fixed[] = {{1, 1},       {1, 2},           {2, 2}, {3, 3},
                                         {4, 4},       {1, 100},         {9, 9}, {25, 49},
                                         {1, 1000000}, {top - 5000, top}};
    for (const auto& [lo, hi] : fixed) ASSERT_EQ(sieve(lo, hi), reference(lo, hi)) << lo;
    for (i64 iter = 0; iter < test_iterations(60); ++iter) {
        const u64 lo = static_cast<u64>(rng.range(1, static_cast<i64>(top)) >> rng.range(0, 39));
        const u64 span = static_cast<u64>(rng.range(0, iter % 4 == 0 ? 700000 : 5000));
        const u64 hi = std::min(top, lo + span);
        ASSERT_EQ(sieve(lo, hi), reference(lo, hi)) << lo << " " << hi;
    }
}

TEST_F(PrimeSieveTest, EmitEndsTheRun) {
    int calls = 0;
    const PrimeSieveResult r = prime_sieve_interval(1, 1000, [&](u64) { return ++calls < 5; });
    EXPECT_EQ(r, PrimeSieveResult::Stopped);
    EXPECT_EQ(calls, 5);
}

TEST_F(PrimeSieveTest, ListingTextIsTheSameAsByTrialDivision) {
    SCOPED_TRACE(test_seed_text());
    for (i64 iter = 0; iter < test_iterations(30); ++iter) {
        const u64 lo = iter < 5 ? static_cast<u64>(iter + 1)
                                : std::max<u64>(1, static_cast<u64>(rng.range(1, 1000000000000) >>
                                                                    rng.range(0, 39)));
        const i64 size = rng.range(1, lo > 1000000000 ? 300 : 3000);
        const std::string by_sieve = list(lo, size);
        // With too little room for the sieve's tables the worker divides instead.
        const u8* saved = mp_scratch_top;
        mp_scratch_top = mp_scratch_end - 16384;
        const std::string by_division = list(lo, size);
        mp_scratch_top = const_cast<u8*>(saved);
        ASSERT_EQ(by_sieve, by_division) << lo << " " << size;
    }
    // An interval across the sieve's bound is listed by trial division.
    const u64 lo = PRIME_SIEVE_LIMIT - 200;
    std::string expect =
        "Prime numbers from " + std::to_string(lo) + " to " + std::to_string(lo + 399) + ":\r\n{ ";
    const std::vector<u64> primes = reference(lo, lo + 399);
    for (std::size_t i = 0; i < primes.size(); ++i) {
        if (i > 0) expect += ", ";
        expect += std::to_string(primes[i]);
    }
    expect += " }\r\nNumber of prime numbers: " + std::to_string(primes.size()) + "\r\n";
    EXPECT_EQ(list(lo, 400), expect);
    EXPECT_EQ(appError.load(), 0u);
}

TEST_F(PrimeSieveTest, StopEndsASievedListingWithoutTrailer) {
    mp_set_int_words(2);
    const u64 n[2] = {1, 0};
    const SPrimeNumberCalc calc{PRIME_METHOD_EXACT, PRIME_OP_INTERVAL, n, 2147483647, 0, 10};
    CollectingSink sink;
    prime_numbers_start_thread(calc, sink);
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    raiseAppError(APP_ERR_STOPPED, u"?", u"?");
    ASSERT_TRUE(sink.wait_done(60));
    const std::string text = sink.text();
    EXPECT_EQ(text.rfind("Prime numbers from 1 to 2147483647:\r\n{ 2, 3, 5, 7, 11", 0), 0u);
    EXPECT_EQ(text.find("Number of"), std::string::npos);
    EXPECT_TRUE(text.back() >= '0' && text.back() <= '9');  // it ends after a whole prime
    EXPECT_EQ(appError.load(), APP_ERR_STOPPED);
}
