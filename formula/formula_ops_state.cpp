// The state shared by the evaluator and the operations: work limits and the
// inexact mark of an evaluation.
#include "formula/formula_ops.h"

i32 comboLimit = 0;
i32 divisionLimit = 0;
i32 powmodLimit = 0;
bool inexactFlag = false;
