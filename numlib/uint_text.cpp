// Unsigned integers from and to text in bases 2 to 16.
#include <cmath>

#include "numlib/real_radix.h"
#include "numlib/text_impl.h"
#include "numlib/uint_impl.h"

namespace {

constexpr u64 kDecBase = 10000000000000000000ULL;

// What a scan of an integer text found: the characters [0, end) are valid
// and hold sig significant digits (leading zeros not counted); code is the
// syntax error at end (0 when the whole text is valid).
struct IntScan {
    i64 end = 0;
    i64 sig = 0;
    i64 digits = 0;
    i32 code = 0;
};

IntScan scan_int(const char16_t* s, i64 count, u32 in_flags, int base) {
    const bool lower = in_flags & NUM_IN_LOWER_HEX;
    IntScan r;
    bool seen_sign = false, prev_digit = false;
    for (i64 i = 0; i < count; ++i) {
        const char16_t c = s[i];
        const int v = text_digit_value(c, lower);
        if (v >= 0) {
            if (v >= base) break;
            if (v != 0 || r.sig > 0) ++r.sig;
            ++r.digits;
            prev_digit = true;
        } else if (c == u'+' && !seen_sign && r.digits == 0) {
            seen_sign = true;
            prev_digit = false;
        } else if (text_in_set(mp_group_chars, c) && (in_flags & NUM_IN_GROUPS) && prev_digit &&
                   i + 1 < count && text_digit_value(s[i + 1], lower) >= 0) {
            prev_digit = false;
        } else {
            break;
        }
        r.end = i + 1;
    }
    if (r.end < count || r.digits == 0) r.code = MP_ERR_SYNTAX;
    return r;
}

// The digit values of the valid text, most significant first, through fn.
template <class Fn>
void for_each_digit(const char16_t* s, i64 end, bool lower, Fn fn) {
    for (i64 i = 0; i < end; ++i) {
        const int v = text_digit_value(s[i], lower);
        if (v >= 0) fn(v);
    }
}

// Bases 2, 4, 8, 16: the bits of each digit from the bottom up.
void pack_bits(u64* acc, const char16_t* s, i64 end, bool lower, int bits) {
    i64 pos = 0;
    for (i64 i = end - 1; i >= 0; --i) {
        const int v = text_digit_value(s[i], lower);
        if (v < 0) continue;
        // Leading zeros may run past the words; they set no bits.
        if (v == 0) {
            pos += bits;
            continue;
        }
        const i64 w = pos >> 6;
        const int at = static_cast<int>(pos & 63);
        acc[w] |= static_cast<u64>(v) << at;
        if (at + bits > 64 && v >> (64 - at)) acc[w + 1] |= static_cast<u64>(v) >> (64 - at);
        pos += bits;
    }
}

// Other bases: Horner's rule on as many digits per step as fit a word.
// Returns the significant length.
i64 horner(u64* acc, const char16_t* s, i64 end, bool lower, int base) {
    i64 len = 0;
    u64 chunk = 0, scale = 1;
    const u64 limit = ~u64{0} / static_cast<u64>(base);
    auto flush = [&] {
        if (len > 0) {
            if (const u64 carry = vec_mul_word(acc, acc, len, scale)) acc[len++] = carry;
        }
        if (len == 0) {
            if (chunk) acc[len++] = chunk;
        } else if (vec_add_1(acc, acc, len, chunk)) {
            acc[len++] = 1;
        }
        chunk = 0;
        scale = 1;
    };
    for_each_digit(s, end, lower, [&](int v) {
        if (scale > limit) flush();
        chunk = chunk * static_cast<u64>(base) + static_cast<u64>(v);
        scale *= static_cast<u64>(base);
    });
    flush();
    return len;
}

// Base 10: the significant digits in words of 19, then the fast conversion.
// Returns the significant length, -1 when the scratch area ran out.
i64 from_decimal(u64* acc, const char16_t* s, i64 end, i64 sig, ScratchMark& mark) {
    const i64 k = (sig + 18) / 19;
    u64* dec = mark.take(static_cast<std::size_t>(k));
    if (!dec) return -1;
    // The first word takes sig mod 19 (or 19) digits.
    i64 word = k - 1, left = sig - 19 * (k - 1);
    u64 w = 0;
    bool started = false;
    for_each_digit(s, end, false, [&](int v) {
        if (v == 0 && !started) return;
        started = true;
        w = w * 10 + static_cast<u64>(v);
        if (--left == 0) {
            dec[word--] = w;
            w = 0;
            left = 19;
        }
    });
    return text_dec_to_bin(acc, dec, k);
}

// Converts the valid text into dst; false with the error code raised when
// it does not fit n words or the scratch area ran out.
bool convert_digits(u64* dst, const char16_t* s, const IntScan& scan, bool lower, int base) {
    const i64 n = uint_words();
    // sig digits need at least (sig - 1) log2(base) bits: beyond this limit
    // the value cannot fit, and below it n + 1 words always hold it.
    const double bits = std::log2(static_cast<double>(base));
    const i64 limit = static_cast<i64>(64.0 * static_cast<double>(n) / bits) + 2;
    if (scan.sig > limit) {
        mp_raise(MP_ERR_OVERFLOW);
        return false;
    }
    ScratchMark mark;
    const i64 k = (scan.sig + 18) / 19;
    const i64 cap = base == 10 && k > n + 1 ? k : n + 1;
    u64* acc = mark.take(static_cast<std::size_t>(cap));
    if (!acc) return false;
    vec_zero(acc, cap);
    i64 len;
    if ((base & (base - 1)) == 0) {
        pack_bits(acc, s, scan.end, lower, __builtin_ctz(static_cast<unsigned>(base)));
        len = vec_len(acc, cap);
    } else if (base == 10) {
        len = from_decimal(acc, s, scan.end, scan.sig, mark);
        if (len < 0) return false;
    } else {
        len = horner(acc, s, scan.end, lower, base);
    }
    if (len > n) {
        mp_raise(MP_ERR_OVERFLOW);
        return false;
    }
    uint_store(dst, acc, len);
    return true;
}

// ---- output ----------------------------------------------------------------------

// Base 10: the base-10^19 words of the value, the first without its leading
// zeros. False when the scratch area ran out or a stop request arrived.
bool put_decimal(TextBuf* sink, const u64* a, i64 na, u32 flags) {
    ScratchMark mark;
    const i64 k = real_dec_words_for(na);
    u64* dec = mark.take(static_cast<std::size_t>(k));
    if (!dec || !real_bin_to_dec(dec, k, a, na, k)) return false;
    i64 first = 0;
    while (first < k - 1 && dec[first] == 0) ++first;
    char digits[20];
    const int top = text_u64_digits(digits, dec[first]);
    const char16_t sep = (flags & NUM_TEXT_GROUP) ? text_out_char(mp_group_chars, 0) : 0;
    TextGrouper g(sink, top + 19 * (k - 1 - first), 3, sep);
    g.put(digits, top);
    for (i64 i = first + 1; i < k; ++i) {
        text_word_digits(digits, dec[i]);
        g.put(digits, 19);
    }
    return true;
}

// Bases 2, 4, 8, 16: bits digits straight from the words, top digit first.
void put_power_of_two(TextBuf* sink, const u64* a, i64 na, int bits, u32 flags) {
    static const char kDigits[] = "0123456789ABCDEF";
    const i64 bitlen = vec_bit_length(a, na);
    const i64 count = bitlen == 0 ? 1 : (bitlen + bits - 1) / bits;
    const char16_t sep = (flags & NUM_TEXT_GROUP) ? text_out_char(mp_group_chars, 0) : 0;
    TextGrouper g(sink, count, 4, sep);
    const u64 mask = (u64{1} << bits) - 1;
    for (i64 j = count - 1; j >= 0; --j) {
        const i64 pos = j * bits, w = pos >> 6;
        const int at = static_cast<int>(pos & 63);
        u64 v = a[w] >> at;
        if (at + bits > 64 && w + 1 < na) v |= a[w + 1] << (64 - at);
        g.put(&kDigits[v & mask], 1);
    }
}

}  // namespace

