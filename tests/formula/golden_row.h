// One golden row of the formula engine: a formula, evaluated in one number
// type at one word count, with the result text or the formula error it must
// give. Plain data without the engine, so that every front end can run the
// same tables.
#pragma once

#include <cstddef>
#include <span>

#include "numlib/mp_types.h"

struct GoldenRow {
    i32 type;                 // MP_TYPE_REAL, MP_TYPE_CPLX, MP_TYPE_UINT or MP_TYPE_RAT
    i32 words;                // mp_real_words (real, cplx) or mp_int_words (uint, rat)
    i32 base;                 // input base of uint literals; 10 for the other types
    const char16_t* formula;  //
    const char16_t* expect;   // result as num_to_text prints it (flags 0); null: an error
    u32 error = 0;            // the formula error expected when expect is null
    i32 pos = 0;              // its 1-based position (0 for the codes without one)
    i32 inexact = -1;         // -1: not checked; 0: exact; 1: marked inexact
    // Variables "name=formula, name=formula", each evaluated in the row's
    // type (seeing the ones before it) and handed over in this order.
    const char16_t* vars = nullptr;
    bool limits = false;  // useOperandLimits
    // The error is an overflow of these words (uint, rat): more words avoid
    // it. Unmarked errors of uint and rat rows stay the same with more words.
    bool wordBound = false;
};

// Word counts at which the uint and rat errors that are not word-bound are
// checked to stay the same.
inline constexpr i32 GOLDEN_WIDE_UINT_WORDS = 1100;
inline constexpr i32 GOLDEN_WIDE_RAT_WORDS = 600;

// A named table of rows ("functions uint").
struct GoldenTable {
    const char* name;
    std::span<const GoldenRow> rows;
};
