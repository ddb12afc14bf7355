// Bounded output pieces of the prime workers.
#include "primes/prime_output.h"

#include "app/app_error.h"
#include "numlib/mp_context.h"
#include "numlib/mp_scratch.h"
#include "numlib/num_text.h"

namespace {

char16_t* take_chars(i64 count) {
    const std::size_t bytes = static_cast<std::size_t>(count) * sizeof(char16_t);
    if (mp_scratch_top == nullptr ||
        bytes + 8 > static_cast<std::size_t>(mp_scratch_end - mp_scratch_top)) {
        return nullptr;
    }
    auto* p = reinterpret_cast<char16_t*>(mp_scratch_top);
    mp_scratch_top += (bytes + 7) / 8 * 8;
    return p;
}

}  // namespace

PiecePrinter::PiecePrinter(PrimeOutputSink& sink, i64 capacity, u32 format_flags, u32 base)
    : sink_(sink), saved_top_(mp_scratch_top), flags_(format_flags), base_(base) {
    digit_capacity_ = 80 * i64{mp_int_words} + 9;
    char16_t* chars = take_chars(capacity + 1);
    digits_ = take_chars(digit_capacity_ + 1);
    if (digits_ == nullptr) {
        chars = nullptr;
        raiseAppError(APP_ERR_INTERNAL, nullptr, nullptr);
    }
    buf_ = TextBuf{0, chars == nullptr ? -1 : capacity, chars};
    if (chars != nullptr) chars[0] = 0;
}

PiecePrinter::~PiecePrinter() {
    mp_scratch_top = saved_top_;
}

PiecePrinter& PiecePrinter::text(std::u16string_view s) {
    if (buf_.chars != nullptr) textbuf_append(buf_, s);
    return *this;
}

PiecePrinter& PiecePrinter::number(const u64* value) {
    if (buf_.chars == nullptr) return *this;
    const i32 len = uint_to_text(digits_, static_cast<i32>(digit_capacity_), value,
                                 flags_ | NUM_TEXT_TERMINATE, static_cast<i32>(base_));
    return text(std::u16string_view(digits_, static_cast<std::size_t>(len)));
}

void PiecePrinter::send() {
    if (buf_.chars == nullptr) return;
    if (textbuf_finish(buf_)) raiseAppError(APP_ERR_TEXT_OVERFLOW, nullptr, nullptr);
    sink_.append(buf_.chars);
    buf_.length = 0;
    buf_.chars[0] = 0;
}