void uint_from_text(u64* dst, const char16_t* text, i32 len, u32 in_flags, i32 base) {
    vec_zero(dst, uint_words());
    i64 start, count;
    text_trim(&start, &count, text, len);
    if (base == 0) base = 10;
    if (base < 2 || base > 16) return mp_raise(MP_ERR_DOMAIN);
    const char16_t* s = text + start;
    const IntScan scan = scan_int(s, count, in_flags, base);
    // A value too large before the first bad character is an overflow.
    if (scan.sig > 0 && !convert_digits(dst, s, scan, in_flags & NUM_IN_LOWER_HEX, base)) {
        vec_zero(dst, uint_words());
        return;
    }
    if (scan.code != 0) {
        vec_zero(dst, uint_words());
        mp_raise(scan.code);
    }
}

void uint_to_text_sink(TextBuf* sink, const u64* value, u32 flags, i32 base) {
    if (base == 0) base = 10;
    if (base != 2 && base != 4 && base != 8 && base != 10 && base != 16) {
        text_sink_put_ascii(sink, "[P]");
        return mp_raise(MP_ERR_DOMAIN);
    }
    const i64 start = sink->length;
    if (flags & NUM_TEXT_SIGN) text_sink_put(sink, u'+');
    const i64 na = uint_len(value);
    if (base != 10)
        return put_power_of_two(sink, value, na > 0 ? na : 1,
                                __builtin_ctz(static_cast<unsigned>(base)), flags);
    if (na == 0) return text_sink_put(sink, u'0');
    if (!put_decimal(sink, value, na, flags)) {
        // Scratch exhausted (error 30 raised) or a stop request.
        sink->length = start;
        mp_raise(MP_ERR_INTERNAL);
        text_sink_put_text(sink, TEXT_MARK_INTERNAL);
    }
}

i32 uint_to_text(char16_t* buffer, i32 capacity, const u64* value, u32 flags, i32 base) {
    TextBuf sink = text_sink_open(buffer, capacity);
    uint_to_text_sink(&sink, value, flags, base);
    return static_cast<i32>(text_sink_finish(&sink, flags));
}
