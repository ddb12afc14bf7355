// Golden rows of the formula syntax: precedence and associativity, signs,
// every formula error with its position, the stack limit, literals of each
// type and base, the imaginary unit and variables.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "formula/golden.h"
#include "formula/golden_rows_syntax.h"
#include "numlib/mp_context.h"
#include "numlib/rat.h"

namespace {

using namespace golden_syntax;  // R, C and nestingRows()

using GoldenSyntax = GoldenTest;

TEST_F(GoldenSyntax, Precedence) {
    run(golden_syntax::kPrecedence);
}
TEST_F(GoldenSyntax, Signs) {
    run(golden_syntax::kSigns);
}
TEST_F(GoldenSyntax, Errors) {
    run(golden_syntax::kErrors);
}
TEST_F(GoldenSyntax, Calls) {
    run(golden_syntax::kCalls);
}
TEST_F(GoldenSyntax, Literals) {
    run(golden_syntax::kLiterals);
}
TEST_F(GoldenSyntax, ImaginaryUnit) {
    run(golden_syntax::kImaginary);
}
TEST_F(GoldenSyntax, Variables) {
    run(golden_syntax::kVariables);
}

TEST_F(GoldenSyntax, NestingLimit) {
    run(nestingRows());
}

// Negating a rat zero keeps sign 0: equal fractions have equal words.
TEST_F(GoldenSyntax, RatZeroKeepsItsForm) {
    mp_num_type = MP_TYPE_RAT;
    mp_set_int_words(2);
    std::vector<u64> zero(5), got(5, ~u64{0});
    rat_zero(zero.data());
    for (const char16_t* text : {u"-0", u"-(1-1)", u"-(-0)"}) {
        FormulaRequest req;
        req.text = text;
        req.result = got.data();
        ASSERT_TRUE(evaluateFormula(&req));
        EXPECT_EQ(got, zero) << golden_detail::utf8(text);
    }
}

// Literals follow the separator characters of the context at the time of
// reading: with only "," as decimal character "." starts nothing.
TEST_F(GoldenSyntax, ContextCharacters) {
    mp_set_char_set(MP_CHARS_DECIMAL, u",", 1);
    EXPECT_EQ(runGoldenRow({R, 1, 10, u"1,5*2", u"3"}), "");
    EXPECT_EQ(runGoldenRow({R, 1, 10, u"1.5", nullptr, 10200, 2}), "");
    mp_set_char_set(MP_CHARS_IMAG, u"k", 1);
    EXPECT_EQ(runGoldenRow({C, 1, 10, u"2k", u"2k"}), "");
    EXPECT_EQ(runGoldenRow({C, 1, 10, u"2i", nullptr, 10200, 2}), "");
}

}  // namespace
