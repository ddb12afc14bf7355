// Helpers shared by the number-text routines (not part of the public
// interface): character classes, bulk appends, digit grouping and the
// decimal-to-binary conversion of long digit strings.
#pragma once

#include "numlib/mp_context.h"
#include "numlib/num_text.h"

// Whether c is one of the up to three characters of a context set; a 0 ends
// the set, so a 0 in the text never matches.
inline bool text_in_set(const char16_t* set, char16_t c) {
    for (int i = 0; i < 3 && set[i] != 0; ++i)
        if (set[i] == c) return true;
    return false;
}

// The character a set writes on output, or fallback for an emptied set.
inline char16_t text_out_char(const char16_t* set, char16_t fallback) {
    return set[0] != 0 ? set[0] : fallback;
}

// Value of "0".."9", "A".."F", and "a".."f" when lower is set; else -1.
inline int text_digit_value(char16_t c, bool lower) {
    if (c >= u'0' && c <= u'9') return c - u'0';
    if (c >= u'A' && c <= u'F') return c - u'A' + 10;
    if (lower && c >= u'a' && c <= u'f') return c - u'a' + 10;
    return -1;
}

// Appends count copies of c (any count >= 0; the work is bounded by the room
// left in the sink).
void text_sink_fill(TextBuf* sink, char16_t c, i64 count);
// Appends count ASCII characters.
void text_sink_put_chars(TextBuf* sink, const char* s, i64 count);
// Appends a 0-terminated UTF-16 text.
void text_sink_put_text(TextBuf* sink, const char16_t* s);
// The marker of an internal failure while formatting.
inline constexpr char16_t TEXT_MARK_INTERNAL[] = u"[\u00a7]";
// The text in the sink from position start, when all of it was stored.
inline bool text_sink_fits(const TextBuf* sink) {
    return sink->chars != nullptr && sink->length <= sink->capacity;
}

// Writes a run of total digits, putting sep before every digit whose count of
// digits after it (itself included) is a multiple of group and which is not
// the first. group 0 or sep 0: no separators.
class TextGrouper {
  public:
    TextGrouper(TextBuf* sink, i64 total, int group, char16_t sep)
        : sink_(sink), total_(total), group_(sep != 0 ? group : 0), sep_(sep) {}
    void put(const char* digits, i64 count);
    void fill(char c, i64 count);

  private:
    // Separators before the digits at positions [from, to).
    i64 separators(i64 from, i64 to) const;

    TextBuf* sink_;
    i64 total_;
    int group_;
    char16_t sep_;
    i64 pos_ = 0;
};

// The 19 decimal digits of w < 10^19, leading zeros included.
void text_word_digits(char* out, u64 w);
// Decimal digits of v (no sign); returns the count (at most 20).
int text_u64_digits(char* out, u64 v);

// Writes count digits of the mantissa {w, m} (most significant word first,
// 19 digits each) from digit index from on; indexes past 19m give "0".
void text_put_mantissa(TextGrouper& g, const u64* w, i64 m, i64 from, i64 count);

// Whether the m-word real x is well-formed: a normalised non-zero value with
// an exponent above -2^62, or a zero with exponent 0.
bool text_real_well_formed(const u64* x, i64 m);

// {out, k} = the binary value of the base-10^19 words {dec, k}, least
// significant first (10^(19k) < 2^(64k), so k words always hold it). Divides
// and conquers with the powers 10^(19 2^i) above a threshold. Returns the
// significant length, or -1 when the scratch area ran out (error 30 raised).
// out overlaps nothing.
i64 text_dec_to_bin(u64* out, const u64* dec, i64 k);

// Decimal words from which text_dec_to_bin splits.
constexpr i64 TEXT_DEC_TO_BIN_DC_THRESHOLD = 24;
