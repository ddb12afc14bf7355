// Start of a solve: the context from the request and the coefficient texts
// read into the equation.
#include <algorithm>

#include "app/app_error.h"
#include "equations/equations_page.h"
#include "equations/exact.h"
#include "formula/formula.h"
#include "numlib/cplx.h"
#include "numlib/mp_context.h"
#include "numlib/mp_error.h"
#include "numlib/num.h"
#include "numlib/rat.h"
#include "numlib/real.h"
#include "numlib/uint.h"
#include "textbuf/textbuf.h"

namespace {

bool is_zero(const u64* value, bool exact) {
    if (exact) return uint_is_zero(rat_num(value));
    return real_is_zero(value) && real_is_zero(cplx_im_of(value, mp_real_words));
}

// Reads the text of a_k into value; false with the application error raised.
bool read_coefficient(const std::u16string& text, i32 k, bool exact, bool real_only, u64* value) {
    const std::u16string name = eq_page_coefficient_name(k);
    if (static_cast<i64>(text.size()) >= EQ_PAGE_COEFFICIENT_CHARS) {
        raiseAppError(APP_ERR_COEFFICIENT_LONG, name.c_str(), nullptr);
        return false;
    }
    if (text_is_blank(text.c_str())) {
        num_from_i64(value, 0);
        return true;
    }
    FormulaRequest request;
    request.text = text.c_str();
    request.flags = FORMULA_GROUPS;
    request.useOperandLimits = true;
    request.result = value;
    if (!evaluateFormula(&request)) {
        raiseAppError(exact ? APP_ERR_COEFFICIENT_RATIONAL : APP_ERR_COEFFICIENT, name.c_str(),
                      nullptr);
        return false;
    }
    if (!exact && real_only && !real_is_zero(cplx_im_of(value, mp_real_words))) {
        raiseAppError(APP_ERR_COEFFICIENT_REAL, name.c_str(), nullptr);
        return false;
    }
    return true;
}

// The context of the run's number type; false (error 9000) when the
// working precision is past the library's reach.
bool set_context(EqPageRun& run) {
    mp_fixed_exp_low = -4;
    mp_fixed_exp_high = 10;
    mp_fixed_exp_high_int = 1000;
    const i64 words = root_working_words(run.result.iter_digits, run.degree);
    if (words > MP_REAL_WORDS_MAX) {
        raiseAppError(APP_ERR_INTERNAL, nullptr, nullptr);
        return false;
    }
    run.result.words = static_cast<i32>(words);
    mp_set_real_words(run.result.words);
    if (run.exact) {
        mp_set_int_words(EXACT_INT_WORDS);
        mp_num_type = MP_TYPE_RAT;
    } else {
        mp_num_type = MP_TYPE_CPLX;
    }
    return true;
}

void prepare_result(EqPageRun& run, const EqPageRequest& request) {
    run.exact = request.exact;
    run.show_multiplicity = request.show_multiplicity;
    run.result = root_result{};
    run.result.count = -1;  // nothing solved yet
    run.result.real_only = request.real_only;
    const i32 digits =
        std::clamp(request.digits, EQ_PAGE_DIGITS_MIN, eq_page_digits_max(run.degree));
    run.result.show_digits = digits;
    run.result.iter_digits = run.exact ? exact_iter_digits(digits) : digits;
}

// Coefficient slots for a_0 .. a_n at the current size of the run's type.
void prepare_equation(EqPageRun& run) {
    const i32 type = run.exact ? MP_TYPE_RAT : MP_TYPE_CPLX;
    const std::size_t size = static_cast<std::size_t>(num_size_bytes(0, type)) / sizeof(u64);
    run.coefficient_store.assign(size * static_cast<std::size_t>(run.degree + 1), 0);
    run.equation = poly_equation{};
    run.equation.degree = run.degree;
    run.equation.type = type;
    for (i32 k = 0; k <= run.degree; ++k)
        run.equation.coef[k] = run.coefficient_store.data() + static_cast<std::size_t>(k) * size;
}

// a_n first, as the grid lists them; stops at the first error.
bool read_coefficients(EqPageRun& run, const EqPageRequest& request) {
    for (i32 row = 0; row <= run.degree; ++row) {
        const i32 k = run.degree - row;
        u64* value = run.equation.coef[k];
        if (!read_coefficient(request.coefficients[row], k, run.exact, run.result.real_only, value))
            return false;
        if (k == run.degree && is_zero(value, run.exact)) {
            const std::u16string name = eq_page_coefficient_name(k);
            raiseAppError(APP_ERR_LEADING_ZERO, name.c_str(), nullptr);
            return false;
        }
    }
    return true;
}

}  // namespace

i32 eq_page_digits_max(i32 degree) {
    if (degree <= 4) return 2000;
    return degree <= 7 ? 1000 : 750;
}

std::u16string eq_page_coefficient_name(i32 k) {
    char16_t name[24];
    const i64 len = text_format(name, 23, u"a%d", k);
    return std::u16string(name, static_cast<std::size_t>(len));
}

bool eq_page_begin(EqPageRun& run, const EqPageRequest& request) {
    if (run.busy.load() || run.job_running.load()) return false;
    clearErrors();
    run.degree = static_cast<i32>(request.coefficients.size()) - 1;
    if (run.degree < EQ_PAGE_DEGREE_MIN || run.degree > EQ_PAGE_DEGREE_MAX) {
        raiseAppError(APP_ERR_INTERNAL, nullptr, nullptr);
        return false;
    }
    prepare_result(run, request);
    if (!set_context(run)) return false;
    run.root_store = std::make_unique<RootStorage>(run.result, run.result.words);
    prepare_equation(run);
    read_coefficients(run, request);
    raiseFromLibraryError(APP_ERR_OVERFLOW);
    if (appError.load() != 0) return false;
    run.busy.store(true);
    return true;
}
