// The Weierstrass (Durand-Kerner) iteration: sweeps, the history of rounded
// values that decides convergence, and the precision ladder before it.
#include <algorithm>
#include <vector>

#include "app/app_error.h"
#include "equations/roots.h"
#include "equations/roots_double.h"
#include "equations/roots_impl.h"
#include "numlib/cplx.h"
#include "numlib/mp_error.h"
#include "numlib/num_text.h"
#include "numlib/real.h"
#include "numlib/words_scope.h"

namespace {

constexpr i32 HISTORY = 5;

bool stop_pending() {
    return appError.load(std::memory_order_relaxed) != 0 || mp_err() != 0;
}

// Rounded real and imaginary parts of every root over the last five sweeps,
// in a ring; slot(root, part, age) with age 0 the newest.
class History {
  public:
    History(i32 roots, i32 m)
        : m_(m), data_(static_cast<std::size_t>(roots * 2 * HISTORY * (m + 1))) {}
    void advance() { newest_ = (newest_ + 1) % HISTORY; }
    u64* slot(i32 root, i32 part, i32 age) {
        const i32 s = (newest_ - age + HISTORY) % HISTORY;
        return data_.data() +
               static_cast<std::size_t>(((root * 2 + part) * HISTORY + s) * (m_ + 1));
    }
    // The whole history of root `from` becomes that of root `to`.
    void copy_root(i32 to, i32 from) {
        const std::size_t span = static_cast<std::size_t>(2 * HISTORY * (m_ + 1));
        std::copy_n(data_.begin() + static_cast<std::ptrdiff_t>(from * span), span,
                    data_.begin() + static_cast<std::ptrdiff_t>(to * span));
    }
    // Every older slot takes the newest values, as if the last sweep had
    // been repeated until the history was full.
    void repeat_newest() {
        const std::size_t span = static_cast<std::size_t>(m_ + 1);
        for (std::size_t v = 0; v < data_.size() / (HISTORY * span); ++v) {
            const auto base = data_.begin() + static_cast<std::ptrdiff_t>(v * HISTORY * span);
            const auto newest = base + static_cast<std::ptrdiff_t>(newest_ * span);
            for (i32 s = 0; s < HISTORY; ++s) {
                if (s != newest_)
                    std::copy_n(newest, span, base + static_cast<std::ptrdiff_t>(s * span));
            }
        }
    }
    bool stable(i32 root, i32 part) {
        for (i32 age = 1; age < HISTORY; ++age) {
            if (real_cmp(slot(root, part, 0), slot(root, part, age)) != 0) return false;
        }
        return true;
    }

