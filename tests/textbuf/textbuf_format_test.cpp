#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "support/test_random.h"
#include "textbuf/textbuf.h"

namespace {

std::u16string ascii(const std::string& s) {
    return std::u16string(s.begin(), s.end());
}

template <typename... Args>
std::u16string format(const char16_t* fmt, const Args&... args) {
    char16_t out[200];
    text_format(out, 199, fmt, args...);
    return out;
}

TEST(TextFormat, Placeholders) {
    EXPECT_EQ(format(u"%d%%", 50), u"50%");
    EXPECT_EQ(format(u"%x"), u"?");
    EXPECT_EQ(format(u"a%"), u"a?");  // a lone "%" at the end
    EXPECT_EQ(format(u"%s|%c|%d", u"ab", u'\u2026', -7), u"ab|\u2026|-7");
    EXPECT_EQ(format(u"%d %d", INT_MIN, INT64_MIN), u"-2147483648 -9223372036854775808");
    EXPECT_EQ(format(u"%d", UINT64_MAX), u"18446744073709551615");
    EXPECT_EQ(format(u"%c%c", 65, 0x10000), u"A?");  // integer code unit; out of range
    // Unknown placeholders use no argument; "%%" neither.
    EXPECT_EQ(format(u"%q%%%s", u"x"), u"?%x");
}

TEST(TextFormat, BadArgumentsGiveQuestionMarks) {
    const char16_t* null_text = nullptr;
    EXPECT_EQ(format(u"[%s]", null_text), u"[?]");
    EXPECT_EQ(format(u"%s %d %c"), u"? ? ?");         // missing arguments
    EXPECT_EQ(format(u"%s %d", 5, u"five"), u"? ?");  // wrong kinds
    EXPECT_EQ(format(u"%d", u'x'), u"?");
    EXPECT_EQ(text_format(nullptr, -1, u"%s", u"abc"), 0);  // no storage: nothing written
}

// A random format and its arguments, with the expected text built
// independently by plain string concatenation.
struct RandomFormat {
    std::u16string format;
    std::u16string expected;
    std::vector<std::u16string> texts;  // storage of the "%s" arguments
    std::vector<TextArg> args;
};

void add_piece(TestRng& rng, RandomFormat& f) {
    switch (rng.range(0, 4)) {
        case 0:
            for (i64 i = rng.range(1, 6); i > 0; --i) {
                const auto c = static_cast<char16_t>(rng.range(32, 126));
                f.format += c == u'%' ? u'p' : c;
                f.expected += c == u'%' ? u'p' : c;
            }
            break;
        case 1: {
            std::u16string& text = f.texts.emplace_back();
            for (i64 i = rng.range(0, 8); i > 0; --i)
                text += static_cast<char16_t>(rng.range(0x20, 0xD7FF));
            f.format += u"%s";
            f.expected += text;
            f.args.emplace_back(text.c_str());
            break;
        }
        case 2: {
            const auto v = static_cast<long long>(rng.word()) >> rng.range(0, 63);
            f.format += u"%d";
            f.expected += ascii(std::to_string(v));
            f.args.emplace_back(v);
            break;
        }
        case 3: {
            const auto c = static_cast<char16_t>(rng.range(1, 0xD7FF));
            f.format += u"%c";
            f.expected += c;
            f.args.emplace_back(c);
            break;
        }
        default:
            f.format += u"%%";
            f.expected += u'%';
            break;
    }
}

// Random formats into random capacities around the text's length: what is
// stored is always the expected prefix, the length counts the whole text,
// finishing cuts and marks it, and nothing past the terminator is touched.
TEST(TextFormat, RandomAgainstConcatenation) {
    SCOPED_TRACE(test_seed_text());
    TestRng rng;
    static int overflows = 0;
    const TextOverflowHandler old = textbuf_set_overflow_handler([] { ++overflows; });
    for (i64 iter = 0; iter < test_iterations(3000); ++iter) {
        RandomFormat f;
        f.texts.reserve(16);
        for (i64 n = rng.range(0, 8); n > 0; --n) add_piece(rng, f);
        const auto full = static_cast<i64>(f.expected.size());
        const i64 cap = std::max<i64>(0, full + rng.range(-3, 2));
        std::u16string store(cap + 4, u'#');
        TextBuf buf{0, cap, store.data()};
        textbuf_format_list(buf, f.format.c_str(), f.args.data(), f.args.size());
        ASSERT_EQ(buf.length, full) << "format " << std::string(f.format.begin(), f.format.end());
        const i64 kept = std::min(cap, full);
        ASSERT_EQ(store.compare(0, kept, f.expected, 0, kept), 0);
        const int before = overflows;
        const bool cut = textbuf_finish(buf);
        ASSERT_EQ(cut, full > cap);
        ASSERT_EQ(overflows - before, cut ? 1 : 0);
        std::u16string want = f.expected;
        if (cut) want = cap == 0 ? u"" : f.expected.substr(0, cap - 1) + u"\u2026";
        ASSERT_EQ(std::u16string(buf.chars), want);
        ASSERT_EQ(buf.length, static_cast<i64>(want.size()));
        ASSERT_EQ(store.substr(cap + 1), u"###");
    }
    textbuf_set_overflow_handler(old);
}

}  // namespace
