// Complex products. Real operands multiply as reals; otherwise the four
// part products are rounded at one word beyond the caller's precision, so the
// rounding of the sums p1 - p3 and p2 + p4 costs less than a unit of the
// final last digit even when a part cancels.
#include "numlib/cplx_impl.h"
#include "numlib/real_fn_impl.h"

namespace {

// dst = s * b for a real s (the real part of a value whose imaginary part is
// zero): part by part, no cancellation.
void scale_by_real(u64* dst, const u64* s, const u64* b, u64* re, u64* im) {
    real_mul_r(re, s, b);
    real_mul_r(im, s, cplx_im(b));
    real_copy(dst, re);
    real_copy(cplx_im(dst), im);
}

}  // namespace

void cplx_mul_body(u64* dst, const u64* a, const u64* b) {
    ScratchMark mark;
    u64* p1 = real_take(mark);
    u64* p2 = real_take(mark);
    u64* p3 = real_take(mark);
    u64* p4 = real_take(mark);
    if (!p4) return cplx_fail(dst, 0);
    const bool a_real = cplx_is_real(a), b_real = cplx_is_real(b);
    if (a_real && b_real) {
        real_mul_r(dst, a, b);
        return real_zero(cplx_im(dst), 0);
    }
    if (a_real) return scale_by_real(dst, a, b, p1, p2);
    if (b_real) return scale_by_real(dst, b, a, p1, p2);
    real_mul_r(p1, a, b);
    real_mul_r(p2, a, cplx_im(b));
    real_mul_r(p3, cplx_im(a), cplx_im(b));
    real_mul_r(p4, cplx_im(a), b);
    real_sub_r(dst, p1, p3);
    real_add_r(cplx_im(dst), p2, p4);
}

void cplx_mul(u64* dst, const u64* a, const u64* b) {
    if (cplx_is_real(a) && cplx_is_real(b)) {
        real_mul_r(dst, a, b);
        real_zero(cplx_im(dst), 0);
    } else {
        CplxWork work(2);
        u64* t = work.widen(a);
        u64* u = t ? work.widen(b) : nullptr;
        if (!u) return work.fail(dst);
        cplx_mul_body(t, t, u);
        work.finish(dst, t);
    }
    if (mp_err() != 0) cplx_zero(dst);
}

// The extra products are replaced by two sums of operand parts, so the
// imaginary part is a difference of products about |a| |b| in size.
void cplx_mul3(u64* dst, const u64* a, const u64* b) {
    if (cplx_is_real(a) || cplx_is_real(b)) return cplx_mul(dst, a, b);
    CplxWork work(2);
    u64* t = work.widen(a);
    u64* u = t ? work.widen(b) : nullptr;
    u64* ac = u ? work.take() : nullptr;
    u64* sum = ac ? work.take() : nullptr;
    if (!sum) return work.fail(dst);
    u64* bd = cplx_im(ac);
    u64* sum_b = cplx_im(sum);
    real_mul_r(ac, t, u);
    real_mul_r(bd, cplx_im(t), cplx_im(u));
    real_add_r(sum, t, cplx_im(t));
    real_add_r(sum_b, u, cplx_im(u));
    real_mul_r(sum, sum, sum_b);
    real_sub_r(t, ac, bd);
    real_sub_r(sum, sum, ac);
    real_sub_r(cplx_im(t), sum, bd);
    work.finish(dst, t);
    if (mp_err() != 0) cplx_zero(dst);
}
