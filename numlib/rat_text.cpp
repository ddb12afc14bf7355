// Fractions from and to text in base 10: "[sign]numerator[/denominator]".
#include "numlib/mp_error.h"
#include "numlib/rat.h"
#include "numlib/text_impl.h"
#include "numlib/uint.h"
#include "numlib/vec.h"

namespace {

void set_zero(u64* dst) {
    const i64 n = mp_int_words;
    vec_zero(dst, 2 * n + 1);
    rat_den(dst)[0] = 1;
}

bool is_sign(char16_t c) {
    return c == u'+' || c == u'-';
}

// Parses the text s[0, count) (trimmed, non-empty) into dst; the first
// error raised stops it.
void parse(u64* dst, const char16_t* s, i64 count, u32 in_flags) {
    int negative = 0;
    if (is_sign(s[0])) {
        negative = s[0] == u'-';
        ++s;
        --count;
    }
    if (count == 0 || is_sign(s[0])) return mp_raise(MP_ERR_SYNTAX);
    i64 slash = 0;
    while (slash < count && s[slash] != u'/') ++slash;
    u64* num = rat_num(dst);
    u64* den = rat_den(dst);
    uint_from_text(num, s, static_cast<i32>(slash), in_flags, 10);
    if (mp_err() != 0) return;
    if (slash == count) {
        uint_set_u64(den, 1);
    } else {
        const char16_t* d = s + slash + 1;
        const i64 dn = count - slash - 1;
        i64 first = 0;
        while (first < dn && d[first] == u' ') ++first;
        if (first < dn && d[first] == u'+') return mp_raise(MP_ERR_SYNTAX);
        uint_from_text(den, d, static_cast<i32>(dn), in_flags, 10);
        if (mp_err() != 0) return;
        if (uint_is_zero(den)) return mp_raise(MP_ERR_DOMAIN);
    }
    rat_reduce(num, den);
    dst[0] = uint_is_zero(num) ? 0 : static_cast<u64>(negative);
}

}  // namespace

void rat_from_text(u64* dst, const char16_t* text, i32 len, u32 in_flags) {
    MpIsolate iso;
    set_zero(dst);
    i64 start, count;
    text_trim(&start, &count, text, len);
    if (count == 0) {
        mp_raise(MP_ERR_SYNTAX);
    } else {
        parse(dst, text + start, count, in_flags);
    }
    if (iso.inner() != 0) set_zero(dst);
}

i32 rat_to_text(char16_t* buffer, i32 capacity, const u64* value, u32 flags) {
    TextBuf sink = text_sink_open(buffer, capacity);
    const u64* num = rat_num(value);
    const u64* den = rat_den(value);
    if (value[0] > 1 || uint_is_zero(den)) {
        text_sink_put_ascii(&sink, "[?]");
    } else {
        if (flags & NUM_TEXT_SIGN)
            text_sink_put(&sink, value[0] ? u'-' : u'+');
        else if (value[0] && !uint_is_zero(num))
            text_sink_put(&sink, u'-');
        const u32 inner = flags & ~(NUM_TEXT_TERMINATE | NUM_TEXT_SIGN);
        uint_to_text_sink(&sink, num, inner, 10);
        if (!uint_is_one(den)) {
            text_sink_put(&sink, u'/');
            uint_to_text_sink(&sink, den, inner, 10);
        }
    }
    return static_cast<i32>(text_sink_finish(&sink, flags));
}
