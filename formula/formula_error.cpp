#include "formula/formula_error.h"

u32 formulaError = 0;
i32 formulaErrorPos = 0;

void raiseFormulaError(u32 code, i32 pos) {
    if (formulaError != 0 || code == 0) return;
    formulaError = code;
    formulaErrorPos = pos;
}

void clearFormulaError() {
    formulaError = 0;
    formulaErrorPos = 0;
}
