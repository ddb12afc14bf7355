// Conversion of a value between number types and word counts. Each step sets
// the context's word counts it needs; one guard restores them on every path.
#include "numlib/cplx.h"
#include "numlib/mp_error.h"
#include "numlib/mp_scratch.h"
#include "numlib/num.h"
#include "numlib/rat.h"
#include "numlib/real.h"
#include "numlib/uint.h"
#include "numlib/vec.h"

namespace {

class SavedWordCounts {
  public:
    SavedWordCounts() : int_words_(mp_int_words), real_words_(mp_real_words) {}
    ~SavedWordCounts() {
        mp_int_words = int_words_;
        mp_real_words = real_words_;
    }
    SavedWordCounts(const SavedWordCounts&) = delete;
    SavedWordCounts& operator=(const SavedWordCounts&) = delete;

  private:
    i32 int_words_, real_words_;
};

bool is_real_type(i32 type) {
    return type == MP_TYPE_REAL || type == MP_TYPE_CPLX;
}
bool is_int_type(i32 type) {
    return type == MP_TYPE_UINT || type == MP_TYPE_RAT;
}

bool words_valid(i32 words, i32 type) {
    if (is_real_type(type)) return words >= 1 && words <= MP_REAL_WORDS_MAX;
    return words >= 1 && words <= MP_INT_WORDS_MAX;
}

// Zero of type at words words (contents of dst beyond it are untouched).
void zero_of(u64* dst, i32 words, i32 type) {
    // Whole words only: the context's word counts need not match words here.
    if (is_real_type(type)) return vec_zero(dst, (type == MP_TYPE_CPLX ? 2 : 1) * (i64{words} + 1));
    if (type == MP_TYPE_UINT) return vec_zero(dst, words);
    dst[0] = 0;
    vec_zero(dst + 1, 2 * static_cast<i64>(words));
    dst[1 + words] = 1;
}

// dst (real at dst_m words, then an imaginary +0 for cplx) from the real x of
// src_m words.
void real_into(u64* dst, i32 dst_m, i32 dst_type, const u64* x, i32 src_m) {
    real_resize(dst, dst_m, x, src_m);
    if (dst_type == MP_TYPE_CPLX) vec_zero(cplx_im_of(dst, dst_m), i64{dst_m} + 1);  // +0
}

// An integer part: dst_type uint (x >= 0) or rat, from the real x of src_m words.
void real_to_int_type(u64* dst, i32 dst_n, i32 dst_type, const u64* x, i32 src_m) {
    mp_real_words = src_m;
    const bool negative = real_sign(x) != 0 && !real_is_zero(x);
    if (!real_is_integer(x) || (negative && dst_type == MP_TYPE_UINT))
        return mp_raise(MP_ERR_DOMAIN);
    mp_int_words = dst_n;
    if (dst_type == MP_TYPE_UINT) return real_to_uint(dst, dst_n, x);
    real_to_uint(rat_num(dst), dst_n, x);
    uint_set_u64(rat_den(dst), 1);
    dst[0] = negative ? 1 : 0;
}

// The real of m + 1 words from the uint {a, count}; false when out of scratch.
u64* wide_real_from_uint(ScratchMark& mark, i32 m, i32 count, const u64* a) {
    u64* t = mark.take(static_cast<std::size_t>(m) + 2);
    if (!t) return nullptr;
    mp_real_words = m + 1;
    real_from_uint(t, count, a);
    return t;
}

void uint_to_real_type(u64* dst, i32 dst_m, i32 dst_type, const u64* a, i32 src_n) {
    ScratchMark mark;
    const u64* t = wide_real_from_uint(mark, dst_m, src_n, a);
    if (t) real_into(dst, dst_m, dst_type, t, dst_m + 1);
}

// num/den divided at dst_m + 1 words, then rounded half up to dst_m.
void rat_to_real_type(u64* dst, i32 dst_m, i32 dst_type, const u64* q, i32 src_n) {
    ScratchMark mark;
    const u64* den = q + 1 + src_n;
    u64* t = wide_real_from_uint(mark, dst_m, src_n, q + 1);
    if (!t) return;
    if (vec_len(den, src_n) <= 1) {
        real_div_u64(t, t, den[0]);
    } else {
        const u64* d = wide_real_from_uint(mark, dst_m, src_n, den);
        if (!d) return;
        real_div(t, t, d);
    }
    if ((q[0] & 1) && !real_is_zero(t)) t[0] |= 1;
    real_into(dst, dst_m, dst_type, t, dst_m + 1);
}

void rat_to_uint(u64* dst, i32 dst_n, const u64* q, i32 src_n) {
    const u64* num = q + 1;
    const u64* den = q + 1 + src_n;
    const bool negative = (q[0] & 1) && !vec_is_zero(num, src_n);
    if (negative || vec_len(den, src_n) != 1 || den[0] != 1) return mp_raise(MP_ERR_DOMAIN);
    uint_resize(dst, dst_n, num, src_n);
}

void from_real_type(u64* dst, i32 dst_words, i32 dst_type, const u64* src, i32 src_m,
                    i32 src_type) {
    if (src_type == MP_TYPE_CPLX && dst_type == MP_TYPE_CPLX)
        return cplx_resize(dst, dst_words, src, src_m);
    if (src_type == MP_TYPE_CPLX && !real_is_zero(cplx_im_of(src, src_m)))
        return mp_raise(MP_ERR_DOMAIN);
    if (is_real_type(dst_type)) return real_into(dst, dst_words, dst_type, src, src_m);
    real_to_int_type(dst, dst_words, dst_type, src, src_m);
}

void from_uint(u64* dst, i32 dst_words, i32 dst_type, const u64* src, i32 src_n) {
    if (is_real_type(dst_type)) return uint_to_real_type(dst, dst_words, dst_type, src, src_n);
    mp_int_words = dst_words;
    if (dst_type == MP_TYPE_UINT) return uint_resize(dst, dst_words, src, src_n);
    uint_resize(rat_num(dst), dst_words, src, src_n);
    uint_set_u64(rat_den(dst), 1);
    dst[0] = 0;
}

void from_rat(u64* dst, i32 dst_words, i32 dst_type, const u64* src, i32 src_n) {
    if (is_real_type(dst_type)) return rat_to_real_type(dst, dst_words, dst_type, src, src_n);
    mp_int_words = dst_words;
    if (dst_type == MP_TYPE_UINT) return rat_to_uint(dst, dst_words, src, src_n);
    rat_resize(dst, dst_words, src, src_n);
}

}  // namespace

void num_convert(u64* dst, i32 dst_words, i32 dst_type, const u64* src, i32 src_words,
                 i32 src_type) {
    MpIsolate isolate;
    const bool types_known = (is_real_type(dst_type) || is_int_type(dst_type)) &&
                             (is_real_type(src_type) || is_int_type(src_type));
    if (!types_known) return mp_raise(MP_ERR_TYPE);
    if (!words_valid(dst_words, dst_type) || !words_valid(src_words, src_type)) {
        mp_raise(MP_ERR_WORD_COUNT);
        if (words_valid(dst_words, dst_type)) zero_of(dst, dst_words, dst_type);
        return;
    }
    {
        SavedWordCounts saved;
        if (is_real_type(src_type)) {
            from_real_type(dst, dst_words, dst_type, src, src_words, src_type);
        } else if (src_type == MP_TYPE_UINT) {
            from_uint(dst, dst_words, dst_type, src, src_words);
        } else {
            from_rat(dst, dst_words, dst_type, src, src_words);
        }
    }
    if (isolate.inner() != 0) zero_of(dst, dst_words, dst_type);
}
