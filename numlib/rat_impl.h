// Shared helpers of the rat routines (not part of the public interface).
#pragma once

#include "numlib/mp_scratch.h"
#include "numlib/rat.h"
#include "numlib/uint.h"
#include "numlib/vec.h"
#include "numlib/words_scope.h"

inline i64 rat_words() {
    return mp_int_words;
}

// Raises code and makes dst (may be nullptr) 0/1.
inline void rat_fail(u64* dst, i32 code) {
    mp_raise(code);
    if (dst) rat_zero(dst);
}

inline bool rat_is_zero(const u64* x) {
    return vec_is_zero(rat_num(x), rat_words());
}
inline bool rat_is_int(const u64* x) {
    return uint_is_one(rat_den(x));
}
// The sign that counts: a zero is never negative.
inline int rat_neg(const u64* x) {
    return rat_sign(x) && !rat_is_zero(x) ? 1 : 0;
}

// Sets {x, w} to 1.
inline void words_set_one(u64* x, i64 w) {
    vec_zero(x, w);
    x[0] = 1;
}
inline bool words_is_one(const u64* x, i64 w) {
    return x[0] == 1 && vec_len(x, w) == 1;
}

// Runs body with errors isolated; an error of its own leaves dst 0/1.
template <class Body>
void rat_isolated(u64* dst, Body body) {
    MpIsolate isolate;
    body();
    if (isolate.inner() && dst) rat_zero(dst);
}

// Writes sign, {num, w} and {den, w} (in lowest terms) into the n-word dst,
// which may overlap neither; a part that does not fit n words is error 12
// and gives 0/1. A zero numerator gets sign 0.
void rat_store(u64* dst, int sign, const u64* num, const u64* den, i64 w);

// Brings {num, w}/{den, w} to lowest terms in place, at the significant
// length of the larger part. A zero denominator under a non-zero numerator
// is error 13 and gives 0/1; a zero numerator makes the denominator 1.
void rat_reduce_at(u64* num, u64* den, i64 w);

// For non-zero n-word a and b: g = gcd(a, b), ra = a / g and rb = b / g
// (g, ra, rb may be nullptr, and may equal a or b; ra and rb differ from g).
// False on an error.
bool rat_cancel(u64* g, u64* ra, u64* rb, const u64* a, const u64* b);
