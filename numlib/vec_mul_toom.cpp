// Toom-3: with x = 2^(64s), a = a0 + a1 x + a2 x^2 and b alike, the product
// c0 + c1 x + ... + c4 x^4 is recovered from its values at 0, 1, -1, 2 and
// infinity: five products of a third of the size. The interpolation order
// (Bodrato's) keeps every intermediate value non-negative, so only the value
// at -1 carries a sign.
#include <algorithm>

#include "numlib/vec_mul_impl.h"

namespace {

// {e1, s+1} = a0 + a1 + a2 and {em, s+1} = |a0 - a1 + a2| for a of 2s + t
// words (1 <= t <= s); true when a0 - a1 + a2 < 0.
bool eval_pm1(u64* e1, u64* em, const u64* a, i64 s, i64 t) {
    const u64* a1 = a + s;
    em[s] = vec_add(em, a, s, a + 2 * s, t);
    e1[s] = em[s] + vec_add_n(e1, em, a1, s);
    if (em[s] == 0 && vec_cmp(em, a1, s) < 0) {
        vec_sub_n(em, a1, em, s);
        return true;
    }
    em[s] -= vec_sub_n(em, em, a1, s);
    return false;
}

// Turns {e, s+1} = a(1) into a(2) = 2 (a(1) + a2) - a0.
void eval_2_from_1(u64* e, const u64* a, i64 s, i64 t) {
    vec_add(e, e, s + 1, a + 2 * s, t);
    vec_lshift(e, e, s + 1, 1);
    vec_sub(e, e, s + 1, a, s);
}

// {dst, total} += {c, len} * 2^(64 off); words of c beyond dst are zero.
void add_at(u64* dst, i64 total, i64 off, const u64* c, i64 len) {
    const i64 room = total - off, k = std::min(len, room);
    const u64 carry = vec_add_n(dst + off, dst + off, c, k);
    vec_add_1(dst + off + k, dst + off + k, room - k, carry);
}

// The products at 1, -1 and 2 in {v1, 2s+2}, {vm, 2s+2} (its absolute value;
// negative tells the sign) and {v2, 2s+2}; v0 = c0 in the 2s low words of
// dst and vinf = c4 in the vinf_len words from 4s. Recovers c1, c2, c3 (each
// below 2^(128s + 6), so 2s + 1 words hold every intermediate value) and
// adds them in; v1, vm and v2 are overwritten.
void interpolate(u64* dst, i64 s, i64 vinf_len, u64* v1, u64* vm, u64* v2, bool negative) {
    const i64 len = 2 * s + 1;
    const u64* v0 = dst;
    const u64* vinf = dst + 4 * s;
    // v2 = (v(2) - v(-1)) / 3 = c1 + c2 + 3 c3 + 5 c4, vm = (v(1) - v(-1)) / 2 = c1 + c3
    if (negative) {
        vec_add_n(v2, v2, vm, len);
        vec_add_n(vm, v1, vm, len);
    } else {
        vec_sub_n(v2, v2, vm, len);
        vec_sub_n(vm, v1, vm, len);
    }
    vec_divexact_by3(v2, v2, len);
    vec_rshift(vm, vm, len, 1);
    // v1 = v(1) - v0 = c1 + c2 + c3 + c4
    vec_sub(v1, v1, len, v0, 2 * s);
    // v2 = (v2 - v1) / 2 - 2 c4 = c3
    vec_sub_n(v2, v2, v1, len);
    vec_rshift(v2, v2, len, 1);
    vec_sub(v2, v2, len, vinf, vinf_len);
    vec_sub(v2, v2, len, vinf, vinf_len);
    // v1 = v1 - vm - c4 = c2, vm = vm - c3 = c1
    vec_sub_n(v1, v1, vm, len);
    vec_sub(v1, v1, len, vinf, vinf_len);
    vec_sub_n(vm, vm, v2, len);
    const i64 total = 4 * s + vinf_len;
    vec_zero(dst + 2 * s, 2 * s);
    add_at(dst, total, s, vm, len);
    add_at(dst, total, 2 * s, v1, len);
    add_at(dst, total, 3 * s, v2, len);
}

// Scratch layout shared by the product and the square: the values at 1, -1
// and 2 (2s + 2 words each) after the evaluation buffers.
struct ToomBuffers {
    ToomBuffers(u64* scratch, i64 s, int operands)
        : e(scratch),
          v1(e + 2 * operands * (s + 1)),
          vm(v1 + 2 * s + 2),
          v2(vm + 2 * s + 2),
          rest(v2 + 2 * s + 2) {}
    static i64 words(i64 s, int operands) { return 2 * operands * (s + 1) + 3 * (2 * s + 2); }
    u64* e;  // a(1), |a(-1)| for each operand, s + 1 words each
    u64* v1;
    u64* vm;
    u64* v2;
    u64* rest;
};

}  // namespace

