// Dispatch of the number-type-independent operations to the routine of the
// current type.
#include "numlib/cplx.h"
#include "numlib/mp_error.h"
#include "numlib/mp_scratch.h"
#include "numlib/num.h"
#include "numlib/rat.h"
#include "numlib/real.h"
#include "numlib/real_fn.h"
#include "numlib/uint.h"
#include "numlib/vec.h"

namespace {

// The current type, or 0 after raising error 3 for an unknown one.
i32 current_type() {
    const i32 t = mp_num_type;
    if (t == MP_TYPE_REAL || t == MP_TYPE_CPLX || t == MP_TYPE_UINT || t == MP_TYPE_RAT) return t;
    mp_raise(MP_ERR_TYPE);
    return 0;
}

u64* im(u64* x) {
    return cplx_im_of(x, mp_real_words);
}
const u64* im(const u64* x) {
    return cplx_im_of(x, mp_real_words);
}

void fail_cplx(u64* dst, i32 code) {
    mp_raise(code);
    cplx_zero(dst);
}

// A real value rounded with the spill of the operation that produced it.
void real_div_u64_rounded(u64* dst, const u64* a, u64 v) {
    const u64 spill = real_div_u64(dst, a, v);
    real_round_guard(dst, spill, mp_real_words);
}

void real_logx_guarded(u64* dst, const u64* b, const u64* x) {
    real_guarded_binary(dst, b, x, 3, real_logx);
}

void cplx_pow(u64* dst, const u64* a, const u64* b) {
    if (!cplx_is_real(b)) return fail_cplx(dst, MP_ERR_NOT_REAL);
    if (cplx_is_real(a)) {
        real_guarded_binary(dst, a, b, 3, real_pow);
        real_zero(im(dst), 0);
        return;
    }
    i64 k = 0;
    if (!real_to_i64(&k, b, REAL_CONV_QUIET)) return fail_cplx(dst, MP_ERR_DOMAIN);
    cplx_pow_int(dst, a, k);
}

// A non-negative integer rat's numerator, or nullptr.
const u64* rat_natural(const u64* x) {
    if (rat_sign(x) != 0 || !uint_is_one(rat_den(x))) return nullptr;
    return rat_num(x);
}

void rat_logx(u64* dst, const u64* b, const u64* x) {
    MpIsolate isolate;
    const u64* base = rat_natural(b);
    const bool unit_fraction = uint_is_one(rat_num(x));
    if (!base || uint_cmp_u64(base, 2) < 0 || rat_sign(x) != 0 || uint_is_zero(rat_num(x)) ||
        (!uint_is_one(rat_den(x)) && !unit_fraction)) {
        mp_raise(MP_ERR_DOMAIN);
        return rat_zero(dst);
    }
    const bool integer = uint_is_one(rat_den(x));
    ScratchMark mark;
    u64* k = mark.take(static_cast<std::size_t>(mp_int_words));
    if (!k) return rat_zero(dst);
    const bool exact = uint_log_floor(k, base, integer ? rat_num(x) : rat_den(x));
    if (isolate.inner() != 0) return rat_zero(dst);
    if (!exact) {
        mp_raise(MP_ERR_NOT_RATIONAL);
        return rat_zero(dst);
    }
    uint_copy(rat_num(dst), k);
    uint_set_u64(rat_den(dst), 1);
    dst[0] = (!integer && !uint_is_zero(k)) ? 1 : 0;
}

}  // namespace

void num_copy(u64* dst, const u64* src) {
    switch (current_type()) {
        case MP_TYPE_REAL:
            return real_copy(dst, src);
        case MP_TYPE_CPLX:
            return cplx_copy(dst, src);
        case MP_TYPE_UINT:
            return uint_copy(dst, src);
        case MP_TYPE_RAT:
            return rat_copy(dst, src);
    }
}

void num_abs(u64* dst, const u64* a) {
    switch (current_type()) {
        case MP_TYPE_REAL:
            real_copy(dst, a);
            dst[0] &= ~u64{1};
            return;
        case MP_TYPE_CPLX:
            return cplx_abs(dst, a);
        case MP_TYPE_UINT:
            return uint_copy(dst, a);
        case MP_TYPE_RAT:
            rat_copy(dst, a);
            dst[0] = 0;
            return;
    }
}

