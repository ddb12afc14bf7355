// The evaluator's main loop: one token per pass, read straight onto the
// stack, with operands made at once (literals, constants, variables, the
// imaginary unit) and reductions triggered by operators, ")", ";" and the end.
#include <algorithm>
#include <utility>

#include "formula/formula_evaluator_stack.h"
#include "formula/formula_ops.h"
#include "numlib/cplx.h"
#include "numlib/mp_context.h"
#include "numlib/mp_error.h"
#include "numlib/num.h"
#include "numlib/num_text.h"
#include "numlib/rat.h"
#include "numlib/real.h"

namespace {

constexpr i32 kPiKind = 100;
constexpr i32 kImagKind = 101;  // no real or rational value: domain error

// Turns a pending library error into the formula error of the step:
// a stop request becomes 10210, anything else code at pos.
void takeLibraryError(u32 code, i32 pos) {
    const i32 e = mp_error.exchange(0, std::memory_order_relaxed);
    if (e == MP_ERR_STOPPED) {
        raiseFormulaError(FORMULA_ERR_STOPPED, 0);
    } else if (e != 0) {
        raiseFormulaErrorCause(code, pos, e);
    }
}

void convertLiteral(FormulaToken& tok, const FormulaRequest& req) {
    const char16_t* text = req.text + tok.position;
    const i32 len = static_cast<i32>(std::min<u64>(tok.length, INT_MAX));
    switch (mp_num_type) {
        case MP_TYPE_UINT:
            uint_from_text(tok.value, text, len, req.flags, static_cast<i32>(req.uintBase));
            break;
        case MP_TYPE_RAT:
            rat_from_text(tok.value, text, len, req.flags);
            break;
        case MP_TYPE_REAL:
            real_from_text(tok.value, text, len, req.flags);
            break;
        default:
            cplx_from_text(tok.value, text, len, req.flags);
            break;
    }
    takeLibraryError(FORMULA_ERR_NUMBER_FORMAT, messagePos(tok));
}

// pi, or the imaginary unit, in the current type; kinds as real_special.
void setSpecial(u64* value, i32 kind) {
    switch (mp_num_type) {
        case MP_TYPE_REAL:
            return real_special(value, kind);
        case MP_TYPE_RAT:
            return rat_special(value, kind);
        case MP_TYPE_CPLX:
            cplx_zero(value);
            if (kind == kPiKind) return real_special(value, kPiKind);
            return real_one(cplx_im_of(value, mp_real_words));
        default:
            num_from_i64(value, 0);
            return mp_raise(MP_ERR_DOMAIN);
    }
}

// The imaginary unit; directly after an operand a "*" is put between them,
// without a reduction, so "1/2i" is 1/(2i).
void imaginaryUnit(EvalStack& st, u16 below) {
    setSpecial(st.at(0).value, kImagKind);
    st.at(0).code = TOKEN_NUMBER;
    if (!isOperand(below) || !pushSlot(st)) return;
    if (st.at(0).value == nullptr) return raiseAt(FORMULA_ERR_OVERFLOW, st.at(1));
    std::swap(st.slots[st.top - 1], st.slots[st.top]);
    FormulaToken& mul = st.at(1);
    mul.code = TOKEN_MUL;
    mul.position = st.at(0).position;
    mul.length = 0;
}

// Only a sign may stand where no operand is below: at the start, after "("
// or after ";".
void operatorToken(EvalStack& st, u16 t, u16 below) {
    if (isOperand(below)) return reduceStack(st);
    const bool signPlace = below == 0 || below == TOKEN_OPEN || below == TOKEN_SEPARATOR;
    if (!signPlace || (t != TOKEN_ADD && t != TOKEN_SUB)) raiseAt(FORMULA_ERR_SYNTAX, st.at(0));
}

// ";" must close an argument of a function call.
void separatorToken(EvalStack& st, u16 below) {
    if (isOperand(below)) reduceStack(st);
    if (formulaError != 0) return;
    const bool inCall =
        isOperand(st.peek(1)) &&
        (st.peek(2) == TOKEN_SEPARATOR || (st.peek(2) == TOKEN_OPEN && isFunction(st.peek(3))));
    if (!inCall) raiseAt(FORMULA_ERR_SYNTAX, st.at(0));
}

void endToken(EvalStack& st, u16 below, FormulaRequest& req) {
    if (isOperand(below)) reduceStack(st);
    if (formulaError != 0) return;
    if (st.top != 1 || !isOperand(st.slots[0].code))
        return raiseFormulaError(FORMULA_ERR_UNEXPECTED_END, 0);
    if (req.result != nullptr) num_copy(req.result, st.slots[0].value);
    req.inexact = inexactFlag;
}

// Handles the token just read on top of the stack; below is the code under it.
void handleToken(EvalStack& st, u16 below, FormulaRequest& req) {
    FormulaToken& tok = st.at(0);
    const u16 t = tok.code;
    if (t == TOKEN_NUMBER) return convertLiteral(tok, req);
    if (t == TOKEN_VARIABLE) {
        tok.code = TOKEN_NUMBER;
    } else if (t == TOKEN_IMAG) {
        imaginaryUnit(st, below);
    } else if (t >= TOKEN_CONST_FIRST && t <= TOKEN_CONST_LAST) {
        if (t != TOKEN_PI) return raiseFormulaError(FORMULA_ERR_INTERNAL, 0);
        setSpecial(tok.value, kPiKind);
        tok.code = TOKEN_NUMBER;
    } else if (isOperator(t)) {
        operatorToken(st, t, below);
    } else if (t == TOKEN_END) {
        endToken(st, below, req);
    } else if (t == TOKEN_CLOSE) {
        if (!isOperand(below)) return raiseAt(FORMULA_ERR_SYNTAX, tok);
        reduceStack(st);
    } else if (isFunction(t) || t == TOKEN_OPEN) {
        if (isOperand(below)) raiseAt(FORMULA_ERR_SYNTAX, tok);
    } else if (t == TOKEN_SEPARATOR) {
        separatorToken(st, below);
    } else {
        raiseAt(FORMULA_ERR_SYNTAX, tok);
    }
}

void setLimits(bool on) {
    comboLimit = on ? 1000000 : 0;
    divisionLimit = on ? 10000000 : 0;
    powmodLimit = on ? 4096 : 0;
}

// The main loop; true when the end of text was reached without an error.
bool runLoop(EvalStack& st, FormulaRequest& req) {
    u64 pos = 0;
    for (;;) {
        if (!pushSlot(st)) return false;
        FormulaToken& tok = st.at(0);
        readToken(&tok, &pos, &req);
        if (tok.value == nullptr) {
            raiseAt(FORMULA_ERR_OVERFLOW, tok);  // no number type or no scratch left
            return false;
        }
        const u16 t = tok.code;
        handleToken(st, st.peek(1), req);
        takeLibraryError(FORMULA_ERR_OVERFLOW, messagePos(st.at(0)));
        if (formulaError != 0) return false;
        if (t == TOKEN_END) return true;
    }
}

}  // namespace

bool pushSlot(EvalStack& st) {
    if (st.top + 1 >= FORMULA_STACK_SLOTS) {
        st.top = FORMULA_STACK_SLOTS - 1;
        raiseFormulaError(FORMULA_ERR_TOO_DEEP, 0);
        return false;
    }
    FormulaToken& slot = st.slots[++st.top];
    if (st.top > st.prepared) {
        slot.value = st.valueWords == 0 ? nullptr : st.scratch->take(st.valueWords);
        if (slot.value != nullptr) st.prepared = st.top;
    }
    return true;
}

bool evaluateFormula(FormulaRequest* request) {
    clearFormulaError();
    mp_error.store(0, std::memory_order_relaxed);
    inexactFlag = false;
    setLimits(request->useOperandLimits);
    ScratchMark scratch;
    EvalStack st;
    st.scratch = &scratch;
    st.valueWords = static_cast<std::size_t>(num_size_bytes(0, 0)) / sizeof(u64);
    const bool ok = runLoop(st, *request);
    if (!ok) {
        if (request->result != nullptr) num_from_i64(request->result, 0);
        request->inexact = false;
    }
    mp_error.store(0, std::memory_order_relaxed);
    return ok;
}
