// Rational roots of an equation of degree >= 3. With integer coefficients, a
// rational root p/q in lowest terms has q dividing the leading coefficient
// C_m, so either the approximation itself or C_m times it is an integer at
// the candidate digits. Each candidate is confirmed by exact synthetic
// division, whose quotient (again an integer polynomial) takes the place of
// the equation for the roots that follow.
#include "app/app_error.h"
#include "equations/exact.h"
#include "equations/exact_impl.h"
#include "numlib/mp_error.h"
#include "numlib/num.h"
#include "numlib/rat.h"
#include "numlib/real.h"
#include "numlib/uint.h"

namespace {

// The polynomial still to be divided: c[0..m] at mp_int_words words.
struct Remaining {
    explicit Remaining(i32 n) : store(static_cast<std::size_t>(n) + 1) {
        for (i32 k = 0; k <= n; ++k) c[k] = store[static_cast<std::size_t>(k)];
    }
    RatValues store;
    u64* c[ROOT_MAX_DEGREE + 1] = {};
    i32 m = 0;
};

// Multiplies by each denominator in turn, which amounts to their least
// common multiple. False on overflow.
bool clear_denominators(Remaining& p) {
    RatValues den(1);
    for (i32 k = 0; k <= p.m; ++k) {
        if (uint_is_one(rat_den(p.c[k]))) continue;
        rat_zero(den[0]);
        uint_copy(rat_num(den[0]), rat_den(p.c[k]));
        for (i32 i = 0; i <= p.m; ++i) rat_mul_div(p.c[i], p.c[i], den[0], false);
        if (mp_err() != 0) return false;
    }
    return true;
}

// r = the integer value of x (a real with no fraction digits), or false.
bool rat_from_real_integer(u64* r, const u64* x, RealValues& t) {
    real_copy(t[0], x);
    if (real_sign(t[0])) real_negate(t[0]);
    rat_zero(r);
    real_to_uint(rat_num(r), mp_int_words, t[0]);
    if (mp_err() != 0) return false;
    if (real_sign(x) && !uint_is_zero(rat_num(r))) r[0] = 1;
    return true;
}

// Candidate A: the rounded approximation is an integer.
bool candidate_integer(u64* r, const u64* re, RealValues& t) {
    real_round_digits(t[1], re, EXACT_CANDIDATE_DIGITS);
    return real_is_integer(t[1]) && rat_from_real_integer(r, t[1], t);
}

// Candidate B: C_m times the approximation is an integer y; r = |y| / |C_m|
// with the approximation's sign.
bool candidate_scaled(u64* r, const u64* re, const u64* lead, RealValues& t) {
    num_convert(t[2], mp_real_words, MP_TYPE_REAL, lead, mp_int_words, MP_TYPE_RAT);
    real_mul(t[2], t[2], re);
    real_round_digits(t[1], t[2], EXACT_CANDIDATE_DIGITS);
    if (!real_is_integer(t[1]) || !rat_from_real_integer(r, t[1], t)) return false;
    uint_copy(rat_den(r), rat_num(lead));
    rat_reduce(rat_num(r), rat_den(r));
    r[0] = real_sign(re) && !uint_is_zero(rat_num(r)) ? 1 : 0;
    return mp_err() == 0;
}

// Tries both candidates for the real root z against p; on success p becomes
// the quotient and r holds the root.
bool confirm_root(Remaining& p, u64* r, const u64* z, Remaining& q) {
    if (p.m < 1 || !real_is_zero(cplx_im_of(z, mp_real_words))) return false;
    MpIsolate isolate;
    RealValues t(3);
    bool found = candidate_integer(r, z, t) && deflate_by_root(q.c, p.c, p.m, r);
    if (!found) {
        isolate.clear_inner();
        found = candidate_scaled(r, z, p.c[p.m], t) && deflate_by_root(q.c, p.c, p.m, r);
    }
    isolate.clear_inner();
    if (!found) return false;
    --p.m;
    for (i32 k = 0; k <= p.m; ++k) rat_copy(p.c[k], q.c[k]);
    return true;
}

// The texts of a remaining linear or quadratic factor.
void remaining_factor(Remaining& p, root_result& result, const i32* open, i32 open_count) {
    poly_equation rest;
    rest.type = MP_TYPE_RAT;
    rest.degree = p.m;
    for (i32 k = 0; k <= p.m; ++k) rest.coef[k] = p.c[k];
    if (p.m == 1 && open_count >= 1) return exact_linear(rest, result, open[0]);
    if (p.m == 2 && open_count >= 2) return exact_quadratic(rest, result, open[0], open[1]);
    if (p.m == 1 || p.m == 2) raiseAppError(APP_ERR_INTERNAL, nullptr, nullptr);
}

}  // namespace

bool deflate_by_root(u64* const* q, const u64* const* c, i32 m, const u64* r) {
    if (m < 1 || m > ROOT_MAX_DEGREE) return false;
    const i32 saved = mp_error.exchange(0, std::memory_order_relaxed);
    RatValues v(2);
    rat_copy(v[0], c[m]);
    for (i32 k = m - 1; k >= 0; --k) {
        rat_copy(q[k], v[0]);
        rat_mul_div(v[1], v[0], r, false);
        rat_add_sub(v[0], v[1], c[k], false);
    }
    const bool root = mp_err() == 0 && uint_is_zero(rat_num(v[0]));
    mp_error.store(saved, std::memory_order_relaxed);
    return root;
}

void exact_rational_roots(const poly_equation& eq, root_result& result) {
    const i32 n = eq.degree;
    if (n < 3 || n > ROOT_MAX_DEGREE) return;
    Remaining p(n);
    p.m = n;
    for (i32 k = 0; k <= n; ++k) rat_copy(p.c[k], eq.coef[k]);
    {
        MpIsolate isolate;
        const bool cleared = clear_denominators(p);
        isolate.clear_inner();
        if (!cleared) return;
    }
    Remaining quotient(n);
    RatValues root(1);
    i32 open[2] = {-1, -1};
    i32 open_count = 0;
    for (i32 i = 0; i < n; ++i) {
        if (result.roots[i] != nullptr && confirm_root(p, root[0], result.roots[i], quotient)) {
            if (result.exact_text[i] != nullptr) {
                store_rat_text(result.exact_text[i], root[0], result.format_flags);
            }
        } else {
            if (open_count < 2) open[open_count] = i;
            ++open_count;
        }
    }
    remaining_factor(p, result, open, open_count);
    mp_error.store(0, std::memory_order_relaxed);
}
