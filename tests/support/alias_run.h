// One call of a number-library operation in each placement of its
// destination: apart from the operands, equal to each operand in turn, and
// apart again with an error (13) already pending. Every array sits between
// guard words; a run records what the operation must never do (move the
// scratch top, write past an array, change an operand it does not write to,
// raise the wrong error) for the harness of its number type to report.
#pragma once

#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "numlib/mp_types.h"

using AliasOperands = std::vector<std::vector<u64>>;
using AliasCall = std::function<i64(u64* dst, const std::vector<const u64*>& ops)>;

struct AliasRun {
    std::vector<u64> dst;  // the destination's words after the call
    i64 ret = 0;
    i32 err = 0;
    bool pending = false;    // the run with error 13 pending
    std::ostringstream why;  // faults found so far, "...; " each
};

// Placements -1 (apart), 0..k-1 (operand i), k (apart, error pending) of k
// operands of `size` words each.
void alias_run(AliasRun& out, const AliasCall& call, const AliasOperands& ops, i64 size,
               i64 placement, i32 want_err);

// Reports a run with faults as a test failure (naming the operation, n, the
// placement, the faults, what was wanted and the operands); true when none.
bool alias_report(const std::string& name, i64 n, i64 placement, const AliasOperands& ops, i64 size,
                  const AliasRun& run, const std::string& want);
