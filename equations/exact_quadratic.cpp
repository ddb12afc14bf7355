// Exact roots of a quadratic factor: t +- F*sqrt(R) with
//   D = a_1^2 - 4 a_2 a_0,  t = -a_1 / (2 a_2),  |D| = num / den,
//   num = o1^2 s1,  den = o2^2 s2  (s1, s2 square-free),
//   sqrt|D| = o1 / (o2 s2) * sqrt(s1 s2),  F = o1 / (o2 s2) / (2 a_2),  R = s1 s2,
// so that F sqrt(R) = sqrt|D| / (2 a_2) carries the sign of a_2 and the "+"
// text always belongs to the root (-a_1 + sqrt(D)) / (2 a_2).
//
//   D = 0                 t                 t
//   R = 1, D > 0          t+F               t-F
//   R = 1, D < 0          [t]F*i            [t]-F*i
//   R != 1                [t]G(F)sqrt(R)    [t]G(-F)sqrt(R)   (*i when D < 0)
//
// [t] is written only for t != 0 and then the next rational carries its sign;
// G(F) is F followed by "*", or only F's sign when |F| = 1. Complex pairs get
// no text when only real roots are wanted.
#include "app/app_error.h"
#include "equations/exact.h"
#include "equations/exact_impl.h"
#include "numlib/cplx.h"
#include "numlib/mp_error.h"
#include "numlib/num.h"
#include "numlib/num_text.h"
#include "numlib/rat.h"
#include "numlib/real.h"
#include "numlib/real_fn.h"
#include "numlib/uint.h"

namespace {

struct QuadraticParts {
    RatValues v{6};
    u64* disc() { return v[0]; }
    u64* t() { return v[1]; }
    u64* f() { return v[2]; }
    u64* neg_f() { return v[3]; }
    u64* r() { return v[4]; }  // an integer
    u64* two_a2() { return v[5]; }
};

// t, D, F and R of eq; false on a library error (left pending).
bool quadratic_parts(const poly_equation& eq, QuadraticParts& p) {
    RatValues w(4);
    const u64* a0 = eq.coef[0];
    const u64* a1 = eq.coef[1];
    const u64* a2 = eq.coef[2];
    rat_mul_div(w[0], a1, a1, false);
    rat_mul_div(w[1], a2, a0, false);
    rat_mul_u64(w[1], w[1], 4);
    rat_add_sub(p.disc(), w[0], w[1], true);
    rat_mul_u64(p.two_a2(), a2, 2);
    rat_mul_div(p.t(), a1, p.two_a2(), true);
    rat_negate(p.t());

    UintValues u(5);  // o1, s1, o2, s2, scale
    square_part(u[0], u[1], rat_num(p.disc()));
    square_part(u[2], u[3], rat_den(p.disc()));
    uint_mul(u[4], u[2], u[3]);
    uint_mul(rat_num(p.r()), u[1], u[3]);
    uint_set_u64(rat_den(p.r()), 1);
    uint_copy(rat_num(w[2]), u[0]);
    uint_copy(rat_den(w[2]), u[4]);
    w[2][0] = 0;
    rat_reduce(rat_num(w[2]), rat_den(w[2]));
    rat_mul_div(p.f(), w[2], p.two_a2(), true);
    rat_copy(p.neg_f(), p.f());
    rat_negate(p.neg_f());
    return mp_err() == 0;
}

bool is_unit(const u64* x) {
    return rat_cmp_i64(x, 1) == 0 || rat_cmp_i64(x, -1) == 0;
}

// One text of the "t +- F ..." shapes; `f` is F or -F.
void quadratic_text(ExactText& out, QuadraticParts& p, const u64* f, u32 flags) {
    const int d_sign = rat_cmp_i64(p.disc(), 0);
    const bool root_one = uint_is_one(rat_num(p.r()));
    if (d_sign == 0) return out.put_rat(p.t(), flags);
    if (root_one && d_sign > 0) {
        RatValues sum(1);
        rat_add_sub(sum[0], p.t(), f, false);
        return out.put_rat(sum[0], flags);
    }
    u32 f_flags = flags;
    if (rat_cmp_i64(p.t(), 0) != 0) {
        out.put_rat(p.t(), flags);
        f_flags |= NUM_TEXT_SIGN;
    }
    if (root_one) {
        out.put_rat(f, f_flags);
    } else {
        out.put_rat(f, f_flags);
        if (is_unit(f)) {
            out.drop_last();
        } else {
            out.put(u'*');
        }
        out.put_ascii("sqrt(");
        out.put_rat(p.r(), flags & ~NUM_TEXT_SIGN);
        out.put(u')');
    }
    if (d_sign < 0) {
        out.put(u'*');
        out.put(mp_imag_chars[0]);
    }
}

// Roots i and j from the rational D and coefficients, at the current precision.
void quadratic_approximations(QuadraticParts& p, const poly_equation& eq, root_result& result,
                              i32 i, i32 j) {
    MpIsolate isolate;
    CplxValues c(4);  // D, a_0, a_1, a_2
    cplx_from_rat(c[0], p.disc());
    for (i32 k = 0; k <= 2; ++k) cplx_from_rat(c[k + 1], eq.coef[k]);
    const bool converted = isolate.inner() == 0;
    isolate.clear_inner();
    if (converted) quadratic_roots_from(c[0], c[1], c[2], c[3], result, i, j);
}

}  // namespace

