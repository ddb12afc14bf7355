#include "linear/linear_coef.h"

#include "numlib/cplx.h"
#include "numlib/mp_context.h"
#include "numlib/mp_error.h"
#include "numlib/rat.h"
#include "numlib/real.h"

namespace {

void real_rounded_add(u64* dst, const u64* a, const u64* b) {
    const u64 spill = real_add_sub(dst, a, b, 0);
    real_round_guard(dst, spill, mp_real_words);
}

void real_rounded_mul(u64* dst, const u64* a, const u64* b) {
    const u64 spill = real_mul(dst, a, b);
    real_round_guard(dst, spill, mp_real_words);
}

// A long quotient is only within a unit of its last word; the guard word
// keeps that unit below the rounding point.
void real_rounded_div(u64* dst, const u64* a, const u64* b) {
    real_guarded_binary(dst, a, b, 19,
                        [](u64* q, const u64* x, const u64* y) { real_div(q, x, y); });
}

}  // namespace

bool coef_type_valid(i32 type) {
    return type == MP_TYPE_RAT || type == MP_TYPE_REAL || type == MP_TYPE_CPLX;
}

bool coef_is_zero(const u64* a) {
    switch (mp_num_type) {
        case MP_TYPE_RAT:
            return rat_cmp_i64(a, 0) == 0;
        case MP_TYPE_REAL:
            return real_is_zero(a);
        case MP_TYPE_CPLX:
            return real_is_zero(a) && real_is_zero(cplx_im_of(a, mp_real_words));
        default:
            mp_raise(MP_ERR_TYPE);
            return true;
    }
}

bool coef_equals(const u64* a, i64 v) {
    switch (mp_num_type) {
        case MP_TYPE_RAT:
            return rat_cmp_i64(a, v) == 0;
        case MP_TYPE_REAL:
            return real_cmp_i64(a, v) == 0;
        case MP_TYPE_CPLX:
            return real_cmp_i64(a, v) == 0 && real_is_zero(cplx_im_of(a, mp_real_words));
        default:
            mp_raise(MP_ERR_TYPE);
            return false;
    }
}

void coef_copy(u64* dst, const u64* a) {
    switch (mp_num_type) {
        case MP_TYPE_RAT:
            rat_copy(dst, a);
            break;
        case MP_TYPE_REAL:
            real_copy(dst, a);
            break;
        case MP_TYPE_CPLX:
            cplx_copy(dst, a);
            break;
        default:
            mp_raise(MP_ERR_TYPE);
            break;
    }
}

void coef_set_i64(u64* dst, i64 v) {
    switch (mp_num_type) {
        case MP_TYPE_RAT:
            rat_from_i64(dst, v);
            break;
        case MP_TYPE_REAL:
            real_from_i64(dst, v);
            break;
        case MP_TYPE_CPLX:
            real_from_i64(dst, v);
            real_zero(cplx_im_of(dst, mp_real_words), 0);
            break;
        default:
            mp_raise(MP_ERR_TYPE);
            break;
    }
}

void coef_neg(u64* dst, const u64* a) {
    switch (mp_num_type) {
        case MP_TYPE_RAT:
            rat_copy(dst, a);
            if (rat_cmp_i64(dst, 0) != 0) dst[0] ^= 1;
            break;
        case MP_TYPE_REAL:
            real_copy(dst, a);
            real_negate(dst);
            break;
        case MP_TYPE_CPLX:
            cplx_neg(dst, a);
            break;
        default:
            mp_raise(MP_ERR_TYPE);
            break;
    }
}

void coef_add(u64* dst, const u64* a, const u64* b) {
    switch (mp_num_type) {
        case MP_TYPE_RAT:
            rat_add_sub(dst, a, b, false);
            break;
        case MP_TYPE_REAL:
            real_rounded_add(dst, a, b);
            break;
        case MP_TYPE_CPLX:
            cplx_add(dst, a, b);
            break;
        default:
            mp_raise(MP_ERR_TYPE);
            break;
    }
}

void coef_mul(u64* dst, const u64* a, const u64* b) {
    switch (mp_num_type) {
        case MP_TYPE_RAT:
            rat_mul_div(dst, a, b, false);
            break;
        case MP_TYPE_REAL:
            real_rounded_mul(dst, a, b);
            break;
        case MP_TYPE_CPLX:
            cplx_mul(dst, a, b);
            break;
        default:
            mp_raise(MP_ERR_TYPE);
            break;
    }
}

void coef_div(u64* dst, const u64* a, const u64* b) {
    switch (mp_num_type) {
        case MP_TYPE_RAT:
            rat_mul_div(dst, a, b, true);
            break;
        case MP_TYPE_REAL:
            real_rounded_div(dst, a, b);
            break;
        case MP_TYPE_CPLX:
            cplx_div(dst, a, b);
            break;
        default:
            mp_raise(MP_ERR_TYPE);
            break;
    }
}

void coef_abs(u64* dst, const u64* a) {
    switch (mp_num_type) {
        case MP_TYPE_RAT:
            rat_copy(dst, a);
            dst[0] &= ~u64{1};
            break;
        case MP_TYPE_REAL:
            real_copy(dst, a);
            dst[0] &= ~u64{1};
            break;
        case MP_TYPE_CPLX:
            cplx_abs(dst, a);
            break;
        default:
            mp_raise(MP_ERR_TYPE);
            break;
    }
}

int coef_cmp_abs(const u64* a, const u64* b) {
    return mp_num_type == MP_TYPE_RAT ? rat_cmp_abs(a, b) : real_cmp_abs(a, b);
}

void coef_round(u64* dst, i32 k) {
    switch (mp_num_type) {
        case MP_TYPE_REAL:
            real_round_digits(dst, dst, k);
            break;
        case MP_TYPE_CPLX:
            cplx_round_digits(dst, dst, k);
            break;
        default:
            break;
    }
}
