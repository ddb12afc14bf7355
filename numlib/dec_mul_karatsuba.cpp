// Karatsuba's step in base B = 10^19: with x = B^h, a = a0 + a1 x and
// b = b0 + b1 x,
//   a b = a0 b0 + (a0 b0 + a1 b1 - (a0 - a1)(b0 - b1)) x + a1 b1 x^2.
// The differences are taken as absolute values with a sign, so every
// product is of unsigned operands and no decimal word exceeds B - 1.
#include <algorithm>
#include <cassert>

#include "numlib/dec_mul_impl.h"

namespace {

// {r, h} = |{x, h} - {y, yn}|, yn <= h; true when x < y.
bool abs_diff(u64* r, const u64* x, i64 h, const u64* y, i64 yn) {
    const bool x_less = vec_is_zero(x + yn, h - yn) && vec_cmp(x, y, yn) < 0;
    if (x_less) {
        dec_sub_n(r, y, x, yn);
        vec_zero(r + yn, h - yn);
    } else {
        dec_sub(r, x, h, y, yn);
    }
    return x_less;
}

// Adds the middle term to {dst, total} at word h. On entry dst holds a0 b0
// in its 2h low words and a1 b1 in the high_len words above; {vm1, 2h}
// holds |(a0 - a1)(b0 - b1)|, added when the difference product is negative
// and subtracted otherwise. vm1 is overwritten.
void add_middle(u64* dst, i64 total, i64 h, i64 high_len, u64* vm1, bool negative) {
    // The middle term is below 2 B^(2h): its 2h low words end up in vm1 and
    // the rest (0 or 1, after a borrow of -1 wrapped) in top.
    u64 top = negative ? dec_add_n(vm1, dst, vm1, 2 * h) : 0 - dec_sub_n(vm1, dst, vm1, 2 * h);
    top += dec_add(vm1, vm1, 2 * h, dst + 2 * h, high_len);
    const i64 room = total - h, k = std::min(2 * h, room);
    const u64 carry = dec_add_n(dst + h, dst + h, vm1, k);
    if (room > k) dec_add_1(dst + h + k, dst + h + k, room - k, carry + top);
}

}  // namespace

void dec_mul_karatsuba(u64* dst, const u64* a, i64 la, const u64* b, i64 lb, u64* scratch) {
    const i64 h = (la + 1) / 2, sa = la - h, sb = lb - h;
    assert(la >= lb && sb >= 1);
    // The differences live in dst until the products that do not need them
    // overwrite it.
    u64* da = dst;
    u64* db = dst + h;
    const bool negative = abs_diff(da, a, h, a + h, sa) != abs_diff(db, b, h, b + h, sb);
    u64* vm1 = scratch;
    u64* rest = scratch + 2 * h;
    dec_mul(vm1, da, h, db, h, rest);
    dec_mul(dst, a, h, b, h, rest);
    dec_mul(dst + 2 * h, a + h, sa, b + h, sb, rest);
    add_middle(dst, la + lb, h, sa + sb, vm1, negative);
}

void dec_sqr_karatsuba(u64* dst, const u64* a, i64 n, u64* scratch) {
    const i64 h = (n + 1) / 2, s = n - h;
    // a^2 = a0^2 + (a0^2 + a1^2 - (a0 - a1)^2) x + a1^2 x^2: the middle term's
    // square is never negative.
    u64* d = dst;
    abs_diff(d, a, h, a + h, s);
    u64* vm1 = scratch;
    u64* rest = scratch + 2 * h;
    dec_sqr(vm1, d, h, rest);
    dec_sqr(dst, a, h, rest);
    dec_sqr(dst + 2 * h, a + h, s, rest);
    add_middle(dst, 2 * n, h, 2 * s, vm1, false);
}
