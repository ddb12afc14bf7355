// k-th roots by Newton's iteration x' = ((k - 1) x + a / x^(k-1)) / k in
// integers. From any x > 0 the step gives at least floor(a^(1/k)) (by the
// inequality of arithmetic and geometric means), and from an x above that
// floor it strictly decreases; so the iteration walks down to the floor, and
// the first x with x^k <= a is it.
//
// A good start saves most of the work: the root of a with its low k t bits
// dropped gives the high bits of the root, so the roots are computed from a
// short floating-point estimate upwards, doubling the correct bits with one
// step per level; only the last level iterates until the check passes.
#include <algorithm>
#include <cmath>
#include <utility>

#include "numlib/uint_root_impl.h"

namespace {

constexpr i64 BASE_BITS = 32;  // roots this short start from the estimate
constexpr int MAX_LEVELS = 64;

i64 ceil_div(i64 a, i64 b) {
    return (a + b - 1) / b;
}
i64 ceil_log2(u64 k) {
    return 64 - __builtin_clzll(k - 1);
}

// A value whose root is wanted: a shifted down by some bits.
struct Operand {
    const u64* w;
    i64 len;
    i64 bits;
};

// The low bits dropped at each level; level 0 is a itself, the last level's
// root has at most BASE_BITS bits. Each level's bits are chosen so that one
// Newton step from the lifted root of the next leaves an error below one.
int plan_levels(i64 shifts[MAX_LEVELS], i64 bits, u64 k) {
    const i64 kk = static_cast<i64>(k);
    int last = 0;
    shifts[0] = 0;
    for (i64 root_bits = ceil_div(bits, kk); root_bits > BASE_BITS && last + 1 < MAX_LEVELS;) {
        const i64 step = std::max<i64>(1, (root_bits - ceil_log2(k) - 6) / 2);
        shifts[last + 1] = shifts[last] + step;
        ++last;
        root_bits -= step;
    }
    return last;
}

// A strict over-estimate, by less than two, of a root of at most
// BASE_BITS bits: long double carries the logarithm with an error far below
// the 1/16 unit of margin.
u64 estimate_root(const Operand& a, u64 k) {
    const i64 top = a.len - 1;
    const unsigned lz = static_cast<unsigned>(__builtin_clzll(a.w[top]));
    u64 head = a.w[top] << lz;
    if (lz && top > 0) head |= a.w[top - 1] >> (64 - lz);
    const long double log2a =
        static_cast<long double>(a.bits - 64) + std::log2(static_cast<long double>(head));
    const long double est = std::exp2(log2a / static_cast<long double>(k));
    return static_cast<u64>(std::floor(est + 1.0L / 16)) + 1;
}

bool mul_into(u64* dst, const u64* a, i64 la, const u64* b, i64 lb) {
    ScratchMark mark;
    return uint_mul_into(dst, a, la, b, lb, mark);
}

// {x, lx}^e (e >= 1) into one of the buffers buf[0], buf[1] (each twice the
// words of cap_bits); returns that buffer and sets *len. nullptr when the
// power reaches 2^cap_bits, or on an error (the caller tells them apart by
// mp_err).
const u64* pow_capped(u64* const buf[2], i64* len, const u64* x, i64 lx, u64 e, i64 cap_bits) {
    u64* cur = buf[0];
    u64* next = buf[1];
    vec_copy_fwd(cur, x, lx);
    i64 lc = lx;
    const auto step = [&](const u64* b, i64 lb) {
        if (!mul_into(next, cur, lc, b, lb)) return false;
        lc = vec_len(next, lc + lb);
        std::swap(cur, next);
        return vec_bit_length(cur, lc) <= cap_bits && mp_err() == 0;
    };
    if (vec_bit_length(x, lx) > cap_bits) return nullptr;
    for (int bit = 62 - __builtin_clzll(e); bit >= 0; --bit) {
        if (!step(cur, lc)) return nullptr;
        if (((e >> bit) & 1) && !step(x, lx)) return nullptr;
    }
    *len = lc;
    return cur;
}

// One step x = ((k - 1) x + floor(a / p)) / k with p = x^(k-1) (nullptr: p
// exceeds a), for an x above the root, so that the quotient is below x.
bool newton_step(u64* x, i64* lx, u64 k, const Operand& a, const u64* p, i64 lp) {
    ScratchMark mark;
    u64* sum = mark.take(static_cast<std::size_t>(*lx + 1));
    if (!sum) return false;
    sum[*lx] = vec_mul_word(sum, x, *lx, k - 1);
    if (p && lp <= a.len) {
        const i64 lq = a.len - lp + 1;
        u64* q = mark.take(static_cast<std::size_t>(lq));
        u64* work = mark.take(static_cast<std::size_t>(vec_divrem_scratch(a.len, lp)));
        if (!q || !work) return false;
        vec_divrem(q, nullptr, a.w, a.len, p, lp, work);
        const i64 sig = vec_len(q, lq);
        if (sig > *lx) {  // x was not above the root
            mp_raise(MP_ERR_INTERNAL);
            return false;
        }
        vec_add(sum, sum, *lx + 1, q, sig);
    }
    u64 rem;
    vec_divmod_word(sum, &rem, sum, *lx + 1, k);
    const i64 len = vec_len(sum, *lx + 1);
    if (len == 0 || len > *lx || (len == *lx && vec_cmp(sum, x, len) >= 0)) {
        mp_raise(MP_ERR_INTERNAL);  // a step from above the root always descends
        return false;
    }
    *lx = len;
    vec_copy_fwd(x, sum, len);
    return true;
}

// Compares {p, lp} * {x, lx} with a: -1, 0, +1, or 2 on an error.
int compare_power(const u64* p, i64 lp, const u64* x, i64 lx, const Operand& a) {
    ScratchMark mark;
    u64* prod = mark.take(static_cast<std::size_t>(lp + lx));
    if (!prod || !mul_into(prod, p, lp, x, lx)) return 2;
    const i64 len = vec_len(prod, lp + lx);
    if (len != a.len) return len < a.len ? -1 : 1;
    return vec_cmp(prod, a.w, len);
}

bool fail(u64* dst) {
    uint_fail(dst, MP_ERR_INTERNAL);  // a stop request raised first stays
    return false;
}

struct Buffers {
    u64* x;  // the root estimate
    u64* operand;
    u64* pw[2];
};

// Newton steps from x, strictly above the root, until x^k <= a; returns
// -1 on an error, else whether x^k = a.
int descend(const Buffers& b, i64* lx, u64 k, const Operand& a) {
    for (bool check = false;; check = true) {
        i64 lp = 0;
        const u64* p = pow_capped(b.pw, &lp, b.x, *lx, k - 1, a.bits);
        if (mp_err()) return -1;
        if (check && p) {
            const int c = compare_power(p, lp, b.x, *lx, a);
            if (c == 2) return -1;
            if (c <= 0) return c == 0;
        }
        if (!newton_step(b.x, lx, k, a, p, lp) || mp_err()) return -1;
    }
}

}  // namespace

