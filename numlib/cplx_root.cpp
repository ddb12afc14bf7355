// The k-th of the n-th roots of a complex value. The argument of a is split
// into whole quarter turns q and a small angle beta, |beta| <= pi/4, taken
// from the arctangent of the smaller part over the larger one. The root's
// angle (j pi/2 + beta) / |n|, j = q + 4k', is then written as t quarter
// turns plus (r pi/2 + beta) / |n| with j = t |n| + r, 0 <= r < |n|: the
// quarter turns are applied exactly by exchanging and negating cosine and
// sine, and only the rest, below 3 pi/4, goes through them. A root on an
// axis (r = 0, beta = 0) thus has exact parts 0 and +-|a|^(1/n).
#include "numlib/cplx_impl.h"
#include "numlib/real_const.h"
#include "numlib/real_fn.h"
#include "numlib/real_fn_impl.h"

namespace {

constexpr i64 ROOT_DEGREE_MAX = i64{1} << 61;

// The argument of a = q pi/2 + beta in (-pi, pi], and whether it was reached
// by going once round backwards (the root index then drops by one).
struct ArgSplit {
    i64 q;
    bool back;
};

// beta into dst; a != 0.
ArgSplit split_argument(u64* beta, const u64* a, u64* mag) {
    const u64* im = cplx_im(a);
    if (real_cmp_abs(im, a) <= 0) {
        real_copy(mag, a);
        mag[0] &= ~u64{1};
        real_atan2(beta, im, mag);
        if (!real_sign(a)) return {0, false};
        real_negate(beta);
        return {2, !real_is_zero(im) && real_sign(im)};
    }
    real_copy(mag, im);
    mag[0] &= ~u64{1};
    real_atan2(beta, a, mag);
    if (!real_sign(im)) {
        real_negate(beta);
        return {1, false};
    }
    return {3, true};
}

// (c, s) turned by t quarter turns counter-clockwise.
void quarter_turns(u64* c, u64* s, i64 t, u64* tmp) {
    for (i64 i = 0; i < t; ++i) {
        // (c, s) -> (-s, c)
        real_copy(tmp, c);
        real_copy(c, s);
        real_negate(c);
        real_copy(s, tmp);
    }
}

// cos and sin of the root's angle (both exact on an axis) into c, s.
void root_direction(u64* c, u64* s, const u64* a, i64 nn, i64 k, u64* t1, u64* t2) {
    const ArgSplit arg = split_argument(t1, a, t2);
    // j = q + 4 k' lies in -2 .. 2^63 - 1 because |n| <= 2^61.
    const i64 j = arg.q + 4 * (k - (arg.back ? 1 : 0));
    i64 t = j / nn, r = j % nn;
    if (r < 0) r += nn, --t;
    if (r == 0 && real_is_zero(t1)) {
        real_one(c);
        real_zero(s, 0);
    } else {
        // psi = (r pi/2 + beta) / |n|
        real_const(t2, REAL_CONST_PI_2);
        real_mul_u64_r(t2, t2, static_cast<u64>(r));
        real_add_r(t2, t2, t1);
        real_div_u64_r(t2, t2, static_cast<u64>(nn));
        real_cos(c, t2);
        real_sin(s, t2);
    }
    quarter_turns(c, s, ((t % 4) + 4) % 4, t1);
}

// |a|^(1/n) into dst; a != 0.
void root_modulus(u64* dst, i64 n, const u64* a) {
    real_hypot(dst, a, cplx_im(a));
    if (n == 2) return real_sqrt(dst, dst);
    if (n == 3) return real_cbrt(dst, dst);
    real_root_int(dst, n, dst);
}

// The root at the current precision; a != 0, |n| >= 2.
void root_body(u64* dst, i64 n, const u64* a, i64 k) {
    ScratchMark mark;
    u64* c = real_take(mark);
    u64* s = real_take(mark);
    u64* rad = real_take(mark);
    u64* t1 = real_take(mark);
    u64* t2 = real_take(mark);
    if (!t2) return cplx_fail(dst, 0);
    root_direction(c, s, a, n < 0 ? -n : n, k, t1, t2);
    if (n < 0) real_negate(s);
    root_modulus(rad, n, a);
    real_mul_r(dst, rad, c);
    real_mul_r(cplx_im(dst), rad, s);
}

bool root_parameters_valid(i64 n, i64 k) {
    if (n == 0 || n > ROOT_DEGREE_MAX || n < -ROOT_DEGREE_MAX) return false;
    return k >= 0 && k < (n < 0 ? -n : n);
}

}  // namespace

void cplx_root_k(u64* dst, i64 n, const u64* a, i64 k) {
    if (!root_parameters_valid(n, k)) return cplx_fail(dst, MP_ERR_DOMAIN);
    if (real_is_zero(a) && cplx_is_real(a)) return cplx_fail(dst, n > 0 ? 0 : MP_ERR_DOMAIN);
    if (n == 1) {
        cplx_copy(dst, a);
    } else if (n == -1) {
        cplx_recip(dst, a);
    } else {
        CplxWork work(3);
        u64* t = work.widen(a);
        u64* out = t ? work.take() : nullptr;
        if (!out) return work.fail(dst);
        root_body(out, n, t, k);
        work.finish(dst, out);
    }
    if (mp_err() != 0) cplx_zero(dst);
}
