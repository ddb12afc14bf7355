// Integer logarithms. Dividing by the base over and over costs one long
// division per unit of the result; instead the exponent is estimated from
// the operands' binary logarithms, one power is formed, and a step or two of
// multiplication by the base settles the exact floor.
#include <algorithm>
#include <utility>

#include "numlib/uint_pow_impl.h"

namespace {

bool fail_log(u64* dst) {
    uint_fail(dst, MP_ERR_OVERFLOW);
    return false;
}

bool single_bit(const u64* a, i64 len) {
    return vec_find_nonzero(a, len) == len - 1 && __builtin_popcountll(a[len - 1]) == 1;
}

// {p, cap} = b^k (k >= 0); the significant length, 0 when stopped.
i64 power_or_one(u64* p, i64 cap, const u64* b, i64 lb, i64 k) {
    if (k > 0) return uint_pow_into(p, cap, b, lb, static_cast<u64>(k));
    p[0] = 1;
    return 1;
}

// floor(log_b a) for a >= b >= 3, *exact when a = b^k; -1 when stopped or
// out of scratch. The estimate is within 1e-9 of log_b a, so floor(est) - 1
// lies at most two below the answer and never above it.
i64 log_by_power(const u64* b, i64 lb, const u64* a, i64 la, bool* exact) {
    const double est = vec_log2_approx(a, la) / vec_log2_approx(b, lb);
    i64 k = std::max<i64>(static_cast<i64>(est) - 1, 0);
    const i64 bits_b = vec_bit_length(b, lb);
    const i64 cap = std::max((bits_b * k + 63) / 64 + 2, la + lb);
    ScratchMark mark;
    u64* p = mark.take(static_cast<std::size_t>(cap));
    u64* q = mark.take(static_cast<std::size_t>(cap));
    if (!p || !q) return -1;
    i64 lp = power_or_one(p, cap, b, lb, k);
    while (lp != 0 && k > 0 && vec_cmp_len(p, lp, a, la) > 0) lp = power_or_one(p, cap, b, lb, --k);
    if (lp == 0) return -1;
    // p <= a < 2^(64 la), so p * b fits la + lb words
    for (;;) {
        ScratchMark step;
        if (!uint_mul_into(q, p, lp, b, lb, step)) return -1;
        const i64 lq = vec_len(q, lp + lb);
        if (vec_cmp_len(q, lq, a, la) > 0) break;
        std::swap(p, q);
        lp = lq;
        ++k;
    }
    *exact = vec_cmp_len(p, lp, a, la) == 0;
    return k;
}

// Any base of at least 2 given as {b, lb} (significant length lb).
bool log_floor(u64* dst, const u64* b, i64 lb, const u64* a) {
    const i64 la = uint_len(a);
    if (la == 0 || lb == 0 || (lb == 1 && b[0] < 2)) return fail_log(dst);
    if (lb == 1 && b[0] == 2) return uint_log2_floor(dst, a);
    bool exact = false;
    i64 k;
    if (single_bit(b, lb)) {  // base 2^m: the bit length decides
        const i64 m = vec_bit_length(b, lb) - 1, top = vec_bit_length(a, la) - 1;
        k = top / m;
        exact = top % m == 0 && single_bit(a, la);
    } else if (vec_cmp_len(a, la, b, lb) < 0) {
        k = 0;
        exact = la == 1 && a[0] == 1;
    } else {
        MpIsolate iso;
        k = log_by_power(b, lb, a, la, &exact);
        if (k < 0) {
            uint_zero(dst);
            return false;
        }
    }
    uint_set_u64(dst, static_cast<u64>(k));
    return exact;
}

}  // namespace

bool uint_log2_floor(u64* dst, const u64* a) {
    const i64 la = uint_len(a);
    if (la == 0) return fail_log(dst);
    const bool exact = single_bit(a, la);
    uint_set_u64(dst, static_cast<u64>(vec_bit_length(a, la) - 1));
    return exact;
}

bool uint_log_floor(u64* dst, const u64* base, const u64* a) {
    return log_floor(dst, base, uint_len(base), a);
}

bool uint_log10_floor(u64* dst, const u64* a) {
    const u64 ten = 10;
    return log_floor(dst, &ten, 1, a);
}
