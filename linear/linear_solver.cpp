// Elimination and back substitution of solve_linear.
#include "linear/linear_solver.h"

#include "formula/app_error.h"
#include "linear/linear_coef.h"
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

struct Work {
    i64 n;
    i64 words;  // u64 words of one value
    u64** rows;
    u64* eps;   // real threshold, unused for rat
    u64* f;     // one value
    u64* mag;   // magnitude of the pivot so far
    u64* cand;  // magnitude of a candidate
    i64 rank = 0;
    i64 pivot_col[LINEAR_MAX_EQUATIONS] = {};  // column of the pivot of row r < rank
    bool free_col[LINEAR_MAX_EQUATIONS] = {};
};

void tidy(u64* value, const Work& w) {
    if (mp_num_type != MP_TYPE_RAT) zero_if_tiny(value, w.eps);
}

// Swaps the row with the largest |a_rk| among rows `top`.. (the first of
// equal ones) into row top; false when all of them are zero in column k.
bool find_pivot(Work& w, i64 top, i64 k) {
    coef_abs(w.mag, at(w.rows[top], k, w.words));
    for (i64 r = top + 1; r < w.n; ++r) {
        coef_abs(w.cand, at(w.rows[r], k, w.words));
        if (coef_cmp_abs(w.cand, w.mag) > 0) {
            u64* t = w.rows[top];
            w.rows[top] = w.rows[r];
            w.rows[r] = t;
            coef_copy(w.mag, w.cand);  // same word count as a magnitude
        }
    }
    return !coef_is_zero(w.mag);
}

// For rat a zero term changes nothing, so it is skipped: sparse and singular
// systems save most of their operations. real and cplx go through every
// update, since each one also applies the zero threshold.
bool skip_zero(const u64* term) {
    return mp_num_type == MP_TYPE_RAT && coef_is_zero(term);
}

void eliminate_below(Work& w, i64 top, i64 k) {
    const u64* pivot_row = w.rows[top];
    for (i64 r = top + 1; r < w.n && !library_failed(); ++r) {
        u64* row = w.rows[r];
        if (skip_zero(at(row, k, w.words))) continue;
        coef_div(w.f, at(row, k, w.words), pivot_row + k * w.words);
        coef_neg(w.f, w.f);
        coef_set_i64(at(row, k, w.words), 0);
        for (i64 c = k + 1; c <= w.n; ++c) {
            u64* v = at(row, c, w.words);
            if (skip_zero(pivot_row + c * w.words)) continue;
            coef_mul(w.cand, w.f, pivot_row + c * w.words);
            coef_add(v, v, w.cand);
            tidy(v, w);
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
    const u64* row = w.rows[r];
    coef_copy(x, row + w.n * w.words);
    for (i64 s = 1; s < slots; ++s) coef_set_i64(at(x, s, w.words), 0);
    for (i64 j = i + 1; j < w.n; ++j) {
        if (skip_zero(row + j * w.words)) continue;
        coef_neg(w.f, row + j * w.words);
        for (i64 s = 0; s < slots; ++s) {
            if (skip_zero(at(sol.x[j], s, w.words))) continue;
            coef_mul(w.cand, w.f, at(sol.x[j], s, w.words));
            coef_add(at(x, s, w.words), at(x, s, w.words), w.cand);
            tidy(at(x, s, w.words), w);
        }
    }
    const u64* diag = row + i * w.words;
    for (i64 s = 0; s < slots; ++s) {
        if (skip_zero(at(x, s, w.words))) continue;
        coef_div(at(x, s, w.words), at(x, s, w.words), diag);
        tidy(at(x, s, w.words), w);
    }
}

// The rows without a pivot are zero on the left; their right-hand sides
// must be zero too.
bool consistent(const Work& w) {
    for (i64 r = w.rank; r < w.n; ++r) {
        if (!coef_is_zero(w.rows[r] + w.n * w.words)) return false;
    }
    return true;
}

void back_substitute(Work& w, linear_solution& sol) {
    const i64 params = w.n - w.rank;
    sol.param_count = params;
    if (!consistent(w)) {
        sol.count = -1;
        return;
    }
    i64 assigned = 0;
    i64 r = w.rank - 1;
    for (i64 i = w.n - 1; i >= 0 && !library_failed(); --i) {
        if (w.free_col[i]) {
            for (i64 s = 0; s <= params; ++s) coef_set_i64(at(sol.x[i], s, w.words), 0);
            assigned += 1;
            coef_set_i64(at(sol.x[i], assigned, w.words), 1);
        } else {
            substitute(w, sol, i, r, params + 1);
            r -= 1;
        }
    }
    if (mp_num_type == MP_TYPE_RAT || library_failed()) return;
    for (i64 i = 0; i < w.n; ++i) {
        for (i64 s = 0; s <= params; ++s) coef_round(at(sol.x[i], s, w.words), sol.digits);
    }
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

}  // namespace

void zero_if_tiny(u64* value, const u64* eps) {
    if (mp_num_type == MP_TYPE_REAL || mp_num_type == MP_TYPE_CPLX) {
        if (real_cmp_abs(value, eps) < 0) real_zero(value, 0);
    }
    if (mp_num_type == MP_TYPE_CPLX) {
        u64* im = cplx_im_of(value, mp_real_words);
        if (real_cmp_abs(im, eps) < 0) real_zero(im, 0);
    }
}

void solve_linear(linear_system& sys, linear_solution& sol) {
    clearErrors();
    sol.count = -1;
    sol.param_count = 0;
    if (!request_valid(sys, sol)) {
        raiseAppError(APP_ERR_INTERNAL, nullptr, nullptr);
        return;
    }
    if (set_context(sys)) {
        if (num_size_bytes(0, sys.type) != sys.value_bytes) {
            raiseAppError(APP_ERR_INTERNAL, nullptr, nullptr);
            return;
        }
        ScratchMark mark;
        const i64 words = sys.value_bytes / 8;
        u64* eps = mark.take(static_cast<std::size_t>(mp_real_words + 1));
        u64* f = mark.take(static_cast<std::size_t>(words));
        u64* mag = mark.take(static_cast<std::size_t>(words));
        u64* cand = mark.take(static_cast<std::size_t>(words));
        if (cand != nullptr) {
            if (sys.type != MP_TYPE_RAT) real_pow10(eps, -static_cast<i64>(sol.digits));
            Work w{sys.n, words, sys.rows, eps, f, mag, cand};
            sol.count = sys.n;
            eliminate(w);
            if (!library_failed()) back_substitute(w, sol);
        }
    }
    raiseFromLibraryError(APP_ERR_OVERFLOW);
}
