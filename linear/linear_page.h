// The solve operation of the linear-systems tool without its window: reads
// the cells of N equations as formulas, solves, and produces the text of the
// output box.
#pragma once

#include <string>

#include "linear/linear_cells.h"

constexpr i32 LINEAR_DIGITS_MIN = 5;
constexpr i32 LINEAR_DIGITS_MAX = 1000;
constexpr i64 LINEAR_LINE_MAX = 10000;  // characters of one result line

struct LinearSolveRequest {
    i32 equations = 2;        // N, 2..25 (clamped)
    i32 type = MP_TYPE_REAL;  // MP_TYPE_RAT, MP_TYPE_REAL or MP_TYPE_CPLX
    i32 digits = 10;          // precision of real and cplx, 5..1000 (clamped)
};

// Sets the library context for a solve of `type` at `digits` digits: real
// and cplx at the words where a solve of that many equations starts (guard
// digits for the error bounds), rat at the words of 500 digits per part; the
// display thresholds -4, 10, 1000. Returns the num_to_text flags of the
// results (digit grouping when the equations' thousands separator setting is
// on).
u32 linear_set_context(i32 type, i32 digits, i32 equations = LINEAR_MAX_EQUATIONS);

// The whole solve: clears the error states, reads the cells of equations
// 0..N-1 (columns a1..aN and b) through evaluateFormula (empty or blank
// cells are 0), solves and returns the output text in the active language
// (ui_text). A real or complex solve whose results are not settled (see
// linear_solution) runs again at twice the words, the cells evaluated anew,
// until they are, or until two solves in a row give the same text (what is
// still undecided then counts as zero); where that decides the form of the
// solution, the second at 100 digits or more beyond those shown. Errors stay
// pending for the page's message: 3400 a cell of more than 1030 characters,
// 3401 a formula error in a cell (the formula error stays pending too), 9002
// a result line cut at 10,000 characters, a library error folded in as 1001,
// 9000 an unknown type. On an error while reading, nothing is solved and the
// text is empty.
std::u16string linear_solve_cells(const LinearCells& cells, const LinearSolveRequest& request);

// The column name of field j of an equation of N unknowns: a1..aN, or b for
// j = N.
std::u16string linear_column_name(i32 j, i32 n);
