// Permutations and combinations of a rational n. A non-negative integer n is
// the integer routine's case; a negative integer n = -m folds onto it as well:
// the product (-m)(-m-1)...(-m-k+1) is (-1)^k (m+k-1)!/(m-1)!, so
// perm(-m, k) = (-1)^k perm(m+k-1, k) and comb(-m, k) = (-1)^k comb(m+k-1, k).
// That also bounds the work for n = -1, whose combinations never overflow.
// Any other n forms the product factor by factor.
#include "numlib/rat_impl.h"

namespace {

// The integer case: sign (-1)^k for a negative n.
void integer_case(u64* dst, const u64* n, const u64* k, i64 kv, i64 limit, bool perm) {
    const i64 w = rat_words();
    ScratchMark mark;
    u64* t = mark.take(static_cast<std::size_t>(3 * w));
    if (!t) return;
    u64 *m = t + w, *one = m + w;
    words_set_one(one, w);
    const bool neg = rat_neg(n);
    if (neg && kv == 0) return rat_store(dst, 0, one, one, w);
    if (neg) {
        if (limit >= 1 && kv > limit) return mp_raise(MP_ERR_DOMAIN);
        uint_add_u64(m, rat_num(n), static_cast<u64>(kv - 1));
        limit = 0;
    } else {
        uint_copy(m, rat_num(n));
    }
    if (mp_err()) return;
    uint_perm_comb(t, m, rat_num(k), limit, perm);
    if (!mp_err()) rat_store(dst, neg && (kv & 1), t, one, w);
}

// The product over the rational n, factor (n - i + 1) by factor.
void product_case(u64* dst, const u64* n, i64 kv, i64 limit, bool perm) {
    if (limit >= 1 && kv > limit) return mp_raise(MP_ERR_DOMAIN);
    const i64 size = 2 * rat_words() + 1;
    ScratchMark mark;
    u64* res = mark.take(static_cast<std::size_t>(3 * size));
    if (!res) return;
    u64 *term = res + size, *one = term + size;
    rat_from_u64(res, 1);
    rat_from_u64(one, 1);
    rat_copy(term, n);
    for (i64 i = 1; i <= kv && !mp_err(); ++i) {
        rat_mul_div(res, res, term, false);
        if (!perm) rat_div_u64(res, res, static_cast<u64>(i));
        rat_add_sub(term, term, one, true);
    }
    if (!mp_err()) rat_copy(dst, res);
}

}  // namespace

void rat_perm_comb(u64* dst, const u64* n, const u64* k, i64 limit, bool perm) {
    rat_isolated(dst, [&] {
        u64 kv = 0;
        if (rat_neg(k) || !rat_is_int(k) || !uint_to_u64(&kv, rat_num(k), true) ||
            kv > static_cast<u64>(INT64_MAX))
            return mp_raise(MP_ERR_DOMAIN);
        if (rat_is_int(n)) return integer_case(dst, n, k, static_cast<i64>(kv), limit, perm);
        product_case(dst, n, static_cast<i64>(kv), limit, perm);
    });
}
