// Square and cube roots of short mantissas through the binary integer roots:
// for a few words the radix conversions cost less than the real-layer
// operations of Newton's iteration, and the root comes out truncated
// exactly, which the spill word then rounds.
#include "numlib/dec_impl.h"
#include "numlib/real_dec_impl.h"
#include "numlib/real_fn_impl.h"
#include "numlib/uint_root_impl.h"
#include "numlib/vec.h"

namespace {

// {b, *len} = {b, *len} * v + add (binary), growing *len by the carry.
void mul_add_word(u64* b, i64* len, u64 v, u64 add) {
    u64 carry = add;
    for (i64 i = 0; i < *len; ++i) {
        const u128 t = static_cast<u128>(b[i]) * v + carry;
        b[i] = static_cast<u64>(t);
        carry = static_cast<u64>(t >> 64);
    }
    if (carry) b[(*len)++] = carry;
}

// The binary value of the mantissa of x (19w digits) times 5^k into b;
// returns its length. With a shift by k bits it is the mantissa times 10^k.
i64 mantissa_times_pow5(u64* b, const u64* x, i32 w, i64 k) {
    constexpr u64 kPow5_27 = 7450580596923828125ULL;  // the largest power of 5 in a word
    i64 len = 0;
    for (i32 i = 1; i <= w; ++i) mul_add_word(b, &len, REAL_BASE, x[i]);
    for (; k >= 27; k -= 27) mul_add_word(b, &len, kPow5_27, 0);
    u64 rest = 1;
    while (k-- > 0) rest *= 5;
    if (rest > 1) mul_add_word(b, &len, rest, 0);
    return len;
}

// {a, count} = {a, la} << shift (la + shift / 64 <= count).
void shift_into(u64* a, i64 la, i64 shift, i64 count) {
    vec_zero(a + la, count - la);
    const i64 words = shift / 64;
    if (words) {
        vec_copy_bwd(a + words, a, count - words);
        vec_zero(a, words);
    }
    if (shift % 64) vec_lshift(a, a, count, static_cast<unsigned>(shift % 64));
}

// floor(sqrt({a, la} 2^k)) into s (binary); returns its length. a is
// destroyed (it needs 2n words with n = ceil(bits / 128)).
i64 binary_sqrt(u64* s, u64* a, i64 la, i64 k, u64* scratch) {
    const i64 bits = vec_bit_length(a, la) + k;
    const i64 n = (bits + 127) / 128;
    const i64 shift = (128 * n - bits) & ~i64{1};  // even, so the root shifts back exactly
    shift_into(a, la, shift + k, 2 * n);
    vec_sqrtrem(s, a, n, scratch);
    const i64 half = shift / 2;
    if (half >= 64) {
        vec_copy_fwd(s, s + half / 64, n - half / 64);
        vec_zero(s + n - half / 64, half / 64);
    }
    if (half % 64) vec_rshift(s, s, n, static_cast<unsigned>(half % 64));
    return vec_len(s, n);
}

// {b, len} /= 10^19 in place; returns the remainder. 10^19 has its top bit
// set, so the division by the invariant base needs two products per word.
u64 divide_by_base(u64* b, i64 len) {
    u64 rem = 0;
    for (i64 i = len - 1; i >= 0; --i) b[i] = dec_div_base(rem, b[i], &rem);
    return rem;
}

// The decimal words of {b, len} (destroyed), least significant first, into
// d; returns their count.
i64 binary_to_decimal(u64* d, u64* b, i64 len) {
    i64 count = 0;
    while (len > 0) {
        d[count++] = divide_by_base(b, len);
        len = vec_len(b, len);
    }
    return count;
}

}  // namespace

bool real_root_binary(u64* dst, const u64* y, int k, int e) {
    const i32 w = mp_real_words;
    // y = M 10^(e - 19w + 1) for the 19w-digit mantissa M and 0 <= e < k, so
    // floor(y^(1/k) 10^(19w)) = floor((M 10^((k - 1) 19w + 1 + e))^(1/k)) has
    // 19w + 1 digits: the result's exact digits and the first one below them,
    // which decides the rounding half up.
    const i64 words = 4 * static_cast<i64>(w) + 8;  // the k-th power: k w + 2 words
    ScratchMark mark;
    u64* a = mark.take(static_cast<std::size_t>(words));
    u64* s = mark.take(static_cast<std::size_t>(words));
    u64* scratch = mark.take(static_cast<std::size_t>(vec_sqrtrem_scratch(words / 2) + words));
    if (!scratch) return false;
    const i64 p10 = (k - 1) * 19 * static_cast<i64>(w) + 1 + e;  // N = M 5^p10 2^p10
    i64 la = mantissa_times_pow5(a, y, w, p10);
    i64 ls = 0;
    if (k == 2) {
        ls = binary_sqrt(s, a, la, p10, scratch);
    } else {
        const i64 count = (vec_bit_length(a, la) + p10 + 63) / 64;
        shift_into(a, la, p10, count);
        la = count;
        const i32 saved = mp_int_words;
        mp_int_words = static_cast<i32>(la);
        uint_root_newton(s, static_cast<u64>(k), a, la);
        mp_int_words = saved;
        ls = vec_len(s, la);
        if (mp_err() != 0) return false;
    }
    const i64 nd = binary_to_decimal(a, s, ls);
    real_round_guard(dst, real_from_dec(dst, a, nd, 18, 0), w);
    return true;
}
