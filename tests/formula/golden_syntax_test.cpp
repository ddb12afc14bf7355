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

using namespace golden_syntax;  // R, C, U, Q in the rows built below

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

// 48 parentheses around a number fill the stack (49 slots and the ")"
// makes 50); one more needs a 51st slot. The implicit "*" of the imaginary
// unit counts against the same limit.
TEST_F(GoldenSyntax, NestingLimit) {
    auto nested = [](int depth, const std::u16string& inner) {
        return std::u16string(static_cast<std::size_t>(depth), u'(') + inner +
               std::u16string(static_cast<std::size_t>(depth), u')');
    };
    const std::u16string ok48 = nested(48, u"7");
    const std::u16string deep49 = nested(49, u"7");
    const std::u16string sums = nested(24, u"1+" + nested(23, u"2"));
    const std::u16string imag = nested(46, u"2i");
    const std::u16string imag47 = nested(47, u"2i");
    const std::u16string imag48 = nested(48, u"2i");
    EXPECT_EQ(runGoldenRow({R, 1, 10, ok48.c_str(), u"7"}), "");
    // The largest values: 50 slots of 2000-word fractions still leave the
    // library its scratch.
    const std::u16string big = nested(20, u"1/3+" + nested(20, u"2/3*(1/2)"));
    EXPECT_EQ(runGoldenRow({Q, 2000, 10, big.c_str(), u"2/3"}), "");
    EXPECT_EQ(runGoldenRow({R, 527, 10, ok48.c_str(), u"7"}), "");
    EXPECT_EQ(runGoldenRow({R, 1, 10, deep49.c_str(), nullptr, 10204, 0}), "");
    EXPECT_EQ(runGoldenRow({R, 1, 10, sums.c_str(), nullptr, 10204, 0}), "");
    EXPECT_EQ(runGoldenRow({C, 1, 10, imag.c_str(), u"2i"}), "");
    EXPECT_EQ(runGoldenRow({C, 1, 10, imag47.c_str(), nullptr, 10204, 0}), "");  // at ")"
    EXPECT_EQ(runGoldenRow({C, 1, 10, imag48.c_str(), nullptr, 10204, 0}), "");  // at "*"
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
