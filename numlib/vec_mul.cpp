// Multiplication kernels: one-word rows and the schoolbook product, and the
// product dispatcher.
#include "numlib/vec.h"

u64 vec_mul_word(i64 count, u64* dst, const u64* a, u64 v) {
    u64 carry = 0;
    for (i64 i = 0; i < count; ++i) {
        u128 p = static_cast<u128>(a[i]) * v + carry;
        dst[i] = static_cast<u64>(p);
        carry = static_cast<u64>(p >> 64);
    }
    return carry;
}

u64 vec_addmul_word(u64* r, const u64* a, i64 n, u64 v) {
    u64 carry = 0;
    for (i64 i = 0; i < n; ++i) {
        u128 p = static_cast<u128>(a[i]) * v + carry + r[i];
        r[i] = static_cast<u64>(p);
        carry = static_cast<u64>(p >> 64);
    }
    return carry;
}

u64 vec_submul_word(u64* r, const u64* a, i64 n, u64 v) {
    u64 borrow = 0;
    for (i64 i = 0; i < n; ++i) {
        u128 p = static_cast<u128>(a[i]) * v + borrow;
        u64 lo = static_cast<u64>(p);
        u64 x = r[i];
        r[i] = x - lo;
        borrow = static_cast<u64>(p >> 64) + (x < lo);
    }
    return borrow;
}

void vec_mul_rows(u64* dst, const u64* a, const u64* b, i64 la, i64 lb) {
    for (i64 i = 0; i < la; ++i) dst[i + lb] = vec_addmul_word(dst + i, b, lb, a[i]);
}

i64 vec_mul_scratch(i64, i64) { return 0; }

void vec_mul(u64* dst, const u64* a, i64 la, const u64* b, i64 lb, u64*) {
    assert(la >= lb && lb >= 1);
    vec_zero(dst, la + lb);
    vec_mul_rows(dst, a, b, la, lb);
}

i64 vec_sqr_scratch(i64) { return 0; }

void vec_sqr(u64* dst, const u64* a, i64 n, u64* scratch) { vec_mul(dst, a, n, a, n, scratch); }
