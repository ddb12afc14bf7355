// The schoolbook product and square as rows of one-word products, written
// once over a set of row loops (portable or mulx/adx). Rows provides
//   static u64 mul_1(u64* r, const u64* a, i64 n, u64 v);     // {r, n} = {a, n} * v
//   static u64 addmul_1(u64* r, const u64* a, i64 n, u64 v);  // {r, n} += {a, n} * v
// each returning the carry word, n >= 1; mul_1 allows r == a, addmul_1 no
// overlap at all.
#pragma once

#include "numlib/vec.h"

// {dst, 2n} = 2 * {dst, 2n} + the squares a[i]^2 at word 2i. The doubled
// value plus the squares must fit 2n words (true for a square's cross terms).
void sqr_double_add_diagonal(u64* dst, const u64* a, i64 n);

// {dst, la + lb} = {a, la} * {b, lb}, la >= lb >= 1. Rows run along the
// longer operand, so there are few of them and each is long.
template <class Rows>
inline void rows_mul(u64* dst, const u64* a, i64 la, const u64* b, i64 lb) {
    dst[la] = Rows::mul_1(dst, a, la, b[0]);
    for (i64 i = 1; i < lb; ++i) dst[la + i] = Rows::addmul_1(dst + i, a, la, b[i]);
}

// {dst, 2n} = {a, n}^2: the cross products a[i] * a[j], i < j, once each,
// then doubled, then the squares added.
template <class Rows>
inline void rows_sqr(u64* dst, const u64* a, i64 n) {
    dst[0] = 0;
    dst[2 * n - 1] = 0;
    if (n > 1) {
        dst[n] = Rows::mul_1(dst + 1, a + 1, n - 1, a[0]);
        for (i64 i = 1; i < n - 1; ++i)
            dst[n + i] = Rows::addmul_1(dst + 2 * i + 1, a + i + 1, n - 1 - i, a[i]);
    }
    sqr_double_add_diagonal(dst, a, n);
}

// One complete set of row loops and the schoolbook methods built from them.
struct MulRowLoops {
    u64 (*mul_1)(u64* r, const u64* a, i64 n, u64 v);
    u64 (*addmul_1)(u64* r, const u64* a, i64 n, u64 v);
    void (*mul)(u64* dst, const u64* a, i64 la, const u64* b, i64 lb);
    void (*sqr)(u64* dst, const u64* a, i64 n);
};

// The mulx/adcx/adox set; only usable where the processor has BMI2 and ADX.
extern const MulRowLoops mul_row_loops_adx;
