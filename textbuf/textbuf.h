// Bounded UTF-16 text buffers and the small printf-style formatter that the
// whole program formats its texts with.
//
// The buffer itself and its counting rule are in numlib/text_buf.h;
// textbuf_finish() cuts an overlong text, marks the cut with "…" (U+2026)
// and reports the overflow.
#pragma once

#include <concepts>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "numlib/text_buf.h"

// An empty buffer over a fixed array: capacity N - 1, one slot for the terminator.
template <std::size_t N>
TextBuf textbuf_on(char16_t (&chars)[N]) {
    static_assert(N >= 1);
    chars[0] = 0;
    return TextBuf{0, static_cast<std::int64_t>(N - 1), chars};
}

// One argument of the formatter: a text for "%s", a character for "%c", an
// integer for "%d". Integers of every width are taken as they are (no
// truncation to 32 bits). Plain char and bool are refused at compile time so
// that 'x' cannot silently become a number.
class TextArg {
  public:
    enum class Kind : std::uint8_t { None, Text, Char, Signed, Unsigned };

    TextArg() = default;
    TextArg(const char16_t* text)
        : kind_(Kind::Text), text_(text != nullptr ? text : u""), null_text_(text == nullptr) {}
    TextArg(std::u16string_view text) : kind_(Kind::Text), text_(text) {}
    TextArg(char16_t c) : kind_(Kind::Char), unsigned_(c) {}
    template <std::signed_integral T>
    requires(!std::same_as<T, char> && !std::same_as<T, wchar_t>) TextArg(T v)
        : kind_(Kind::Signed), signed_(v) {}
    template <std::unsigned_integral T>
    requires(!std::same_as<T, bool> && !std::same_as<T, char> && !std::same_as<T, char8_t> &&
             !std::same_as<T, char16_t> && !std::same_as<T, char32_t> && !std::same_as<T, wchar_t>)
        TextArg(T v)
        : kind_(Kind::Unsigned), unsigned_(v) {}

    Kind kind() const { return kind_; }
    std::u16string_view text() const { return text_; }
    bool null_text() const { return null_text_; }
    std::int64_t signed_value() const { return signed_; }
    std::uint64_t unsigned_value() const { return unsigned_; }

  private:
    Kind kind_ = Kind::None;
    std::u16string_view text_;
    bool null_text_ = false;
    std::int64_t signed_ = 0;
    std::uint64_t unsigned_ = 0;
};

// Called by textbuf_finish() after it had to cut a text. The application
// installs the routine that raises its "string buffer overflow" error; the
// default does nothing. Returns the previous handler.
using TextOverflowHandler = void (*)();
TextOverflowHandler textbuf_set_overflow_handler(TextOverflowHandler handler);

// Appends a text (or one character) at buf.length: stores what fits, counts
// the rest. Does nothing when the buffer is already over its capacity.
void textbuf_append(TextBuf& buf, std::u16string_view text);
void textbuf_append_char(TextBuf& buf, char16_t c);

// Formats at buf.length. Placeholders: "%s" a text (a null text gives "?"),
// "%c" one character (or an integer 0..0xFFFF), "%d" an integer in decimal
// with "-" for negatives, "%%" a percent sign. Any other character after "%",
// a "%" at the end of the format, a missing argument or an argument of the
// wrong kind produce "?"; each placeholder but "%%" and the unknown ones uses
// up one argument. Does nothing when the buffer is already over its capacity.
void textbuf_format_list(TextBuf& buf, const char16_t* format, const TextArg* args,
                         std::size_t count);

template <typename... Args>
void textbuf_format(TextBuf& buf, const char16_t* format, const Args&... args) {
    const TextArg list[] = {TextArg(), TextArg(args)...};
    textbuf_format_list(buf, format, list + 1, sizeof...(Args));
}

// Ends the text: when length exceeds the capacity, cuts it to the capacity,
// marks the cut with "…" (see text_mark_cut) and calls the overflow handler;
// then stores the terminator. Returns true when the text was cut. A buffer
// without storage (null chars or negative capacity) is left alone.
bool textbuf_finish(TextBuf& buf);

// Formats into target (capacity characters plus one slot for the
// terminator), then finishes as textbuf_finish(). Returns the stored length.
template <typename... Args>
std::int64_t text_format(char16_t* target, std::int64_t capacity, const char16_t* format,
                         const Args&... args) {
    TextBuf buf{0, capacity, target};
    textbuf_format(buf, format, args...);
    textbuf_finish(buf);
    return buf.length;
}

// Marks a text that was cut to length characters: its last character becomes
// "…". When that would leave the first half of a surrogate pair in front of
// the "…", that half is replaced by the "…" too, so the result is one shorter.
// Returns the new length (0 stays 0). Does not store a terminator.
std::int64_t text_mark_cut(char16_t* chars, std::int64_t length);

// True when text holds nothing but spaces and tabs (also for an empty or null text).
bool text_is_blank(const char16_t* text);
