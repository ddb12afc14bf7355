// Clouds of iterates, the noise beside a part, and the check that further
// sweeps could not change what the iteration records.
#include <algorithm>
#include <cmath>
#include <vector>

#include "equations/roots_impl.h"
#include "numlib/cplx.h"
#include "numlib/mp_context.h"
#include "numlib/real.h"

namespace {

// Whether two iterates lie within 10^-(digits - 1) of the larger one's size.
bool same_cloud(const u64* a, const u64* b, i32 digits) {
    std::vector<u64> d = cplx_temp();
    cplx_sub(d.data(), a, b);
    return log10_abs_cplx(d.data()) < std::max(log10_abs_cplx(a), log10_abs_cplx(b)) - (digits - 1);
}

}  // namespace

// Whether a part is rounding noise beside the other. The k iterates of a
// root of multiplicity k settle at about 10^(-W/k) around it, W = 19 m
// working digits, and the working precision is chosen so that this stays
// below the asked digits; parts below both 10^-(W/n - 2) (k = n at most) and
// 10^-(digits + 1) of the other are noise. Such noise usually flickers, but
// where p(z) rounds to exactly 0 or sits at its noise floor the iterate stops
// moving and the noise looks stable (a real double root of a polynomial with
// complex coefficients kept an imaginary part of 10^-135).
bool below_noise(const u64* part, const u64* other, i32 digits, i32 degree) {
    if (real_is_zero(part) || real_is_zero(other)) return false;
    const i64 resolution = std::max<i64>(digits + 1, i64{19} * mp_real_words / degree - 2);
    return real_exp_of(part) < real_exp_of(other) - resolution;
}

std::vector<i32> find_clouds(const std::vector<std::vector<u64>>& z, i32 digits) {
    const i32 m = static_cast<i32>(z.size());
    std::vector<i32> cloud(static_cast<std::size_t>(m));
    for (i32 i = 0; i < m; ++i) cloud[i] = i;
    for (i32 i = 1; i < m; ++i) {
        for (i32 j = 0; j < i; ++j) {
            if (cloud[j] == cloud[i] || !same_cloud(z[i].data(), z[j].data(), digits)) continue;
            const i32 from = std::max(cloud[i], cloud[j]), to = std::min(cloud[i], cloud[j]);
            for (i32& c : cloud) c = c == from ? to : c;
        }
    }
    return cloud;
}

bool cloud_mean(u64* mean, const std::vector<std::vector<u64>>& z, const std::vector<i32>& cloud,
                i32 first) {
    std::vector<std::size_t> members;
    for (std::size_t i = 0; i < z.size(); ++i) {
        if (cloud[i] == first) members.push_back(i);
    }
    if (members.size() < 2) return false;
    iterate_mean(mean, z, members);
    return true;
}

