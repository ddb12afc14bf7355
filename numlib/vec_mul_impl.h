// Internals of the multiplication kernels: the size thresholds between the
// methods, the methods themselves and the choice of word loops. Sizes and
// overlap rules as in vec.h; none of these reads the context.
#pragma once

#include "numlib/vec.h"
#include "numlib/vec_contract.h"

// Smallest operand size (the shorter operand, in words) at which each method
// takes over from the one below it: where one step of it first beat the
// method below on x86-64 with the mulx/adx loops. The crossings are flat
// (a few per cent either side); the portable loops would favour a lower
// Karatsuba size, which costs them little.
constexpr i64 MUL_KARATSUBA_MIN = 28;
constexpr i64 MUL_TOOM3_MIN = 130;
constexpr i64 SQR_KARATSUBA_MIN = 60;
constexpr i64 SQR_TOOM3_MIN = 170;

// Karatsuba needs both upper halves non-empty, Toom-3 both upper thirds; the
// balance rule of vec_mul (3 la <= 4 lb) guarantees it above these sizes.
static_assert(MUL_KARATSUBA_MIN >= 6 && MUL_TOOM3_MIN >= 28);
static_assert(MUL_TOOM3_MIN > MUL_KARATSUBA_MIN && SQR_TOOM3_MIN > SQR_KARATSUBA_MIN);

// Whether la x lb (la >= lb) is close enough to square for one Karatsuba or
// Toom-3 step; longer operands are cut into lb-word pieces first.
inline bool mul_is_balanced(i64 la, i64 lb) {
    return 3 * la <= 4 * lb;
}

// ---- schoolbook ---------------------------------------------------------

// {dst, la + lb} = {a, la} * {b, lb}, la >= lb >= 1; dst overlaps neither.
void vec_mul_basecase(u64* dst, const u64* a, i64 la, const u64* b, i64 lb);
// {dst, 2n} = {a, n}^2 forming each cross product once; dst does not overlap a.
void vec_sqr_basecase(u64* dst, const u64* a, i64 n);

// Selects the word loops: the mulx/adcx/adox ones when fast is true and the
// processor has them, else the portable ones. Returns whether the mulx/adx
// loops are now in use. Both give identical results; by default the choice
// is made once from the processor's features. For tests and measurements.
bool vec_mul_use_fast_loops(bool fast);

// ---- Karatsuba (one level, recursing through vec_mul / vec_sqr) ----------

// la >= lb > (la + 1) / 2.
i64 vec_mul_karatsuba_scratch(i64 la, i64 lb);
void vec_mul_karatsuba(u64* dst, const u64* a, i64 la, const u64* b, i64 lb, u64* scratch);
i64 vec_sqr_karatsuba_scratch(i64 n);  // n >= 2
void vec_sqr_karatsuba(u64* dst, const u64* a, i64 n, u64* scratch);

// ---- Toom-3 (points 0, 1, -1, 2, infinity) -------------------------------

// la >= lb > 2 * ((la + 2) / 3).
i64 vec_mul_toom3_scratch(i64 la, i64 lb);
void vec_mul_toom3(u64* dst, const u64* a, i64 la, const u64* b, i64 lb, u64* scratch);
i64 vec_sqr_toom3_scratch(i64 n);  // n >= 5
void vec_sqr_toom3(u64* dst, const u64* a, i64 n, u64* scratch);

// {r, n} = {a, n} / 3 for a multiple of 3. r may equal a.
void vec_divexact_by3(u64* r, const u64* a, i64 n);
