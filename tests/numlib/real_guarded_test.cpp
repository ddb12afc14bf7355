// The guarded-call protocol: what a body sees (precision, guard state, its
// widened operands), the rounding with the guard word, the restored context
// and scratch on every path, and the guarded constant pi.
#include <mpfr.h>

#include <string>
#include <vector>

#include "numlib/mp_error.h"
#include "numlib/mp_scratch.h"
#include "numlib/real.h"
#include "support/mpfr_oracle.h"
#include "support/numlib_fixture.h"

namespace {

using RealGuardedTest = NumlibTest;
using Words = std::vector<u64>;

// What the last body saw.
struct Seen {
    i32 words, guard_words, guard_digits;
    Words a, b;
    i64 k;
    int v;
};
Seen seen;
u64 guard_word;  // the guard word a body writes into its result

// Bodies: record what they see and set the result's guard word.
void binary_body(u64* dst, const u64* a, const u64* b) {
    seen.words = mp_real_words;
    seen.guard_words = mp_guard_words;
    seen.guard_digits = mp_guard_digits;
    seen.a.assign(a, a + mp_real_words + 1);
    if (b) seen.b.assign(b, b + mp_real_words + 1);
    dst[mp_real_words] = guard_word;
}
void unary_body(u64* dst, const u64* a) {
    binary_body(dst, a, nullptr);
}
void int_body(u64* dst, const u64* a, const u64* b, i64 k, int v) {
    seen.k = k;
    seen.v = v;
    binary_body(dst, a, b);
}
void nested_body(u64* dst, const u64* a) {
    real_guarded_unary(dst, a, 2, unary_body);
}

TEST_F(RealGuardedTest, BodiesRunWidenedAndResultsRoundWithTheGuardWord) {
    for (i64 iter = 0; iter < test_iterations(300); ++iter) {
        const i64 m = rng.chance(50) ? rng.range(1, 4) : rng.range(5, 527);
        mp_set_real_words(static_cast<i32>(m));
        const Words a = random_real(rng, m, {.zero_percent = 5, .edge_percent = 5});
        const Words b = random_real(rng, m);
        const i32 g = static_cast<i32>(rng.range(0, 19));
        guard_word =
            rng.chance(50) ? 4999999999999999999ULL + rng.range(0, 1) : rng.word() % REAL_BASE;
        const int which = static_cast<int>(rng.range(0, 2));
        // The result: a rounded half up with the guard word (a zero stays;
        // all nines at the largest exponent overflow).
        mp_error = 0;
        Words want = a;
        real_round_guard(want.data(), guard_word, static_cast<i32>(m));
        const i32 want_err = mp_err();
        mp_error = 0;
        Words x = a, y = b, out(static_cast<std::size_t>(m + 1));
        u64* dst = rng.chance(50) ? x.data() : out.data();
        if (which == 0) real_guarded_unary(dst, x.data(), g, unary_body);
        if (which == 1) real_guarded_binary(dst, x.data(), y.data(), g, binary_body);
        if (which == 2) real_guarded_binary_int(dst, x.data(), y.data(), -77, 3, int_body);
        SCOPED_TRACE("which=" + std::to_string(which) + " m=" + std::to_string(m));
        ASSERT_EQ(mp_err(), want_err);
        // The body saw m + 1 words, one guard word and 19 - g guard digits
        // (0 for the integer form), and operands widened with a zero word.
        ASSERT_EQ(seen.words, m + 1);
        ASSERT_EQ(seen.guard_words, 1);
        ASSERT_EQ(seen.guard_digits, which == 2 ? 0 : 19 - g);
        Words wa = a, wb = b;
        wa.push_back(0);
        wb.push_back(0);
        ASSERT_EQ(seen.a, wa);
        ASSERT_TRUE(which == 0 || seen.b == wb);
        ASSERT_TRUE(which < 2 || (seen.k == -77 && seen.v == 3));
        ASSERT_EQ(Words(dst, dst + m + 1), want);
    }
}

// Nested guarded calls (error 30), a guard count outside 0..19 (error 14)
// and no scratch left (error 30) give +0 at m words and restore the context
// and the scratch.
TEST_F(RealGuardedTest, FailuresRestoreTheContextAndWriteOnlyMWords) {
    mp_set_real_words(3);
    Words a(4);
    real_one(a.data());
    for (int kind = 0; kind < 5; ++kind) {
        mp_error = 0;
        Words r(5, 7);
        u8* top = mp_scratch_top;
        // room for one widened operand only, or none
        if (kind >= 2) mp_scratch_top = mp_scratch_end - (kind == 4 ? 0 : 8 * 7);
        u8* const want_top = mp_scratch_top;
        if (kind == 0) real_guarded_unary(r.data(), a.data(), 2, nested_body);
        if (kind == 1) real_guarded_unary(r.data(), a.data(), 20, unary_body);
        if (kind == 2) real_guarded_binary(r.data(), a.data(), a.data(), 2, binary_body);
        if (kind == 3) real_guarded_binary_int(r.data(), a.data(), a.data(), 0, 0, int_body);
        if (kind == 4) real_pow10(r.data(), 5);
        EXPECT_EQ(mp_err(), kind == 1 ? MP_ERR_DOMAIN : MP_ERR_INTERNAL) << kind;
        EXPECT_EQ(r, (Words{0, 0, 0, 0, 7})) << kind;
        EXPECT_EQ(mp_real_words, 3) << kind;
        EXPECT_EQ(mp_guard_words, 0) << kind;
        EXPECT_EQ(mp_guard_digits, 0) << kind;
        EXPECT_EQ(mp_scratch_top, want_top) << kind;
        mp_scratch_top = top;
    }
}

// The special values: zero, the smallest and largest magnitudes, and pi
// correctly rounded at every precision; the imaginary unit is no real.
TEST_F(RealGuardedTest, SpecialValues) {
    mp_set_real_words(3);
    Words r(4, 7);
    real_special(r.data(), 0);
    EXPECT_EQ(r, Words(4, 0));
    real_special(r.data(), 10);
    EXPECT_EQ(r, (Words{static_cast<u64>(REAL_EXP_MIN) << 1, REAL_TOP, 0, 0}));
    real_special(r.data(), 11);
    const u64 nines = REAL_BASE - 1;
    EXPECT_EQ(r, (Words{static_cast<u64>(REAL_EXP_MAX) << 1, nines, nines, nines}));
    EXPECT_EQ(mp_err(), 0);
    real_special(r.data(), 101);
    EXPECT_EQ(mp_err(), MP_ERR_DOMAIN);
    EXPECT_EQ(r, Words(4, 0));
    mp_error = 0;
    Mpfr pi(oracle_bits(19 * 527 + 40));
    mpfr_const_pi(pi, MPFR_RNDN);
    for (i64 m = 1; m <= 527; m += (m < 8 ? 1 : 37)) {
        mp_set_real_words(static_cast<i32>(m));
        r.resize(static_cast<std::size_t>(m + 1));
        real_special(r.data(), 100);
        EXPECT_EQ(mp_err(), 0);
        EXPECT_TRUE(near_tie(pi, 19 * m) || real_is_rounded(r.data(), m, pi)) << "m=" << m;
    }
}

}  // namespace
