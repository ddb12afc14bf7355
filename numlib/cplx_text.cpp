// Complex numbers from and to text: "a", "bi", "a+bi" or "bi+a", the unit
// alone for 1 and a parenthesised imaginary part where it has an exponent.
#include "numlib/mp_error.h"
#include "numlib/real_impl.h"
#include "numlib/text_impl.h"

namespace {

struct Range {
    const char16_t* s = nullptr;
    i64 n = 0;
    bool present() const { return s != nullptr; }
};

bool is_imaginary(const Range& r) {
    return r.n > 0 && text_in_set(mp_imag_chars, r.s[r.n - 1]);
}

// The imaginary part's text without its unit: an optional sign, then a
// value, possibly in parentheses, or nothing for 1.
void parse_imaginary(u64* dst, Range r, u32 in_flags) {
    bool negative = false;
    if (r.n > 0 && (r.s[0] == u'+' || r.s[0] == u'-')) {
        negative = r.s[0] == u'-';
        ++r.s;
        --r.n;
    }
    if (r.n >= 3 && r.s[0] == u'(' && r.s[r.n - 1] == u')') {
        ++r.s;
        r.n -= 2;
    }
    if (r.n == 0) {
        real_one(dst);
    } else {
        real_from_text(dst, r.s, static_cast<i32>(r.n), in_flags);
    }
    if (negative) real_negate(dst);
}

// Splits the text at its one sign that is neither first nor after an
// exponent marker. False for a second such sign or a space.
bool split(const char16_t* s, i64 count, Range* first, Range* second) {
    i64 at = -1;
    for (i64 i = 1; i < count; ++i) {
        const char16_t c = s[i];
        if (c == u' ') return false;
        if ((c == u'+' || c == u'-') && !text_in_set(mp_exp_chars, s[i - 1])) {
            if (at >= 0) return false;
            at = i;
        }
    }
    *first = Range{s, at < 0 ? count : at};
    if (at >= 0) *second = Range{s + at, count - at};
    return true;
}

// Encloses the exponent form of the imaginary text at [at, length) in
// parentheses after its sign, or drops a lone "1". The text fits the sink.
void shape_imaginary(TextBuf* sink, i64 at) {
    char16_t* b = sink->chars;
    if (at < sink->length && (b[at] == u'+' || b[at] == u'-')) ++at;
    if (sink->length - at == 1 && b[at] == u'1') {
        --sink->length;
        return;
    }
    bool has_exp = false;
    for (i64 i = at; i < sink->length; ++i) has_exp = has_exp || text_in_set(mp_exp_chars, b[i]);
    if (!has_exp) return;
    for (i64 i = sink->length; i > at; --i)
        if (i < sink->capacity) b[i] = b[i - 1];
    if (at < sink->capacity) b[at] = u'(';
    ++sink->length;
    text_sink_put(sink, u')');
}

}  // namespace

void cplx_from_text(u64* dst, const char16_t* text, i32 len, u32 in_flags) {
    const i64 m = real_words();
    u64* re = dst;
    u64* im = dst + m + 1;
    MpIsolate iso;
    i64 start, count;
    text_trim(&start, &count, text, len);
    Range first, second;
    if (count == 0 || !split(text + start, count, &first, &second)) {
        mp_raise(MP_ERR_SYNTAX);
    } else {
        const bool first_imag = is_imaginary(first);
        const Range& real_part = first_imag ? second : first;
        const Range& imag_part = first_imag ? first : second;
        if (second.present() && is_imaginary(second) == first_imag) {
            mp_raise(MP_ERR_SYNTAX);
        } else {
            if (real_part.present()) {
                real_from_text(re, real_part.s, static_cast<i32>(real_part.n), in_flags);
            } else {
                real_zero(re, 0);
            }
            if (imag_part.present()) {
                parse_imaginary(im, Range{imag_part.s, imag_part.n - 1}, in_flags);
            } else {
                real_zero(im, 0);
            }
        }
    }
    if (iso.inner() != 0) {
        real_zero(re, 0);
        real_zero(im, 0);
    }
}

i32 cplx_to_text(char16_t* buffer, i32 capacity, const u64* value, u32 flags) {
    const i64 m = real_words();
    const u64* re = value;
    const u64* im = value + m + 1;
    TextBuf sink = text_sink_open(buffer, capacity);
    u32 inner = flags & ~NUM_TEXT_TERMINATE;
    if (!text_real_well_formed(re, m) || !text_real_well_formed(im, m)) {
        text_sink_put_ascii(&sink, "[?]");
    } else if (real_is_zero(im)) {
        real_to_text_sink(&sink, re, inner);
    } else {
        if (!real_is_zero(re)) {
            real_to_text_sink(&sink, re, inner);
            inner |= NUM_TEXT_SIGN;
        }
        const i64 at = sink.length;
        real_to_text_sink(&sink, im, inner);
        if (text_sink_fits(&sink)) {
            shape_imaginary(&sink, at);
            text_sink_put(&sink, text_out_char(mp_imag_chars, u'i'));
        }
    }
    return static_cast<i32>(text_sink_finish(&sink, flags));
}
