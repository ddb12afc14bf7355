// Scratch discipline: temporaries come from a bump area and are released by
// restoring the top. A ScratchMark remembers the top and restores it on every
// return path. Running past the end of the area raises error 30 and yields
// nullptr; nothing is ever written outside the area. Once a take has failed,
// every later take from the same mark fails too, so a caller that checks
// only its last block never uses an earlier one that did not fit (a smaller
// block after it could still have fit).
#pragma once

#include "numlib/mp_error.h"

class ScratchMark {
  public:
    ScratchMark() : mark_(mp_scratch_top) {}
    ~ScratchMark() { mp_scratch_top = mark_; }
    ScratchMark(const ScratchMark&) = delete;
    ScratchMark& operator=(const ScratchMark&) = delete;

    // Takes count uninitialised words, or raises error 30 and returns nullptr.
    u64* take(std::size_t count) {
        std::size_t avail = static_cast<std::size_t>(mp_scratch_end - mp_scratch_top) / sizeof(u64);
        if (failed_ || mp_scratch_top == nullptr || count > avail) {
            failed_ = true;
            mp_raise(MP_ERR_INTERNAL);
            return nullptr;
        }
        u64* p = reinterpret_cast<u64*>(mp_scratch_top);
        mp_scratch_top += count * sizeof(u64);
        return p;
    }

  private:
    u8* mark_;
    bool failed_ = false;
};
