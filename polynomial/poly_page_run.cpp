// The five operations of the polynomial page: number context, cells read as
// formulas, the arithmetic and the result text.
#include "app/app_error.h"
#include "app/settings_values.h"
#include "app/ui_texts.h"
#include "formula/formula.h"
#include "numlib/mp_context.h"
#include "numlib/mp_error.h"
#include "numlib/num.h"
#include "numlib/num_text.h"
#include "polynomial/poly_page.h"
#include "polynomial/poly_page_text.h"
#include "textbuf/textbuf.h"

namespace {

constexpr int UI_TEXT_REMAINDER = 92;
// Words of each half of a rat coefficient.
constexpr i32 RAT_WORDS = 26;
// real and cplx are computed with this many digits more than shown.
constexpr i32 GUARD_DIGITS = 3;

bool app_error_pending() {
    return appError.load() != 0;
}

// Sets the number context of an operation and returns the number-text flags
// of its results.
u32 set_context(i32 type, i32 digits) {
    if (type == MP_TYPE_RAT) {
        mp_set_int_words(RAT_WORDS);
    } else {
        mp_set_real_words(num_words_for_digits(digits + GUARD_DIGITS, type));
    }
    mp_num_type = type;
    mp_fixed_exp_low = -4;
    mp_fixed_exp_high = 10;
    mp_fixed_exp_high_int = 1000;
    return settings_thousands_equations != 0 ? NUM_TEXT_GROUP : 0u;
}

void raise_cell_error(u32 code, i32 row, i32 k) {
    char16_t coefficient[32];
    text_format(coefficient, 31, u"a%d", k);
    const std::u16string name = poly_name(row);
    raiseAppError(code, coefficient, name.c_str());
}

char16_t op_char(PolyOp op) {
    switch (op) {
        case PolyOp::add:
            return u'+';
        case PolyOp::subtract:
            return u'-';
        case PolyOp::multiply:
            return u'*';
        case PolyOp::divide:
            return u'/';
        case PolyOp::power:
            return u'^';
    }
    return u'?';
}

}  // namespace

bool PolyPage::read_row(i32 row, Poly& p) const {
    poly_zero(p);
    for (i32 k = max_degree_; k >= 0; --k) {
        const std::u16string& text =
            cells_[static_cast<std::size_t>(row)][static_cast<std::size_t>(k)];
        if (static_cast<i64>(text.size()) > POLY_CELL_MAX) {
            raise_cell_error(APP_ERR_POLY_COEFFICIENT_LONG, row, k);
            return false;
        }
        if (text_is_blank(text.c_str())) continue;
        FormulaRequest request;
        request.text = text.c_str();
        request.flags = FORMULA_GROUPS;
        request.useOperandLimits = true;
        request.result = p.slot(k);
        if (!evaluateFormula(&request)) {
            raise_cell_error(APP_ERR_POLY_COEFFICIENT, row, k);
            return false;
        }
    }
    return !app_error_pending();
}

void PolyPage::compute(PolyOp op, std::u16string& out) {
    const char16_t o = op_char(op);
    Poly a, b;
    if (app_error_pending() || !read_row(0, a)) return;
    if (op == PolyOp::add || op == PolyOp::subtract || op == PolyOp::multiply) {
        Poly t;
        for (i32 i = 1; i < count_; ++i) {
            if (!read_row(i, b)) return;
            if (op == PolyOp::multiply) {
                poly_copy(t, a);
                poly_mul(a, t, b, digits_);
            } else {
                poly_add_sub(a, a, b, op == PolyOp::subtract, digits_);
            }
            if (app_error_pending()) return;
        }
        poly_append_header(out, o, count_, 0, a, nullptr, nullptr);
        poly_append_lines(out, u'b', a, format_flags_, &saved_);
        return;
    }
    if (!read_row(1, b)) return;
    if (op == PolyOp::divide) {
        Poly q, r;
        poly_divmod(q, r, a, b, digits_);
        if (app_error_pending()) return;
        poly_append_header(out, o, 2, 0, q, &r, ui_text[UI_TEXT_REMAINDER]);
        poly_append_lines(out, u'b', q, format_flags_, &saved_);
        out += u"\r\n";
        poly_append_lines(out, u'r', r, format_flags_, nullptr);
        return;
    }
    i64 e = 0;
    if (!poly_exponent(&e, b, u"P1(x)")) return;
    Poly s;
    poly_pow(s, a, e, digits_);
    // a^1 comes back unrounded; every shown result has the page's digits.
    poly_round(s, digits_);
    if (app_error_pending()) return;
    poly_append_header(out, o, 2, e, s, nullptr, nullptr);
    poly_append_lines(out, u'b', s, format_flags_, &saved_);
}

std::u16string PolyPage::run(PolyOp op) {
    std::u16string out;
    if (!op_enabled(op)) return out;
    clearErrors();
    format_flags_ = set_context(type_, digits_);
    for (std::u16string& text : saved_) text.clear();
    results_enabled_ = false;
    if (mp_error.load() == 0) compute(op, out);
    raiseFromLibraryError(APP_ERR_OVERFLOW);
    if (app_error_pending()) {
        for (std::u16string& text : saved_) text.clear();
    } else {
        results_enabled_ = true;
    }
    return out;
}
