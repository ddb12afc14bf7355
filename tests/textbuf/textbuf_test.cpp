#include "textbuf/textbuf.h"

#include <gtest/gtest.h>

#include <string>

namespace {

int overflow_calls = 0;

class TextBufTest : public ::testing::Test {
  protected:
    void SetUp() override {
        overflow_calls = 0;
        old_ = textbuf_set_overflow_handler([] { ++overflow_calls; });
    }
    void TearDown() override { textbuf_set_overflow_handler(old_); }

  private:
    TextOverflowHandler old_ = nullptr;
};

// Capacity boundaries: exact fit keeps the text, one short cuts and marks,
// capacity 1 leaves only the mark, capacity 0 only the terminator.
TEST_F(TextBufTest, FinishAtCapacityBoundaries) {
    struct Case {
        std::int64_t capacity;
        const char16_t* want;
        bool cut;
    } cases[] = {
        {5, u"hello", false}, {4, u"hel\u2026", true}, {1, u"\u2026", true}, {0, u"", true}};
    for (const Case& c : cases) {
        char16_t store[8] = {u'#', u'#', u'#', u'#', u'#', u'#', u'#', u'#'};
        TextBuf buf{0, c.capacity, store};
        textbuf_format(buf, u"%s", u"hello");
        EXPECT_EQ(buf.length, 5);
        overflow_calls = 0;
        EXPECT_EQ(textbuf_finish(buf), c.cut) << c.capacity;
        EXPECT_EQ(std::u16string(store), c.want);
        EXPECT_EQ(overflow_calls, c.cut ? 1 : 0);
        EXPECT_EQ(store[c.capacity + 1], u'#');
    }
}

// Once over the capacity a buffer takes nothing more; up to it, calls append.
TEST_F(TextBufTest, LaterCallsAppendUntilOver) {
    char16_t store[7];
    TextBuf buf = textbuf_on(store);
    textbuf_format(buf, u"%d-", 12);
    textbuf_append(buf, u"ab");
    textbuf_append_char(buf, u'c');
    EXPECT_EQ(buf.length, 6);
    textbuf_format(buf, u"%s", u"xyz");  // crosses: counted in full
    EXPECT_EQ(buf.length, 9);
    textbuf_format(buf, u"%s", u"more");  // already over: ignored
    textbuf_append(buf, u"more");
    EXPECT_EQ(buf.length, 9);
    textbuf_finish(buf);
    EXPECT_EQ(std::u16string(store), u"12-ab\u2026");
}

bool has_lone_surrogate(const std::u16string& s) {
    for (std::size_t i = 0; i < s.size(); ++i) {
        const bool high = s[i] >= 0xD800 && s[i] <= 0xDBFF;
        const bool low = s[i] >= 0xDC00 && s[i] <= 0xDFFF;
        if (low) return true;
        if (high && (i + 1 == s.size() || s[i + 1] < 0xDC00 || s[i + 1] > 0xDFFF)) return true;
        if (high) ++i;
    }
    return false;
}

// A cut never leaves half of a surrogate pair in front of the mark.
TEST_F(TextBufTest, CutKeepsSurrogatePairsWhole) {
    const char16_t* emoji = u"ab\U0001F600cd";  // a b D83D DE00 c d
    for (std::int64_t cap = 0; cap <= 6; ++cap) {
        char16_t store[8];
        TextBuf buf{0, cap, store};
        textbuf_append(buf, emoji);
        textbuf_finish(buf);
        EXPECT_FALSE(has_lone_surrogate(store)) << cap;
    }
    char16_t store[8];
    TextBuf buf{0, 4, store};
    textbuf_append(buf, emoji);
    textbuf_finish(buf);
    EXPECT_EQ(std::u16string(store), u"ab\u2026");  // the pair went with the mark
    TextBuf keep{0, 5, store};
    textbuf_append(keep, emoji);
    textbuf_finish(keep);
    EXPECT_EQ(std::u16string(store), u"ab\U0001F600\u2026");
}

TEST(TextIsBlank, SpacesAndTabsOnly) {
    EXPECT_TRUE(text_is_blank(nullptr));
    EXPECT_TRUE(text_is_blank(u""));
    EXPECT_TRUE(text_is_blank(u" \t  \t"));
    EXPECT_FALSE(text_is_blank(u"  0"));
    EXPECT_FALSE(text_is_blank(u"\r\n"));
    EXPECT_FALSE(text_is_blank(u"\u00a0"));  // a no-break space is text
}

}  // namespace
