// Guarded calls: a body runs at m + 1 words on widened copies of its
// operands, and its result is rounded once to m words with the extra word as
// the spill. Special values and powers of ten are built the same way.
#include "numlib/real_const.h"
#include "numlib/real_impl.h"
#include "numlib/vec.h"

namespace {

// The context of one guarded call: from construction to finish() the
// precision is m + 1 words with one guard word and 19 - g guard digits.
// Scratch taken through it lives until the object is destroyed.
class GuardedCall {
  public:
    explicit GuardedCall(i32 g) : m_(mp_real_words) {
        mp_guard_words = 1;
        mp_guard_digits = 19 - g;
        mp_real_words = m_ + 1;
    }
    ~GuardedCall() { restore(); }
    GuardedCall(const GuardedCall&) = delete;
    GuardedCall& operator=(const GuardedCall&) = delete;

    // A value at the working precision, uninitialised; nullptr (error 30)
    // when the scratch area is exhausted.
    u64* take() { return mark_.take(static_cast<std::size_t>(m_) + 2); }

    // A copy of the m-word value a with a zero guard word.
    u64* widen(const u64* a) {
        u64* t = take();
        if (!t) return nullptr;
        vec_copy_fwd(t, a, m_ + 1);
        t[m_ + 1] = 0;
        return t;
    }

    // Back to m words; dst = the body's result t rounded with its guard word.
    void finish(u64* dst, const u64* t) {
        const bool round = mp_guard_words >= 1;
        restore();
        vec_copy_fwd(dst, t, m_ + 1);
        if (round) real_round_guard(dst, t[m_ + 1], m_);
    }

    // Back to m words; dst = +0 (the error is already raised).
    void fail(u64* dst) {
        restore();
        real_zero(dst, 0);
    }

  private:
    void restore() {
        mp_real_words = m_;
        mp_guard_words = 0;
        mp_guard_digits = 0;
    }

    ScratchMark mark_;
    i32 m_;
};

// Guarded calls do not nest (a nested one would need m + 2 words): a call
// inside one, or a guard digit count outside 0 .. 19, fails.
bool guard_allowed(u64* dst, i32 g) {
    if (mp_guard_words != 0) {
        real_fail(dst, MP_ERR_INTERNAL);
        return false;
    }
    if (g < 0 || g > 19) {
        real_fail(dst, MP_ERR_DOMAIN);
        return false;
    }
    return true;
}

}  // namespace

void real_guarded_unary(u64* dst, const u64* a, i32 g, RealUnaryFn fn) {
    if (!guard_allowed(dst, g)) return;
    GuardedCall call(g);
    u64* t = call.widen(a);
    if (!t) return call.fail(dst);
    fn(t, t);
    call.finish(dst, t);
}

void real_guarded_binary(u64* dst, const u64* a, const u64* b, i32 g, RealBinaryFn fn) {
    if (!guard_allowed(dst, g)) return;
    GuardedCall call(g);
    u64* t = call.widen(a);
    u64* u = t ? call.widen(b) : nullptr;
    if (!u) return call.fail(dst);
    fn(t, t, u);
    call.finish(dst, t);
}

void real_guarded_int(u64* dst, const u64* a, i64 k, i32 g, RealIntFn fn) {
    if (!guard_allowed(dst, g)) return;
    GuardedCall call(g);
    u64* t = call.widen(a);
    if (!t) return call.fail(dst);
    fn(t, t, k);
    call.finish(dst, t);
}

void real_guarded_binary_int(u64* dst, const u64* a, const u64* b, i64 k, int v,
                             RealBinaryIntFn fn) {
    if (!guard_allowed(dst, 19)) return;
    GuardedCall call(19);
    u64* t = call.widen(a);
    u64* u = t ? call.widen(b) : nullptr;
    if (!u) return call.fail(dst);
    fn(t, t, u, k, v);
    call.finish(dst, t);
}

void real_pow10(u64* dst, i64 k) {
    if (!guard_allowed(dst, 2)) return;
    GuardedCall call(2);
    u64* t = call.take();
    if (!t) return call.fail(dst);
    real_one(t);
    real_set_exp(t, k);
    call.finish(dst, t);
}

void real_special(u64* dst, i32 kind) {
    const i64 m = real_words();
    switch (kind) {
        case 0:
            return real_zero(dst, 0);
        case 10:
            real_zero(dst, 0);
            dst[1] = REAL_TOP;
            return real_set_header(dst, REAL_EXP_MIN, 0);
        case 11:
            for (i64 i = 1; i <= m; ++i) dst[i] = REAL_BASE - 1;
            return real_set_header(dst, REAL_EXP_MAX, 0);
        case 100:
            break;
        default:
            return real_fail(dst, MP_ERR_DOMAIN);
    }
    // pi = 2 (pi / 2), the doubling exact but for a carry into the spill.
    if (!guard_allowed(dst, 2)) return;
    GuardedCall call(2);
    u64* t = call.take();
    if (!t) return call.fail(dst);
    real_const(t, REAL_CONST_PI_2);
    real_add_sub(t, t, t, 0);
    call.finish(dst, t);
}
