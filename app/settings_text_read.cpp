// Reading the settings text. Every step is bounded by the text: the cursor only
// moves forwards, and each line is looked at a fixed number of times.
#include <algorithm>

#include "app/settings_text.h"

namespace {

bool is_line_end(char16_t c) {
    return c == u'\r' || c == u'\n';
}
bool is_digit(char16_t c) {
    return c >= u'0' && c <= u'9';
}

// The leading decimal integer of text; -1 when it does not fit 32 bits.
i64 leading_number(std::u16string_view text) {
    i64 value = 0;
    for (char16_t c : text) {
        if (!is_digit(c)) break;
        value = value * 10 + (c - u'0');
        if (value > INT32_MAX) return -1;
    }
    return value;
}

// "name;base;value": the name runs to the first ";", the base is the one or
// two digits after it (10 without any), the value follows the next ";".
SavedVariable parse_variable(std::u16string_view text) {
    SavedVariable v;
    const size_t semi = text.find(u';');
    v.name = text.substr(0, semi);
    if (semi == std::u16string_view::npos) return v;
    size_t pos = semi + 1;
    i32 base = 0;
    i32 digits = 0;
    while (digits < 2 && pos < text.size() && is_digit(text[pos])) {
        base = base * 10 + (text[pos++] - u'0');
        ++digits;
    }
    v.base = static_cast<u8>(digits > 0 && settings_base_valid(base) ? base : 10);
    const size_t next = text.find(u';', pos);
    if (next != std::u16string_view::npos) v.value = text.substr(next + 1);
    return v;
}

}  // namespace

SettingsReader::SettingsReader(std::u16string_view text)
    : text_(text.substr(0, text.find(u'\0'))) {}

void SettingsReader::skip_blanks() {
    while (pos_ < text_.size() && text_[pos_] == u' ') ++pos_;
}

bool SettingsReader::at(std::u16string_view s) const {
    return text_.substr(pos_, s.size()) == s;
}

// From the cursor to the end of its line; the cursor moves past the line end
// ("\r\n", "\r" or "\n") or stays at the end of the text.
std::u16string_view SettingsReader::rest_of_line() {
    const size_t start = pos_;
    while (pos_ < text_.size() && !is_line_end(text_[pos_])) ++pos_;
    const std::u16string_view line = text_.substr(start, pos_ - start);
    if (pos_ < text_.size() && text_[pos_++] == u'\r' && pos_ < text_.size() &&
        text_[pos_] == u'\n')
        ++pos_;
    return line;
}

bool SettingsReader::key_value(std::u16string_view key, std::u16string_view& value) {
    const size_t start = pos_;
    skip_blanks();
    if (at(key)) {
        pos_ += key.size();
        skip_blanks();
        if (at(u"=")) {
            ++pos_;
            skip_blanks();
            value = rest_of_line();
            return true;
        }
    }
    pos_ = start;
    return false;
}

void SettingsReader::section(std::u16string_view name) {
    const size_t start = pos_;
    skip_blanks();
    if (at(u"[") && text_.substr(pos_ + 1, name.size()) == name &&
        text_.substr(pos_ + 1 + name.size(), 1) == u"]") {
        rest_of_line();
        return;
    }
    pos_ = start;
}

void SettingsReader::choice(std::u16string_view key, u32& value,
                            std::span<const SettingsName> names, u32 fallback) {
    value = fallback;
    std::u16string_view text;
    if (!key_value(key, text)) return;
    for (const SettingsName& n : names)
        if (text == n.name) value = n.code;
}

void SettingsReader::flag(std::u16string_view key, u8& value, u8 fallback) {
    value = fallback;
    std::u16string_view text;
    if (!key_value(key, text)) return;
    if (text == u"1") value = 1;
    if (text == u"0") value = 0;
}

void SettingsReader::number(std::u16string_view key, i32& value, SettingsNumberRule rule) {
    std::u16string_view text;
    value = rule(key_value(key, text) ? leading_number(text) : 0);
}

void SettingsReader::variables(std::vector<SavedVariable>& list) {
    list.clear();
    constexpr std::u16string_view kPrefix = u"variable";
    for (;;) {
        const size_t line_start = pos_;
        skip_blanks();
        if (!at(kPrefix) || pos_ + kPrefix.size() >= text_.size() ||
            !is_digit(text_[pos_ + kPrefix.size()])) {
            pos_ = line_start;
            return;
        }
        pos_ += kPrefix.size() + 1;
        while (pos_ < text_.size() && !is_line_end(text_[pos_]) && text_[pos_] != u'=') ++pos_;
        if (pos_ >= text_.size() || text_[pos_] != u'=') {
            rest_of_line();
            continue;
        }
        ++pos_;
        skip_blanks();
        const std::u16string_view value = rest_of_line();
        if (value.empty() || std::ssize(list) >= SETTINGS_MAX_VARIABLES) continue;
        list.push_back(parse_variable(value));
    }
}
