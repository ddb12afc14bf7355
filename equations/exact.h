// Exact forms of the roots of an equation with rational coefficients: every
// rational root at any degree, and the roots of a remaining linear or
// quadratic factor as t + F*sqrt(R) (times the imaginary unit for a negative
// discriminant). The approximations come from solve_approx(); the exact part
// only adds texts (and, for a quadratic factor, sharper approximations), so a
// failure in it costs the texts and nothing else.
//
// Coefficients are rat values of EXACT_INT_WORDS words per part; every exact
// step runs at that width, and a numerator or denominator that needs more is
// an overflow that silently leaves the texts of the affected roots empty.
// Texts go to result.exact_text (ROOT_EXACT_TEXT_CHARS + 1 characters each).
#pragma once

#include "equations/roots.h"
#include "numlib/mp_types.h"

constexpr i32 EXACT_INT_WORDS = 2;
// Significant digits at which a root's real part is tested for being an
// integer (candidate A) or C_m times an integer (candidate B); below the
// iteration digits so that the last iterated digits never decide.
constexpr i32 EXACT_CANDIDATE_DIGITS = 39;

// Iteration digits for a run that asks for `digits` digits: at least 41, and
// 42 for 40 so that the iteration always carries two digits beyond the
// candidate test's 39.
i32 exact_iter_digits(i32 digits);

// The whole exact run for an equation of type MP_TYPE_RAT (coefficients at
// EXACT_INT_WORDS words, a_degree != 0): approximations by solve_approx at
// result.words words in iteration order, exact texts by degree, then sorting
// and merging (a merged run keeps its first member's text) and, with
// result.real_only, the complex roots dropped. Sets mp_real_words to
// result.words; mp_int_words is EXACT_INT_WORDS during the run and restored
// afterwards. On return result.count >= 0, or -1 with an application error
// set (or, for a word count outside 1..527, library error 1). Another type
// or a missing coefficient: error 9000. Library errors of the exact part are
// dropped; text overflow is error 9002.
void solve_exact(const poly_equation& eq, root_result& result);

// exact_text[i] = -(a_0 / a_1) of the degree-1 equation eq (rat coefficients
// at mp_int_words words), written with result.format_flags. A library error
// empties the text and is dropped (text space becomes application error
// 9002); an error pending on entry stays. The approximation is not touched.
// i outside 0..9 or another degree: nothing happens.
void exact_linear(const poly_equation& eq, root_result& result, i32 i);

// Texts of roots i and j of the degree-2 equation eq (rat coefficients at
// mp_int_words words): T_i for (-a_1 + sqrt(D)) / (2 a_2), T_j for the other
// root, as "t+F*sqrt(R)" forms (see exact_quadratic.cpp for the cases).
// Complex pairs have no text with result.real_only. When both texts exist,
// roots i and j get new approximations at the current real precision,
// rounded to result.iter_digits. A library error empties both texts as in
// exact_linear; a text over ROOT_EXACT_TEXT_CHARS is cut with "…" and error
// 9002. Indices outside 0..9, i = j or another degree: nothing happens.
void exact_quadratic(const poly_equation& eq, root_result& result, i32 i, i32 j);

// The rational roots of eq (degree >= 3, rat coefficients at mp_int_words
// words) among the real approximations result.roots[0 .. degree - 1], each
// confirmed by exact division; a remaining linear or quadratic factor is
// handed to exact_linear or exact_quadratic. Library errors raised here are
// cleared at the end. A remaining quadratic factor with fewer than two
// unconfirmed roots: error 9000.
void exact_rational_roots(const poly_equation& eq, root_result& result);

// Splits the uint n (mp_int_words words) as n = o^2 * s, by trial division
// up to the cube root of the unfactored rest but not beyond 2^20: s is
// square-free whenever that rest stays below 2^60 and otherwise may keep the
// square of a prime above 2^20. A pending application error (a stop request)
// ends the search early, again with o^2 * s = n. o, s and n may not overlap.
void square_part(u64* o, u64* s, const u64* n);

// Synthetic division of the rat polynomial C (degree m >= 1, coefficients
// c[0..m] at mp_int_words words) by x - r: q[0..m-1] = the quotient. Returns
// true when C(r) = 0 and no library error occurred; a library error pending
// on entry is kept and one raised inside is dropped. q must not overlap c.
// m outside 1..10: false.
bool deflate_by_root(u64* const* q, const u64* const* c, i32 m, const u64* r);
