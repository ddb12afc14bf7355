#include "formula/formula_error.h"

u32 formulaError = 0;
i32 formulaErrorPos = 0;
i32 formulaErrorCause = 0;

void raiseFormulaError(u32 code, i32 pos) {
    if (formulaError != 0 || code == 0) return;
    formulaError = code;
    formulaErrorPos = pos;
    formulaErrorCause = 0;
}

void raiseFormulaErrorCause(u32 code, i32 pos, i32 cause) {
    if (formulaError != 0 || code == 0) return;
    raiseFormulaError(code, pos);
    formulaErrorCause = cause;
}

void clearFormulaError() {
    formulaError = 0;
    formulaErrorPos = 0;
    formulaErrorCause = 0;
}
