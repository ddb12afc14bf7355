// Turning the variables a formula names, and "ans", into the evaluation's
// VariableTable (s.table), and the switch from rat to real that a value
// without a rational form causes. Used by the evaluation job.
#pragma once

#include "calculator/calc_job.h"

// Builds s.table for formula: each variable the formula reads (a name that is
// no keyword and not followed by "(") whose name matches a list entry, the
// first such entry, evaluated once; "ans" as the previous result, converted
// to the current type first. Errors: 1205 "ans" without a previous result,
// 1201 "ans" not convertible, 1204 more than 20 entries, 1203 a value that
// does not evaluate (with the name), 9003 stopped. Stops at the first error.
void calcPrepareVariables(CalcState& s, const std::u16string& formula, CalcJobSink* sink);

// Converts the first count table values from rat to real at s.realWords and
// sets the library to real. False when a value does not convert.
bool calcTableToReal(CalcState& s, i64 count);

// Makes real the calculator's number type (state, library, setting) and
// tells the sink.
void calcSwitchToReal(CalcState& s, CalcJobSink* sink);

// True when the owner asked the job to stop; raises 9003 then.
bool calcStopped(CalcState& s);
