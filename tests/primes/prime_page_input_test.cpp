// The prime pages' inputs at their bounds: 0 and numbers past 2^128 are
// refused, interval sizes from 1 to the page's largest are taken, and a
// blank size gives the page's default.
#include "primes/prime_page_input.h"

#include "prime_test_util.h"

TEST_F(PrimeTest, NumbersAndIntervalSizesAtTheirBounds) {
    mp_set_int_words(PRIME_PAGE_WORDS_SHORT);
    u64 n[PRIME_PAGE_WORDS_SHORT] = {};
    std::u16string normal;
    // The first two are taken.
    const char16_t* numbers[] = {u"1",   u"340282366920938463463374607431768211455", u"0", u"",
                                 u"1 2", u"340282366920938463463374607431768211456"};
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(prime_page_read_number(numbers[i], 10, 0, n, &normal), i < 2) << i;
        EXPECT_EQ(appError.load(), i < 2 ? 0u : u32{APP_ERR_INVALID_INPUT});
        clearErrors();
    }
    const char16_t* sizes[] = {u"1", u"2147483647", u" \t", u"0", u"2147483648"};
    const i64 want[] = {1, 2147483647, 100, -1, -1};  // -1: refused
    for (int i = 0; i < 5; ++i) {
        i64 size = -1;
        EXPECT_EQ(
            prime_page_read_interval(sizes[i], 10, 0, PRIME_PAGE_INTERVAL_MAX, 100, &size, &normal),
            want[i] > 0);
        EXPECT_EQ(size, want[i]) << i;
        clearErrors();
    }
    i64 size = 0;
    EXPECT_FALSE(
        prime_page_read_interval(u"1000001", 10, 0, FACTOR_PAGE_INTERVAL_MAX, 1, &size, &normal));
}
