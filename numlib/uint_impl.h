// Shared helpers of the uint routines (not part of the public interface).
#pragma once

#include "numlib/mp_scratch.h"
#include "numlib/uint.h"
#include "numlib/vec.h"

inline i64 uint_words() {
    return mp_int_words;
}

// Raises code and makes dst (n words, may be nullptr) zero.
inline void uint_fail(u64* dst, i32 code) {
    mp_raise(code);
    if (dst) vec_zero(dst, uint_words());
}

// Significant length of an n-word value.
inline i64 uint_len(const u64* a) {
    return vec_len(a, uint_words());
}

// Copies the significant words {src, len} into the n-word dst and clears the rest.
inline void uint_store(u64* dst, const u64* src, i64 len) {
    vec_copy_fwd(dst, src, len);
    vec_zero(dst + len, uint_words() - len);
}

// {dst, la + lb} = {a, la} * {b, lb} for any la, lb >= 1, with scratch for the
// kernel taken from mark. dst overlaps neither operand. False (error 30
// raised) when the scratch area is exhausted.
bool uint_mul_into(u64* dst, const u64* a, i64 la, const u64* b, i64 lb, ScratchMark& mark);
