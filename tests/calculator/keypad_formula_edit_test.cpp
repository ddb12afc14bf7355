// Formula edits against a model of code points: replacing the selection and
// normalizing it at random.
#include <algorithm>
#include <string>
#include <vector>

#include "calc_test_util.h"
#include "calculator/formula_edit.h"

namespace {

// No lone half of a surrogate pair: those would come back as U+FFFD.
bool wellFormed(const std::u16string& s) {
    return text_from_utf8(text_to_utf8(s)) == s;
}

// The UTF-16 offset of each code point, and the end.
std::vector<std::size_t> pointOffsets(const std::u16string& s) {
    std::vector<std::size_t> offsets;
    for (std::size_t i = 0; i < s.size(); ++i) {
        offsets.push_back(i);
        if (s[i] >= 0xD800 && s[i] <= 0xDBFF) ++i;
    }
    offsets.push_back(s.size());
    return offsets;
}

// Random selections (also past the end and inside pairs): normalizing keeps
// the text and the direction and never splits a pair; replacing takes the
// code points the selection touches, an empty one at the next boundary.
TEST(FormulaEdit, SelectionsAgainstACodePointModel) {
    SCOPED_TRACE(test_seed_text());
    TestRng rng;
    for (i64 round = 0; round < test_iterations(20000); ++round) {
        const std::u16string before = randomText(rng, 0, 8);
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
        // The selection widened to code point boundaries; an empty one moves up.
        const std::size_t up = *std::lower_bound(offsets.begin(), offsets.end(), hi);
        lo = lo == hi ? up : *std::prev(std::upper_bound(offsets.begin(), offsets.end(), lo));
        hi = up;
        const std::u16string insert = randomText(rng, 0, 3);
        replaceSelection(edit, insert);
        ASSERT_TRUE(edit.text == before.substr(0, lo) + insert + before.substr(hi));
        ASSERT_TRUE(wellFormed(edit.text));
        ASSERT_EQ(edit.caret, lo + insert.size());
        ASSERT_EQ(edit.anchor, edit.caret);
    }
}

// A lone half is one character to "←" (the other edits are rows of
// tests/golden/keypad.txt).
TEST(FormulaEdit, DeleteLastCharacterTakesALoneHalf) {
    FormulaEdit edit{u"\xDC00", 1, 1};
    EXPECT_TRUE(deleteLastCharacter(edit) && edit.text.empty());
    EXPECT_FALSE(deleteLastCharacter(edit));
}

}  // namespace