void num_div_u64(u64* dst, const u64* a, u64 v) {
    switch (current_type()) {
        case MP_TYPE_REAL:
            return real_div_u64_rounded(dst, a, v);
        case MP_TYPE_CPLX:
            if (real_is_zero(im(a))) {
                real_div_u64_rounded(dst, a, v);
                real_zero(im(dst), 0);
            } else {
                real_div_u64_rounded(im(dst), im(a), v);
                real_div_u64_rounded(dst, a, v);
            }
            if (mp_err() != 0) cplx_zero(dst);
            return;
        case MP_TYPE_UINT:
            return mp_raise(MP_ERR_TYPE);
        case MP_TYPE_RAT:
            return rat_div_u64(dst, a, v);
    }
}

void num_pow(u64* dst, const u64* a, const u64* b) {
    switch (current_type()) {
        case MP_TYPE_REAL:
            return real_guarded_binary(dst, a, b, 3, real_pow);
        case MP_TYPE_CPLX:
            return cplx_pow(dst, a, b);
        case MP_TYPE_UINT:
            return uint_pow_uint(dst, a, b);
        case MP_TYPE_RAT:
            return rat_pow(dst, a, b);
    }
}

void num_pow_int(u64* dst, const u64* a, i64 k) {
    switch (current_type()) {
        case MP_TYPE_REAL:
            return real_guarded_int(dst, a, k, 2, real_pow_int);
        case MP_TYPE_CPLX:
            return cplx_pow_int(dst, a, k);
        case MP_TYPE_UINT:
            return uint_pow(dst, a, k);
        case MP_TYPE_RAT:
            return rat_pow_int(dst, a, k);
    }
}

void num_pow10(u64* dst, i64 k) {
    switch (current_type()) {
        case MP_TYPE_REAL:
            return real_pow10(dst, k);
        case MP_TYPE_CPLX:
            real_pow10(dst, k);
            real_zero(im(dst), 0);
            return;
        case MP_TYPE_UINT:
            return uint_pow10(dst, k);
        case MP_TYPE_RAT:
            return rat_from_int_fn(dst, k, uint_pow10);
    }
}

void num_logx(u64* dst, const u64* b, const u64* x) {
    switch (current_type()) {
        case MP_TYPE_REAL:
            return real_logx_guarded(dst, b, x);
        case MP_TYPE_CPLX:
            if (!cplx_is_real(b) || !cplx_is_real(x)) return fail_cplx(dst, MP_ERR_NOT_REAL);
            real_logx_guarded(dst, b, x);
            real_zero(im(dst), 0);
            return;
        case MP_TYPE_UINT:
            uint_log_floor(dst, b, x);
            return;
        case MP_TYPE_RAT:
            return rat_logx(dst, b, x);
    }
}

void num_round_digits(u64* dst, const u64* a, i32 k) {
    switch (current_type()) {
        case MP_TYPE_REAL:
            if (k >= 0) return real_round_digits(dst, a, k);
            mp_raise(MP_ERR_DOMAIN);
            return real_zero(dst, 0);
        case MP_TYPE_CPLX:
            return cplx_round_digits(dst, a, k);
        case MP_TYPE_UINT:
        case MP_TYPE_RAT:
            return mp_raise(MP_ERR_TYPE);
    }
}

void num_from_i64(u64* dst, i64 v) {
    switch (current_type()) {
        case MP_TYPE_REAL:
            real_from_i64(dst, v);
            return;
        case MP_TYPE_CPLX:
            real_from_i64(dst, v);
            real_zero(im(dst), 0);
            return;
        case MP_TYPE_UINT:
            return uint_from_i64(dst, v);
        case MP_TYPE_RAT:
            return rat_from_i64(dst, v);
    }
}

bool num_to_i64(i64* out, const u64* a) {
    *out = 0;
    switch (current_type()) {
        case MP_TYPE_REAL:
            return real_to_i64(out, a, REAL_CONV_QUIET);
        case MP_TYPE_CPLX:
            return cplx_is_real(a) && real_to_i64(out, a, REAL_CONV_QUIET);
        case MP_TYPE_UINT:
            return uint_to_i64(out, a);
        case MP_TYPE_RAT: {
            u64 magnitude = 0;
            if (!rat_to_u64(&magnitude, a, RAT_TO_U64_QUIET | RAT_TO_U64_ABS)) return false;
            const u64 limit = (u64{1} << 63) - (rat_sign(a) ? 0 : 1);
            if (magnitude > limit) return false;
            *out = rat_sign(a) ? static_cast<i64>(0 - magnitude) : static_cast<i64>(magnitude);
            return true;
        }
    }
    return false;
}
