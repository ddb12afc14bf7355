// The process-wide context of the number library: word counts, number type,
// the first error raised, the scratch area, number-text characters and the
// display thresholds. All of it lives in mp_context.cpp; mp_context_reset()
// puts every variable back to its start-up value.
#pragma once

#include <atomic>

#include "numlib/mp_types.h"

// First error raised since the application last cleared it. Atomic because a
// stop request (MP_ERR_STOPPED) is stored by the user-interface thread while a
// worker computes; relaxed ordering is enough.
extern std::atomic<i32> mp_error;

extern i32 mp_int_words;   // n: words of a uint and of each half of a rat
extern i32 mp_real_words;  // m: mantissa words of a real
extern i32 mp_num_type;    // current number type code
extern i32 mp_guard_words;
extern i32 mp_guard_digits;
extern i32 mp_fixed_exp_low;
extern i32 mp_fixed_exp_high;
extern i32 mp_fixed_exp_high_int;
extern char16_t mp_decimal_chars[3];
extern char16_t mp_group_chars[3];
extern char16_t mp_exp_chars[3];
extern char16_t mp_imag_chars[3];
extern u8 mp_has_avx;
extern u8 mp_has_avx2;
extern u32 mp_init_magic;

constexpr u32 MP_INIT_MAGIC = 0x29A60C80;

// Start-up of the library: detects the processor, sets the defaults at the
// first call, reserves the scratch area and computes the derived constants.
// A later call keeps the scratch area, characters and thresholds.
void mp_init();

// Sets mp_has_avx and mp_has_avx2 from the processor's features.
void mp_detect_cpu();

// Puts every context variable back to its state before the first mp_init(),
// then runs mp_init(). For tests: each test starts from a known context.
void mp_context_reset();

// Word counts: out of range (int 1..2000, real 1..527) raises error 1 and
// leaves the count unchanged.
void mp_set_int_words(i32 n);
void mp_set_real_words(i32 m);

enum MpCharSet : i32 { MP_CHARS_DECIMAL, MP_CHARS_GROUP, MP_CHARS_EXP, MP_CHARS_IMAG };

// Copies count (1..3) characters into a character set and clears the slots
// after them.
void mp_set_char_set(MpCharSet set, const char16_t* chars, i32 count);

// Byte size of one value. words 0 = the current count, type 0 = mp_num_type.
// Unknown type: error 3, result 0.
i32 num_size_bytes(i32 words, i32 type);

// Words that hold a precision of digits decimal digits. Unknown type: error 3.
i32 num_words_for_digits(i32 digits, i32 type);

// Characters the text of one value may need. Unknown type: error 3.
u32 num_text_capacity(i32 words, i32 type);

// The scratch area's bounds (see mp_scratch.h for how it is used). Each
// thread that computes owns its own area: mp_init() gives one to the thread
// that calls it, MpThreadScratch (mp_thread.h) to a worker thread. A thread
// without an area gets error 30 from every routine that needs scratch.
// constinit: the pointers have no dynamic initialization, so every access
// is a plain thread-local access without an initialization wrapper.
extern thread_local constinit u8* mp_scratch_base;
extern thread_local constinit u8* mp_scratch_top;
extern thread_local constinit u8* mp_scratch_end;

// Size of the library's scratch area. The largest operations (a modular
// power or a fast product at 2000 words) hold several double-length
// temporaries at once, so the area is larger than the sum of a few values.
constexpr std::size_t MP_SCRATCH_BYTES = std::size_t{4} << 20;
