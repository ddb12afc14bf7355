// The formula engine's error state: the first formula error of an evaluation
// and the 1-based character position its message names. Set by the
// evaluator, read and cleared by the message assembly (error_message.h) and
// clearErrors() (app_error.h).
#pragma once

#include "numlib/mp_types.h"

enum : u32 {
    FORMULA_ERR_SYNTAX = 10200,          // misplaced token, unknown name, invalid character
    FORMULA_ERR_NO_LEFT_PAREN = 10201,   // ")" without its "("
    FORMULA_ERR_UNEXPECTED_END = 10202,  // the formula ends too early (no position)
    FORMULA_ERR_OVERFLOW = 10203,        // a library error during a step
    FORMULA_ERR_TOO_DEEP = 10204,        // the operand stack is full (no position)
    FORMULA_ERR_INTERNAL = 10205,        // inconsistent state; the message shows the code
    FORMULA_ERR_PARAM_COUNT = 10206,     // wrong number of function arguments
    FORMULA_ERR_NEEDS_COMPLEX = 10207,   // complex-only function with another type
    FORMULA_ERR_NUMBER_FORMAT = 10208,   // a literal the number parser rejects
    FORMULA_ERR_NOT_FOR_TYPE = 10209,    // function not offered for the number type
    FORMULA_ERR_STOPPED = 10210,         // the user stopped the evaluation (no position)
};

extern u32 formulaError;     // 0 or a FORMULA_ERR_* code
extern i32 formulaErrorPos;  // 1-based character position, 0 when the message has none
// For FORMULA_ERR_OVERFLOW: the library error behind it (MP_ERR_*), so that
// the message can name the real cause (division by zero, not defined ...);
// 0 when none is known.
extern i32 formulaErrorCause;

// Records code at pos unless a formula error is already pending (the first
// error of an evaluation is the one reported). code 0 does nothing.
void raiseFormulaError(u32 code, i32 pos);
// The same, recording the library error that caused it (formulaErrorCause).
void raiseFormulaErrorCause(u32 code, i32 pos, i32 cause);

// Clears formulaError, formulaErrorPos and formulaErrorCause.
void clearFormulaError();
