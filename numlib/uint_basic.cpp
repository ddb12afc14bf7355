// Setting, copying, comparing, bit access and machine-integer conversion.
#include <algorithm>

#include "numlib/uint_impl.h"

void uint_zero(u64* dst) {
    vec_zero(dst, uint_words());
}

void uint_set_u64(u64* dst, u64 v) {
    vec_zero(dst + 1, uint_words() - 1);
    dst[0] = v;
}

void uint_from_i64(u64* dst, i64 v) {
    if (v < 0) return uint_fail(dst, MP_ERR_DOMAIN);
    uint_set_u64(dst, static_cast<u64>(v));
}

void uint_copy(u64* dst, const u64* src) {
    vec_copy_fwd(dst, src, uint_words());
}

void uint_move(u64* dst, const u64* src, i64 count) {
    if (dst >= src)
        vec_copy_bwd(dst, src, count);
    else
        vec_copy_fwd(dst, src, count);
}

void uint_resize(u64* dst, i32 dst_words, const u64* src, i32 src_words) {
    if (dst_words <= 0 || src_words <= 0) {
        mp_raise(MP_ERR_INTERNAL);
        return vec_zero(dst, dst_words);  // a failed resize leaves 0, as every failure does
    }
    if (dst_words >= src_words) {
        uint_move(dst, src, src_words);
        vec_zero(dst + src_words, dst_words - src_words);
    } else if (vec_is_zero(src + dst_words, src_words - dst_words)) {
        uint_move(dst, src, dst_words);
    } else {
        mp_raise(MP_ERR_OVERFLOW);
        vec_zero(dst, dst_words);
    }
}

bool uint_is_zero(const u64* a) {
    return vec_is_zero(a, uint_words());
}

bool uint_is_one(const u64* a) {
    return a[0] == 1 && vec_is_zero(a + 1, uint_words() - 1);
}

int uint_cmp(const u64* a, const u64* b) {
    return vec_cmp(a, b, uint_words());
}

int uint_cmp_u64(const u64* a, u64 v) {
    if (!vec_is_zero(a + 1, uint_words() - 1)) return 1;
    return a[0] == v ? 0 : (a[0] > v ? 1 : -1);
}

i32 uint_bit_length(i32 count, const u64* a) {
    return static_cast<i32>(vec_bit_length(a, count));
}

i32 uint_top_words(i32 count, const u64* a, const u64* b) {
    if (count == 0) count = static_cast<i32>(uint_words());
    i64 len = std::max(vec_len(a, count), vec_len(b, count));
    return static_cast<i32>(std::max<i64>(len, 1));
}

void uint_set_bit(u64* dst, u32 bit, int value) {
    if (bit / 64 >= static_cast<u64>(uint_words())) return mp_raise(MP_ERR_DOMAIN);
    const u64 mask = u64{1} << (bit % 64);
    if (value == 1)
        dst[bit / 64] |= mask;
    else
        dst[bit / 64] &= ~mask;
}

int uint_get_bit(const u64* a, u32 bit) {
    if (bit / 64 >= static_cast<u64>(uint_words())) {
        mp_raise(MP_ERR_DOMAIN);
        return 0;
    }
    return static_cast<int>((a[bit / 64] >> (bit % 64)) & 1);
}

bool uint_to_i64(i64* out, const u64* a) {
    if (vec_is_zero(a + 1, uint_words() - 1) && a[0] < (u64{1} << 63)) {
        *out = static_cast<i64>(a[0]);
        return true;
    }
    *out = 0;
    return false;
}

bool uint_to_u64(u64* out, const u64* a, bool quiet) {
    if (vec_is_zero(a + 1, uint_words() - 1)) {
        *out = a[0];
        return true;
    }
    *out = 0;
    if (!quiet) mp_raise(MP_ERR_DOMAIN);
    return false;
}
