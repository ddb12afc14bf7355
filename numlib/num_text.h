// Number text: values of every number type to UTF-16 text through a bounded
// sink, and text back to values.
//
// Output goes through a TextBuf (numlib/text_buf.h) that counts every
// character it is given but stores only those that fit, so a caller can size a buffer from the
// length. The routines that take a buffer and return a length (uint_to_text, real_to_text,
// rat_to_text, cplx_to_text, num_to_text) are the top level: they start with "!" when an error is
// pending on entry, and finish the text (text_sink_finish). The *_sink routines append to a sink
// without finishing.
//
// Markers written in place of a number: "[$]" the text did not fit (error 20),
// "[?]" the value is not well-formed, "[P]" an output base other than 2, 4, 8,
// 10 and 16 (error 14), "[§]" scratch exhausted or an error arriving during a
// long conversion (error 30).
//
// Input routines trim U+0020 spaces at both ends, take len = -1 as "up to the
// first 0 character" (any other negative len is an empty text), and on any
// error raise it and give zero of their type (uint 0, rat 0/1, real +0,
// cplx 0 + 0i). Their results are computed the same way whether or not an
// error is pending; a pending error stays (the first error wins). The
// destination never overlaps the text.
#pragma once

#include "numlib/mp_types.h"
#include "numlib/text_buf.h"

// ---- format and input flags ---------------------------------------------------

enum : u32 {
    // Finish with a 0 character at the length (in the slot after capacity at
    // most); without it, finish with "#" when it fits, not counted.
    NUM_TEXT_TERMINATE = 0x01000000u,
    NUM_TEXT_SIGN = 0x02000000u,         // always a sign: "+" or "-"
    NUM_TEXT_EXP_NO_PLUS = 0x04000000u,  // real: no "+" after the exponent marker
    // Group the integer digits with mp_group_chars[0]: by 3 in base 10, by 4
    // in bases 2, 4, 8 and 16.
    NUM_TEXT_GROUP = 0x08000000u,
    // real: a text without fraction digits gets the decimal separator and "0".
    NUM_TEXT_POINT_ZERO = 0x10000000u,
    // real: rounded half up to a whole number; exponent notation only from
    // mp_fixed_exp_high_int.
    NUM_TEXT_WHOLE = 0x20000000u,
    NUM_TEXT_EXP_ALWAYS = 0x40000000u,  // real: exponent notation (not with WHOLE)
    NUM_TEXT_ALL_DIGITS = 0x80000000u,  // real: all 19 m digits, zero-padded
};

enum : u32 {
    NUM_IN_GROUPS = 0x1u,     // accept mp_group_chars between digits
    NUM_IN_LOWER_HEX = 0x2u,  // accept "a" .. "f" as digits
};

// ---- the text sink -------------------------------------------------------------

// Characters are stored at chars[length] while length < capacity; length
// counts every character appended. chars holds capacity + 1 characters: the
// last slot is for the terminator of text_sink_finish.

// A sink over buffer (capacity + 1 characters; capacity < 0 counts as 0,
// and a null buffer as capacity -1: nothing is ever stored).
TextBuf text_sink_make(char16_t* buffer, i64 capacity);
// As text_sink_make, then "!" when an error is pending.
TextBuf text_sink_open(char16_t* buffer, i64 capacity);
void text_sink_put(TextBuf* sink, char16_t c);
// Appends count characters of the 0-terminated ASCII text s (count -1: all).
void text_sink_put_ascii(TextBuf* sink, const char* s, i64 count = -1);
// Ends a top-level text: a text longer than capacity becomes "[$]" (when
// capacity >= 3; else empty) with error 20; then with NUM_TEXT_TERMINATE a 0
// character at the length, else "#" after the text when it fits (the length
// does not count it). Returns the final length.
i64 text_sink_finish(TextBuf* sink, u32 flags);

// ---- text ranges ----------------------------------------------------------------

// The range of text without leading and trailing U+0020 spaces: *start and
// *count (0 for an empty or all-space text). len = -1: up to the first 0
// character; other negative len: empty.
void text_trim(i64* start, i64* count, const char16_t* text, i64 len);

// ---- uint ------------------------------------------------------------------------

// dst (n words) = the text in base 2 .. 16 (0 means 10): an optional leading
// "+", digits "0".."9", "A".."F" (and "a".."f" with NUM_IN_LOWER_HEX), and
// with NUM_IN_GROUPS single group characters between digits. Errors: base
// outside 2..16: 14; a value that does not fit n words: 12 (when it does not
// fit before a syntax error is reached); any other text: 21.
void uint_from_text(u64* dst, const char16_t* text, i32 len, u32 in_flags, i32 base);
// Appends the n-word value in base 2, 4, 8, 10 or 16 (0 means 10), with the
// sign and grouping flags. Another base: "[P]" and error 14.
void uint_to_text_sink(TextBuf* sink, const u64* value, u32 flags, i32 base);
// The value as a finished text in buffer (capacity + 1 characters); returns
// the length.
i32 uint_to_text(char16_t* buffer, i32 capacity, const u64* value, u32 flags, i32 base);

// ---- rat -------------------------------------------------------------------------

// dst (2n + 1 words) = "[sign]numerator[/denominator]" in base 10, reduced to
// lowest terms. Errors: syntax 21, a part too large 12, zero denominator 14;
// dst = 0/1.
void rat_from_text(u64* dst, const char16_t* text, i32 len, u32 in_flags);
// "[sign]numerator[/denominator]" in base 10 (no "/1"); "[?]" for a value
// with a bad sign word or a zero denominator.
i32 rat_to_text(char16_t* buffer, i32 capacity, const u64* value, u32 flags);

// ---- real ------------------------------------------------------------------------

// dst (m + 1 words) = the decimal text "[sign]digits[sep digits][exp[sign]digits]"
// rounded half up to 19m digits. Errors: syntax 21; an exponent beyond the
// range 10 (below it, a signed zero without error).
void real_from_text(u64* dst, const char16_t* text, i32 len, u32 in_flags);
// Appends the m-word value in fixed or exponent notation as the display
// thresholds and flags choose; "[?]" for a value that is not well-formed.
void real_to_text_sink(TextBuf* sink, const u64* value, u32 flags);
i32 real_to_text(char16_t* buffer, i32 capacity, const u64* value, u32 flags);

// ---- cplx ------------------------------------------------------------------------

// dst (2m + 2 words: real part, then imaginary part at word m + 1) = "a",
// "bi", "a+bi", "bi+a", with "i" alone for 1, "-i", and a parenthesised
// imaginary part "(2e5)i". Errors as real_from_text; syntax 21.
void cplx_from_text(u64* dst, const char16_t* text, i32 len, u32 in_flags);
// "a", "bi" or "a+bi" (2+3i, 2-i, -i, 0.5i, 1+(2e-20)i).
i32 cplx_to_text(char16_t* buffer, i32 capacity, const u64* value, u32 flags);

// ---- current type ----------------------------------------------------------------

// The value of type mp_num_type as text: real, cplx, rat, uint (base 10).
// Another type: error 3 and an empty text.
i32 num_to_text(char16_t* buffer, i32 capacity, const u64* value, u32 flags);
