// Golden rows of the formula syntax: precedence and associativity, signs,
// every formula error with its position, the stack limit, literals of each
// type and base, the imaginary unit and variables.
//
// Plain data, shared by the formula tests and the command-line tests.
#pragma once

#include <string>

#include "formula/golden_row.h"

namespace golden_syntax {

inline constexpr i32 R = MP_TYPE_REAL;
inline constexpr i32 C = MP_TYPE_CPLX;
inline constexpr i32 U = MP_TYPE_UINT;
inline constexpr i32 Q = MP_TYPE_RAT;

// clang-format off
inline constexpr GoldenRow kPrecedence[] = {
    {R, 1, 10, u"2+3*4", u"14"},
    {R, 1, 10, u"-2^2", u"-4"},  // the sign waits for "^"
    {R, 1, 10, u"2^3^2", u"512"},  // "^" is right-associative
    {R, 1, 10, u"8/2/2", u"2"},
    {R, 1, 10, u"7-2-1", u"4"},
    {R, 1, 10, u"1-2+3", u"2"},
    {R, 1, 10, u"2^2*3", u"12"},
    {R, 1, 10, u"2*3^2", u"18"},
    {R, 1, 10, u"(2+3)*4", u"20"},
    {R, 1, 10, u"7 mod 4*2", u"6"},  // "mod" shares the level of "*"
    {R, 1, 10, u"2*7 mod 4", u"2"},
    {R, 1, 10, u"1+7 mod 4", u"4"},
    {R, 1, 10, u"(7)mod(3)", u"1"},
    {R, 1, 10, u"2^3 mod 5", u"3"},
    {R, 1, 10, u"2 mod 3^2", u"2"},
    {R, 1, 10, u"  ((1+2)*(3+4))  ", u"21"},
    {Q, 1, 10, u"1/2+1/3*3", u"3/2"},
    {Q, 1, 10, u"-1/2-1/3", u"-5/6"},
};

inline constexpr GoldenRow kSigns[] = {
    {R, 1, 10, u"+5", u"5"},
    {R, 1, 10, u"(-5)", u"-5"},
    {R, 1, 10, u"-2*3", u"-6"},
    {R, 1, 10, u"-2-3", u"-5"},
    {R, 1, 10, u"2*(-3)", u"-6"},
    {R, 1, 10, u"2-(-3)", u"5"},
    {R, 1, 10, u"-(2+3)", u"-5"},
    {R, 1, 10, u"-(-(-1))", u"-1"},
    {C, 1, 10, u"-(1+2i)", u"-1-2i"},
    {Q, 1, 10, u"-(1/3)", u"-1/3"},
    {U, 1, 10, u"+7", u"7"},
    {U, 1, 10, u"-1", nullptr, 10203, 3},  // no sign on uint
    {R, 1, 10, u"2*-3", nullptr, 10200, 3},
    {R, 1, 10, u"2^-3", nullptr, 10200, 3},
    {R, 1, 10, u"1--1", nullptr, 10200, 3},
    {R, 1, 10, u"*2", nullptr, 10200, 1},
    {R, 1, 10, u"(/2)", nullptr, 10200, 2},
};

// Every error the syntax can produce, with its position. (No formula reaches
// the internal error 10205; 10207 and 10209 are among the calls below.)
inline constexpr GoldenRow kErrors[] = {
    {R, 1, 10, u"", nullptr, 10202, 0},
    {R, 1, 10, u"   ", nullptr, 10202, 0},
    {R, 1, 10, u"(", nullptr, 10202, 0},
    {R, 1, 10, u"1+", nullptr, 10202, 0},
    {R, 1, 10, u"2 3", nullptr, 10202, 0},
    {R, 1, 10, u"2pi", nullptr, 10202, 0},
    {R, 1, 10, u"sqrt 4", nullptr, 10202, 0},
    {R, 1, 10, u"sqrt(4", nullptr, 10202, 0},
    {R, 1, 10, u")", nullptr, 10200, 1},
    {R, 1, 10, u"(1))", nullptr, 10201, 4},
    {R, 1, 10, u"2+3)", nullptr, 10201, 4},
    {R, 1, 10, u"(2 3)", nullptr, 10201, 5},
    {R, 1, 10, u"2(3)", nullptr, 10200, 2},
    {R, 1, 10, u"2 sqrt(4)", nullptr, 10200, 3},
    {R, 1, 10, u"(1;2)", nullptr, 10200, 3},
    {R, 1, 10, u"1;2", nullptr, 10200, 2},
    {R, 1, 10, u"sqrt(;4)", nullptr, 10200, 6},
    {R, 1, 10, u"sqrt(4;)", nullptr, 10200, 8},
    {R, 1, 10, u"sqrt()", nullptr, 10200, 6},
    {R, 1, 10, u"sqrt(1 2;3)", nullptr, 10200, 9},
    {R, 1, 10, u"sqrt+4", nullptr, 10200, 5},
    {R, 1, 10, u"1 $ 2", nullptr, 10200, 3},
    {R, 1, 10, u"1\t+2", nullptr, 10200, 2},  // a tab is no blank
    {R, 1, 10, u".5", nullptr, 10200, 1},
    {R, 1, 10, u"Sqrt(4)", nullptr, 10200, 1},
    {R, 1, 10, u"1+x", nullptr, 10200, 3},    // unknown name
    {R, 1, 10, u"7mod3", nullptr, 10200, 2},  // "mod3" is an unknown name
    {R, 1, 10, u"2 e3", nullptr, 10200, 3},
    {R, 1, 10, u"1/0", nullptr, 10203, 4},      // the end of text is on top
    {R, 1, 10, u"(1/0)+1", nullptr, 10203, 1},  // the group is on top
    {R, 1, 10, u"sqrt(4;9)", nullptr, 10206, 1},
    {R, 1, 10, u"1+root(3)", nullptr, 10206, 3},
    {R, 1, 10, u"powmod(1;2;3;4)", nullptr, 10206, 1},
    {R, 1, 10, u"1e", nullptr, 10208, 1},
    {R, 1, 10, u"2+1e+", nullptr, 10208, 3},
    {R, 1, 10, u"1.2.3", nullptr, 10208, 1},
    {R, 1, 10, u"1e999999999999999999999", nullptr, 10208, 1},
    {Q, 1, 10, u"1.5", nullptr, 10208, 1},
    {U, 1, 10, u"18446744073709551616", nullptr, 10208, 1, -1, nullptr, false, true},  // 2^64 in one word
    {U, 1, 10, u"FF", nullptr, 10208, 1},
    {U, 1, 2, u"1+102", nullptr, 10208, 3},
    {U, 1, 10, u"pi", nullptr, 10203, 1},
    {Q, 1, 10, u"2*pi", nullptr, 10203, 3},
    {Q, 1, 10, u"i", nullptr, 10203, 1},
    {U, 1, 10, u"3-5", nullptr, 10203, 4},
};

// Calls: argument lists, nesting, and the positions of the errors raised
// inside a function (the call's operand is on top afterwards).
inline constexpr GoldenRow kCalls[] = {
    {R, 1, 10, u"sqrt(16)+1", u"5"},
    {R, 1, 10, u"root(3; 27)", u"3"},  // the degree comes first
    {R, 1, 10, u"2*root(3;4+4)^2", u"8"},
    {R, 1, 10, u"sqrt(sqrt(sqrt(256)))", u"2"},
    {U, 1, 10, u"powmod(2;10;1000)", u"24"},
    {C, 1, 10, u"rootc(2;-4;1)", u"-2i"},
    {R, 1, 10, u"sqrt(-4)", nullptr, 10203, 1},
    {R, 1, 10, u"1+sqrt(-4)*2", nullptr, 10203, 3},
    {R, 1, 10, u"realp(2)", nullptr, 10207, 1},
    {C, 1, 10, u"1+mulinv(3;7)", nullptr, 10209, 3},
};

inline constexpr GoldenRow kLiterals[] = {
    {U, 1, 10, u"1'000", u"1000"},
    {U, 1, 10, u"18446744073709551615", u"18446744073709551615"},
    {U, 2, 10, u"18446744073709551616", u"18446744073709551616"},
    {U, 1, 2, u"1011", u"11"},
    {U, 1, 8, u"777", u"511"},
    {U, 1, 16, u"FF", u"255"},
    {U, 1, 16, u"DEAD'BEEF", u"3735928559"},
    {U, 1, 16, u"FF*10", u"4080"},
    {U, 1, 16, u"AE-1E+1", u"145"},  // E is a digit, never an exponent: 1E, then the sign
    {U, 1, 10, u"3*4", u"12"},
    {Q, 1, 10, u"1'000", u"1000"},
    {Q, 1, 10, u"6/4", u"3/2"},
    {R, 1, 10, u"1.5e3", u"1500"},
    {R, 1, 10, u"1,5", u"1.5"},
    {R, 1, 10, u"1'000.25", u"1000.25"},
    {R, 1, 10, u"2E3", u"2000"},
    {R, 1, 10, u"25e-1", u"2.5"},
    {R, 1, 10, u"pi", u"3.141592653589793238"},
    {R, 1, 10, u"\u03c0", u"3.141592653589793238"},
    {R, 2, 10, u"pi", u"3.1415926535897932384626433832795028842"},
    {C, 1, 10, u"pi", u"3.141592653589793238"},
    {C, 1, 10, u"2.5", u"2.5"},
};

inline constexpr GoldenRow kImaginary[] = {
    {C, 1, 10, u"3i", u"3i"},
    {C, 1, 10, u"3 i", u"3i"},
    {C, 1, 10, u"j", u"i"},
    {C, 1, 10, u"2+3i", u"2+3i"},
    {C, 1, 10, u"i*i", u"-1"},
    {C, 1, 10, u"i i", u"-1"},      // an implicit product
    {C, 1, 10, u"1/2i", u"-0.5i"},  // 1/(2i): the product binds first
    {C, 1, 10, u"2i^2", u"-2"},     // 2*(i^2): "^" is still stronger
    {C, 1, 10, u"(1+i)i", u"-1+i"},
    {C, 1, 10, u"-i", u"-i"},
    {C, 1, 10, u"ii", nullptr, 10200, 1},
    {C, 1, 10, u"3ij", nullptr, 10200, 2},
    {C, 1, 10, u"i(2)", nullptr, 10200, 2},
    {R, 1, 10, u"3i", nullptr, 10203, 2},
    {R, 1, 10, u"i", nullptr, 10203, 1},
};

inline constexpr GoldenRow kVariables[] = {
    {R, 1, 10, u"x*2", u"6", 0, 0, -1, u"x=3"},
    {R, 1, 10, u"ans+x1", u"3.5", 0, 0, -1, u"x1=3, ans=1/2"},
    {R, 1, 10, u"y", u"9", 0, 0, -1, u"x=3, y=x^2"},                // later values see earlier ones
    {R, 1, 10, u"pi", u"3.141592653589793238", 0, 0, -1, u"pi=5"},  // keywords come first
    {R, 1, 10, u"2x", nullptr, 10202, 0, -1, u"x=3"},
    {R, 1, 10, u"x+y", nullptr, 10200, 3, -1, u"x=3"},
    {R, 1, 10, u"xx", nullptr, 10200, 1, -1, u"x=3"},
    {C, 1, 10, u"z*z", u"2i", 0, 0, -1, u"z=1+i"},
    {U, 1, 16, u"a+A", u"11", 0, 0, -1, u"a=1"},  // names are lower case, digits upper
    {Q, 1, 10, u"_q*3", u"1", 0, 0, -1, u"_q=1/3"},
    {R, 1, 10, u"\u03b1+\u03c9", u"3", 0, 0, -1, u"\u03b1=1, \u03c9=2"},
};
// clang-format on

// Every table above, named for the test output.
inline constexpr GoldenTable kTables[] = {
    {"syntax precedence", kPrecedence}, {"syntax signs", kSigns},
    {"syntax errors", kErrors},         {"syntax calls", kCalls},
    {"syntax literals", kLiterals},     {"syntax imaginary", kImaginary},
    {"syntax variables", kVariables},
};

inline std::u16string nested(int depth, const std::u16string& inner) {
    std::u16string text(static_cast<std::size_t>(depth), u'(');
    text += inner;
    text.append(static_cast<std::size_t>(depth), u')');
    return text;
}

// 48 parentheses around a number fill the stack (49 slots and the ")"
// makes 50); one more needs a 51st slot. The implicit "*" of the imaginary
// unit counts against the same limit. The largest values: 50 slots of
// 2000-word fractions still leave the library its scratch.
inline std::span<const GoldenRow> nestingRows() {
    static const std::u16string ok48 = nested(48, u"7");
    static const std::u16string deep49 = nested(49, u"7");
    static const std::u16string sums = nested(24, u"1+" + nested(23, u"2"));
    static const std::u16string imag = nested(46, u"2i");
    static const std::u16string imag47 = nested(47, u"2i");
    static const std::u16string imag48 = nested(48, u"2i");
    static const std::u16string big = nested(20, u"1/3+" + nested(20, u"2/3*(1/2)"));
    static const GoldenRow rows[] = {
        {R, 1, 10, ok48.c_str(), u"7"},
        {Q, 2000, 10, big.c_str(), u"2/3"},
        {R, 527, 10, ok48.c_str(), u"7"},
        {R, 1, 10, deep49.c_str(), nullptr, 10204, 0},
        {R, 1, 10, sums.c_str(), nullptr, 10204, 0},
        {C, 1, 10, imag.c_str(), u"2i"},
        {C, 1, 10, imag47.c_str(), nullptr, 10204, 0},  // at ")"
        {C, 1, 10, imag48.c_str(), nullptr, 10204, 0},  // at "*"
    };
    return rows;
}

}  // namespace golden_syntax
