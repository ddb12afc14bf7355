// The power operator. Bases 10 and 2 have exact routines of their own in
// every type (the keypad's "10^x" and "2^x"); an integral exponent that fits
// a machine word takes the integer power, anything else the general power
// of the type.
#include "formula/formula_ops_impl.h"
#include "numlib/num.h"
#include "numlib/rat.h"
#include "numlib/real.h"
#include "numlib/real_fn.h"
#include "numlib/uint.h"

namespace fops {
namespace {

// 2^n for a machine integer n.
void pow2_int(u64* x, i64 n) {
    switch (type()) {
        case MP_TYPE_REAL:
            return real_pow2(x, n);
        case MP_TYPE_CPLX:
            real_pow2(x, n);
            return real_zero(im(x), 0);
        case MP_TYPE_UINT:
            return uint_pow2(x, n);
        case MP_TYPE_RAT:
            return rat_from_int_fn(x, n, uint_pow2);
    }
}

// base^y (base 10 or 2) for a y that is not a machine integer.
void powSmallBase(u64* x, const u64* y, bool ten) {
    const RealUnaryFn real_fn = ten ? real_exp10 : real_exp2;
    switch (type()) {
        case MP_TYPE_REAL:
            return real_guarded_unary(x, y, 2, real_fn);
        case MP_TYPE_CPLX:
            if (!cplxRealOperands(x, y)) return;
            real_guarded_unary(x, y, 2, real_fn);
            return real_zero(im(x), 0);
        case MP_TYPE_UINT:
            // y is at least 2^63 here.
            return fail(x, MP_ERR_OVERFLOW);
        case MP_TYPE_RAT:
            return rat_apply_int(x, y, ten ? uint_pow10_uint : uint_pow2_uint);
    }
}

}  // namespace

void applyPower(u64* x, const u64* y) {
    const bool ten = isSmallInt(x, 10);
    const bool two = !ten && isSmallInt(x, 2);
    i64 n = 0;
    if (num_to_i64(&n, y)) {
        if (ten) return num_pow10(x, n);
        if (two) return pow2_int(x, n);
        return num_pow_int(x, x, n);
    }
    if (ten || two) return powSmallBase(x, y, ten);
    num_pow(x, x, y);
}

}  // namespace fops
