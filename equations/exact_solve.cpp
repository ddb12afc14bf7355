// The exact run: approximations in iteration order, exact texts by degree,
// then the usual ordering and merging.
#include <vector>

#include "app/app_error.h"
#include "equations/exact.h"
#include "equations/exact_impl.h"
#include "numlib/cplx.h"
#include "numlib/mp_error.h"
#include "numlib/num.h"
#include "numlib/rat.h"
#include "numlib/real.h"
#include "numlib/words_scope.h"

namespace {

bool input_valid(const poly_equation& eq) {
    if (eq.type != MP_TYPE_RAT || eq.degree < 1 || eq.degree > ROOT_MAX_DEGREE) return false;
    for (i32 k = 0; k <= eq.degree; ++k) {
        if (eq.coef[k] == nullptr) return false;
    }
    return true;
}

void drop_complex_roots(root_result& result) {
    while (result.count > 0 &&
           !real_is_zero(cplx_im_of(result.roots[result.count - 1], mp_real_words))) {
        --result.count;
    }
}

void exact_texts(const poly_equation& eq, root_result& result) {
    if (eq.degree == 1) {
        exact_linear(eq, result, 0);
    } else if (eq.degree == 2) {
        exact_quadratic(eq, result, 0, 1);
    } else {
        exact_rational_roots(eq, result);
    }
}

// The iteration's start values are symmetric about Re z = 1, so for a
// quadratic whose roots are symmetric about that line (x^2 - 2x - 1) every
// iterate stays on it and never converges. A quadratic needs no iteration:
// its roots come from the formula instead.
bool quadratic_after_stall(const poly_equation& approx, root_result& result) {
    if (approx.degree != 2 || appError.load() != APP_ERR_NOT_CONVERGED || mp_err() != 0) {
        return false;
    }
    appError.store(0);
    CplxValues t(2);
    cplx_mul(t[0], approx.coef[1], approx.coef[1]);
    cplx_mul(t[1], approx.coef[2], approx.coef[0]);
    cplx_mul_u64(t[1], t[1], 4);
    cplx_sub(t[0], t[0], t[1]);
    quadratic_roots_from(t[0], approx.coef[0], approx.coef[1], approx.coef[2], result, 0, 1);
    if (mp_err() != 0) return false;
    result.multiplicity[0] = result.multiplicity[1] = 1;
    result.count = 2;
    return true;
}

}  // namespace

i32 exact_iter_digits(i32 digits) {
    if (digits == 40) return 42;
    return digits >= 41 ? digits : 41;
}

void exact_linear(const poly_equation& eq, root_result& result, i32 i) {
    if (i < 0 || i >= ROOT_MAX_DEGREE || eq.degree != 1) return;
    char16_t* slot = result.exact_text[i];
    if (slot == nullptr) return;
    slot[0] = 0;
    RatValues root(1);
    {
        MpIsolate isolate;
        rat_mul_div(root[0], eq.coef[0], eq.coef[1], true);
        rat_negate(root[0]);
        const bool failed = isolate.inner() != 0;
        isolate.clear_inner();
        if (failed) return;
    }
    store_rat_text(slot, root[0], result.format_flags);
}

void solve_exact(const poly_equation& eq, root_result& result) {
    result.count = -1;
    if (result.words < 1 || result.words > MP_REAL_WORDS_MAX) {
        mp_set_real_words(result.words);  // raises the library's word-count error
        return;
    }
    if (!input_valid(eq)) {
        raiseAppError(APP_ERR_INTERNAL, nullptr, nullptr);
        return;
    }
    IntWordsScope exact_width(EXACT_INT_WORDS);
    mp_set_real_words(result.words);
    const std::size_t size = static_cast<std::size_t>(cplx_value_words(result.words));
    std::vector<u64> store(size * static_cast<std::size_t>(eq.degree + 1));
    poly_equation approx = eq;
    approx.type = MP_TYPE_CPLX;
    for (i32 k = 0; k <= eq.degree; ++k) {
        approx.coef[k] = store.data() + static_cast<std::size_t>(k) * size;
        cplx_from_rat(approx.coef[k], eq.coef[k]);
    }
    if (mp_err() != 0) return;
    solve_approx(approx, result, true);
    if (result.count < 0 && !quadratic_after_stall(approx, result)) return;
    exact_texts(eq, result);
    sort_merge_roots(result);
    if (result.real_only) drop_complex_roots(result);
    if (appError.load() != 0) result.count = -1;
}
