#include "textbuf/textbuf.h"

#include <algorithm>

#include "textbuf/textbuf_impl.h"

namespace {

constexpr char16_t kEllipsis = u'\u2026';

TextOverflowHandler overflow_handler = nullptr;

bool has_storage(const TextBuf& buf) {
    return buf.chars != nullptr && buf.capacity >= 0;
}

bool is_high_surrogate(char16_t c) {
    return c >= 0xD800 && c <= 0xDBFF;
}

}  // namespace

TextOverflowHandler textbuf_set_overflow_handler(TextOverflowHandler handler) {
    TextOverflowHandler previous = overflow_handler;
    overflow_handler = handler;
    return previous;
}

void textbuf_put(TextBuf& buf, std::u16string_view text) {
    if (buf.length < 0) buf.length = 0;
    const auto size = static_cast<std::int64_t>(text.size());
    if (has_storage(buf) && buf.length < buf.capacity) {
        const std::int64_t stored = std::min(size, buf.capacity - buf.length);
        std::copy_n(text.data(), stored, buf.chars + buf.length);
    }
    buf.length += size;
}

void textbuf_append(TextBuf& buf, std::u16string_view text) {
    if (buf.length > buf.capacity) return;
    textbuf_put(buf, text);
}

void textbuf_append_char(TextBuf& buf, char16_t c) {
    textbuf_append(buf, std::u16string_view(&c, 1));
}

std::int64_t text_mark_cut(char16_t* chars, std::int64_t length) {
    if (length <= 0) return 0;
    chars[length - 1] = kEllipsis;
    if (length >= 2 && is_high_surrogate(chars[length - 2])) {
        chars[length - 2] = kEllipsis;
        return length - 1;
    }
    return length;
}

bool textbuf_finish(TextBuf& buf) {
    if (!has_storage(buf)) return false;
    if (buf.length < 0) buf.length = 0;
    const bool cut = buf.length > buf.capacity;
    if (cut) buf.length = text_mark_cut(buf.chars, buf.capacity);
    buf.chars[buf.length] = 0;
    if (cut && overflow_handler != nullptr) overflow_handler();
    return cut;
}

bool text_is_blank(const char16_t* text) {
    if (text == nullptr) return true;
    for (; *text != 0; ++text) {
        if (*text != u' ' && *text != u'\t') return false;
    }
    return true;
}
