// The bounded text sink, its finishing rules and the trimming of input text.
#include <cstring>

#include "numlib/mp_error.h"
#include "numlib/text_impl.h"

TextBuf text_sink_make(char16_t* buffer, i64 capacity) {
    if (buffer == nullptr || capacity < 0) return TextBuf{0, 0, nullptr};
    return TextBuf{0, capacity, buffer};
}

TextBuf text_sink_open(char16_t* buffer, i64 capacity) {
    TextBuf sink = text_sink_make(buffer, capacity);
    if (mp_err() != 0) text_sink_put(&sink, u'!');
    return sink;
}

void text_sink_put(TextBuf* sink, char16_t c) {
    if (sink->length < sink->capacity && sink->chars) sink->chars[sink->length] = c;
    ++sink->length;
}

void text_sink_put_ascii(TextBuf* sink, const char* s, i64 count) {
    if (count < 0) count = static_cast<i64>(std::strlen(s));
    text_sink_put_chars(sink, s, count);
}

void text_sink_put_chars(TextBuf* sink, const char* s, i64 count) {
    i64 room = sink->chars ? sink->capacity - sink->length : 0;
    if (room > count) room = count;
    for (i64 i = 0; i < room; ++i) sink->chars[sink->length + i] = static_cast<u8>(s[i]);
    sink->length += count;
}

void text_sink_put_text(TextBuf* sink, const char16_t* s) {
    while (*s) text_sink_put(sink, *s++);
}

void text_sink_fill(TextBuf* sink, char16_t c, i64 count) {
    i64 room = sink->chars ? sink->capacity - sink->length : 0;
    if (room > count) room = count;
    for (i64 i = 0; i < room; ++i) sink->chars[sink->length + i] = c;
    sink->length += count;
}

i64 text_sink_finish(TextBuf* sink, u32 flags) {
    if (sink->length > sink->capacity) {
        sink->length = 0;
        if (sink->capacity >= 3) text_sink_put_ascii(sink, "[$]");
        mp_raise(MP_ERR_TEXT_SPACE);
    }
    if (sink->chars) {
        // The terminator goes to the slot after capacity at most, which the
        // caller provides; "#" only where it fits.
        if (flags & NUM_TEXT_TERMINATE)
            sink->chars[sink->length] = 0;
        else if (sink->length < sink->capacity)
            sink->chars[sink->length] = u'#';
    }
    return sink->length;
}

void text_trim(i64* start, i64* count, const char16_t* text, i64 len) {
    if (text == nullptr || len < -1) len = 0;
    if (len == -1) {
        len = 0;
        while (text[len] != 0) ++len;
    }
    i64 a = 0, b = len;
    while (a < b && text[a] == u' ') ++a;
    while (b > a && text[b - 1] == u' ') --b;
    *start = a;
    *count = b - a;
}

// ---- digit grouping -------------------------------------------------------------

i64 TextGrouper::separators(i64 from, i64 to) const {
    if (group_ <= 0 || to <= from) return 0;
    // Positions j >= 1 with (total - j) a multiple of group: counted as the
    // multiples of group in (total - to, total - 1], clamped to j < total.
    auto upto = [&](i64 x) {  // separators before positions [1, x)
        if (x <= 1) return i64{0};
        const i64 lo = total_ - x;  // exclusive lower bound of total - j
        const i64 hi = total_ - 1;
        auto fl = [&](i64 v) { return v >= 0 ? v / group_ : -((-v + group_ - 1) / group_); };
        return fl(hi) - fl(lo);
    };
    return upto(to) - upto(from);
}

void TextGrouper::put(const char* digits, i64 count) {
    if (group_ <= 0) {
        text_sink_put_chars(sink_, digits, count);
        pos_ += count;
        return;
    }
    for (i64 i = 0; i < count; ++i) {
        if (sink_->length >= sink_->capacity) {
            // Nothing more is stored: count what is left.
            sink_->length += (count - i) + separators(pos_, pos_ + count - i);
            pos_ += count - i;
            return;
        }
        if (pos_ > 0 && (total_ - pos_) % group_ == 0) text_sink_put(sink_, sep_);
        text_sink_put(sink_, static_cast<u8>(digits[i]));
        ++pos_;
    }
}

void TextGrouper::fill(char c, i64 count) {
    char chunk[64];
    std::memset(chunk, c, sizeof chunk);
    while (count > 0) {
        if (sink_->length >= sink_->capacity) {
            sink_->length += count + separators(pos_, pos_ + count);
            pos_ += count;
            return;
        }
        const i64 step = count < 64 ? count : 64;
        put(chunk, step);
        count -= step;
    }
}
