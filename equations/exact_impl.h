// Helpers shared by the exact-solution files: owned temporaries of the
// current word counts and a bounded text builder.
#pragma once

#include <cstddef>
#include <vector>

#include "equations/roots.h"
#include "numlib/cplx.h"
#include "numlib/mp_context.h"
#include "numlib/mp_types.h"

// count values of `size` words each, zero-filled.
class WordValues {
  public:
    WordValues(std::size_t count, std::size_t size) : size_(size), words_(count * size, 0) {}
    u64* operator[](std::size_t k) { return words_.data() + k * size_; }

  private:
    std::size_t size_;
    std::vector<u64> words_;
};

// rat values at mp_int_words words per part.
class RatValues : public WordValues {
  public:
    explicit RatValues(std::size_t count)
        : WordValues(count, 2 * static_cast<std::size_t>(mp_int_words) + 1) {}
};

// uint values of mp_int_words words.
class UintValues : public WordValues {
  public:
    explicit UintValues(std::size_t count)
        : WordValues(count, static_cast<std::size_t>(mp_int_words)) {}
};

// real values at mp_real_words mantissa words.
class RealValues : public WordValues {
  public:
    explicit RealValues(std::size_t count)
        : WordValues(count, static_cast<std::size_t>(mp_real_words) + 1) {}
};

// cplx values at mp_real_words mantissa words per part.
class CplxValues : public WordValues {
  public:
    explicit CplxValues(std::size_t count)
        : WordValues(count, static_cast<std::size_t>(cplx_value_words(mp_real_words))) {}
};

// -x in place; zero keeps sign 0.
void rat_negate(u64* x);

// dst (cplx at mp_real_words) = the rat q (mp_int_words), rounded half up;
// errors as num_convert. Converts to a real and clears the imaginary part
// itself, keeping every write inside the 2m + 2 words of dst.
void cplx_from_rat(u64* dst, const u64* q);

// A zero part of a root carries no sign.
void clear_zero_signs(u64* root);

// Collects one exact text; more characters than a root's text slot holds
// are counted but not kept.
class ExactText {
  public:
    void put(char16_t c);
    void put_ascii(const char* s);
    // The rational's text (rat_to_text with flags); a rational longer than a
    // text slot raises library error 20.
    void put_rat(const u64* r, u32 flags);
    void drop_last();
    // Copies the text, terminated, into a slot of ROOT_EXACT_TEXT_CHARS + 1
    // characters; a longer text is cut to ROOT_EXACT_TEXT_CHARS characters
    // ending in "…" and raises application error 9002.
    void store(char16_t* slot) const;

  private:
    static constexpr i32 kept = ROOT_EXACT_TEXT_CHARS + 1;
    char16_t chars_[kept] = {};
    i32 length_ = 0;
};

// Roots i and j of a_2 x^2 + a_1 x + a_0 (real cplx values at the current
// precision, D = a_1^2 - 4 a_2 a_0): i gets (-a_1 + sqrt(D)) / (2 a_2), j the
// other root, each rounded to result.iter_digits. The root whose formula
// would cancel is taken from the product of the roots. On a library error
// (dropped) the roots keep their values.
void quadratic_roots_from(const u64* d, const u64* a0, const u64* a1, const u64* a2,
                          root_result& result, i32 i, i32 j);

// Writes r (flags | NUM_TEXT_TERMINATE) into a root's text slot. A library
// error empties the slot and is dropped; text space becomes application
// error 9002. Returns whether a text was written.
bool store_rat_text(char16_t* slot, const u64* r, u32 flags);
