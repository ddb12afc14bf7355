// The scratch area of a worker thread. The library's context (word counts,
// number type, characters) is shared by every thread, but each thread that
// computes bump-allocates from an area of its own, so a worker never moves
// the scratch top of the thread that started it.
#pragma once

#include "numlib/mp_context.h"

// Gives the constructing thread a zero-filled scratch area of
// MP_SCRATCH_BYTES for the life of the object; the destructor frees it and
// leaves the thread without one. Without memory the thread has no area and
// routines that need scratch raise error 30. Create it first thing on a new
// thread, on the thread's own stack.
class MpThreadScratch {
  public:
    MpThreadScratch();
    ~MpThreadScratch();
    MpThreadScratch(const MpThreadScratch&) = delete;
    MpThreadScratch& operator=(const MpThreadScratch&) = delete;
};
