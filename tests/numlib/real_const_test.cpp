// The constant table: stored digits against MPFR, derived entries, reading
// at every precision and bad indices.
#include "numlib/real_const.h"

#include <climits>
#include <functional>

#include "numlib/mp_error.h"
#include "numlib/real.h"
#include "numlib/real_const_impl.h"
#include "support/mpfr_oracle.h"
#include "support/numlib_fixture.h"

namespace {

constexpr i64 TABLE_WORDS = MP_CONST_WORDS;
constexpr i64 TABLE_DIGITS = 19 * TABLE_WORDS;

using Reference = std::function<void(mpfr_ptr)>;

void ln_of(mpfr_ptr v, unsigned long num, unsigned long den) {
    mpfr_set_ui(v, num, MPFR_RNDN);
    mpfr_div_ui(v, v, den, MPFR_RNDN);
    mpfr_log(v, v, MPFR_RNDN);
}

void atan_of(mpfr_ptr v, unsigned long num, unsigned long den) {
    mpfr_set_ui(v, num, MPFR_RNDN);
    mpfr_div_ui(v, v, den, MPFR_RNDN);
    mpfr_atan(v, v, MPFR_RNDN);
}

void pi_times(mpfr_ptr v, unsigned long num, unsigned long den) {
    mpfr_const_pi(v, MPFR_RNDN);
    mpfr_mul_ui(v, v, num, MPFR_RNDN);
    mpfr_div_ui(v, v, den, MPFR_RNDN);
}

// Every entry's value, computed by MPFR.
const Reference REFERENCES[REAL_CONST_UNSET] = {
    [](mpfr_ptr v) { ln_of(v, 10, 1); },
    [](mpfr_ptr v) { ln_of(v, 2, 1); },
    [](mpfr_ptr v) { ln_of(v, 6, 5); },
    [](mpfr_ptr v) { ln_of(v, 101, 100); },
    [](mpfr_ptr v) {
        ln_of(v, 10, 1);
        mpfr_div_ui(v, v, 3, MPFR_RNDN);
    },
    [](mpfr_ptr v) {
        ln_of(v, 10, 1);
        mpfr_div_ui(v, v, 9, MPFR_RNDN);
    },
    [](mpfr_ptr v) { pi_times(v, 1, 4); },
    [](mpfr_ptr v) { atan_of(v, 1, 5); },
    [](mpfr_ptr v) { atan_of(v, 21, 50); },
    [](mpfr_ptr v) { atan_of(v, 67, 100); },
    [](mpfr_ptr v) {
        ln_of(v, 10, 1);
        mpfr_ui_div(v, 1, v, MPFR_RNDN);
    },
    [](mpfr_ptr v) {
        mpfr_set_ui(v, 2, MPFR_RNDN);
        mpfr_log10(v, v, MPFR_RNDN);
    },
    [](mpfr_ptr v) {
        ln_of(v, 2, 1);
        mpfr_ui_div(v, 1, v, MPFR_RNDN);
    },
    [](mpfr_ptr v) {
        pi_times(v, 1, 4);
        mpfr_ui_div(v, 1, v, MPFR_RNDN);
    },
    [](mpfr_ptr v) { pi_times(v, 1, 2); },
};

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

TEST_F(RealConstTest, StoredEntriesAreTheConstantsRoundedToTenThousandDigits) {
    Mpfr v(oracle_bits(TABLE_DIGITS + 40));
    for (i32 idx = 0; idx < REAL_CONST_STORED_COUNT; ++idx) {
        SCOPED_TRACE("entry " + std::to_string(idx));
        REFERENCES[idx](v);
        ASSERT_FALSE(near_tie(v, TABLE_DIGITS));
        EXPECT_TRUE(real_is_rounded(REAL_CONST_STORED[idx], TABLE_WORDS, v));
        EXPECT_TRUE(real_is_rounded(read(idx, MP_CONST_WORDS).data(), TABLE_WORDS, v));
    }
}

TEST_F(RealConstTest, DerivedEntriesAreWithinTwoUnitsOfTheirLastWord) {
    Mpfr v(oracle_bits(TABLE_DIGITS + 40));
    for (i32 idx = REAL_CONST_INV_LN10; idx < REAL_CONST_UNSET; ++idx) {
        SCOPED_TRACE("entry " + std::to_string(idx));
        REFERENCES[idx](v);
        const auto x = read(idx, MP_CONST_WORDS);
        EXPECT_TRUE(real_well_formed(x.data(), TABLE_WORDS));
        EXPECT_TRUE(real_near(x.data(), TABLE_WORDS, v, 2.0));
    }
    EXPECT_EQ(mp_err(), 0);
}

TEST_F(RealConstTest, ReadsTheFirstWordsAtEveryPrecision) {
    for (i32 idx = 0; idx < REAL_CONST_COUNT; ++idx) {
        const auto full = read(idx, MP_CONST_WORDS);
        for (i32 m = 1; m <= MP_CONST_WORDS; ++m) {
            const auto x = read(idx, m);
            ASSERT_TRUE(std::equal(x.begin(), x.end(), full.begin()))
                << "idx " << idx << " m " << m;
        }
    }
    EXPECT_TRUE(real_is_zero(read(REAL_CONST_UNSET, 3).data()));
    EXPECT_EQ(read(REAL_CONST_UNSET, 3)[0], 0u);
    EXPECT_EQ(mp_err(), 0);
}

TEST_F(RealConstTest, IndicesOutsideTheTableAreErrorThirtyTwo) {
    for (const i32 idx : {16, 17, -1, INT_MAX, INT_MIN}) {
        mp_context_reset();
        const auto x = read(idx, 4);
        EXPECT_EQ(mp_err(), MP_ERR_CONST_INDEX) << idx;
        EXPECT_EQ(x, std::vector<u64>(5, 0)) << idx;
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
