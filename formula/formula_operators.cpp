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
void real_set_sign(u64* x, int sign) {
    if (mp_err() == 0) x[0] = (x[0] & ~u64{1}) | static_cast<u64>(sign & 1);
}

// The sign of a negative word operand on the other operand's result. A cplx
// zero imaginary part stays +0, as on the real path of the general product.
void apply_word_sign(u64* x, int real_sign_bit, bool negative) {
    switch (type()) {
        case MP_TYPE_REAL:
            return real_set_sign(x, real_sign_bit ^ (negative ? 1 : 0));
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
void mul_word(u64* dst, const u64* a, u64 v, bool negative) {
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
    apply_word_sign(dst, sign, negative);
}

// dst = a / v, then the word's sign (not for uint). dst may be a.
void div_word(u64* dst, const u64* a, u64 v, bool negative) {
    const int sign = type() == MP_TYPE_REAL ? real_sign(a) : 0;
    num_div_u64(dst, a, v);
    apply_word_sign(dst, sign, negative);
}

void multiply(u64* left, const u64* right) {
    u64 v = 0;
    bool negative = false;
    if (as_word(left, &v, &negative)) return mul_word(left, right, v, negative);
    if (as_word(right, &v, &negative)) return mul_word(left, left, v, negative);
    switch (type()) {
        case MP_TYPE_REAL:
            return real_mul_rounded(left, left, right);
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
    if (as_word(right, &v, &negative)) return div_word(left, left, v, negative);
    switch (type()) {
        case MP_TYPE_REAL:
            return real_div_rounded(left, left, right);
        case MP_TYPE_CPLX:
            return cplx_div(left, left, right);
        case MP_TYPE_RAT:
            return rat_mul_div(left, left, right, true);
    }
}

void add_sub(u64* left, const u64* right, bool sub) {
    switch (type()) {
        case MP_TYPE_REAL:
            return real_add_rounded(left, left, right, sub ? 1 : 0);
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
    if (!known_type()) return;
    switch (code) {
        case OP_ADD:
            return add_sub(left, right, false);
        case OP_SUB:
            return add_sub(left, right, true);
        case OP_MUL:
            return multiply(left, right);
        case OP_DIV:
            return divide(left, right);
        case OP_POW:
            return apply_power(left, right);
        case OP_MOD:
            return remainder(left, right);
        default:
            raiseFormulaError(FORMULA_ERR_INTERNAL, 0);
    }
}
