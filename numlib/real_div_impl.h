// Quotients of short mantissas by long division (not part of the public
// interface).
#pragma once

#include "numlib/mp_types.h"

// Mantissa words up to which real_div divides word by word: there the
// quotient's few words cost less than the products of the reciprocal and its
// correction (measured on x86-64: long division wins up to about 11 words).
constexpr i64 REAL_DIV_SHORT_MAX = 10;

i64 real_div_short_scratch(i64 m, i64 n);

// {q, n + 1} = floor({a, m} B^n / {d, m}) exactly, for decimal vectors (least
// significant word first) whose top words are at least 10^18, so that the
// quotient is below 10 B^n. m, n >= 1; q overlaps nothing. scratch holds
// real_div_short_scratch(m, n) words.
void real_div_short(u64* q, const u64* a, const u64* d, i64 m, i64 n, u64* scratch);
