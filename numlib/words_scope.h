// Runs the library at another word count for the lifetime of the object,
// restoring the count on every return path. Buffers handed to the routines
// meanwhile must have that many words.
#pragma once

#include "numlib/mp_context.h"

// mp_int_words: the uint and rat routines (words per part).
class IntWordsScope {
  public:
    explicit IntWordsScope(i64 words) : saved_(mp_int_words) {
        mp_int_words = static_cast<i32>(words);
    }
    ~IntWordsScope() { mp_int_words = saved_; }
    IntWordsScope(const IntWordsScope&) = delete;
    IntWordsScope& operator=(const IntWordsScope&) = delete;

  private:
    i32 saved_;
};

// mp_real_words: the real and cplx routines (mantissa words per part).
class RealWordsScope {
  public:
    explicit RealWordsScope(i32 words) : saved_(mp_real_words) { mp_real_words = words; }
    ~RealWordsScope() { mp_real_words = saved_; }
    RealWordsScope(const RealWordsScope&) = delete;
    RealWordsScope& operator=(const RealWordsScope&) = delete;

  private:
    i32 saved_;
};
