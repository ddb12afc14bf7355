// Checks of the word-vector kernels' overlap rules, for their asserts: they
// run where assertions do (the sanitizer build) and cost nothing under
// NDEBUG. Addresses are compared as integers, since vectors of different
// arrays have no pointer order.
#pragma once

#include <cassert>
#include <cstdint>

#include "numlib/mp_types.h"

// {a, an} and {b, bn} share no word; an empty vector shares none.
inline bool vec_apart(const u64* a, i64 an, const u64* b, i64 bn) {
    const auto pa = reinterpret_cast<std::uintptr_t>(a);
    const auto pb = reinterpret_cast<std::uintptr_t>(b);
    return an <= 0 || bn <= 0 || pa + 8 * static_cast<std::uintptr_t>(an) <= pb ||
           pb + 8 * static_cast<std::uintptr_t>(bn) <= pa;
}

// r is a itself ("r may equal a") or shares no word with it.
inline bool vec_same_or_apart(const u64* r, i64 rn, const u64* a, i64 an) {
    return r == a || vec_apart(r, rn, a, an);
}

// A kernel working upwards may write r over a when r starts at or below a.
inline bool vec_at_or_below(const u64* r, const u64* a, i64 n) {
    return reinterpret_cast<std::uintptr_t>(r) <= reinterpret_cast<std::uintptr_t>(a) ||
           vec_apart(r, n, a, n);
}

// A kernel working downwards may write r over a when r starts at or above a.
inline bool vec_at_or_above(const u64* r, const u64* a, i64 n) {
    return reinterpret_cast<std::uintptr_t>(r) >= reinterpret_cast<std::uintptr_t>(a) ||
           vec_apart(r, n, a, n);
}
