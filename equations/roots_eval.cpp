// Evaluation of the iteration's polynomials, and the sizes that tell its
// rounding noise.
#include <algorithm>
#include <cmath>
#include <vector>

#include "equations/roots.h"
#include "equations/roots_impl.h"
#include "numlib/cplx.h"
#include "numlib/mp_context.h"
#include "numlib/real.h"

bool cplx_is_one(const u64* a) {
    return cplx_is_real(a) && real_cmp_i64(a, 1) == 0;
}

std::vector<u64> cplx_temp() {
    return std::vector<u64>(static_cast<std::size_t>(cplx_value_words(mp_real_words)));
}

void iterate_mean(u64* mean, const std::vector<std::vector<u64>>& z,
                  const std::vector<std::size_t>& members) {
    cplx_zero(mean);
    for (std::size_t i : members) cplx_add(mean, mean, z[i].data());
    const u64 count = members.size();
    const i32 w = mp_real_words;
    real_round_guard(mean, real_div_u64(mean, mean, count), w);
    u64* im = cplx_im_of(mean, w);
    real_round_guard(im, real_div_u64(im, im, count), w);
}

poly_equation resized_equation(const poly_equation& eq, i32 words, i32 from,
                               std::vector<u64>& store) {
    const std::size_t size = static_cast<std::size_t>(cplx_value_words(words));
    store.assign(size * static_cast<std::size_t>(eq.degree + 1), 0);
    poly_equation out = eq;
    for (i32 k = 0; k <= eq.degree; ++k) {
        out.coef[k] = store.data() + size * static_cast<std::size_t>(k);
        cplx_resize(out.coef[k], words, eq.coef[k], from);
    }
    return out;
}

namespace {

// log10 |x| of a real, roughly; a very small number for zero.
double log10_abs(const u64* x) {
    if (real_is_zero(x)) return -1e300;
    return static_cast<double>(real_exp_of(x)) + std::log10(static_cast<double>(x[1]) / 1e18);
}

}  // namespace

double log10_abs_cplx(const u64* z) {
    return std::max(log10_abs(z), log10_abs(cplx_im_of(z, mp_real_words)));
}

double eval_scale(const poly_equation& eq, const u64* z) {
    const double lz = log10_abs_cplx(z);
    double top = -1e300, sum = 0;
    std::vector<double> terms;
    for (i32 k = 0; k <= eq.degree; ++k) {
        const double t = log10_abs_cplx(eq.coef[k]) + (k == 0 ? 0.0 : k * lz);
        terms.push_back(t);
        top = std::max(top, t);
    }
    for (double t : terms) sum += std::pow(10.0, std::max(t - top, -300.0));
    return top + std::log10(sum);
}

// Iterating on cannot sharpen an iterate at the noise floor. Near a root of
// multiplicity k that is already the case at a distance of about 10^(-W/k),
// where the steps are rounding noise and never fall below 10^-(digits + 2).
bool at_noise_floor(const poly_equation& eq, const u64* p, const u64* z) {
    return log10_abs_cplx(p) <= eval_scale(eq, z) - (19.0 * mp_real_words - ROOT_NOISE_MARGIN);
}

// Horner's rule: m - 1 complex products for a monic equation, where running
// powers of z took m - 1 more for the terms a_k z^k. Most of a sweep's time
// goes into these products.
void cplx_poly_eval(u64* dst, const poly_equation& eq, const u64* z) {
    const i32 m = eq.degree;
    if (m < 1) return cplx_copy(dst, eq.coef[0]);
    std::vector<u64> acc = cplx_temp();
    if (cplx_is_one(eq.coef[m])) {
        cplx_copy(acc.data(), z);
    } else {
        cplx_mul3(acc.data(), eq.coef[m], z);
    }
    for (i32 k = m - 1; k >= 1; --k) {
        cplx_add(acc.data(), acc.data(), eq.coef[k]);
        cplx_mul3(acc.data(), acc.data(), z);
    }
    cplx_add(dst, acc.data(), eq.coef[0]);
}