i64 vec_mul_toom3_scratch(i64 la, i64 lb) {
    const i64 s = (la + 2) / 3;
    const i64 sub = std::max({vec_mul_scratch(s + 1, s + 1), vec_mul_scratch(s, s),
                              vec_mul_scratch(la - 2 * s, lb - 2 * s)});
    return ToomBuffers::words(s, 2) + sub;
}

void vec_mul_toom3(u64* dst, const u64* a, i64 la, const u64* b, i64 lb, u64* scratch) {
    const i64 s = (la + 2) / 3, ta = la - 2 * s, tb = lb - 2 * s;
    assert(la >= lb && tb >= 1 && vec_apart(dst, la + lb, a, la) && vec_apart(dst, la + lb, b, lb));
    ToomBuffers t(scratch, s, 2);
    u64* ea = t.e;
    u64* eb = ea + (s + 1);
    u64* ema = eb + (s + 1);
    u64* emb = ema + (s + 1);
    const bool negative = eval_pm1(ea, ema, a, s, ta) != eval_pm1(eb, emb, b, s, tb);
    vec_mul(t.v1, ea, s + 1, eb, s + 1, t.rest);
    vec_mul(t.vm, ema, s + 1, emb, s + 1, t.rest);
    eval_2_from_1(ea, a, s, ta);
    eval_2_from_1(eb, b, s, tb);
    vec_mul(t.v2, ea, s + 1, eb, s + 1, t.rest);
    vec_mul(dst, a, s, b, s, t.rest);
    vec_mul(dst + 4 * s, a + 2 * s, ta, b + 2 * s, tb, t.rest);
    interpolate(dst, s, ta + tb, t.v1, t.vm, t.v2, negative);
}

i64 vec_sqr_toom3_scratch(i64 n) {
    const i64 s = (n + 2) / 3;
    const i64 sub =
        std::max({vec_sqr_scratch(s + 1), vec_sqr_scratch(s), vec_sqr_scratch(n - 2 * s)});
    return ToomBuffers::words(s, 1) + sub;
}

void vec_sqr_toom3(u64* dst, const u64* a, i64 n, u64* scratch) {
    const i64 s = (n + 2) / 3, t = n - 2 * s;
    assert(t >= 1 && vec_apart(dst, 2 * n, a, n));
    ToomBuffers buf(scratch, s, 1);
    u64* e1 = buf.e;
    u64* em = e1 + (s + 1);
    eval_pm1(e1, em, a, s, t);
    vec_sqr(buf.v1, e1, s + 1, buf.rest);
    vec_sqr(buf.vm, em, s + 1, buf.rest);
    eval_2_from_1(e1, a, s, t);
    vec_sqr(buf.v2, e1, s + 1, buf.rest);
    vec_sqr(dst, a, s, buf.rest);
    vec_sqr(dst + 4 * s, a + 2 * s, t, buf.rest);
    interpolate(dst, s, 2 * t, buf.v1, buf.vm, buf.v2, false);
}

void vec_divexact_by3(u64* r, const u64* a, i64 n) {
    // With m = (2^64 - 1) / 3, a m = q (2^64 - 1) for q = a / 3, so q 2^64 =
    // a m + q and q follows word by word from the bottom. The products a[i] m
    // do not depend on each other, so only a subtraction chain is serial.
    constexpr u64 m = ~u64{0} / 3;
    u64 h = 0;
    for (i64 i = 0; i < n; ++i) {
        const u128 p = static_cast<u128>(a[i]) * m;
        const u64 lo = static_cast<u64>(p), hi = static_cast<u64>(p >> 64);
        const u64 borrow = h < lo;
        h -= lo;
        r[i] = h;
        h -= hi + borrow;
    }
}
