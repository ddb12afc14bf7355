// The whole approximation: precision check, zero roots, degree 1, the
// iteration, sorting and the real-only filter.
#include <vector>

#include "app/app_error.h"
#include "equations/roots.h"
#include "numlib/cplx.h"
#include "numlib/mp_error.h"
#include "numlib/real.h"

namespace {

bool is_zero(const u64* c) {
    return real_is_zero(c) && real_is_zero(cplx_im_of(c, mp_real_words));
}

void internal_error(root_result& result) {
    raiseAppError(APP_ERR_INTERNAL, nullptr, nullptr);
    result.count = -1;
}

bool input_valid(const poly_equation& eq, const root_result& result) {
    if (eq.degree < 1 || eq.degree > ROOT_MAX_DEGREE || eq.type != MP_TYPE_CPLX) return false;
    if (result.iter_digits < 1) return false;
    for (i32 k = 0; k <= eq.degree; ++k) {
        if (eq.coef[k] == nullptr) return false;
    }
    for (i32 k = 0; k < eq.degree; ++k) {
        if (result.roots[k] == nullptr) return false;
    }
    const i64 reach = i64{19} * result.words * root_precision_factor(eq.degree) / 1000;
    return result.iter_digits <= reach;
}

// A zero part carries no sign in a result.
void clear_zero_signs(u64* root) {
    if (real_is_zero(root)) real_zero(root, 0);
    u64* im = cplx_im_of(root, mp_real_words);
    if (real_is_zero(im)) real_zero(im, 0);
}

// The non-zero roots of the reduced equation of degree >= 1.
bool nonzero_roots(poly_equation& eq, root_result& result) {
    const i32 m = eq.degree;
    if (m == 1) {
        cplx_div(result.roots[0], eq.coef[0], eq.coef[1]);
        cplx_neg(result.roots[0], result.roots[0]);
        cplx_round_digits(result.roots[0], result.roots[0], result.iter_digits);
        result.multiplicity[0] = 1;
        result.count = 1;
        return true;
    }
    for (i32 k = m - 1; k >= 0; --k) cplx_div(eq.coef[k], eq.coef[k], eq.coef[m]);
    cplx_zero(eq.coef[m]);
    real_one(eq.coef[m]);
    return weierstrass_iterate(eq, result, result.iter_digits);
}

void drop_complex_roots(root_result& result) {
    while (result.count > 0 &&
           !real_is_zero(cplx_im_of(result.roots[result.count - 1], mp_real_words))) {
        --result.count;
    }
}

}  // namespace

i32 root_precision_factor(i32 n) {
    static constexpr i32 table[] = {1000, 950, 482, 320, 230, 184, 130, 110, 95};
    if (n < 0) return table[0];
    if (n <= 8) return table[n];
    return 76000 / (100 * n);
}

i64 root_working_words(i32 digits, i32 n) {
    const i64 f = root_precision_factor(n);
    const i64 w = (i64{1000} * digits + f - 1) / f;
    return w <= 0 ? 1 : (w + 18) / 19;
}

RootStorage::RootStorage(root_result& result, i32 words) {
    const std::size_t size = static_cast<std::size_t>(cplx_value_words(words));
    roots_.assign(size * ROOT_MAX_DEGREE, 0);
    texts_.assign(static_cast<std::size_t>(ROOT_EXACT_TEXT_CHARS + 1) * ROOT_MAX_DEGREE, 0);
    for (std::size_t i = 0; i < ROOT_MAX_DEGREE; ++i) {
        result.roots[i] = roots_.data() + i * size;
        result.exact_text[i] = texts_.data() + i * (ROOT_EXACT_TEXT_CHARS + 1);
    }
    result.words = words;
}

i32 strip_zero_roots(poly_equation& eq) {
    const i32 n = eq.degree;
    if (n < 1 || is_zero(eq.coef[n])) {
        raiseAppError(APP_ERR_INTERNAL, nullptr, nullptr);
        return 0;
    }
    i32 z = 0;
    while (z < n && is_zero(eq.coef[z])) ++z;
    if (z == 0) return 0;
    for (i32 k = 0; k + z <= n; ++k) cplx_copy(eq.coef[k], eq.coef[k + z]);
    for (i32 k = n - z + 1; k <= n; ++k) cplx_zero(eq.coef[k]);
    eq.degree = n - z;
    return z;
}

void solve_approx(const poly_equation& eq, root_result& result, bool keep_order) {
    result.count = -1;
    result.sweeps = 0;
    if (result.words < 1 || result.words > MP_REAL_WORDS_MAX) {
        mp_set_real_words(result.words);  // raises the library's word-count error
        return;
    }
    // Coefficients of another size would be read past their end.
    if (mp_real_words != result.words) return internal_error(result);
    if (!input_valid(eq, result)) return internal_error(result);

    const std::size_t size = static_cast<std::size_t>(cplx_value_words(result.words));
    std::vector<u64> store(size * static_cast<std::size_t>(eq.degree + 1));
    poly_equation work = eq;
    for (i32 k = 0; k <= eq.degree; ++k) {
        work.coef[k] = store.data() + static_cast<std::size_t>(k) * size;
        cplx_copy(work.coef[k], eq.coef[k]);
    }
    for (i32 i = 0; i < eq.degree; ++i) {
        if (result.exact_text[i] != nullptr) result.exact_text[i][0] = 0;
    }
    const i32 zeros = strip_zero_roots(work);
    result.count = 0;
    if (appError.load() != 0 || (work.degree >= 1 && !nonzero_roots(work, result))) {
        result.count = -1;
        return;
    }
    for (i32 k = 0; k < zeros; ++k) {
        cplx_zero(result.roots[result.count]);
        result.multiplicity[result.count++] = 1;
    }
    for (i64 i = 0; i < result.count; ++i) clear_zero_signs(result.roots[i]);
    if (!keep_order) {
        sort_merge_roots(result);
        if (result.real_only) drop_complex_roots(result);
    }
    if (appError.load() != 0 || mp_err() != 0) result.count = -1;
}
