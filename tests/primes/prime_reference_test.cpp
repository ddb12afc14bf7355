// The prime listings against primesieve over random intervals below 10^12,
// and the stop of long factor runs.
#include <chrono>
#include <cmath>
#include <primesieve.hpp>
#include <thread>

#include "numlib/num_text.h"
#include "prime_sink_util.h"
#include "prime_test_util.h"
#include "primes/prime_factors_worker.h"
#include "primes/prime_numbers_worker.h"

namespace {

class PrimeReferenceTest : public PrimeTest {
  protected:
    std::string run(u32 method, u32 op, u64 start, i64 size) {
        mp_set_int_words(method == PRIME_METHOD_EXACT ? 2 : 65);
        std::vector<u64> n(static_cast<std::size_t>(mp_int_words), 0);
        n[0] = start;
        const SPrimeNumberCalc calc{method, op, n.data(), size, 0, 10};
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
    for (std::size_t i = 0; i < primes.size(); ++i) {
        if (i > 0) s += ", ";
        s += std::to_string(primes[i]);
    }
    s += " }\r\nNumber of prime numbers: " + std::to_string(primes.size()) + "\r\n";
    return s;
}

}  // namespace

TEST_F(PrimeReferenceTest, IntervalsAndNextPrimesMatchPrimesieve) {
    SCOPED_TRACE(test_seed_text());
    for (i64 iter = 0; iter < test_iterations(40); ++iter) {
        const u64 lo = random_start();
        // Each prime near 10^12 costs about 190,000 trial divisions: keep the intervals short
        // there.
        const u64 size = static_cast<u64>(rng.range(1, lo > 1000000000 ? 400 : 3000));
        const std::string expect = listing(lo, size);
        for (u32 method : {PRIME_METHOD_EXACT, PRIME_METHOD_PROBABILISTIC})
            ASSERT_EQ(run(method, PRIME_OP_INTERVAL, lo, static_cast<i64>(size)), expect) << method;
        primesieve::iterator it(lo);  // next_prime() gives the first prime >= lo
        const std::string next = "Next prime number:\r\n" + std::to_string(it.next_prime());
        for (u32 method : {PRIME_METHOD_EXACT, PRIME_METHOD_PROBABILISTIC})
            ASSERT_EQ(run(method, PRIME_OP_NEXT, lo, 2147483647), next) << method << " " << lo;
    }
    EXPECT_EQ(appError.load(), 0u);
}

// A run of a million numbers streams its lines and ends within a second of
// the stop, without a line for the number at hand: below 2^64 (rho), and
// near 2^128 (rho, the quadratic sieve and the primality certificates).
TEST_F(PrimeReferenceTest, StopEndsALongFactorRunWithinASecond) {
    mp_set_int_words(2);
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
