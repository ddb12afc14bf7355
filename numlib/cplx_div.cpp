// Complex quotients and reciprocals. A complex divisor b is first scaled by
// 10^-e, e the larger exponent of its parts (and the dividend likewise), which
// is exact: |b|^2 then lies in [1, 200) and can neither overflow nor
// underflow, and the exponents come back once, at the end, where only a
// quotient that really leaves the range overflows or underflows. The division
// itself is (a conj b) / |b|^2, formed one word beyond the caller's precision.
#include <algorithm>

#include "numlib/cplx_impl.h"
#include "numlib/real_fn_impl.h"

namespace {

// The larger exponent of the non-zero parts of a non-zero value.
i64 top_exponent(const u64* x) {
    const u64* im = cplx_im(x);
    if (real_is_zero(x)) return real_exp_of(im);
    if (real_is_zero(im)) return real_exp_of(x);
    return std::max(real_exp_of(x), real_exp_of(im));
}

// dst = x * 10^-e for a real part x with exponent at most e (exact; a part
// far below the other may become zero).
void scale_part(u64* dst, const u64* x, i64 e) {
    real_copy(dst, x);
    if (!real_is_zero(dst)) real_set_exp(dst, real_exp_of(x) - e);
}

// Copies the parts of x scaled by 10^-e into re and im.
void scale(u64* re, u64* im, const u64* x, i64 e) {
    scale_part(re, x, e);
    scale_part(im, cplx_im(x), e);
}

// dst = (re + i im) * 10^e; the result of a division that has been scaled.
void unscale(u64* dst, const u64* re, const u64* im, i64 e) {
    real_copy(dst, re);
    real_copy(cplx_im(dst), im);
    if (!real_is_zero(dst)) real_add_exp(dst, e);
    if (!real_is_zero(cplx_im(dst))) real_add_exp(cplx_im(dst), e);
}

// |x|^2 of the parts re, im into d.
void norm(u64* d, const u64* re, const u64* im, u64* t) {
    real_mul_r(d, re, re);
    real_mul_r(t, im, im);
    real_add_r(d, d, t);
}

// a / b for a real divisor b.
void div_by_real(u64* dst, const u64* a, const u64* b, u64* re, u64* im) {
    const bool a_real = cplx_is_real(a);
    real_div_r(re, a, b);
    if (a_real) {
        real_zero(im, 0);
    } else {
        real_div_r(im, cplx_im(a), b);
    }
    real_copy(dst, re);
    real_copy(cplx_im(dst), im);
}

}  // namespace

void cplx_div_body(u64* dst, const u64* a, const u64* b) {
    if (real_is_zero(b) && cplx_is_real(b)) return cplx_fail(dst, MP_ERR_DIV_ZERO);
    ScratchMark mark;
    u64* t[8];
    for (u64*& p : t) p = real_take(mark);
    if (!t[7]) return cplx_fail(dst, 0);
    if (cplx_is_real(b)) return div_by_real(dst, a, b, t[0], t[1]);
    if (real_is_zero(a) && cplx_is_real(a)) return cplx_zero(dst);
    const i64 ea = top_exponent(a), eb = top_exponent(b);
    u64 *ar = t[0], *ai = t[1], *br = t[2], *bi = t[3], *d = t[4], *u = t[5], *nr = t[6],
        *ni = t[7];
    scale(ar, ai, a, ea);
    scale(br, bi, b, eb);
    norm(d, br, bi, u);
    real_mul_r(nr, ar, br);
    real_mul_r(u, ai, bi);
    real_add_r(nr, nr, u);
    real_mul_r(ni, ai, br);
    real_mul_r(u, ar, bi);
    real_sub_r(ni, ni, u);
    real_div_r(nr, nr, d);
    real_div_r(ni, ni, d);
    // ea - eb stays within i64: both exponents lie in -(2^62 - 1) .. 2^62 - 1.
    unscale(dst, nr, ni, ea - eb);
}

void cplx_recip_body(u64* dst, const u64* a) {
    if (real_is_zero(a) && cplx_is_real(a)) return cplx_fail(dst, MP_ERR_DIV_ZERO);
    if (cplx_is_real(a)) {
        real_recip(dst, a);
        return real_zero(cplx_im(dst), 0);
    }
    ScratchMark mark;
    u64* re = real_take(mark);
    u64* im = real_take(mark);
    u64* d = real_take(mark);
    u64* u = real_take(mark);
    if (!u) return cplx_fail(dst, 0);
    const i64 e = top_exponent(a);
    scale(re, im, a, e);
    norm(d, re, im, u);
    real_div_r(re, re, d);
    real_div_r(im, im, d);
    real_negate(im);
    unscale(dst, re, im, -e);
}

void cplx_div(u64* dst, const u64* a, const u64* b) {
    if (real_is_zero(b) && cplx_is_real(b)) return cplx_fail(dst, MP_ERR_DIV_ZERO);
    CplxWork work(2);
    u64* t = work.widen(a);
    u64* u = t ? work.widen(b) : nullptr;
    if (!u) return work.fail(dst);
    cplx_div_body(t, t, u);
    work.finish(dst, t);
}

void cplx_recip(u64* dst, const u64* a) {
    if (real_is_zero(a) && cplx_is_real(a)) return cplx_fail(dst, MP_ERR_DIV_ZERO);
    CplxWork work(2);
    u64* t = work.widen(a);
    if (!t) return work.fail(dst);
    cplx_recip_body(t, t);
    work.finish(dst, t);
}
