// Systems of n linear equations in n unknowns (2 <= n <= 25) over rat
// (exact), real or cplx (to `digits` significant digits): Gaussian
// elimination with row swaps for the largest pivot, then back substitution
// that carries one coefficient vector per unknown, so a singular but
// consistent system comes out as an affine family in free parameters named
// r, s, t, u, v1, v2, ...
// Exact systems take the fraction-free route of linear_exact.h, with the
// same solution; this elimination serves rat only where its integers would
// be too long.
//
// For real and cplx every input value counts as correct to a unit or so of
// its last digit, and every value carries a bound of its error: a value
// (each part, for cplx) within its bound of zero is set to exactly 0, which
// is what turns a numerically singular system into a visibly singular one,
// while a pivot beyond its bound is certainly not zero. The solution record
// says whether every such decision was exact and every rounded result shows
// the digits of the exact solution; when not, a solve at more words settles
// it (the page does so).
#pragma once

#include "numlib/mp_types.h"
#include "textbuf/textbuf.h"

constexpr i64 LINEAR_MIN_EQUATIONS = 2;
constexpr i64 LINEAR_MAX_EQUATIONS = 25;
constexpr i64 LINEAR_PARAM_LIST_CHARS = 31;  // parameter_list_text, without the terminator

// The input: rows[i] points at n + 1 consecutive values a_i1 .. a_in, b_i of
// value_bytes each. The solver swaps row pointers and changes the values.
struct linear_system {
    i64 n = 0;
    u64* rows[LINEAR_MAX_EQUATIONS] = {};
    i64 value_bytes = 0;  // num_size_bytes of one value at the words below
    i32 type = 0;         // MP_TYPE_RAT, MP_TYPE_REAL or MP_TYPE_CPLX
    i32 real_words = 1;   // mp_real_words to use (1..527)
    i32 int_words = 1;    // mp_int_words to use (1..2000)
};

// The output: x[i] points at slots for unknown i, value_bytes each; slot 0
// is the constant, slot s (1..param_count) the coefficient of parameter s.
// The caller provides n + 1 slots per unknown.
struct linear_solution {
    i64 count = 0;        // n when solved, -1 when the system is unsolvable
    i64 param_count = 0;  // free parameters, 0 for a regular system
    u64* x[LINEAR_MAX_EQUATIONS] = {};
    i64 value_bytes = 0;
    i32 type = 0;
    i32 real_words = 1;
    i32 int_words = 1;
    i32 digits = 0;        // significant digits of real and cplx results (>= 1)
    u32 format_flags = 0;  // num_to_text flags of the result texts
    // rat, or real and cplx where no value within its error bound of zero
    // decided a free unknown or the consistency: the form of the solution
    // (unsolvable, regular, which unknowns are free) is that of the exact
    // input.
    bool form_settled = false;
    // The form is settled and every result lies farther from a rounding
    // boundary of `digits` digits than its bound: the rounded solution is
    // that of the exact input.
    bool settled = false;
};

// Clears all error states, sets the library context (type and word counts
// from `system`; a count out of range is library error 1), solves, and folds
// a pending library error into the application error with
// raiseFromLibraryError(1001) (rat overflow, precision). An inconsistent
// system gives count -1 without an error. A malformed request (n outside
// 2..25, a missing row or slot, value_bytes that do not match the type and
// word counts, digits < 1 for real or cplx, solution fields that differ from
// the system's) is application error 9000 and count -1; another type code
// is library error 3. Temporaries come from the library scratch area.
void solve_linear(linear_system& system, linear_solution& solution);

// Appends the expression of unknown i (0-based) in the parameters, such as
// "2-r", "1/2-(3/4)*r" or "0", at the current context (the one
// solve_linear set). Uses solution.format_flags.
void solution_text(TextBuf& buf, const linear_solution& solution, i64 i);

// The name of parameter slot s (1..P) of a solution with P parameters:
// m = P - s gives r, s, t, u for m = 0..3 and v(m - 3) beyond.
void parameter_name(TextBuf& buf, i64 param_count, i64 s);

// The list of parameter names, "r, s" or "r, s, t, u, v1, …, v4", written
// into out (LINEAR_PARAM_LIST_CHARS + 1 slots, terminated). A longer text is
// cut with "…" and error 9002. P < 1: the empty text. Returns the length.
i64 parameter_list_text(char16_t* out, const linear_solution& solution);
