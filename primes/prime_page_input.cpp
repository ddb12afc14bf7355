// Reading and re-expressing the numbers of the prime pages.
#include "primes/prime_page_input.h"

#include <vector>

#include "app/app_error.h"
#include "numlib/mp_context.h"
#include "numlib/mp_error.h"
#include "numlib/num_text.h"
#include "numlib/uint.h"

namespace {

constexpr u32 IN_FLAGS = NUM_IN_GROUPS | NUM_IN_LOWER_HEX;

// Parses text into dst (mp_int_words words); false on any library error,
// which is cleared.
bool parse(std::u16string_view text, u32 base, u64* dst) {
    uint_from_text(dst, text.data(), static_cast<i32>(text.size()), IN_FLAGS, static_cast<i32>(base));
    const bool ok = mp_err() == 0;
    mp_error.store(0, std::memory_order_relaxed);
    return ok;
}

std::u16string format(const u64* value, u32 base, u32 format_flags) {
    // 64 binary digits per word and a group mark after every third: room
    // for any base of a page with digit groups.
    std::vector<char16_t> buf(static_cast<std::size_t>(90 * mp_int_words + 2));
    const i32 n = uint_to_text(buf.data(), static_cast<i32>(buf.size() - 1), value,
                               format_flags | NUM_TEXT_TERMINATE, static_cast<i32>(base));
    return std::u16string(buf.data(), static_cast<std::size_t>(n));
}

bool refuse(std::u16string_view text) {
    const std::u16string shown(text);
    raiseAppError(APP_ERR_INVALID_INPUT, shown.c_str(), nullptr);
    return false;
}

bool blank(std::u16string_view text) {
    return text.find_first_not_of(u" \t") == std::u16string_view::npos;
}

}  // namespace

bool prime_page_read_number(std::u16string_view text, u32 base, u32 format_flags, u64* dst,
                            std::u16string* normal) {
    if (!parse(text, base, dst) || uint_is_zero(dst)) {
        uint_zero(dst);
        return refuse(text);
    }
    *normal = format(dst, base, format_flags);
    return true;
}

bool prime_page_read_interval(std::u16string_view text, u32 base, u32 format_flags, i64 max,
                              i64 blank_value, i64* size, std::u16string* normal) {
    normal->clear();
    if (blank_value > 0 && blank(text)) {
        *size = blank_value;
        return true;
    }
    std::vector<u64> value(static_cast<std::size_t>(mp_int_words));
    u64 small = 0;
    const bool one_word = parse(text, base, value.data()) && uint_to_u64(&small, value.data(), false);
    mp_error.store(0, std::memory_order_relaxed);
    if (!one_word || small < 1 || small > static_cast<u64>(max)) return refuse(text);
    *size = static_cast<i64>(small);
    *normal = format(value.data(), base, format_flags);
    return true;
}

bool prime_page_rebase(std::u16string_view text, i32 words, u32 from, u32 to, u32 format_flags,
                       std::u16string* out) {
    if (blank(text)) {
        *out = std::u16string(text);
        return true;
    }
    const i32 saved = mp_int_words;
    mp_set_int_words(words);
    std::vector<u64> value(static_cast<std::size_t>(words));
    const bool ok = parse(text, from, value.data());
    if (ok) *out = format(value.data(), to, format_flags);
    mp_set_int_words(saved);
    return ok || refuse(text);
}