  private:
    i32 m_;
    i32 newest_ = HISTORY - 1;  // the first sweep writes slot 0
    std::vector<u64> data_;
};

// A pair of successive values moves by less than 10^-4 relatively, or both
// are zero.
bool pair_steady(const u64* newer, const u64* older, const u64* tolerance) {
    const bool z1 = real_is_zero(newer);
    const bool z2 = real_is_zero(older);
    if (z1 || z2) return z1 && z2;
    if (real_sign(newer) != real_sign(older)) return false;
    std::vector<u64> q(static_cast<std::size_t>(mp_real_words + 1));
    std::vector<u64> one(q.size());
    real_round_guard(q.data(), real_div(q.data(), newer, older), mp_real_words);
    real_one(one.data());
    real_round_guard(q.data(), real_add_sub(q.data(), q.data(), one.data(), 1), mp_real_words);
    return real_cmp_abs(q.data(), tolerance) < 0;
}

// Class 0 (only flickering around zero) when the last sweep still moved the
// part (the newest pair is not steady) and its newest value is below 0.1 in
// magnitude. Older pairs do not count: a small part that settled only in the
// last sweeps still shows its convergence there (a real part of -0.0044905
// beside 0.58742i, at -0.0044898 four sweeps back, came out as 0). Noise that
// has stopped moving is left to below_noise().
bool flickers_around_zero(History& h, i32 root, i32 part) {
    std::vector<u64> tolerance(static_cast<std::size_t>(mp_real_words + 1));
    std::vector<u64> tenth(tolerance.size());
    real_pow10(tolerance.data(), -4);
    real_pow10(tenth.data(), -1);
    const bool steady = pair_steady(h.slot(root, part, 0), h.slot(root, part, 1), tolerance.data());
    return !steady && real_cmp_abs(h.slot(root, part, 0), tenth.data()) < 0;
}

// Decimal exponent of the larger part of a non-zero value; `floor` for zero.
i64 magnitude(const u64* z, i64 floor) {
    const u64* im = cplx_im_of(z, mp_real_words);
    i64 e = floor;
    if (!real_is_zero(z)) e = std::max(e, real_exp_of(z));
    if (!real_is_zero(im)) e = std::max(e, real_exp_of(im));
    return e;
}

bool is_zero(const u64* z) {
    return real_is_zero(z) && real_is_zero(cplx_im_of(z, mp_real_words));
}

// Two iterates that coincide exactly leave the product Q zero. When z_i is
// a root (P = 0) it stays; otherwise it is moved off the other iterate by a
// step of about 10^-digits of its own size, so the next sweep can separate
// them instead of dividing by zero.
void separate(u64* zi, i32 digits) {
    std::vector<u64> step = cplx_temp();
    const i64 e = magnitude(zi, 0);
    real_pow10(step.data(), e - digits);
    real_copy(cplx_im_of(step.data(), mp_real_words), step.data());
    cplx_add(zi, zi, step.data());
}

// One sweep in which each new iterate is used at once by the later ones.
// Returns true when every update was below 10^-(digits + 2) of its iterate
// or made at the noise floor of the evaluation; iterates marked in `placed`
// do not count. `steps`, when given, gets log10 of each update's size
// (NO_STEP for none).
bool sweep(const poly_equation& eq, std::vector<std::vector<u64>>& z, i32 digits,
           std::vector<double>* steps = nullptr, const std::vector<bool>* placed = nullptr) {
    const i32 m = eq.degree;
    std::vector<u64> p = cplx_temp(), q = cplx_temp(), d = cplx_temp();
    bool small = true;
    for (i32 i = 0; i < m; ++i) {
        u64* zi = z[static_cast<std::size_t>(i)].data();
        if (steps) (*steps)[static_cast<std::size_t>(i)] = NO_STEP;
        cplx_poly_eval(p.data(), eq, zi);
        cplx_zero(q.data());
        real_one(q.data());
        for (i32 j = 0; j < m; ++j) {
            if (j == i) continue;
            cplx_sub(d.data(), zi, z[static_cast<std::size_t>(j)].data());
            cplx_mul3(q.data(), q.data(), d.data());
        }
        if (is_zero(p.data())) continue;
        if (is_zero(q.data())) {
            separate(zi, digits);
            small = false;
            continue;
        }
        const bool noise = at_noise_floor(eq, p.data(), zi);
        cplx_div(p.data(), p.data(), q.data());
        const i64 size = magnitude(zi, REAL_EXP_MIN);
        const bool counts = placed == nullptr || !(*placed)[static_cast<std::size_t>(i)];
        if (magnitude(p.data(), REAL_EXP_MIN) > size - digits - 2 && !noise && counts)
            small = false;
        if (steps) (*steps)[static_cast<std::size_t>(i)] = log10_abs_cplx(p.data());
        cplx_sub(zi, zi, p.data());
    }
    return small;
}

void record(History& h, const std::vector<std::vector<u64>>& z, i32 digits) {
    h.advance();
    const i32 m = mp_real_words;
    for (std::size_t i = 0; i < z.size(); ++i) {
        const i32 r = static_cast<i32>(i);
        real_round_digits(h.slot(r, 0, 0), z[i].data(), digits);
        real_round_digits(h.slot(r, 1, 0), cplx_im_of(z[i].data(), m), digits);
    }
}

bool converged(History& h, i32 roots) {
    for (i32 r = 0; r < roots; ++r) {
        if (!h.stable(r, 0) && !h.stable(r, 1)) return false;
    }
    return true;
}

// The k iterates of a root of multiplicity k stop in a cloud around it, up to
// about 10^-digits of its size apart, so their rounded values differ in the
// last digit when the root lies near a rounding boundary (and the sort then
// kept them as two roots). Their mean is far closer to the root than any of
// them, since their first-order deviations cancel: every member of a cloud
// gets the mean's rounded parts as its newest history values, and the
// history of the cloud's first member, so that all are cleaned up alike and
// merge. Distinct roots closer than 10^-(digits - 1) of their size would show
// (almost) the same digits and join one cloud too.
void centre_clouds(History& h, const std::vector<std::vector<u64>>& z, i32 digits) {
    const i32 m = static_cast<i32>(z.size());
    const std::vector<i32> cloud = find_clouds(z, digits);
    std::vector<u64> mean = cplx_temp();
    for (i32 first = 0; first < m; ++first) {
        if (cloud[first] != first || !cloud_mean(mean.data(), z, cloud, first)) continue;
        real_round_digits(h.slot(first, 0, 0), mean.data(), digits);
        real_round_digits(h.slot(first, 1, 0), cplx_im_of(mean.data(), mp_real_words), digits);
        for (i32 i = first + 1; i < m; ++i) {
            if (cloud[i] == first) h.copy_root(i, first);
        }
    }
}

void take_roots(History& h, const poly_equation& eq, root_result& result, i32 digits) {
    const i32 m = mp_real_words;
    for (i32 r = 0; r < eq.degree; ++r) {
        u64* root = result.roots[r];
        for (i32 part = 0; part < 2; ++part) {
            u64* dst = part == 0 ? root : cplx_im_of(root, m);
            if (!h.stable(r, part) && flickers_around_zero(h, r, part)) {
                real_zero(dst, 0);
            } else {
                real_copy(dst, h.slot(r, part, 0));
            }
        }
        u64* im = cplx_im_of(root, m);
        if (below_noise(im, root, digits, eq.degree)) real_zero(im, 0);
        if (below_noise(root, im, digits, eq.degree)) real_zero(root, 0);
        result.multiplicity[r] = 1;
    }
    result.count = eq.degree;
}

// Mantissa words of the ladder's lowest level, and the fewest working words
// worth a ladder.
constexpr i32 LADDER_START_WORDS = 2;
constexpr i32 LADDER_MIN_WORDS = 8;
// Sweeps a level may take without settling before the next one takes over.
constexpr i64 LADDER_LEVEL_SWEEPS = 40;
// What the double sweeps settle to: steps below 10^-8 leave iterates good
// to about 16 digits, of which the level after them checks 14.
constexpr i32 DOUBLE_SETTLED_DIGITS = 14;

// Decimal digits by which the highest level's precision exceeds what the
// working precision's first sweep must settle.
constexpr i32 LADDER_TOP_MARGIN = 40;

// The ladder's levels below the working words w: about w/2, w/4, ... down to
// LADDER_START_WORDS, lowest first. A level is left out when the one below
// it already carries the shown digits, and the digits that tell noise from a
// part (19 w / degree), by LADDER_TOP_MARGIN: one sweep at the working words
// from there leaves steps that no longer move any rounded part.
std::vector<i32> ladder_levels(i32 words, i32 degree, i32 digits) {
    std::vector<i32> levels;
    if (words < LADDER_MIN_WORDS) return levels;
    for (i32 w = (words + 1) / 2; w >= LADDER_START_WORDS; w = (w + 1) / 2) {
        levels.insert(levels.begin(), w);
        if (w == LADDER_START_WORDS) break;
    }
    const i32 needed = std::max(digits, 19 * words / degree) + LADDER_TOP_MARGIN;
    while (levels.size() >= 2 && 19 * levels[levels.size() - 2] >= needed) levels.pop_back();
    return levels;
}

// Most sweeps of a run only find the roots roughly, which doubles and then a
// few words do as well as the working precision: the iteration sweeps in
// doubles (or, where their range does not reach, at the ladder's lowest
// level) until every step is below half their digits or at the noise floor,
// then at each level from the settled iterates, where quadratic convergence
// needs a sweep or two, up to the working words. Every sweep counts towards
// the run's limit. The iterates, sized for the working words, come back at
// those words.
void climb(const poly_equation& eq, std::vector<std::vector<u64>>& z, root_result& result,
           i32 digits, i64 limit) {
    const i32 full = mp_real_words;
    const std::vector<i32> levels = ladder_levels(full, eq.degree, digits);
    if (levels.empty()) return;
    // Digits the iterates have settled to; 0 before anything settled.
    i32 settled_digits = 0;
    const DoubleStage doubles =
        double_sweeps(eq, z, std::min(LADDER_LEVEL_SWEEPS, limit - result.sweeps));
    result.sweeps += doubles.sweeps;
    if (doubles.settled) settled_digits = DOUBLE_SETTLED_DIGITS;
    std::vector<u64> store;
    i32 current = full;
    for (const i32 words : levels) {
        // A level has settled once its steps are below half its digits; one
        // that starts from settled iterates, once they are below those
        // digits, which its first step, one of quadratic convergence, does.
        const i32 level_digits = settled_digits > 0 ? settled_digits : 19 * words / 2;
        for (auto& v : z) cplx_resize(v.data(), words, v.data(), current);
        current = words;
        RealWordsScope scope(words);
        const poly_equation level = resized_equation(eq, words, full, store);
        // A cluster placed at its root is as settled as this level can make it.
        std::vector<bool> placed(z.size(), false);
        for (i64 n = 0; n < LADDER_LEVEL_SWEEPS && result.sweeps < limit; ++n) {
            const std::vector<bool> moved = polish_clusters(level, z);
            for (std::size_t i = 0; i < z.size(); ++i) placed[i] = placed[i] || moved[i];
            const bool small = sweep(level, z, level_digits, nullptr, &placed);
            ++result.sweeps;
            if (small || stop_pending()) break;
        }
        if (stop_pending()) break;
        settled_digits = 19 * (words - 1);
    }
    for (auto& v : z) cplx_resize(v.data(), full, v.data(), current);
}

}  // namespace

