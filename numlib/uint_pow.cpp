// Powers: a^e by squaring, powers of two and of ten.
#include <array>
#include <utility>

#include "numlib/uint_pow_impl.h"

namespace {

// 10^0 .. 10^19, the powers of ten below 2^64.
constexpr auto kPow10 = [] {
    std::array<u64, 20> t{};
    u64 v = 1;
    for (u64& x : t) {
        x = v;
        v *= 10;  // wraps once, after the last entry
    }
    return t;
}();

// {x, lx} * {y, ly} into dst with the kernel's scratch released at once, so
// a loop of products does not pile up temporaries.
bool mul_step(u64* dst, const u64* x, i64 lx, const u64* y, i64 ly) {
    ScratchMark mark;
    return uint_mul_into(dst, x, lx, y, ly, mark);
}

// a^e for a >= 2 into dst. The caller has ruled out the powers that cannot
// fit (so e < 64n and the power needs fewer than 128n bits); the run is
// isolated so that only a stop request or exhausted scratch ends it early.
void pow_checked(u64* dst, const u64* a, i64 la, i64 bits, u64 e) {
    MpIsolate iso;
    ScratchMark mark;
    const i64 cap = (bits * static_cast<i64>(e) + 63) / 64 + 2;
    u64* p = mark.take(static_cast<std::size_t>(cap));
    const i64 len = p ? uint_pow_into(p, cap, a, la, e) : 0;
    if (len == 0) return uint_zero(dst);  // the error is already raised
    if (len > uint_words()) return uint_fail(dst, MP_ERR_OVERFLOW);
    uint_store(dst, p, len);
}

}  // namespace

// Left to right: every intermediate is a^f with f a prefix of e, so none is
// larger than the result and multiplying by a stays cheap for small a.
i64 uint_pow_into(u64* dst, i64 cap, const u64* a, i64 la, u64 e) {
    ScratchMark mark;
    u64* other = mark.take(static_cast<std::size_t>(cap));
    if (!other) return 0;
    u64* cur = dst;
    vec_copy_fwd(cur, a, la);
    i64 len = la;
    for (int bit = 63 - __builtin_clzll(e); bit-- > 0;) {
        if (mp_err() != 0) return 0;
        if (!mul_step(other, cur, len, cur, len)) return 0;
        len = vec_len(other, 2 * len);
        std::swap(cur, other);
        if ((e >> bit) & 1) {
            if (!mul_step(other, cur, len, a, la)) return 0;
            len = vec_len(other, len + la);
            std::swap(cur, other);
        }
    }
    if (cur != dst) vec_copy_fwd(dst, cur, len);
    return mp_err() != 0 ? 0 : len;
}

void uint_pow(u64* dst, const u64* a, i64 e) {
    if (e < 0) return uint_fail(dst, MP_ERR_DOMAIN);
    if (e == 0) return uint_set_u64(dst, 1);
    const i64 la = uint_len(a);
    if (la == 0) return uint_zero(dst);
    const i64 bits = vec_bit_length(a, la);
    if (bits == 1) return uint_set_u64(dst, 1);
    // a >= 2^(bits-1), so a^e >= 2^((bits-1)e): no room from 64n bits on.
    if (static_cast<u128>(bits - 1) * static_cast<u64>(e) >= static_cast<u128>(64 * uint_words()))
        return uint_fail(dst, MP_ERR_OVERFLOW);
    pow_checked(dst, a, la, bits, static_cast<u64>(e));
}

void uint_pow_uint(u64* dst, const u64* a, const u64* e) {
    i64 small;
    if (uint_to_i64(&small, e)) return uint_pow(dst, a, small);
    if (uint_is_zero(a)) return uint_zero(dst);
    if (uint_is_one(a)) return uint_set_u64(dst, 1);
    uint_fail(dst, MP_ERR_OVERFLOW);
}

void uint_pow2(u64* dst, i64 k) {
    if (k < 0) return uint_fail(dst, MP_ERR_DOMAIN);
    if (k >= 64 * uint_words()) return uint_fail(dst, MP_ERR_OVERFLOW);
    uint_zero(dst);
    dst[k / 64] = u64{1} << (k % 64);
}

void uint_pow2_uint(u64* dst, const u64* k) {
    i64 small;
    if (!uint_to_i64(&small, k)) return uint_fail(dst, MP_ERR_OVERFLOW);
    uint_pow2(dst, small);
}

void uint_pow10(u64* dst, i64 k) {
    if (k < 0) return uint_fail(dst, MP_ERR_DOMAIN);
    if (k < 20) return uint_set_u64(dst, kPow10[static_cast<std::size_t>(k)]);
    // 10^k >= 2^(3k), so from 3k >= 64n on there is no room
    if (k >= (64 * uint_words() + 2) / 3) return uint_fail(dst, MP_ERR_OVERFLOW);
    const u64 ten = 10;
    pow_checked(dst, &ten, 1, 4, static_cast<u64>(k));
}

void uint_pow10_uint(u64* dst, const u64* k) {
    i64 small;
    if (!uint_to_i64(&small, k)) return uint_fail(dst, MP_ERR_OVERFLOW);
    uint_pow10(dst, small);
}