void quadratic_roots_from(const u64* d, const u64* a0, const u64* a1, const u64* a2,
                          root_result& result, i32 i, i32 j) {
    MpIsolate isolate;
    const i32 m = mp_real_words;
    CplxValues c(5);  // s, -a_1 + s, -a_1 - s, 2 a_2, 2 a_0
    cplx_zero(c[0]);
    const int d_sign = real_is_zero(d) ? 0 : (real_sign(d) ? -1 : 1);
    u64* s = d_sign < 0 ? cplx_im_of(c[0], m) : c[0];
    real_guarded_binary(s, d, cplx_im_of(d, m), 2, real_hypot);
    real_guarded_unary(s, s, 2, real_sqrt);
    cplx_sub(c[1], c[0], a1);
    cplx_add(c[2], c[0], a1);
    cplx_neg(c[2], c[2]);
    cplx_mul_u64(c[3], a2, 2);
    cplx_mul_u64(c[4], a0, 2);
    u64* plus = result.roots[i];
    u64* minus = result.roots[j];
    CplxValues out(2);
    // For real roots one of -a_1 +- s cancels; that root is 2 a_0 over the other sum.
    if (d_sign <= 0 || real_sign(a1) == 1) {
        cplx_div(out[0], c[1], c[3]);
    } else {
        cplx_div(out[0], c[4], c[2]);
    }
    if (d_sign <= 0 || real_sign(a1) == 0) {
        cplx_div(out[1], c[2], c[3]);
    } else {
        cplx_div(out[1], c[4], c[1]);
    }
    for (int k = 0; k < 2; ++k) {
        cplx_round_digits(out[k], out[k], result.iter_digits);
        clear_zero_signs(out[k]);
    }
    if (isolate.inner() == 0) {
        cplx_copy(plus, out[0]);
        cplx_copy(minus, out[1]);
    }
    isolate.clear_inner();
}

void exact_quadratic(const poly_equation& eq, root_result& result, i32 i, i32 j) {
    if (i < 0 || i >= ROOT_MAX_DEGREE || j < 0 || j >= ROOT_MAX_DEGREE || i == j) return;
    if (eq.degree != 2) return;
    char16_t* ti = result.exact_text[i];
    char16_t* tj = result.exact_text[j];
    if (ti == nullptr || tj == nullptr || result.roots[i] == nullptr ||
        result.roots[j] == nullptr) {
        return;
    }
    ti[0] = 0;
    tj[0] = 0;
    MpIsolate isolate;
    QuadraticParts p;
    ExactText text_i, text_j;
    if (quadratic_parts(eq, p)) {
        const bool complex_pair = rat_cmp_i64(p.disc(), 0) < 0;
        if (complex_pair && result.real_only) return;
        quadratic_text(text_i, p, p.f(), result.format_flags);
        quadratic_text(text_j, p, p.neg_f(), result.format_flags);
    }
    const i32 err = isolate.inner();
    isolate.clear_inner();
    if (err != 0) {
        if (err == MP_ERR_TEXT_SPACE) raiseAppError(APP_ERR_TEXT_OVERFLOW, nullptr, nullptr);
        return;
    }
    text_i.store(ti);
    text_j.store(tj);
    if (ti[0] == 0 || tj[0] == 0) return;
    quadratic_approximations(p, eq, result, i, j);
}
