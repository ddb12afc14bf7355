// Square root with remainder by recursive halving (Zimmermann's "Karatsuba
// square root"): the root of the top half gives the high words of the root,
// one division gives the low words, one square the remainder. Its cost is a
// small multiple of one product of the root's size.
#include <algorithm>
#include <cmath>

#include "numlib/vec.h"
#include "numlib/vec_contract.h"

namespace {

// s = floor(sqrt(u[1]:u[0])), u[1] >= 2^62; the remainder (<= 2s) goes to
// u[0] and its carry is returned.
u64 sqrt_two_words(u64* s, u64* u) {
    const u128 a = static_cast<u128>(u[1]) << 64 | u[0];
    // The estimate is within a few units; the loops make it exact.
    const long double est = std::sqrt(static_cast<long double>(a));
    constexpr u64 max = ~u64{0};
    u64 x = est >= static_cast<long double>(max) ? max : static_cast<u64>(est);
    while (static_cast<u128>(x) * x > a) --x;
    while (x != max && static_cast<u128>(x + 1) * (x + 1) <= a) ++x;
    const u128 r = a - static_cast<u128>(x) * x;
    s[0] = x;
    u[0] = static_cast<u64>(r);
    return static_cast<u64>(r >> 64);
}

// Subtracts q^2 from {u, n} (q = {q, l + 1} <= 2^(64l), and 2l <= n);
// returns the borrow. Takes 2l + vec_sqr_scratch(l) words of scratch.
u64 sub_square(u64* u, i64 n, const u64* q, i64 l, u64* scratch) {
    if (q[l]) return vec_sub_1(u + 2 * l, u + 2 * l, n - 2 * l, 1);  // q = 2^(64l)
    u64* sq = scratch;
    vec_sqr(sq, q, l, scratch + 2 * l);
    return vec_sub(u, u, n, sq, 2 * l);
}

}  // namespace

i64 vec_sqrtrem_scratch(i64 n) {
    if (n == 1) return 0;
    const i64 l = n / 2, h = n - l;
    const i64 step = (l + 1) + std::max(vec_div_norm_scratch(n + 1, h), 2 * l + vec_sqr_scratch(l));
    return std::max(vec_sqrtrem_scratch(h), step);
}

u64 vec_sqrtrem(u64* s, u64* a, i64 n, u64* scratch) {
    assert(n >= 1 && (a[2 * n - 1] >> 62) != 0 && vec_apart(s, n, a, 2 * n));
    if (n == 1) return sqrt_two_words(s, a);
    // a = a3 a2 a1 a0 with a1, a0 of l words: the root of a3 a2 is the high
    // part sh of s; then q = (r' B^l + a1) / (2 sh) and s = sh B^l + q, which
    // is exact or one too large.
    const i64 l = n / 2, h = n - l;
    u64* sh = s + l;
    a[n + l] = vec_sqrtrem(sh, a + 2 * l, h, scratch);
    // Dividing by sh (normalised) and halving gives the quotient by 2 sh;
    // the quotient by sh, at most 2 B^l + 1, fits the l + 1 words.
    u64* q = scratch;
    vec_div_norm(q, a + l, n + 1, sh, h, scratch + l + 1);
    const bool odd = q[0] & 1;
    vec_rshift(q, q, l + 1, 1);
    u64 top = odd ? vec_add_n(a + l, a + l, sh, h) : 0;  // remainder mod 2 sh
    // q <= B^l; at q = B^l the root is s = (sh + 1) B^l, which may not fit
    // n words, but then the correction below always takes one away.
    vec_copy_fwd(s, q, l);
    u64 s_carry = q[l] ? vec_add_1(sh, sh, h, 1) : 0;
    top -= sub_square(a, n, q, l, scratch + l + 1);
    if (static_cast<i64>(top) < 0) {
        // s = s - 1 and r = r + 2s + 1 with the new s.
        s_carry -= vec_sub_1(s, s, n, 1);
        top += vec_add_n(a, a, s, n);
        top += vec_add_n(a, a, s, n);
        top += vec_add_1(a, a, n, 1);
    }
    assert(s_carry == 0 && top <= 1);
    (void)s_carry;
    return top;
}
