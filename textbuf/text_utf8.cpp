// UTF-8 <-> UTF-16 for files, standard input and output and the command line.
#include "textbuf/text_utf8.h"

#include <cstdint>

namespace {

constexpr char32_t kReplacement = 0xFFFD;

void putUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

void putUtf16(std::u16string& out, char32_t c) {
    if (c < 0x10000) {
        out += static_cast<char16_t>(c);
    } else {
        c -= 0x10000;
        out += static_cast<char16_t>(0xD800 + (c >> 10));
        out += static_cast<char16_t>(0xDC00 + (c & 0x3FF));
    }
}

}  // namespace

int text_utf8_decode(std::string_view bytes, char32_t* c) {
    if (bytes.empty()) return 0;
    const auto b0 = static_cast<std::uint8_t>(bytes[0]);
    int extra = 0;
    char32_t v = 0;
    char32_t least = 0;
    if (b0 < 0x80) {
        *c = b0;
        return 1;
    } else if (b0 >= 0xC2 && b0 <= 0xDF) {
        extra = 1, v = b0 & 0x1F, least = 0x80;
    } else if (b0 >= 0xE0 && b0 <= 0xEF) {
        extra = 2, v = b0 & 0x0F, least = 0x800;
    } else if (b0 >= 0xF0 && b0 <= 0xF4) {
        extra = 3, v = b0 & 0x07, least = 0x10000;
    } else {
        return 0;
    }
    if (static_cast<std::size_t>(extra) >= bytes.size()) return 0;
    for (int k = 1; k <= extra; ++k) {
        const auto b = static_cast<std::uint8_t>(bytes[static_cast<std::size_t>(k)]);
        if ((b & 0xC0) != 0x80) return 0;
        v = (v << 6) | (b & 0x3F);
    }
    if (v < least || v > 0x10FFFF || (v >= 0xD800 && v < 0xE000)) return 0;
    *c = v;
    return extra + 1;
}

std::string text_to_utf8(std::u16string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t c = text[i];
        if (c >= 0xD800 && c < 0xDC00 && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] < 0xE000) {
            c = 0x10000 + ((c - 0xD800) << 10) + (text[++i] - 0xDC00);
        } else if (c >= 0xD800 && c < 0xE000) {
            c = kReplacement;
        }
        putUtf8(out, c);
    }
    return out;
}

std::u16string text_from_utf8(std::string_view bytes) {
    std::u16string out;
    out.reserve(bytes.size());
    // A byte that starts no valid sequence becomes one U+FFFD.
    for (std::size_t i = 0; i < bytes.size();) {
        char32_t c = kReplacement;
        const int length = text_utf8_decode(bytes.substr(i), &c);
        putUtf16(out, length > 0 ? c : kReplacement);
        i += length > 0 ? static_cast<std::size_t>(length) : 1;
    }
    return out;
}
