// The binary operators + - * / ^ mod. Products and quotients by an integer
// operand that fits a machine word take the word-sized routine of the type:
// the common keypad cases (x*3, x/2) then cost one pass over the other
// operand instead of a full product or a reciprocal.
#include "formula/formula_error.h"
#include "formula/formula_ops.h"
#include "formula/formula_ops_impl.h"
#include "numlib/num.h"
#include "numlib/rat.h"
#include "numlib/real.h"
#include "numlib/uint.h"

using namespace fops;

namespace {

// Gives a real product or quotient by a word the sign it has on the general
// path, the XOR of the operands' signs. A failed operation keeps its +0.
void realSetSign(u64* x, int sign) {
    if (mp_err() == 0) x[0] = (x[0] & ~u64{1}) | static_cast<u64>(sign & 1);
}

// The sign of a negative word operand on the other operand's result. A cplx
// zero imaginary part stays +0, as on the real path of the general product.
void applyWordSign(u64* x, int realSignBit, bool negative) {
    switch (type()) {
        case MP_TYPE_REAL:
            return realSetSign(x, realSignBit ^ (negative ? 1 : 0));
        case MP_TYPE_CPLX:
            if (!negative) return;
            real_negate(x);
            if (!real_is_zero(im(x))) real_negate(im(x));
            return;
        case MP_TYPE_RAT:
            if (negative && !uint_is_zero(rat_num(x))) x[0] ^= 1;
            return;
    }
}

// dst = a * v, then the word's sign. dst may be a.
void mulWord(u64* dst, const u64* a, u64 v, bool negative) {
    const int sign = type() == MP_TYPE_REAL ? real_sign(a) : 0;
    switch (type()) {
        case MP_TYPE_REAL: {
            const u64 spill = real_mul_u64(dst, a, v);
            real_round_guard(dst, spill, mp_real_words);
            break;
        }
        case MP_TYPE_CPLX:
            cplx_mul_u64(dst, a, v);
            break;
        case MP_TYPE_UINT:
            uint_mul_u64(dst, a, v);
            break;
        case MP_TYPE_RAT:
            rat_mul_u64(dst, a, v);
            break;
    }
    applyWordSign(dst, sign, negative);
}

// dst = a / v, then the word's sign (not for uint). dst may be a.
void divWord(u64* dst, const u64* a, u64 v, bool negative) {
    const int sign = type() == MP_TYPE_REAL ? real_sign(a) : 0;
    num_div_u64(dst, a, v);
    applyWordSign(dst, sign, negative);
}

void multiply(u64* left, const u64* right) {
    u64 v = 0;
    bool negative = false;
    if (asWord(left, &v, &negative)) return mulWord(left, right, v, negative);
    if (asWord(right, &v, &negative)) return mulWord(left, left, v, negative);
    switch (type()) {
        case MP_TYPE_REAL:
            return realMulRounded(left, left, right);
        case MP_TYPE_CPLX:
            return cplx_mul(left, left, right);
        case MP_TYPE_UINT:
            return uint_mul(left, left, right);
        case MP_TYPE_RAT:
            return rat_mul_div(left, left, right, false);
    }
}

void divide(u64* left, const u64* right) {
    if (type() == MP_TYPE_UINT) {
        if (!uint_div_exact(left, left, right) && mp_err() == 0) inexactFlag = true;
        return;
    }
    u64 v = 0;
    bool negative = false;
    if (asWord(right, &v, &negative)) return divWord(left, left, v, negative);
    switch (type()) {
        case MP_TYPE_REAL:
            return realDivRounded(left, left, right);
        case MP_TYPE_CPLX:
            return cplx_div(left, left, right);
        case MP_TYPE_RAT:
            return rat_mul_div(left, left, right, true);
    }
}

void addSub(u64* left, const u64* right, bool sub) {
    switch (type()) {
        case MP_TYPE_REAL:
            return realAddRounded(left, left, right, sub ? 1 : 0);
        case MP_TYPE_CPLX:
            return sub ? cplx_sub(left, left, right) : cplx_add(left, left, right);
        case MP_TYPE_UINT:
            return sub ? uint_sub(left, left, right) : uint_add(left, left, right);
        case MP_TYPE_RAT:
            return rat_add_sub(left, left, right, sub);
    }
}

void remainder(u64* left, const u64* right) {
    switch (type()) {
        case MP_TYPE_REAL:
            return real_divmod(nullptr, left, left, right, divisionLimit);
        case MP_TYPE_CPLX:
            return cplx_divmod(nullptr, left, left, right, divisionLimit);
        case MP_TYPE_UINT:
            return uint_divmod(nullptr, left, left, right);
        case MP_TYPE_RAT:
            return rat_divmod(nullptr, left, left, right);
    }
}

}  // namespace

void applyOperator(u16 code, u64* left, const u64* right) {
    if (!knownType()) return;
    switch (code) {
        case TOKEN_ADD:
            return addSub(left, right, false);
        case TOKEN_SUB:
            return addSub(left, right, true);
        case TOKEN_MUL:
            return multiply(left, right);
        case TOKEN_DIV:
            return divide(left, right);
        case TOKEN_POW:
            return applyPower(left, right);
        case TOKEN_MOD:
            return remainder(left, right);
        default:
            raiseFormulaError(FORMULA_ERR_INTERNAL, 0);
    }
}
