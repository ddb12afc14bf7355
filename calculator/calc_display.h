// The result field: the previous result formatted by number type and display
// mode, the toggles between display modes, and the conversion of the
// previous result after the number type or precision changed.
#pragma once

#include <string>

#include "calculator/calc_state.h"

// Keys that change the display mode.
enum : u32 {
    CALC_TOGGLE_RAT_DECIMAL = 1401,  // "R↔F": fraction / decimal approximation (rat only)
    CALC_TOGGLE_FIXED_EXP = 1402,    // "F↔E": fixed / exponent notation (not uint)
    CALC_TOGGLE_RAT_MIXED = 1403,    // "R↔M": fraction / mixed number (rat only)
};

// Converts the previous result to the current number type and word count
// when it was stored with others. True when it now matches; false (error
// 1201, the previous result unchanged) when the value has no form in the
// current type or does not fit. Also false without a previous result.
bool calcConvertPreviousResult(CalcState& s);

// Formats the previous result into s.resultText (and for uint the digit
// count into s.digitCountText) by number type, output base, grouping and
// display mode. Does nothing while an application error is pending or
// without a previous result. Errors: 1201 (not convertible: the result is
// marked stale), 1003 (a uint text longer than calcMaxFormulaLength()), 9002
// (a mixed form cut with "…"). The library's display thresholds are left as
// they were.
void calcShowResult(CalcState& s);

// Applies a display key (CALC_TOGGLE_*), then shows the result again. Acts
// only while a previous result exists, "R↔F" and "R↔M" only with rat, "F↔E"
// not with uint; otherwise nothing changes and false is returned.
bool calcToggleDisplay(CalcState& s, u32 key);

// The mixed form of the rat value (mp_int_words words per part): "3+1/2",
// "-3-1/2", "0-1/2"; an integer as itself. Cut with "…" at maxLength (error
// 9002).
std::u16string calcMixedText(const u64* value, i64 maxLength);

// The result as the clipboard gets it: the shown result formatted again
// without digit grouping (all its digits, as shown); the result field's
// texts stay as they are. Empty without a result or when it cannot be
// formatted (the error is then left pending).
std::u16string calcResultCopyText(CalcState& s);
