// One number-library call checked in each placement of its destination:
// apart from the operands, equal to each operand in turn, apart with an
// error (13) already pending, and apart with the scratch area nearly full.
// Every array sits between guard words; every run must leave the scratch
// top where it was, write nothing past an array, leave the operands it does
// not write to alone and give the wanted words, scalar result and error.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "numlib/mp_types.h"

using AliasOperands = std::vector<std::vector<u64>>;
// Runs the routine under test; dst may be one of ops. Returns its scalar
// result (0 when it has none).
using AliasCall = std::function<i64(u64* dst, const std::vector<const u64*>& ops)>;

// With an error pending the error must stay, and the words may also be
// `stopped` (when not empty: a routine may stop early). With the scratch area
// nearly full a routine may fail instead with error 30 and result 0, leaving
// the words `failed` (when not empty).
struct AliasWant {
    std::vector<u64> words;
    i64 ret = 0;
    i32 err = 0;
    std::vector<u64> stopped, failed;
    std::string text;  // the wanted value, for failure messages
};

// Reports a failing run through gtest, naming the routine, the word count
// n, the placement, the faults and the operands; false after a failure.
bool check_aliasing(const std::string& name, i64 n, const AliasCall& call, const AliasOperands& ops,
                    const AliasWant& want);
