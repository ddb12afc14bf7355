// The output box's text of a polynomial operation: the header line with the
// operands and the term lists, and one line per result coefficient.
#pragma once

#include <array>
#include <string>

#include "polynomial/poly.h"

// The degree a result is shown with: its degree, or 0 for the zero polynomial.
i32 poly_shown_degree(const Poly& p);

// Appends the header: the operand names P0(x) .. P(count-1)(x) joined by
// " o " (with op '^' the second operand is the exponent e in decimal), " = ",
// the term list of s with letter b, for op '/' four blanks, the remainder
// label, four blanks and the term list of *rem with letter r, then an empty
// line. A term list that does not fit raises 9002.
void poly_append_header(std::u16string& out, char16_t op, i32 count, i64 e, const Poly& s,
                        const Poly* rem, const char16_t* remainder_label);

// Appends the line "<letter>k = <number>" for k = shown degree .. 0, each
// ended by "\r\n", with the numbers written by num_to_text(flags). When saved
// is not null, slot k receives the number's text.
void poly_append_lines(std::u16string& out, char16_t letter, const Poly& p, u32 flags,
                       std::array<std::u16string, POLY_SLOTS>* saved);
