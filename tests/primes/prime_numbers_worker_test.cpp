// The prime numbers worker: the texts of every operation in both languages
// and several bases, overflow, and stopping.
#include "primes/prime_numbers_worker.h"

#include <thread>

#include "numlib/mp_error.h"
#include "numlib/num_text.h"
#include "prime_sink_util.h"
#include "prime_test_util.h"

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
};

}  // namespace

TEST_F(PrimeNumbersTest, TextsOfEveryOperation) {
    const u32 E = PRIME_METHOD_EXACT, P = PRIME_METHOD_PROBABILISTIC;
    EXPECT_EQ(run(E, PRIME_OP_INTERVAL, "1", 10),
              "Prime numbers from 1 to 10:\r\n{ 2, 3, 5, 7 }\r\nNumber of prime numbers: 4\r\n");
    EXPECT_EQ(run(E, PRIME_OP_INTERVAL, "1", 1),
              "Prime numbers from 1 to 1:\r\n{  }\r\nNumber of prime numbers: 0\r\n");
    EXPECT_EQ(run(E, PRIME_OP_INTERVAL, "2", 1),
              "Prime numbers from 2 to 2:\r\n{ 2 }\r\nNumber of prime numbers: 1\r\n");
    EXPECT_EQ(run(E, PRIME_OP_INTERVAL, "10", 9),
              "Prime numbers from 10 to 18:\r\n{ 11, 13, 17 }\r\nNumber of prime numbers: 3\r\n");
    EXPECT_EQ(run(P, PRIME_OP_INTERVAL, "997", 13),
              "Prime numbers from 997 to 1009:\r\n{ 997, 1009 }\r\nNumber of prime numbers: 2\r\n");
    for (u32 m : {E, P}) {
        EXPECT_EQ(run(m, PRIME_OP_NEXT, "1", 0), "Next prime number:\r\n2");
        EXPECT_EQ(run(m, PRIME_OP_NEXT, "2", 0), "Next prime number:\r\n2");
        EXPECT_EQ(run(m, PRIME_OP_NEXT, "14", 0), "Next prime number:\r\n17");
        EXPECT_EQ(run(m, PRIME_OP_NEXT, "17", 0), "Next prime number:\r\n17");
        EXPECT_EQ(run(m, PRIME_OP_TEST, "1", 0), "1 is not a prime number.\r\n");
        EXPECT_EQ(run(m, PRIME_OP_TEST, "2", 0), "2 is a prime number.\r\n");
        EXPECT_EQ(run(m, PRIME_OP_TEST, "25326001", 0), "25326001 is not a prime number.\r\n");
    }
    EXPECT_EQ(run(E, PRIME_OP_NEXT, "1", 0, 2), "Next prime number:\r\n10");
    EXPECT_EQ(run(E, PRIME_OP_TEST, "255", 0, 16), "FF is not a prime number.\r\n");
    EXPECT_EQ(run(E, PRIME_OP_TEST, "1000003", 0, 10, NUM_TEXT_GROUP),
              "1'000'003 is a prime number.\r\n");
    EXPECT_EQ(run(E, PRIME_OP_TEST, "65521", 0, 16, NUM_TEXT_GROUP), "FFF1 is a prime number.\r\n");
    EXPECT_EQ(run(P, PRIME_OP_TEST, "131071", 0, 2, NUM_TEXT_GROUP),
              "1'1111'1111'1111'1111 is a prime number.\r\n");
    EXPECT_EQ(run(E, PRIME_OP_INTERVAL, "8", 4, 8),
              "Prime numbers from 10 to 13:\r\n{ 13 }\r\nNumber of prime numbers: 1\r\n");
    ui_texts_german();
    EXPECT_EQ(run(E, PRIME_OP_INTERVAL, "1", 10),
              "Primzahlen von 1 bis 10:\r\n{ 2, 3, 5, 7 }\r\nAnzahl der Primzahlen: 4\r\n");
    EXPECT_EQ(run(P, PRIME_OP_TEST, "4", 0), "4 ist keine Primzahl.\r\n");
    EXPECT_EQ(run(E, PRIME_OP_NEXT, "20", 0), "N?chste Primzahl:\r\n23");
    EXPECT_EQ(appError.load(), 0u);
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

// A stop ends a listing after a whole prime and without the trailer: by the
// sieve below 2^64 and by one test per candidate above.
TEST_F(PrimeNumbersTest, StopEndsALongRunWithoutTrailer) {
    for (const char* start : {"1", "100000000000000000000000000000"}) {
        clearErrors();
        mp_set_int_words(2);
        const std::vector<u64> n = value_of(start);
        SPrimeNumberCalc calc{PRIME_METHOD_EXACT, PRIME_OP_INTERVAL, n.data(), 2147483647, 0, 10};
        CollectingSink sink;
        prime_numbers_start_thread(calc, sink);
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        raiseAppError(APP_ERR_STOPPED, u"?", u"?");
        ASSERT_TRUE(sink.wait_done(60));
        const std::string text = sink.text();
        EXPECT_EQ(text.rfind(std::string("Prime numbers from ") + start + " to ", 0), 0u) << text.substr(0, 80);
        EXPECT_EQ(text.find("Number of"), std::string::npos);
        // It ends after a whole prime (or before the first).
        EXPECT_TRUE((text.back() >= '0' && text.back() <= '9') || text.ends_with("{ ")) << text.substr(text.size() - 20);
        EXPECT_EQ(appError.load(), APP_ERR_STOPPED);
    }
}
