// The polynomial page's state: cells, counts, type and precision, the saved
// result texts and the buttons that work on them.
#include "polynomial/poly_page.h"

#include "app/ui_texts.h"
#include "textbuf/textbuf.h"

namespace {

constexpr int UI_TEXT_POLY_HINT = 91;
constexpr i64 HINT_TERMS_MAX = 60;
constexpr i64 HINT_MAX = 200;

const std::u16string kEmpty;

i32 clamp(i32 v, i32 lo, i32 hi) {
    return v < lo ? lo : (v > hi ? hi : v);
}

bool degree_valid(i32 k) {
    return k >= 0 && k <= POLY_MAX_DEGREE;
}

}  // namespace

std::u16string poly_name(i32 i) {
    char16_t name[32];
    const i64 len = text_format(name, 31, u"P%d(x)", i);
    return std::u16string(name, static_cast<std::size_t>(len));
}

PolyPage::PolyPage() = default;

const std::u16string& PolyPage::cell(i32 row, i32 k) const {
    if (row < 0 || row >= count_ || !degree_valid(k)) return kEmpty;
    return cells_[static_cast<std::size_t>(row)][static_cast<std::size_t>(k)];
}

void PolyPage::set_cell(i32 row, i32 k, std::u16string_view text) {
    if (row < 0 || row >= count_ || !degree_valid(k)) return;
    cells_[static_cast<std::size_t>(row)][static_cast<std::size_t>(k)] = text;
}

void PolyPage::set_count(i32 c) {
    const i32 n = clamp(c, POLY_PAGE_MIN_COUNT, POLY_PAGE_MAX_COUNT);
    for (i32 row = n; row < count_; ++row) {
        for (std::u16string& text : cells_[static_cast<std::size_t>(row)]) text.clear();
    }
    count_ = n;
}

void PolyPage::set_max_degree(i32 m) {
    max_degree_ = clamp(m, POLY_PAGE_MIN_DEGREE, POLY_MAX_DEGREE);
}

void PolyPage::set_type(i32 type) {
    if (type == MP_TYPE_RAT || type == MP_TYPE_REAL || type == MP_TYPE_CPLX) type_ = type;
}

void PolyPage::set_digits(i32 d) {
    digits_ = clamp(d, POLY_PAGE_DIGITS_MIN, POLY_PAGE_DIGITS_MAX);
}

bool PolyPage::op_enabled(PolyOp op) const {
    if (op == PolyOp::divide || op == PolyOp::power) return count_ < 3;
    return true;
}

const std::u16string& PolyPage::saved(i32 k) const {
    return degree_valid(k) ? saved_[static_cast<std::size_t>(k)] : kEmpty;
}

bool PolyPage::apply_result(i32 j) {
    if (!results_enabled_ || j < 0 || j > 1) return false;
    i32 top = -1;
    for (i32 k = 0; k <= POLY_MAX_DEGREE; ++k) {
        const std::u16string& text = saved_[static_cast<std::size_t>(k)];
        cells_[static_cast<std::size_t>(j)][static_cast<std::size_t>(k)] = text;
        if (!text.empty()) top = k;
    }
    if (top > max_degree_) set_max_degree(top);
    return true;
}

void PolyPage::clear_row(i32 j) {
    if (j < 0 || j >= count_) return;
    for (std::u16string& text : cells_[static_cast<std::size_t>(j)]) text.clear();
}

void PolyPage::clear_all() {
    for (Row& row : cells_) {
        for (std::u16string& text : row) text.clear();
    }
}

std::u16string PolyPage::hint() const {
    char16_t terms[HINT_TERMS_MAX + 1];
    TextBuf list = textbuf_on(terms);
    poly_term_list(list, max_degree_, u'a');
    textbuf_finish(list);
    char16_t hint[HINT_MAX + 1];
    const i64 len = text_format(hint, HINT_MAX, ui_text[UI_TEXT_POLY_HINT], terms);
    return std::u16string(hint, static_cast<std::size_t>(len));
}
