// The one home of the library's process-wide context.
#include "numlib/mp_context.h"

#include <cstdlib>
#include <cstring>

#include "numlib/mp_error.h"
#include "numlib/mp_thread.h"
#include "numlib/real_const.h"

std::atomic<i32> mp_error{0};
i32 mp_int_words = 1;
i32 mp_real_words = 1;
i32 mp_num_type = MP_TYPE_NONE;
i32 mp_guard_words = 0;
i32 mp_guard_digits = 0;
i32 mp_fixed_exp_low = -4;
i32 mp_fixed_exp_high = 10;
i32 mp_fixed_exp_high_int = 1000;
char16_t mp_decimal_chars[3] = {u'.', u',', 0};
char16_t mp_group_chars[3] = {u'\'', 0, 0};
char16_t mp_exp_chars[3] = {u'e', u'E', 0};
char16_t mp_imag_chars[3] = {u'i', u'j', 0};
u8 mp_has_avx = 0;
u8 mp_has_avx2 = 0;
u32 mp_init_magic = 0;

thread_local constinit u8* mp_scratch_base = nullptr;
thread_local constinit u8* mp_scratch_top = nullptr;
thread_local constinit u8* mp_scratch_end = nullptr;

namespace {

void set_chars(char16_t* set, const char16_t* chars, i32 count) {
    for (i32 i = 0; i < 3; ++i) set[i] = i < count ? chars[i] : 0;
}

// The area lives until the process ends; it is reserved once and reused by a
// context reset.
void reserve_scratch() {
    if (mp_scratch_base == nullptr)
        mp_scratch_base = static_cast<u8*>(std::calloc(MP_SCRATCH_BYTES, 1));
    if (mp_scratch_base == nullptr) std::abort();  // no memory at start-up: nothing can run
    mp_scratch_top = mp_scratch_base;
    mp_scratch_end = mp_scratch_base + MP_SCRATCH_BYTES;
}

void set_defaults() {
    mp_real_words = 1;
    mp_int_words = 1;
    mp_num_type = MP_TYPE_NONE;
    mp_init_magic = MP_INIT_MAGIC;
    mp_error.store(0, std::memory_order_relaxed);
    mp_guard_words = 0;
    mp_guard_digits = 0;
    set_chars(mp_decimal_chars, u".,", 2);
    set_chars(mp_group_chars, u"'", 1);
    set_chars(mp_exp_chars, u"eE", 2);
    set_chars(mp_imag_chars, u"ij", 2);
    mp_fixed_exp_low = -4;
    mp_fixed_exp_high = 10;
    mp_fixed_exp_high_int = 1000;
    reserve_scratch();
}

// Computes the derived entries of the constant table at the largest working
// precision.
void compute_derived_constants() {
    real_const_compute_derived();
}

}  // namespace

void mp_init() {
    mp_detect_cpu();
    u8* s;
    if (mp_init_magic != MP_INIT_MAGIC) {
        set_defaults();
        s = mp_scratch_base;
    } else {
        if (mp_scratch_base == nullptr) reserve_scratch();  // first call on this thread
        s = mp_scratch_top;
    }
    const i32 saved_real_words = mp_real_words;
    mp_scratch_top = s + (MP_CONST_WORDS + 1) * sizeof(u64);
    mp_real_words = MP_CONST_WORDS;
    compute_derived_constants();
    mp_scratch_top = s;
    if (saved_real_words >= 1 && saved_real_words <= MP_REAL_WORDS_MAX)
        mp_real_words = saved_real_words;
    else
        mp_raise(MP_ERR_WORD_COUNT);
}

void mp_context_reset() {
    mp_init_magic = 0;
    mp_init();
}

void mp_set_int_words(i32 n) {
    if (n >= 1 && n <= MP_INT_WORDS_MAX)
        mp_int_words = n;
    else
        mp_raise(MP_ERR_WORD_COUNT);
}

void mp_set_real_words(i32 m) {
    if (m >= 1 && m <= MP_REAL_WORDS_MAX)
        mp_real_words = m;
    else
        mp_raise(MP_ERR_WORD_COUNT);
}

void mp_set_char_set(MpCharSet set, const char16_t* chars, i32 count) {
    if (count < 1) count = 1;
    if (count > 3) count = 3;
    switch (set) {
        case MP_CHARS_DECIMAL:
            set_chars(mp_decimal_chars, chars, count);
            break;
        case MP_CHARS_GROUP:
            set_chars(mp_group_chars, chars, count);
            break;
        case MP_CHARS_EXP:
            set_chars(mp_exp_chars, chars, count);
            break;
        case MP_CHARS_IMAG:
            set_chars(mp_imag_chars, chars, count);
            break;
    }
}

i32 num_size_bytes(i32 words, i32 type) {
    if (type == 0) type = mp_num_type;
    switch (type) {
        case MP_TYPE_REAL:
            return (words ? words : mp_real_words) * 8 + 8;
        case MP_TYPE_CPLX:
            return ((words ? words : mp_real_words) + 1) * 16;
        case MP_TYPE_UINT:
            return (words ? words : mp_int_words) * 8;
        case MP_TYPE_RAT:
            return (words ? words : mp_int_words) * 16 + 8;
        default:
            mp_raise(MP_ERR_TYPE);
            return 0;
    }
}

i32 num_words_for_digits(i32 digits, i32 type) {
    switch (type) {
        case MP_TYPE_REAL:
        case MP_TYPE_CPLX:
            return digits < 1 ? 1 : (digits + 18) / 19;
        case MP_TYPE_UINT:
        case MP_TYPE_RAT: {
            if (digits < 1) return 0;
            // ceil(digits * log2(10) / 64) with log2(10)/64 as a 32-bit fraction
            return static_cast<i32>((static_cast<i64>(digits) * 222930821 + 0xFFFFFFFFLL) >> 32);
        }
        default:
            mp_raise(MP_ERR_TYPE);
            return 0;
    }
}

u32 num_text_capacity(i32 words, i32 type) {
    switch (type) {
        case MP_TYPE_REAL:
            return static_cast<u32>(words * 26 + 43);
        case MP_TYPE_CPLX:
            return static_cast<u32>(words * 52 + 87);
        case MP_TYPE_UINT:
            return static_cast<u32>(words * 80 + 1);
        case MP_TYPE_RAT: {
            u64 digits = (static_cast<u64>(words) * 3447770631ULL + 0x7FFFFFFULL) >> 27;
            return static_cast<u32>(2 * digits + 4);
        }
        default:
            mp_raise(MP_ERR_TYPE);
            return 0;
    }
}

MpThreadScratch::MpThreadScratch() {
    mp_scratch_base = static_cast<u8*>(std::calloc(MP_SCRATCH_BYTES, 1));
    mp_scratch_top = mp_scratch_base;
    mp_scratch_end = mp_scratch_base == nullptr ? nullptr : mp_scratch_base + MP_SCRATCH_BYTES;
}

MpThreadScratch::~MpThreadScratch() {
    std::free(mp_scratch_base);
    mp_scratch_base = mp_scratch_top = mp_scratch_end = nullptr;
}
