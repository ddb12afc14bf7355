// Writing the settings text: "[section]" and "key = value" lines ending in "\r\n".
#include <algorithm>
#include <charconv>

#include "app/settings_text.h"

namespace {

void append_decimal(std::u16string& out, i64 value) {
    char digits[24];
    const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
    out.append(digits, end);
}

// A line end or a zero character inside a text would end its line early on
// reading and push every later line out of place; they are written as spaces.
// In a name, ";" would move the split between name, base and value.
void append_clean(std::u16string& out, std::u16string_view text, bool is_name) {
    for (char16_t c : text) {
        if (c == u'\r' || c == u'\n' || c == u'\0') c = u' ';
        if (is_name && c == u';') c = u'_';
        out += c;
    }
}

}  // namespace

void SettingsWriter::line(std::u16string_view key, std::u16string_view value) {
    out_.append(key);
    out_.append(u" = ");
    out_.append(value);
    out_.append(u"\r\n");
}

void SettingsWriter::section(std::u16string_view name) {
    out_.append(u"[");
    out_.append(name);
    out_.append(u"]\r\n");
}

void SettingsWriter::choice(std::u16string_view key, u32 value, std::span<const SettingsName> names,
                            u32 /*fallback*/) {
    const char16_t* text = u"???";
    for (const SettingsName& n : names)
        if (n.code == value) text = n.name;
    line(key, text);
}

void SettingsWriter::flag(std::u16string_view key, u8 value, u8 /*fallback*/) {
    line(key, value != 0 ? u"1" : u"0");
}

void SettingsWriter::number(std::u16string_view key, i32 value, SettingsNumberRule /*rule*/) {
    std::u16string text;
    append_decimal(text, value);
    line(key, text);
}

void SettingsWriter::variables(const std::vector<SavedVariable>& list) {
    const size_t count = std::min(list.size(), size_t{SETTINGS_MAX_VARIABLES});
    for (size_t i = 0; i < count; ++i) {
        const SavedVariable& v = list[i];
        out_.append(u"variable");
        out_ += static_cast<char16_t>(u'0' + i / 10);
        out_ += static_cast<char16_t>(u'0' + i % 10);
        out_.append(u" = ");
        append_clean(out_, v.name, true);
        out_ += u';';
        append_decimal(out_, v.base);
        out_ += u';';
        append_clean(out_, v.value, false);
        out_.append(u"\r\n");
    }
}
