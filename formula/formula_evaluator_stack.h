// The evaluator's operand and operator stack, shared by the main loop and the
// reductions. Slots get their value buffer from the library scratch area the
// first time the stack reaches them and keep it: reductions move tokens by
// exchanging whole slots, so every slot always owns exactly one buffer.
#pragma once

#include <climits>
#include <cstddef>

#include "formula/formula.h"
#include "formula/formula_error.h"
#include "numlib/mp_scratch.h"

constexpr i64 FORMULA_STACK_SLOTS = 50;

struct EvalStack {
    FormulaToken slots[FORMULA_STACK_SLOTS];
    i64 top = -1;                // index of the top slot, -1 when empty
    i64 prepared = -1;           // highest slot that has a buffer
    std::size_t valueWords = 0;  // 0: no valid number type
    ScratchMark* scratch = nullptr;

    // The code of the slot k below the top (0 = the top itself), 0 if none.
    u16 peek(i64 k) const { return top - k >= 0 ? slots[top - k].code : 0; }
    FormulaToken& at(i64 k) { return slots[top - k]; }
};

inline bool isOperand(u16 code) {
    return code == TOKEN_NUMBER;
}
inline bool isOperator(u16 code) {
    return code >= TOKEN_OP_FIRST && code <= TOKEN_OP_LAST;
}
inline bool isFunction(u16 code) {
    return code >= TOKEN_FN_FIRST && code <= TOKEN_FN_LAST;
}

// The 1-based position of a token for messages.
inline i32 messagePos(const FormulaToken& token) {
    return token.position >= static_cast<u64>(INT_MAX) ? INT_MAX
                                                       : static_cast<i32>(token.position + 1);
}

inline void raiseAt(u32 code, const FormulaToken& token) {
    raiseFormulaError(code, messagePos(token));
}

// Grows the stack by one slot and gives it a buffer when it has none yet. A
// full stack raises 10204 and returns false; a buffer that cannot be had
// leaves the slot's value null (the caller reports it).
bool pushSlot(EvalStack& st);

// Reduces the stack under the token just read (an operator, ")", ";" or the
// end), which has an operand below it, as far as precedence allows.
void reduceStack(EvalStack& st);