bool uint_root_newton(u64* dst, u64 k, const u64* a, i64 la) {
    ScratchMark mark;
    // The roots and their lifted estimates stay below a.
    const Buffers b{mark.take(static_cast<std::size_t>(la + 1)),
                    mark.take(static_cast<std::size_t>(la)),
                    {mark.take(static_cast<std::size_t>(2 * la + 1)),
                     mark.take(static_cast<std::size_t>(2 * la + 1))}};
    if (!b.x || !b.operand || !b.pw[0] || !b.pw[1]) return fail(dst);
    const i64 bits = vec_bit_length(a, la);
    i64 shifts[MAX_LEVELS];
    const int last = plan_levels(shifts, bits, k);
    const i64 kk = static_cast<i64>(k);
    const auto operand = [&](int level) {
        const i64 drop = kk * shifts[level];
        return Operand{b.operand, root_shift_right(b.operand, a, la, drop), bits - drop};
    };
    b.x[0] = estimate_root(operand(last), k);
    i64 lx = 1;
    for (int level = last - 1; level >= 0; --level) {
        // floor(root) <= x at the coarser level, so this x is above the root.
        b.x[lx] = 0;
        vec_add_1(b.x, b.x, lx + 1, 1);
        lx = vec_len(b.x, lx + 1);
        const i64 lift = shifts[level + 1] - shifts[level];
        root_shift_left(b.pw[0], lx + lift / 64 + 1, b.x, lx, lift);
        lx = vec_len(b.pw[0], lx + lift / 64 + 1);
        vec_copy_fwd(b.x, b.pw[0], lx);
        if (level == 0) break;
        const Operand op = operand(level);
        i64 lp = 0;
        const u64* p = pow_capped(b.pw, &lp, b.x, lx, k - 1, op.bits);
        if (mp_err() || !newton_step(b.x, &lx, k, op, p, lp)) return fail(dst);
    }
    const int exact = descend(b, &lx, k, Operand{a, la, bits});
    if (exact < 0) return fail(dst);
    uint_store(dst, b.x, lx);
    return exact == 1;
}
