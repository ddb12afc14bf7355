// Pieces of the Weierstrass iteration that its files share.
#pragma once

#include <vector>

#include "equations/roots.h"
#include "numlib/mp_types.h"

// Decimal digits below W = 19 m working digits that still count as rounding
// noise of an evaluation.
constexpr double ROOT_NOISE_MARGIN = 3;

// A step size (log10) for an iterate that did not move.
constexpr double NO_STEP = -1e300;

// One cplx value of the current size, zero.
std::vector<u64> cplx_temp();

// Whether a is exactly 1.
bool cplx_is_one(const u64* a);

// mean = the mean of the iterates z[i], i in members (not empty).
void iterate_mean(u64* mean, const std::vector<std::vector<u64>>& z,
                  const std::vector<std::size_t>& members);

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
// k-gon around it at the noise radius. Returns which iterates it moved.
std::vector<bool> polish_clusters(const poly_equation& eq, std::vector<std::vector<u64>>& z);

// Whether `part` of a root is rounding noise beside the `other` part, for an
// iteration at `digits` digits of an equation of `degree`.
bool below_noise(const u64* part, const u64* other, i32 digits, i32 degree);

// Each iterate's cloud (iterates within 10^-(digits - 1) of each other's
// size, transitively), named by its first member.
std::vector<i32> find_clouds(const std::vector<std::vector<u64>>& z, i32 digits);

// mean = the mean of the iterates in cloud `first`; false for a cloud of one.
bool cloud_mean(u64* mean, const std::vector<std::vector<u64>>& z, const std::vector<i32>& cloud,
                i32 first);

// Whether more sweeps, which move each iterate by about its last step
// (log10 in `steps`), would record the values rounded from z again.
bool settled(const std::vector<std::vector<u64>>& z, const std::vector<double>& steps, i32 digits,
             i32 degree);
