// The text buffer and its formatter: random formats in several calls into
// random capacities against plain string concatenation, and a table of the
// placeholders that give "?".
#include "textbuf/textbuf.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <string>
#include <vector>

#include "support/numlib_fixture.h"

namespace {

// A seeded generator, its seed in every failure.
class TextBufTest : public NumlibTest {};

int overflows = 0;

// One call's format and arguments, with the text it must give.
struct Call {
    std::u16string format, expected;
    std::vector<std::u16string> texts;  // storage of the "%s" arguments
    std::vector<TextArg> args;
};

void add_piece(TestRng& rng, Call& f) {
    const i64 kind = rng.range(0, 4);
    std::u16string text;
    if (kind == 0) {  // plain characters
        for (i64 i = rng.range(1, 6); i > 0; --i) text += static_cast<char16_t>(rng.range(32, 126));
        std::replace(text.begin(), text.end(), u'%', u'p');
        f.format += text;
    } else if (kind == 1) {  // a text, perhaps with surrogate pairs
        for (i64 i = rng.range(0, 8); i > 0; --i)
            text += rng.chance(30)
                        ? u"\U0001F600"
                        : std::u16string(1, static_cast<char16_t>(rng.range(0x20, 0xD7FF)));
        f.format += u"%s";
        f.args.emplace_back(f.texts.emplace_back(text).c_str());
    } else if (kind == 2) {
        const auto v = static_cast<long long>(rng.word()) >> rng.range(0, 63);
        const std::string digits = std::to_string(v);
        text.assign(digits.begin(), digits.end());
        f.format += u"%d";
        f.args.emplace_back(v);
    } else if (kind == 3) {
        text = static_cast<char16_t>(rng.range(1, 0xD7FF));
        f.format += u"%c";
        f.args.emplace_back(text[0]);
    } else {
        text = u"%";
        f.format += u"%%";
    }
    f.expected += text;
}

// A call counts in full when the buffer is not over its capacity before it
// and is ignored after; what is stored is the expected prefix, finishing
// cuts and marks it (never between the halves of a pair), and nothing past
// the terminator is touched.
TEST_F(TextBufTest, RandomFormatsAgainstConcatenation) {
    const TextOverflowHandler old = textbuf_set_overflow_handler([] { ++overflows; });
    for (i64 iter = 0; iter < test_iterations(3000); ++iter) {
        std::vector<Call> calls(static_cast<std::size_t>(rng.range(1, 3)));
        std::u16string expected;
        std::vector<i64> ends = {0};  // the lengths after each call, to pick a capacity near
        for (Call& c : calls) {
            c.texts.reserve(16);
            for (i64 n = rng.range(0, 6); n > 0; --n) add_piece(rng, c);
            ends.push_back(ends.back() + static_cast<i64>(c.expected.size()));
        }
        const i64 cap =
            std::max<i64>(0, ends[rng.range(1, std::ssize(ends) - 1)] + rng.range(-3, 2));
        std::u16string store(cap + 4, u'#');
        TextBuf buf{0, cap, store.data()};
        for (const Call& c : calls) {
            if (static_cast<i64>(expected.size()) <= cap) expected += c.expected;
            textbuf_format_list(buf, c.format.c_str(), c.args.data(), c.args.size());
        }
        const auto full = static_cast<i64>(expected.size());
        ASSERT_EQ(buf.length, full);
        const i64 kept = std::min(cap, full);
        ASSERT_EQ(store.compare(0, kept, expected, 0, kept), 0);
        const int before = overflows;
        const bool cut = textbuf_finish(buf);
        ASSERT_EQ(cut, full > cap);
        ASSERT_EQ(overflows - before, cut ? 1 : 0);
        std::u16string want = expected;
        if (cut) {
            want = cap == 0 ? u"" : expected.substr(0, cap - 1);
            if (!want.empty() && want.back() >= 0xD800 && want.back() <= 0xDBFF) want.pop_back();
            if (cap > 0) want += u'\u2026';
        }
        ASSERT_EQ(std::u16string(buf.chars), want);
        ASSERT_EQ(buf.length, static_cast<i64>(want.size()));
        ASSERT_EQ(store.substr(cap + 1), u"###");
    }
    textbuf_set_overflow_handler(old);
}

template <typename... Args>
std::u16string format(const char16_t* fmt, const Args&... args) {
    char16_t out[200];
    text_format(out, 199, fmt, args...);
    return out;
}

TEST_F(TextBufTest, PlaceholdersAndBadArguments) {
    const char16_t* null_text = nullptr;
    EXPECT_EQ(format(u"%x"), u"?");
    EXPECT_EQ(format(u"a%"), u"a?");             // a lone "%" at the end
    EXPECT_EQ(format(u"%q%%%s", u"x"), u"?%x");  // unknown placeholders use no argument
    EXPECT_EQ(format(u"%d %d", INT_MIN, INT64_MIN), u"-2147483648 -9223372036854775808");
    EXPECT_EQ(format(u"%d", UINT64_MAX), u"18446744073709551615");
    EXPECT_EQ(format(u"%c%c", 65, 0x10000), u"A?");  // an integer code unit; out of range
    EXPECT_EQ(format(u"[%s]", null_text), u"[?]");
    EXPECT_EQ(format(u"%s %d %c"), u"? ? ?");         // missing arguments
    EXPECT_EQ(format(u"%s %d", 5, u"five"), u"? ?");  // wrong kinds
    EXPECT_EQ(format(u"%d", u'x'), u"?");
    EXPECT_EQ(text_format(nullptr, -1, u"%s", u"abc"), 0);  // no storage: nothing written
}

TEST_F(TextBufTest, BlankIsSpacesAndTabsOnly) {
    for (const char16_t* blank : {static_cast<const char16_t*>(nullptr), u"", u" \t  \t"})
        EXPECT_TRUE(text_is_blank(blank));
    for (const char16_t* text : {u"  0", u"\r\n", u"\u00a0"}) EXPECT_FALSE(text_is_blank(text));
}

}  // namespace
