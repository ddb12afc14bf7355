// Helpers shared by the real routines (not part of the public interface).
#pragma once

#include "numlib/mp_scratch.h"
#include "numlib/real.h"

inline i64 real_words() {
    return mp_real_words;
}

// The powers 10^0 .. 10^19.
extern const u64 REAL_POW10[20];

// Decimal digits of a word below 10^19 (0 has 0 digits).
inline int real_word_digits(u64 w) {
    int d = 0;
    while (d < 19 && w >= REAL_POW10[d]) ++d;
    return d;
}

// Raises code (when non-zero) and makes dst +0 at m words.
inline void real_fail(u64* dst, i32 code) {
    if (code) mp_raise(code);
    if (dst) real_zero(dst, 0);
}