namespace {

// The sweeps at the working precision go on until five in a row leave every
// rounded part unchanged. Once the steps are far below what the rounding at
// `digits` can see, what those sweeps would record is already known: further
// sweeps move an iterate by at most SETTLE_MARGIN decades more than its last
// step (quadratic convergence shrinks the steps; a multiple root's cloud
// stays within its diameter), and no part can cross a rounding boundary,
// leave the noise below the other part, or join or leave a cloud.
constexpr double SETTLE_MARGIN = 4;

enum class PartFate { FIXED, NOISE, OPEN };

// Whether every value within 10^e of v rounds like v.
bool rounding_fixed(const u64* v, i64 e, i32 digits) {
    std::vector<u64> bound(static_cast<std::size_t>(mp_real_words + 1)), moved(bound.size()),
        at(bound.size()), rounded(bound.size());
    real_pow10(bound.data(), e);
    real_round_digits(at.data(), v, digits);
    for (const int sub : {0, 1}) {
        real_round_guard(moved.data(), real_add_sub(moved.data(), v, bound.data(), sub),
                         mp_real_words);
        real_round_digits(rounded.data(), moved.data(), digits);
        if (real_cmp(rounded.data(), at.data()) != 0) return false;
    }
    return true;
}

// FIXED: the part keeps its rounding within 10^e; NOISE: it stays below the
// noise beside the other, fixed part (and comes out as 0 however it moves).
PartFate part_fate(const u64* z, i32 part, i64 e, i32 digits, i32 degree) {
    const i32 w = mp_real_words;
    const u64* v = part == 0 ? z : cplx_im_of(z, w);
    const u64* other = part == 0 ? cplx_im_of(z, w) : z;
    if (rounding_fixed(v, e, digits)) return PartFate::FIXED;
    if (!rounding_fixed(other, e, digits)) return PartFate::OPEN;
    std::vector<u64> top(static_cast<std::size_t>(w + 1)), bound(top.size()),
        other_rounded(top.size());
    real_pow10(bound.data(), e);
    real_copy(top.data(), v);
    if (real_sign(top.data()) != 0) real_negate(top.data());
    real_round_guard(top.data(), real_add_sub(top.data(), top.data(), bound.data(), 0), w);
    real_round_digits(top.data(), top.data(), digits);
    real_round_digits(other_rounded.data(), other, digits);
    return below_noise(top.data(), other_rounded.data(), digits, degree) ? PartFate::NOISE
                                                                         : PartFate::OPEN;
}

// log10 of how far iterate i may still move.
double reach(const std::vector<std::vector<u64>>& z, const std::vector<double>& steps,
             std::size_t i) {
    const double rounding = log10_abs_cplx(z[i].data()) - 19.0 * mp_real_words + 10;
    return std::max(steps[i], rounding) + SETTLE_MARGIN;
}

// Whether no pair of iterates can join or leave a cloud; raises each cloud
// member's reach to the cloud's diameter.
bool clouds_fixed(const std::vector<std::vector<u64>>& z, const std::vector<i32>& cloud,
                  std::vector<double>& far, i32 digits) {
    std::vector<u64> d = cplx_temp();
    std::vector<double> diameter(z.size(), NO_STEP);
    for (std::size_t i = 0; i < z.size(); ++i) {
        for (std::size_t j = 0; j < i; ++j) {
            cplx_sub(d.data(), z[i].data(), z[j].data());
            const double apart = log10_abs_cplx(d.data());
            const double edge =
                std::max(log10_abs_cplx(z[i].data()), log10_abs_cplx(z[j].data())) - (digits - 1);
            // Within a cloud the distance may change as long as it stays
            // below the edge; between clouds it must stay above it.
            const double moves = std::max(far[i], far[j]) + 1;
            if (apart < edge ? std::max(apart, moves) >= edge - 1
                             : apart <= edge + 1 || moves >= apart - 1)
                return false;
            if (cloud[i] == cloud[j]) {
                auto& c = diameter[static_cast<std::size_t>(cloud[i])];
                c = std::max(c, apart);
            }
        }
    }
    for (std::size_t i = 0; i < z.size(); ++i) {
        const std::size_t c = static_cast<std::size_t>(cloud[i]);
        far[c] = std::max({far[c], far[i], diameter[c] + SETTLE_MARGIN});
    }
    for (std::size_t i = 0; i < z.size(); ++i) far[i] = far[static_cast<std::size_t>(cloud[i])];
    return true;
}

}  // namespace

// Whether the sweeps still to come would record the newest values again.
// A cloud takes its mean's rounded parts, and its first member's own values
// stand beside them in the history.
bool settled(const std::vector<std::vector<u64>>& z, const std::vector<double>& steps, i32 digits,
             i32 degree) {
    std::vector<double> far(z.size());
    for (std::size_t i = 0; i < z.size(); ++i) far[i] = reach(z, steps, i);
    const std::vector<i32> cloud = find_clouds(z, digits);
    if (!clouds_fixed(z, cloud, far, digits)) return false;
    std::vector<u64> mean = cplx_temp();
    for (std::size_t i = 0; i < z.size(); ++i) {
        if (cloud[i] != static_cast<i32>(i)) continue;
        const i64 e = static_cast<i64>(std::ceil(std::max(far[i], -1e18)));
        const bool merged = cloud_mean(mean.data(), z, cloud, static_cast<i32>(i));
        for (i32 part = 0; part < 2; ++part) {
            const PartFate own = part_fate(z[i].data(), part, e, digits, degree);
            const PartFate shown = merged ? part_fate(mean.data(), part, e, digits, degree) : own;
            if (shown == PartFate::OPEN || (shown == PartFate::FIXED && own != PartFate::FIXED))
                return false;
        }
    }
    return true;
}
