// The operators and functions of the formula language, carried out on values
// of the current number type (mp_num_type). Each routine writes its result
// into its first operand's buffer, also on failure (then mostly zero), and
// reports through mp_error (library errors), raiseFormulaError (errors that
// name the function: 10207, 10209, a pole of tan 10203) and inexactFlag.
// Token codes are those of the tokenizer's keyword table (formula.h).
#pragma once

#include "formula/formula.h"

// Work limits handed to the library routines, 0 meaning none; the evaluator
// sets them for each evaluation.
extern i32 comboLimit;     // most factors of ncr/npr
extern i32 divisionLimit;  // most quotient digits of real mod, gcd and lcm
extern i32 powmodLimit;    // most exponent bits of powmod

// Set by an operation whose result was rounded to an integer (uint division,
// integer roots and logarithms). It accumulates over a formula: nothing clears
// it but the evaluator at the start of an evaluation.
extern bool inexactFlag;

// Operators 600..605 ("+", "-", "*", "/", "^", "mod"): left = left op right.
void applyOperator(u16 code, u64* left, const u64* right);
// Functions of one, two and three arguments; fnPos is the 1-based position
// of the function name, for the errors that name it.
void applyFunction1(u16 code, u64* arg, i32 fnPos);
void applyFunction2(u16 code, u64* first, const u64* second, i32 fnPos);
void applyFunction3(u16 code, u64* first, const u64* second, const u64* third, i32 fnPos);
