// Text and value helpers of the exact solutions.
#include "app/app_error.h"
#include "equations/exact_impl.h"
#include "numlib/mp_error.h"
#include "numlib/num.h"
#include "numlib/num_text.h"
#include "numlib/rat.h"
#include "numlib/real.h"
#include "numlib/uint.h"

void rat_negate(u64* x) {
    if (!uint_is_zero(rat_num(x))) x[0] ^= 1;
}

void cplx_from_rat(u64* dst, const u64* q) {
    const i32 m = mp_real_words;
    num_convert(dst, m, MP_TYPE_REAL, q, mp_int_words, MP_TYPE_RAT);
    u64* im = cplx_im_of(dst, m);
    for (i32 k = 0; k <= m; ++k) im[k] = 0;
}

void clear_zero_signs(u64* root) {
    if (real_is_zero(root)) real_zero(root, 0);
    u64* im = cplx_im_of(root, mp_real_words);
    if (real_is_zero(im)) real_zero(im, 0);
}

void ExactText::put(char16_t c) {
    if (length_ < kept) chars_[length_] = c;
    if (length_ < kept) ++length_;
}

void ExactText::put_ascii(const char* s) {
    while (*s != 0) put(static_cast<char16_t>(*s++));
}

void ExactText::put_rat(const u64* r, u32 flags) {
    char16_t buffer[ROOT_EXACT_TEXT_CHARS + 1];
    const i32 n = rat_to_text(buffer, ROOT_EXACT_TEXT_CHARS, r, flags & ~NUM_TEXT_TERMINATE);
    for (i32 k = 0; k < n && k < ROOT_EXACT_TEXT_CHARS; ++k) put(buffer[k]);
}

void ExactText::drop_last() {
    if (length_ > 0) --length_;
}

void ExactText::store(char16_t* slot) const {
    i32 n = length_;
    if (n > ROOT_EXACT_TEXT_CHARS) {
        n = ROOT_EXACT_TEXT_CHARS;
        for (i32 k = 0; k < n - 1; ++k) slot[k] = chars_[k];
        slot[n - 1] = u'\u2026';
        raiseAppError(APP_ERR_TEXT_OVERFLOW, nullptr, nullptr);
    } else {
        for (i32 k = 0; k < n; ++k) slot[k] = chars_[k];
    }
    slot[n] = 0;
}

bool store_rat_text(char16_t* slot, const u64* r, u32 flags) {
    slot[0] = 0;
    MpIsolate isolate;
    rat_to_text(slot, ROOT_EXACT_TEXT_CHARS, r, flags | NUM_TEXT_TERMINATE);
    const i32 err = isolate.inner();
    isolate.clear_inner();
    if (err == 0) return true;
    slot[0] = 0;
    if (err == MP_ERR_TEXT_SPACE) raiseAppError(APP_ERR_TEXT_OVERFLOW, nullptr, nullptr);
    return false;
}
