// Karatsuba's step: with x = 2^(64h), a = a0 + a1 x and b = b0 + b1 x,
//   a b = a0 b0 + (a0 b0 + a1 b1 - (a0 - a1)(b0 - b1)) x + a1 b1 x^2,
// three half-size products instead of four. The differences are taken as
// absolute values with a sign, so every product is of unsigned operands.
#include <algorithm>

#include "numlib/vec_mul_impl.h"

namespace {

// {r, h} = |{x, h} - {y, yn}|, yn <= h; true when x < y.
bool abs_diff(u64* r, const u64* x, i64 h, const u64* y, i64 yn) {
    const bool x_less = vec_is_zero(x + yn, h - yn) && vec_cmp(x, y, yn) < 0;
    if (x_less) {
        vec_sub_n(r, y, x, yn);
        vec_zero(r + yn, h - yn);
    } else {
        vec_sub(r, x, h, y, yn);
    }
    return x_less;
}

// Adds the middle term to {dst, total} at word h. On entry dst holds v0 =
// a0 b0 in its 2h low words and vinf = a1 b1 in the vinf_len words above;
// {vm1, 2h} holds |(a0 - a1)(b0 - b1)|, to be added when the difference
// product is negative and subtracted otherwise. vm1 is overwritten.
void add_middle(u64* dst, i64 total, i64 h, i64 vinf_len, u64* vm1, bool negative) {
    // The middle term is non-negative and below 2^(128h + 1): its 2h low
    // words end up in vm1 and its top bit in top.
    u64 top = negative ? vec_add_n(vm1, dst, vm1, 2 * h) : 0 - vec_sub_n(vm1, dst, vm1, 2 * h);
    top += vec_add(vm1, vm1, 2 * h, dst + 2 * h, vinf_len);
    // Where the product is short, the middle term's high words are zero.
    const i64 room = total - h, k = std::min(2 * h, room);
    const u64 carry = vec_add_n(dst + h, dst + h, vm1, k);
    if (room > k) vec_add_1(dst + h + k, dst + h + k, room - k, carry + top);
}

}  // namespace

i64 vec_mul_karatsuba_scratch(i64 la, i64 lb) {
    const i64 h = (la + 1) / 2;
    return 2 * h + std::max(vec_mul_scratch(h, h), vec_mul_scratch(la - h, lb - h));
}

void vec_mul_karatsuba(u64* dst, const u64* a, i64 la, const u64* b, i64 lb, u64* scratch) {
    const i64 h = (la + 1) / 2, sa = la - h, sb = lb - h;
    assert(la >= lb && sb >= 1 && vec_apart(dst, la + lb, a, la) && vec_apart(dst, la + lb, b, lb));
    // The differences live in dst (2h <= la + lb words) until the products
    // that do not need them overwrite it.
    u64* da = dst;
    u64* db = dst + h;
    const bool negative = abs_diff(da, a, h, a + h, sa) != abs_diff(db, b, h, b + h, sb);
    u64* vm1 = scratch;
    u64* rest = scratch + 2 * h;
    vec_mul(vm1, da, h, db, h, rest);
    vec_mul(dst, a, h, b, h, rest);
    vec_mul(dst + 2 * h, a + h, sa, b + h, sb, rest);
    add_middle(dst, la + lb, h, sa + sb, vm1, negative);
}

i64 vec_sqr_karatsuba_scratch(i64 n) {
    const i64 h = (n + 1) / 2;
    return 2 * h + std::max(vec_sqr_scratch(h), vec_sqr_scratch(n - h));
}

void vec_sqr_karatsuba(u64* dst, const u64* a, i64 n, u64* scratch) {
    const i64 h = (n + 1) / 2, s = n - h;
    assert(s >= 1 && vec_apart(dst, 2 * n, a, n));
    abs_diff(dst, a, h, a + h, s);
    u64* vm1 = scratch;
    u64* rest = scratch + 2 * h;
    vec_sqr(vm1, dst, h, rest);
    vec_sqr(dst, a, h, rest);
    vec_sqr(dst + 2 * h, a + h, s, rest);
    add_middle(dst, 2 * n, h, 2 * s, vm1, false);
}
