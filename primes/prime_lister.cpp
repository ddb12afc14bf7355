// Gathering listed primes into pieces.
#include "primes/prime_lister.h"

#include <algorithm>

#include "numlib/mp_context.h"
#include "numlib/mp_error.h"
#include "numlib/mp_scratch.h"
#include "numlib/uint.h"
#include "numlib/num_text.h"

namespace {

// A gathered piece waits at most this long before it is sent.
constexpr auto MAX_WAIT = std::chrono::milliseconds(50);

}  // namespace

PrimeLister::PrimeLister(PrimeOutputSink& sink, u32 format_flags, u32 base)
    : sink_(sink),
      flags_(format_flags),
      base_(base),
      decimal_((format_flags & NUM_TEXT_GROUP) != 0 ? mp_group_chars[0] : char16_t{0}),
      since_(std::chrono::steady_clock::now()) {}

void PrimeLister::reserve(int chars) {
    if (length_ + chars > CAPACITY) flush();
}

void PrimeLister::separator() {
    if (count_ > 0) {
        text_[length_++] = u',';
        text_[length_++] = u' ';
    }
    ++count_;
}

void PrimeLister::prime(const u64* value) {
    // The text of one number never exceeds 80 characters per word.
    char16_t digits[80 * 65 + 10];
    const i32 capacity = std::min<i32>(80 * mp_int_words + 9, 80 * 65 + 9);
    const i32 len = uint_to_text(digits, capacity, value, flags_ | NUM_TEXT_TERMINATE,
                                 static_cast<i32>(base_));
    reserve(len + 2);
    separator();
    for (i32 i = 0; i < len && length_ < CAPACITY; ++i) text_[length_++] = digits[i];
}

void PrimeLister::prime(u64 value) {
    if (base_ != 10 || mp_err() != 0) {
        ScratchMark mark;
        u64* words = mark.take(static_cast<std::size_t>(mp_int_words));
        if (words == nullptr) return;
        uint_set_u64(words, value);
        prime(words);
        return;
    }
    reserve(DECIMAL_TEXT_MAX + 2);
    separator();
    length_ += decimal_.write(value, text_ + length_);
}

void PrimeLister::flush() {
    since_ = std::chrono::steady_clock::now();
    if (length_ == 0) return;
    text_[length_] = 0;
    sink_.append(text_);
    length_ = 0;
}

void PrimeLister::flush_if_due() {
    if (length_ > 0 && std::chrono::steady_clock::now() - since_ >= MAX_WAIT) flush();
}
