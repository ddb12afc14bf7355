// The UTF-8 codec against glibc's iconv: random code points (weighted to
// the boundaries of the sequence lengths and the surrogates) encode to the
// same bytes, and random bytes decode to the same text where iconv takes
// them, and to text with U+FFFD where it refuses them.
#include "textbuf/text_utf8.h"

#include <gtest/gtest.h>
#include <iconv.h>

#include <string>

#include "support/numlib_fixture.h"

namespace {

// A seeded generator, its seed in every failure.
class TextUtf8 : public NumlibTest {};

// iconv from one encoding to another; false when it refuses the input.
bool convert(const char* to, const char* from, const std::string& in, std::string* out) {
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) return false;
    std::string src = in, dst(4 * in.size() + 8, '\0');
    char* ip = src.data();
    char* op = dst.data();
    std::size_t il = src.size(), ol = dst.size();
    const bool ok = iconv(cd, &ip, &il, &op, &ol) != static_cast<std::size_t>(-1);
    iconv_close(cd);
    dst.resize(dst.size() - ol);
    *out = dst;
    return ok;
}

std::string bytes16(const std::u16string& s) {
    return std::string(reinterpret_cast<const char*>(s.data()), 2 * s.size());
}

char32_t randomPoint(TestRng& rng) {
    static const char32_t edges[] = {0x7F,    0x80,     0x7FF,  0x800, 0xFFFF,
                                     0x10000, 0x10FFFF, 0xD7FF, 0xE000};
    if (rng.chance(40)) return edges[rng.range(0, 8)] + static_cast<char32_t>(rng.range(0, 1));
    const char32_t c = static_cast<char32_t>(rng.range(1, 0x10FFFF));
    return c >= 0xD800 && c < 0xE000 ? c - 0x800 : c;
}

TEST_F(TextUtf8, EncodesLikeIconv) {
    for (i64 iter = 0; iter < test_iterations(2000); ++iter) {
        std::u16string text;
        for (i64 n = rng.range(1, 6); n > 0; --n) {
            char32_t c = randomPoint(rng);
            if (c > 0x10FFFF || (c >= 0xD800 && c < 0xE000)) c = 0x10FFFF;
            if (c >= 0x10000) {
                text += static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10));
                text += static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
            } else {
                text += static_cast<char16_t>(c);
            }
        }
        std::string want;
        ASSERT_TRUE(convert("UTF-8", "UTF-16LE", bytes16(text), &want));
        ASSERT_EQ(text_to_utf8(text), want);
        ASSERT_EQ(text_from_utf8(want), text);
    }
    EXPECT_EQ(text_to_utf8(u"a\xD800z"), "a\xEF\xBF\xBDz");  // a lone surrogate
}

TEST_F(TextUtf8, DecodesLikeIconvAndMarksWhatItRefuses) {
    // Lead and continuation bytes, the bytes that never occur, and ASCII.
    static const unsigned char pool[] = {0x41, 0x80, 0x8F, 0x90, 0x9F, 0xA0, 0xBF, 0xC0, 0xC1,
                                         0xC2, 0xDF, 0xE0, 0xED, 0xEF, 0xF0, 0xF4, 0xF5, 0xFF};
    for (i64 iter = 0; iter < test_iterations(20000); ++iter) {
        std::string in;
        for (i64 n = rng.range(1, 5); n > 0; --n)
            in +=
                static_cast<char>(rng.chance(50) ? pool[rng.range(0, 17)] : rng.range(0x80, 0xBF));
        std::string want16;
        const std::u16string got = text_from_utf8(in);
        if (convert("UTF-16LE", "UTF-8", in, &want16)) {
            ASSERT_EQ(bytes16(got), want16) << testing::PrintToString(in);
        } else {
            ASSERT_NE(got.find(u'\uFFFD'), std::u16string::npos) << testing::PrintToString(in);
        }
    }
}

}  // namespace
