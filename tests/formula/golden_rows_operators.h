// Golden rows of the operators in each number type: results, the errors of
// the library as 10203 at the top token, the inexact mark of uint division
// and its accumulation, the power rules for bases 10 and 2.
//
// Plain data, shared by the formula tests and the command-line tests.
#pragma once

#include "formula/golden_row.h"

namespace golden_operators {

inline constexpr i32 R = MP_TYPE_REAL;
inline constexpr i32 C = MP_TYPE_CPLX;
inline constexpr i32 U = MP_TYPE_UINT;
inline constexpr i32 Q = MP_TYPE_RAT;
inline constexpr u32 LIB = 10203;  // a library error during a step

inline constexpr GoldenRow kUintRows[] = {
    {U, 1, 10, u"7/2", u"3", 0, 0, 1},
    {U, 1, 10, u"8/2", u"4", 0, 0, 0},
    // The mark of a rounded step survives the exact steps after it.
    {U, 1, 10, u"7/2*2", u"6", 0, 0, 1},
    {U, 1, 10, u"7/2*2+1", u"7", 0, 0, 1},
    {U, 1, 10, u"7/0", nullptr, LIB, 4},
    {U, 1, 10, u"3-5", nullptr, LIB, 4},
    {U, 1, 10, u"18446744073709551615+1", nullptr, LIB, 23, -1, nullptr, false, true},
    {U, 1, 10, u"4294967296*4294967295", u"18446744069414584320", 0, 0, 0},
    {U, 1, 10, u"4294967296*4294967296", nullptr, LIB, 22, -1, nullptr, false, true},
    {U, 2, 10, u"4294967296*4294967296", u"18446744073709551616"},
    {U, 1, 10, u"9*0", u"0"},
    {U, 1, 10, u"7 mod 3", u"1"},
    {U, 1, 10, u"7 mod 0", nullptr, LIB, 8},
    {U, 1, 16, u"FF*2", u"510"},
    // Powers: 2^n is a single bit, 10^n exact, others by squaring.
    {U, 1, 10, u"2^63", u"9223372036854775808"},
    {U, 1, 10, u"2^64", nullptr, LIB, 5, -1, nullptr, false, true},
    {U, 1, 10, u"2^70", nullptr, LIB, 5, -1, nullptr, false, true},
    {U, 2, 10, u"2^70", u"1180591620717411303424"},
    {U, 1, 10, u"10^19", u"10000000000000000000"},
    {U, 1, 10, u"10^20", nullptr, LIB, 6, -1, nullptr, false, true},
    {U, 1, 10, u"3^40", u"12157665459056928801"},
    {U, 1, 10, u"3^41", nullptr, LIB, 5, -1, nullptr, false, true},
    {U, 1, 10, u"0^0", u"1"},
    // Exponents beyond a machine integer.
    {U, 1, 10, u"2^18446744073709551615", nullptr, LIB, 23},
    {U, 1, 10, u"10^9223372036854775808", nullptr, LIB, 23},
    {U, 1, 10, u"5^9223372036854775808", nullptr, LIB, 22},
    {U, 1, 10, u"1^9223372036854775808", u"1"},
    {U, 1, 10, u"0^9223372036854775808", u"0"},
};

inline constexpr GoldenRow kRealRows[] = {
    {R, 1, 10, u"0.1+0.2", u"0.3"},
    {R, 1, 10, u"1-1", u"0"},
    {R, 1, 10, u"1/3", u"0.3333333333333333333"},
    {R, 1, 10, u"2/3", u"0.6666666666666666667"},
    {R, 1, 10, u"1/0", nullptr, LIB, 4},
    // Products and quotients by a word, with the word's sign on either side.
    {R, 1, 10, u"1.5*4", u"6"},
    {R, 1, 10, u"4*1.5", u"6"},
    {R, 1, 10, u"(-3)*1.5", u"-4.5"},
    {R, 1, 10, u"1.5/(-3)", u"-0.5"},
    {R, 1, 10, u"1e19*3", u"3e+19"},
    {R, 1, 10, u"1e4611686018427387903*10", nullptr, LIB, 25},
    {R, 1, 10, u"7 mod 2", u"1"},
    {R, 1, 10, u"(-7) mod 2", u"-1"},
    {R, 1, 10, u"7.5 mod 2", u"1.5"},
    {R, 1, 10, u"1 mod 0", nullptr, LIB, 8},
    // The remainder is exact at any exponent; the operand limits bound the
    // quotient's digits.
    {R, 1, 10, u"1e20000000 mod 7", u"2"},
    {R, 1, 10, u"1e20000000 mod 7", nullptr, LIB, 17, -1, nullptr, true},
    // Power rules.
    {R, 1, 10, u"10^(-3)", u"0.001"},
    {R, 1, 10, u"10^3.5", u"3162.277660168379332"},
    {R, 1, 10, u"10^5000000000000000000", nullptr, LIB, 23},
    {R, 1, 10, u"10^(-5000000000000000000)", u"0"},  // below the range: zero, no error
    {R, 1, 10, u"2^100", u"1.267650600228229401e+30"},
    {R, 1, 10, u"2^(-100)", u"7.888609052210118054e-31"},
    {R, 1, 10, u"2^0.5", u"1.414213562373095049"},
    {R, 1, 10, u"3^4", u"81"},
    {R, 1, 10, u"(-2)^3", u"-8"},
    {R, 1, 10, u"0.5^(-2)", u"4"},
    {R, 1, 10, u"4^0.5", u"2"},
    {R, 1, 10, u"0^(-1)", nullptr, LIB, 7},
    {R, 1, 10, u"(-8)^(1/3)", nullptr, LIB, 11},
    {R, 1, 10, u"(-2)^0.5", nullptr, LIB, 9},
};

inline constexpr GoldenRow kCplxRows[] = {
    {C, 1, 10, u"(1+i)+(2-3i)", u"3-2i"},
    {C, 1, 10, u"(1+i)-(1+i)", u"0"},
    {C, 1, 10, u"(2+3i)*(1-i)", u"5+i"},
    {C, 1, 10, u"(2+3i)/(1-i)", u"-0.5+2.5i"},
    {C, 1, 10, u"(2+3i)*3", u"6+9i"},
    {C, 1, 10, u"(-3)*(2+3i)", u"-6-9i"},
    {C, 1, 10, u"(2+3i)/(-2)", u"-1-1.5i"},
    {C, 1, 10, u"i/0", nullptr, LIB, 4},
    {C, 1, 10, u"7.5 mod 2", u"1.5"},
    {C, 1, 10, u"(2+3i) mod 2", nullptr, LIB, 13},
    {C, 1, 10, u"i^2", u"-1"},
    {C, 1, 10, u"(1+i)^10", u"32i"},
    {C, 1, 10, u"10^2", u"100"},
    {C, 1, 10, u"2^0.5", u"1.414213562373095049"},
    {C, 1, 10, u"i^0.5", nullptr, LIB, 6},  // a complex base needs an integer exponent
    {C, 1, 10, u"2^i", nullptr, LIB, 4},
    {C, 1, 10, u"10^i", nullptr, LIB, 5},
};

inline constexpr GoldenRow kRatRows[] = {
    {Q, 1, 10, u"1/3+1/6", u"1/2"},
    {Q, 1, 10, u"2/3-1", u"-1/3"},
    {Q, 1, 10, u"(2/3)*(3/4)", u"1/2"},
    {Q, 1, 10, u"(2/3)/(4/5)", u"5/6"},
    {Q, 1, 10, u"(2/3)*(-3)", u"-2"},
    {Q, 1, 10, u"(2/3)/(-2)", u"-1/3"},
    {Q, 1, 10, u"7/2*2", u"7", 0, 0, 0},
    {Q, 1, 10, u"(2/3)/0", nullptr, LIB, 8},
    {Q, 1, 10, u"(-7/2) mod 2", u"-3/2"},
    {Q, 1, 10, u"2^(-3)", u"1/8"},
    {Q, 1, 10, u"10^(-2)", u"1/100"},
    {Q, 1, 10, u"(2/3)^(-2)", u"9/4"},
    {Q, 1, 10, u"(4/9)^(3/2)", u"8/27"},
    {Q, 1, 10, u"2^(1/2)", nullptr, LIB, 8},
    {Q, 1, 10, u"10^(1/2)", nullptr, LIB, 9},
    {Q, 1, 10, u"2^64", nullptr, LIB, 5, -1, nullptr, false, true},
    {Q, 2, 10, u"2^64", u"18446744073709551616"},
    {Q, 1, 10, u"0^(-1)", nullptr, LIB, 7},
};

// Every table above, named for the test output.
inline constexpr GoldenTable kTables[] = {
    {"operators uint", kUintRows},
    {"operators real", kRealRows},
    {"operators cplx", kCplxRows},
    {"operators rat", kRatRows},
};

}  // namespace golden_operators
