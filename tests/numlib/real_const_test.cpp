// The constant table: stored digits against MPFR, derived entries, reading
// at every precision and bad indices.
#include "numlib/real_const.h"

#include <climits>

#include "numlib/mp_error.h"
#include "numlib/real.h"
#include "numlib/real_const_impl.h"
#include "support/mpfr_oracle.h"
#include "support/numlib_fixture.h"

namespace {

constexpr i64 TABLE_WORDS = MP_CONST_WORDS, TABLE_DIGITS = 19 * TABLE_WORDS;

// An entry's value: f(num / den) / div, inverted when asked; f is ln ('l'),
// log10 ('g'), atan ('a') or, ignoring the argument, pi ('p').
struct Reference {
    char f;
    unsigned long num, den, div;
    bool invert;
};
const Reference REFERENCES[REAL_CONST_UNSET] = {
    {'l', 10, 1, 1, false},    {'l', 2, 1, 1, false},  {'l', 6, 5, 1, false},
    {'l', 101, 100, 1, false}, {'l', 10, 1, 3, false}, {'l', 10, 1, 9, false},
    {'p', 1, 1, 4, false},     {'a', 1, 5, 1, false},  {'a', 21, 50, 1, false},
    {'a', 67, 100, 1, false},  {'l', 10, 1, 1, true},  {'g', 2, 1, 1, false},
    {'l', 2, 1, 1, true},      {'p', 1, 1, 4, true},   {'p', 1, 1, 2, false},
};

void reference(mpfr_ptr v, i32 idx) {
    const Reference& r = REFERENCES[idx];
    mpfr_set_ui(v, r.num, MPFR_RNDN);
    mpfr_div_ui(v, v, r.den, MPFR_RNDN);
    if (r.f == 'l') mpfr_log(v, v, MPFR_RNDN);
    if (r.f == 'g') mpfr_log10(v, v, MPFR_RNDN);
    if (r.f == 'a') mpfr_atan(v, v, MPFR_RNDN);
    if (r.f == 'p') mpfr_const_pi(v, MPFR_RNDN);
    mpfr_div_ui(v, v, r.div, MPFR_RNDN);
    if (r.invert) mpfr_ui_div(v, 1, v, MPFR_RNDN);
}

class RealConstTest : public NumlibTest {
  protected:
    // Entry idx read at m words, in an array with a canary word after it.
    std::vector<u64> read(i32 idx, i32 m) {
        mp_real_words = m;  // 528 is a guarded call's precision, past mp_set_real_words
        std::vector<u64> x(static_cast<std::size_t>(m + 2), 0x5A5A5A5A5A5A5A5AULL);
        real_const(x.data(), idx);
        EXPECT_EQ(x[static_cast<std::size_t>(m + 1)], 0x5A5A5A5A5A5A5A5AULL) << "idx " << idx;
        x.pop_back();
        return x;
    }
};

// The stored entries are the constants rounded to the table's digits, the
// derived ones within two units of their last word; every precision reads
// the first words of the entry.
TEST_F(RealConstTest, EntriesAgainstMpfrAtEveryPrecision) {
    Mpfr v(oracle_bits(TABLE_DIGITS + 40));
    for (i32 idx = 0; idx < REAL_CONST_COUNT; ++idx) {
        SCOPED_TRACE("entry " + std::to_string(idx));
        const auto full = read(idx, MP_CONST_WORDS);
        if (idx < REAL_CONST_STORED_COUNT) {
            reference(v, idx);
            ASSERT_FALSE(near_tie(v, TABLE_DIGITS));
            EXPECT_TRUE(real_is_rounded(REAL_CONST_STORED[idx], TABLE_WORDS, v));
            EXPECT_TRUE(real_is_rounded(full.data(), TABLE_WORDS, v));
        } else if (idx < REAL_CONST_UNSET) {
            reference(v, idx);
            EXPECT_TRUE(real_well_formed(full.data(), TABLE_WORDS));
            EXPECT_TRUE(real_near(full.data(), TABLE_WORDS, v, 2.0));
        } else {
            EXPECT_EQ(full, std::vector<u64>(full.size(), 0));
        }
        for (i32 m = 1; m < MP_CONST_WORDS; ++m) {
            const auto x = read(idx, m);
            ASSERT_TRUE(std::equal(x.begin(), x.end(), full.begin())) << "m " << m;
        }
    }
    EXPECT_EQ(mp_err(), 0);
}

TEST_F(RealConstTest, IndicesOutsideTheTableAreErrorThirtyTwo) {
    for (const i32 idx : {16, -1, INT_MAX, INT_MIN}) {
        mp_context_reset();
        EXPECT_EQ(read(idx, 4), std::vector<u64>(5, 0)) << idx;
        EXPECT_EQ(mp_err(), MP_ERR_CONST_INDEX) << idx;
    }
    mp_context_reset();
    mp_raise(MP_ERR_DIV_ZERO);  // a pending error stays; the result is still +0
    EXPECT_EQ(read(16, 2), std::vector<u64>(3, 0));
    EXPECT_EQ(mp_err(), MP_ERR_DIV_ZERO);
}

TEST_F(RealConstTest, ALaterStartUpRecomputesTheSameDerivedEntries) {
    std::vector<std::vector<u64>> before;
    for (i32 idx = REAL_CONST_INV_LN10; idx < REAL_CONST_UNSET; ++idx)
        before.push_back(read(idx, MP_CONST_WORDS));
    mp_real_words = 7;
    mp_raise(MP_ERR_DIV_ZERO);  // must neither stop the computation nor be lost
    mp_init();
    EXPECT_EQ(mp_err(), MP_ERR_DIV_ZERO);
    EXPECT_EQ(mp_real_words, 7);
    for (i32 idx = REAL_CONST_INV_LN10; idx < REAL_CONST_UNSET; ++idx)
        EXPECT_EQ(read(idx, MP_CONST_WORDS), before[static_cast<std::size_t>(idx - 10)]) << idx;
}

}  // namespace
