// Runs the uint and rat routines at another word count for the lifetime of
// the object, restoring the count on every return path. Buffers handed to
// them meanwhile must have that many words per part.
#pragma once

#include "numlib/mp_context.h"

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
