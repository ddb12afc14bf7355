// The mixed-number form of a fraction: whole part, then the proper fraction
// with the sign of the value in front of it.
#include <algorithm>
#include <vector>

#include "app/app_error.h"
#include "calculator/calc_display.h"
#include "numlib/mp_context.h"
#include "numlib/num_text.h"
#include "numlib/rat.h"
#include "numlib/uint.h"
#include "textbuf/textbuf.h"

namespace {

void appendUint(TextBuf& out, const u64* value, std::vector<char16_t>& digits) {
    const i32 length = uint_to_text(digits.data(), static_cast<i32>(digits.size() - 1), value,
                                    NUM_TEXT_TERMINATE, 10);
    textbuf_append(out, std::u16string_view(digits.data(), static_cast<std::size_t>(length)));
}

}  // namespace

std::u16string calcMixedText(const u64* value, i64 maxLength) {
    const auto words = static_cast<std::size_t>(mp_int_words);
    std::vector<u64> q(words, 0), r(words, 0);
    std::vector<char16_t> digits(num_text_capacity(mp_int_words, MP_TYPE_UINT) + 2, 0);
    std::vector<char16_t> chars(static_cast<std::size_t>(std::max<i64>(maxLength, 0)) + 1, 0);
    TextBuf out{0, std::max<i64>(maxLength, 0), chars.data()};

    const bool negative = rat_sign(value) != 0;
    if (uint_is_one(rat_den(value))) {
        if (negative) textbuf_append_char(out, u'-');
        appendUint(out, rat_num(value), digits);
    } else {
        uint_divmod(q.data(), r.data(), rat_num(value), rat_den(value));
        if (negative && !uint_is_zero(q.data())) textbuf_append_char(out, u'-');
        appendUint(out, q.data(), digits);
        textbuf_append_char(out, negative ? u'-' : u'+');
        appendUint(out, r.data(), digits);
        textbuf_append_char(out, u'/');
        appendUint(out, rat_den(value), digits);
    }
    if (textbuf_finish(out)) raiseAppError(APP_ERR_TEXT_OVERFLOW, nullptr, nullptr);
    return std::u16string(chars.data(),
                          static_cast<std::size_t>(std::min(out.length, out.capacity)));
}
