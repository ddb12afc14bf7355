// Products of consecutive integers and of lists of words. Leaves pack as many factors as fit into
// one word and multiply them in with one-word rows; above them the range is
// halved so the big products meet operands of similar size, where the fast
// multiplication pays off.
#include "numlib/uint_product.h"

namespace {

// Ranges of at most this many factors are multiplied out with word rows.
constexpr u64 kLeafFactors = 48;

// {dst, len} *= w, growing len by the carry word.
void mul_word_in(u64* dst, i64& len, u64 w) {
    const u64 carry = vec_mul_word(dst, dst, len, w);
    if (carry) dst[len++] = carry;
}

i64 leaf_product(u64* dst, u64 lo, u64 hi, bool odd_parts) {
    i64 len = 1;
    dst[0] = 1;
    u64 w = 1;
    for (u64 x = lo + 1; x <= hi && x != 0; ++x) {
        const u64 f = odd_parts ? x >> __builtin_ctzll(x) : x;
        const u128 p = static_cast<u128>(w) * f;
        if (p >> 64) {
            mul_word_in(dst, len, w);
            w = f;
        } else {
            w = static_cast<u64>(p);
        }
    }
    mul_word_in(dst, len, w);
    return len;
}

i64 split_product(u64* dst, u64 lo, u64 hi, bool odd_parts) {
    if (hi - lo <= kLeafFactors) return leaf_product(dst, lo, hi, odd_parts);
    if (mp_err() != 0) return 0;
    const u64 mid = lo + (hi - lo) / 2;
    ScratchMark mark;
    u64* left = mark.take(static_cast<std::size_t>(uint_range_product_words(lo, mid)));
    u64* right = mark.take(static_cast<std::size_t>(uint_range_product_words(mid, hi)));
    if (!left || !right) return 0;
    const i64 ll = split_product(left, lo, mid, odd_parts);
    const i64 lr = ll ? split_product(right, mid, hi, odd_parts) : 0;
    if (lr == 0 || !uint_mul_into(dst, left, ll, right, lr, mark)) return 0;
    return vec_len(dst, ll + lr);
}

i64 split_words(u64* dst, const u64* w, i64 count) {
    if (count <= static_cast<i64>(kLeafFactors) / 4) {
        i64 len = 1;
        dst[0] = w[0];
        for (i64 i = 1; i < count; ++i) mul_word_in(dst, len, w[i]);
        return len;
    }
    if (mp_err() != 0) return 0;
    const i64 half = count / 2;
    ScratchMark mark;
    u64* left = mark.take(static_cast<std::size_t>(half));
    u64* right = mark.take(static_cast<std::size_t>(count - half));
    if (!left || !right) return 0;
    const i64 ll = split_words(left, w, half);
    const i64 lr = ll ? split_words(right, w + half, count - half) : 0;
    if (lr == 0 || !uint_mul_into(dst, left, ll, right, lr, mark)) return 0;
    return vec_len(dst, ll + lr);
}

}  // namespace

i64 uint_words_product(u64* dst, const u64* w, i64 count) {
    const i64 len = split_words(dst, w, count);
    return mp_err() != 0 ? 0 : len;
}

i64 uint_range_product_words(u64 lo, u64 hi) {
    const i64 bits = 64 - __builtin_clzll(hi);
    return (static_cast<i64>(hi - lo) * bits + 63) / 64 + 1;
}

i64 uint_range_product(u64* dst, u64 lo, u64 hi, bool odd_parts) {
    const i64 len = split_product(dst, lo, hi, odd_parts);
    return mp_err() != 0 ? 0 : len;
}
