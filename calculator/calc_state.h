// The scientific calculator's state: its settings (number type, digits,
// bases, angle type, grouping, display mode), the formula and result texts,
// the previous result "ans" and the variables, and the setting changes. One
// CalcState per calculator; it is touched only by the thread that owns it,
// except by a running evaluation job (calc_job.h), during which the owner
// leaves it alone apart from calcRequestStop().
#pragma once

#include <atomic>
#include <string>
#include <vector>

#include "calculator/calc_variables.h"
#include "formula/formula.h"
#include "numlib/mp_types.h"

enum : u32 {
    CALC_DISPLAY_AUTO = 0,         // fixed or exponent notation by the value's size
    CALC_DISPLAY_FIXED = 1,        // fixed notation for practically every value
    CALC_DISPLAY_EXPONENT = 2,     // exponent notation
    CALC_DISPLAY_RAT_DECIMAL = 3,  // rat shown as a decimal approximation
    CALC_DISPLAY_RAT_MIXED = 4,    // rat shown as a mixed number, 3+1/2
};

constexpr i32 CALC_UINT_WORDS = 1039;
constexpr i32 CALC_RAT_WORDS = 520;
constexpr i32 CALC_DEFAULT_DIGITS = 10;
constexpr i32 CALC_MAX_DIGITS = MP_REAL_WORDS_MAX * 19;

// Words of the largest value at the calculator's precisions (the cplx value
// at 527 words) and the longest formula, variable value or uint result text.
i32 calcMaxValueWords();
i64 calcMaxFormulaLength();

struct CalcState {
    i32 numberType = MP_TYPE_REAL;  // MP_TYPE_REAL, _CPLX, _UINT or _RAT
    i32 digits = CALC_DEFAULT_DIGITS;
    i32 realWords = 1;  // mantissa words for real and cplx, from digits
    i32 intWords = 1;   // CALC_UINT_WORDS, CALC_RAT_WORDS or 1
    u32 inputBase = 10;
    u32 outputBase = 10;
    u32 angleType = 2;  // SETTINGS_ANGLE_*; only the keypad reads it
    bool groupDigits = false;
    u32 displayMode = CALC_DISPLAY_AUTO;

    std::u16string formula;         // the formula field
    std::u16string resultText;      // the result field
    std::u16string digitCountText;  // uint: "%d " digits of the shown result

    std::vector<u64> previousResult;  // "ans"; calcMaxValueWords() words
    i32 previousType = MP_TYPE_NONE;
    i32 previousWords = 0;
    bool hasResult = false;
    bool resultInexact = false;   // show the "[ ]" indicator
    bool resultStale = false;     // the result no longer matches the formula
    bool formulaTouched = false;  // edited or focused since the last result

    std::atomic<bool> busy{false};           // an evaluation has begun and is not finished
    std::atomic<bool> jobRunning{false};     // a worker thread still runs
    std::atomic<bool> stopRequested{false};  // calcRequestStop() since calcBeginEvaluation()

    CalcVariableList variables;

    // Workspace of the evaluation job: the variable table and its buffers,
    // the job's result and a conversion buffer.
    VariableTable table;
    std::vector<std::vector<u64>> tableValues;
    std::vector<u64> jobResult;
    bool jobInexact = false;
    std::vector<u64> convertBuffer;
};

// Reads the calculator's settings (settings_values.h: number type, decimal
// precision (0 means 10), bases, angle type, grouping), sizes the buffers and
// clears the result. An unknown number type reads as real, a base other than
// 2, 8, 10, 16 as 10, digits are clamped to 1..CALC_MAX_DIGITS.
void calcInit(CalcState& s);

// mantissa words for d digits: (d + 20) / 19, within 1..527.
i32 calcRealWords(i32 digits);
// The integer word count the calculator uses with a number type.
i32 calcIntWords(i32 type);
// The word count a value of type is stored with (realWords or intWords).
i32 calcWordsOf(const CalcState& s, i32 type);

// Sets mp_num_type, mp_real_words and mp_int_words from the state.
void calcApplyContext(const CalcState& s);

// Setting changes; each stores its setting (settings_values.h) and marks
// settings_dirty. A change of type or digits marks a shown result stale.
// The caller relabels its keypad after a type change.
void calcSetNumberType(CalcState& s, i32 type);  // unknown type: nothing changes
void calcSetDigits(CalcState& s, i32 digits);    // clamped to 1..CALC_MAX_DIGITS
void calcSetInputBase(CalcState& s, u32 base);   // not 2, 8, 10, 16: nothing changes
// Also converts and shows a previous result again; a result that cannot be
// converted is error 1201 and is marked stale.
void calcSetOutputBase(CalcState& s, u32 base);
void calcSetAngleType(CalcState& s, u32 angle);  // not 1, 2, 3: nothing changes

// Editing the formula text by hand: the display mode goes back to automatic.
void calcFormulaEdited(CalcState& s, std::u16string_view formula);

// Key "CA": clears every error state, the result, the display mode and both
// texts.
void calcClearAll(CalcState& s);

// Closes open parentheses: appends one ")" for every "(" without its ")".
void calcCloseParentheses(std::u16string& formula);
