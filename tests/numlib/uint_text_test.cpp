// Integer text against GMP's digit strings in bases 2, 8, 10 and 16 (and
// round trips in base 4 and the odd input bases), the overflow and syntax
// rules of the parser, digit grouping and the output buffer's boundaries.
#include <gmp.h>

#include <cctype>
#include <cmath>
#include <string>
#include <vector>

#include "numlib/mp_error.h"
#include "numlib/num_text.h"
#include "numlib/uint.h"
#include "support/gmp_oracle.h"
#include "support/numlib_fixture.h"
#include "support/text_helpers.h"

namespace {

using UintTextTest = NumlibTest;
using Words = std::vector<u64>;

// Our text of the n-word a, in a buffer of exactly the capacity it needs.
std::string print(const Words& a, u32 flags, int base) {
    const i32 cap = static_cast<i32>(64 * a.size() + 64 * a.size() / 3 + 4);
    std::vector<char16_t> buf(static_cast<std::size_t>(cap) + 1);
    const i32 len = uint_to_text(buf.data(), cap, a.data(), flags | NUM_TEXT_TERMINATE, base);
    return ascii(std::u16string(buf.data(), static_cast<std::size_t>(len)));
}

// uint_from_text of s: the value and the error raised.
std::pair<Words, i32> parse(const std::string& s, u32 in_flags, int base) {
    Words out(static_cast<std::size_t>(mp_int_words), 0xDEAD);
    const std::u16string t = u16(s);
    mp_error = 0;
    uint_from_text(out.data(), t.data(), static_cast<i32>(t.size()), in_flags, base);
    const i32 err = mp_err();
    mp_error = 0;
    return {out, err};
}

TEST_F(UintTextTest, PrintsAndParsesAsGmpInEveryOutputBase) {
    for (i64 iter = 0; iter < test_iterations(300); ++iter) {
        const i64 n = rng.word_count(iter % 10 == 0 ? 2000 : 80);
        mp_set_int_words(static_cast<i32>(n));
        Words a(static_cast<std::size_t>(n));
        rng.fill(a.data(), n, rng.range(0, n));
        Mpz z(a.data(), n);
        for (int base : {2, 8, 10, 16}) {
            const std::string ref = mpz_digits(z, base);
            SCOPED_TRACE("base " + std::to_string(base) + " value " + z.hex());
            ASSERT_EQ(print(a, 0, base), ref);
            ASSERT_EQ(print(a, NUM_TEXT_GROUP, base), grouped(ref, base == 10 ? 3 : 4));
            ASSERT_EQ(print(a, NUM_TEXT_SIGN, base), "+" + ref);
            auto [back, err] = parse(ref, 0, base);
            ASSERT_EQ(err, 0);
            ASSERT_EQ(back, a);
            // Group separators, spaces around, a "+" and leading zeros.
            const std::string decorated = "  +00" + grouped(ref, 2) + " ";
            std::tie(back, err) = parse(decorated, NUM_IN_GROUPS, base);
            ASSERT_EQ(err, 0) << decorated;
            ASSERT_EQ(back, a);
        }
        // Base 4 has no GMP text of its own here: a round trip.
        auto [back, err] = parse(print(a, NUM_TEXT_GROUP, 4), NUM_IN_GROUPS, 4);
        ASSERT_EQ(err, 0);
        ASSERT_EQ(back, a);
    }
}

TEST_F(UintTextTest, ParsesEveryInputBaseAsGmp) {
    for (i64 iter = 0; iter < test_iterations(400); ++iter) {
        const i64 n = rng.word_count(iter % 20 == 0 ? 2000 : 40);
        mp_set_int_words(static_cast<i32>(n));
        const int base = static_cast<int>(rng.range(2, 16));
        // A digit string that fits in n words about half the time.
        const double per_digit = std::log2(static_cast<double>(base));
        const i64 digits = rng.range(1, static_cast<i64>(64 * n / per_digit) + 2);
        std::string s;
        for (i64 i = 0; i < digits; ++i) s.push_back("0123456789ABCDEF"[rng.range(0, base - 1)]);
        Mpz z;
        mpz_set_str(z, s.c_str(), base);
        const bool lower = rng.chance(30);
        if (lower)
            for (char& c : s) c = static_cast<char>(std::tolower(c));
        SCOPED_TRACE("base " + std::to_string(base) + " text " + s);
        auto [got, err] = parse(s, lower ? u32{NUM_IN_LOWER_HEX} : 0u, base);
        if (!z.fits(n)) {
            ASSERT_EQ(err, MP_ERR_OVERFLOW);
            ASSERT_EQ(got, Words(static_cast<std::size_t>(n)));
            // The overflow comes first when a bad character follows it.
            std::tie(got, err) = parse(s + "-", lower ? u32{NUM_IN_LOWER_HEX} : 0u, base);
            ASSERT_EQ(err, MP_ERR_OVERFLOW);
        } else {
            ASSERT_EQ(err, 0);
            ASSERT_EQ(got, z.words(n));
            std::tie(got, err) = parse(s + "-", lower ? u32{NUM_IN_LOWER_HEX} : 0u, base);
            ASSERT_EQ(err, MP_ERR_SYNTAX);
            ASSERT_EQ(got, Words(static_cast<std::size_t>(n)));
        }
    }
}

TEST_F(UintTextTest, RejectsZeroCharactersSurrogatesAndReadsToTheTerminator) {
    const char16_t embedded[] = {u'1', 0, u'2'};
    u64 v = 99;
    uint_from_text(&v, embedded, 3, 0, 10);
    EXPECT_EQ(mp_err(), MP_ERR_SYNTAX);
    EXPECT_EQ(v, 0u);
    mp_error = 0;
    const char16_t surrogate[] = {u'1', 0xD800, u'2'};
    uint_from_text(&v, surrogate, 3, 0, 10);
    EXPECT_EQ(mp_err(), MP_ERR_SYNTAX);
    mp_error = 0;
    uint_from_text(&v, embedded, -1, 0, 10);  // stops at the 0
    EXPECT_EQ(mp_err(), 0);
    EXPECT_EQ(v, 1u);
    uint_from_text(&v, u"7", -5, 0, 10);  // other negative lengths are empty
    EXPECT_EQ(mp_err(), MP_ERR_SYNTAX);
}

TEST_F(UintTextTest, PrintRows) {
    const u64 ff = 255, big = 65536;
    EXPECT_EQ(print({ff}, 0, 0), "255");
    EXPECT_EQ(print({ff}, 0, 3), "[P]");
    EXPECT_EQ(mp_err(), MP_ERR_DOMAIN);
    mp_error = 0;
    mp_group_chars[0] = 0;  // an emptied set: no separators at all
    EXPECT_EQ(print({big}, NUM_TEXT_GROUP, 10), "65536");
}

// Every capacity around the text's length: the text, "[$]" or nothing, never
// a character outside the buffer.
TEST_F(UintTextTest, BufferBoundaries) {
    const u64 v = 12345;
    for (i32 cap = -1; cap <= 8; ++cap) {
        for (u32 flags : {0u, u32{NUM_TEXT_TERMINATE}}) {
            for (bool pending : {false, true}) {
                mp_error = pending ? MP_ERR_DIV_ZERO : 0;
                GuardedBuffer buf(cap);
                const i32 len = uint_to_text(buf.data(), cap, &v, flags, 10);
                ASSERT_TRUE(buf.canaries_intact()) << cap;
                const std::string want = pending ? "!12345" : "12345";
                const std::string got = ascii(buf.text(len));
                if (cap >= static_cast<i32>(want.size())) {
                    EXPECT_EQ(got, want);
                    EXPECT_EQ(mp_err(), pending ? MP_ERR_DIV_ZERO : 0);
                    if (flags) {
                        EXPECT_EQ(buf.data()[len], 0);
                    } else if (len < cap) {
                        EXPECT_EQ(buf.data()[len], u'#');
                    }
                } else {
                    EXPECT_EQ(got, cap >= 3 ? "[$]" : "") << cap;
                    EXPECT_EQ(mp_err(), pending ? MP_ERR_DIV_ZERO : MP_ERR_TEXT_SPACE);
                }
            }
        }
    }
    mp_error = 0;
    EXPECT_EQ(uint_to_text(nullptr, 10, &v, NUM_TEXT_TERMINATE, 10), 0);
    EXPECT_EQ(mp_err(), MP_ERR_TEXT_SPACE);
}

}  // namespace
