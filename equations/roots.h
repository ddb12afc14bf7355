// Approximate roots of a polynomial equation of degree 1 to 10 with complex
// coefficients: zero roots split off, Weierstrass (Durand-Kerner)
// simultaneous iteration on the monic rest, and a sort that merges equal
// roots into multiplicities.
//
// Everything runs at the working precision `words` of the result record,
// which must be the current real word count when solve_approx() is called;
// coefficients and roots are cplx values of that size. Errors: the application's (2001 no
// convergence, 9000 a broken precondition); a stop request is an application
// error (9003) or library error 35 set while the iteration runs, and ends the
// run after the current sweep without a message of its own. Library errors
// stay in the library error code for the caller to fold in.
#pragma once

#include <vector>

#include "numlib/mp_types.h"

constexpr i32 ROOT_MAX_DEGREE = 10;
constexpr i32 ROOT_EXACT_TEXT_CHARS = 216;  // characters of an exact form, without the terminator

// a_0 .. a_degree; a_degree must not be zero.
struct poly_equation {
    i32 degree = 0;
    i32 type = MP_TYPE_CPLX;
    u64* coef[ROOT_MAX_DEGREE + 1] = {};
};

struct root_result {
    u32 format_flags = 0;
    bool real_only = false;  // drop the complex roots at the end
    i32 iter_digits = 0;     // digits to which iterates are rounded and compared
    i32 show_digits = 0;     // digits the user asked for
    i32 words = 0;           // mantissa words of the working precision
    i64 count = 0;           // distinct roots found, -1 on failure
    u64* roots[ROOT_MAX_DEGREE] = {};
    char16_t* exact_text[ROOT_MAX_DEGREE] = {};  // ROOT_EXACT_TEXT_CHARS + 1 each
    i64 multiplicity[ROOT_MAX_DEGREE] = {};
    i64 sweeps = 0;  // sweeps of the last iteration
};

// Owns the root and exact-text arrays of a result record for `words`
// mantissa words and points the record at them.
class RootStorage {
  public:
    RootStorage(root_result& result, i32 words);

  private:
    std::vector<u64> roots_;
    std::vector<char16_t> texts_;
};

// The working-precision factor f(n) of degree n >= 0.
i32 root_precision_factor(i32 n);
// Mantissa words for iterates of `digits` digits at degree n: ceil(W / 19)
// with W = ceil(1000 digits / f(n)), at least 1. More than 527 means the
// precision is out of reach (the caller's internal error).
i64 root_working_words(i32 digits, i32 n);

// All roots of eq to result.iter_digits digits at result.words words.
// keep_order: iteration order, no merging, no real-only filter. On return
// result.count >= 0, or -1 with an application error set (or, for a word
// count outside 1..527, library error 1; for a library error raised during
// the iteration, that error). result.words other than the current real word
// count, a degree outside 1..10, a missing array or more digits than the
// words carry at this degree: error 9000. Does not change eq's coefficients.
void solve_approx(const poly_equation& eq, root_result& result, bool keep_order);

// Removes the factor x^z (z zero coefficients from a_0 upwards, below the
// leading one) by shifting the coefficients down; returns z and lowers
// eq.degree. A zero leading coefficient: error 9000, 0.
i32 strip_zero_roots(poly_equation& eq);

// dst = p(z) at the current precision by Horner's rule; a leading
// coefficient of exactly 1 is not multiplied.
void cplx_poly_eval(u64* dst, const poly_equation& eq, const u64* z);

// The Weierstrass iteration for a monic equation of degree 2..10 with a_0 !=
// 0. It has converged when, over the last five sweeps, every root kept at
// least one part unchanged at `digits` digits and the last sweep moved every
// iterate by less than 10^-(digits + 2) of its size or at the noise floor,
// where |p(z)| is no larger than the rounding of its evaluation. The second
// condition keeps the slowly converging iterates of a multiple root from
// stopping one unit apart; its noise-floor clause lets a multiple root stop
// once rounding alone moves it. Iterates within 10^-(digits - 1) of each
// other (the cloud around a multiple root) all get their mean, so that they
// merge even when the root lies near a rounding boundary. Parts that only
// flicker around zero come out as exactly 0. Where the last sweep's steps
// are too small to move any rounded part, across a rounding boundary, out of
// the noise or into another cloud, the sweeps still to come would record the
// same values, and the iteration stops there with that outcome. Iterates
// gathered at a multiple root, which the iteration approaches only linearly,
// are moved onto it by Newton's iteration on a derivative.
// Iterates that coincide exactly are pulled apart instead of dividing by
// zero.
// Fills roots 0..degree-1 with multiplicity 1 and count = degree; returns
// false (count untouched) on error 2001, 9000, a stop request or a library
// error. result.sweeps counts the sweeps run.
bool weierstrass_iterate(const poly_equation& eq, root_result& result, i32 digits);

// Sorts the roots (real ones first, ascending; complex ones by real part,
// then |imaginary part|, a - bi before a + bi) and merges equal ones,
// summing their multiplicities.
void sort_merge_roots(root_result& result);
