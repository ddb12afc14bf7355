// Clusters of iterates at a multiple root, moved onto it by Newton's
// iteration on a derivative.
#include <algorithm>
#include <cmath>
#include <vector>

#include "equations/roots_impl.h"
#include "numlib/cplx.h"
#include "numlib/mp_context.h"
#include "numlib/real.h"
#include "numlib/words_scope.h"

namespace {

using Iterates = std::vector<std::vector<u64>>;

// Decades by which a cluster's spread must lie below its distance to every
// other iterate.
constexpr double CLUSTER_GAP = 3;
// Newton steps allowed per cluster; from a mean good to a few digits,
// quadratic convergence reaches 10,000 digits in about 15.
constexpr int NEWTON_STEPS = 40;
// Decades of room for the constant of quadratic convergence.
constexpr double NEWTON_MARGIN = 4;
// Fewest words at which Newton's first steps run at half the words.
constexpr i32 NEWTON_HALVING_MIN_WORDS = 8;

// Groups of at least two iterates whose spread lies CLUSTER_GAP decades
// below their distance to the rest, smallest first: pairs are merged in
// order of distance, and before each merge every group so far is checked
// against that distance, which no outside iterate comes closer than.
std::vector<std::vector<std::size_t>> find_clusters(const Iterates& z) {
    const std::size_t m = z.size();
    struct Pair {
        double apart;
        std::size_t i, j;
    };
    std::vector<Pair> pairs;
    std::vector<u64> d = cplx_temp();
    for (std::size_t i = 0; i < m; ++i) {
        for (std::size_t j = 0; j < i; ++j) {
            cplx_sub(d.data(), z[i].data(), z[j].data());
            pairs.push_back({log10_abs_cplx(d.data()), i, j});
        }
    }
    std::sort(pairs.begin(), pairs.end(),
              [](const Pair& a, const Pair& b) { return a.apart < b.apart; });
    // Each group is listed under its representative; `widest` holds its
    // largest merged distance.
    std::vector<std::vector<std::size_t>> group(m);
    std::vector<std::size_t> owner(m);
    for (std::size_t i = 0; i < m; ++i) group[i] = {owner[i] = i};
    std::vector<double> widest(m, -1e300);
    std::vector<std::size_t> listed(m, 1);  // group size when last listed
    std::vector<std::vector<std::size_t>> found;
    const auto spread = [&](std::size_t g) {
        return widest[g] + std::log10(static_cast<double>(group[g].size()));
    };
    for (const Pair& p : pairs) {
        for (std::size_t g = 0; g < m; ++g) {
            if (group[g].size() <= listed[g] || spread(g) + CLUSTER_GAP >= p.apart) continue;
            listed[g] = group[g].size();
            found.push_back(group[g]);
        }
        const std::size_t from = owner[p.i], to = owner[p.j];
        if (from == to) continue;
        for (std::size_t i : group[from]) owner[i] = to;
        group[to].insert(group[to].end(), group[from].begin(), group[from].end());
        std::sort(group[to].begin(), group[to].end());
        group[from].clear();
        widest[to] = std::max({widest[to], widest[from], p.apart});
    }
    // All iterates at one root: no other iterate to measure against, so the
    // root's own size serves.
    const std::size_t all = owner[0];
    if (m >= 2 && spread(all) + CLUSTER_GAP < log10_abs_cplx(z[0].data()))
        found.push_back(group[all]);
    return found;
}

// The k-th derivative of eq, over the storage `store`.
poly_equation derivative(const poly_equation& eq, i32 k, std::vector<u64>& store) {
    const std::size_t size = static_cast<std::size_t>(cplx_value_words(mp_real_words));
    store.assign(size * static_cast<std::size_t>(eq.degree - k + 1), 0);
    poly_equation d = eq;
    d.degree = eq.degree - k;
    for (i32 j = 0; j <= d.degree; ++j) {
        u64 factor = 1;  // (j + k)! / j!, at most 10!
        for (i32 i = j + 1; i <= j + k; ++i) factor *= static_cast<u64>(i);
        d.coef[j] = store.data() + size * static_cast<std::size_t>(j);
        cplx_mul_u64(d.coef[j], eq.coef[j + k], factor);
    }
    return d;
}

// log10 |p^(k)(c) / k!|, which sets how far from a k-fold root at c the
// evaluation of p is all noise.
double noise_radius(const poly_equation& eq, const u64* c, const u64* pk, i32 k) {
    double lfact = 0;
    for (i32 i = 2; i <= k; ++i) lfact += std::log10(static_cast<double>(i));
    const double floor = eval_scale(eq, c) - (19.0 * mp_real_words - ROOT_NOISE_MARGIN);
    return (floor - (log10_abs_cplx(pk) - lfact)) / k;
}

// Newton's iteration for a root of d1 (= p^(k-1)) from c, d2 its
// derivative, until the steps stop shrinking or the next would fall below
// the working precision; false when d2 vanishes on the way. pk gets d2 at
// the last point.
bool newton_steps(const poly_equation& d1, const poly_equation& d2, u64* c, u64* pk) {
    std::vector<u64> f = cplx_temp();
    double last = 1e300;
    for (int n = 0; n < NEWTON_STEPS; ++n) {
        cplx_poly_eval(f.data(), d1, c);
        cplx_poly_eval(pk, d2, c);
        if (real_is_zero(pk) && real_is_zero(cplx_im_of(pk, mp_real_words))) return false;
        cplx_div(f.data(), f.data(), pk);
        const double step = log10_abs_cplx(f.data());
        if (step >= last) break;  // rounding noise: the last point stands
        cplx_sub(c, c, f.data());
        last = step;
        // Quadratic convergence: the next step would be about the square of
        // this one, relatively, and below the working precision.
        if (2 * (step - log10_abs_cplx(c)) + NEWTON_MARGIN < -19.0 * mp_real_words) break;
    }
    return true;
}

// Newton's iteration on p^(k-1) from c. Each step doubles the digits, so
// all but the last run at half the words, recursively.
bool newton(const poly_equation& eq, i32 k, u64* c, u64* pk) {
    const i32 w = mp_real_words;
    if (w >= NEWTON_HALVING_MIN_WORDS) {
        const i32 half = (w + 1) / 2;
        std::vector<u64> store, low_c(static_cast<std::size_t>(cplx_value_words(half)));
        std::vector<u64> low_pk(low_c.size());
        cplx_resize(low_c.data(), half, c, w);
        bool found;
        {
            RealWordsScope scope(half);
            found = newton(resized_equation(eq, half, w, store), k, low_c.data(), low_pk.data());
        }
        if (!found) return false;
        cplx_resize(c, w, low_c.data(), half);
    }
    std::vector<u64> s1, s2;
    return newton_steps(derivative(eq, k - 1, s1), derivative(eq, k, s2), c, pk);
}

// Moves one cluster onto its root; false (members untouched) where it is
// within its noise radius already or Newton finds no root of p near it.
bool polish(const poly_equation& eq, Iterates& z, const std::vector<std::size_t>& members) {
    const i32 k = static_cast<i32>(members.size());
    const i32 w = mp_real_words;
    std::vector<u64> mean = cplx_temp(), c = cplx_temp(), pk = cplx_temp(), d = cplx_temp();
    iterate_mean(mean.data(), z, members);
    double spread = -1e300;
    for (std::size_t i : members) {
        cplx_sub(d.data(), z[i].data(), mean.data());
        spread = std::max(spread, log10_abs_cplx(d.data()));
    }
    std::vector<u64> store;
    cplx_poly_eval(pk.data(), derivative(eq, k, store), mean.data());
    if (spread <= noise_radius(eq, mean.data(), pk.data(), k) + 1) return false;
    cplx_copy(c.data(), mean.data());
    if (!newton(eq, k, c.data(), pk.data())) return false;
    const double radius = noise_radius(eq, c.data(), pk.data(), k);
    cplx_sub(d.data(), c.data(), mean.data());
    if (log10_abs_cplx(d.data()) > spread + 1) return false;
    cplx_poly_eval(d.data(), eq, c.data());
    if (!at_noise_floor(eq, d.data(), c.data())) return false;
    // A regular k-gon of radius R around a k-fold root is where the
    // iteration's own steps are R/k, towards the root; at the noise radius
    // they are rounding noise. Angles off the axes keep every part clear of 0.
    const i64 e = static_cast<i64>(std::ceil(radius));
    std::vector<u64> offset = cplx_temp();
    constexpr double PI = 3.14159265358979323846;
    for (std::size_t n = 0; n < members.size(); ++n) {
        const double angle = 2 * PI * (static_cast<double>(n) + 0.25) / k;
        for (i32 part = 0; part < 2; ++part) {
            u64* v = part == 0 ? offset.data() : cplx_im_of(offset.data(), w);
            real_from_i64(v, std::llround((part == 0 ? std::cos(angle) : std::sin(angle)) * 1e15));
            real_add_exp(v, e - 15);
        }
        cplx_add(z[members[n]].data(), c.data(), offset.data());
    }
    return true;
}

}  // namespace

std::vector<bool> polish_clusters(const poly_equation& eq, Iterates& z) {
    std::vector<bool> moved(z.size(), false);
    for (const auto& members : find_clusters(z)) {
        if (std::any_of(members.begin(), members.end(), [&](std::size_t i) { return moved[i]; }))
            continue;
        if (!polish(eq, z, members)) continue;
        for (std::size_t i : members) moved[i] = true;
    }
    return moved;
}
