// Helpers shared by the operator and function files.
#include "formula/formula_ops_impl.h"
#include "numlib/num.h"
#include "numlib/rat.h"
#include "numlib/real.h"
#include "numlib/uint.h"

namespace fops {

bool knownType() {
    const i32 t = type();
    if (t == MP_TYPE_REAL || t == MP_TYPE_CPLX || t == MP_TYPE_UINT || t == MP_TYPE_RAT)
        return true;
    mp_raise(MP_ERR_TYPE);
    return false;
}

void setZero(u64* x) {
    switch (type()) {
        case MP_TYPE_REAL:
            return real_zero(x, 0);
        case MP_TYPE_CPLX:
            return cplx_zero(x);
        case MP_TYPE_UINT:
            return uint_zero(x);
        case MP_TYPE_RAT:
            return rat_zero(x);
    }
}

void fail(u64* x, i32 code) {
    mp_raise(code);
    setZero(x);
}

bool asWord(const u64* x, u64* magnitude, bool* negative) {
    *magnitude = 0;
    *negative = false;
    switch (type()) {
        case MP_TYPE_CPLX:
            if (!real_is_zero(im(x))) return false;
            [[fallthrough]];
        case MP_TYPE_REAL:
            *negative = real_sign(x) != 0;
            return real_to_u64(magnitude, x, REAL_CONV_QUIET | REAL_CONV_ABS);
        case MP_TYPE_UINT:
            return uint_to_u64(magnitude, x, true);
        case MP_TYPE_RAT:
            *negative = rat_sign(x) != 0;
            return rat_to_u64(magnitude, x, RAT_TO_U64_QUIET | RAT_TO_U64_ABS);
    }
    return false;
}

bool isSmallInt(const u64* x, i64 v) {
    i64 value = 0;
    return num_to_i64(&value, x) && value == v;
}

void realAddRounded(u64* dst, const u64* a, const u64* b, int sub) {
    const u64 spill = real_add_sub(dst, a, b, sub);
    real_round_guard(dst, spill, mp_real_words);
}

void realMulRounded(u64* dst, const u64* a, const u64* b) {
    const u64 spill = real_mul(dst, a, b);
    real_round_guard(dst, spill, mp_real_words);
}

// The quotient runs with a guard word and is rounded once from it: a long
// quotient is only within a unit of its last word, and this keeps that unit
// in the guard word, as the cplx quotient of real operands does.
void realDivRounded(u64* dst, const u64* a, const u64* b) {
    real_guarded_binary(dst, a, b, 19,
                        [](u64* q, const u64* x, const u64* y) { real_div(q, x, y); });
}

bool cplxRealOperands(u64* dst, const u64* a, const u64* b) {
    if (real_is_zero(im(a)) && (b == nullptr || real_is_zero(im(b)))) return true;
    mp_raise(MP_ERR_NOT_REAL);
    cplx_zero(dst);
    return false;
}

}  // namespace fops
