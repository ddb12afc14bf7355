// Shared by the settings tests: a snapshot of every setting, random valid
// settings and helpers to build settings texts.
#pragma once

#include <string>
#include <tuple>
#include <vector>

#include "app/settings_values.h"
#include "support/test_random.h"

struct SettingsSnapshot {
    u32 language, separator;
    u8 th_sci, th_eq, th_prime;
    u32 angle, type;
    i32 precision, in_base, out_base;
    u8 hint;
    std::vector<SavedVariable> vars;

    static SettingsSnapshot take() {
        return {settings_language,
                settings_decimal_separator,
                settings_thousands_sci_calc,
                settings_thousands_equations,
                settings_thousands_prime_nums,
                settings_angle_type,
                settings_number_type,
                settings_decimal_precision,
                settings_input_base,
                settings_output_base,
                settings_show_welcome_hint,
                settings_variables};
    }
    static SettingsSnapshot defaults() {
        settings_reset();
        return take();
    }
    bool operator==(const SettingsSnapshot&) const = default;
};

inline std::u16string random_text(TestRng& rng, i64 max_len, bool name) {
    static const std::u16string pool = u"abcxyz_019 ;=[]()+-*/^.,'αβω…π\u00e4\u20ac\U0001F600";
    std::u16string s;
    const i64 len = rng.range(0, max_len);
    for (i64 i = 0; i < len; ++i) {
        const char16_t c = pool[rng.range(0, std::ssize(pool) - 1)];
        if (name && (c == u';' || (s.empty() && c == u' '))) continue;
        s += c;
    }
    return s;
}

// Every setting set to a random valid value, with count saved variables.
inline void randomize_settings(TestRng& rng, i64 count) {
    static const u32 types[] = {1, 2, 10, 11};
    static const i32 bases[] = {2, 8, 10, 16};
    settings_language = static_cast<u32>(rng.range(1, 3));
    settings_decimal_separator = static_cast<u32>(rng.range(0, 1));
    settings_thousands_sci_calc = static_cast<u8>(rng.range(0, 1));
    settings_thousands_equations = static_cast<u8>(rng.range(0, 1));
    settings_thousands_prime_nums = static_cast<u8>(rng.range(0, 1));
    settings_angle_type = static_cast<u32>(rng.range(1, 3));
    settings_number_type = types[rng.range(0, 3)];
    settings_decimal_precision = static_cast<i32>(rng.range(0, SETTINGS_MAX_PRECISION));
    settings_input_base = bases[rng.range(0, 3)];
    settings_output_base = bases[rng.range(0, 3)];
    settings_show_welcome_hint = static_cast<u8>(rng.range(0, 1));
    settings_variables.clear();
    for (i64 i = 0; i < count; ++i)
        settings_variables.push_back({random_text(rng, 10, true),
                                      static_cast<u8>(bases[rng.range(0, 3)]),
                                      random_text(rng, 60, false)});
}

// Lines joined with end, each line followed by it.
inline std::u16string join_lines(const std::vector<std::u16string>& lines,
                                 std::u16string_view end = u"\r\n") {
    std::u16string text;
    for (const auto& line : lines) text.append(line).append(end);
    return text;
}
