// Functions of two and three arguments: roots with an index, the complex
// roots, combinatorics, logarithms to a base, gcd, lcm and the modular
// functions of integers.
#include "formula/formula_error.h"
#include "formula/formula_ops.h"
#include "formula/formula_ops_impl.h"
#include "numlib/num.h"
#include "numlib/rat.h"
#include "numlib/real.h"
#include "numlib/real_fn.h"
#include "numlib/uint.h"

using namespace fops;

namespace {

void markInexact(bool exact) {
    if (!exact && mp_err() == 0) inexactFlag = true;
}

// Raises a formula error at the function and zeroes the result.
void failFormula(u64* x, u32 code, i32 fnPos) {
    raiseFormulaError(code, fnPos);
    setZero(x);
}

// fn(x, x, y) for real, and for cplx on real parts (error 16 otherwise).
void realBinary(u64* x, const u64* y, void (*fn)(u64*, const u64*, const u64*)) {
    if (type() == MP_TYPE_CPLX && !cplxRealOperands(x, x, y)) return;
    fn(x, x, y);
    if (type() == MP_TYPE_CPLX) real_zero(im(x), 0);
}

void root(u64* n, const u64* x) {
    switch (type()) {
        case MP_TYPE_UINT:
            return markInexact(uint_root_uint(n, n, x));
        case MP_TYPE_RAT:
            return rat_root(n, n, x);
        default:
            return realBinary(n, x, [](u64* d, const u64* a, const u64* b) {
                real_guarded_binary(d, a, b, 3, real_root);
            });
    }
}

// The k-th of the n complex n-th roots of z (n = 2 or 3 from the name).
void complexRoot(u64* z, const u64* kValue, i64 n, i32 fnPos) {
    if (type() != MP_TYPE_CPLX) return failFormula(z, FORMULA_ERR_NEEDS_COMPLEX, fnPos);
    i64 k = 0;
    if (!num_to_i64(&k, kValue)) k = -1;
    cplx_root_k(z, n, z, k);
}

template <bool Perm>
void realPermCombGuarded(u64* dst, const u64* n, const u64* k) {
    real_guarded_binary_int(dst, n, k, comboLimit, Perm ? 1 : 0,
                            [](u64* d, const u64* a, const u64* b, i64 limit, int perm) {
                                real_perm_comb(d, a, b, limit, perm != 0);
                            });
}

void permComb(u64* n, const u64* k, bool perm) {
    switch (type()) {
        case MP_TYPE_UINT:
            return uint_perm_comb(n, n, k, comboLimit, perm);
        case MP_TYPE_RAT:
            return rat_perm_comb(n, n, k, comboLimit, perm);
        default:
            return realBinary(n, k, perm ? realPermCombGuarded<true> : realPermCombGuarded<false>);
    }
}

void logx(u64* b, const u64* x) {
    if (type() == MP_TYPE_UINT) return markInexact(uint_log_floor(b, b, x));
    num_logx(b, b, x);
}

// The library's gcd and lcm take positive operands only. With a zero operand
// gcd is the other one and lcm is 0, as GMP has them (so gcd(0; 0) = 0).
void uintGcdLcm(u64* dst, const u64* a, const u64* b, bool lcm) {
    if (uint_is_zero(a) || uint_is_zero(b)) {
        if (lcm || mp_err() != 0) return uint_zero(dst);
        return uint_copy(dst, uint_is_zero(a) ? b : a);
    }
    lcm ? uint_lcm(dst, a, b) : uint_gcd(dst, a, b);
}

// gcd or lcm of the numerators of two non-negative integral rats.
void ratGcdLcm(u64* a, const u64* b, bool lcm) {
    const auto natural = [](const u64* x) { return rat_sign(x) == 0 && uint_is_one(rat_den(x)); };
    if (!natural(a) || !natural(b)) return fail(a, MP_ERR_DOMAIN);
    uintGcdLcm(rat_num(a), rat_num(a), rat_num(b), lcm);
    a[0] = 0;
    if (mp_err() != 0) rat_zero(a);
}

// The real gcd or lcm; a zero operand as for uint, once the other one has
// passed the library's check for a non-negative integer (gcd(x; x) = x).
template <bool Lcm>
void realGcdLcm(u64* dst, const u64* a, const u64* b) {
    if (real_is_zero(a) || real_is_zero(b)) {
        const u64* other = real_is_zero(a) ? b : a;
        if (!real_is_zero(other)) real_gcd(dst, other, other, divisionLimit);
        if (Lcm || real_is_zero(other)) real_zero(dst, 0);
        return;
    }
    Lcm ? real_lcm(dst, a, b, divisionLimit) : real_gcd(dst, a, b, divisionLimit);
}

void gcdLcm(u64* a, const u64* b, bool lcm) {
    switch (type()) {
        case MP_TYPE_UINT:
            return uintGcdLcm(a, a, b, lcm);
        case MP_TYPE_RAT:
            return ratGcdLcm(a, b, lcm);
        default:
            return realBinary(a, b, lcm ? realGcdLcm<true> : realGcdLcm<false>);
    }
}

}  // namespace

void applyFunction2(u16 code, u64* first, const u64* second, i32 fnPos) {
    if (!knownType()) return;
    switch (code) {
        case FN_ROOT:
            return root(first, second);
        case FN_SQRTC:
            return complexRoot(first, second, 2, fnPos);
        case FN_CBRTC:
            return complexRoot(first, second, 3, fnPos);
        case FN_NCR:
            return permComb(first, second, false);
        case FN_NPR:
            return permComb(first, second, true);
        case FN_LOGX:
            return logx(first, second);
        case FN_GCD:
            return gcdLcm(first, second, false);
        case FN_LCM:
            return gcdLcm(first, second, true);
        case FN_MULINV:
            if (type() != MP_TYPE_UINT) return failFormula(first, FORMULA_ERR_NOT_FOR_TYPE, fnPos);
            return uint_mulinv(first, first, second);
        default:
            raiseFormulaError(FORMULA_ERR_INTERNAL, 0);
    }
}

void applyFunction3(u16 code, u64* first, const u64* second, const u64* third, i32 fnPos) {
    if (!knownType()) return;
    switch (code) {
        case FN_ROOTC: {
            if (type() != MP_TYPE_CPLX) return failFormula(first, FORMULA_ERR_NEEDS_COMPLEX, fnPos);
            // An index or root number that is no machine integer is outside
            // the domain, as it is for sqrtc and cbrtc.
            i64 n = 0;
            i64 k = 0;
            if (!num_to_i64(&n, first) || !num_to_i64(&k, third)) return fail(first, MP_ERR_DOMAIN);
            return cplx_root_k(first, n, second, k);
        }
        case FN_POWMOD:
            if (type() != MP_TYPE_UINT) return failFormula(first, FORMULA_ERR_NOT_FOR_TYPE, fnPos);
            return uint_powmod(first, first, second, third, powmodLimit);
        default:
            raiseFormulaError(FORMULA_ERR_INTERNAL, 0);
    }
}
