// Helpers shared by the root routines (not part of the public interface).
#pragma once

#include "numlib/uint_impl.h"

// {dst, dn} = {a, la} << shift, where the result fits dn words.
void root_shift_left(u64* dst, i64 dn, const u64* a, i64 la, i64 shift);
// {dst, la - shift / 64} = {a, la} >> shift; returns the significant length.
// dst <= a if overlapping.
i64 root_shift_right(u64* dst, const u64* a, i64 la, i64 shift);

// floor({a, la}^(1/k)) into the n-word dst for 3 <= k < bit length of a, by
// Newton's iteration; true when exact. On an error (scratch exhausted, a
// stop request) dst is 0 and the result false.
bool uint_root_newton(u64* dst, u64 k, const u64* a, i64 la);
