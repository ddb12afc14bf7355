// The two sides of settings_io: a reader that takes each line of the settings
// text at its cursor and a writer that appends the lines. Both offer the same
// per-key operations, so one walk over the layout drives either of them.
#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "app/settings_values.h"
#include "numlib/mp_types.h"

// The text that stands for one code of an enumerated setting.
struct SettingsName {
    u32 code;
    const char16_t* name;
};

// Turns the number read from a file (-1 when it overflowed) into the value to
// keep, replacing what is out of range by the default.
using SettingsNumberRule = i32 (*)(i64 value);

class SettingsReader {
  public:
    // text: the file's characters after the mark; a zero character ends them.
    explicit SettingsReader(std::u16string_view text);

    // Steps over a "[name]" line at the cursor; any other line stays.
    void section(std::u16string_view name);
    // value := the code whose name is exactly the key's value, else fallback.
    void choice(std::u16string_view key, u32& value, std::span<const SettingsName> names,
                u32 fallback);
    // value := 1 for exactly "1", 0 for exactly "0", else fallback.
    void flag(std::u16string_view key, u8& value, u8 fallback);
    // value := rule(the leading decimal digits of the key's value; none gives 0).
    void number(std::u16string_view key, i32& value, SettingsNumberRule rule);
    // Reads the run of "variableNN = name;base;value" lines at the cursor.
    void variables(std::vector<SavedVariable>& list);

  private:
    void skip_blanks();
    bool at(std::u16string_view s) const;
    bool key_value(std::u16string_view key, std::u16string_view& value);
    std::u16string_view rest_of_line();

    std::u16string_view text_;
    size_t pos_ = 0;
};

class SettingsWriter {
  public:
    explicit SettingsWriter(std::u16string& out) : out_(out) {}

    void section(std::u16string_view name);
    // Writes the code's name, "???" for a code without one.
    void choice(std::u16string_view key, u32 value, std::span<const SettingsName> names,
                u32 fallback);
    void flag(std::u16string_view key, u8 value, u8 fallback);
    void number(std::u16string_view key, i32 value, SettingsNumberRule rule);
    // One line per entry, numbered 00 to 99; entries past the hundredth are left out.
    void variables(const std::vector<SavedVariable>& list);

  private:
    void line(std::u16string_view key, std::u16string_view value);

    std::u16string& out_;
};
