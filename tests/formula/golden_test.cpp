// The golden rows of the formula engine (tests/golden/formula.txt) run
// in-process: syntax, operators and functions of every number type.
#include "formula/golden.h"

#include <gtest/gtest.h>

#include <vector>

#include "numlib/mp_context.h"
#include "numlib/rat.h"
#include "support/numlib_fixture.h"

namespace {

// A fresh library context per test.
class Golden : public NumlibTest {};

TEST_F(Golden, EveryRowGivesItsResultOrError) {
    golden_run("formula.txt", [](const GoldenLine& line) {
        GoldenRow row;
        const std::string why = parseGoldenRow(line, &row);
        return why.empty() ? runGoldenRow(row) : why;
    });
}

// Front ends that run the rows at larger word counts rely on the word-bound
// mark: an unmarked uint or rat error must recur with more words, a marked
// one must go away.
TEST_F(Golden, IntegerErrorsRecurWithMoreWordsUnlessMarked) {
    int marked = 0, unmarked = 0;
    for (const GoldenLine& line : golden_lines("formula.txt")) {
        GoldenRow row;
        if (!parseGoldenRow(line, &row).empty() || !row.isError || row.limits) continue;
        if (row.type != MP_TYPE_UINT && row.type != MP_TYPE_RAT) continue;
        row.words = row.type == MP_TYPE_UINT ? 1100 : 600;
        const std::string outcome = runGoldenRow(row);
        ++(row.wordBound ? marked : unmarked);
        // A marked row gives a result where its own words gave the error.
        EXPECT_TRUE(row.wordBound ? outcome.find(", got \"") != std::string::npos : outcome.empty())
            << text_to_utf8(row.formula) << ": " << outcome;
    }
    EXPECT_GT(marked, 0);
    EXPECT_GT(unmarked, 0);
}

// A rat zero keeps sign 0 when negated or multiplied or divided by a
// negative word: equal fractions have equal words.
TEST_F(Golden, RatZeroKeepsItsForm) {
    mp_num_type = MP_TYPE_RAT;
    mp_set_int_words(2);
    std::vector<u64> zero(5), got(5, ~u64{0});
    rat_zero(zero.data());
    for (const char16_t* text : {u"-0", u"-(1-1)", u"-(-0)", u"0*(-3)", u"(-3)*0", u"0/(-3)"}) {
        FormulaRequest req;
        req.text = text;
        req.result = got.data();
        ASSERT_TRUE(evaluateFormula(&req));
        EXPECT_EQ(got, zero) << text_to_utf8(text);
    }
}

// Literals follow the separator characters of the context at the time of
// reading (tests/golden/tokens.txt has what the tokenizer makes of them).
TEST_F(Golden, ContextCharacters) {
    mp_set_char_set(MP_CHARS_DECIMAL, u",", 1);
    mp_set_char_set(MP_CHARS_IMAG, u"k", 1);
    GoldenRow row;
    row.type = MP_TYPE_CPLX;
    row.formula = u"1,5*2k";
    row.expect = "\"3k\"";
    EXPECT_EQ(runGoldenRow(row), "");
}

}  // namespace
