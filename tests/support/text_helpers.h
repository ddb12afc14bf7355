// Helpers of the number-text tests: UTF-16 strings from ASCII and back, GMP
// digit strings, and output buffers guarded by canary characters.
#pragma once

#include <gmp.h>

#include <string>
#include <vector>

#include "numlib/mp_types.h"

std::u16string u16(const std::string& s);
// The text as ASCII, with any other character as \uXXXX.
std::string ascii(const std::u16string& s);
// mpz_get_str with upper-case digits.
std::string mpz_digits(mpz_srcptr z, int base);
// s with sep between groups of group digits counted from the right.
std::string grouped(const std::string& digits, int group, char sep = '\'');

// An output buffer of capacity + 1 characters followed by canaries, for the
// conversions that take (buffer, capacity).
class GuardedBuffer {
  public:
    explicit GuardedBuffer(i32 capacity);
    char16_t* data() { return buf_.data() + kFront; }
    i32 capacity() const { return capacity_; }
    // The text of the returned length.
    std::u16string text(i32 length) const;
    // True when nothing before the buffer or after its terminator slot changed.
    bool canaries_intact() const;

  private:
    static constexpr std::size_t kFront = 4, kBack = 8;
    static constexpr char16_t kCanary = 0xBEEF;
    i32 capacity_;
    std::vector<char16_t> buf_;
};
