// The constant table of the real functions: sixteen reals held at the
// largest working precision, MP_CONST_WORDS (528) mantissa words, so that
// every precision up to 527 words plus the guard word reads them exactly to
// its last word. Entries 0-9 are stored data, each the constant correctly
// rounded half up to 528 words; entries 10-14 are computed from them by
// mp_init() at 528 words and are good to 2 units of their last word;
// entry 15 is never set and reads as 0.
#pragma once

#include "numlib/mp_types.h"

enum : i32 {
    REAL_CONST_LN10 = 0,
    REAL_CONST_LN2 = 1,
    REAL_CONST_LN1_2 = 2,       // ln 1.2
    REAL_CONST_LN1_01 = 3,      // ln 1.01
    REAL_CONST_LN10_DIV3 = 4,   // (ln 10)/3
    REAL_CONST_LN10_DIV9 = 5,   // (ln 10)/9
    REAL_CONST_PI_4 = 6,        // pi/4
    REAL_CONST_ATAN0_2 = 7,     // atan 0.2
    REAL_CONST_ATAN0_42 = 8,    // atan 0.42
    REAL_CONST_ATAN0_67 = 9,    // atan 0.67
    REAL_CONST_INV_LN10 = 10,   // 1/ln 10
    REAL_CONST_LOG10_2 = 11,    // log10 2 = ln 2 / ln 10
    REAL_CONST_INV_LN2 = 12,    // 1/ln 2
    REAL_CONST_4_OVER_PI = 13,  // 4/pi
    REAL_CONST_PI_2 = 14,       // pi/2
    REAL_CONST_UNSET = 15,      // reads as 0
};
constexpr i32 REAL_CONST_COUNT = 16;

// dst = entry idx at the current precision: the header and the first
// mp_real_words mantissa words, truncated, not rounded (a caller that needs
// the rounded value reads one word more). idx 15 gives +0; idx above 15 or
// negative: error 32 and +0. The derived entries 10-14 read as +0 until
// mp_init() has run.
void real_const(u64* dst, i32 idx);

// Computes the derived entries 10-14 at 528 words from the stored ones (the
// precision is set and restored here). mp_init() calls it; needs scratch for
// a few 528-word temporaries. They depend only on the stored table, so the
// first successful computation is kept and later calls return at once; a
// failure (error 30) leaves them +0 and the next call tries again.
void real_const_compute_derived();
