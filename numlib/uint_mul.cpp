// Multiplication to n words, to 2n words, and by one word.
#include <algorithm>
#include <utility>

#include "numlib/uint_impl.h"

bool uint_mul_into(u64* dst, const u64* a, i64 la, const u64* b, i64 lb, ScratchMark& mark) {
    if (la < lb) {
        std::swap(a, b);
        std::swap(la, lb);
    }
    const bool square = a == b && la == lb;
    u64* scratch =
        mark.take(static_cast<std::size_t>(square ? vec_sqr_scratch(la) : vec_mul_scratch(la, lb)));
    if (!scratch) return false;
    if (square)
        vec_sqr(dst, a, la, scratch);
    else
        vec_mul(dst, a, la, b, lb, scratch);
    return true;
}

void uint_mul(u64* dst, const u64* a, const u64* b) {
    const i64 n = uint_words();
    const i64 la = vec_len(a, n), lb = vec_len(b, n);
    if (la == 0 || lb == 0) return uint_zero(dst);
    if (la + lb - 1 > n) return uint_fail(dst, MP_ERR_OVERFLOW);
    ScratchMark mark;
    u64* prod = mark.take(static_cast<std::size_t>(la + lb));
    if (!prod || !uint_mul_into(prod, a, la, b, lb, mark)) return uint_fail(dst, MP_ERR_INTERNAL);
    if (la + lb - 1 == n && prod[n] != 0) return uint_fail(dst, MP_ERR_OVERFLOW);
    uint_store(dst, prod, std::min(la + lb, n));
}

void uint_mul_full(u64* dst, const u64* a, const u64* b) {
    const i64 n = uint_words();
    const auto overlaps = [&](const u64* x) { return dst < x + n && x < dst + 2 * n; };
    if (overlaps(a) || overlaps(b)) {
        mp_raise(MP_ERR_INTERNAL);
        return vec_zero(dst, 2 * n);
    }
    const i64 la = vec_len(a, n), lb = vec_len(b, n);
    if (la == 0 || lb == 0) return vec_zero(dst, 2 * n);
    ScratchMark mark;
    if (!uint_mul_into(dst, a, la, b, lb, mark)) return vec_zero(dst, 2 * n);
    vec_zero(dst + la + lb, 2 * n - la - lb);
}

void uint_mul_u64(u64* dst, const u64* a, u64 v) {
    if (vec_mul_word(dst, a, uint_words(), v)) uint_fail(dst, MP_ERR_OVERFLOW);
}
