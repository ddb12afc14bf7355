// Copies, signs, sums, rounding and the real-only operations of complex
// values, and the working-precision scope of the complex routines.
#include <algorithm>

#include "numlib/cplx_impl.h"
#include "numlib/real_fn.h"
#include "numlib/vec.h"

bool cplx_is_real(const u64* x) {
    return real_is_zero(cplx_im(x));
}

void cplx_fail(u64* dst, i32 code) {
    if (code) mp_raise(code);
    if (dst) cplx_zero(dst);
}

// ---- working precision --------------------------------------------------------

CplxWork::CplxWork(i32 g, i32 extra)
    : m_(mp_real_words), guard_words_(mp_guard_words), guard_digits_(mp_guard_digits) {
    if (guard_words_ == 0) {
        w_ = m_ + extra;
        mp_guard_digits = 19 * extra - g;
    } else {
        w_ = m_ + extra - 1;
        mp_guard_digits = std::min(guard_digits_, 19 - g) + 19 * (extra - 1);
    }
    mp_guard_words = 1;
    mp_real_words = w_;
}

void CplxWork::restore() {
    if (!active_) return;
    active_ = false;
    mp_real_words = m_;
    mp_guard_words = guard_words_;
    mp_guard_digits = guard_digits_;
}

u64* CplxWork::take() {
    return mark_.take(static_cast<std::size_t>(cplx_value_words(w_)));
}

u64* CplxWork::widen(const u64* a) {
    u64* t = take();
    if (!t) return nullptr;
    real_resize(t, w_, a, m_);
    real_resize(cplx_im_of(t, w_), w_, cplx_im_of(a, m_), m_);
    return t;
}

void CplxWork::finish(u64* dst, const u64* t) {
    restore();
    if (mp_err() != 0) return cplx_zero(dst);
    real_resize(dst, m_, t, w_);
    u64* im = cplx_im_of(dst, m_);
    real_resize(im, m_, cplx_im_of(t, w_), w_);
    // A carry out of the top word may overflow the exponent (error 10).
    if (mp_err() != 0) return cplx_zero(dst);
    // Signs of zero parts carry no information here; results use +0.
    if (real_is_zero(dst)) real_zero(dst, 0);
    if (real_is_zero(im)) real_zero(im, 0);
}

void CplxWork::fail(u64* dst) {
    restore();
    cplx_zero(dst);
}

void cplx_guarded_unary(u64* dst, const u64* a, i32 g, CplxUnaryFn fn) {
    if (mp_guard_words != 0 || g < 0 || g > 19)
        return cplx_fail(dst, mp_guard_words != 0 ? MP_ERR_INTERNAL : MP_ERR_DOMAIN);
    CplxWork work(g);
    u64* t = work.widen(a);
    if (!t) return work.fail(dst);
    fn(t, t);
    work.finish(dst, t);
}

void cplx_guarded_binary(u64* dst, const u64* a, const u64* b, i32 g, CplxBinaryFn fn) {
    if (mp_guard_words != 0 || g < 0 || g > 19)
        return cplx_fail(dst, mp_guard_words != 0 ? MP_ERR_INTERNAL : MP_ERR_DOMAIN);
    CplxWork work(g);
    u64* t = work.widen(a);
    u64* u = t ? work.widen(b) : nullptr;
    if (!u) return work.fail(dst);
    fn(t, t, u);
    work.finish(dst, t);
}

// ---- copies and signs -----------------------------------------------------------

void cplx_zero(u64* dst) {
    real_zero(dst, 0);
    real_zero(cplx_im(dst), 0);
}

void cplx_copy(u64* dst, const u64* src) {
    if (dst != src) vec_copy_fwd(dst, src, cplx_value_words(mp_real_words));
}

void cplx_resize(u64* dst, i32 dst_m, const u64* src, i32 src_m) {
    if (dst_m < 1 || src_m < 1) {
        mp_raise(MP_ERR_INTERNAL);
        if (dst_m >= 1) vec_zero(dst, cplx_value_words(dst_m));
        return;
    }
    const u64* dst_end = dst + cplx_value_words(dst_m);
    const u64* src_end = src + cplx_value_words(src_m);
    ScratchMark mark;
    if (dst < src_end && src < dst_end) {
        // Overlapping parts at different offsets: read from a copy.
        u64* copy = mark.take(static_cast<std::size_t>(cplx_value_words(src_m)));
        if (!copy) return vec_zero(dst, cplx_value_words(dst_m));
        vec_copy_fwd(copy, src, cplx_value_words(src_m));
        src = copy;
    }
    real_resize(dst, dst_m, src, src_m);
    real_resize(cplx_im_of(dst, dst_m), dst_m, cplx_im_of(src, src_m), src_m);
}

void cplx_neg(u64* dst, const u64* a) {
    cplx_copy(dst, a);
    real_negate(dst);
    real_negate(cplx_im(dst));
}

// ---- sums, scaling and rounding ---------------------------------------------------

namespace {

void add_sub(u64* dst, const u64* a, const u64* b, int sub) {
    const i32 m = mp_real_words;
    real_round_guard(dst, real_add_sub(dst, a, b, sub), m);
    u64* im = cplx_im(dst);
    real_round_guard(im, real_add_sub(im, cplx_im(a), cplx_im(b), sub), m);
}

}  // namespace

void cplx_add(u64* dst, const u64* a, const u64* b) {
    add_sub(dst, a, b, 0);
}

void cplx_sub(u64* dst, const u64* a, const u64* b) {
    add_sub(dst, a, b, 1);
}

void cplx_mul_u64(u64* dst, const u64* a, u64 v) {
    const i32 m = mp_real_words;
    const bool real = cplx_is_real(a);
    real_round_guard(dst, real_mul_u64(dst, a, v), m);
    u64* im = cplx_im(dst);
    if (real) return real_zero(im, 0);
    real_round_guard(im, real_mul_u64(im, cplx_im(a), v), m);
}

void cplx_round_digits(u64* dst, const u64* a, i32 k) {
    if (k < 0) return cplx_fail(dst, MP_ERR_DOMAIN);
    real_round_digits(dst, a, k);
    real_round_digits(cplx_im(dst), cplx_im(a), k);
}

void cplx_divmod(u64* q, u64* r, const u64* a, const u64* b, i64 limit) {
    if (!cplx_is_real(a) || !cplx_is_real(b)) {
        mp_raise(MP_ERR_NOT_REAL);
        if (q) cplx_zero(q);
        if (r) cplx_zero(r);
        return;
    }
    real_divmod(q, r, a, b, limit);
    if (q) real_zero(cplx_im(q), 0);
    if (r) real_zero(cplx_im(r), 0);
}

void cplx_abs(u64* dst, const u64* a) {
    const u64* im = cplx_im(a);
    if (real_is_zero(a) || real_is_zero(im)) {
        // One part is zero: the modulus is the other part's magnitude, exactly.
        real_copy(dst, real_is_zero(a) ? im : a);
        dst[0] &= ~u64{1};
        real_zero(cplx_im(dst), 0);
    } else {
        CplxWork work(2);
        u64* t = work.widen(a);
        if (!t) return work.fail(dst);
        real_hypot(t, t, cplx_im(t));
        real_zero(cplx_im(t), 0);
        work.finish(dst, t);
    }
    if (mp_err() != 0) cplx_zero(dst);
}
