// Coefficient arithmetic of the solver over the current number type (rat,
// real or cplx). Every routine reads mp_num_type; any other type raises
// library error 3 and leaves the destination alone. Destinations may be
// operands.
#pragma once

#include "numlib/mp_types.h"

bool coef_is_zero(const u64* a);
// a == v exactly (v a small integer; a cplx value must be real).
bool coef_equals(const u64* a, i64 v);
void coef_copy(u64* dst, const u64* a);
void coef_set_i64(u64* dst, i64 v);
// -a; a zero keeps its canonical form for rat.
void coef_neg(u64* dst, const u64* a);
// a + b, a * b, a / b, each rounded once for real and cplx.
void coef_add(u64* dst, const u64* a, const u64* b);
void coef_mul(u64* dst, const u64* a, const u64* b);
void coef_div(u64* dst, const u64* a, const u64* b);
// |a| into dst: the magnitude as a real (real, cplx: the modulus) or rat.
void coef_abs(u64* dst, const u64* a);
// Compares two magnitudes made by coef_abs: -1, 0, +1.
int coef_cmp_abs(const u64* a, const u64* b);
// Rounds to k significant digits (real, cplx); nothing for rat.
void coef_round(u64* dst, i32 k);
// True for a number type the solver works in.
bool coef_type_valid(i32 type);
