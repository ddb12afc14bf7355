// Pieces of the Weierstrass iteration that its files share.
#pragma once

#include <vector>

#include "equations/roots.h"
#include "numlib/mp_types.h"

// Decimal digits below W = 19 m working digits that still count as rounding
// noise of an evaluation.
constexpr double ROOT_NOISE_MARGIN = 3;

// One cplx value of the current size, zero.
std::vector<u64> cplx_temp();

// eq's coefficients, of `from` words, at `words` words in `store`.
poly_equation resized_equation(const poly_equation& eq, i32 words, i32 from,
                               std::vector<u64>& store);

// log10 |z| of a cplx value, within log10(2); a very small number for zero.
double log10_abs_cplx(const u64* z);

// log10 of sum |a_k| |z|^k, the size that the rounding of p(z)'s evaluation
// scales with.
double eval_scale(const poly_equation& eq, const u64* z);

// Whether p = p(z) is as small as the rounding of its own evaluation: |p|
// within 10^-(W - ROOT_NOISE_MARGIN) of eval_scale.
bool at_noise_floor(const poly_equation& eq, const u64* p, const u64* z);

// Iterates gathered at a multiple root converge only linearly under the
// Weierstrass iteration. Each cluster of k iterates, far closer to each other
// than to any other iterate and still outside its noise radius, moves to the
// root that Newton's iteration on the (k - 1)-th derivative finds from their
// mean, when p is at its noise floor there; its members become a regular
// k-gon around it at the noise radius. Marks the members it moved
// in `placed`.
void polish_clusters(const poly_equation& eq, std::vector<std::vector<u64>>& z,
                     std::vector<bool>& placed);
