// The segmented sieve against primesieve and GMP below 2^64, and the exact listing
// by the sieve against the listing by one test per candidate (forced by a
// full scratch area), in base 10 with and without digit groups.
#include "primes/prime_sieve.h"

#include <primesieve.hpp>

#include "numlib/mp_context.h"
#include "numlib/num_text.h"
#include "prime_test_util.h"
#include "primes/prime_numbers_worker.h"

namespace {

constexpr u64 TOP = ~u64{0};
constexpr u64 SEGMENT = 30 * 32768;       // integers per segment
constexpr u64 SQ = 2097143ull * 2097143;  // the largest sieving prime squared

// primesieve, or above 2^44, where primesieve needs seconds for its
// sieving primes, GMP's next prime.
void reference(u64 lo, u64 hi, std::vector<u64>& out) {
    if (hi < u64{1} << 44) {
        primesieve::generate_primes(lo, hi, &out);
        return;
    }
    Mpz z, top;
    mpz_set_ui(z, lo);
    mpz_sub_ui(z, z, 1);
    mpz_set_ui(top, hi);
    for (mpz_nextprime(z, z); mpz_cmp(z, top) <= 0; mpz_nextprime(z, z))
        out.push_back(mpz_get_ui(z));
}

class PrimeSieveTest : public PrimeTest {
  protected:
    void expect_matches(u64 lo, u64 hi) {
        std::vector<u64> ours, expect;
        const PrimeSieveResult r = prime_sieve_interval(lo, hi, [&](const u64* p, std::size_t n) {
            ours.insert(ours.end(), p, p + n);
            return true;
        });
        ASSERT_EQ(r, PrimeSieveResult::Done);
        reference(lo, hi, expect);
        ASSERT_EQ(ours, expect) << lo << " " << hi;
        u64 count = 0;
        ASSERT_EQ(prime_sieve_count(lo, hi, &count), PrimeSieveResult::Done);
        ASSERT_EQ(count, expect.size()) << lo << " " << hi;
    }
    std::string list(u64 lo, i64 size, u32 op, u32 flags) {
        return numbers_text(PRIME_METHOD_EXACT, op, std::to_string(lo).c_str(), size, 10, flags);
    }
};

}  // namespace

TEST_F(PrimeSieveTest, IntervalsAndCountsMatchPrimesieve) {
    SCOPED_TRACE(test_seed_text());
    const u64 fixed[] = {
        // Pairs lo, hi: the smallest numbers, the pattern primes 7 .. 17, sieving primes squared,
        0, 0, 1, 1, 1, 2, 2, 5, 6, 6, 7, 17, 1, 100, 361, 361, 529, 529,
        // segment edges, the switch to Baillie-PSW survivors above SQ
        SEGMENT - 29, SEGMENT + 31, 1, 3 * SEGMENT, SQ - 1000, SQ + 1000,
        // and the top of the range.
        TOP - 5000, TOP, TOP, TOP};
    for (std::size_t i = 0; i < std::size(fixed); i += 2) expect_matches(fixed[i], fixed[i + 1]);
    for (i64 iter = 0; iter < test_iterations(80); ++iter) {
        const u64 lo = rng.word() >> rng.range(0, 63);
        const bool long_span = iter % 8 == 0 && lo < u64{1} << 40;
        const u64 span = static_cast<u64>(rng.range(0, long_span ? 3000000 : 20000));
        expect_matches(lo, lo > TOP - span ? TOP : lo + span);
    }
}

TEST_F(PrimeSieveTest, EmitEndsTheRun) {
    int calls = 0;
    const PrimeSieveResult r =
        prime_sieve_interval(1, 100000000, [&](const u64*, std::size_t) { return ++calls < 2; });
    EXPECT_EQ(r, PrimeSieveResult::Stopped);
    EXPECT_EQ(calls, 2);
}

TEST_F(PrimeSieveTest, ListingTextIsTheSameAsByTestingEachCandidate) {
    SCOPED_TRACE(test_seed_text());
    for (i64 iter = 0; iter < test_iterations(30); ++iter) {
        const u64 lo = iter < 5 ? static_cast<u64>(iter + 1)
                                : std::max<u64>(1, rng.word() >> rng.range(0, 63));
        const i64 size = rng.range(1, 3000);
        const u32 flags = iter % 2 == 0 ? u32{NUM_TEXT_GROUP} : 0;
        for (u32 op : {PRIME_OP_INTERVAL, PRIME_OP_COUNT}) {
            const std::string by_sieve = list(lo, size, op, flags);
            // With too little room for the sieve's tables the worker tests each candidate.
            const u8* saved = mp_scratch_top;
            mp_scratch_top = mp_scratch_end - 16384;
            const std::string by_test = list(lo, size, op, flags);
            mp_scratch_top = const_cast<u8*>(saved);
            ASSERT_EQ(by_sieve, by_test) << lo << " " << size;
        }
    }
    EXPECT_EQ(list(1, 10, PRIME_OP_COUNT, 0), "Number of prime numbers: 4\r\n");
    EXPECT_EQ(appError.load(), 0u);
}
