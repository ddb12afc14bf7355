// Addition and subtraction.
#include "numlib/uint_impl.h"

void uint_add(u64* dst, const u64* a, const u64* b) {
    if (vec_add_n(dst, a, b, uint_words())) uint_fail(dst, MP_ERR_OVERFLOW);
}

void uint_add_u64(u64* dst, const u64* a, u64 v) {
    if (vec_add_1(dst, a, uint_words(), v)) uint_fail(dst, MP_ERR_OVERFLOW);
}

void uint_sub(u64* dst, const u64* a, const u64* b) {
    if (vec_sub_n(dst, a, b, uint_words())) uint_fail(dst, MP_ERR_OVERFLOW);
}

void uint_dec(u64* dst, const u64* a) {
    if (vec_sub_1(dst, a, uint_words(), 1)) uint_fail(dst, MP_ERR_OVERFLOW);
}
