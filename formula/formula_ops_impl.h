// Shared pieces of the operator and function files: token codes, access to the
// parts of a value of the current type and the small checks that several
// operations make (is a value a machine word, is a complex value real).
#pragma once

#include "formula/formula.h"
#include "numlib/cplx.h"
#include "numlib/mp_context.h"
#include "numlib/mp_error.h"
#include "numlib/mp_types.h"

namespace fops {

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
bool knownType();
// Sets x to zero of the current type (0/1 for rat), without raising anything.
void setZero(u64* x);
// Raises the library error code and sets x to zero of the current type.
void fail(u64* x, i32 code);

// The magnitude of x when x is an integer below 2^64 (a cplx value only with a
// zero imaginary part); *negative gets its sign bit (a real zero may carry
// one). Never raises an error.
bool asWord(const u64* x, u64* magnitude, bool* negative);
// True when x is the machine integer v (num_to_i64 of x succeeds with v).
bool isSmallInt(const u64* x, i64 v);

// ---- real helpers --------------------------------------------------------

// dst = a op b for the real operators, rounded once (the quotient from a
// guard word).
void realAddRounded(u64* dst, const u64* a, const u64* b, int sub);
void realMulRounded(u64* dst, const u64* a, const u64* b);
void realDivRounded(u64* dst, const u64* a, const u64* b);

// For the cplx forms of real-only functions: true when a (and b, if given)
// has a zero imaginary part; otherwise raises error 16, sets dst to 0 and
// returns false.
bool cplxRealOperands(u64* dst, const u64* a, const u64* b = nullptr);

// ---- power rules (formula_power.cpp) -------------------------------------

void applyPower(u64* x, const u64* y);

// ---- trigonometry (formula_trig.cpp) --------------------------------------

// sin (0), cos (1) or tan (2) of x in unit, by the exact angle classes;
// a pole of tan raises formula error 10203 at fnPos.
void trig(u64* x, int which, AngleUnit unit, i32 fnPos);
// asin (0), acos (1) or atan (2) with the result in unit.
void inverseTrig(u64* x, int which, AngleUnit unit);
// The angle of a cplx value in unit, imaginary part 0.
void cplxAngle(u64* z, AngleUnit unit);

}  // namespace fops
