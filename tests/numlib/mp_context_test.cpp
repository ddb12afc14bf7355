// The library context: a second start-up, word counts and sizes. The error
// discipline and the isolation of nested calls are checked with every routine
// (support/alias_run.h: errors pending and raised in each placement).
#include "numlib/mp_context.h"

#include "numlib/mp_error.h"
#include "numlib/mp_scratch.h"
#include "support/numlib_fixture.h"

using ContextTest = NumlibTest;

TEST_F(ContextTest, SecondInitKeepsApplicationSettings) {
    mp_set_char_set(MP_CHARS_DECIMAL, u",", 1);
    mp_fixed_exp_high = 10000;
    mp_set_real_words(40);
    ScratchMark outer;
    ASSERT_NE(outer.take(10), nullptr);
    u8* top = mp_scratch_top;
    u8* base = mp_scratch_base;
    mp_init();
    EXPECT_EQ(mp_decimal_chars[0], u',');
    EXPECT_EQ(mp_decimal_chars[1], 0);
    EXPECT_EQ(mp_fixed_exp_high, 10000);
    EXPECT_EQ(mp_real_words, 40);
    EXPECT_EQ(mp_scratch_base, base);
    EXPECT_EQ(mp_scratch_top, top);
}

// A block that does not fit fails every later take of the same mark, even
// one small enough to fit, so checking the last block covers them all; a
// new mark starts afresh.
TEST_F(ContextTest, FailedTakeFailsTheMarksLaterTakes) {
    const auto avail = static_cast<std::size_t>(mp_scratch_end - mp_scratch_top) / sizeof(u64);
    {
        ScratchMark mark;
        EXPECT_EQ(mark.take(avail + 1), nullptr);
        EXPECT_EQ(mark.take(1), nullptr);
    }
    EXPECT_EQ(mp_err(), MP_ERR_INTERNAL);
    mp_error = 0;
    ScratchMark fresh;
    EXPECT_NE(fresh.take(1), nullptr);
}

// 1 to 2000 integer words and 1 to 527 real words; other counts are error
// 1 and leave the count as it was.
TEST_F(ContextTest, WordCountLimits) {
    for (auto [words, max] : {std::pair{&mp_int_words, 2000}, {&mp_real_words, 527}}) {
        for (i32 value : {-5, 0, 1, max, max + 1}) {
            mp_error = 0;
            *words = 7;
            (words == &mp_int_words ? mp_set_int_words : mp_set_real_words)(value);
            const bool accepted = value >= 1 && value <= max;
            EXPECT_EQ(*words, accepted ? value : 7) << value;
            EXPECT_EQ(mp_err(), accepted ? 0 : MP_ERR_WORD_COUNT) << value;
        }
    }
}

// 19 digits a real word; ceil(d log2(10) / 64) integer words over the whole
// range of the integer precision; sizes of the current type and word count.
TEST_F(ContextTest, WordsForDigitsAndSizes) {
    EXPECT_EQ(num_words_for_digits(0, MP_TYPE_REAL), 1);
    EXPECT_EQ(num_words_for_digits(20, MP_TYPE_CPLX), 2);
    EXPECT_EQ(num_words_for_digits(10013, MP_TYPE_REAL), 527);
    EXPECT_EQ(num_words_for_digits(0, MP_TYPE_RAT), 0);
    for (i32 d = 1; d <= 38531; d += 37) {
        i32 w = num_words_for_digits(d, MP_TYPE_UINT);
        EXPECT_GE(w * 64.0, d * 3.321928094887362 - 1e-6) << d;
        EXPECT_LT((w - 1) * 64.0, d * 3.321928094887362 + 1e-3) << d;
    }
    EXPECT_EQ(num_size_bytes(0, 0), 0);  // no type chosen yet
    EXPECT_EQ(mp_err(), MP_ERR_TYPE);
    mp_error = 0;
    mp_int_words = 3;
    mp_num_type = MP_TYPE_RAT;
    EXPECT_EQ(num_size_bytes(0, 0), 3 * 16 + 8);
    EXPECT_EQ(num_size_bytes(5, MP_TYPE_CPLX), 96);
    EXPECT_EQ(mp_err(), 0);
    EXPECT_EQ(num_words_for_digits(5, 7), 0);
    EXPECT_EQ(mp_err(), MP_ERR_TYPE);
}
