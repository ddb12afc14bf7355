// Integer logarithms against GMP: floor and exactness for random operands
// and bases of every shape, exact powers and their neighbours, bases 2 and
// 10 through their own entry points, and the operands that are refused.
#include <gmp.h>

#include <algorithm>
#include <string>
#include <vector>

#include "numlib/mp_error.h"
#include "numlib/uint.h"
#include "support/numlib_fixture.h"
#include "support/uint_harness.h"

namespace {

using UintLogTest = NumlibTest;
using Words = std::vector<u64>;
using Ops = std::vector<const Mpz*>;
using Ptrs = std::vector<const u64*>;

// floor(log_b a) and whether b^k = a, by bisection with GMP powers: b^lo <= a
// < b^hi throughout. A zero a, or a base below 2, is error 12.
void log_oracle(UintExpect& want, const Ops& v) {
    const Mpz &b = *v[0], &a = *v[1];
    if (mpz_sgn(a.get()) == 0 || mpz_cmp_ui(b.get(), 2) < 0) return want.fail(MP_ERR_OVERFLOW);
    const u64 bits_a = static_cast<u64>(a.bits()), bits_b = static_cast<u64>(b.bits());
    u64 lo = (bits_a - 1) / bits_b;                 // b^lo < 2^(bits_b lo) <= 2^(bits_a - 1)
    u64 hi = (bits_a + bits_b - 2) / (bits_b - 1);  // b^hi >= 2^((bits_b - 1) hi) >= 2^bits_a
    Mpz p;
    while (hi - lo > 1) {
        const u64 mid = lo + (hi - lo) / 2;
        mpz_pow_ui(p, b, mid);
        (mpz_cmp(p, a) <= 0 ? lo : hi) = mid;
    }
    mpz_pow_ui(p, b, lo);
    mpz_set_ui(want.value, lo);
    want.ret = mpz_cmp(p, a) == 0;
}

// A base of varied shape: small (often 2 or 10), one random word, a power of
// two, or long.
Words random_base(TestRng& rng, i64 n) {
    Words b(static_cast<std::size_t>(n));
    switch (rng.range(0, 3)) {
        case 0:
            b[0] =
                rng.chance(40) ? (rng.chance(50) ? 2 : 10) : static_cast<u64>(rng.range(2, 1000));
            break;
        case 1:
            b[0] = rng.word() | 2;
            break;
        case 2: {
            const i64 bit = rng.range(1, std::min<i64>(200, 64 * n - 1));
            b[static_cast<std::size_t>(bit / 64)] = u64{1} << (bit % 64);
            break;
        }
        default:
            rng.fill(b.data(), n, rng.range(1, n));
            b[0] |= 2;
    }
    return b;
}

// b^k - 1, b^k or b^k + 1 for k up to the largest power that fits; a random
// value when that does not fit.
Words near_power(TestRng& rng, const Words& b, i64 n) {
    Mpz all_ones, p;
    mpz_ui_pow_ui(all_ones, 2, static_cast<unsigned long>(64 * n));
    mpz_sub_ui(all_ones, all_ones, 1);
    UintExpect kmax(n);
    const Mpz bz(b.data(), n);
    log_oracle(kmax, {&bz, &all_ones});
    const u64 top = mpz_get_ui(kmax.value);
    mpz_pow_ui(p, bz, rng.chance(30) ? top : static_cast<u64>(rng.range(1, static_cast<i64>(top))));
    const int delta = static_cast<int>(rng.range(-1, 1));
    if (delta < 0) mpz_sub_ui(p, p, 1);
    if (delta > 0) mpz_add_ui(p, p, 1);
    return p.fits(n) && mpz_sgn(p.get()) != 0 ? p.words(n) : random_operand(rng, n);
}

TEST_F(UintLogTest, MatchesGmp) {
    const UintRun fixed = [](u64* d, const Ptrs& p) {
        return u64{(p[0][0] == 2 ? uint_log2_floor : uint_log10_floor)(d, p[1])};
    };
    for (i64 iter = 0; iter < test_iterations(450); ++iter) {
        const i64 n = rng.word_count();
        mp_set_int_words(static_cast<i32>(n));
        const Words b = random_base(rng, n);
        const Words a = rng.chance(50) ? near_power(rng, b, n) : random_operand(rng, n);
        ASSERT_TRUE(check_uint_op("uint_log_floor", uint_run(uint_log_floor), log_oracle, {b, a}));
        if (uint_cmp_u64(b.data(), 2) == 0 || uint_cmp_u64(b.data(), 10) == 0) {
            ASSERT_TRUE(check_uint_op("uint_log2/10_floor", fixed, log_oracle, {b, a}));
        }
    }
}

// Base 0 and base 1 have no logarithm; neither has 0.
TEST_F(UintLogTest, RefusedOperands) {
    mp_set_int_words(3);
    for (const auto& [b, a] : {std::pair<u64, u64>{10, 0}, {0, 1000}, {1, 1000}, {2, 0}})
        EXPECT_TRUE(check_uint_op("uint_log_floor", uint_run(uint_log_floor), log_oracle,
                                  {{b, 0, 0}, {a, 0, 0}}));
    const UintRun log10 = [](u64* d, const Ptrs& p) { return u64{uint_log10_floor(d, p[0])}; };
    EXPECT_TRUE(check_uint_op("uint_log10_floor", log10,
                              [](UintExpect& w, const Ops&) { w.fail(MP_ERR_OVERFLOW); },
                              {{0, 0, 0}}));
}

}  // namespace
