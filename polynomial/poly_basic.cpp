// Storage, copies, zero tests and rounding of coefficient vectors.
#include <algorithm>

#include "app/app_error.h"
#include "numlib/cplx.h"
#include "numlib/mp_error.h"
#include "numlib/num.h"
#include "numlib/rat.h"
#include "numlib/real.h"
#include "polynomial/poly.h"
#include "polynomial/poly_impl.h"

namespace {

bool supported_type(i32 type) {
    return type == MP_TYPE_RAT || type == MP_TYPE_REAL || type == MP_TYPE_CPLX;
}

}  // namespace

Poly::Poly() {
    const i32 type = mp_num_type;
    if (!supported_type(type)) {
        mp_raise(MP_ERR_TYPE);
        return;
    }
    type_ = type;
    words_ = num_size_bytes(0, type) / static_cast<i32>(sizeof(u64));
    data_.assign(static_cast<std::size_t>(words_) * POLY_SLOTS, 0);
    poly_zero(*this);
}

bool poly_usable(std::initializer_list<const Poly*> polys) {
    const i32 type = mp_num_type;
    if (!supported_type(type)) {
        mp_raise(MP_ERR_TYPE);
        return false;
    }
    const i32 words = num_size_bytes(0, type) / static_cast<i32>(sizeof(u64));
    const bool ok = std::all_of(polys.begin(), polys.end(), [&](const Poly* p) {
        return p->type() == type && p->slot_words() == words;
    });
    if (!ok) raiseAppError(APP_ERR_INTERNAL, nullptr, nullptr);
    return ok;
}

bool poly_coef_is_zero(const u64* c) {
    switch (mp_num_type) {
        case MP_TYPE_REAL:
            return c[1] == 0;
        case MP_TYPE_CPLX:
            return c[1] == 0 && cplx_im_of(c, mp_real_words)[1] == 0;
        case MP_TYPE_RAT: {
            const u64* num = rat_num(c);
            return std::all_of(num, num + mp_int_words, [](u64 w) { return w == 0; });
        }
        default:
            mp_raise(MP_ERR_TYPE);
            return false;
    }
}

void poly_zero(Poly& p) {
    if (!poly_usable({&p})) return;
    for (i32 k = 0; k < POLY_SLOTS; ++k) num_from_i64(p.slot(k), 0);
}

void poly_copy(Poly& dst, const Poly& src) {
    if (&dst == &src || !poly_usable({&dst, &src})) return;
    std::copy(src.slot(0), src.slot(POLY_SLOTS), dst.slot(0));
}

i32 poly_degree(const Poly& p) {
    if (!poly_usable({&p})) return -1;
    for (i32 k = POLY_MAX_DEGREE; k >= 0; --k) {
        if (!poly_coef_is_zero(p.slot(k))) return k;
    }
    return -1;
}

void poly_round(Poly& p, i32 digits) {
    if (!poly_usable({&p})) return;
    for (i32 k = 0; k < POLY_SLOTS; ++k) {
        if (mp_num_type == MP_TYPE_REAL) real_round_digits(p.slot(k), p.slot(k), digits);
        if (mp_num_type == MP_TYPE_CPLX) cplx_round_digits(p.slot(k), p.slot(k), digits);
    }
}

namespace {

void real_div_rounded(u64* dst, const u64* a, const u64* b) {
    const u64 spill = real_div(dst, a, b);
    real_round_guard(dst, spill, mp_real_words);
}

}  // namespace

void poly_coef_add_sub(u64* dst, const u64* a, const u64* b, bool subtract) {
    switch (mp_num_type) {
        case MP_TYPE_REAL: {
            const u64 spill = real_add_sub(dst, a, b, subtract ? 1 : 0);
            real_round_guard(dst, spill, mp_real_words);
            return;
        }
        case MP_TYPE_CPLX:
            return subtract ? cplx_sub(dst, a, b) : cplx_add(dst, a, b);
        case MP_TYPE_RAT:
            return rat_add_sub(dst, a, b, subtract);
        default:
            mp_raise(MP_ERR_TYPE);
            return;
    }
}

void poly_coef_mul(u64* dst, const u64* a, const u64* b) {
    switch (mp_num_type) {
        case MP_TYPE_REAL: {
            const u64 spill = real_mul(dst, a, b);
            real_round_guard(dst, spill, mp_real_words);
            return;
        }
        case MP_TYPE_CPLX:
            return cplx_mul(dst, a, b);
        case MP_TYPE_RAT:
            return rat_mul_div(dst, a, b, false);
        default:
            mp_raise(MP_ERR_TYPE);
            return;
    }
}

void poly_coef_div(u64* dst, const u64* a, const u64* b) {
    switch (mp_num_type) {
        case MP_TYPE_REAL:
            return real_guarded_binary(dst, a, b, 3, real_div_rounded);
        case MP_TYPE_CPLX:
            return cplx_div(dst, a, b);
        case MP_TYPE_RAT:
            return rat_mul_div(dst, a, b, true);
        default:
            mp_raise(MP_ERR_TYPE);
            return;
    }
}
