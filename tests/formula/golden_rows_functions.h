// Golden rows of the functions in each number type: exact results, the
// inexact mark of integer roots and logarithms, library errors (10203 at the
// token on top), the errors that name the function (10207, 10209, the pole
// of tan), the angle classes of sin, cos and tan in the three units, and the
// operand limits. Transcendental values are checked against MPFR in
// ops_mpfr_test.cpp, not typed in here.
//
// Plain data, shared by the formula tests and the command-line tests.
#pragma once

#include "formula/golden_row.h"

namespace golden_functions {

inline constexpr i32 R = MP_TYPE_REAL;
inline constexpr i32 C = MP_TYPE_CPLX;
inline constexpr i32 U = MP_TYPE_UINT;
inline constexpr i32 Q = MP_TYPE_RAT;
inline constexpr u32 LIB = 10203;
inline constexpr u32 NEEDS_CPLX = 10207;
inline constexpr u32 UINT_ONLY = 10209;

inline constexpr GoldenRow kUintRows[] = {
    {U, 1, 10, u"sqrt(16)", u"4", 0, 0, 0},
    {U, 1, 10, u"sqrt(17)", u"4", 0, 0, 1},
    {U, 1, 10, u"cbrt(27)", u"3", 0, 0, 0},
    {U, 1, 10, u"cbrt(30)", u"3", 0, 0, 1},
    {U, 1, 10, u"log2(1000)", u"9", 0, 0, 1},
    {U, 1, 10, u"log10(1000)", u"3", 0, 0, 0},
    {U, 1, 10, u"log10(999)", u"2", 0, 0, 1},
    {U, 1, 10, u"log2(0)", nullptr, LIB, 1},
    {U, 1, 10, u"logx(3;81)", u"4", 0, 0, 0},
    {U, 1, 10, u"logx(3;80)", u"3", 0, 0, 1},
    {U, 1, 10, u"logx(1;5)", nullptr, LIB, 1},
    {U, 1, 10, u"root(3;27)", u"3", 0, 0, 0},  // the degree comes first
    {U, 1, 10, u"root(3;28)", u"3", 0, 0, 1},
    {U, 1, 10, u"root(18446744073709551615;5)", u"1", 0, 0, 1},
    {U, 1, 10, u"root(0;5)", nullptr, LIB, 1},
    // The mark of an earlier rounded function stays.
    {U, 1, 10, u"sqrt(17)+sqrt(16)", u"8", 0, 0, 1},
    {U, 1, 10, u"abs(5)", u"5"},
    {U, 1, 10, u"fact(20)", u"2432902008176640000"},
    {U, 1, 10, u"fact(21)", nullptr, LIB, 1, -1, nullptr, false, true},
    {U, 1, 10, u"trunc(7)+frac(7)+round(7)", u"14"},
    {U, 1, 10, u"ncr(10;3)+npr(10;3)", u"840"},
    {U, 1, 10, u"ncr(3;5)", u"0"},
    {U, 1, 10, u"gcd(12;18)*lcm(4;6)", u"72"},
    // A zero operand: gcd is the other one, lcm is 0 (gcd(0; 0) = 0, as in GMP).
    {U, 1, 10, u"gcd(0;5)*100+gcd(7;0)*10+lcm(0;3)+lcm(3;0)+gcd(0;0)+lcm(0;0)", u"570"},
    {U, 1, 10, u"mulinv(3;7)", u"5"},
    {U, 1, 10, u"mulinv(2;4)", nullptr, LIB, 1},
    {U, 1, 10, u"powmod(2;10;1000)", u"24"},
    {U, 1, 10, u"powmod(2;100;0)", nullptr, LIB, 1},
    {U, 80, 10, u"powmod(2;2^5000;7)", u"2"},
    {U, 80, 10, u"powmod(2;2^5000;7)", nullptr, LIB, 1, -1, nullptr, true},
    // Functions of the real types only.
    {U, 1, 10, u"ln(5)", nullptr, LIB, 1},
    {U, 1, 10, u"sind(30)", nullptr, LIB, 1},
    {U, 1, 10, u"asinh(1)", nullptr, LIB, 1},
    {U, 1, 10, u"arg(2)", nullptr, NEEDS_CPLX, 1},
    {U, 1, 10, u"1+imagp(2)", nullptr, NEEDS_CPLX, 3},
    {U, 1, 10, u"sqrtc(4;0)", nullptr, NEEDS_CPLX, 1},
    {U, 1, 10, u"rootc(2;4;0)", nullptr, NEEDS_CPLX, 1},
};

inline constexpr GoldenRow kRealRows[] = {
    {R, 1, 10, u"sqrt(2)", u"1.414213562373095049"},
    {R, 1, 10, u"sqrt(-4)", nullptr, LIB, 1},
    {R, 1, 10, u"1+sqrt(-4)", nullptr, LIB, 3},
    {R, 1, 10, u"cbrt(-27)", u"-3"},
    {R, 1, 10, u"ln(0)", nullptr, LIB, 1},
    {R, 1, 10, u"log2(1024)+log10(0.001)", u"7"},
    {R, 1, 10, u"exp(0)", u"1"},
    {R, 1, 10, u"abs(-2.5)", u"2.5"},
    {R, 1, 10, u"acos(2)", nullptr, LIB, 1},
    {R, 1, 10, u"acosh(0.5)", nullptr, LIB, 1},
    {R, 1, 10, u"atanh(1)", nullptr, LIB, 1},
    {R, 1, 10, u"fact(0)", u"1"},
    {R, 1, 10, u"fact(100)", u"9.332621544394415268e+157"},
    {R, 1, 10, u"fact(2.5)", nullptr, LIB, 1},
    {R, 1, 10, u"fact(-1)", nullptr, LIB, 1},
    {R, 1, 10, u"ncr(20;10)", u"184756"},
    {R, 1, 10, u"ncr(2.5;1)", nullptr, LIB, 1},
    {R, 1, 10, u"gcd(1e30;1e20)", u"1e+20"},
    {R, 1, 10, u"lcm(1e10;3)", u"3e+10"},
    {R, 1, 10, u"lcm(2.5;2)", nullptr, LIB, 1},
    {R, 1, 10, u"gcd(0;5)*100+gcd(7;0)*10+lcm(0;3)+lcm(3;0)+gcd(0;0)+lcm(0;0)", u"570"},
    {R, 1, 10, u"gcd(0;-3)", nullptr, LIB, 1},  // the other operand is still checked
    {R, 1, 10, u"lcm(2.5;0)", nullptr, LIB, 1},
    {R, 1, 10, u"gcd(1e20000000;7)", u"1"},
    {R, 1, 10, u"gcd(1e20000000;7)", nullptr, LIB, 1, -1, nullptr, true},
    {R, 1, 10, u"logx(10;1e100)", u"100"},
    {R, 1, 10, u"logx(1;5)", nullptr, LIB, 1},
    {R, 1, 10, u"root(-2;4)", u"0.5"},
    {R, 1, 10, u"root(3;-27)", u"-3"},
    {R, 1, 10, u"root(0;5)", nullptr, LIB, 1},
    {R, 1, 10, u"trunc(-2.7)", u"-2"},
    {R, 1, 10, u"frac(-2.7)", u"-0.7"},
    {R, 1, 10, u"frac(1e25)", u"0"},
    {R, 1, 10, u"round(2.5)", u"3"},
    {R, 1, 10, u"round(-2.5)", u"-3"},
    {R, 1, 10, u"round(9.5)", u"10"},
    {R, 1, 10, u"round(123.456)", u"123"},
    {R, 1, 10, u"round(0.5)", u"1"},  // 0.1 <= |x| < 1 rounds to 0 or 1
    {R, 1, 10, u"round(0.49)", u"0"},
    {R, 1, 10, u"round(0.05)", u"0"},  // below 0.1
    {R, 1, 10, u"round(1e30)", u"1e+30"},
    {R, 1, 10, u"realp(2)", nullptr, NEEDS_CPLX, 1},
    {R, 1, 10, u"2*arg(2)", nullptr, NEEDS_CPLX, 3},
    {R, 1, 10, u"cbrtc(8;0)", nullptr, NEEDS_CPLX, 1},
    {R, 1, 10, u"mulinv(3;7)", nullptr, UINT_ONLY, 1},
    {R, 1, 10, u"powmod(2;3;5)", nullptr, UINT_ONLY, 1},
};

// Multiples of quarter turns give exact values; tan has its poles there.
inline constexpr GoldenRow kAngleRows[] = {
    {R, 1, 10, u"sind(180)", u"0"},
    {R, 1, 10, u"sind(-540)", u"0"},
    {R, 1, 10, u"cosd(90)", u"0"},
    {R, 1, 10, u"cosd(270)", u"0"},
    {R, 1, 10, u"cosd(180)", u"-1"},
    {R, 1, 10, u"sind(90)", u"1"},
    {R, 1, 10, u"tand(180)", u"0"},
    {R, 1, 10, u"tand(90)", nullptr, LIB, 1},
    {R, 1, 10, u"1+tand(-90)", nullptr, LIB, 3},
    {R, 1, 10, u"tand(45)", u"1"},
    {R, 1, 10, u"sind(30)", u"0.5"},
    {R, 1, 10, u"sind(-330)", u"0.5"},
    {R, 1, 10, u"cosd(-300)", u"0.5"},
    // Large degree and gon angles are reduced by full turns exactly:
    // 10^30 = 280 (mod 360), 4 10^40 = 0 (mod 400).
    {R, 1, 10, u"sind(1e30)+sind(80)", u"0"},
    {R, 1, 10, u"sing(4e40+50)", u"0"},
    {R, 1, 10, u"sing(200)", u"0"},
    {R, 1, 10, u"sing(100)", u"1"},
    {R, 1, 10, u"cosg(-100)", u"0"},
    {R, 1, 10, u"tang(300)", nullptr, LIB, 1},
    // Radians: the multiples of the precision's pi as they are typed.
    {R, 1, 10, u"sin(pi)", u"0"},
    {R, 1, 10, u"tan(-pi)", u"0"},
    {R, 1, 10, u"cos(pi/2)", u"0"},
    {R, 1, 10, u"cos(pi)", u"-1"},
    {R, 1, 10, u"sin(-pi/2)", u"-1"},
    {R, 1, 10, u"sin(2*pi)", u"0"},
    {R, 1, 10, u"sin(100*pi)", u"0"},
    {R, 1, 10, u"tan(pi/2)", nullptr, LIB, 1},
    {R, 1, 10, u"tan(3*pi/2)", nullptr, LIB, 1},
    {R, 2, 10, u"sin(7*pi)", u"0"},
    {R, 2, 10, u"tan(3*pi/2)", nullptr, LIB, 1},
    {R, 3, 10, u"cos(3*pi/2)+sin(5*pi)", u"0"},
    // Inverse functions in degrees and gon.
    {R, 1, 10, u"asind(1)", u"90"},
    {R, 1, 10, u"acosd(-1)", u"180"},
    {R, 1, 10, u"atand(1)", u"45"},
    {R, 1, 10, u"asing(1)", u"100"},
    {R, 1, 10, u"atang(-1)", u"-50"},
    {R, 1, 10, u"asind(0.5)", u"30"},
    {C, 1, 10, u"sin(pi)+cosd(90)", u"0"},
    {C, 1, 10, u"tand(90)", nullptr, LIB, 1},
};

inline constexpr GoldenRow kCplxRows[] = {
    {C, 1, 10, u"sqrt(4)", u"2"},
    {C, 1, 10, u"sqrt(-1)", nullptr, LIB, 1},  // the real root of a negative real part
    {C, 1, 10, u"sqrtc(-1;0)", u"i"},
    {C, 1, 10, u"sqrtc(-1;1)", u"-i"},
    {C, 1, 10, u"sqrtc(-1;2)", nullptr, LIB, 1},
    {C, 1, 10, u"sqrtc(4;0.5)", nullptr, LIB, 1},
    {C, 1, 10, u"cbrtc(-8;1)", u"-2"},
    {C, 1, 10, u"rootc(4;16;1)", u"2i"},
    {C, 1, 10, u"rootc(3;-8;3)", nullptr, LIB, 1},
    // An index that is no machine integer is an error, not a silent 0.
    {C, 1, 10, u"rootc(2.5;16;1)", nullptr, LIB, 1},
    {C, 1, 10, u"argd(i)", u"90"},
    {C, 1, 10, u"argd(-1-i)", u"-135"},
    {C, 1, 10, u"argg(-1)", u"200"},  // principal value, also for an imaginary -0
    {C, 1, 10, u"realp(2+3i)", u"2"},
    {C, 1, 10, u"imagp(2+3i)", u"3"},
    {C, 1, 10, u"abs(3+4i)", u"5"},
    {C, 1, 10, u"trunc(2.5+3.7i)", u"2+3i"},
    {C, 1, 10, u"frac(2.5-3.7i)", u"0.5-0.7i"},
    {C, 1, 10, u"round(2.5+3.4i)", u"3+3i"},
    {C, 1, 10, u"round(-0.05+0.5i)", u"i"},
    {C, 1, 10, u"fact(5)+ncr(10;3)+gcd(12;18)+logx(2;8)+root(3;27)", u"252"},
    {C, 1, 10, u"fact(5+i)", nullptr, LIB, 1},
    {C, 1, 10, u"sin(2+i)", nullptr, LIB, 1},
    {C, 1, 10, u"ln(i)", nullptr, LIB, 1},
    {C, 1, 10, u"gcd(2;i)", nullptr, LIB, 1},
    {C, 1, 10, u"gcd(0;5)*100+gcd(7;0)*10+lcm(0;3)+lcm(3;0)+gcd(0;0)+lcm(0;0)", u"570"},
    {C, 1, 10, u"1+mulinv(3;7)", nullptr, UINT_ONLY, 3},
};

inline constexpr GoldenRow kRatRows[] = {
    {Q, 1, 10, u"sqrt(4/9)", u"2/3"},
    {Q, 1, 10, u"sqrt(2)", nullptr, LIB, 1},
    {Q, 1, 10, u"sqrt(-4)", nullptr, LIB, 1},
    {Q, 1, 10, u"cbrt(-8/27)", u"-2/3"},
    {Q, 1, 10, u"cbrt(2)", nullptr, LIB, 1},
    {Q, 1, 10, u"log2(1/8)", u"-3"},
    {Q, 1, 10, u"log10(1/1000)+log2(8)", u"0"},
    {Q, 1, 10, u"log2(3)", nullptr, LIB, 1},
    {Q, 1, 10, u"log2(-8)", nullptr, LIB, 1},
    {Q, 1, 10, u"logx(2;1/8)", u"-3"},
    {Q, 1, 10, u"logx(3/2;9)", nullptr, LIB, 1},
    {Q, 1, 10, u"abs(-2/3)", u"2/3"},
    {Q, 1, 10, u"fact(5)", u"120"},
    {Q, 1, 10, u"fact(5/2)", nullptr, LIB, 1},
    {Q, 1, 10, u"fact(-3)", nullptr, LIB, 1},
    {Q, 1, 10, u"trunc(-7/2)", u"-3"},
    {Q, 1, 10, u"frac(-7/2)", u"-1/2"},
    {Q, 1, 10, u"frac(7/3)", u"1/3"},
    {Q, 1, 10, u"round(5/2)", u"3"},
    {Q, 1, 10, u"round(-5/2)", u"-3"},
    {Q, 1, 10, u"round(7/3)", u"2"},
    {Q, 1, 10, u"round(-8/3)", u"-3"},
    {Q, 1, 10, u"round(1/3)", u"0"},
    {Q, 1, 10, u"ncr(1/2;2)", u"-1/8"},
    {Q, 1, 10, u"npr(1/2;2)", u"-1/4"},
    {Q, 1, 10, u"npr(5;-1)", nullptr, LIB, 1},
    {Q, 1, 10, u"gcd(12;18)+lcm(4;6)", u"18"},
    {Q, 1, 10, u"gcd(12;18/5)", nullptr, LIB, 1},
    {Q, 1, 10, u"gcd(-4;6)", nullptr, LIB, 1},  // as for real: positive integers only
    {Q, 1, 10, u"gcd(0;5)*100+gcd(7;0)*10+lcm(0;3)+lcm(3;0)+gcd(0;0)+lcm(0;0)", u"570"},
    {Q, 1, 10, u"lcm(0;1/2)", nullptr, LIB, 1},
    {Q, 1, 10, u"root(3;27/8)", u"3/2"},
    {Q, 1, 10, u"root(2;-4)", nullptr, LIB, 1},
    {Q, 1, 10, u"ln(2)", nullptr, LIB, 1},
    {Q, 1, 10, u"sin(1)", nullptr, LIB, 1},
    {Q, 1, 10, u"arg(1)", nullptr, NEEDS_CPLX, 1},
    {Q, 1, 10, u"powmod(2;3;5)", nullptr, UINT_ONLY, 1},
};

// Every table above, named for the test output.
inline constexpr GoldenTable kTables[] = {
    {"functions uint", kUintRows}, {"functions real", kRealRows}, {"functions angle", kAngleRows},
    {"functions cplx", kCplxRows}, {"functions rat", kRatRows},
};

}  // namespace golden_functions
