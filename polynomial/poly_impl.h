// Coefficient arithmetic of the polynomial operations, chosen by the current
// number type. Each routine raises library error 3 for any type other than
// rat, real and cplx and then leaves dst alone.
#pragma once

#include "numlib/mp_types.h"

void poly_coef_add_sub(u64* dst, const u64* a, const u64* b, bool subtract);
void poly_coef_mul(u64* dst, const u64* a, const u64* b);
void poly_coef_div(u64* dst, const u64* a, const u64* b);
