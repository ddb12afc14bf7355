// Result text of the polynomial page.
#include "polynomial/poly_page_text.h"

#include <vector>

#include "app/app_error.h"
#include "numlib/mp_context.h"
#include "numlib/num_text.h"
#include "polynomial/poly_page.h"
#include "textbuf/textbuf.h"

namespace {

// Longest term list: degree 20 needs 37 characters.
constexpr i64 TERM_LIST_MAX = 80;

void append_term_list(std::u16string& out, i32 n, char16_t letter) {
    char16_t chars[TERM_LIST_MAX + 1];
    TextBuf buf = textbuf_on(chars);
    poly_term_list(buf, n, letter);
    if (textbuf_finish(buf)) raiseAppError(APP_ERR_TEXT_OVERFLOW, nullptr, nullptr);
    out.append(chars, static_cast<std::size_t>(buf.length));
}

void append_number(std::u16string& out, const u64* value, u32 flags) {
    const i32 words = mp_num_type == MP_TYPE_RAT ? mp_int_words : mp_real_words;
    const u32 capacity = num_text_capacity(words, mp_num_type);
    std::vector<char16_t> chars(static_cast<std::size_t>(capacity) + 1);
    const i32 len = num_to_text(chars.data(), static_cast<i32>(capacity), value, flags);
    out.append(chars.data(), static_cast<std::size_t>(len > 0 ? len : 0));
}

}  // namespace

i32 poly_shown_degree(const Poly& p) {
    const i32 d = poly_degree(p);
    return d < 0 ? 0 : d;
}

void poly_append_header(std::u16string& out, char16_t op, i32 count, i64 e, const Poly& s,
                        const Poly* rem, const char16_t* remainder_label) {
    char16_t piece[32];
    for (i32 i = 0; i < count; ++i) {
        if (i > 0) {
            out += u' ';
            out += op;
            out += u' ';
        }
        if (op == u'^' && i == 1) {
            const i64 len = text_format(piece, 31, u"%d", e);
            out.append(piece, static_cast<std::size_t>(len));
        } else {
            out += poly_name(i);
        }
    }
    out += u" = ";
    append_term_list(out, poly_shown_degree(s), u'b');
    if (op == u'/' && rem != nullptr) {
        out += u"    ";
        out += remainder_label;
        out += u"    ";
        append_term_list(out, poly_shown_degree(*rem), u'r');
    }
    out += u"\r\n\r\n";
}

void poly_append_lines(std::u16string& out, char16_t letter, const Poly& p, u32 flags,
                       std::array<std::u16string, POLY_SLOTS>* saved) {
    char16_t name[32];
    for (i32 k = poly_shown_degree(p); k >= 0; --k) {
        const i64 len = text_format(name, 31, u"%c%d = ", letter, k);
        out.append(name, static_cast<std::size_t>(len));
        const std::size_t start = out.size();
        append_number(out, p.slot(k), flags);
        if (saved != nullptr) (*saved)[static_cast<std::size_t>(k)] = out.substr(start);
        out += u"\r\n";
    }
}
