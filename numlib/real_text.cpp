// Reals to text: the mantissa words are already decimal, so the text is a
// copy of their digits laid out in fixed or exponent notation.
#include "numlib/real_impl.h"
#include "numlib/text_impl.h"

namespace {

// Fixed notation is refused beyond this exponent: it would be a text of
// more than a billion zeros.
constexpr i64 kFixedExpLimit = 1000000000;

}  // namespace

bool text_real_well_formed(const u64* x, i64 m) {
    const i64 e = real_exp_of(x);
    if (x[1] == 0) {
        if (e != 0) return false;
        for (i64 i = 2; i <= m; ++i)
            if (x[i] != 0) return false;
        return true;
    }
    if (x[1] < REAL_TOP || x[1] >= REAL_BASE) return false;
    for (i64 i = 2; i <= m; ++i)
        if (x[i] >= REAL_BASE) return false;
    return e > -(i64{1} << 62);
}

namespace {

// Significant digits of the mantissa without its trailing zeros.
i64 kept_digits(const u64* x, i64 m) {
    i64 j = m;
    while (j >= 1 && x[j] == 0) --j;
    if (j == 0) return 0;
    int tz = 0;
    for (u64 w = x[j]; w % 10 == 0; w /= 10) ++tz;
    return 19 * (j - 1) + (19 - tz);
}

// The value as the text routines see it: mantissa words w (19 m digits),
// decimal exponent e and k significant digits.
struct Shape {
    const u64* w;
    i64 e;
    i64 k;
};

struct Writer {
    TextBuf* sink;
    i64 m;
    u32 flags;
    char16_t sep;

    i64 d() const { return 19 * m; }
    bool all() const { return flags & NUM_TEXT_ALL_DIGITS; }
    bool whole() const { return flags & NUM_TEXT_WHOLE; }

    // count mantissa digits from index from, ungrouped.
    void digits(const Shape& v, i64 from, i64 count) {
        TextGrouper g(sink, count, 0, 0);
        text_put_mantissa(g, v.w, m, from, count);
    }

    // Returns whether fraction digits were written.
    bool fixed_nonneg(const Shape& v) {
        const char16_t gsep = (flags & NUM_TEXT_GROUP) ? text_out_char(mp_group_chars, 0) : 0;
        TextGrouper g(sink, v.e + 1, 3, gsep);
        text_put_mantissa(g, v.w, m, 0, v.e + 1);
        const i64 f = whole() ? 0 : all() ? d() - (v.e + 1) : v.k - (v.e + 1);
        if (f < 1) return false;
        text_sink_put(sink, sep);
        digits(v, v.e + 1, f);
        return true;
    }

    bool fixed_neg(const Shape& v) {
        const i64 zeros = -v.e - 1;
        const i64 len = whole() ? 0 : (all() ? d() : v.k) + zeros;
        text_sink_put(sink, u'0');
        if (len < 1) return false;
        text_sink_put(sink, sep);
        text_sink_fill(sink, u'0', zeros);
        digits(v, 0, len - zeros);
        return true;
    }

    void exponent(const Shape& v) {
        digits(v, 0, 1);
        const i64 more = all() ? d() - 1 : v.k - 1;
        if (more >= 1) {
            text_sink_put(sink, sep);
            digits(v, 1, more);
        } else if (flags & NUM_TEXT_POINT_ZERO) {
            // The separator and "0" belong before the exponent.
            text_sink_put(sink, sep);
            text_sink_put(sink, u'0');
        }
        text_sink_put(sink, text_out_char(mp_exp_chars, u'e'));
        if (v.e < 0)
            text_sink_put(sink, u'-');
        else if (!(flags & NUM_TEXT_EXP_NO_PLUS))
            text_sink_put(sink, u'+');
        char buf[20];
        const u64 mag = v.e < 0 ? 0 - static_cast<u64>(v.e) : static_cast<u64>(v.e);
        text_sink_put_chars(sink, buf, text_u64_digits(buf, mag));
    }
};

// Whole-number display: x rounded half up to its units digit in r (m + 1
// words). Values below one half become zero.
void round_to_units(u64* r, const u64* x, i64 m) {
    const i64 e = real_exp_of(x);
    if (real_is_zero(x) || e > 19 * m - 1) return real_copy(r, x);
    if (e < -1) return real_zero(r, real_sign(x));
    real_round_digits(r, x, static_cast<i32>(e + 1));
}

}  // namespace

void real_to_text_sink(TextBuf* sink, const u64* value, u32 flags) {
    const i64 m = real_words();
    if (!text_real_well_formed(value, m)) return text_sink_put_ascii(sink, "[?]");
    const i64 start = sink->length;
    const bool negative = real_sign(value) && !real_is_zero(value);
    if (negative)
        text_sink_put(sink, u'-');
    else if (flags & NUM_TEXT_SIGN)
        text_sink_put(sink, u'+');
    ScratchMark mark;
    const u64* x = value;
    if (flags & NUM_TEXT_WHOLE) {
        u64* r = mark.take(static_cast<std::size_t>(m) + 1);
        if (!r) {
            sink->length = start;
            return text_sink_put_text(sink, TEXT_MARK_INTERNAL);
        }
        round_to_units(r, value, m);
        x = r;
    }
    const Shape v{x + 1, real_exp_of(x), kept_digits(x, m)};
    const bool whole = flags & NUM_TEXT_WHOLE;
    const bool fixed = (whole || (!(flags & NUM_TEXT_EXP_ALWAYS) && v.e > mp_fixed_exp_low)) &&
                       v.e < (whole ? mp_fixed_exp_high_int : mp_fixed_exp_high);
    if (fixed && (v.e > kFixedExpLimit || v.e < -kFixedExpLimit)) {
        sink->length = start;
        mp_raise(MP_ERR_INTERNAL);
        return text_sink_put_text(sink, TEXT_MARK_INTERNAL);
    }
    Writer w{sink, m, flags, text_out_char(mp_decimal_chars, u'.')};
    if (!fixed) return w.exponent(v);
    const bool fraction = v.e >= 0 ? w.fixed_nonneg(v) : w.fixed_neg(v);
    if (!fraction && (flags & NUM_TEXT_POINT_ZERO)) {
        text_sink_put(sink, w.sep);
        text_sink_put(sink, u'0');
    }
}

i32 real_to_text(char16_t* buffer, i32 capacity, const u64* value, u32 flags) {
    TextBuf sink = text_sink_open(buffer, capacity);
    real_to_text_sink(&sink, value, flags);
    return static_cast<i32>(text_sink_finish(&sink, flags));
}
