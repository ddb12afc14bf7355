// Reductions of the evaluator's stack: operators, signs, parenthesised groups
// and function calls. Results are written into the left operand's buffer and
// tokens move by exchanging whole slots, so no number is ever copied.
#include <utility>

#include "formula/formula_evaluator_stack.h"
#include "formula/formula_ops.h"
#include "numlib/cplx.h"
#include "numlib/mp_context.h"
#include "numlib/mp_error.h"
#include "numlib/rat.h"
#include "numlib/real.h"
#include "numlib/uint.h"

namespace {

// The end of a token's text, for operand spans.
u64 endOf(const FormulaToken& token) {
    return token.position + token.length;
}

void negate(u64* value) {
    switch (mp_num_type) {
        case MP_TYPE_REAL:
            return real_negate(value);
        case MP_TYPE_CPLX:
            return cplx_neg(value, value);
        case MP_TYPE_RAT:
            // Zero keeps sign 0: a rat has one set of words per value.
            if (!uint_is_zero(rat_num(value))) value[0] ^= 1;
            return;
        default:
            return mp_raise(MP_ERR_TYPE);
    }
}

// A leading sign: the operator at the slot k becomes the operand.
void applySign(EvalStack& st, i64 k) {
    FormulaToken& op = st.slots[k];
    FormulaToken& operand = st.slots[k + 1];
    if (op.code == TOKEN_SUB) {
        negate(operand.value);
    } else if (op.code != TOKEN_ADD) {
        return raiseAt(FORMULA_ERR_SYNTAX, op);
    }
    op.code = TOKEN_NUMBER;
    op.length = endOf(operand) - op.position;
    std::swap(op.value, operand.value);
    std::swap(st.slots[k + 1], st.slots[st.top]);
    st.top = k + 1;
}

// The operator two below the top, on the operand below it (binary) or alone
// (a sign at the start, after "(" or after ";").
void applyTopOperator(EvalStack& st) {
    const i64 k = st.top - 2;
    const u16 below = k >= 1 ? st.slots[k - 1].code : 0;
    if (below == 0 || below == TOKEN_OPEN || below == TOKEN_SEPARATOR) return applySign(st, k);
    FormulaToken& left = st.slots[k - 1];
    if (!isOperand(below)) return raiseAt(FORMULA_ERR_SYNTAX, left);
    const FormulaToken& right = st.slots[k + 1];
    applyOperator(st.slots[k].code, left.value, right.value);
    left.length = endOf(right) - left.position;
    std::swap(st.slots[k], st.slots[st.top]);
    st.top = k;
}

// "(" operand ")" without a function: the group becomes one operand.
void removeParentheses(EvalStack& st) {
    const i64 k = st.top - 2;
    FormulaToken& open = st.slots[k];
    open.code = TOKEN_NUMBER;
    open.length = endOf(st.slots[st.top]) - open.position;
    std::swap(open.value, st.slots[k + 1].value);
    st.top = k;
}

void runFunction(EvalStack& st, i64 f, i32 count) {
    const u16 code = st.slots[f].code;
    const i32 pos = messagePos(st.slots[f]);
    u64* first = st.slots[f + 2].value;
    if (count == 1) return applyFunction1(code, first, pos);
    if (count == 2) return applyFunction2(code, first, st.slots[f + 4].value, pos);
    applyFunction3(code, first, st.slots[f + 4].value, st.slots[f + 6].value, pos);
}

// ")" closing a function's argument list: counts the arguments, checks them
// against the keyword table and leaves the result as the operand on top.
void callFunction(EvalStack& st) {
    const FormulaToken& close = st.slots[st.top];
    i64 i = st.top - 2;
    i32 count = 1;
    for (; i >= 0 && st.slots[i].code == TOKEN_SEPARATOR; i -= 2, ++count) {
        if (i < 1 || !isOperand(st.slots[i - 1].code))
            return raiseAt(FORMULA_ERR_SYNTAX, st.slots[i]);
    }
    if (i < 1) return raiseFormulaError(FORMULA_ERR_INTERNAL, 0);
    if (st.slots[i].code != TOKEN_OPEN) return raiseAt(FORMULA_ERR_NO_LEFT_PAREN, close);
    const i64 f = i - 1;
    FormulaToken& fn = st.slots[f];
    if (!isFunction(fn.code)) return raiseFormulaError(FORMULA_ERR_INTERNAL, 0);
    if (count > 3 || count != functionParamCount(fn.code))
        return raiseAt(FORMULA_ERR_PARAM_COUNT, fn);
    runFunction(st, f, count);
    fn.code = TOKEN_NUMBER;
    fn.length = endOf(close) - fn.position;
    std::swap(fn.value, st.slots[f + 2].value);
    st.top = f;
}

// One step of a reduction under an operator t; false when it stops.
bool reduceOperator(EvalStack& st, u16 t, u16 a) {
    if (!isOperator(a)) return false;
    if (a == TOKEN_MUL || a == TOKEN_DIV || a == TOKEN_POW || a == TOKEN_MOD) {
        if (t == TOKEN_POW) return false;  // "^" is right-associative and binds tightest
    } else if (a == TOKEN_ADD || a == TOKEN_SUB) {
        if (t != TOKEN_ADD && t != TOKEN_SUB) return false;
    } else {
        raiseFormulaError(FORMULA_ERR_INTERNAL, 0);
        return false;
    }
    applyTopOperator(st);
    return true;
}

// One step of a reduction under ")"; false when it stops.
bool reduceClose(EvalStack& st, u16 a, u16 c) {
    if (isOperator(a)) {
        applyTopOperator(st);
        return true;
    }
    if (a == TOKEN_SEPARATOR || (a == TOKEN_OPEN && isFunction(c))) {
        callFunction(st);
    } else if (a == TOKEN_OPEN) {
        removeParentheses(st);
    } else {
        raiseAt(FORMULA_ERR_NO_LEFT_PAREN, st.at(0));
    }
    return false;
}

}  // namespace

void reduceStack(EvalStack& st) {
    for (bool more = true; more && formulaError == 0;) {
        const u16 t = st.peek(0);
        const u16 a = st.peek(2);
        if (isOperator(t)) {
            more = reduceOperator(st, t, a);
        } else if (t == TOKEN_CLOSE) {
            more = reduceClose(st, a, st.peek(3));
        } else if (t == TOKEN_SEPARATOR || t == TOKEN_END) {
            more = isOperator(a);
            if (more) {
                applyTopOperator(st);
            } else if (t == TOKEN_SEPARATOR && a != TOKEN_SEPARATOR && a != TOKEN_OPEN) {
                raiseAt(FORMULA_ERR_SYNTAX, st.at(0));
            }
        } else {
            more = false;
        }
    }
}
