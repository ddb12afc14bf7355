// Error discipline: the first error raised wins; routines that probe for
// errors of their own isolate them from a pending one.
#pragma once

#include "numlib/mp_context.h"

inline i32 mp_err() {
    return mp_error.load(std::memory_order_relaxed);
}

// Raises code unless an error is already pending.
inline void mp_raise(i32 code) {
    i32 expected = 0;
    mp_error.compare_exchange_strong(expected, code, std::memory_order_relaxed);
}

// Saves and clears the pending error for the lifetime of the object; on
// destruction a saved error is put back (it wins over anything raised inside),
// otherwise what the body left stays.
class MpIsolate {
  public:
    MpIsolate() : saved_(mp_error.exchange(0, std::memory_order_relaxed)) {}
    ~MpIsolate() {
        if (saved_ != 0) mp_error.store(saved_, std::memory_order_relaxed);
    }
    MpIsolate(const MpIsolate&) = delete;
    MpIsolate& operator=(const MpIsolate&) = delete;

    // The error raised inside so far (0 = none).
    i32 inner() const { return mp_err(); }
    // Forgets an error raised inside (a probe that failed on purpose).
    void clear_inner() { mp_error.store(0, std::memory_order_relaxed); }

  private:
    i32 saved_;
};
