// The prime pages' inputs at their bounds: 0 and numbers past 2^128 are
// refused, interval sizes from 1 to the page's largest are taken, and a
// blank size gives the page's default.
#include "primes/prime_page_input.h"

#include "prime_test_util.h"
#include "textbuf/text_utf8.h"

TEST_F(PrimeTest, NumbersAndIntervalSizesAtTheirBounds) {
    mp_set_int_words(PRIME_PAGE_WORDS_SHORT);
    u64 n[PRIME_PAGE_WORDS_SHORT] = {};
    std::u16string normal;
    const struct {
        const char16_t* text;
        bool ok;
    } numbers[] = {{u"1", true},
                   {u"0", false},
                   {u"", false},
                   {u"1 2", false},
                   {u"340282366920938463463374607431768211455", true},
                   {u"340282366920938463463374607431768211456", false}};
    for (const auto& c : numbers) {
        EXPECT_EQ(prime_page_read_number(c.text, 10, 0, n, &normal), c.ok)
            << "\"" << text_to_utf8(c.text) << "\"";
        EXPECT_EQ(appError.load(), c.ok ? 0u : u32{APP_ERR_INVALID_INPUT});
        clearErrors();
    }
    i64 size = 0;
    for (const auto& [text, want] : {std::pair{u"1", 1L},
                                     {u"2147483647", 2147483647L},
                                     {u" \t", 100L},
                                     {u"0", -1L},
                                     {u"2147483648", -1L}}) {
        const bool ok =
            prime_page_read_interval(text, 10, 0, PRIME_PAGE_INTERVAL_MAX, 100, &size, &normal);
        EXPECT_EQ(ok, want > 0) << text_to_utf8(text);
        if (ok) {
            EXPECT_EQ(size, want);
        }
        clearErrors();
    }
    EXPECT_FALSE(
        prime_page_read_interval(u"1000001", 10, 0, FACTOR_PAGE_INTERVAL_MAX, 1, &size, &normal));
}
