// Result texts of the solver: the expression of one unknown and the list of
// parameter names.
#include <vector>

#include "app/app_error.h"
#include "linear/linear_coef.h"
#include "linear/linear_solver.h"
#include "numlib/cplx.h"
#include "numlib/mp_context.h"
#include "numlib/num_text.h"
#include "numlib/rat.h"
#include "numlib/real.h"

namespace {

// Appends num_to_text of value; group characters may make the text longer
// than the plain capacity, hence the margin.
void append_number(TextBuf& buf, const u64* value, u32 flags) {
    const i32 words = mp_num_type == MP_TYPE_RAT ? mp_int_words : mp_real_words;
    const i64 capacity = 2 * static_cast<i64>(num_text_capacity(words, mp_num_type)) + 16;
    std::vector<char16_t> text(static_cast<std::size_t>(capacity) + 1);
    const i32 length = num_to_text(text.data(), static_cast<i32>(capacity), value, flags);
    textbuf_append(buf, std::u16string_view(text.data(), static_cast<std::size_t>(length)));
}

bool rat_is_integer(const u64* value) {
    const u64* den = rat_den(value);
    if (den[0] != 1) return false;
    for (i32 k = 1; k < mp_int_words; ++k) {
        if (den[k] != 0) return false;
    }
    return true;
}

bool cplx_both_parts(const u64* value) {
    return !real_is_zero(value) && !real_is_zero(cplx_im_of(value, mp_real_words));
}

// A rational coefficient in parentheses with its sign in front: "-(3/4)".
void append_fraction(TextBuf& buf, const u64* c, u32 flags) {
    const i64 open_at = buf.length;
    textbuf_append_char(buf, u'(');
    append_number(buf, c, flags);
    if (open_at + 1 < buf.capacity && buf.length > open_at + 1) {
        const char16_t sign = buf.chars[open_at + 1];
        if (sign == u'+' || sign == u'-') {
            buf.chars[open_at + 1] = u'(';
            buf.chars[open_at] = sign;
        }
    }
    textbuf_append_char(buf, u')');
}

void append_coefficient(TextBuf& buf, const u64* c, u32 flags, bool written) {
    const u32 signed_flags = flags | (written ? NUM_TEXT_SIGN : 0u);
    if (mp_num_type == MP_TYPE_RAT && !rat_is_integer(c)) {
        append_fraction(buf, c, signed_flags);
    } else if (mp_num_type == MP_TYPE_CPLX && cplx_both_parts(c)) {
        if (written) textbuf_append_char(buf, u'+');
        textbuf_append_char(buf, u'(');
        append_number(buf, c, flags);
        textbuf_append_char(buf, u')');
    } else {
        append_number(buf, c, signed_flags);
    }
    textbuf_append_char(buf, u'*');
}

// Name of the parameter with index q = 1..P in the list order.
void list_name(TextBuf& buf, i64 q) {
    static const char16_t* const first[4] = {u"r", u"s", u"t", u"u"};
    if (q <= 4) {
        textbuf_append(buf, first[q - 1]);
    } else {
        textbuf_format(buf, u"v%d", q - 4);
    }
}

}  // namespace

void parameter_name(TextBuf& buf, i64 param_count, i64 s) {
    list_name(buf, param_count - s + 1);
}

void solution_text(TextBuf& buf, const linear_solution& sol, i64 i) {
    if (i < 0 || i >= sol.count || sol.x[i] == nullptr) return;
    const i64 words = sol.value_bytes / 8;
    const u64* x = sol.x[i];
    bool written = false;
    if (!coef_is_zero(x)) {
        append_number(buf, x, sol.format_flags);
        written = true;
    }
    for (i64 s = 1; s <= sol.param_count; ++s) {
        const u64* c = x + s * words;
        if (coef_is_zero(c)) continue;
        if (coef_equals(c, 1)) {
            if (written) textbuf_append_char(buf, u'+');
        } else if (coef_equals(c, -1)) {
            textbuf_append_char(buf, u'-');
        } else {
            append_coefficient(buf, c, sol.format_flags, written);
        }
        parameter_name(buf, sol.param_count, s);
        written = true;
    }
    if (!written) textbuf_append_char(buf, u'0');
}

i64 parameter_list_text(char16_t* out, const linear_solution& sol) {
    TextBuf buf{0, LINEAR_PARAM_LIST_CHARS, out};
    const i64 count = sol.param_count;
    for (i64 q = 1; q <= count; ++q) {
        if (q > 1) textbuf_append(buf, u", ");
        if (q == 6 && count > 6) {
            textbuf_append(buf, u"…, ");
            q = count;
        }
        list_name(buf, q);
    }
    textbuf_finish(buf);
    return buf.length;
}
