// The scientific calculator's core, free of any window code: its state and
// settings (calc_state.h), the variables (calc_variables.h), the evaluation
// job (calc_job.h) and the result display (calc_display.h). A front end
// keeps one CalcState, calls calcInit once, and then:
//   s.formula = text; calcEvaluate(s) (or the worker sequence of calc_job.h);
//   show s.resultText, or the message of takeErrorMessage() (error_message.h).
#pragma once

#include "calculator/calc_display.h"
#include "calculator/calc_job.h"
#include "calculator/calc_state.h"
#include "calculator/calc_variables.h"
