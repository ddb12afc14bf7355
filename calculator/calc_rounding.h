// Correctly rounded results: a real or cplx value computed at 19 m digits
// and then rounded to the shown digits is rounded twice, which is wrong when
// the value lies within its own error of a rounding tie. Such a value is
// computed again with more words until the rounding is decided (Ziv's
// strategy). Most values are nowhere near a tie and cost one look at their
// digits.
#pragma once

#include <functional>

#include "calculator/calc_state.h"

// The error a formula's value is allowed, in units of its last digit: a few
// roundings per operation (the elementary functions are within one unit).
constexpr u64 CALC_ROUNDING_MARGIN = 10;

// True when the real or cplx value (words mantissa words per part) lies
// within CALC_ROUNDING_MARGIN units of its last digit of a tie at digits
// significant digits, in either part.
bool calcRoundingUndecided(const u64* value, i32 words, i32 type, i32 digits);

// Computes the value again at words mantissa words into the caller's buffer;
// false on an error or a stop.
using CalcEvaluateAt = std::function<bool(i32 words)>;

// value holds a real or cplx value of type at words mantissa words. While
// its rounding to digits is undecided, evaluateAt puts the value at one word
// more into value, then at twice the words, up to the library's largest
// count; stops early when a value equals the one before it to all that one's
// digits (an exact tie, rounded half up). value has room for the largest
// count. Returns the word count of the value left in value; a failing
// evaluation puts the value before it back and sets *failed.
i32 calcRefineRounding(u64* value, i32 type, i32 words, i32 digits,
                       const CalcEvaluateAt& evaluateAt, bool* failed);

// calcRefineRounding for the job's value in s.jobResult at s.realWords. A
// failing evaluation's error is cleared unless it is a stop request.
// Returns the word count of the value, 0 after a stop request.
i32 calcSettleRounding(CalcState& s, const CalcEvaluateAt& evaluateAt);
