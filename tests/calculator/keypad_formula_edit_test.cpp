// Formula edits against a model of code points: replacing the selection and
// normalizing it at random, and the end keys' edges.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "calculator/formula_edit.h"
#include "support/test_random.h"

namespace {

bool wellFormed(const std::u16string& s) {
    for (std::size_t i = 0; i < s.size(); ++i) {
        const bool high = s[i] >= 0xD800 && s[i] <= 0xDBFF;
        const bool low = s[i] >= 0xDC00 && s[i] <= 0xDFFF;
        if (low) return false;
        if (high && (i + 1 >= s.size() || s[i + 1] < 0xDC00 || s[i + 1] > 0xDFFF)) return false;
        if (high) ++i;
    }
    return true;
}

// Code points as the reference sees them, with the UTF-16 offset of each.
std::u16string randomText(TestRng& rng, std::size_t maxPoints) {
    const std::u16string pieces[] = {u"1", u"+",          u"(",          u")",
                                     u"π", u"\U0001D70B", u"\U0001F600", u"x"};
    std::u16string s;
    const i64 n = rng.range(0, static_cast<i64>(maxPoints));
    for (i64 i = 0; i < n; ++i) s += pieces[rng.range(0, 7)];
    return s;
}

std::vector<std::size_t> pointOffsets(const std::u16string& s) {
    std::vector<std::size_t> offsets;
    for (std::size_t i = 0; i < s.size(); ++i) {
        offsets.push_back(i);
        if (s[i] >= 0xD800 && s[i] <= 0xDBFF) ++i;
    }
    offsets.push_back(s.size());
    return offsets;
}

// The code point boundary at or before (down) or after (up) a UTF-16 offset.
std::size_t boundary(const std::vector<std::size_t>& offsets, std::size_t pos, bool up) {
    for (std::size_t k = 0; k < offsets.size(); ++k) {
        if (offsets[k] == pos) return pos;
        if (offsets[k] > pos) return up ? offsets[k] : offsets[k - 1];
    }
    return offsets.back();
}

// Random selections (also past the end and inside pairs): normalizing keeps
// the text and the direction and never splits a pair; replacing takes the
// code points the selection touches, an empty one at the next boundary.
TEST(FormulaEdit, SelectionsAgainstACodePointModel) {
    SCOPED_TRACE(test_seed_text());
    TestRng rng;
    for (i64 round = 0; round < test_iterations(20000); ++round) {
        const std::u16string before = randomText(rng, 8);
        const auto size = static_cast<i64>(before.size());
        FormulaEdit edit{before, static_cast<std::size_t>(rng.range(0, size + 2)), 0};
        edit.caret =
            rng.chance(30) ? edit.anchor : static_cast<std::size_t>(rng.range(0, size + 2));
        SCOPED_TRACE(testing::Message()
                     << "anchor " << edit.anchor << " caret " << edit.caret << " size " << size);

        FormulaEdit normal = edit;
        normalizeSelection(normal);
        ASSERT_TRUE(normal.text == before);
        ASSERT_LE(normal.selectionEnd(), before.size());
        ASSERT_FALSE(splitsSurrogatePair(before, normal.anchor) ||
                     splitsSurrogatePair(before, normal.caret));
        if (normal.hasSelection()) {
            ASSERT_EQ(normal.caret < normal.anchor, edit.caret < edit.anchor);
        }

        const auto offsets = pointOffsets(before);
        std::size_t lo = std::min(std::min(edit.anchor, edit.caret), before.size());
        std::size_t hi = std::min(std::max(edit.anchor, edit.caret), before.size());
        if (lo == hi) {
            lo = hi = boundary(offsets, hi, true);
        } else {
            lo = boundary(offsets, lo, false);
            hi = boundary(offsets, hi, true);
        }
        const std::u16string insert = randomText(rng, 3);
        replaceSelection(edit, insert);
        ASSERT_TRUE(edit.text == before.substr(0, lo) + insert + before.substr(hi));
        ASSERT_TRUE(wellFormed(edit.text));
        ASSERT_EQ(edit.caret, lo + insert.size());
        ASSERT_EQ(edit.anchor, edit.caret);
    }
}

TEST(FormulaEdit, DeleteLastCharacter) {
    FormulaEdit edit{u"12+", 0, 1};
    EXPECT_TRUE(deleteLastCharacter(edit));
    EXPECT_TRUE(edit.text == u"12");
    EXPECT_EQ(edit.caret, 1u);  // a caret before the cut stays
    edit = FormulaEdit{u"1\U0001F600", 3, 3};
    EXPECT_TRUE(deleteLastCharacter(edit));  // both halves of the pair go
    EXPECT_TRUE(edit.text == u"1");
    EXPECT_EQ(edit.caret, 1u);
    EXPECT_TRUE(deleteLastCharacter(edit));
    EXPECT_FALSE(deleteLastCharacter(edit));
    EXPECT_TRUE(edit.text.empty());
    EXPECT_EQ(edit.caret, 0u);
    edit = FormulaEdit{u"\xDC00", 1, 1};  // a lone half is one character
    EXPECT_TRUE(deleteLastCharacter(edit));
    EXPECT_TRUE(edit.text.empty());
}

TEST(FormulaEdit, Parentheses) {
    FormulaEdit edit{u"1+2", 1, 1};
    wrapInParentheses(edit);
    EXPECT_TRUE(edit.text == u"(1+2)");
    EXPECT_EQ(edit.caret, 5u);
    edit = FormulaEdit{};
    wrapInParentheses(edit);
    EXPECT_TRUE(edit.text == u"()");
    EXPECT_EQ(edit.caret, 1u);

    // Only the counts matter, as for "=": a ")" before its "(" still counts.
    const struct {
        const char16_t* text;
        const char16_t* closed;
    } rows[] = {
        {u"(1+2", u"(1+2)"},
        {u"((((", u"(((())))"},
        {u")(", u")("},
        {u"1+2)", u"1+2)"},
        {u"sin((1)+cos(2", u"sin((1)+cos(2))"},
        {u"", u""},
    };
    for (const auto& r : rows) {
        edit = FormulaEdit{r.text, 0, 0};
        const std::size_t added = closeParentheses(edit);
        EXPECT_TRUE(edit.text == r.closed) << added;
        EXPECT_EQ(added, std::u16string_view(r.closed).size() - std::u16string_view(r.text).size());
        EXPECT_EQ(missingCloseParentheses(edit.text), 0u);
        EXPECT_EQ(edit.caret, added != 0 ? edit.text.size() : 0u);
    }
}

}  // namespace
