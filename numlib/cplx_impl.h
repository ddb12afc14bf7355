// Helpers shared by the complex routines (not part of the public interface).
#pragma once

#include "numlib/cplx.h"
#include "numlib/mp_scratch.h"
#include "numlib/real.h"

// The imaginary part at the current word count.
inline u64* cplx_im(u64* x) {
    return cplx_im_of(x, mp_real_words);
}
inline const u64* cplx_im(const u64* x) {
    return cplx_im_of(x, mp_real_words);
}

// Raises code (when non-zero) and makes dst 0 + 0i at the current words.
void cplx_fail(u64* dst, i32 code);

// A working precision for one complex operation. At the top level it adds
// `extra` words and marks the context as guarded (mp_guard_words = 1), so
// that the digits to make exact are 19m + g; inside a guarded call (the
// caller already added a word and rounds afterwards) it adds extra - 1. The
// caller's precision and guard state come back on finish() or destruction;
// scratch taken through take() lives as long as the object.
class CplxWork {
  public:
    CplxWork(i32 g, i32 extra = 1);
    ~CplxWork() { restore(); }
    CplxWork(const CplxWork&) = delete;
    CplxWork& operator=(const CplxWork&) = delete;

    // A complex value at the working words, uninitialised; nullptr (error 30)
    // when the scratch area is exhausted.
    u64* take();
    // A copy of the caller's value a at the working words (nullptr as take).
    u64* widen(const u64* a);
    // Back to the caller's words; dst = t rounded part by part, or 0 + 0i when
    // an error is pending.
    void finish(u64* dst, const u64* t);
    // Back to the caller's words; dst = 0 + 0i.
    void fail(u64* dst);

    i32 caller_words() const { return m_; }

  private:
    void restore();

    ScratchMark mark_;
    i32 m_, w_, guard_words_, guard_digits_;
    bool active_ = true;
};

// Bodies at the current precision, operands already widened; they round
// every product and sum with its spill and handle aliasing.
void cplx_mul_body(u64* dst, const u64* a, const u64* b);
void cplx_div_body(u64* dst, const u64* a, const u64* b);
void cplx_recip_body(u64* dst, const u64* a);
