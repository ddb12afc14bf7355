// The small formatter behind textbuf_format() and text_format().
#include <array>

#include "textbuf/textbuf_impl.h"

namespace {

constexpr std::u16string_view kBad = u"?";

void put_char(TextBuf& buf, char16_t c) {
    textbuf_put(buf, std::u16string_view(&c, 1));
}

void append_unsigned(TextBuf& buf, std::uint64_t v) {
    std::array<char16_t, 20> digits{};
    std::size_t n = digits.size();
    do {
        digits[--n] = static_cast<char16_t>(u'0' + v % 10);
        v /= 10;
    } while (v != 0);
    textbuf_put(buf, std::u16string_view(digits.data() + n, digits.size() - n));
}

void append_integer(TextBuf& buf, const TextArg& arg) {
    if (arg.kind() == TextArg::Kind::Unsigned) return append_unsigned(buf, arg.unsigned_value());
    if (arg.kind() != TextArg::Kind::Signed) return textbuf_put(buf, kBad);
    const std::int64_t v = arg.signed_value();
    if (v >= 0) return append_unsigned(buf, static_cast<std::uint64_t>(v));
    put_char(buf, u'-');
    // Negate in unsigned arithmetic so that INT64_MIN does not overflow.
    append_unsigned(buf, ~static_cast<std::uint64_t>(v) + 1);
}

void append_text(TextBuf& buf, const TextArg& arg) {
    if (arg.kind() != TextArg::Kind::Text || arg.null_text()) return textbuf_put(buf, kBad);
    textbuf_put(buf, arg.text());
}

void append_character(TextBuf& buf, const TextArg& arg) {
    switch (arg.kind()) {
        case TextArg::Kind::Char:
            return put_char(buf, static_cast<char16_t>(arg.unsigned_value()));
        case TextArg::Kind::Signed:
            if (arg.signed_value() < 0 || arg.signed_value() > 0xFFFF) break;
            return put_char(buf, static_cast<char16_t>(arg.signed_value()));
        case TextArg::Kind::Unsigned:
            if (arg.unsigned_value() > 0xFFFF) break;
            return put_char(buf, static_cast<char16_t>(arg.unsigned_value()));
        default:
            break;
    }
    textbuf_put(buf, kBad);
}

// Length of the literal run starting at p (up to the next "%" or the end).
std::size_t literal_run(const char16_t* p) {
    std::size_t n = 0;
    while (p[n] != 0 && p[n] != u'%') ++n;
    return n;
}

}  // namespace

void textbuf_format_list(TextBuf& buf, const char16_t* format, const TextArg* args,
                         std::size_t count) {
    if (buf.length > buf.capacity || format == nullptr) return;
    static const TextArg missing;
    std::size_t next = 0;
    auto take = [&]() -> const TextArg& { return next < count ? args[next++] : missing; };
    const char16_t* p = format;
    while (*p != 0) {
        const std::size_t run = literal_run(p);
        textbuf_put(buf, std::u16string_view(p, run));
        p += run;
        if (*p == 0) break;
        const char16_t conv = p[1];
        p += conv == 0 ? 1 : 2;
        switch (conv) {
            case u's':
                append_text(buf, take());
                break;
            case u'c':
                append_character(buf, take());
                break;
            case u'd':
                append_integer(buf, take());
                break;
            case u'%':
                put_char(buf, u'%');
                break;
            default:
                textbuf_put(buf, kBad);
                break;
        }
    }
}
