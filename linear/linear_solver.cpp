// Elimination and back substitution of solve_linear.
#include "linear/linear_solver.h"

#include "app/app_error.h"
#include "linear/linear_bound.h"
#include "linear/linear_coef.h"
#include "linear/linear_exact.h"
#include "numlib/cplx.h"
#include "numlib/mp_context.h"
#include "numlib/mp_error.h"
#include "numlib/mp_scratch.h"
#include "numlib/real.h"

namespace {

bool library_failed() {
    return mp_error.load(std::memory_order_relaxed) != 0;
}

// Value j of a row or solution vector.
u64* at(u64* base, i64 j, i64 words) {
    return base + j * words;
}

bool request_valid(const linear_system& sys, const linear_solution& sol) {
    if (sys.n < LINEAR_MIN_EQUATIONS || sys.n > LINEAR_MAX_EQUATIONS) return false;
    if (sol.type != sys.type || sol.value_bytes != sys.value_bytes) return false;
    if (sol.real_words != sys.real_words || sol.int_words != sys.int_words) return false;
    if (sys.type != MP_TYPE_RAT && sol.digits < 1) return false;
    for (i64 i = 0; i < sys.n; ++i) {
        if (sys.rows[i] == nullptr || sol.x[i] == nullptr) return false;
    }
    return true;
}

constexpr i64 COLUMNS = LINEAR_MAX_EQUATIONS + 1;

// For real and cplx every value carries a bound of its distance from the
// exact value of the same step on the exact input (the values the cells'
// formulas mean, which their results miss by a unit or so). A value within
// its bound of zero is set to exactly 0 (possibly zero); one beyond it is
// certainly not zero, so a pivot is never rounding noise.
struct Work {
    i64 n = 0;
    i64 words = 0;  // u64 words of one value
    u64** rows = nullptr;
    u64* f = nullptr;      // one value
    u64* mag = nullptr;    // magnitude of the pivot so far
    u64* cand = nullptr;   // magnitude of a candidate
    bool bounded = false;  // real or cplx
    Bound unit;            // error of one rounded operation relative to its operands
    i64 rank = 0;
    i64 pivot_col[LINEAR_MAX_EQUATIONS] = {};  // column of the pivot of row r < rank
    bool free_col[LINEAR_MAX_EQUATIONS] = {};
    // Every possibly zero pivot candidate or right-hand side was exactly 0.
    bool certain = true;
    Bound f_rad;
    Bound* row_rad[LINEAR_MAX_EQUATIONS] = {};  // bounds of row r, swapped with it
    Bound rad[LINEAR_MAX_EQUATIONS][COLUMNS];
    Bound x_rad[LINEAR_MAX_EQUATIONS][COLUMNS];
};

Bound abs_up(const u64* v) {
    if (mp_num_type == MP_TYPE_REAL) return bound_real_up(v);
    return bound_add(bound_real_up(v), bound_real_up(cplx_im_of(v, mp_real_words)));
}

Bound abs_down(const u64* v) {
    const Bound re = bound_real_down(v);
    if (mp_num_type == MP_TYPE_REAL) return re;
    const Bound im = bound_real_down(cplx_im_of(v, mp_real_words));
    return bound_le(re, im) ? im : re;
}

// A part within the value's bound r of zero becomes exactly 0; `removed`
// grows by what it was.
void zero_part_if_tiny(u64* part, Bound& r, Bound& removed) {
    const Bound size = bound_real_up(part);
    if (bound_le(size, r)) {
        removed = bound_add(removed, size);
        real_zero(part, 0);
    }
}

// A value (each part, for cplx) within its bound of zero becomes exactly 0
// and its bound grows by what was removed.
void zero_if_tiny(const Work& w, u64* value, Bound& r) {
    if (!w.bounded || bound_is_zero(r)) return;
    Bound removed;
    zero_part_if_tiny(value, r, removed);
    if (mp_num_type == MP_TYPE_CPLX)
        zero_part_if_tiny(cplx_im_of(value, mp_real_words), r, removed);
    r = bound_add(r, removed);
}

// A value with its error bound and an upper bound of its magnitude.
struct Term {
    const u64* v;
    Bound size, r;
};

// v += t p, with the bound of v grown by the bounds of t and p and by the
// rounding of the product and the sum.
void add_product(Work& w, u64* v, Bound& rv, const Term& t, const Term& p) {
    if (w.bounded) {
        const Bound tp = bound_mul(t.size, p.size);
        const Bound spread = bound_add(bound_add(bound_mul(t.size, p.r), bound_mul(p.size, t.r)),
                                       bound_mul(t.r, p.r));
        const Bound rounding = bound_mul(w.unit, bound_add(abs_up(v), bound_add(tp, tp)));
        rv = bound_add(rv, bound_add(spread, rounding));
    }
    coef_mul(w.cand, t.v, p.v);
    coef_add(v, v, w.cand);
    zero_if_tiny(w, v, rv);
}

// The term of value v with bound r; its magnitude only where bounds are kept.
Term term(const Work& w, const u64* v, Bound r) {
    return {v, w.bounded ? abs_up(v) : Bound{}, r};
}

// v = a / d with d certainly not zero.
void divide(Work& w, u64* v, Bound& rv, const u64* a, Bound ra, const u64* d, Bound rd) {
    coef_div(v, a, d);
    if (!w.bounded) return;
    const Bound q = abs_up(v);
    const Bound spread =
        bound_div(bound_add(ra, bound_mul(q, rd)), bound_sub_down(abs_down(d), rd));
    rv = bound_add(spread, bound_mul(w.unit, q));
    zero_if_tiny(w, v, rv);
}

void swap_rows(Work& w, i64 a, i64 b) {
    u64* t = w.rows[a];
    w.rows[a] = w.rows[b];
    w.rows[b] = t;
    Bound* r = w.row_rad[a];
    w.row_rad[a] = w.row_rad[b];
    w.row_rad[b] = r;
}

// Swaps the row with the largest |a_rk| among rows `top`.. (the first of
// equal ones) into row top; false when all of them are zero in column k.
bool find_pivot(Work& w, i64 top, i64 k) {
    coef_abs(w.mag, at(w.rows[top], k, w.words));
    bool unsure = !bound_is_zero(w.row_rad[top][k]);
    for (i64 r = top + 1; r < w.n; ++r) {
        coef_abs(w.cand, at(w.rows[r], k, w.words));
        unsure = unsure || !bound_is_zero(w.row_rad[r][k]);
        if (coef_cmp_abs(w.cand, w.mag) > 0) {
            swap_rows(w, top, r);
            coef_copy(w.mag, w.cand);  // same word count as a magnitude
        }
    }
    if (!coef_is_zero(w.mag)) return true;
    w.certain = w.certain && !unsure;
    return false;
}

// For rat a zero term changes nothing, so it is skipped: sparse and singular
// systems save most of their operations. real and cplx go through every
// update, since each one also grows the bounds.
bool skip_zero(const u64* term) {
    return mp_num_type == MP_TYPE_RAT && coef_is_zero(term);
}

void eliminate_below(Work& w, i64 top, i64 k) {
    const u64* pivot_row = w.rows[top];
    const Bound* pivot_rad = w.row_rad[top];
    Term pivot[COLUMNS];
    for (i64 c = k + 1; c <= w.n; ++c) pivot[c] = term(w, pivot_row + c * w.words, pivot_rad[c]);
    for (i64 r = top + 1; r < w.n && !library_failed(); ++r) {
        u64* row = w.rows[r];
        if (skip_zero(at(row, k, w.words))) continue;
        divide(w, w.f, w.f_rad, at(row, k, w.words), w.row_rad[r][k], pivot_row + k * w.words,
               pivot_rad[k]);
        coef_neg(w.f, w.f);
        coef_set_i64(at(row, k, w.words), 0);
        w.row_rad[r][k] = Bound{};  // exactly zero in exact arithmetic
        const Term f = term(w, w.f, w.f_rad);
        for (i64 c = k + 1; c <= w.n; ++c) {
            if (skip_zero(pivot[c].v)) continue;
            add_product(w, at(row, c, w.words), w.row_rad[r][c], f, pivot[c]);
        }
    }
}

// Row echelon form: a column without a pivot in the rows not yet used is
// free, and the next column looks for its pivot from the same row on, so a
// row whose own column is zero still serves a later column.
void eliminate(Work& w) {
    for (i64 k = 0; k < w.n && !library_failed(); ++k) {
        if (w.rank == w.n || !find_pivot(w, w.rank, k)) {
            w.free_col[k] = true;
            continue;
        }
        eliminate_below(w, w.rank, k);
        w.pivot_col[w.rank] = k;
        w.rank += 1;
    }
}

// Unknown i of pivot row r from the unknowns after it.
void substitute(Work& w, linear_solution& sol, i64 i, i64 r, i64 slots) {
    u64* x = sol.x[i];
    Bound* xr = w.x_rad[i];
    const u64* row = w.rows[r];
    const Bound* rr = w.row_rad[r];
    coef_copy(x, row + w.n * w.words);
    xr[0] = rr[w.n];
    for (i64 s = 1; s < slots; ++s) {
        coef_set_i64(at(x, s, w.words), 0);
        xr[s] = Bound{};
    }
    for (i64 j = i + 1; j < w.n; ++j) {
        if (skip_zero(row + j * w.words)) continue;
        coef_neg(w.f, row + j * w.words);
        const Term t = term(w, w.f, rr[j]);
        for (i64 s = 0; s < slots; ++s) {
            const u64* xj = at(sol.x[j], s, w.words);
            if (skip_zero(xj)) continue;
            add_product(w, at(x, s, w.words), xr[s], t, term(w, xj, w.x_rad[j][s]));
        }
    }
    const u64* diag = row + i * w.words;
    for (i64 s = 0; s < slots; ++s) {
        if (skip_zero(at(x, s, w.words))) continue;
        divide(w, at(x, s, w.words), xr[s], at(x, s, w.words), xr[s], diag, rr[i]);
    }
}

// The rows without a pivot are zero on the left; their right-hand sides
// must be zero too.
bool consistent(Work& w) {
    for (i64 r = w.rank; r < w.n; ++r) {
        if (!coef_is_zero(w.rows[r] + w.n * w.words)) return false;
        w.certain = w.certain && bound_is_zero(w.row_rad[r][w.n]);
    }
    return true;
}

// Whether the rounding of one part to `digits` digits is known to be that of
// the exact part.
bool part_decided(const u64* part, Bound r, i32 digits) {
    if (real_is_zero(part)) return bound_is_zero(r);
    return bound_rounding_decided(part, r, digits);
}

// Rounds every slot to the digits asked for; true when every rounding is
// known to give the digits of the exact solution.
bool round_results(Work& w, linear_solution& sol, i64 slots) {
    bool decided = true;
    for (i64 i = 0; i < w.n; ++i) {
        for (i64 s = 0; s < slots; ++s) {
            u64* v = at(sol.x[i], s, w.words);
            decided = decided && part_decided(v, w.x_rad[i][s], sol.digits);
            if (mp_num_type == MP_TYPE_CPLX)
                decided = decided &&
                          part_decided(cplx_im_of(v, mp_real_words), w.x_rad[i][s], sol.digits);
            coef_round(v, sol.digits);
        }
    }
    return decided;
}

void back_substitute(Work& w, linear_solution& sol) {
    const i64 params = w.n - w.rank;
    sol.param_count = params;
    if (!consistent(w)) {
        sol.count = -1;
        sol.settled = sol.form_settled = w.certain;
        return;
    }
    i64 assigned = 0;
    i64 r = w.rank - 1;
    for (i64 i = w.n - 1; i >= 0 && !library_failed(); --i) {
        if (w.free_col[i]) {
            for (i64 s = 0; s <= params; ++s) {
                coef_set_i64(at(sol.x[i], s, w.words), 0);
                w.x_rad[i][s] = Bound{};
            }
            assigned += 1;
            coef_set_i64(at(sol.x[i], assigned, w.words), 1);
        } else {
            substitute(w, sol, i, r, params + 1);
            r -= 1;
        }
    }
    if (library_failed()) return;
    sol.form_settled = w.certain;
    if (mp_num_type == MP_TYPE_RAT) {
        sol.settled = true;
        return;
    }
    const bool decided = round_results(w, sol, params + 1);
    sol.settled = w.certain && decided;
}

bool set_context(const linear_system& sys) {
    if (!coef_type_valid(sys.type)) {
        mp_raise(MP_ERR_TYPE);
        return false;
    }
    mp_set_real_words(sys.real_words);
    mp_set_int_words(sys.int_words);
    if (library_failed()) return false;
    mp_num_type = sys.type;
    return true;
}

void solve(linear_system& sys, linear_solution& sol) {
    ScratchMark mark;
    const i64 words = sys.value_bytes / 8;
    u64* f = mark.take(static_cast<std::size_t>(words));
    u64* mag = mark.take(static_cast<std::size_t>(words));
    u64* cand = mark.take(static_cast<std::size_t>(words));
    if (cand == nullptr) return;
    Work w;
    w.n = sys.n;
    w.words = words;
    w.rows = sys.rows;
    w.f = f;
    w.mag = mag;
    w.cand = cand;
    w.bounded = sys.type != MP_TYPE_RAT;
    // One rounding is within a unit of the last of 19 m digits; a hundred
    // units cover the products and quotients of a complex value as well.
    w.unit = bound_pow10(3 - i64{19} * mp_real_words);
    // A cell's value is a formula's result, within a unit or so of its last
    // digit of the value the formula means.
    for (i64 r = 0; r < sys.n; ++r) {
        w.row_rad[r] = w.rad[r];
        for (i64 c = 0; c <= sys.n && w.bounded; ++c)
            w.rad[r][c] = bound_mul(w.unit, abs_up(at(sys.rows[r], c, w.words)));
    }
    sol.count = sys.n;
    eliminate(w);
    if (!library_failed()) back_substitute(w, sol);
}

}  // namespace

void solve_linear(linear_system& sys, linear_solution& sol) {
    clearErrors();
    sol.count = -1;
    sol.param_count = 0;
    sol.settled = sol.form_settled = false;
    if (!request_valid(sys, sol)) {
        raiseAppError(APP_ERR_INTERNAL, nullptr, nullptr);
        return;
    }
    if (set_context(sys)) {
        if (num_size_bytes(0, sys.type) != sys.value_bytes) {
            raiseAppError(APP_ERR_INTERNAL, nullptr, nullptr);
            return;
        }
        if (sys.type != MP_TYPE_RAT || !solve_exact_fraction_free(sys, sol)) solve(sys, sol);
    }
    raiseFromLibraryError(APP_ERR_OVERFLOW);
}
