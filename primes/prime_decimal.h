// Decimal text of the listed primes below 2^64 without a division per
// digit: a value is cut once into its last six digits and the rest, the six
// come from a table of three-digit groups, and the text of the rest is kept
// from the last value, since neighbouring primes share it nearly always.
// The text is the same as uint_to_text's in base 10 (grouping by three with
// the given separator, none when it is 0).
#pragma once

#include "numlib/mp_types.h"

constexpr int DECIMAL_TEXT_MAX = 26;  // 20 digits and 6 separators

class DecimalRun {
  public:
    explicit DecimalRun(char16_t separator) : sep_(separator) {}
    // Writes the text of v to out (DECIMAL_TEXT_MAX characters at most, no
    // terminator); returns its length.
    int write(u64 v, char16_t* out);

  private:
    void set_high(u64 high);

    char16_t sep_;
    u64 high_ = ~u64{0};
    char16_t prefix_[DECIMAL_TEXT_MAX];  // the text of high_ with its separator after it
    int prefix_len_ = 0;
};
