// Integer logarithms against GMP: floor and exactness for random operands
// and bases, at exact powers and their neighbours, powers of two as bases,
// aliasing and the error discipline.
#include <gmp.h>

#include <algorithm>
#include <string>
#include <vector>

#include "numlib/mp_error.h"
#include "numlib/uint.h"
#include "numlib/vec.h"
#include "support/gmp_oracle.h"
#include "support/numlib_fixture.h"

namespace {

using UintLogTest = NumlibTest;
using Words = std::vector<u64>;

struct Log {
    u64 k;
    bool exact;
};

// floor(log_b a) by bisection with GMP powers: b^lo <= a < b^hi throughout.
Log gmp_log(const Mpz& b, const Mpz& a) {
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
    return {lo, mpz_cmp(p, a) == 0};
}

// Runs uint_log_floor on (b, a), sometimes in place, and compares.
void check_log(TestRng& rng, const Words& b, const Words& a, i64 n) {
    const Log want = gmp_log(Mpz(b.data(), n), Mpz(a.data(), n));
    const std::string what = "b=" + words_hex(b.data(), n) + " a=" + words_hex(a.data(), n);
    Words bc = b, ac = a, r = Words(static_cast<std::size_t>(n));
    u64* dst = rng.chance(30) ? ac.data() : rng.chance(40) ? bc.data() : r.data();
    mp_error = 0;
    const bool exact = uint_log_floor(dst, bc.data(), ac.data());
    EXPECT_EQ(mp_err(), 0) << what;
    EXPECT_EQ(exact, want.exact) << what;
    Words want_words(static_cast<std::size_t>(n));
    want_words[0] = want.k;
    EXPECT_EQ(Words(dst, dst + n), want_words) << what;
    // bases 2 and 10 have their own entry points (in place here)
    bool (*fixed)(u64*, const u64*) = nullptr;
    if (uint_cmp_u64(b.data(), 2) == 0) fixed = uint_log2_floor;
    if (uint_cmp_u64(b.data(), 10) == 0) fixed = uint_log10_floor;
    if (!fixed) return;
    ac = a;
    EXPECT_EQ(fixed(ac.data(), ac.data()), want.exact) << what;
    EXPECT_EQ(ac, want_words) << what;
}

// A base of varied shape: small, one random word, a power of two, or long.
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

TEST_F(UintLogTest, RandomOperandsAndBases) {
    for (i64 iter = 0; iter < test_iterations(300); ++iter) {
        const i64 n = rng.word_count();
        mp_set_int_words(static_cast<i32>(n));
        Words a(static_cast<std::size_t>(n));
        rng.fill(a.data(), n, rng.range(1, n));
        check_log(rng, random_base(rng, n), a, n);
    }
}

TEST_F(UintLogTest, ExactPowersAndTheirNeighbours) {
    for (i64 iter = 0; iter < test_iterations(150); ++iter) {
        const i64 n = rng.word_count();
        mp_set_int_words(static_cast<i32>(n));
        Words b = random_base(rng, n);
        const Mpz bz(b.data(), n);
        // the largest k with b^k fitting, or a random one below it
        Mpz all_ones;
        mpz_ui_pow_ui(all_ones, 2, static_cast<unsigned long>(64 * n));
        mpz_sub_ui(all_ones, all_ones, 1);
        const u64 kmax = gmp_log(bz, all_ones).k;
        const u64 k =
            rng.chance(30) ? kmax : static_cast<u64>(rng.range(1, static_cast<i64>(kmax)));
        Mpz p;
        mpz_pow_ui(p, bz, k);
        for (int delta : {-1, 0, 1}) {
            Mpz a;
            if (delta < 0) mpz_sub_ui(a, p, 1);
            if (delta >= 0) mpz_add_ui(a, p, static_cast<unsigned long>(delta));
            if (!a.fits(n) || mpz_sgn(a.get()) == 0) continue;
            check_log(rng, b, a.words(n), n);
        }
    }
}

TEST_F(UintLogTest, InvalidOperandsRaise12) {
    mp_set_int_words(3);
    Words zero = words(3), one = words(3), ten = words(3), a = words(3), r = words(3);
    one[0] = 1;
    ten[0] = 10;
    a[0] = 1000;
    struct Case {
        const Words& base;
        const Words& a;
        const char* why;
    };
    for (const Case& c :
         {Case{ten, zero, "log of 0"}, Case{zero, a, "base 0"}, Case{one, a, "base 1"}}) {
        mp_error = 0;
        r[0] = 7;
        EXPECT_FALSE(uint_log_floor(r.data(), c.base.data(), c.a.data())) << c.why;
        EXPECT_EQ(mp_err(), MP_ERR_OVERFLOW) << c.why;
        EXPECT_TRUE(uint_is_zero(r.data())) << c.why;
    }
    mp_error = 0;
    EXPECT_FALSE(uint_log2_floor(r.data(), zero.data()));
    EXPECT_EQ(mp_err(), MP_ERR_OVERFLOW);
    mp_error = 0;
    EXPECT_FALSE(uint_log10_floor(r.data(), zero.data()));
    EXPECT_EQ(mp_err(), MP_ERR_OVERFLOW);
}

TEST_F(UintLogTest, PendingErrorIsKept) {
    mp_set_int_words(100);
    Words a = words(100), b = words(100), r = words(100);
    rng.fill(a.data(), 100, 100);
    b[0] = 7;
    const Log want = gmp_log(Mpz(b.data(), 100), Mpz(a.data(), 100));
    mp_raise(MP_ERR_DIV_ZERO);
    EXPECT_EQ(uint_log_floor(r.data(), b.data(), a.data()), want.exact);
    EXPECT_EQ(r[0], want.k);
    EXPECT_EQ(mp_err(), MP_ERR_DIV_ZERO);
    b[0] = 1;
    EXPECT_FALSE(uint_log_floor(r.data(), b.data(), a.data()));
    EXPECT_EQ(mp_err(), MP_ERR_DIV_ZERO);
    EXPECT_TRUE(uint_is_zero(r.data()));
}

}  // namespace
