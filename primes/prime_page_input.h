// The inputs of the two prime pages, without the windows: the start number
// and the interval size read the way the pages read their edits, written
// back in a normal form, and re-expressed when the page's base changes.
#pragma once

#include <string>
#include <string_view>

#include "numlib/mp_types.h"

// Characters a page reads from an edit: enough for a two-word number, and
// for a 65-word number of the probabilistic method (with digit groups).
constexpr i64 PRIME_PAGE_TEXT_SHORT = 161;
constexpr i64 PRIME_PAGE_TEXT_LONG = 5201;

// Words of the numbers: the exact method and the factor page take numbers
// below 2^128, the probabilistic method numbers below 2^4160.
constexpr i32 PRIME_PAGE_WORDS_SHORT = 2;
constexpr i32 PRIME_PAGE_WORDS_LONG = 65;

// The largest interval sizes of the two pages.
constexpr i64 PRIME_PAGE_INTERVAL_MAX = 2147483647;
constexpr i64 FACTOR_PAGE_INTERVAL_MAX = 1000000;

// Reads text as a whole number of mp_int_words words in base (digit groups
// and lower-case hexadecimal digits accepted) into dst. On success *normal
// is the number as the page writes it back (format_flags in base) and the
// result is true. A text that is no number, does not fit or is 0 raises
// application error 1000 naming the text; dst is then 0 and mp_error clear.
bool prime_page_read_number(std::u16string_view text, u32 base, u32 format_flags, u64* dst,
                            std::u16string* normal);

// Reads an interval size as prime_page_read_number does, from 1 to max. A
// blank text (spaces and tabs only) gives blank_value when that is positive
// (and leaves *normal empty). Anything else raises 1000 naming the text.
bool prime_page_read_interval(std::u16string_view text, u32 base, u32 format_flags, i64 max,
                              i64 blank_value, i64* size, std::u16string* normal);

// The number in text, written in base from, as the page writes it in base
// to, read with words words (mp_int_words is restored). A blank text stays
// as it is. A text that is no such number raises 1000 naming it and
// returns false.
bool prime_page_rebase(std::u16string_view text, i32 words, u32 from, u32 to, u32 format_flags,
                       std::u16string* out);