bool weierstrass_iterate(const poly_equation& eq, root_result& result, i32 digits) {
    const i32 m = eq.degree;
    result.sweeps = 0;
    if (m < 2 || m > ROOT_MAX_DEGREE || digits < 1 || !cplx_is_one(eq.coef[m]) ||
        (real_is_zero(eq.coef[0]) && real_is_zero(cplx_im_of(eq.coef[0], mp_real_words)))) {
        raiseAppError(APP_ERR_INTERNAL, nullptr, nullptr);
        return false;
    }
    std::vector<std::vector<u64>> z(static_cast<std::size_t>(m), cplx_temp());
    std::vector<u64> step = cplx_temp();
    // Start values (0.4 + 0.9i)^k spiral around the origin. Powers of 1 + i
    // all lie on the line Re z = 1 for k < 2, so a real quadratic whose roots
    // are symmetric about that line (x^2 - 2x - 3) kept its iterates on it for
    // ever; no line holds these, and their moduli differ.
    cplx_from_text(step.data(), u"0.4+0.9i", 8, 0);
    real_one(z[0].data());
    for (std::size_t k = 1; k < z.size(); ++k) cplx_mul(z[k].data(), z[k - 1].data(), step.data());

    const i64 limit = i64{3} * m * digits;
    climb(eq, z, result, digits, limit);
    if (stop_pending()) return false;
    History history(m, mp_real_words);
    std::vector<double> steps(z.size());
    bool moving = true;
    for (i64 recorded = 1;; ++recorded) {
        if (moving) polish_clusters(eq, z);
        const bool small_steps = sweep(eq, z, digits, &steps);
        moving = !small_steps;
        record(history, z, digits);
        ++result.sweeps;
        if (recorded >= HISTORY && small_steps && converged(history, m)) break;
        if (small_steps && result.sweeps + HISTORY - 2 < limit && settled(z, steps, digits, m)) {
            history.repeat_newest();
            break;
        }
        if (stop_pending()) return false;
        if (result.sweeps >= limit) {
            raiseAppError(APP_ERR_NOT_CONVERGED, nullptr, nullptr);
            return false;
        }
    }
    centre_clouds(history, z, digits);
    take_roots(history, eq, result, digits);
    return true;
}
