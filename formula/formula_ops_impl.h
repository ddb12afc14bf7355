// Shared pieces of the operator and function files: token codes, access to the
// parts of a value of the current type and the small checks that several
// operations make (is a value a machine word, is a complex value real).
#pragma once

#include "numlib/cplx.h"
#include "numlib/mp_context.h"
#include "numlib/mp_error.h"
#include "numlib/mp_types.h"

namespace fops {

// Token codes of the operators and functions (the keyword table's codes).
enum : unsigned {
    OP_ADD = 600,
    OP_SUB = 601,
    OP_MUL = 602,
    OP_DIV = 603,
    OP_POW = 604,
    OP_MOD = 605,

    FN_SQRT = 200,
    FN_CBRT = 201,
    FN_LN = 202,
    FN_LOG2 = 203,
    FN_LOG10 = 204,
    FN_EXP = 205,
    FN_ABS = 206,
    FN_SIN = 207,   // 207..209 sin, cos, tan in radians
    FN_ASIN = 210,  // 210..212 asin, acos, atan in radians
    FN_SIND = 213,
    FN_ASIND = 216,
    FN_SING = 219,
    FN_ASING = 222,
    FN_SINH = 225,  // 225..230 sinh, cosh, tanh, asinh, acosh, atanh
    FN_ATANH = 230,
    FN_FACT = 231,
    FN_ROOT = 232,
    FN_SQRTC = 300,
    FN_CBRTC = 301,
    FN_ROOTC = 302,
    FN_ARG = 303,
    FN_ARGD = 304,
    FN_ARGG = 305,
    FN_REALP = 306,
    FN_IMAGP = 307,
    FN_TRUNC = 308,
    FN_FRAC = 309,
    FN_NCR = 310,
    FN_NPR = 311,
    FN_LOGX = 312,
    FN_GCD = 313,
    FN_LCM = 314,
    FN_MULINV = 315,
    FN_POWMOD = 316,
    FN_ROUND = 317,
};

// Angle units of the trigonometric functions and of converted results.
enum class AngleUnit { Radians, Degrees, Gon };

inline i32 type() {
    return mp_num_type;
}
inline u64* im(u64* x) {
    return cplx_im_of(x, mp_real_words);
}
inline const u64* im(const u64* x) {
    return cplx_im_of(x, mp_real_words);
}

// True for the four number types; raises error 3 otherwise.
bool known_type();
// Sets x to zero of the current type (0/1 for rat), without raising anything.
void set_zero(u64* x);
// Raises the library error code and sets x to zero of the current type.
void fail(u64* x, i32 code);

// The magnitude of x when x is an integer below 2^64 (a cplx value only with a
// zero imaginary part); *negative gets its sign bit (a real zero may carry
// one). Never raises an error.
bool as_word(const u64* x, u64* magnitude, bool* negative);
// True when x is the machine integer v (num_to_i64 of x succeeds with v).
bool is_small_int(const u64* x, i64 v);

// ---- real helpers --------------------------------------------------------

// dst = a op b for the real operators, rounded once (the quotient from a
// guard word).
void real_add_rounded(u64* dst, const u64* a, const u64* b, int sub);
void real_mul_rounded(u64* dst, const u64* a, const u64* b);
void real_div_rounded(u64* dst, const u64* a, const u64* b);

// For the cplx forms of real-only functions: true when a (and b, if given)
// has a zero imaginary part; otherwise raises error 16, sets dst to 0 and
// returns false.
bool cplx_real_operands(u64* dst, const u64* a, const u64* b = nullptr);

// ---- power rules (formula_power.cpp) -------------------------------------

void apply_power(u64* x, const u64* y);

// ---- trigonometry (formula_trig.cpp) --------------------------------------

// sin (0), cos (1) or tan (2) of x in unit, by the exact angle classes;
// a pole of tan raises formula error 10203 at fn_pos.
void trig(u64* x, int which, AngleUnit unit, i32 fn_pos);
// asin (0), acos (1) or atan (2) with the result in unit.
void inverse_trig(u64* x, int which, AngleUnit unit);
// The angle of a cplx value in unit, imaginary part 0.
void cplx_angle(u64* z, AngleUnit unit);

}  // namespace fops
