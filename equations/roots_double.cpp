// The first sweeps of the Weierstrass iteration in hardware doubles. They
// only find the roots roughly, which 16 digits do as well as any word count,
// and a double sweep costs a small fraction of one at two words.
#include "equations/roots_double.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

#include "numlib/cplx.h"
#include "numlib/mp_context.h"
#include "numlib/real.h"

namespace {

struct C {
    double re = 0, im = 0;
};

C operator-(C a, C b) {
    return {a.re - b.re, a.im - b.im};
}
C operator+(C a, C b) {
    return {a.re + b.re, a.im + b.im};
}
C operator*(C a, C b) {
    return {a.re * b.re - a.im * b.im, a.re * b.im + a.im * b.re};
}
C operator/(C a, C b) {
    const double n = b.re * b.re + b.im * b.im;
    return {(a.re * b.re + a.im * b.im) / n, (a.im * b.re - a.re * b.im) / n};
}
double size(C a) {
    return std::max(std::abs(a.re), std::abs(a.im));
}
bool finite(C a) {
    return std::isfinite(a.re) && std::isfinite(a.im);
}

// Coefficients of the monic equation beyond 10^±20 could take |z|^10 and
// the products of the iteration past the range of doubles.
constexpr i64 COEF_EXP_LIMIT = 20;
// A sweep has settled once every step is below 10^-8 of its iterate, half
// the digits of a double, or lies at the evaluation's noise floor.
constexpr double SETTLED_STEP = 1e-8;
constexpr double NOISE = 1e-13;

// x as a double; false outside COEF_EXP_LIMIT (zero is always fine).
bool to_double(const u64* x, double& out) {
    out = 0;
    if (real_is_zero(x)) return true;
    const i64 e = real_exp_of(x);
    if (e > COEF_EXP_LIMIT || e < -COEF_EXP_LIMIT) return false;
    const double low = mp_real_words > 1 ? static_cast<double>(x[2]) * 1e-19 : 0.0;
    out = (static_cast<double>(x[1]) + low) * std::pow(10.0, static_cast<double>(e - 18));
    if (real_sign(x) != 0) out = -out;
    return true;
}

bool to_c(const u64* z, C& out) {
    return to_double(z, out.re) && to_double(cplx_im_of(z, mp_real_words), out.im);
}

// dst = v, rounded to 17 significant digits.
void from_double(u64* dst, double v) {
    if (v == 0) return real_zero(dst, 0);
    const int shift = 16 - static_cast<int>(std::floor(std::log10(std::abs(v))));
    const double scaled =
        std::abs(v) * std::pow(10.0, shift / 2) * std::pow(10.0, shift - shift / 2);
    real_from_i64(dst, std::llround(scaled) * (v < 0 ? -1 : 1));
    real_add_exp(dst, -shift);
}

// One sweep; false when a value left the range of doubles or two iterates
// coincide. `settled` tells whether every step was small or noise.
bool sweep(const std::vector<C>& a, std::vector<C>& z, bool& settled) {
    const std::size_t m = z.size();
    settled = true;
    for (std::size_t i = 0; i < m; ++i) {
        C p = a[m], q{1, 0};
        double scale = size(a[m]);
        const double zi = size(z[i]);
        for (std::size_t k = m; k-- > 0;) {
            p = p * z[i] + a[k];
            scale = scale * zi + size(a[k]);
        }
        for (std::size_t j = 0; j < m; ++j) {
            if (j != i) q = q * (z[i] - z[j]);
        }
        if (size(q) == 0) return false;
        const C step = p / q;
        if (!finite(step)) return false;
        if (size(step) > SETTLED_STEP * zi && size(p) > NOISE * scale) settled = false;
        z[i] = z[i] - step;
    }
    return true;
}

}  // namespace

DoubleStage double_sweeps(const poly_equation& eq, std::vector<std::vector<u64>>& z, i64 budget) {
    DoubleStage stage;
    const std::size_t m = z.size();
    std::vector<C> a(m + 1), x(m);
    for (std::size_t k = 0; k <= m; ++k) {
        if (!to_c(eq.coef[k], a[k])) return stage;
    }
    for (std::size_t i = 0; i < m; ++i) {
        if (!to_c(z[i].data(), x[i])) return stage;
    }
    bool settled = false;
    for (; stage.sweeps < budget && !settled; ++stage.sweeps) {
        if (!sweep(a, x, settled)) return DoubleStage{};
    }
    for (std::size_t i = 0; i < m; ++i) {
        from_double(z[i].data(), x[i].re);
        from_double(cplx_im_of(z[i].data(), mp_real_words), x[i].im);
    }
    stage.settled = settled;
    return stage;
}
