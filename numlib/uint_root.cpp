// Square roots and k-th roots with an exactness flag. Every routine runs
// isolated from a pending error, which it leaves in place.
#include "numlib/uint_root_impl.h"

void root_shift_left(u64* dst, i64 dn, const u64* a, i64 la, i64 shift) {
    const i64 words = shift / 64;
    const unsigned bits = static_cast<unsigned>(shift % 64);
    vec_zero(dst, dn);
    if (bits == 0) {
        vec_copy_fwd(dst + words, a, la);
        return;
    }
    const u64 out = vec_lshift(dst + words, a, la, bits);
    if (words + la < dn) dst[words + la] = out;
}

i64 root_shift_right(u64* dst, const u64* a, i64 la, i64 shift) {
    const i64 words = shift / 64;
    if (words >= la) return 0;
    const unsigned bits = static_cast<unsigned>(shift % 64);
    if (bits)
        vec_rshift(dst, a + words, la - words, bits);
    else
        vec_copy_fwd(dst, a + words, la - words);
    return vec_len(dst, la - words);
}

namespace {

// floor(sqrt({a, la})) into dst (n words); true when exact. a is shifted
// left by an even 2c bits so that its top word is normalised and its length
// even; the root then has c extra low bits, and a is a square exactly when
// the shifted value is one whose root ends in c zero bits.
bool sqrt_body(u64* dst, const u64* a, i64 la) {
    const i64 rn = (la + 1) / 2;
    ScratchMark mark;
    u64* w = mark.take(static_cast<std::size_t>(2 * rn));
    u64* s = mark.take(static_cast<std::size_t>(rn));
    u64* scratch = mark.take(static_cast<std::size_t>(vec_sqrtrem_scratch(rn)));
    if (!w || !s || !scratch) {
        uint_fail(dst, MP_ERR_INTERNAL);
        return false;
    }
    const i64 shift = (128 * rn - vec_bit_length(a, la)) & ~i64{1};
    root_shift_left(w, 2 * rn, a, la, shift);
    const u64 rem_top = vec_sqrtrem(s, w, rn, scratch);
    const i64 c = shift / 2;
    const bool low_clear = vec_is_zero(s, c / 64) && (s[c / 64] & ((u64{1} << (c % 64)) - 1)) == 0;
    const bool exact = rem_top == 0 && vec_is_zero(w, rn) && low_clear;
    uint_store(dst, s, root_shift_right(s, s, rn, c));
    return exact;
}

}  // namespace

bool uint_sqrt(u64* dst, const u64* a) {
    MpIsolate isolate;
    const i64 la = uint_len(a);
    if (la == 0) {
        uint_zero(dst);
        return true;
    }
    return sqrt_body(dst, a, la);
}

bool uint_root(u64* dst, i64 k, const u64* a) {
    MpIsolate isolate;
    if (k < 1) {
        uint_fail(dst, MP_ERR_DOMAIN);
        return true;
    }
    const i64 la = uint_len(a);
    if (k == 1 || la == 0) {
        uint_copy(dst, a);
        return true;
    }
    if (k == 2) return sqrt_body(dst, a, la);
    const i64 bits = vec_bit_length(a, la);
    if (k >= bits) {  // 1 <= a < 2^k: the root is 1
        const bool exact = uint_is_one(a);
        uint_set_u64(dst, 1);
        return exact;
    }
    return uint_root_newton(dst, static_cast<u64>(k), a, la);
}

bool uint_root_uint(u64* dst, const u64* k, const u64* a) {
    i64 small_k;
    if (uint_to_i64(&small_k, k)) return uint_root(dst, small_k, a);
    // k >= 2^63 exceeds every bit length, so the root is 1 (or 0 for a = 0).
    const bool exact = uint_cmp_u64(a, 1) <= 0;
    uint_set_u64(dst, uint_is_zero(a) ? 0 : 1);
    return exact;
}
