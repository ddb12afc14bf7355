// The product and square dispatchers: schoolbook, Karatsuba or Toom-3 by
// size, with long operands cut into pieces the size of the short one. Each
// scratch function follows its method's recursion exactly, so it is the
// largest number of words any path below the call touches.
#include <algorithm>
#include <utility>

#include "numlib/vec_mul_impl.h"

static_assert(SQR_KARATSUBA_MIN >= 2 && SQR_TOOM3_MIN >= 5);

namespace {

i64 sliced_scratch(i64 la, i64 lb) {
    const i64 r = la % lb;
    return 2 * lb + std::max(vec_mul_scratch(lb, lb), r ? vec_mul_scratch(lb, r) : 0);
}

// {dst, la + lb} = {a, la} * {b, lb} for la well above lb: a in lb-word
// pieces, each piece's product added in above the ones before it.
void mul_sliced(u64* dst, const u64* a, i64 la, const u64* b, i64 lb, u64* scratch) {
    u64* piece = scratch;
    u64* rest = scratch + 2 * lb;
    vec_mul(dst, a, lb, b, lb, rest);
    for (i64 off = lb; off < la; off += lb) {
        const i64 k = std::min(lb, la - off);
        vec_mul(piece, b, lb, a + off, k, rest);
        const u64 carry = vec_add_n(dst + off, dst + off, piece, lb);
        vec_copy_fwd(dst + off + lb, piece + lb, k);
        // The sum so far is a product of off + k words of a, so nothing
        // carries out of its off + k + lb words.
        vec_add_1(dst + off + lb, dst + off + lb, k, carry);
    }
}

}  // namespace

i64 vec_mul_scratch(i64 la, i64 lb) {
    if (la < lb) std::swap(la, lb);
    // vec_mul hands an equal-operand product to vec_sqr
    const i64 square = la == lb ? vec_sqr_scratch(la) : 0;
    i64 own;
    if (lb < MUL_KARATSUBA_MIN)
        own = 0;
    else if (!mul_is_balanced(la, lb))
        own = sliced_scratch(la, lb);
    else if (lb < MUL_TOOM3_MIN)
        own = vec_mul_karatsuba_scratch(la, lb);
    else
        own = vec_mul_toom3_scratch(la, lb);
    return std::max(square, own);
}

void vec_mul(u64* dst, const u64* a, i64 la, const u64* b, i64 lb, u64* scratch) {
    assert(la >= lb && lb >= 1 && vec_apart(dst, la + lb, a, la) && vec_apart(dst, la + lb, b, lb));
    if (a == b && la == lb)
        vec_sqr(dst, a, la, scratch);
    else if (lb < MUL_KARATSUBA_MIN)
        vec_mul_basecase(dst, a, la, b, lb);
    else if (!mul_is_balanced(la, lb))
        mul_sliced(dst, a, la, b, lb, scratch);
    else if (lb < MUL_TOOM3_MIN)
        vec_mul_karatsuba(dst, a, la, b, lb, scratch);
    else
        vec_mul_toom3(dst, a, la, b, lb, scratch);
}

i64 vec_sqr_scratch(i64 n) {
    if (n < SQR_KARATSUBA_MIN) return 0;
    if (n < SQR_TOOM3_MIN) return vec_sqr_karatsuba_scratch(n);
    return vec_sqr_toom3_scratch(n);
}

void vec_sqr(u64* dst, const u64* a, i64 n, u64* scratch) {
    assert(n >= 1 && vec_apart(dst, 2 * n, a, n));
    if (n < SQR_KARATSUBA_MIN)
        vec_sqr_basecase(dst, a, n);
    else if (n < SQR_TOOM3_MIN)
        vec_sqr_karatsuba(dst, a, n, scratch);
    else
        vec_sqr_toom3(dst, a, n, scratch);
}
