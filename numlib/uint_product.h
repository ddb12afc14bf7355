// Products of runs of consecutive integers and of lists of words by binary
// splitting, shared by the factorial and the binomial routines (not part of
// the public interface).
#pragma once

#include "numlib/uint_impl.h"

// Words that hold the product of the integers lo + 1 .. hi, lo < hi; the
// caller keeps (hi - lo) * 64 within range.
i64 uint_range_product_words(u64 lo, u64 hi);

// {dst, uint_range_product_words(lo, hi)} = (lo + 1)(lo + 2)...hi, lo < hi;
// with odd_parts every factor is first stripped of its factors 2. Returns the
// significant length, or 0 when the scratch area ran out (error 30) or an
// error is pending or appears meanwhile (a stop request).
i64 uint_range_product(u64* dst, u64 lo, u64 hi, bool odd_parts);

// {dst, count} = w[0] w[1] ... w[count - 1] for count >= 1 non-zero words.
// Returns the significant length, or 0 as uint_range_product does.
i64 uint_words_product(u64* dst, const u64* w, i64 count);
