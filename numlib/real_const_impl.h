// The stored part of the constant table (real_constants_generated.cpp).
#pragma once

#include "numlib/real_const.h"

// Entries 0-9, each {header, 528 mantissa words}.
constexpr i32 REAL_CONST_STORED_COUNT = 10;
extern const u64 REAL_CONST_STORED[REAL_CONST_STORED_COUNT][MP_CONST_WORDS + 1];
